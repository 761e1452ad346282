// The acquisition thread: finds the instrument on a serial port, reads its configuration and then
// polls every channel at the operator's interval, storing each poll as one row of newdata and
// handing it to the main window (IAcquisitionView, always on the window thread). The connection
// sequence waits for each window call (Synchronize); the per-poll calls (status text, sample) are
// queued in order and not waited for, so a busy window never delays a poll. One exists while a
// test runs; it frees itself when it ends, and clears AcqThread only after the window has run
// every call it made (queued ones included), so a window that waits for AcqThread to clear may
// go away safely.
//
//   state       entered when                        left when
//   ----------  ----------------------------------  ------------------------------------------
//   created     BeginAcquisition (suspended)        started at once
//   searching   run start; link lost                a port answers the probe (connecting);
//                                                   no port answers, stop flag (ended)
//   connecting  probe answered                      sequence complete (polling); a command
//                                                   unanswered (searching); stop flag or
//                                                   database failure (ended)
//   polling     sequence complete                   stop flag (ended); no reply (searching);
//                                                   database failure (ended)
//   ended       any end above                       the object frees itself: RunMode 0, the
//                                                   window told, AcqThread cleared
//
// Within one test the live table is emptied once, at the first complete connection; a lost link
// found again keeps the rows, sample numbers and statistics and continues after them.
//
// Stop: the flag ends every pause and every read at once, whatever the interval (a poll read
// otherwise lasts interval - 100 ms), and is looked at before each port, between the commands of
// the connection sequence and before each poll. A read cut by a stop that already holds a whole
// reply frame is used as usual (a poll's row stored, then shown); a cut read with less ends the
// thread without a row and without a "Connection failed" line. A poll whose reply is in always
// finishes, so a stop never leaves a sample stored without its grid row or the other way round.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ChannelStatistics.h"
#include "app/SerialPort.h"
#include "toolkit/system/SyncObjs.h"
#include "toolkit/system/Thread.h"

class IAcquisitionView;

// The port choice that means "try every port the system lists" (also the older Chinese text).
bool IsAutomaticPortChoice(std::string_view portName);

class TsmThread_gz : public TThread {
 public:
  // Lists the candidate ports for an automatic choice (GetSerialPortList unless a test gives
  // another).
  using TPortLister = std::function<std::vector<std::string>()>;
  // Runs on the acquisition thread right after sample `sampleNo` is stored, before its window
  // call is queued (tests stop a run at an exact sample with it).
  using TSampleStored = std::function<void(int sampleNo)>;

  // Created suspended, freeing itself when Execute returns. `view` must stay valid until
  // AcqThread is cleared.
  explicit TsmThread_gz(IAcquisitionView* view, TPortLister portLister = {},
                        TSampleStored sampleStored = {});
  ~TsmThread_gz() override;

  // The poll interval in milliseconds; set before the thread starts.
  void SetInterval(int ms) { interval_ = ms; }
  int Interval() const { return interval_; }

  // Pauses the thread for `ms` milliseconds on its own event (nothing else sets it); a stop
  // request ends the pause early.
  void WaitMs(int ms);
  // "FE" + body + CRC + "0A".
  static std::string BuildFrame(std::string_view body);

 protected:
  void Execute() override;

 private:
  enum class TStep { Continue, Retry, End };

  void Run();
  // The connection sequence over the candidate ports.
  TStep Connect();
  // One poll; End when the sample could not be stored.
  TStep Poll();
  // The end after a stop: port closed, RunMode 0.
  TStep Stopped();
  // Closes the port after an unanswered command and logs `message` (kind "except").
  void LinkLost(const std::string& message);
  // Runs `call` on the window thread and waits for it.
  void ToWindow(std::function<void(IAcquisitionView&)> call);
  // Hands `call` to the window thread without waiting; it keeps its place among the others.
  void ToWindowQueued(std::function<void(IAcquisitionView&)> call);
  std::string Exchange(std::string_view body);

  TEvent pauseEvent_;
  TComPort port_;
  int interval_ = 1000;
  IAcquisitionView* view_;
  TPortLister portLister_;
  TSampleStored sampleStored_;

  // State of one test (one run of Execute).
  std::vector<std::string> candidates_;
  bool tableEmptied_ = false;
  std::string lastTypeLetter_;
  std::array<TChannelStatistics, 64> statistics_{};
};

// The start button's work once the interval is known: StopRequested := 0, a new thread on
// `view` with `intervalMs` stored in AcqThread, SampleNo := 1, and the thread started. Call on the
// window thread while AcqThread is null; returns the thread (owned by itself).
TsmThread_gz* BeginAcquisition(IAcquisitionView* view, int intervalMs,
                               TsmThread_gz::TPortLister portLister = {},
                               TsmThread_gz::TSampleStored sampleStored = {});

// The interval edit's text and the unit box's index (0 seconds, 1 minutes) as milliseconds.
// Raises EConvertError when the text is not a whole number; returns 0 or less for an interval the
// start refuses.
int TestIntervalMs(std::string_view intervalText, int unitIndex);

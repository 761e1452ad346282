// What the acquisition thread changes on the main window, as one narrow interface: the main
// window implements it, and tests put a recording double in its place. The thread calls it only
// through TThread::Synchronize or TThread::Queue, so every call runs on the window thread, one at
// a time and in the order the thread made them; an implementation never sees two calls at once
// and may touch its windows freely. The per-poll calls (ShowStatusText and ShowSample while
// polling) are queued: the thread does not wait for them, and they may run after the thread has
// moved on (the shared counters may already be ahead of what they show).
#pragma once

#include <string>
#include <vector>

// One stored sample as the window shows it.
struct TSampleView {
  int sampleNo = 0;        // also the data grid's row
  std::string time;        // "yyyy-mm-dd hh:mm:ss", as stored in dtime2
  // Per channel (0-based), the reading text; empty for a channel that could not be decoded
  // (its cells keep what they held).
  std::vector<std::string> readings;
  // Per channel, the running "max,min,ave" text ("0.00" each); empty where readings is empty.
  std::vector<std::string> statistics;
};

class IAcquisitionView {
 public:
  virtual ~IAcquisitionView() = default;

  // Status bar panel 0: the port just opened.
  virtual void ShowPortName(const std::string& port) = 0;
  // Status bar panel 1: the connection state ("Connection failed", "The connection was
  // successful").
  virtual void ShowConnectionState(const std::string& text) = 0;
  // The status label next to the buttons.
  virtual void ShowStatusText(const std::string& text) = 0;
  // Test information grid, column 1 of `row` (1 product number, 2 product model).
  virtual void SetTestInfoValue(int row, const std::string& text) = 0;
  // Data grid: columns 2 .. channelCount + 1 get width 80 and the headers CH1 .. CH<n>.
  virtual void SetDataGridChannels(int channelCount) = 0;
  // After every connection sequence: the value grid's headers and labels from ModuleTypes and
  // ChannelLabels (and, when rebuild is 1, the chart's curves for channelCount channels); starts
  // the chart timer.
  virtual void showway(int channelCount, int rebuild) = 0;
  virtual void EnableStopButton() = 0;
  // A sample that is stored in newdata: data grid row sampleNo (the grid grows to hold it),
  // value grid and statistics.
  virtual void ShowSample(const TSampleView& sample) = 0;
  // The thread is ending: the start button is enabled again and the status label cleared. The
  // last call the thread makes.
  virtual void AcquisitionEnded() = 0;
};

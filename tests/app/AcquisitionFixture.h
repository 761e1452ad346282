// Support for acquisition tests: a recording stand-in for the main window (every call the thread
// makes, in order, with hooks that act at a chosen call), direct reads of the database file, and a
// fixture that gives each test a fresh program folder with its database, test mode on, and a wait
// that runs the thread's window calls until the thread has ended.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/AcquisitionView.h"
#include "app/AppGlobals.h"
#include "app/Database.h"
#include "app/SerialPort.h"
#include "app/TsmThread_gz.h"
#include "tests/app/SqlRows.h"
#include "tests/support/TempFolder.h"
#include "toolkit/data/ZConnection.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/system/Thread.h"

// Records what the acquisition thread shows, as lines such as "port COM5" or "sample 3", and
// keeps the samples. Every call must arrive on the window thread.
class RecordingView : public IAcquisitionView {
 public:
  void ShowPortName(const std::string& port) override { Record("port " + port); }
  void ShowConnectionState(const std::string& text) override { Record("state " + text); }
  void ShowStatusText(const std::string& text) override { Record("status " + text); }
  void SetTestInfoValue(int row, const std::string& text) override {
    Record("info " + std::to_string(row) + " " + text);
  }
  void SetDataGridChannels(int channelCount) override {
    Record("channels " + std::to_string(channelCount));
  }
  void showway(int channelCount, int rebuild) override {
    // What the window reads from the shared state at this point.
    std::string types;
    for (int m = 0; m < channelCount / 8; ++m) types += ModuleTypes[static_cast<size_t>(m)];
    Record("showway " + std::to_string(channelCount) + " " + std::to_string(rebuild) + " " + types);
  }
  void EnableStopButton() override { Record("stop enabled"); }
  void ShowSample(const TSampleView& sample) override {
    samples.push_back(sample);
    Record("sample " + std::to_string(sample.sampleNo));
    if (onSample) onSample(sample);
  }
  void AcquisitionEnded() override { Record("ended"); }

  // Calls whose line starts with `prefix`.
  std::vector<std::string> Calls(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& c : calls)
      if (c.compare(0, prefix.size(), prefix) == 0) out.push_back(c);
    return out;
  }

  std::vector<std::string> calls;
  std::vector<TSampleView> samples;
  bool offWindowThread = false;
  std::function<void(const TSampleView&)> onSample;
  std::function<void(const std::string& call)> onCall;

 private:
  void Record(std::string line) {
    if (!TThread::IsWindowThread()) offWindowThread = true;
    calls.push_back(line);
    if (onCall) onCall(calls.back());
  }
};

class AcquisitionFixture : public testing::Test {
 protected:
  void SetUp() override {
    AppPath = folder.Path();
    CreateDatabaseSchema();
    ConnectDatabase();
    // The state the main window loads from a fresh config row.
    ModuleCount = 1;
    PointMode = 1;
    RunMode = 0;
    SampleNo = 0;
    StopRequested = 0;
    for (auto& t : ModuleTypes) t = "K";
    ModuleTypes[0] = "J";
    for (auto& l : ChannelLabels) l.clear();
    SetTestMode(true);
  }
  void TearDown() override {
    if (AcqThread.load()) {
      StopRequested = 1;
      WaitForEnd();
    }
    if (DbConnection) {
      DbConnection->Disconnect();
      delete DbConnection;
      DbConnection = nullptr;
    }
    SetTestMode(false);
    ComPortName.clear();
    AppPath.clear();
  }

  // Runs the thread's window calls until AcqThread is clear. The bound only turns a hung thread
  // into a failure.
  void WaitForEnd() {
    const DWORD start = GetTickCount();
    while (AcqThread.load() != nullptr) {
      CheckSynchronize(20);
      if (GetTickCount() - start > 60000) {
        ADD_FAILURE() << "the acquisition thread did not end";
        return;
      }
    }
  }

  // Starts a test on `port` (or the automatic choice with `ports`) and stops it once sample
  // `lastSample` is stored: the stop is asked for on the thread itself, since the window hears
  // of samples only later (queued) and the thread would poll on meanwhile.
  void RunTest(const std::string& portChoice, int lastSample,
               std::vector<std::string> ports = {}) {
    ComPortName = portChoice;
    BeginAcquisition(&view, 1000, [ports] { return ports; }, [lastSample](int sampleNo) {
      if (sampleNo >= lastSample) StopRequested = 1;
    });
    WaitForEnd();
  }

  std::vector<std::vector<std::string>> Rows(const std::string& sql) {
    return SqlRows(DatabaseFileName(), sql);
  }

  TempFolder folder;
  RecordingView view;
};

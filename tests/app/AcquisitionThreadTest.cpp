// The acquisition thread against the instrument simulator on pty pairs: a whole test from the
// connection sequence to stored rows, shown samples and statistics; the automatic port choice;
// stop during the port search; a lost poll reply and the instrument changing its module count
// within one test; a failing database command; and no port answering.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <memory>

#include "app/DailyLog.h"
#include "tests/app/AcquisitionFixture.h"
#include "tests/app/LogLines.h"
#include "tests/support/VirtualPortPair.h"

namespace {

class AcquisitionThreadTest : public AcquisitionFixture {
 protected:
  int LogLinesEndingWith(const std::string& tail) {
    int n = 0;
    for (const LogLine& l : ReadLogLines(folder.Path()))
      if (l.text.size() >= tail.size() && l.text.compare(l.text.size() - tail.size(), tail.size(), tail) == 0)
        ++n;
    return n;
  }
};

TEST_F(AcquisitionThreadTest, TwoModuleTestFillsTableGridsAndStatistics) {
  VirtualPortPair pair;
  InstrumentSimulator sim(pair.SimulatorPort(),
                          "--modules 2 --decimals 2 --types JT --product PN-778 --model VK-16 "
                          "--labels Inlet,Outlet --readings seq:20,30,25 --channel-step 1");
  RunTest(pair.AppPort(), 3);

  EXPECT_FALSE(view.offWindowThread);
  const std::vector<std::string> expected = {
      "port " + pair.AppPort(),
      "state The connection was successful",
      "info 1 PN-778",
      "info 2 VK-16",
      "channels 16",
      "showway 16 1 JT",
      "stop enabled",
      "status The 1 test is underway",
      "sample 1",
      "status The 2 test is underway",
      "sample 2",
      "status The 3 test is underway",
      "sample 3",
      "ended",
  };
  EXPECT_EQ(view.calls, expected);

  // The instrument's configuration went to config and the shared state.
  EXPECT_EQ(Rows("select modecnt, pointcnt, mode1type, mode2type, mode3type from config")[0],
            (std::vector<std::string>{"2", "2", "J", "T", "K"}));
  EXPECT_EQ(ModuleCount.load(), 2);
  EXPECT_EQ(PointMode.load(), 2);
  EXPECT_EQ(ChannelLabels[0], "Inlet        ");
  EXPECT_EQ(ChannelLabels[1], "Outlet       ");
  EXPECT_EQ(ChannelLabels[15], "CH16         ");
  EXPECT_EQ(RunMode.load(), 0);
  EXPECT_EQ(SampleNo.load(), 4);

  // One row per sample, every one of the 16 channels, nothing beyond.
  const auto rows = Rows("select val1, val2, val16, val17, dtime2 from newdata order by ID");
  ASSERT_EQ(rows.size(), 3u);
  const char* const val1[] = {"20.0", "30.0", "25.0"};
  const char* const val16[] = {"35.0", "45.0", "40.0"};
  for (size_t r = 0; r < 3; ++r) {
    EXPECT_EQ(rows[r][0], val1[r]);
    EXPECT_EQ(rows[r][2], val16[r]);
    EXPECT_EQ(rows[r][3], "<null>");
    EXPECT_EQ(rows[r][4], view.samples[r].time);
    EXPECT_EQ(rows[r][4].size(), 19u) << rows[r][4];
  }

  ASSERT_EQ(view.samples.size(), 3u);
  const TSampleView& last = view.samples[2];
  EXPECT_EQ(last.sampleNo, 3);
  ASSERT_EQ(last.readings.size(), 16u);
  EXPECT_EQ(last.readings[0], "25.00");
  EXPECT_EQ(last.readings[15], "40.00");
  EXPECT_EQ(view.samples[0].statistics[0], "20.00,20.00,20.00");
  EXPECT_EQ(view.samples[1].statistics[0], "30.00,20.00,25.00");
  EXPECT_EQ(last.statistics[0], "30.00,20.00,25.00");
  EXPECT_EQ(last.statistics[1], "31.00,21.00,26.00");
  EXPECT_EQ(last.statistics[15], "45.00,35.00,40.00");
}

struct AutomaticChoice {
  const char* name;
  const char* portChoice;
};

class AutomaticPortTest : public AcquisitionThreadTest,
                          public testing::WithParamInterface<AutomaticChoice> {};

TEST_P(AutomaticPortTest, RunsOnTheListedPortThatAnswers) {
  VirtualPortPair silent;  // opens, but nothing answers on it
  VirtualPortPair live;
  InstrumentSimulator sim(live.SimulatorPort(), "--readings const:21.5");
  RunTest(GetParam().portChoice, 1, {silent.AppPort(), live.AppPort()});

  EXPECT_EQ(view.Calls("port "),
            (std::vector<std::string>{"port " + silent.AppPort(), "port " + live.AppPort()}));
  EXPECT_EQ(view.Calls("state "), (std::vector<std::string>{"state Connection failed",
                                                            "state The connection was successful"}));
  EXPECT_EQ(LogLinesEndingWith("] Connection failed" + silent.AppPort()), 1);
  EXPECT_EQ(CountLogLines(folder.Path(), "Connection failed" + live.AppPort()), 0);
  EXPECT_EQ(Rows("select val1 from newdata"), (std::vector<std::vector<std::string>>{{"21.5"}}));
}

const AutomaticChoice kAutomaticChoices[] = {
    {"English", "Automatic selection"},
    {"Chinese", "自动选择"},
};
INSTANTIATE_TEST_SUITE_P(Choices, AutomaticPortTest, testing::ValuesIn(kAutomaticChoices),
                         [](const testing::TestParamInfo<AutomaticChoice>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(AcquisitionThreadTest, StopDuringThePortSearchEndsBeforeTheNextPort) {
  VirtualPortPair silent;
  VirtualPortPair live;
  InstrumentSimulator sim(live.SimulatorPort(), "");
  // The operator presses stop while the first port is being probed.
  view.onCall = [&](const std::string& call) {
    if (call == "port " + silent.AppPort()) StopRequested = 1;
  };
  ComPortName = "Automatic selection";
  const std::vector<std::string> ports = {silent.AppPort(), live.AppPort()};
  BeginAcquisition(&view, 1000, [ports] { return ports; });
  WaitForEnd();

  // The probe cut short by the stop is no failed connection: nothing shown, nothing logged.
  EXPECT_EQ(view.calls, (std::vector<std::string>{"port " + silent.AppPort(), "ended"}));
  EXPECT_EQ(ReadLogLines(folder.Path()).size(), 0u);
  EXPECT_EQ(RunMode.load(), 0);
  EXPECT_EQ(Rows("select count(*) from newdata")[0][0], "0");
}

TEST_F(AcquisitionThreadTest, LostReplyThenRecoveryContinuesNumberingAndKeepsRows) {
  VirtualPortPair pair;
  // The third poll goes unanswered; the instrument answers again afterwards.
  InstrumentSimulator sim(pair.SimulatorPort(),
                          "--readings ramp:10:1 --fault noreply --fault-on 60 --fault-after 2 "
                          "--fault-count 1");
  RunTest(pair.AppPort(), 4);

  EXPECT_EQ(view.Calls("showway "), (std::vector<std::string>{"showway 8 1 K", "showway 8 1 K"}));
  EXPECT_EQ(view.Calls("sample "),
            (std::vector<std::string>{"sample 1", "sample 2", "sample 3", "sample 4"}));
  // The sample that got no reply is asked for again under the same number.
  EXPECT_EQ(view.Calls("status "),
            (std::vector<std::string>{"status The 1 test is underway", "status The 2 test is underway",
                                      "status The 3 test is underway", "status The 3 test is underway",
                                      "status The 4 test is underway"}));
  EXPECT_EQ(LogLinesEndingWith("] Connection failed"), 1);
  EXPECT_EQ(Rows("select ID, val1 from newdata order by ID"),
            (std::vector<std::vector<std::string>>{
                {"1", "10.0"}, {"2", "11.0"}, {"3", "12.0"}, {"4", "13.0"}}));
  // Statistics run over all four samples.
  EXPECT_EQ(view.samples.back().statistics[0], "13.00,10.00,11.50");
}

TEST_F(AcquisitionThreadTest, ModuleCountChangeUpdatesConfigAndGrids) {
  VirtualPortPair pair;
  // After two polls the instrument has two modules; the poll for 8 channels goes unanswered.
  InstrumentSimulator sim(pair.SimulatorPort(),
                          "--modules 1 --types KT --readings const:30 --channel-step 0.5 "
                          "--fault modules:2 --fault-on 60 --fault-after 2");
  RunTest(pair.AppPort(), 4);

  EXPECT_EQ(view.Calls("channels "), (std::vector<std::string>{"channels 8", "channels 16"}));
  EXPECT_EQ(view.Calls("showway "),
            (std::vector<std::string>{"showway 8 1 K", "showway 16 1 KT"}));
  EXPECT_EQ(Rows("select modecnt, mode1type, mode2type from config")[0],
            (std::vector<std::string>{"2", "K", "T"}));
  EXPECT_EQ(ModuleCount.load(), 2);
  ASSERT_EQ(view.samples.size(), 4u);
  EXPECT_EQ(view.samples[1].readings.size(), 8u);
  EXPECT_EQ(view.samples[2].readings.size(), 16u);
  EXPECT_EQ(view.samples[2].readings[15], "37.5");
  // Channel 16 has its own statistics from its first reading on.
  EXPECT_EQ(view.samples[3].statistics[15], "37.50,37.50,37.50");
  EXPECT_EQ(view.samples[3].statistics[0], "30.00,30.00,30.00");
  EXPECT_EQ(Rows("select ID, val8, val9, val16 from newdata order by ID"),
            (std::vector<std::vector<std::string>>{{"1", "33.5", "<null>", "<null>"},
                                                   {"2", "33.5", "<null>", "<null>"},
                                                   {"3", "33.5", "34.0", "37.5"},
                                                   {"4", "33.5", "34.0", "37.5"}}));
}

TEST_F(AcquisitionThreadTest, FailingDatabaseCommandEndsTheThread) {
  VirtualPortPair pair;
  InstrumentSimulator sim(pair.SimulatorPort(), "");
  ASSERT_TRUE(ExecSqlCommand("drop table newdata"));
  RunTest(pair.AppPort(), 1);

  EXPECT_TRUE(view.Calls("sample ").empty());
  EXPECT_TRUE(view.Calls("stop enabled").empty());
  EXPECT_EQ(view.calls.back(), "ended");
  EXPECT_EQ(RunMode.load(), 0);
  EXPECT_EQ(CountLogLines(folder.Path(), "delete from newdata"), 1);
}

TEST_F(AcquisitionThreadTest, NoPortAnsweringEndsTheThreadWithoutAMessage) {
  VirtualPortPair pair;  // no simulator
  RunTest(pair.AppPort(), 1);

  EXPECT_EQ(view.calls, (std::vector<std::string>{"port " + pair.AppPort(),
                                                  "state Connection failed", "ended"}));
  EXPECT_EQ(LogLinesEndingWith("] Connection failed" + pair.AppPort()), 1);
  EXPECT_EQ(RunMode.load(), 0);
  EXPECT_EQ(AcqThread.load(), nullptr);
}

// ---- Failure points of the connection sequence and the poll ------------------------------------

// One command of the connection sequence goes unanswered once: the port is closed, the exact line
// is logged, the search starts over and the test then runs.
struct UnansweredCase {
  const char* name;
  const char* simulator;
  const char* logTail;  // the log line's text after the time, "%PORT%" standing for the port
  bool failedState;     // "Connection failed" shown in the status bar
};

class UnansweredCommandTest : public AcquisitionThreadTest,
                              public testing::WithParamInterface<UnansweredCase> {};

TEST_P(UnansweredCommandTest, LogsRetriesAndRuns) {
  const UnansweredCase& c = GetParam();
  VirtualPortPair pair;
  InstrumentSimulator sim(pair.SimulatorPort(), std::string("--fault noreply --fault-count 1 ") + c.simulator);
  RunTest(pair.AppPort(), 1);

  std::string tail = c.logTail;
  const size_t at = tail.find("%PORT%");
  if (at != std::string::npos) tail.replace(at, 6, pair.AppPort());
  EXPECT_EQ(LogLinesEndingWith("] " + tail), 1);
  // That line and the one "crc err" of the lost reply are the only lines.
  EXPECT_EQ(ReadLogLines(folder.Path()).size(), 2u);
  EXPECT_EQ(CountLogLines(folder.Path(), "] crc err : "), 1);
  std::vector<std::string> states = {"state The connection was successful"};
  if (c.failedState) states.push_back("state Connection failed");
  states.push_back("state The connection was successful");
  EXPECT_EQ(view.Calls("state "), states);
  EXPECT_EQ(view.Calls("port ").size(), 2u);  // searched again
  EXPECT_EQ(view.Calls("showway ").size(), 1u);
  EXPECT_EQ(Rows("select count(*) from newdata")[0][0], "1");
  ASSERT_EQ(view.samples.size(), 1u);
}

const UnansweredCase kUnanswered[] = {
    {"ProductNumber", "--fault-on 21", "Connection failed%PORT%", true},
    {"ProductModel", "--fault-on 20", "Connection failed%PORT%", true},
    {"SecondModuleCount", "--fault-on 22 --fault-after 1", "Connection failed%PORT%", true},
    {"DecimalMode", "--fault-on 23", "Connection failed", false},
    {"ModuleType", "--fault-on 61", "Connection failed", false},
    {"ChannelLabel", "--fault-on 62 --fault-after 3", "Communication failed", false},
};
INSTANTIATE_TEST_SUITE_P(Commands, UnansweredCommandTest, testing::ValuesIn(kUnanswered),
                         [](const testing::TestParamInfo<UnansweredCase>& info) {
                           return std::string(info.param.name);
                         });

// A refused database command ends the thread; whatever was stored was shown and nothing else.
struct RefusedCommandCase {
  const char* name;
  const char* simulator;
  const char* trigger;   // SQLite trigger that refuses the command
  const char* logged;    // the refused statement, as logged
  int rows;              // rows stored and samples shown
};

class RefusedCommandTest : public AcquisitionThreadTest,
                           public testing::WithParamInterface<RefusedCommandCase> {};

TEST_P(RefusedCommandTest, EndsTheThreadWithRowsStoredEqualRowsShown) {
  const RefusedCommandCase& c = GetParam();
  VirtualPortPair pair;
  InstrumentSimulator sim(pair.SimulatorPort(), c.simulator);
  ASSERT_TRUE(ExecSqlCommand(c.trigger));
  RunTest(pair.AppPort(), 3);

  EXPECT_EQ(view.calls.back(), "ended");
  EXPECT_EQ(RunMode.load(), 0);
  EXPECT_GE(CountLogLines(folder.Path(), c.logged), 1);
  EXPECT_EQ(view.samples.size(), static_cast<size_t>(c.rows));
  EXPECT_EQ(Rows("select count(*) from newdata")[0][0], std::to_string(c.rows));
  EXPECT_EQ(view.Calls("stop enabled").size(), c.rows > 0 ? 1u : 0u);
}

const RefusedCommandCase kRefusedCommands[] = {
    {"SecondPollInsert", "--readings ramp:10:1",
     "create trigger refuse before insert on newdata when (select count(*) from newdata) >= 1 "
     "begin select raise(abort, 'refused'); end",
     "insert into newdata", 1},
    {"ModuleCountUpdate", "--modules 2",
     "create trigger refuse before update of modecnt on config begin select raise(abort, 'refused'); end",
     "update config set modecnt='2'", 0},
    {"DecimalModeUpdate", "--decimals 2",
     "create trigger refuse before update of pointcnt on config begin select raise(abort, 'refused'); end",
     "update config set pointcnt='2'", 0},
    {"ModuleTypeUpdate", "",
     "create trigger refuse before update of mode1type on config begin select raise(abort, 'refused'); end",
     "update config set mode1type='K'", 0},
};
INSTANTIATE_TEST_SUITE_P(Commands, RefusedCommandTest, testing::ValuesIn(kRefusedCommands),
                         [](const testing::TestParamInfo<RefusedCommandCase>& info) {
                           return std::string(info.param.name);
                         });

// A module count the recorder cannot hold (its arrays and tables stop at 8) is no usable link: the
// search starts over, config and the grids stay as they were.
class ImpossibleModuleCountTest : public AcquisitionThreadTest,
                                  public testing::WithParamInterface<int> {};

TEST_P(ImpossibleModuleCountTest, IsRefusedAndSearchedAgain) {
  VirtualPortPair pair;
  InstrumentSimulator sim(pair.SimulatorPort(), "--report-modules " + std::to_string(GetParam()));
  ComPortName = pair.AppPort();
  int failures = 0;
  view.onCall = [&](const std::string& call) {
    if (call == "state Connection failed" && ++failures == 2) StopRequested = 1;
  };
  BeginAcquisition(&view, 1000, [] { return std::vector<std::string>{}; });
  WaitForEnd();

  EXPECT_EQ(failures, 2);
  EXPECT_EQ(LogLinesEndingWith("] Connection failed" + pair.AppPort()), 2);
  EXPECT_TRUE(view.Calls("channels ").empty());
  EXPECT_TRUE(view.Calls("showway ").empty());
  EXPECT_EQ(ModuleCount.load(), 1);
  EXPECT_EQ(Rows("select modecnt from config")[0][0], "1");
  EXPECT_EQ(Rows("select count(*) from newdata")[0][0], "0");
}

INSTANTIATE_TEST_SUITE_P(Counts, ImpossibleModuleCountTest, testing::Values(0, 9),
                         [](const testing::TestParamInfo<int>& info) {
                           return "Modules" + std::to_string(info.param);
                         });

// At the real pace a busy window must not hold the polls up: the window calls of a poll are
// queued, so while the window thread spends 3 s on each of the first two samples the thread still
// stores one row about every second, and the window then shows every sample in order.
TEST_F(AcquisitionThreadTest, BusyWindowDoesNotSlowThePolls) {
  VirtualPortPair pair;
  InstrumentSimulator sim(pair.SimulatorPort(), "--readings ramp:10:1");
  SetTestMode(false);
  ComPortName = pair.AppPort();
  constexpr int kSamples = 6;
  std::array<std::atomic<DWORD>, kSamples + 1> storedAt{};
  view.onSample = [](const TSampleView& s) {
    if (s.sampleNo <= 2) Sleep(3000);  // the window thread busy, e.g. with a slow chart tick
  };
  BeginAcquisition(&view, 1000, [] { return std::vector<std::string>{}; }, [&storedAt](int sampleNo) {
    if (sampleNo <= kSamples) storedAt[static_cast<size_t>(sampleNo)] = GetTickCount();
    if (sampleNo >= kSamples) StopRequested = 1;
  });
  WaitForEnd();

  ASSERT_EQ(Rows("select count(*) from newdata")[0][0], std::to_string(kSamples));
  for (int n = 2; n <= kSamples; ++n)
    EXPECT_LT(storedAt[static_cast<size_t>(n)] - storedAt[static_cast<size_t>(n - 1)], 1500u)
        << "sample " << n << " was stored late";
  std::vector<std::string> shown = view.Calls("sample ");
  std::vector<std::string> expected;
  for (int n = 1; n <= kSamples; ++n) expected.push_back("sample " + std::to_string(n));
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(view.calls.back(), "ended");
  EXPECT_FALSE(view.offWindowThread);
}

TEST_F(AcquisitionThreadTest, UnknownTypeCodeKeepsTheLastDecodedLetter) {
  VirtualPortPair pair;
  InstrumentSimulator sim(pair.SimulatorPort(), "--modules 3 --types TJE --type-code 2:8");
  RunTest(pair.AppPort(), 1);

  EXPECT_EQ(Rows("select mode1type, mode2type, mode3type from config")[0],
            (std::vector<std::string>{"T", "T", "E"}));
  EXPECT_EQ(view.Calls("showway "), (std::vector<std::string>{"showway 24 1 TTE"}));
}

// A reading of 00 00 80 7F decodes to about 3.4e38: shown and stored like any other, left out of
// its channel's statistics, and the test goes on.
TEST_F(AcquisitionThreadTest, HugeReadingIsStoredAndShownAndTheTestGoesOn) {
  VirtualPortPair pair;
  InstrumentSimulator sim(pair.SimulatorPort(),
                          "--readings ramp:10:1 --raw-reading 2:0000807F");
  RunTest(pair.AppPort(), 3);

  ASSERT_EQ(view.samples.size(), 3u);
  EXPECT_EQ(view.calls.back(), "ended");
  const std::string huge = view.samples[0].readings[1];
  EXPECT_EQ(huge, "3.40282366920938E38");
  // The insert's unquoted text is stored as that number.
  EXPECT_EQ(Rows("select val1, val2 = 3.40282366920938E38 from newdata order by ID"),
            (std::vector<std::vector<std::string>>{{"10.0", "1"}, {"11.0", "1"}, {"12.0", "1"}}));
  EXPECT_EQ(view.samples[2].statistics[1], "");
  EXPECT_EQ(view.samples[2].statistics[0], "12.00,10.00,11.00");
}

// ---- Stop at production pacing ---------------------------------------------------------------
// Outside test mode every read lasts its whole time-out (a poll read interval - 100 ms), so these
// run at the real pace and measure how long the thread takes to end after the stop.

struct PacedStopCase {
  const char* name;
  int intervalMs;
  const char* simulator;  // options of the instrument simulator
  const char* trigger;    // the thread's window call after which the operator presses stop
  int rows;               // rows stored (and samples shown) when the thread has ended
};

class PacedStopTest : public AcquisitionThreadTest,
                      public testing::WithParamInterface<PacedStopCase> {};

TEST_P(PacedStopTest, StopEndsTheThreadAtOnceAndKeepsRowsWhole) {
  const PacedStopCase& c = GetParam();
  VirtualPortPair pair;
  InstrumentSimulator sim(pair.SimulatorPort(), c.simulator);
  SetTestMode(false);
  ComPortName = pair.AppPort();
  DWORD triggered = 0;
  view.onCall = [&](const std::string& call) {
    if (!triggered && call == c.trigger) triggered = GetTickCount();
  };
  BeginAcquisition(&view, c.intervalMs, [] { return std::vector<std::string>{}; });

  // Stop 300 ms after the trigger: well inside the read (or the request) that follows it.
  DWORD stopped = 0;
  const DWORD start = GetTickCount();
  while (AcqThread.load() != nullptr) {
    CheckSynchronize(10);
    if (!stopped && triggered && GetTickCount() - triggered >= 300) {
      StopRequested = 1;
      stopped = GetTickCount();
    }
    ASSERT_LT(GetTickCount() - start, 30000u) << "no stop happened; calls so far: " << view.calls.size();
  }
  ASSERT_NE(stopped, 0u) << "the thread ended before the stop";
  EXPECT_LT(GetTickCount() - stopped, 1000u);

  EXPECT_EQ(view.calls.back(), "ended");
  EXPECT_EQ(RunMode.load(), 0);
  EXPECT_EQ(view.samples.size(), static_cast<size_t>(c.rows));
  EXPECT_EQ(Rows("select count(*) from newdata")[0][0], std::to_string(c.rows));
  // Every stored row is a shown sample.
  for (size_t i = 0; i < view.samples.size(); ++i)
    EXPECT_EQ(Rows("select dtime2 from newdata where ID = " + std::to_string(i + 1))[0][0],
              view.samples[i].time);
  // A stop is no lost link.
  EXPECT_EQ(CountLogLines(folder.Path(), "Connection failed"), 0);
  EXPECT_EQ(CountLogLines(folder.Path(), "Communication failed"), 0);
  EXPECT_EQ(CountLogLines(folder.Path(), "crc err"), 0);
}

const PacedStopCase kPacedStops[] = {
    // The reply of the second poll is in long before its read would end: stored and shown.
    {"FewSecondsReplyIn", 2000, "--readings ramp:10:1", "status The 2 test is underway", 2},
    {"MinuteReplyIn", 60000, "--readings ramp:10:1", "status The 1 test is underway", 1},
    // No reply is coming: the poll ends without a row.
    {"MinuteNoReply", 60000, "--fault noreply --fault-on 60", "status The 1 test is underway", 0},
    // During the label requests of the connection sequence (300 ms each).
    {"DuringConnection", 60000, "--fault noreply --fault-on 62", "channels 8", 0},
};
INSTANTIATE_TEST_SUITE_P(Cases, PacedStopTest, testing::ValuesIn(kPacedStops),
                         [](const testing::TestParamInfo<PacedStopCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace

// The acquisition thread against the instrument simulator on pty pairs: a whole test from the
// connection sequence to stored rows, shown samples and statistics; the automatic port choice;
// stop during the port search; a lost poll reply and the instrument changing its module count
// within one test; a failing database command; and no port answering.
#include <gtest/gtest.h>

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

  EXPECT_EQ(view.calls, (std::vector<std::string>{"port " + silent.AppPort(),
                                                  "state Connection failed", "ended"}));
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

}  // namespace

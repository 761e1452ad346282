// The acquisition thread's connection sequence and poll loop (see the state table in the header).
#include "app/TsmThread_gz.h"

#include <algorithm>

#include "app/AcquisitionView.h"
#include "app/AppGlobals.h"
#include "app/DailyLog.h"
#include "app/Database.h"
#include "app/InstrumentFrames.h"
#include "app/PollReadings.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

namespace {

// Time-out of every command of the connection sequence.
constexpr int kCommandTimeoutMs = 300;
// Type letters by the code of a module type reply.
constexpr const char* kTypeLetters[] = {"K", "J", "T", "E", "S", "N", "B", "R"};

std::string Hex2(int value) { return IntToHex(value, 2); }

// Byte `index` of a reply given as hex text; -1 past its end.
int ReplyByte(const std::string& reply, size_t index) {
  if (2 * index + 2 > reply.size()) return -1;
  return static_cast<int>(static_cast<unsigned char>(HexToBytes(reply.substr(2 * index, 2))[0]));
}

// The reply's data bytes 4 .. LEN + 2 as text (product number and model).
std::string ReplyDataText(const std::string& reply) {
  const int len = ReplyByte(reply, 2);
  if (len < 2) return {};
  return AnsiToUtf8(Copy(HexToBytes(reply), 5, len - 1));
}

std::string NowText() { return FormatDateTime("yyyy-mm-dd hh:mm:ss", Now()); }

bool StopSeen() { return StopRequested.load() != 0; }

// Longest stretch of a pause between two looks at the stop flag.
constexpr int kStopCheckMs = 20;

}  // namespace

bool IsAutomaticPortChoice(std::string_view portName) {
  return portName == "自动选择" || portName == "Automatic selection";
}

TsmThread_gz::TsmThread_gz(IAcquisitionView* view, TPortLister portLister, TSampleStored sampleStored)
    : pauseEvent_(true, true),
      view_(view),
      portLister_(portLister ? std::move(portLister) : TPortLister(GetSerialPortList)),
      sampleStored_(std::move(sampleStored)) {
  SetFreeOnTerminate(true);
}

TsmThread_gz::~TsmThread_gz() {
  // Runs on the thread itself once Execute has returned.
  port_.Close();
  RunMode = 0;
  try {
    ToWindow([](IAcquisitionView& v) { v.AcquisitionEnded(); });
  } catch (const std::exception& e) {
    WriteLog(std::string("acquisition end: ") + e.what(), "except");
  }
  // Every call to the window has run (this Synchronize runs after every queued call, in order),
  // so the window may go from here on.
  AcqThread.store(nullptr);
}

void TsmThread_gz::WaitMs(int ms) {
  // In short slices, so that a stop ends the pause at once whatever its length.
  pauseEvent_.ResetEvent();
  const DWORD start = GetTickCount();
  const DWORD total = ms > 0 ? static_cast<DWORD>(ms) : 0;
  for (;;) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= total || StopSeen()) return;
    pauseEvent_.WaitFor(std::min<DWORD>(total - elapsed, kStopCheckMs));
  }
}

std::string TsmThread_gz::BuildFrame(std::string_view body) { return ::BuildFrame(body); }

void TsmThread_gz::ToWindow(std::function<void(IAcquisitionView&)> call) {
  if (!view_) return;
  IAcquisitionView* view = view_;
  Synchronize([view, call = std::move(call)] { call(*view); });
}

void TsmThread_gz::ToWindowQueued(std::function<void(IAcquisitionView&)> call) {
  if (!view_) return;
  IAcquisitionView* view = view_;
  Queue([view, call = std::move(call)] { call(*view); });
}

std::string TsmThread_gz::Exchange(std::string_view body) {
  return SendAndReceive(port_.Handle(), BuildFrame(body), kCommandTimeoutMs, StopSeen);
}

TsmThread_gz::TStep TsmThread_gz::Stopped() {
  port_.Close();
  RunMode = 0;
  return TStep::End;
}

void TsmThread_gz::Execute() {
  try {
    Run();
  } catch (const std::exception& e) {
    // Nothing may escape a thread body: the test ends as after a database failure.
    WriteLog(std::string("acquisition thread: ") + e.what(), "except");
  }
}

void TsmThread_gz::Run() {
  port_.Close();
  if (IsAutomaticPortChoice(ComPortName))
    candidates_ = portLister_();
  else
    candidates_ = {ComPortName};

  for (;;) {
    WaitMs(2);
    if (!port_.IsOpen()) {
      const TStep step = Connect();
      if (step == TStep::End) return;
      if (step == TStep::Retry) continue;
    }
    if (StopRequested.load() != 0) {
      RunMode = 0;
      return;
    }
    if (Poll() == TStep::End) return;
  }
}

void TsmThread_gz::LinkLost(const std::string& message) {
  port_.Close();
  WriteLog(message, "except");
}

TsmThread_gz::TStep TsmThread_gz::Connect() {
  // Search: the first candidate that opens and answers the probe.
  std::string portName;
  bool answered = false;
  for (const std::string& name : candidates_) {
    if (StopRequested.load() != 0) {
      RunMode = 0;
      return TStep::End;
    }
    port_.Reset(OpenComPort(ComPortNumber(name), 115200, 1, NOPARITY, 8));
    if (!port_.IsOpen()) continue;
    ToWindow([name](IAcquisitionView& v) { v.ShowPortName(name); });
    if (Exchange("000122").empty()) {
      if (StopSeen()) return Stopped();
      port_.Close();
      ToWindow([](IAcquisitionView& v) { v.ShowConnectionState("Connection failed"); });
      WriteLog("Connection failed" + name, "except");
      continue;
    }
    portName = name;
    answered = true;
    break;
  }
  if (!answered) {
    port_.Close();
    return TStep::End;
  }
  ToWindow([](IAcquisitionView& v) { v.ShowConnectionState("The connection was successful"); });

  // Identity and module count. An unanswered command (or a module count the recorder cannot
  // hold) means the link is not usable: search again.
  auto identityFailed = [&] {
    if (StopSeen()) return Stopped();
    port_.Close();
    ToWindow([](IAcquisitionView& v) { v.ShowConnectionState("Connection failed"); });
    WriteLog("Connection failed" + portName, "except");
    return TStep::Retry;
  };
  std::string reply = Exchange("000121");
  if (reply.empty()) return identityFailed();
  const std::string productNumber = ReplyDataText(reply);
  ToWindow([productNumber](IAcquisitionView& v) { v.SetTestInfoValue(1, productNumber); });
  reply = Exchange("000120");
  if (reply.empty()) return identityFailed();
  const std::string productModel = ReplyDataText(reply);
  ToWindow([productModel](IAcquisitionView& v) { v.SetTestInfoValue(2, productModel); });
  reply = Exchange("000122");
  if (reply.empty()) return identityFailed();
  RunMode = 1;
  const int modules = ReplyByte(reply, 4);
  if (modules < 1 || modules > 8) return identityFailed();

  if (modules != ModuleCount.load()) {
    if (!ExecSqlCommand("update config set modecnt='" + IntToStr(modules) + "'")) return TStep::End;
  }
  ModuleCount = modules;
  const int channels = 8 * modules;
  ToWindow([channels](IAcquisitionView& v) { v.SetDataGridChannels(channels); });

  // Decimal mode.
  reply = Exchange("000123");
  if (reply.empty()) {
    if (StopSeen()) return Stopped();
    LinkLost("Connection failed");
    return TStep::Retry;
  }
  const int pointMode = ReplyByte(reply, 4) == 0x01 ? 2 : 1;
  if (pointMode != PointMode.load()) {
    if (!ExecSqlCommand("update config set pointcnt='" + IntToStr(pointMode) + "'"))
      return TStep::End;
    PointMode = pointMode;
  }

  // Thermocouple type of each module; an unknown code keeps the last known letter.
  for (int m = 1; m <= modules; ++m) {
    reply = Exchange("000261" + Hex2(m));
    if (reply.empty()) {
      if (StopSeen()) return Stopped();
      LinkLost("Connection failed");
      return TStep::Retry;
    }
    const int code = ReplyByte(reply, 5);
    if (code >= 0 && code <= 7) lastTypeLetter_ = kTypeLetters[code];
    if (!ExecSqlCommand("update config set mode" + IntToStr(m) + "type='" + lastTypeLetter_ + "'"))
      return TStep::End;
    ModuleTypes[static_cast<size_t>(m - 1)] = lastTypeLetter_;
  }

  // The live table holds one test: emptied once, when the test first reaches the instrument.
  if (!tableEmptied_) {
    if (!ExecSqlCommand("delete from newdata")) return TStep::End;
    tableEmptied_ = true;
  }

  for (int c = 1; c <= channels; ++c) {
    if (StopSeen()) return Stopped();
    reply = Exchange("000262" + Hex2(c));
    if (reply.empty()) {
      if (StopSeen()) return Stopped();
      LinkLost("Communication failed");
      return TStep::Retry;
    }
    ChannelLabels[static_cast<size_t>(c - 1)] = AnsiToUtf8(Copy(HexToBytes(reply), 31, 13));
  }

  ToWindow([channels](IAcquisitionView& v) {
    v.showway(channels, 1);
    v.EnableStopButton();
  });
  return TStep::Continue;
}

TsmThread_gz::TStep TsmThread_gz::Poll() {
  const int sampleNo = SampleNo.load();
  const std::string status = "The " + IntToStr(sampleNo) + " test is underway";
  ToWindowQueued([status](IAcquisitionView& v) { v.ShowStatusText(status); });

  const int channels = 8 * ModuleCount.load();
  const std::string reply = SendAndReceivePoll(
      port_.Handle(), BuildFrame("000260" + Hex2(channels)), interval_ - 100, StopSeen);
  if (reply.empty()) {
    // Stopped before the reply was whole: no row, and the link was not lost.
    if (StopSeen()) return Stopped();
    // Searched for again on the next pass; this sample is taken again then.
    LinkLost("Connection failed");
    return TStep::Continue;
  }

  const TPollReadings readings = DecodePollReadings(reply, channels, PointMode.load());
  TSampleView sample;
  sample.sampleNo = sampleNo;
  sample.time = NowText();
  sample.readings = readings.texts;
  sample.statistics.resize(readings.texts.size());
  size_t failure = 0;
  std::string lastText;
  for (int c = 0; c < channels; ++c) {
    const std::string& text = readings.texts[static_cast<size_t>(c)];
    if (failure < readings.failures.size() && readings.failures[failure].channel == c) {
      WriteLog(lastText + " : " + readings.failures[failure].restHex, "except_2");
      ++failure;
      continue;
    }
    lastText = text;
    TChannelStatistics& s = statistics_[static_cast<size_t>(c)];
    // A reading too large to count is still shown and stored, only left out here.
    s.Add(text);
    if (s.Count() > 0) sample.statistics[static_cast<size_t>(c)] = s.Text();
  }

  // Stored first, shown after: the grids never show a sample the table lacks.
  if (!ExecSqlCommand(NewDataInsertSql(readings, sample.time))) return TStep::End;
  if (sampleStored_) sampleStored_(sampleNo);
  ToWindowQueued([sample = std::move(sample)](IAcquisitionView& v) { v.ShowSample(sample); });
  SampleNo = sampleNo + 1;
  return TStep::Continue;
}

TsmThread_gz* BeginAcquisition(IAcquisitionView* view, int intervalMs,
                               TsmThread_gz::TPortLister portLister,
                               TsmThread_gz::TSampleStored sampleStored) {
  StopRequested = 0;
  auto* thread = new TsmThread_gz(view, std::move(portLister), std::move(sampleStored));
  AcqThread = thread;
  thread->SetInterval(intervalMs);
  SampleNo = 1;
  thread->Start();
  return thread;
}

int TestIntervalMs(std::string_view intervalText, int unitIndex) {
  const long long value = StrToInt(intervalText);
  return static_cast<int>(value * (unitIndex == 1 ? 60000 : 1000));
}

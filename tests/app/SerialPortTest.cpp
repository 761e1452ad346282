// The serial link against the instrument simulator over a socat pty pair: the exchanges of the
// connection sequence and the poll, the read timing in and out of test mode, every injected
// fault (each an empty reply and exactly one "crc err : " line), a purged flood, failed writes
// and the port list. See tests/support/VirtualPortPair.h for how the ports are made.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/AppGlobals.h"
#include "app/Crc.h"
#include "app/InstrumentFrames.h"
#include "app/SerialPort.h"
#include "tests/app/LogLines.h"
#include "tests/support/TempFolder.h"
#include "tests/support/VirtualPortPair.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

namespace {

// A reply frame as the instrument builds it: FE, 00, LEN, echo, data, CRC.
std::string ReplyFrame(const std::string& echoAndDataHex) {
  const size_t len = echoAndDataHex.size() / 2;
  const std::string body = "00" + IntToHex(static_cast<long long>(len), 2) + echoAndDataHex;
  return "FE" + body + CrcModbusHex(body);
}

class SerialLinkTest : public testing::Test {
 protected:
  void SetUp() override {
    AppPath = folder.Path();
    SetTestMode(false);
  }
  void TearDown() override {
    port.Close();
    simulator.reset();
    pair.reset();
    SetTestMode(false);
    AppPath.clear();
  }
  // Makes the port pair, starts the simulator with `options` and opens the recorder's end.
  void Connect(const std::string& options) {
    pair = std::make_unique<VirtualPortPair>();
    simulator = std::make_unique<InstrumentSimulator>(pair->SimulatorPort(), options);
    port.Reset(OpenComPort(ComPortNumber(pair->AppPort()), 115200, 1, NOPARITY, 8));
    ASSERT_TRUE(port.IsOpen()) << pair->AppPort();
  }
  int CrcErrLines() { return CountLogLines(folder.Path(), "] crc err : "); }

  TempFolder folder;
  std::unique_ptr<VirtualPortPair> pair;
  std::unique_ptr<InstrumentSimulator> simulator;
  TComPort port;
};

TEST_F(SerialLinkTest, ConnectionSequenceAndPollExchanges) {
  Connect("--modules 2 --decimals 2 --types JT --product PN-778 --model VK-16 "
          "--labels Inlet,Outlet,,,,,,,,Oven10 --readings const:25 --channel-step -35");
  SetTestMode(true);  // each read ends at its complete frame

  struct Exchange {
    const char* body;
    std::string reply;
  };
  const Exchange exchanges[] = {
      {"000122", ReplyFrame("2202")},
      {"000121", ReplyFrame("21" + BytesToHex("PN-778"))},
      {"000120", ReplyFrame("20" + BytesToHex("VK-16"))},
      {"000123", ReplyFrame("2301")},
      {"00026101", ReplyFrame("610101")},
      {"00026102", ReplyFrame("610202")},
  };
  for (const Exchange& e : exchanges)
    EXPECT_EQ(SendAndReceive(port.Handle(), BuildFrame(e.body), 3000), e.reply) << e.body;

  // Labels: 13 characters at reply bytes 30-42.
  const std::string label1 = HexToBytes(SendAndReceive(port.Handle(), BuildFrame("00026201"), 3000));
  ASSERT_GE(label1.size(), 43u);
  EXPECT_EQ(label1.substr(30, 13), "Inlet        ");
  const std::string label10 = HexToBytes(SendAndReceive(port.Handle(), BuildFrame("0002620A"), 3000));
  ASSERT_GE(label10.size(), 43u);
  EXPECT_EQ(label10.substr(30, 13), "Oven10       ");

  // The poll: 16 readings from byte 5, channel c reading 25 - 35c.
  const std::string poll = SendAndReceivePoll(port.Handle(), BuildFrame("00026010"), 3000);
  ASSERT_EQ(poll.size(), (5 + 16 * 4 + 2) * 2u);
  EXPECT_EQ(ReadingText(poll.substr(10, 8), 2), "25.00");
  EXPECT_EQ(ReadingText(poll.substr(18, 8), 2), "-10.00");
  EXPECT_EQ(ReadingText(poll.substr(10 + 15 * 8, 8), 2), "-500.00");
  EXPECT_EQ(CrcErrLines(), 0);
}

// The opener sets the line as asked: 115200 baud, 8 data bits, no parity, and the stop bits
// from stopSelect (2 gives two, any other value one).
TEST_F(SerialLinkTest, OpenComPortSetsTheLineSettings) {
  Connect("--modules 1");
  struct StopCase {
    int stopSelect;
    BYTE stopBits;
  };
  const StopCase cases[] = {{1, ONESTOPBIT}, {2, TWOSTOPBITS}, {0, ONESTOPBIT}, {3, ONESTOPBIT}};
  for (const StopCase& c : cases) {
    port.Close();
    port.Reset(OpenComPort(ComPortNumber(pair->AppPort()), 115200, c.stopSelect, NOPARITY, 8));
    ASSERT_TRUE(port.IsOpen()) << c.stopSelect;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    ASSERT_TRUE(GetCommState(port.Handle(), &dcb));
    EXPECT_EQ(dcb.BaudRate, 115200u) << c.stopSelect;
    EXPECT_EQ(dcb.ByteSize, 8) << c.stopSelect;
    EXPECT_EQ(dcb.Parity, NOPARITY) << c.stopSelect;
    EXPECT_EQ(dcb.StopBits, c.stopBits) << c.stopSelect;
  }
}

TEST_F(SerialLinkTest, TestModeEndsTheReadAtACompleteFrame) {
  Connect("--modules 8");
  SetTestMode(true);
  const DWORD start = GetTickCount();
  EXPECT_EQ(SendAndReceive(port.Handle(), BuildFrame("000122"), 20000), ReplyFrame("2208"));
  // A full 64-channel poll reply (263 bytes) is complete too.
  const std::string poll = SendAndReceivePoll(port.Handle(), BuildFrame("00026040"), 20000);
  EXPECT_EQ(poll.size(), 263 * 2u);
  EXPECT_LT(GetTickCount() - start, 10000u);  // far below the two 20 s time-outs
}

TEST_F(SerialLinkTest, OutsideTestModeTheReadLastsTheWholeTimeout) {
  Connect("--modules 1");
  const DWORD start = GetTickCount();
  EXPECT_EQ(SendAndReceive(port.Handle(), BuildFrame("000122"), 400), ReplyFrame("2201"));
  EXPECT_GE(GetTickCount() - start, 400u);
}

// The wait between checks of the input queue sleeps: a read that lasts its time-out costs the
// thread only a small part of that time in CPU.
TEST_F(SerialLinkTest, ReadWaitsWithoutSpinning) {
  Connect("--fault noreply");
  auto cpuMs = [] {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
      return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000;
    };
    return ms(kernel) + ms(user);
  };
  const unsigned long long before = cpuMs();
  const DWORD start = GetTickCount();
  EXPECT_EQ(ReadReplyHex(port.Handle(), 1000), "");
  EXPECT_GE(GetTickCount() - start, 1000u);
  EXPECT_LT(cpuMs() - before, 300u);
}

// A stop cuts a read short at any time-out. A reply frame already in is kept and checked as usual;
// with less there is no reply and no "crc err" line, since nothing went wrong on the link.
struct CancelCase {
  const char* name;
  const char* options;
  bool replyKept;
};

class SerialCancelTest : public SerialLinkTest, public testing::WithParamInterface<CancelCase> {};

TEST_P(SerialCancelTest, CancelledReadEndsAtOnce) {
  Connect(GetParam().options);
  const DWORD start = GetTickCount();
  auto cancelled = [start] { return GetTickCount() - start >= 300; };
  const std::string reply = SendAndReceive(port.Handle(), BuildFrame("000122"), 60000, cancelled);
  EXPECT_LT(GetTickCount() - start, 1500u);
  EXPECT_EQ(reply, GetParam().replyKept ? ReplyFrame("2201") : "");
  EXPECT_EQ(ReadLogLines(folder.Path()).size(), 0u);
}

const CancelCase kCancels[] = {
    {"ReplyIn", "", true},
    {"NoReply", "--fault noreply", false},
    {"HalfAReply", "--fault short", false},
};
INSTANTIATE_TEST_SUITE_P(Cases, SerialCancelTest, testing::ValuesIn(kCancels),
                         [](const auto& info) { return std::string(info.param.name); });

struct FaultCase {
  const char* name;
  const char* options;
  const char* body;
  int timeoutMs;
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

const FaultCase kFaults[] = {
    {"NoReply", "--fault noreply", "000122", 300},
    {"WrongCrc", "--fault crc", "000122", 300},
    {"WrongCommandEcho", "--fault echo", "000121", 300},
    {"LateReply", "--fault late:900", "000122", 300},
    {"Flood", "--fault flood", "000122", 300},
    {"ShortReply", "--fault short", "000120", 300},
    {"GarbageReply", "--fault garbage", "000122", 300},
    // Three bytes whose length field claims 65535: neither complete nor long enough to check.
    {"ThreeByteFFFF", "--fault raw:FEFFFF", "000122", 300},
    {"ModuleCountChanged", "--modules 2 --fault modules:3 --fault-on 60", "00026010", 300},
};

class SerialFaultTest : public SerialLinkTest, public testing::WithParamInterface<FaultCase> {};

TEST_P(SerialFaultTest, GivesEmptyReplyAndOneCrcErrLine) {
  Connect(GetParam().options);
  SetTestMode(true);
  EXPECT_EQ(SendAndReceive(port.Handle(), BuildFrame(GetParam().body), GetParam().timeoutMs), "");
  EXPECT_EQ(CrcErrLines(), 1);
  EXPECT_EQ(ReadLogLines(folder.Path()).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Faults, SerialFaultTest, testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SerialLinkTest, WrongCrcIsLoggedWithTheReplyText) {
  Connect("--fault crc --fault-count 1");
  SetTestMode(true);
  EXPECT_EQ(SendAndReceive(port.Handle(), BuildFrame("000122"), 2000), "");
  std::string bad = ReplyFrame("2201");
  const int lowByte = StrToInt("$" + bad.substr(bad.size() - 4, 2)) ^ 1;  // as the fault does
  bad.replace(bad.size() - 4, 2, IntToHex(lowByte, 2));
  EXPECT_EQ(CountLogLines(folder.Path(), "] crc err : " + bad), 1);
  // The next exchange is clean again.
  EXPECT_EQ(SendAndReceive(port.Handle(), BuildFrame("000122"), 2000), ReplyFrame("2201"));
  EXPECT_EQ(CrcErrLines(), 1);
}

TEST_F(SerialLinkTest, FloodedInputIsPurged) {
  Connect("--fault flood --fault-count 1");
  const std::string request = HexToBytes(BuildFrame("000122"));
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(port.Handle(), request.data(), static_cast<DWORD>(request.size()), &written,
                        nullptr));
  // Wait (bounded) until the whole 3000-byte flood is waiting in the driver.
  COMSTAT stat{};
  DWORD errors = 0;
  for (int i = 0; i < 500; ++i) {
    ClearCommError(port.Handle(), &errors, &stat);
    if (stat.cbInQue >= 3000) break;
    Sleep(10);
  }
  ASSERT_GE(stat.cbInQue, 3000u);
  EXPECT_EQ(GetInputByteCount(port.Handle()), 0);
  ClearCommError(port.Handle(), &errors, &stat);
  EXPECT_EQ(stat.cbInQue, 0u);
  SetTestMode(true);
  EXPECT_EQ(SendAndReceive(port.Handle(), BuildFrame("000122"), 2000), ReplyFrame("2201"));
  EXPECT_EQ(CrcErrLines(), 0);
}

TEST_F(SerialLinkTest, FailedWriteLogsTheErrorCodeAndGivesEmpty) {
  const std::string file = folder.Path() + "readonly.bin";
  HANDLE h = CreateFileW(Utf8ToWide(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(h);
  h = CreateFileW(Utf8ToWide(file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(SendAndReceive(h, BuildFrame("000122"), 50), "");
  CloseHandle(h);
  const std::vector<LogLine> lines = ReadLogLines(folder.Path());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].text.find("] send bad 0A...errorcode:" + IntToStr(ERROR_ACCESS_DENIED)),
            std::string::npos)
      << lines[0].text;
  EXPECT_NE(lines[0].file.find("__except.log"), std::string::npos);
}

TEST(OpenComPort, MissingDeviceGivesTheInvalidHandle) {
  EXPECT_EQ(OpenComPort("997", 115200, 1, NOPARITY, 8), INVALID_HANDLE_VALUE);
}

TEST(ComPortNumber, TakesUpToThreeCharactersFromTheFourth) {
  EXPECT_EQ(ComPortNumber("COM3"), "3");
  EXPECT_EQ(ComPortNumber("COM12"), "12");
  EXPECT_EQ(ComPortNumber("COM256"), "256");
  EXPECT_EQ(ComPortNumber("COM1234"), "123");
  EXPECT_EQ(ComPortNumber("COM"), "");
}

TEST(GetSerialPortList, ListsTheValuesOfTheSerialCommKey) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"hardware\\devicemap\\serialcomm", 0, nullptr,
                            REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const std::wstring name = L"\\Device\\VkTest" + std::to_wstring(GetCurrentProcessId());
  const std::wstring port = L"COM9" + std::to_wstring(GetCurrentProcessId() % 90 + 10);
  RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(port.c_str()),
                 static_cast<DWORD>((port.size() + 1) * sizeof(wchar_t)));
  const std::vector<std::string> ports = GetSerialPortList();
  RegDeleteValueW(key, name.c_str());
  RegCloseKey(key);
  EXPECT_NE(std::find(ports.begin(), ports.end(), WideToUtf8(port)), ports.end());
}

}  // namespace

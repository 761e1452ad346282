// Serial port routines of the instrument link. The reply read polls the driver's waiting-byte
// count; between polls it sleeps on the thread's message queue (MsgWaitForMultipleObjects with a
// short time-out), which keeps messages flowing without burning a core.
#include "app/SerialPort.h"

#include <algorithm>
#include <atomic>

#include "app/Crc.h"
#include "app/DailyLog.h"
#include "app/InstrumentFrames.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/Registry.h"

#include <shellapi.h>

namespace {

// -1 = not yet read from the command line.
std::atomic<int> testMode{-1};

bool CommandLineHasTestWord() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return false;
  const bool on = argc > 1 && WideToUtf8(argv[1]) == kTestWord;
  LocalFree(argv);
  return on;
}

// Dispatches the calling thread's pending messages. A quit message is put back so that the
// message loop that owns the thread still sees it.
void ProcessPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

int HexValue(std::string_view text, size_t at, size_t digits) {
  int v = 0;
  for (size_t i = at; i < at + digits; ++i) v = v * 16 + HexDigitValue(text[i]);
  return v;
}

std::string Exchange(HANDLE handle, std::string_view frameText, int timeoutMs,
                     const TReadCancel& cancelled) {
  const std::string_view first = frameText.substr(0, std::min<size_t>(2, frameText.size()));
  const std::string_view command =
      frameText.size() >= 8 ? frameText.substr(6, 2) : std::string_view();

  const std::string bytes = HexToBytes(frameText);
  size_t written = 0;
  while (written < bytes.size()) {
    DWORD n = 0;
    if (!WriteFile(handle, bytes.data() + written, static_cast<DWORD>(bytes.size() - written), &n,
                   nullptr) ||
        n == 0) {
      const DWORD code = GetLastError();
      WriteLog("send bad 0A...errorcode:" + IntToStr(code), "except");
      return {};
    }
    written += n;
  }

  std::string reply = Trim(ReadReplyHex(handle, timeoutMs, cancelled));
  // Stopped before a whole frame was in: no reply, and nothing wrong with the link.
  if (cancelled && cancelled() && !IsCompleteReply(reply)) return {};
  // A reply must answer this request: same start byte and the request's command echoed.
  if (reply.size() < 8 || reply.compare(0, 2, first) != 0 || reply.compare(6, 2, command) != 0)
    reply.clear();
  // The smallest reply frame is FE 00 LEN CMD CRC CRC: 12 digits.
  bool good = reply.size() >= 12;
  if (good) {
    const std::string_view r = reply;
    const std::string_view crc = r.substr(r.size() - 4);
    const std::string_view body = r.substr(2, r.size() - 6);
    good = CrcModbusHex(body) == crc;
  }
  if (!good) {
    WriteLog("crc err : " + reply, "except");
    return {};
  }
  return reply;
}

}  // namespace

// The length is read from bytes 1-2 (byte 1 is $00 for every reply under 256 bytes, so this is
// the length byte alone; a full 64-channel poll reply needs the second byte).
bool IsCompleteReply(const std::string& hex) {
  if (hex.size() < 6) return false;
  const long long len = HexValue(hex, 2, 4);
  return static_cast<long long>(hex.size()) - 10 == 2 * len;
}

bool IsTestMode() {
  int mode = testMode.load();
  if (mode < 0) {
    mode = CommandLineHasTestWord() ? 1 : 0;
    int expected = -1;
    testMode.compare_exchange_strong(expected, mode);
    mode = testMode.load();
  }
  return mode == 1;
}

void SetTestMode(bool on) { testMode.store(on ? 1 : 0); }

std::vector<std::string> GetSerialPortList() {
  std::vector<std::string> ports;
  TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (!registry.OpenKeyReadOnly("hardware\\devicemap\\serialcomm")) return ports;
  for (const std::string& name : registry.GetValueNames()) {
    try {
      ports.push_back(registry.ReadString(name));
    } catch (const ERegistryException&) {
      // Not a text value: not a port name.
    }
  }
  return ports;
}

std::string ComPortNumber(std::string_view portName) { return Copy(portName, 4, 3); }

HANDLE OpenComPort(std::string_view number, int baud, int stopSelect, int parity, int byteSize) {
  const std::wstring device = L"\\\\.\\com" + Utf8ToWide(number);
  TComPort port(CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!port.IsOpen()) return INVALID_HANDLE_VALUE;
  if (!SetupComm(port.Handle(), kComQueueSize, kComQueueSize)) return INVALID_HANDLE_VALUE;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(port.Handle(), &dcb)) return INVALID_HANDLE_VALUE;
  dcb.BaudRate = static_cast<DWORD>(baud);
  dcb.StopBits = stopSelect == 2 ? TWOSTOPBITS : ONESTOPBIT;
  dcb.Parity = static_cast<BYTE>(parity);
  dcb.ByteSize = static_cast<BYTE>(byteSize);
  if (!SetCommState(port.Handle(), &dcb)) return INVALID_HANDLE_VALUE;
  return port.Release();
}

int GetInputByteCount(HANDLE handle) {
  DWORD errors = 0;
  COMSTAT stat{};
  if (!ClearCommError(handle, &errors, &stat)) return 0;
  if (stat.cbInQue > static_cast<DWORD>(kComQueueSize)) {
    PurgeComm(handle, PURGE_RXABORT | PURGE_RXCLEAR);
    return 0;
  }
  return static_cast<int>(stat.cbInQue);
}

std::string ReadReplyHex(HANDLE handle, int timeoutMs, const TReadCancel& cancelled) {
  std::string text;
  const DWORD start = GetTickCount();
  const DWORD limit = timeoutMs > 0 ? static_cast<DWORD>(timeoutMs) : 0;
  unsigned char buffer[kComQueueSize];
  for (;;) {
    ProcessPendingMessages();
    const DWORD elapsed = GetTickCount() - start;  // unsigned: survives the tick wrap
    if (elapsed > limit) return text;
    // A stop still takes the bytes already waiting, so a reply that is in is not lost.
    const bool stop = cancelled && cancelled();
    const int count = GetInputByteCount(handle);
    if (count == 0) {
      if (stop) return text;
      // Nothing waiting: sleep until a message comes or a short while has passed.
      const DWORD wait = std::min<DWORD>(2, limit - elapsed + 1);
      MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
      continue;
    }
    DWORD got = 0;
    if (!ReadFile(handle, buffer, static_cast<DWORD>(count), &got, nullptr)) got = 0;
    AppendHex(text, buffer, got);
    if (stop || (IsTestMode() && IsCompleteReply(text))) return text;
  }
}

std::string SendAndReceive(HANDLE handle, std::string_view frameText, int timeoutMs,
                           const TReadCancel& cancelled) {
  return Exchange(handle, frameText, timeoutMs, cancelled);
}

std::string SendAndReceivePoll(HANDLE handle, std::string_view frameText, int timeoutMs,
                               const TReadCancel& cancelled) {
  return Exchange(handle, frameText, timeoutMs, cancelled);
}

// Entry of the instrument simulator: opens the COM port at the instrument's line settings
// (115200 baud, 8 data bits, no parity, one stop bit), then reads request frames and writes the
// replies InstrumentModel decides, until it is killed or the port fails.
#include <cstdio>
#include <string>
#include <vector>

#include "toolkit/system/WinApi.h"
#include "tools/instrument_sim/InstrumentModel.h"
#include "tools/instrument_sim/SimOptions.h"

namespace {

std::string Narrow(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Widen(const std::string& text) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  std::wstring out(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), n);
  return out;
}

std::string Hex(const Bytes& bytes, size_t limit = 80) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string s;
  for (size_t i = 0; i < bytes.size() && i < limit; ++i) {
    s += kDigits[bytes[i] >> 4];
    s += kDigits[bytes[i] & 15];
  }
  if (bytes.size() > limit) s += "...";
  return s;
}

// Owns the port handle.
class Port {
 public:
  explicit Port(HANDLE h) : h_(h) {}
  ~Port() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  Port(const Port&) = delete;
  Port& operator=(const Port&) = delete;
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

HANDLE OpenPort(const std::string& name) {
  const std::wstring device = L"\\\\.\\" + Widen(name);
  HANDLE h = CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return h;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  COMMTIMEOUTS t{};
  // A read returns as soon as a byte is there, or after 100 ms with nothing.
  t.ReadIntervalTimeout = MAXDWORD;
  t.ReadTotalTimeoutMultiplier = MAXDWORD;
  t.ReadTotalTimeoutConstant = 100;
  if (!GetCommState(h, &dcb)) goto fail;
  dcb.BaudRate = CBR_115200;
  dcb.ByteSize = 8;
  dcb.Parity = NOPARITY;
  dcb.StopBits = ONESTOPBIT;
  dcb.fBinary = TRUE;
  dcb.fOutxCtsFlow = dcb.fOutxDsrFlow = FALSE;
  dcb.fOutX = dcb.fInX = FALSE;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  if (!SetCommState(h, &dcb) || !SetCommTimeouts(h, &t)) goto fail;
  return h;
fail:
  CloseHandle(h);
  return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE h, const Bytes& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD n = 0;
    if (!WriteFile(h, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &n, nullptr) ||
        n == 0)
      return false;
    done += n;
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Narrow(argv[i]));
  SimOptions options;
  std::string error;
  if (!ParseSimOptions(args, options, error)) {
    std::fprintf(stderr, "instrument_sim: %s\n%s", error.c_str(), SimUsage());
    return 1;
  }

  Port port(OpenPort(options.port));
  if (port.get() == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "instrument_sim: cannot open %s (error %lu)\n", options.port.c_str(),
                 GetLastError());
    return 2;
  }
  if (!options.readyEvent.empty()) {
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, Widen(options.readyEvent).c_str());
    if (ready) SetEvent(ready);  // kept open for the process's life so the waiter finds it
  }
  if (options.verbose) std::printf("instrument_sim: listening on %s\n", options.port.c_str());

  InstrumentModel model(options);
  Bytes input;
  uint8_t buffer[1024];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(port.get(), buffer, sizeof buffer, &n, nullptr)) {
      std::fprintf(stderr, "instrument_sim: read failed (error %lu)\n", GetLastError());
      return 3;
    }
    if (n == 0) continue;
    input.insert(input.end(), buffer, buffer + n);
    for (const SimReply& r : model.Feed(input)) {
      if (r.delayMs > 0) Sleep(static_cast<DWORD>(r.delayMs));
      if (r.send && !WriteAll(port.get(), r.bytes)) {
        std::fprintf(stderr, "instrument_sim: write failed (error %lu)\n", GetLastError());
        return 3;
      }
      if (options.verbose) {
        std::printf("reply %s %s\n", r.send ? Hex(r.bytes).c_str() : "(none)", r.note.c_str());
        std::fflush(stdout);
      }
    }
  }
}

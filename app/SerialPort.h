// Serial port access for the instrument link: the system's port list, opening a port with the
// instrument's line settings, and one request/reply exchange in frame text. Calls are
// synchronous on the calling thread; one port handle is used by one thread at a time. Failures
// are results (an invalid handle, an empty reply) plus a log line, never exceptions.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/system/WinApi.h"

// The test word: as the program's first command-line parameter it makes every reply read end as
// soon as a complete frame is in.
inline constexpr char kTestWord[] = "pavenrok";

// Test mode: on when the first command-line parameter equals kTestWord exactly. Read from the
// command line on first use; SetTestMode overrides it (tests).
bool IsTestMode();
void SetTestMode(bool on);

// The driver queue size and the line settings the recorder always uses.
inline constexpr int kComQueueSize = 1024;

// Port names (such as "COM3") listed under HKEY_LOCAL_MACHINE "hardware\devicemap\serialcomm",
// in the registry's enumeration order; a missing key gives an empty list.
std::vector<std::string> GetSerialPortList();

// The number part of a port name as the opener takes it: up to three characters from the fourth
// ("COM12" -> "12", "COM3" -> "3").
std::string ComPortNumber(std::string_view portName);

// Opens "\\.\com" + number for reading and writing (not shared), sets 1024-byte driver queues
// and the given baud rate, stop bits (stopSelect 2 gives two, anything else one), parity
// (NOPARITY ...) and byte size, leaving every other setting as the driver has it.
// Returns INVALID_HANDLE_VALUE when the device cannot be opened or set up (nothing stays open).
// The caller owns the handle (TComPort below closes it).
HANDLE OpenComPort(std::string_view number, int baud, int stopSelect, int parity, int byteSize);

// Clears the port's error state and returns the number of bytes waiting, 0..1024. More than
// 1024 waiting means a flooded input: the input queue is purged and 0 returned. 0 on any error.
int GetInputByteCount(HANDLE handle);

// Asked between checks of a read; true ends the read at once (the operator pressed stop).
using TReadCancel = std::function<bool()>;

// Collects the bytes that arrive within timeoutMs as upper-case hex text. Outside test mode the
// read always lasts the whole time-out; in test mode it ends as soon as the text is one complete
// reply frame. Either way it ends early, with what has arrived, once `cancelled` answers true.
// Reads only what the driver reports waiting, and between checks waits on the calling thread's
// message queue (dispatching its messages) for a millisecond or two instead of spinning.
std::string ReadReplyHex(HANDLE handle, int timeoutMs, const TReadCancel& cancelled = {});

// True when `hex` is one complete reply frame: its digit count less 10 is twice the length field.
bool IsCompleteReply(const std::string& hex);

// One exchange: writes frameText (a request frame) and reads the reply for timeoutMs. The reply
// is returned when its first byte and command echo match the request and its CRC is right;
// otherwise the result is empty and one "crc err : " line (with the reply text, or alone) goes
// to the "except" log. A failed write logs "send bad 0A...errorcode:" + the system error number
// and returns empty. Short, odd or garbage replies give an empty result, never a crash.
// A read ended by `cancelled` keeps a complete reply frame (checked as usual); anything less
// gives an empty result without a log line, since a stop is no fault of the link.
std::string SendAndReceive(HANDLE handle, std::string_view frameText, int timeoutMs,
                           const TReadCancel& cancelled = {});
// The same exchange, used for the poll command.
std::string SendAndReceivePoll(HANDLE handle, std::string_view frameText, int timeoutMs,
                               const TReadCancel& cancelled = {});

// Owns an open port handle; closes it on destruction. Move-only.
class TComPort {
 public:
  TComPort() = default;
  explicit TComPort(HANDLE handle) : handle_(handle) {}
  ~TComPort() { Close(); }
  TComPort(TComPort&& other) noexcept : handle_(other.Release()) {}
  TComPort& operator=(TComPort&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  TComPort(const TComPort&) = delete;
  TComPort& operator=(const TComPort&) = delete;

  HANDLE Handle() const { return handle_; }
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Close() { Reset(INVALID_HANDLE_VALUE); }
  void Reset(HANDLE handle) {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = handle;
  }
  HANDLE Release() {
    HANDLE h = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return h;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Serial test support: a pair of connected COM ports for a test exe running under Wine, and the
// instrument simulator on one of them.
//
// How it works: the test exe starts tests/support/ptypair.sh (a Linux program; Wine runs it
// directly when CreateProcess is given the Z: path of /bin/sh). The helper makes a socat pty
// pair, claims two free COM numbers as symlinks in $WINEPREFIX/dosdevices (searching from a
// number derived from the process id, so parallel ctest runs pick different ports), reports
// them in a file, and then lives while a lease file exists and is fresh. A thread of this object
// touches the lease every 300 ms; the destructor deletes it, so the helper stops socat and
// removes both links at once (or 5 s after the test process died). InstrumentSimulator then
// starts instrument_sim.exe on one end and waits for its ready event, so a test never writes
// before the simulator listens.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

#include "tests/support/TestPaths.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"

class VirtualPortPair {
 public:
  VirtualPortPair() {
    static std::atomic<int> counter{0};
    const int serial = counter++;
    char prefix[1024] = {0};
    if (!GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix))
      throw std::runtime_error("WINEPREFIX is not set: serial tests need Wine");
    const std::string reportDir = std::string(VK_BIN_DIR) + "/../serial-tmp";
    CreateDirectoryW(Utf8ToWide(WinPath(reportDir)).c_str(), nullptr);
    report_ = reportDir + "/ports-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(serial);
    DeleteFileW(Utf8ToWide(WinPath(report_)).c_str());
    const int first = 100 + static_cast<int>((GetCurrentProcessId() * 8 + serial * 2) % 880);

    lease_ = Utf8ToWide(WinPath(report_ + ".lease"));
    Touch();
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring command = L"/bin/sh \"" + Utf8ToWide(std::string(VK_SOURCE_DIR)) +
                           L"/tests/support/ptypair.sh\" \"" + Utf8ToWide(prefix) +
                           L"/dosdevices\" " + std::to_wstring(first) + L" \"" +
                           Utf8ToWide(report_) + L"\" \"" + Utf8ToWide(report_) + L".lease\"";
    if (!CreateProcessW(L"Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi)) {
      DeleteFileW(lease_.c_str());
      throw std::runtime_error("cannot start ptypair.sh");
    }
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    heartbeat_ = std::thread([this] {
      std::unique_lock<std::mutex> lock(mutex_);
      while (!stop_) {
        cv_.wait_for(lock, std::chrono::milliseconds(300));
        if (!stop_) Touch();
      }
    });

    // Readiness wait for an outside process, bounded.
    const std::wstring reportPath = Utf8ToWide(WinPath(report_));
    for (int i = 0; i < 500; ++i) {
      HANDLE f = CreateFileW(reportPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
      if (f != INVALID_HANDLE_VALUE) {
        char text[64] = {0};
        DWORD n = 0;
        ReadFile(f, text, sizeof text - 1, &n, nullptr);
        CloseHandle(f);
        if (sscanf(text, "%d %d", &first_, &second_) == 2) {
          DeleteFileW(reportPath.c_str());
          return;
        }
      }
      Sleep(20);
    }
    Stop();
    throw std::runtime_error("the pty pair did not come up");
  }
  ~VirtualPortPair() { Stop(); }
  VirtualPortPair(const VirtualPortPair&) = delete;
  VirtualPortPair& operator=(const VirtualPortPair&) = delete;

  // The simulator's end and the recorder's end.
  std::string SimulatorPort() const { return "COM" + std::to_string(first_); }
  std::string AppPort() const { return "COM" + std::to_string(second_); }

 private:
  // Sets the lease's modification time to now (creating it when missing).
  void Touch() {
    HANDLE f = CreateFileW(lease_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                           nullptr, OPEN_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    SetFileTime(f, nullptr, nullptr, &now);
    CloseHandle(f);
  }
  // Ends the heartbeat and deletes the lease: the helper removes the links.
  void Stop() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    cv_.notify_all();
    if (heartbeat_.joinable()) heartbeat_.join();
    DeleteFileW(lease_.c_str());
  }

  std::wstring lease_;
  std::thread heartbeat_;
  std::mutex mutex_;
  std::condition_variable cv_;
  bool stop_ = false;
  std::string report_;
  int first_ = 0;
  int second_ = 0;
};

// instrument_sim.exe on a port, for the life of the object.
class InstrumentSimulator {
 public:
  // `options` are the simulator's options after the port (see instrument_sim --help).
  InstrumentSimulator(const std::string& port, const std::string& options) {
    static std::atomic<int> counter{0};
    const std::wstring eventName = L"vk-sim-ready-" + std::to_wstring(GetCurrentProcessId()) +
                                   L"-" + std::to_wstring(counter++);
    ready_ = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());
    std::wstring command = L"\"" + Utf8ToWide(BinDir()) + L"instrument_sim.exe\" " +
                           Utf8ToWide(port) + L" --ready-event " + eventName + L" " +
                           Utf8ToWide(options);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
      throw std::runtime_error("cannot start instrument_sim.exe");
    process_ = pi.hProcess;
    CloseHandle(pi.hThread);
    HANDLE waits[2] = {ready_, process_};
    const DWORD r = WaitForMultipleObjects(2, waits, FALSE, 20000);
    if (r != WAIT_OBJECT_0) {
      Stop();
      throw std::runtime_error("instrument_sim.exe did not come up");
    }
  }
  ~InstrumentSimulator() {
    Stop();
    if (ready_) CloseHandle(ready_);
  }
  InstrumentSimulator(const InstrumentSimulator&) = delete;
  InstrumentSimulator& operator=(const InstrumentSimulator&) = delete;

 private:
  void Stop() {
    if (!process_) return;
    TerminateProcess(process_, 0);
    WaitForSingleObject(process_, 5000);
    CloseHandle(process_);
    process_ = nullptr;
  }
  HANDLE ready_ = nullptr;
  HANDLE process_ = nullptr;
};

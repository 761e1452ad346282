// Definitions of the recorder's process-wide state.
#include "app/AppGlobals.h"

#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/SyncObjs.h"
#include "toolkit/system/WinApi.h"

std::string AppPath;
std::string CompanyName;
std::string CompanyAddress;
std::string CompanyPhone;
std::string CompanyWebsite;
std::string ComPortName;
TZConnection* DbConnection = nullptr;
TCriticalSection DbLock;
TCriticalSection LogLock;
std::atomic<uint8_t> StopRequested{0};
std::atomic<uint8_t> AbortRequested{0};
std::atomic<int32_t> RunMode{0};
std::atomic<int32_t> SampleNo{0};
std::atomic<int32_t> ModuleCount{1};
std::atomic<int32_t> PointMode{1};
std::array<std::string, 8> ModuleTypes;
std::array<std::string, 64> ChannelLabels;
std::array<TZQuery*, 64> SeriesQueries{};
std::atomic<TsmThread_gz*> AcqThread{nullptr};
TFrmMain* FrmMain = nullptr;

std::string ExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n < buffer.size()) {
      buffer.resize(n);
      return WideToUtf8(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string ExecutableFolder() {
  std::string path = ExecutablePath();
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Benchmark: importing one 100,000-record data file of 8 modules (64 channels) into olddata
// through the progress sink, as the import command does (goal: at least 30,000 records/s).
// Readings follow a slow drift per channel at the instrument's 0.1-degree resolution.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/AppGlobals.h"
#include "app/Database.h"
#include "app/HistoryImport.h"
#include "app/MyComponent.h"
#include "app/TextFormats.h"
#include "app/DailyLog.h"
#include "toolkit/data/ZConnection.h"
#include "toolkit/graphics/GraphicsModule.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"
#include "toolkit/ui/UiModule.h"

namespace {

constexpr int kRecords = 100000;
constexpr int kChannels = 64;

void WriteBytes(const std::string& path, const std::vector<unsigned char>& data) {
  HANDLE h = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &n, nullptr);
  CloseHandle(h);
}

std::vector<unsigned char> DataFile() {
  std::vector<unsigned char> file(static_cast<size_t>(kRecords) * 267, 0);
  for (int i = 0; i < kRecords; ++i) {
    unsigned char* r = &file[static_cast<size_t>(i) * 267];
    const int secondOfDay = 8 * 3600 + i;
    r[4] = 2024 >> 8;
    r[5] = 2024 & 0xFF;
    r[6] = 3;
    r[7] = static_cast<unsigned char>(5 + secondOfDay / 86400);
    r[8] = static_cast<unsigned char>(secondOfDay / 3600 % 24);
    r[9] = static_cast<unsigned char>(secondOfDay / 60 % 60);
    r[10] = static_cast<unsigned char>(secondOfDay % 60);
    for (int c = 0; c < kChannels; ++c) {
      const double drift = 20.0 + c * 1.5 + 30.0 * std::sin(i / 5000.0 + c);
      const float v = static_cast<float>(std::floor(drift * 10.0) / 10.0);
      std::memcpy(r + 11 + 4 * c, &v, 4);
    }
  }
  return file;
}

}  // namespace

int main() {
  FixTextFormats();
  InitGraphics();
  InitControls();
  if (!GetEnvironmentVariableW(L"NO_SINK", nullptr, 0)) StartProgressSink();

  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  AppPath = WideToUtf8(temp) + "vk_bench_import_" + std::to_string(GetCurrentProcessId()) + "\\";
  ForceDirectories(AppPath);
  CreateDatabaseSchema();
  ConnectDatabase();
  ModuleCount = 1;
  PointMode = 1;

  const std::string data = AppPath + "bench_data.bin";
  WriteBytes(data, DataFile());
  std::vector<unsigned char> info(2584, 0);
  info[13] = 8;
  info[14] = 0;
  WriteBytes(AppPath + "bench_information.bin", info);

  LARGE_INTEGER freq, t0, t1;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&t0);
  const THistoryImportOutcome outcome = RunHistoryImport(THistoryImportMode::File, data, "");
  QueryPerformanceCounter(&t1);
  const double seconds = static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart);
  std::printf("history_import_100k_records_8_modules: %.0f records/s\n", kRecords / seconds);
  std::printf("history_import_100k_records_8_modules_time: %.2f s\n", seconds);

  DbConnection->Disconnect();
  StopProgressSink();
  DeleteDirectoryTree(AppPath);
  DoneControls();
  DoneGraphics();
  return outcome == THistoryImportOutcome::FileDone ? 0 : 1;
}

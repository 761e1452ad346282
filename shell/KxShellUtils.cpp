// Start-up and shut-down of the shell units and the recorded system versions.
#include "shell/KxShellUtils.h"

#include <vector>

#include "shell/KxDeviceChangeHandler.h"
#include "shell/KxIdList.h"
#include "shell/KxNetDrive.h"
#include "toolkit/rtl/TextConv.h"

namespace {

TKxShellVersions versions;
bool started = false;
std::function<UINT()> wheelLinesQuery;

TKxShellVersions ReadVersions() {
  TKxShellVersions v;
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExW(&info)) {
#pragma GCC diagnostic pop
    v.PlatformId = info.dwPlatformId;
    v.MajorVersion = info.dwMajorVersion;
    v.MinorVersion = info.dwMinorVersion;
  }
  if (!ReadModuleVersion("comctl32.dll", v.ComCtl32)) v.ComCtl32 = {};
  if (!ReadModuleVersion("shell32.dll", v.Shell32)) v.Shell32 = {};
  return v;
}

}  // namespace

void ShellUtilsStartup() {
  if (started) return;
  started = true;
  ShellIntfStartup();
  ShellAllocator();
  versions = ReadVersions();
}

void ShellUtilsShutdown() {
  if (!started) return;
  started = false;
  FreeSharedDeviceChangeHandler();
  FreeNetApi();
  ShellIntfShutdown();
}

const TKxShellVersions& ShellVersions() { return versions; }

void SetShellVersions(const TKxShellVersions& replacement) { versions = replacement; }

bool IsNtPlatform() { return versions.PlatformId == VER_PLATFORM_WIN32_NT; }

bool ReadModuleVersion(const std::string& fileName, TKxModuleVersion& version) {
  version = {};
  const std::wstring name = Utf8ToWide(fileName);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(name.c_str(), &ignored);
  if (size == 0) return false;
  std::vector<unsigned char> block(size);
  if (!GetFileVersionInfoW(name.c_str(), 0, size, block.data())) return false;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
      length < sizeof(VS_FIXEDFILEINFO))
    return false;
  version.MostSignificant = info->dwFileVersionMS;
  version.LeastSignificant = info->dwFileVersionLS;
  return true;
}

UINT WheelScrollLines() {
  if (wheelLinesQuery) return wheelLinesQuery();
  UINT lines = 3;
  if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = 3;
  return lines;
}

void SetWheelScrollLinesQuery(std::function<UINT()> query) { wheelLinesQuery = std::move(query); }

// Text, geometry, monitor and version helpers of the control set.
#include "controls/KxCommonText.h"

#include <utility>
#include <vector>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

namespace {

std::function<TKxPlatformVersion()>& VersionQuery() {
  static std::function<TKxPlatformVersion()> query;
  return query;
}

// (platform, major, minor) of each numbered version.
struct VersionRow {
  DWORD platform;
  DWORD major;
  DWORD minor;
  bool majorAtMost;  // the 9x and NT 4 rows test major <= 4
};
constexpr VersionRow kVersions[] = {
    {VER_PLATFORM_WIN32_WINDOWS, 4, 0, true},  {VER_PLATFORM_WIN32_NT, 4, 0, true},
    {VER_PLATFORM_WIN32_WINDOWS, 4, 10, true}, {VER_PLATFORM_WIN32_WINDOWS, 4, 90, true},
    {VER_PLATFORM_WIN32_NT, 5, 0, false},      {VER_PLATFORM_WIN32_NT, 5, 1, false},
    {VER_PLATFORM_WIN32_NT, 5, 2, false},      {VER_PLATFORM_WIN32_NT, 6, 0, false},
    {VER_PLATFORM_WIN32_NT, 6, 1, false},
};

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  reinterpret_cast<std::vector<HMONITOR>*>(data)->push_back(monitor);
  return TRUE;
}

}  // namespace

std::string StripAccelerators(std::string_view caption) {
  // Each '&' but the last character stays only before another '&': "&&File" gives "&File",
  // "a&&" keeps both ampersands and "&&&" all three.
  std::string result;
  result.reserve(caption.size());
  for (std::size_t i = 0; i < caption.size(); ++i) {
    const char c = caption[i];
    if (c != '&' || i + 1 == caption.size() || caption[i + 1] == '&') result += c;
  }
  return result;
}

bool IsCharInSet(char ch, const TKxCharSet& set) { return set.test(static_cast<unsigned char>(ch)); }

bool IsLeadByteChar(char ch) { return IsLeadByte(ch); }

LRESULT SendTextMessage(HWND handle, UINT msg, WPARAM wParam, std::string_view text) {
  const std::wstring wide = Utf8ToWide(text);
  return SendMessageW(handle, msg, wParam, reinterpret_cast<LPARAM>(wide.c_str()));
}

TRect RectCenteredIn(const TRect& rect, int width, int height) {
  const int left = (rect.Left + rect.Right - width) / 2;
  const int top = (rect.Top + rect.Bottom - height) / 2;
  return {left, top, left + width, top + height};
}

TRect MonitorWorkArea(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(monitor, &info)) return {};
  return info.rcWork;
}

TRect GetMonitorBounds(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(monitor, &info)) return {};
  return info.rcMonitor;
}

TRect GetWindowWorkArea(HWND window) { return MonitorWorkArea(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)); }

int GetWindowWorkAreaWidth(HWND window) { return GetWindowWorkArea(window).Width(); }

HMONITOR FindMonitorAtPoint(TPoint point) {
  std::vector<HMONITOR> monitors;
  EnumDisplayMonitors(
      nullptr, nullptr,
      CollectMonitor,
      reinterpret_cast<LPARAM>(&monitors));
  for (HMONITOR monitor : monitors) {
    if (GetMonitorBounds(monitor).Contains(point)) return monitor;
  }
  return nullptr;
}

void SetKxPlatformVersionQuery(std::function<TKxPlatformVersion()> query) { VersionQuery() = std::move(query); }

TKxPlatformVersion KxPlatformVersion() {
  if (VersionQuery()) return VersionQuery()();
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(&info);
#pragma GCC diagnostic pop
  return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

bool IsWindowsVersion(int v) {
  if (v < 0 || v > 8) return false;
  const VersionRow& row = kVersions[v];
  const TKxPlatformVersion os = KxPlatformVersion();
  if (os.PlatformId != row.platform) return false;
  if (row.majorAtMost) {
    // NT 4 (v = 1) takes any minor version.
    return os.Major <= row.major && (v == 1 || os.Minor == row.minor);
  }
  return os.Major == row.major && os.Minor == row.minor;
}

bool IsWindowsVersionAtLeast(int v) {
  if (v < 4 || v > 8) return false;
  const VersionRow& row = kVersions[v];
  const TKxPlatformVersion os = KxPlatformVersion();
  if (os.PlatformId != VER_PLATFORM_WIN32_NT) return false;
  return os.Major > row.major || (os.Major == row.major && os.Minor >= row.minor);
}

// GetFileVersionText over the platform's version API.
#include "app/FileVersion.h"

#include <cstdio>
#include <vector>

#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"

std::string GetFileVersionText(const std::string& path) {
  const std::wstring wpath = Utf8ToWide(path);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(wpath.c_str(), &ignored);
  if (size == 0) return "0.0.0.0";
  std::vector<unsigned char> block(size);
  if (!GetFileVersionInfoW(wpath.c_str(), 0, size, block.data())) return "0.0.0.0";
  VS_FIXEDFILEINFO* info = nullptr;
  UINT infoLen = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &infoLen) ||
      info == nullptr || infoLen < sizeof(VS_FIXEDFILEINFO))
    return "0.0.0.0";
  char text[64];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", static_cast<int>(HIWORD(info->dwFileVersionMS)),
                static_cast<int>(LOWORD(info->dwFileVersionMS)),
                static_cast<int>(HIWORD(info->dwFileVersionLS)),
                static_cast<int>(LOWORD(info->dwFileVersionLS)));
  return text;
}

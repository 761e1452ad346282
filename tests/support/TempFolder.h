// A fresh, empty folder for one test (under the Windows temp folder, named after the process and
// a counter so parallel test processes never share one), removed with its contents afterwards.
#pragma once

#include <atomic>
#include <string>

#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = WideToUtf8(temp) + "vk_test_" + std::to_string(GetCurrentProcessId()) + "_" +
            std::to_string(counter++) + "\\";
    RemoveTree(Utf8ToWide(path_));
    CreateDirectoryW(Utf8ToWide(path_).c_str(), nullptr);
  }
  ~TempFolder() { RemoveTree(Utf8ToWide(path_)); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // With a trailing backslash.
  const std::string& Path() const { return path_; }

  static void RemoveTree(const std::wstring& dir) {
    std::wstring base = dir;
    if (!base.empty() && base.back() != L'\\') base += L'\\';
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((base + L"*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(base + name);
        } else {
          SetFileAttributesW((base + name).c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileW((base + name).c_str());
        }
      } while (FindNextFileW(find, &found));
      FindClose(find);
    }
    RemoveDirectoryW(base.c_str());
  }

 private:
  std::string path_;
};

// Daily log files and their pruning. All file work goes through the wide Win32 calls so that
// folders with non-ASCII names work; the line itself is converted to the ANSI code page.
#include "app/DailyLog.h"

#include <mutex>

#include "app/AppGlobals.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/SyncObjs.h"
#include "toolkit/system/WinApi.h"

namespace {

bool FolderExists(const std::wstring& path) {
  const DWORD attr = GetFileAttributesW(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates `path` and any missing parents; true when the folder exists afterwards.
bool MakeFolders(const std::wstring& path) {
  if (path.empty()) return false;
  if (FolderExists(path)) return true;
  const size_t slash = path.find_last_of(L"\\/", path.size() - 2);
  if (slash != std::wstring::npos && slash > 2) MakeFolders(path.substr(0, slash + 1));
  return CreateDirectoryW(path.c_str(), nullptr) || FolderExists(path);
}

bool DeleteTree(const std::wstring& dir) {
  if (!FolderExists(dir)) return true;
  const std::wstring base = dir.back() == L'\\' ? dir : dir + L"\\";
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((base + L"*.*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    bool ok = true;
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = base + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        ok = DeleteTree(full);
      } else {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
          SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        ok = DeleteFileW(full.c_str()) != FALSE;
      }
    } while (ok && FindNextFileW(find, &found));
    FindClose(find);
    if (!ok) return false;
  }
  return RemoveDirectoryW(base.c_str()) != FALSE;
}

}  // namespace

std::string IncludeBackslash(std::string_view path) {
  std::string p = Trim(path);
  if (!p.empty() && p.back() != '\\') p += '\\';
  return p;
}

bool DeleteDirectoryTree(const std::string& path) { return DeleteTree(Utf8ToWide(path)); }

std::string LogFilePath(std::string_view kind, TDateTime now) {
  int year = 0, month = 0, day = 0;
  DecodeDate(now, year, month, day);
  return AppPath + "Log\\" + IntToStr(year) + "\\" + IntToStr(month) + "\\" +
         FormatDateTime("yyyy-mm-dd", now) + "__" + std::string(kind) + ".log";
}

void WriteLogAt(std::string_view message, std::string_view kind, TDateTime now) {
  try {
    std::lock_guard<TCriticalSection> hold(LogLock);
    int year = 0, month = 0, day = 0;
    DecodeDate(now, year, month, day);
    DeleteDirectoryTree(AppPath + "Log\\" + IntToStr(year - 2));

    const std::string file = LogFilePath(kind, now);
    if (!MakeFolders(Utf8ToWide(ExtractFilePath(file)))) return;
    const std::string line = Utf8ToAnsi(FormatDateTime("[yyyy-mm-dd hh:mm:ss:zzz] ", now) +
                                        std::string(message) + "\r\n");
    HANDLE h = CreateFileW(Utf8ToWide(file).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(h);
  } catch (...) {
    // The log never reports its own failures.
  }
}

void WriteLog(std::string_view message, std::string_view kind) {
  WriteLogAt(message, kind, Now());
}

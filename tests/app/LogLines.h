// Reads back the recorder's log tree in tests: every line of every log file under a folder,
// with the file it came from.
#pragma once

#include <string>
#include <vector>

#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"

struct LogLine {
  std::string file;  // path below the Log folder, e.g. "2024\3\2024-03-05__except.log"
  std::string text;  // without the line break
};

// Calls visit(path below root, is a folder, size) for every entry below root + rel, a folder
// before its contents.
template <class Visit>
inline void WalkTree(const std::string& root, const std::string& rel, Visit&& visit) {
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(Utf8ToWide(root + rel + "*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = WideToUtf8(found.cFileName);
    if (name == "." || name == "..") continue;
    const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    visit(rel + name, folder, found.nFileSizeLow);
    if (folder) WalkTree(root, rel + name + "\\", visit);
  } while (FindNextFileW(find, &found));
  FindClose(find);
}

inline void CollectLogLines(const std::string& root, std::vector<LogLine>& out) {
  WalkTree(root, "", [&](const std::string& path, bool folder, DWORD) {
    if (folder) return;
    HANDLE f = CreateFileW(Utf8ToWide(root + path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    std::string data;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(f, buffer, sizeof buffer, &n, nullptr) && n > 0) data.append(buffer, n);
    CloseHandle(f);
    size_t start = 0;
    while (start < data.size()) {
      size_t end = data.find("\r\n", start);
      if (end == std::string::npos) end = data.size();
      out.push_back({path, data.substr(start, end - start)});
      start = end + 2;
    }
  });
}

// All lines under appPath + "Log\".
inline std::vector<LogLine> ReadLogLines(const std::string& appPath) {
  std::vector<LogLine> lines;
  CollectLogLines(appPath + "Log\\", lines);
  return lines;
}

// Lines whose text contains `needle`.
inline int CountLogLines(const std::string& appPath, const std::string& needle) {
  int n = 0;
  for (const LogLine& l : ReadLogLines(appPath))
    if (l.text.find(needle) != std::string::npos) ++n;
  return n;
}

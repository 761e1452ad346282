// Reads an .xls file back with python3-xlrd (tests/support/xlrd_dump.py, a Unix program that
// Wine starts for us) and returns its canonical lines; see the script for the line forms.
// Files are passed as Unix paths under the build tree, which Wine shows as Z:.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "support/TestPaths.h"
#include "toolkit/system/WinApi.h"

// A folder for files the tests write, as a Unix path (created on first use).
inline std::string TestOutputDir() {
  const std::string dir = std::string(VK_BIN_DIR) + "/../test-output";
  const std::string win = WinPath(dir);
  CreateDirectoryA(win.c_str(), nullptr);
  return dir;
}

// The dump of `xlsUnixPath`; `bitmapUnixPath` (optional) is compared with the stored picture.
// An empty result means python could not be started or gave no dump within a minute.
inline std::vector<std::string> XlrdDump(const std::string& xlsUnixPath,
                                         const std::string& bitmapUnixPath = "") {
  const std::string out = xlsUnixPath + ".dump.txt";
  DeleteFileA(WinPath(out).c_str());
  std::string command = "python3 " + std::string(VK_SOURCE_DIR) + "/tests/support/xlrd_dump.py " +
                        xlsUnixPath + " " + out;
  if (!bitmapUnixPath.empty()) command += " " + bitmapUnixPath;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  if (!CreateProcessA("Z:\\usr\\bin\\python3", line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &si, &pi))
    return {};
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  // Wine signals a Unix program's process handle at once and passes neither its exit code nor
  // its output, so the script renames its finished dump into place and we look for it.
  for (int i = 0; i < 1200 && GetFileAttributesA(WinPath(out).c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
    Sleep(50);
  std::ifstream in(WinPath(out), std::ios::binary);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

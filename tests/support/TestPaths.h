// Paths for tests running under Wine: the build's Unix paths seen through Wine's Z: drive.
#pragma once

#include <string>

inline std::string WinPath(std::string unixPath) {
  for (char& c : unixPath)
    if (c == '/') c = '\\';
  return "Z:" + unixPath;
}

// Folder of the built programs and DLLs, as a Windows path with a trailing backslash.
inline std::string BinDir() { return WinPath(VK_BIN_DIR) + "\\"; }

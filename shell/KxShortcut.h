// Reading a shortcut (.lnk) file through the shell-link object: target, arguments, description,
// icon, working directory, show command, hot key and, when asked, the target's item-id list.
#pragma once

#include <cstdint>
#include <string>

#include "shell/KxIdList.h"

struct TLinkData {
  std::string Path;           // the target
  uint8_t ValidFields = 0;    // 63 once every field was read
  std::string Description;
  std::string Arguments;
  std::string WorkingDirectory;
  std::string IconPath;
  int32_t IconIndex = 0;
  int32_t ShowCommand = 0;
  uint16_t HotKey = 0;
  bool NoUI = false;          // input: resolve without asking the user anything
  PIDL IdList = nullptr;      // owned by the caller (shell allocator); nil unless asked for
  WIN32_FIND_DATAW FindData = {};
};

// Loads and resolves the shortcut at `path` and fills `data`. The first failing step ends the
// routine with its HRESULT, leaving the fields read so far filled; no exception for shell
// failures.
HRESULT ReadShortcut(const std::string& path, TLinkData& data, bool wantIdList);

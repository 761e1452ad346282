// Process-wide state of the shell units, made by ShellUtilsStartup: the platform version, the
// file versions of comctl32.dll and shell32.dll (each as two words: major<<16|minor, then
// release<<16|build; both 0 when unreadable), and the routines that decide on them. The words
// can be replaced (SetShellVersions) so that decisions on old or new systems can be tested.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "shell/KxShellIntf.h"

struct TKxModuleVersion {
  uint32_t MostSignificant = 0;
  uint32_t LeastSignificant = 0;
};

struct TKxShellVersions {
  DWORD PlatformId = 0;  // VER_PLATFORM_WIN32_NT (2) on NT
  DWORD MajorVersion = 0;
  DWORD MinorVersion = 0;
  TKxModuleVersion ComCtl32;
  TKxModuleVersion Shell32;
};

// Takes COM (ShellIntfStartup), the shell allocator and the versions. Shutdown frees the
// network library, the device-change handler and COM, in reverse order.
void ShellUtilsStartup();
void ShellUtilsShutdown();

const TKxShellVersions& ShellVersions();
// Replaces the recorded versions (tests, or a caller that knows better).
void SetShellVersions(const TKxShellVersions& versions);

bool IsNtPlatform();
// The file version from the module's version resource (root block "\"); false when the size,
// the block or the root value cannot be had.
bool ReadModuleVersion(const std::string& fileName, TKxModuleVersion& version);

// The system's wheel scroll lines (SPI_GETWHEELSCROLLLINES; 3 when unreadable). WHEEL_PAGESCROLL
// means one screen per notch: callers test for it before using the value as a count.
UINT WheelScrollLines();
// Replaces the system's answer (tests); an empty function restores it.
void SetWheelScrollLinesQuery(std::function<UINT()> query);

// Text, geometry and platform helpers of the control set: accelerator stripping, character-set
// tests, text messages, rectangle centring, monitor work areas and the platform version tests
// (whose version query tests may replace).
#pragma once

#include <bitset>
#include <functional>
#include <string>
#include <string_view>

#include "toolkit/graphics/Types.h"
#include "toolkit/system/WinApi.h"

// The caption without accelerator marks: an '&' stays only when another '&' follows it or it is
// the last character, so "&&File" becomes "&File" and "E&xit" "Exit".
std::string StripAccelerators(std::string_view caption);

// A set of byte values, bit n for character code n.
using TKxCharSet = std::bitset<256>;
bool IsCharInSet(char ch, const TKxCharSet& set);
// True for a lead byte of the current double-byte ANSI code page.
bool IsLeadByteChar(char ch);

// Sends `msg` with LParam pointing to `text` (UTF-16, alive for the call); answers the result.
LRESULT SendTextMessage(HWND handle, UINT msg, WPARAM wParam, std::string_view text);

// A width x height rectangle centred in `rect` (left (L + R - width) div 2, toward zero).
TRect RectCenteredIn(const TRect& rect, int width, int height);

// Work area of the monitor nearest to `window`, and its width.
TRect GetWindowWorkArea(HWND window);
int GetWindowWorkAreaWidth(HWND window);
TRect MonitorWorkArea(HMONITOR monitor);
TRect GetMonitorBounds(HMONITOR monitor);
// The first monitor (in the screen's order) whose bounds contain `point`; null for none.
HMONITOR FindMonitorAtPoint(TPoint point);

// Platform versions: 0 Windows 95, 1 NT 4, 2 98, 3 ME, 4 2000, 5 XP, 6 Server 2003, 7 Vista,
// 8 Windows 7.
struct TKxPlatformVersion {
  DWORD PlatformId = VER_PLATFORM_WIN32_NT;
  DWORD Major = 0;
  DWORD Minor = 0;
};
// Exact test of version v (0..8); false for any other number.
bool IsWindowsVersion(int v);
// NT platform and (major, minor) not below version v's pair (v = 4..8).
bool IsWindowsVersionAtLeast(int v);
// Replaces the platform version query; an empty function restores GetVersionEx.
void SetKxPlatformVersionQuery(std::function<TKxPlatformVersion()> query);
TKxPlatformVersion KxPlatformVersion();

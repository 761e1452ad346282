// Text conversions at the platform boundary: the program keeps UTF-8 std::string inside and
// turns it into UTF-16 only for W-API calls, or into the system's ANSI code page for files
// that the program writes in it. Invalid input is replaced, never thrown on.
#pragma once

#include <string>
#include <string_view>

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
// codePage 0 means the system's ANSI code page (CP_ACP).
std::string Utf8ToAnsi(std::string_view text, unsigned codePage = 0);
std::string AnsiToUtf8(std::string_view text, unsigned codePage = 0);

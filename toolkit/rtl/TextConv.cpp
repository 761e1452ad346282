// UTF-8 / UTF-16 / ANSI code page conversions over MultiByteToWideChar and WideCharToMultiByte.
#include "toolkit/rtl/TextConv.h"

#include "toolkit/system/WinApi.h"

namespace {

std::wstring ToWide(std::string_view text, UINT codePage) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string FromWide(std::wstring_view text, UINT codePage) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

}  // namespace

std::wstring Utf8ToWide(std::string_view text) { return ToWide(text, CP_UTF8); }
std::string WideToUtf8(std::wstring_view text) { return FromWide(text, CP_UTF8); }

std::string Utf8ToAnsi(std::string_view text, unsigned codePage) {
  return FromWide(Utf8ToWide(text), codePage == 0 ? CP_ACP : codePage);
}

std::string AnsiToUtf8(std::string_view text, unsigned codePage) {
  return WideToUtf8(ToWide(text, codePage == 0 ? CP_ACP : codePage));
}

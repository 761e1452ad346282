// String helpers over UTF-8 text: trimming, case mapping (ASCII-only and full, the latter via
// the platform on UTF-16), comparison, 1-based Pos/Copy, replacement and quoting. Positions
// and counts are in bytes, as the callers index UTF-8 text.
#include <algorithm>
#include <string>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"

namespace {

bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

std::string MapWide(std::string_view text, bool upper) {
  std::wstring w = Utf8ToWide(text);
  if (!w.empty()) {
    if (upper) CharUpperBuffW(w.data(), static_cast<DWORD>(w.size()));
    else CharLowerBuffW(w.data(), static_cast<DWORD>(w.size()));
  }
  return WideToUtf8(w);
}

int CompareLocale(std::string_view a, std::string_view b, DWORD flags) {
  std::wstring wa = Utf8ToWide(a), wb = Utf8ToWide(b);
  int r = CompareStringW(LOCALE_USER_DEFAULT, flags, wa.c_str(), static_cast<int>(wa.size()),
                         wb.c_str(), static_cast<int>(wb.size()));
  return r == 0 ? 0 : r - CSTR_EQUAL;
}

}  // namespace

std::string Trim(std::string_view text) {
  while (!text.empty() && IsTrimmed(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsTrimmed(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string TrimLeft(std::string_view text) {
  while (!text.empty() && IsTrimmed(text.front())) text.remove_prefix(1);
  return std::string(text);
}

std::string TrimRight(std::string_view text) {
  while (!text.empty() && IsTrimmed(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string UpperCase(std::string_view text) {
  std::string s(text);
  std::transform(s.begin(), s.end(), s.begin(), AsciiUpper);
  return s;
}

std::string LowerCase(std::string_view text) {
  std::string s(text);
  std::transform(s.begin(), s.end(), s.begin(), AsciiLower);
  return s;
}

std::string AnsiUpperCase(std::string_view text) { return MapWide(text, true); }
std::string AnsiLowerCase(std::string_view text) { return MapWide(text, false); }

int CompareText(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int ca = static_cast<unsigned char>(AsciiUpper(a[i]));
    int cb = static_cast<unsigned char>(AsciiUpper(b[i]));
    if (ca != cb) return ca - cb;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

int CompareStr(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
    if (ca != cb) return ca - cb;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

int AnsiCompareText(std::string_view a, std::string_view b) {
  return CompareLocale(a, b, NORM_IGNORECASE);
}

int AnsiCompareStr(std::string_view a, std::string_view b) { return CompareLocale(a, b, 0); }

int Pos(std::string_view sub, std::string_view text, int offset) {
  if (sub.empty() || offset < 1 || offset > static_cast<int>(text.size())) return 0;
  size_t p = text.find(sub, static_cast<size_t>(offset - 1));
  return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

std::string Copy(std::string_view text, int index, int count) {
  if (index < 1) index = 1;
  if (count <= 0 || index > static_cast<int>(text.size())) return {};
  return std::string(text.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count)));
}

std::string StringReplace(std::string_view text, std::string_view from, std::string_view to,
                          int flags) {
  if (from.empty()) return std::string(text);
  const bool all = flags & static_cast<int>(TReplaceFlag::rfReplaceAll);
  const bool ignoreCase = flags & static_cast<int>(TReplaceFlag::rfIgnoreCase);
  // Case-insensitive search compares ASCII letters without case; the result keeps the text's
  // own bytes outside the replaced parts.
  std::string hay = ignoreCase ? UpperCase(text) : std::string(text);
  std::string needle = ignoreCase ? UpperCase(from) : std::string(from);
  std::string out;
  size_t start = 0;
  while (true) {
    size_t p = hay.find(needle, start);
    if (p == std::string::npos) break;
    out.append(text.substr(start, p - start));
    out.append(to);
    start = p + needle.size();
    if (!all) break;
  }
  out.append(text.substr(start));
  return out;
}

std::string StringOfChar(char c, int count) {
  return count > 0 ? std::string(static_cast<size_t>(count), c) : std::string();
}

std::string QuotedStr(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  out += '\'';
  return out;
}

std::string AnsiDequotedStr(std::string_view text, char quote) {
  // Only a text that opens with the quote is dequoted: up to the closing quote, a doubled
  // quote inside standing for one. An unterminated or partial quotation is left as it was.
  if (text.empty() || text[0] != quote) return std::string(text);
  std::string out;
  size_t i = 1;
  while (i < text.size()) {
    if (text[i] == quote) {
      if (i + 1 < text.size() && text[i + 1] == quote) {
        out += quote;
        i += 2;
        continue;
      }
      ++i;
      break;
    }
    out += text[i++];
  }
  const bool atEnd = i >= text.size();
  if ((out.empty() || atEnd) && text.back() != quote) return std::string(text);
  return out;
}

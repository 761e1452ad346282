// The edit mask check of the masked edit.
#include "toolkit/ui/EditMask.h"

#include <cwctype>
#include <vector>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

namespace {

enum class Kind { Literal, Letter, AlphaNum, Any, Digit, DigitOrSign };

struct Position {
  Kind What = Kind::Literal;
  bool Required = false;
  wchar_t Literal = 0;
};

bool Matches(Kind kind, wchar_t c) {
  switch (kind) {
    case Kind::Letter: return std::iswalpha(static_cast<wint_t>(c)) != 0;
    case Kind::AlphaNum: return std::iswalnum(static_cast<wint_t>(c)) != 0;
    case Kind::Any: return true;
    case Kind::Digit: return c >= L'0' && c <= L'9';
    case Kind::DigitOrSign: return (c >= L'0' && c <= L'9') || c == L'+' || c == L'-';
    case Kind::Literal: return false;
  }
  return false;
}

}  // namespace

bool EditTextFitsMask(const std::string& editMask, const std::string& text) {
  const std::wstring mask = Utf8ToWide(editMask);
  // Sections: the pattern ends at the second-to-last ';' that is not escaped.
  std::vector<size_t> separators;
  for (size_t i = 0; i < mask.size(); ++i) {
    if (mask[i] == L'\\') {
      ++i;
    } else if (mask[i] == L';') {
      separators.push_back(i);
    }
  }
  size_t patternEnd = mask.size();
  wchar_t blank = L'_';
  if (separators.size() >= 2) {
    patternEnd = separators[separators.size() - 2];
    const size_t b = separators.back() + 1;
    if (b < mask.size()) blank = mask[b];
  } else if (separators.size() == 1) {
    patternEnd = separators.back();
  }

  std::vector<Position> positions;
  for (size_t i = 0; i < patternEnd; ++i) {
    const wchar_t m = mask[i];
    Position p;
    switch (m) {
      case L'>':
      case L'<':
      case L'!': continue;
      case L'\\':
        if (++i >= patternEnd) continue;
        p.Literal = mask[i];
        break;
      case L'L': p = {Kind::Letter, true, 0}; break;
      case L'l': p = {Kind::Letter, false, 0}; break;
      case L'A': p = {Kind::AlphaNum, true, 0}; break;
      case L'a': p = {Kind::AlphaNum, false, 0}; break;
      case L'C': p = {Kind::Any, true, 0}; break;
      case L'c': p = {Kind::Any, false, 0}; break;
      case L'0': p = {Kind::Digit, true, 0}; break;
      case L'9': p = {Kind::Digit, false, 0}; break;
      case L'#': p = {Kind::DigitOrSign, false, 0}; break;
      case L':': p.Literal = static_cast<wchar_t>(static_cast<unsigned char>(FormatSettings().TimeSeparator)); break;
      case L'/': p.Literal = static_cast<wchar_t>(static_cast<unsigned char>(FormatSettings().DateSeparator)); break;
      default: p.Literal = m; break;
    }
    positions.push_back(p);
  }

  const std::wstring t = Utf8ToWide(text);
  auto isBlank = [blank](wchar_t c) { return c == blank || c == L' '; };
  for (size_t i = 0; i < positions.size(); ++i) {
    const Position& p = positions[i];
    const wchar_t c = i < t.size() ? t[i] : blank;
    if (p.What == Kind::Literal) {
      // A literal left out of a short text is as good as a blank optional position.
      if (c != p.Literal && !(i >= t.size())) return false;
      continue;
    }
    if (isBlank(c)) {
      if (p.Required) return false;
      continue;
    }
    if (!Matches(p.What, c)) return false;
  }
  for (size_t i = positions.size(); i < t.size(); ++i)
    if (!isBlank(t[i])) return false;
  return true;
}

// Conversions between numbers and text: IntToStr/IntToHex, StrToInt (decimal or "$"/"0x" hex)
// and StrToFloat (the settings' decimal separator), and FloatToStr (15 significant digits).
// Failed conversions raise EConvertError with the library's messages; Try… forms never raise.
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "toolkit/rtl/FloatDecimal.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view StripBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Parses [sign] digits | [sign] ("$" | "0x" | "x") hexdigits. Decimal values must fit in
// [-limit-1, limit]; hexadecimal ones may use every bit of the type (`bits`) and wrap, so
// "$FFFFFFFF" is -1 as a 32-bit integer.
bool ParseInteger(std::string_view text, int bits, long long& out) {
  text = StripBlanks(text);
  if (text.empty()) return false;
  bool negative = false;
  if (text[0] == '+' || text[0] == '-') {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  bool hex = false;
  if (!text.empty() && text[0] == '$') {
    hex = true;
    text.remove_prefix(1);
  } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    hex = true;
    text.remove_prefix(2);
  } else if (!text.empty() && (text[0] == 'x' || text[0] == 'X')) {
    hex = true;
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  const unsigned long long maxUnsigned = bits == 64 ? ~0ULL : (1ULL << bits) - 1;
  const unsigned long long maxPositive = maxUnsigned >> 1;
  unsigned long long value = 0;
  for (char c : text) {
    int d = hex ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (d < 0) return false;
    unsigned long long base = hex ? 16 : 10;
    unsigned long long limit = hex ? maxUnsigned : maxPositive + (negative ? 1 : 0);
    if (value > (limit - static_cast<unsigned long long>(d)) / base) return false;
    value = value * base + static_cast<unsigned long long>(d);
  }
  long long result = static_cast<long long>(value);  // modular for 64 bits
  if (hex && bits < 64 && value > maxPositive) result -= 1LL << bits;  // wraps into the sign
  out = negative ? static_cast<long long>(0ULL - static_cast<unsigned long long>(result)) : result;
  return true;
}

[[noreturn]] void NotInteger(std::string_view text) {
  throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

// [sign] digits [sep digits] [(e|E) [sign] digits], at least one mantissa digit; blanks around.
bool ParseFloat(std::string_view text, char decimalSeparator, long double& out) {
  text = StripBlanks(text);
  std::string plain;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
  int mantissaDigits = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    plain += text[i++];
    ++mantissaDigits;
  }
  if (i < text.size() && text[i] == decimalSeparator) {
    plain += '.';
    ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      plain += text[i++];
      ++mantissaDigits;
    }
  }
  if (mantissaDigits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    int expDigits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      plain += text[i++];
      ++expDigits;
    }
    if (expDigits == 0) return false;
  }
  if (i != text.size()) return false;
  errno = 0;
  char* end = nullptr;
  long double v = __mingw_strtold(plain.c_str(), &end);
  if (end != plain.c_str() + plain.size()) return false;
  if (std::isinf(v)) return false;  // overflow
  out = v;
  return true;
}

}  // namespace

std::string IntToStr(long long value) { return std::to_string(value); }

std::string IntToHex(long long value, int digits) {
  unsigned long long u = static_cast<unsigned long long>(value);
  if (value < 0 && value >= -2147483648LL) u &= 0xFFFFFFFFULL;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%llX", u);
  std::string out = buf;
  if (digits > 0 && static_cast<int>(out.size()) < digits)
    out.insert(0, static_cast<size_t>(digits) - out.size(), '0');
  return out;
}

bool TryStrToInt(std::string_view text, int& value) {
  long long v;
  if (!ParseInteger(text, 32, v)) return false;
  value = static_cast<int>(v);
  return true;
}

bool TryStrToInt64(std::string_view text, long long& value) { return ParseInteger(text, 64, value); }

int StrToInt(std::string_view text) {
  int v;
  if (!TryStrToInt(text, v)) NotInteger(text);
  return v;
}

long long StrToInt64(std::string_view text) {
  long long v;
  if (!TryStrToInt64(text, v)) NotInteger(text);
  return v;
}

int StrToIntDef(std::string_view text, int fallback) {
  int v;
  return TryStrToInt(text, v) ? v : fallback;
}

bool TryStrToFloat(std::string_view text, long double& value, const TFormatSettings& settings) {
  return ParseFloat(text, settings.DecimalSeparator, value);
}

bool TryStrToFloat(std::string_view text, long double& value) {
  return TryStrToFloat(text, value, FormatSettings());
}

bool TryStrToFloat(std::string_view text, double& value) {
  long double v;
  if (!TryStrToFloat(text, v)) return false;
  if (std::fabs(v) > DBL_MAX) return false;
  value = static_cast<double>(v);
  return true;
}

long double StrToFloat(std::string_view text, const TFormatSettings& settings) {
  long double v;
  if (!TryStrToFloat(text, v, settings))
    throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
  return v;
}

long double StrToFloat(std::string_view text) { return StrToFloat(text, FormatSettings()); }

long double StrToFloatDef(std::string_view text, long double fallback) {
  long double v;
  return TryStrToFloat(text, v) ? v : fallback;
}

std::string FloatToStr(long double value, const TFormatSettings& settings) {
  return rtl_detail::FloatToText(value, rtl_detail::FloatFormat::General, 15, 0, settings);
}

std::string FloatToStr(long double value) { return FloatToStr(value, FormatSettings()); }

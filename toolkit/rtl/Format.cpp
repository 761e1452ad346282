// Format: printf-like directives "%" [index ":"] ["-"] [width] ["." precision] type, with the
// argument kinds checked strictly (a %d given a float is an error, as the library has it).
// Floating directives share the decimal expansion of FloatDecimal with FormatFloat.
#include <cstdio>
#include <string>

#include "toolkit/rtl/FloatDecimal.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

[[noreturn]] void InvalidFormat(std::string_view format) {
  throw EConvertError("Format '" + std::string(format) + "' invalid or incompatible with argument");
}

[[noreturn]] void MissingArgument(std::string_view format) {
  throw EConvertError("No argument for format '" + std::string(format) + "'");
}

// Number of characters (UTF-8 code points) in `text`.
size_t CharCount(std::string_view text) {
  size_t n = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

// The first `count` characters of `text`.
std::string_view FirstChars(std::string_view text, size_t count) {
  size_t chars = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (chars == count) return text.substr(0, i);
      ++chars;
    }
  }
  return text;
}

std::string Hex(unsigned long long value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%llX", value);
  return buf;
}

std::string ZeroPad(std::string digits, int precision) {
  if (precision > 0 && static_cast<int>(digits.size()) < precision)
    digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
  return digits;
}

// Negative values that fit 32 bits are shown as the 32-bit pattern, like an Integer argument.
unsigned long long Unsigned(long long v) {
  if (v < 0 && v >= -2147483648LL) return static_cast<unsigned long long>(v) & 0xFFFFFFFFULL;
  return static_cast<unsigned long long>(v);
}

class Formatter {
 public:
  Formatter(std::string_view format, std::initializer_list<FormatArg> args)
      : format_(format), args_(args.begin()), count_(static_cast<int>(args.size())) {}

  std::string Run() {
    std::string out;
    size_t i = 0;
    while (i < format_.size()) {
      size_t pct = format_.find('%', i);
      if (pct == std::string_view::npos) {
        out.append(format_.substr(i));
        break;
      }
      out.append(format_.substr(i, pct - i));
      i = pct + 1;
      if (i < format_.size() && format_[i] == '%') {
        out += '%';
        ++i;
        continue;
      }
      out += Directive(i);
    }
    return out;
  }

 private:
  const FormatArg& Next() {
    if (next_ >= count_) MissingArgument(format_);
    return args_[next_++];
  }

  // A number or '*' (taken from the next argument); -1 when neither is there.
  int Number(size_t& i) {
    if (i < format_.size() && format_[i] == '*') {
      ++i;
      const FormatArg& a = Next();
      if (a.kind() != FormatArg::Kind::Integer) InvalidFormat(format_);
      return static_cast<int>(a.AsInteger());
    }
    if (i >= format_.size() || format_[i] < '0' || format_[i] > '9') return -1;
    long long n = 0;
    while (i < format_.size() && format_[i] >= '0' && format_[i] <= '9') {
      n = n * 10 + (format_[i++] - '0');
      if (n > 1000000) InvalidFormat(format_);
    }
    return static_cast<int>(n);
  }

  std::string Directive(size_t& i) {
    bool left = false;
    int width = -1, precision = -1;
    int n = Number(i);
    if (i < format_.size() && format_[i] == ':') {
      ++i;
      if (n < 0) n = 0;
      next_ = n;
      n = -1;
    }
    if (n < 0) {
      if (i < format_.size() && format_[i] == '-') {
        left = true;
        ++i;
      }
      width = Number(i);
    } else {
      width = n;
    }
    if (i < format_.size() && format_[i] == '.') {
      ++i;
      precision = Number(i);
      if (precision < 0) precision = 0;
    }
    if (i >= format_.size()) InvalidFormat(format_);
    char type = format_[i++];
    if (type >= 'A' && type <= 'Z') type = static_cast<char>(type - 'A' + 'a');
    std::string text = Convert(type, precision);
    size_t chars = CharCount(text);
    if (width > 0 && chars < static_cast<size_t>(width)) {
      std::string pad(static_cast<size_t>(width) - chars, ' ');
      text = left ? text + pad : pad + text;
    }
    return text;
  }

  std::string Convert(char type, int precision) {
    const FormatArg& a = Next();
    const TFormatSettings& s = FormatSettings();
    switch (type) {
      case 'd':
      case 'u': {
        if (a.kind() != FormatArg::Kind::Integer) InvalidFormat(format_);
        long long v = a.AsInteger();
        if (type == 'u') return ZeroPad(std::to_string(Unsigned(v)), precision);
        std::string digits = v < 0 ? std::to_string(0ULL - static_cast<unsigned long long>(v))
                                   : std::to_string(v);
        return (v < 0 ? "-" : "") + ZeroPad(digits, precision);
      }
      case 'x':
        if (a.kind() != FormatArg::Kind::Integer) InvalidFormat(format_);
        return ZeroPad(Hex(Unsigned(a.AsInteger())), precision);
      case 'p':
        if (a.kind() != FormatArg::Kind::Pointer) InvalidFormat(format_);
        return ZeroPad(Hex(reinterpret_cast<uintptr_t>(a.AsPointer())), 2 * sizeof(void*));
      case 's': {
        if (a.kind() != FormatArg::Kind::Text) InvalidFormat(format_);
        std::string_view t = a.AsText();
        if (precision >= 0) t = FirstChars(t, static_cast<size_t>(precision));
        return std::string(t);
      }
      case 'e':
      case 'f':
      case 'g':
      case 'n':
      case 'm': {
        if (a.kind() != FormatArg::Kind::Float) InvalidFormat(format_);
        using rtl_detail::FloatFormat;
        long double v = a.AsFloat();
        switch (type) {
          case 'e':
            return rtl_detail::FloatToText(v, FloatFormat::Exponent, precision < 0 ? 15 : precision, 3, s);
          case 'g':
            return rtl_detail::FloatToText(v, FloatFormat::General, precision < 0 ? 15 : precision, 0, s);
          case 'f':
            return rtl_detail::FloatToText(v, FloatFormat::Fixed, 18, precision < 0 ? 2 : precision, s);
          case 'n':
            return rtl_detail::FloatToText(v, FloatFormat::Number, 18, precision < 0 ? 2 : precision, s);
          default:
            return rtl_detail::FloatToText(v, FloatFormat::Currency, 18,
                                           precision < 0 ? s.CurrencyDecimals : precision, s);
        }
      }
      default:
        InvalidFormat(format_);
    }
  }

  std::string_view format_;
  const FormatArg* args_;
  int count_;
  int next_ = 0;
};

}  // namespace

std::string Format(std::string_view format, std::initializer_list<FormatArg> args) {
  return Formatter(format, args).Run();
}

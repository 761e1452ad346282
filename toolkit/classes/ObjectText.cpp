// Converters between the binary layout stream and its text form. Binary to text walks the
// value tags alone (no class information needed); text to binary parses the text with a small
// tokenizer and writes through TWriter, so both directions share the writer's tag choices and
// a layout survives binary -> text -> binary unchanged.
#include "toolkit/classes/ObjectText.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "toolkit/classes/Filer.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/rtl/Math.h"

namespace {

constexpr const char* kLineBreak = "\r\n";
constexpr size_t kStringPiece = 64;  // characters of a string per text line

// Shortest text of the given significant digits that reads back to the same value; always
// with a decimal point or exponent so that it reads as a floating value.
std::string FloatText(long double value, int digits) {
  char buffer[64];
  __mingw_snprintf(buffer, sizeof buffer, "%.*Lg", digits, value);
  std::string s(buffer);
  if (s.find_first_of(".eEna") == std::string::npos) s += ".0";
  return s;
}

// Next code point of UTF-8 text; invalid bytes come back one by one as their byte value.
unsigned NextCodePoint(std::string_view s, size_t& i) {
  const auto b = static_cast<unsigned char>(s[i]);
  const int extra = b >= 0xF0 && b < 0xF8 ? 3 : b >= 0xE0 && b < 0xF0 ? 2 : b >= 0xC0 && b < 0xE0 ? 1 : 0;
  if (extra == 0 || i + extra >= s.size()) {
    ++i;
    return b;
  }
  unsigned cp = b & (0x3F >> extra);
  for (int k = 1; k <= extra; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if ((c & 0xC0) != 0x80) {
      ++i;
      return b;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  i += extra + 1;
  return cp;
}

void AppendUtf8(std::string& out, unsigned cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// ---- Binary to text ---------------------------------------------------------------------------

class BinaryToText {
 public:
  explicit BinaryToText(TStream& input) : reader_(input) {}

  std::string Run() {
    reader_.ReadSignature();
    ConvertObject(0);
    return out_;
  }

 private:
  void Indent(int n) { out_.append(static_cast<size_t>(n), ' '); }
  void NewLine() { out_ += kLineBreak; }

  void ConvertObject(int indent) {
    TFilerFlags flags;
    int childPos = 0;
    reader_.ReadPrefix(flags, childPos);
    const std::string className = reader_.ReadStr();
    const std::string name = reader_.ReadStr();
    Indent(indent);
    out_ += flags.Contains(ffInherited) ? "inherited " : flags.Contains(ffInline) ? "inline " : "object ";
    if (!name.empty()) out_ += name + ": ";
    out_ += className;
    if (flags.Contains(ffChildPos)) out_ += " [" + std::to_string(childPos) + "]";
    NewLine();
    while (!reader_.EndOfList()) ConvertProperty(indent + 2);
    reader_.ReadListEnd();
    while (!reader_.EndOfList()) ConvertObject(indent + 2);
    reader_.ReadListEnd();
    Indent(indent);
    out_ += "end";
    NewLine();
  }

  void ConvertProperty(int indent) {
    Indent(indent);
    out_ += reader_.ReadStr();
    out_ += " = ";
    ConvertValue(indent);
    NewLine();
  }

  void ConvertString(const std::string& value, int indent) {
    // Pieces of at most kStringPiece characters, quoted, controls and non-ASCII as #code.
    std::vector<std::string> pieces;
    std::string piece;
    size_t chars = 0;
    bool quoted = false;
    for (size_t i = 0; i < value.size();) {
      if (chars == kStringPiece) {
        if (quoted) piece += '\'';
        pieces.push_back(piece);
        piece.clear();
        chars = 0;
        quoted = false;
      }
      const unsigned cp = NextCodePoint(value, i);
      if (cp >= 32 && cp < 127) {
        if (!quoted) {
          piece += '\'';
          quoted = true;
        }
        piece += static_cast<char>(cp);
        if (cp == '\'') piece += '\'';
      } else {
        if (quoted) {
          piece += '\'';
          quoted = false;
        }
        piece += "#" + std::to_string(cp);
      }
      ++chars;
    }
    if (quoted) piece += '\'';
    if (piece.empty() && pieces.empty()) piece = "''";
    pieces.push_back(piece);
    if (pieces.size() == 1) {
      out_ += pieces[0];
      return;
    }
    for (size_t k = 0; k < pieces.size(); ++k) {
      NewLine();
      Indent(indent + 2);
      out_ += pieces[k];
      if (k + 1 < pieces.size()) out_ += " +";
    }
  }

  void ConvertValue(int indent) {
    switch (reader_.NextValue()) {
      case vaList:
        reader_.ReadValue();
        out_ += "(";
        while (!reader_.EndOfList()) {
          NewLine();
          Indent(indent + 2);
          ConvertValue(indent + 2);
        }
        reader_.ReadListEnd();
        out_ += ")";
        break;
      case vaInt8:
      case vaInt16:
      case vaInt32:
      case vaInt64:
        out_ += std::to_string(reader_.ReadInt64());
        break;
      case vaExtended:
        out_ += FloatText(reader_.ReadFloat(), 21);
        break;
      case vaSingle:
        out_ += FloatText(reader_.ReadSingle(), 9) + "s";
        break;
      case vaDouble:
        out_ += FloatText(reader_.ReadDouble(), 17) + "f";
        break;
      case vaCurrency: {
        const long long scaled = Round(reader_.ReadCurrency() * 10000.0L);
        const unsigned long long magnitude =
            scaled < 0 ? 0ULL - static_cast<unsigned long long>(scaled) : static_cast<unsigned long long>(scaled);
        std::string fraction = std::to_string(magnitude % 10000);
        fraction.insert(0, 4 - fraction.size(), '0');
        while (fraction.size() > 1 && fraction.back() == '0') fraction.pop_back();
        out_ += (scaled < 0 ? "-" : "") + std::to_string(magnitude / 10000) + "." + fraction + "c";
        break;
      }
      case vaDate:
        out_ += FloatText(reader_.ReadDate(), 17) + "d";
        break;
      case vaString:
      case vaLString:
      case vaWString:
      case vaUTF8String:
        ConvertString(reader_.ReadString(), indent);
        break;
      case vaIdent:
      case vaFalse:
      case vaTrue:
      case vaNil:
      case vaNull:
        out_ += reader_.ReadIdent();
        break;
      case vaBinary: {
        std::vector<unsigned char> data;
        reader_.ReadBinary(data);
        static const char hex[] = "0123456789ABCDEF";
        out_ += "{";
        for (size_t i = 0; i < data.size(); ++i) {
          if (i % 32 == 0) {
            NewLine();
            Indent(indent + 2);
          }
          out_ += hex[data[i] >> 4];
          out_ += hex[data[i] & 15];
        }
        out_ += "}";
        break;
      }
      case vaSet: {
        reader_.ReadValue();
        out_ += "[";
        bool first = true;
        for (std::string name = reader_.ReadStr(); !name.empty(); name = reader_.ReadStr()) {
          if (!first) out_ += ", ";
          out_ += name;
          first = false;
        }
        out_ += "]";
        break;
      }
      case vaCollection:
        reader_.ReadValue();
        out_ += "<";
        while (!reader_.EndOfList()) {
          NewLine();
          Indent(indent + 2);
          out_ += "item";
          const TValueType v = reader_.NextValue();
          if (v == vaInt8 || v == vaInt16 || v == vaInt32) out_ += " [" + std::to_string(reader_.ReadInt64()) + "]";
          NewLine();
          reader_.ReadListBegin();
          while (!reader_.EndOfList()) ConvertProperty(indent + 4);
          reader_.ReadListEnd();
          Indent(indent + 2);
          out_ += "end";
        }
        reader_.ReadListEnd();
        out_ += ">";
        break;
      default:
        throw EReadError("Invalid stream format");
    }
  }

  TReader reader_;
  std::string out_;
};

// ---- Text to binary ---------------------------------------------------------------------------

enum class Tok { End, Symbol, Ident, String, Integer, Float };

class TextToBinary {
 public:
  TextToBinary(std::string_view text, TStream& output) : text_(text), writer_(output) {}

  void Run() {
    Next();
    writer_.WriteSignature();
    ConvertObject();
    if (tok_ != Tok::End) Error("End of file expected");
  }

 private:
  [[noreturn]] void Error(const std::string& message) const {
    throw EParserError(Format("%s on line %d", {message, tokenLine_}));
  }

  bool IsSymbol(char c) const { return tok_ == Tok::Symbol && text_[tokenStart_] == c; }
  bool IsKeyword(std::string_view word) const { return tok_ == Tok::Ident && SameText(token_, word); }
  void Expect(char c) {
    if (!IsSymbol(c)) Error(std::string("'") + c + "' expected");
    Next();
  }
  std::string ExpectIdent() {
    if (tok_ != Tok::Ident) Error("Identifier expected");
    std::string s = token_;
    Next();
    return s;
  }

  void SkipBlanks() {
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (static_cast<unsigned char>(c) <= ' ') {
        ++pos_;
      } else {
        break;
      }
    }
  }

  // The end of "[digits]" starting at p, or 0 when none starts there.
  size_t IndexSuffixEnd(size_t p) const {
    if (p >= text_.size() || text_[p] != '[') return 0;
    size_t q = p + 1;
    while (q < text_.size() && Digit(text_[q])) ++q;
    if (q == p + 1 || q >= text_.size() || text_[q] != ']') return 0;
    return q + 1;
  }
  static bool IdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
  static bool IdentChar(char c) { return IdentStart(c) || (c >= '0' && c <= '9'); }
  static bool Digit(char c) { return c >= '0' && c <= '9'; }

  // Reads the next token into tok_/token_ (strings decoded, numbers as text).
  void Next() {
    SkipBlanks();
    tokenStart_ = pos_;
    tokenLine_ = line_;
    token_.clear();
    if (pos_ >= text_.size()) {
      tok_ = Tok::End;
      return;
    }
    const char c = text_[pos_];
    if (IdentStart(c)) {
      // Dotted names ("Chart1.LeftAxis") and item indexes ("CustomAxes[0]") belong to the
      // identifier: references to sub-objects are written that way.
      while (pos_ < text_.size()) {
        if (IdentChar(text_[pos_]) ||
            (text_[pos_] == '.' && pos_ + 1 < text_.size() && IdentStart(text_[pos_ + 1]))) {
          ++pos_;
        } else if (size_t end = IndexSuffixEnd(pos_); end != 0) {
          pos_ = end;
        } else {
          break;
        }
      }
      token_ = std::string(text_.substr(tokenStart_, pos_ - tokenStart_));
      tok_ = Tok::Ident;
      return;
    }
    if (c == '\'' || c == '#') {
      ReadStringToken();
      return;
    }
    if (Digit(c) || c == '$' || ((c == '-' || c == '+') && pos_ + 1 < text_.size() &&
                                 (Digit(text_[pos_ + 1]) || text_[pos_ + 1] == '$'))) {
      ReadNumberToken();
      return;
    }
    ++pos_;
    tok_ = Tok::Symbol;
  }

  void ReadStringToken() {
    tok_ = Tok::String;
    while (pos_ < text_.size()) {
      if (text_[pos_] == '\'') {
        ++pos_;
        for (;;) {
          if (pos_ >= text_.size() || text_[pos_] == '\n' || text_[pos_] == '\r') {
            Error("Unterminated string");
          }
          if (text_[pos_] == '\'') {
            if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
              token_ += '\'';
              pos_ += 2;
              continue;
            }
            ++pos_;
            break;
          }
          token_ += text_[pos_++];
        }
      } else if (text_[pos_] == '#') {
        ++pos_;
        unsigned long cp = 0;
        size_t digits = 0;
        if (pos_ < text_.size() && text_[pos_] == '$') {
          ++pos_;
          while (pos_ < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[pos_]))) {
            const char h = text_[pos_];
            cp = cp * 16 + static_cast<unsigned long>(Digit(h) ? h - '0' : (h | 0x20) - 'a' + 10);
            ++pos_;
            ++digits;
          }
        } else {
          while (pos_ < text_.size() && Digit(text_[pos_])) {
            cp = cp * 10 + static_cast<unsigned long>(text_[pos_] - '0');
            ++pos_;
            ++digits;
          }
        }
        if (digits == 0 || cp > 0x10FFFF) Error("Invalid string constant");
        AppendUtf8(token_, static_cast<unsigned>(cp));
      } else {
        break;
      }
    }
  }

  void ReadNumberToken() {
    size_t p = pos_;
    bool negative = false;
    if (text_[p] == '-' || text_[p] == '+') {
      negative = text_[p] == '-';
      ++p;
    }
    if (text_[p] == '$') {
      ++p;
      const size_t start = p;
      while (p < text_.size() && std::isxdigit(static_cast<unsigned char>(text_[p]))) ++p;
      if (p == start) Error("Number expected");
      const unsigned long long v = std::stoull(std::string(text_.substr(start, p - start)), nullptr, 16);
      intValue_ = negative ? -static_cast<long long>(v) : static_cast<long long>(v);
      tok_ = Tok::Integer;
      pos_ = p;
      return;
    }
    const size_t start = p;
    bool isFloat = false;
    while (p < text_.size() && Digit(text_[p])) ++p;
    if (p < text_.size() && text_[p] == '.' && p + 1 < text_.size() && Digit(text_[p + 1])) {
      isFloat = true;
      ++p;
      while (p < text_.size() && Digit(text_[p])) ++p;
    }
    if (p < text_.size() && (text_[p] == 'e' || text_[p] == 'E')) {
      size_t q = p + 1;
      if (q < text_.size() && (text_[q] == '+' || text_[q] == '-')) ++q;
      if (q < text_.size() && Digit(text_[q])) {
        isFloat = true;
        p = q;
        while (p < text_.size() && Digit(text_[p])) ++p;
      }
    }
    const std::string number(text_.substr(start, p - start));
    floatSuffix_ = 0;
    if (p < text_.size() && (text_[p] == 's' || text_[p] == 'S' || text_[p] == 'c' || text_[p] == 'C' ||
                             text_[p] == 'd' || text_[p] == 'D' || text_[p] == 'f' || text_[p] == 'F') &&
        !(p + 1 < text_.size() && IdentChar(text_[p + 1]))) {
      floatSuffix_ = static_cast<char>(std::tolower(static_cast<unsigned char>(text_[p])));
      isFloat = true;
      ++p;
    }
    pos_ = p;
    if (isFloat) {
      // Each width parses its own text, so no value is rounded twice.
      if (floatSuffix_ == 'f' || floatSuffix_ == 'd') {
        floatValue_ = std::strtod(number.c_str(), nullptr);
      } else if (floatSuffix_ == 's') {
        floatValue_ = std::strtof(number.c_str(), nullptr);
      } else {
        floatValue_ = std::strtold(number.c_str(), nullptr);
      }
      if (negative) floatValue_ = -floatValue_;
      tok_ = Tok::Float;
    } else {
      errno = 0;
      const unsigned long long v = std::strtoull(number.c_str(), nullptr, 10);
      if (errno != 0 || v > 0x8000000000000000ULL || (!negative && v > 0x7FFFFFFFFFFFFFFFULL)) {
        Error("Number expected");
      }
      intValue_ = negative ? static_cast<long long>(0ULL - v) : static_cast<long long>(v);
      tok_ = Tok::Integer;
    }
  }

  void ConvertObject() {
    TFilerFlags flags;
    if (IsKeyword("inherited")) {
      flags.Include(ffInherited);
    } else if (IsKeyword("inline")) {
      flags.Include(ffInline);
    } else if (!IsKeyword("object")) {
      Error("'object' expected");
    }
    Next();
    std::string name;
    std::string className = ExpectIdent();
    if (IsSymbol(':')) {
      Next();
      name = className;
      className = ExpectIdent();
    }
    int childPos = 0;
    if (IsSymbol('[')) {
      Next();
      if (tok_ != Tok::Integer) Error("Number expected");
      childPos = static_cast<int>(intValue_);
      flags.Include(ffChildPos);
      Next();
      Expect(']');
    }
    writer_.WritePrefix(flags, childPos);
    writer_.WriteStr(className);
    writer_.WriteStr(name);
    while (tok_ == Tok::Ident && !IsKeyword("end") && !IsObjectKeyword()) ConvertProperty();
    writer_.WriteListEnd();
    while (IsObjectKeyword()) ConvertObject();
    writer_.WriteListEnd();
    if (!IsKeyword("end")) Error("'end' expected");
    Next();
  }

  bool IsObjectKeyword() const { return IsKeyword("object") || IsKeyword("inherited") || IsKeyword("inline"); }

  void ConvertProperty() {
    const std::string name = ExpectIdent();
    writer_.WriteStr(name);
    Expect('=');
    ConvertValue();
  }

  void ConvertValue() {
    switch (tok_) {
      case Tok::String: {
        std::string value = token_;
        Next();
        while (IsSymbol('+')) {
          Next();
          if (tok_ != Tok::String) Error("String expected");
          value += token_;
          Next();
        }
        writer_.WriteString(value);
        return;
      }
      case Tok::Integer:
        writer_.WriteInteger(intValue_);
        Next();
        return;
      case Tok::Float:
        switch (floatSuffix_) {
          case 's':
            writer_.WriteSingle(static_cast<float>(floatValue_));
            break;
          case 'c':
            writer_.WriteCurrency(floatValue_);
            break;
          case 'd':
            writer_.WriteDate(static_cast<double>(floatValue_));
            break;
          case 'f':
            writer_.WriteDouble(static_cast<double>(floatValue_));
            break;
          default:
            writer_.WriteFloat(floatValue_);
            break;
        }
        Next();
        return;
      case Tok::Ident:
        writer_.WriteIdent(token_);
        Next();
        return;
      default:
        break;
    }
    if (IsSymbol('[')) {
      Next();
      writer_.WriteValue(vaSet);
      if (!IsSymbol(']')) {
        for (;;) {
          writer_.WriteStr(ExpectIdent());
          if (IsSymbol(']')) break;
          Expect(',');
        }
      }
      Next();
      writer_.WriteStr("");
    } else if (IsSymbol('(')) {
      Next();
      writer_.WriteListBegin();
      while (!IsSymbol(')')) {
        if (tok_ == Tok::End) Error("')' expected");
        ConvertValue();
      }
      Next();
      writer_.WriteListEnd();
    } else if (IsSymbol('{')) {
      ConvertBinary();
    } else if (IsSymbol('<')) {
      Next();
      writer_.WriteValue(vaCollection);
      while (!IsSymbol('>')) {
        if (!IsKeyword("item")) Error("'item' expected");
        Next();
        if (IsSymbol('[')) {
          Next();
          if (tok_ != Tok::Integer) Error("Number expected");
          writer_.WriteInteger(intValue_);
          Next();
          Expect(']');
        }
        writer_.WriteListBegin();
        while (!IsKeyword("end")) {
          if (tok_ != Tok::Ident) Error("'end' expected");
          ConvertProperty();
        }
        Next();
        writer_.WriteListEnd();
      }
      Next();
      writer_.WriteListEnd();
    } else {
      Error("Invalid property value");
    }
  }

  // The scan continues right after '{' in the raw text: hex digit pairs up to '}'.
  void ConvertBinary() {
    std::vector<unsigned char> data;
    int half = -1;
    for (;;) {
      if (pos_ >= text_.size()) Error("'}' expected");
      const char c = text_[pos_++];
      if (c == '}') break;
      if (c == '\n') ++line_;
      if (static_cast<unsigned char>(c) <= ' ') continue;
      int v;
      if (c >= '0' && c <= '9') {
        v = c - '0';
      } else if (c >= 'a' && c <= 'f') {
        v = c - 'a' + 10;
      } else if (c >= 'A' && c <= 'F') {
        v = c - 'A' + 10;
      } else {
        Error("Invalid binary value");
      }
      if (half < 0) {
        half = v;
      } else {
        data.push_back(static_cast<unsigned char>(half * 16 + v));
        half = -1;
      }
    }
    if (half >= 0) Error("Invalid binary value");
    writer_.WriteBinary(data.data(), static_cast<long long>(data.size()));
    Next();
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
  Tok tok_ = Tok::End;
  size_t tokenStart_ = 0;
  int tokenLine_ = 1;
  std::string token_;
  long long intValue_ = 0;
  long double floatValue_ = 0;
  char floatSuffix_ = 0;
  TWriter writer_;
};

std::string RemainingText(TStream& input) {
  const long long n = input.Size() - input.Position();
  std::string text(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (!text.empty()) input.ReadBuffer(text.data(), static_cast<long long>(text.size()));
  return text;
}

}  // namespace

void ObjectBinaryToText(TStream& input, TStream& output) {
  const std::string text = BinaryToText(input).Run();
  if (!text.empty()) output.WriteBuffer(text.data(), static_cast<long long>(text.size()));
}

void ObjectTextToBinary(TStream& input, TStream& output) {
  std::string text = RemainingText(input);
  // A byte-order mark of a UTF-8 file is not part of the layout.
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  TextToBinary(text, output).Run();
}

std::string ObjectBinaryToText(std::string_view binary) {
  TMemoryStream in, out;
  if (!binary.empty()) in.WriteBuffer(binary.data(), static_cast<long long>(binary.size()));
  in.SetPosition(0);
  ObjectBinaryToText(in, out);
  return std::string(static_cast<const char*>(out.Memory()) ? static_cast<const char*>(out.Memory()) : "",
                     static_cast<size_t>(out.Size()));
}

std::string ObjectTextToBinary(std::string_view text) {
  TMemoryStream in, out;
  if (!text.empty()) in.WriteBuffer(text.data(), static_cast<long long>(text.size()));
  in.SetPosition(0);
  ObjectTextToBinary(in, out);
  return std::string(static_cast<const char*>(out.Memory()) ? static_cast<const char*>(out.Memory()) : "",
                     static_cast<size_t>(out.Size()));
}

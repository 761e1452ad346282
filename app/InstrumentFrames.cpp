// Frame building and reading conversion. The reading conversion keeps the recorder's own
// definition (bit fields of the single, value limited to 4 decimals through "0.####") rather
// than a plain bit cast, so stored values match the recorder's history exactly.
#include "app/InstrumentFrames.h"

#include <cmath>

#include "app/Crc.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

const char kDigits[] = "0123456789ABCDEF";

[[noreturn]] void BadReading(std::string_view text) {
  throw EConvertError("'" + std::string(text) + "' is not a valid reading");
}

}  // namespace

std::string BuildFrame(std::string_view body) {
  std::string frame = "FE";
  frame += body;
  frame += CrcModbusHex(body);
  frame += "0A";
  return frame;
}

std::string HexToBytes(std::string_view hexText) {
  std::string bytes;
  bytes.reserve(hexText.size() / 2);
  for (size_t i = 0; i + 1 < hexText.size(); i += 2) {
    const int hi = HexDigitValue(hexText[i]);
    const int lo = HexDigitValue(hexText[i + 1]);
    bytes += static_cast<char>(hi < 0 || lo < 0 ? 0 : hi * 16 + lo);
  }
  return bytes;
}

void AppendHex(std::string& out, const unsigned char* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 15];
  }
}

std::string BytesToHex(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  AppendHex(out, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  return out;
}

std::string HexToBinText(std::string_view hexText) {
  std::string bits;
  bits.reserve(hexText.size() * 4);
  for (char c : hexText) {
    const int d = HexDigitValue(c);
    if (d < 0) BadReading(hexText);
    for (int b = 3; b >= 0; --b) bits += ((d >> b) & 1) ? '1' : '0';
  }
  return bits;
}

long long BinTextToInt(std::string_view binText) {
  long long value = 0;
  for (char c : binText) value = value * 2 + (c == '1' ? 1 : 0);
  return value;
}

double BinFractionValue(std::string_view binText) {
  double value = 0;
  double weight = 0.5;
  for (char c : binText) {
    if (c == '1') value += weight;
    weight /= 2;
  }
  return value;
}

double HexToFloatValue(std::string_view hexText) {
  if (hexText.size() != 8) BadReading(hexText);
  const std::string bits = HexToBinText(hexText);
  const bool negative = bits[0] == '1';
  const long long exponent = BinTextToInt(std::string_view(bits).substr(1, 8));
  const double fraction = BinFractionValue(std::string_view(bits).substr(9, 23));
  const double value = std::ldexp(1.0 + fraction, static_cast<int>(exponent - 127));
  const double kept = static_cast<double>(StrToFloat(FormatFloat("0.####", value)));
  return negative ? -kept : kept;
}

std::string ReadingText(std::string_view receivedHex, int pointMode) {
  if (receivedHex.size() != 8) BadReading(receivedHex);
  const char reversed[8] = {receivedHex[6], receivedHex[7], receivedHex[4], receivedHex[5],
                            receivedHex[2], receivedHex[3], receivedHex[0], receivedHex[1]};
  const double value = HexToFloatValue(std::string_view(reversed, 8));
  return FormatFloat(pointMode == 2 ? "0.00" : "0.0", value);
}

// The instrument's wire format as frame text: request frames, the hex text <-> bytes steps taken
// at the port, and the conversion of the 4-byte readings into numbers and display texts.
// Frames are upper-case hex text, two digits a byte, and become bytes only at the port.
#pragma once

#include <string>
#include <string_view>

// "FE" + body + CrcModbusHex(body) + "0A": BuildFrame("000122") = "FE000122F0490A".
std::string BuildFrame(std::string_view body);

// Each pair of hex digits (upper or lower case) becomes one byte (a char); an odd last digit is
// dropped. A pair holding a non-hex digit gives the byte 0. Also turns reply data into the
// characters of product number, model and labels.
std::string HexToBytes(std::string_view hexText);

// Bytes as upper-case hex text, two digits each.
std::string BytesToHex(std::string_view bytes);
// Appends `count` bytes as upper-case hex text to `out`.
void AppendHex(std::string& out, const unsigned char* bytes, size_t count);

// Each hex digit as its 4 bits ("A" -> "1010"); a text holding a non-hex digit raises
// EConvertError.
std::string HexToBinText(std::string_view hexText);
// A text of '0'/'1' characters read as an unsigned base-2 number.
long long BinTextToInt(std::string_view binText);
// The sum of bit k x 2^-k over the characters, k = 1..n.
double BinFractionValue(std::string_view binText);

// A reading given as 8 hex digits, most significant byte first (the received little-endian
// bytes reversed), as the IEEE single it encodes, kept to at most 4 decimals: sign, exponent
// and fraction taken from the bits with no special case for exponent 0 or 255 (an all-zero
// reading gives 0). Raises EConvertError when the text is not 32 bits of hex.
double HexToFloatValue(std::string_view hexText);

// The display and storage text of one received reading: `receivedHex` holds the 4 bytes as they
// came (8 hex digits, least significant byte first); the value is formatted "0.00" when
// pointMode is 2, else "0.0". Raises EConvertError as HexToFloatValue does.
std::string ReadingText(std::string_view receivedHex, int pointMode);

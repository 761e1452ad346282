// CRC-16/MODBUS over frame text (bytes written as hex digits), the check value that guards the
// instrument's requests and replies.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The value of one hex digit (upper or lower case), or -1 for any other character. Frame text
// is read with it everywhere.
int HexDigitValue(char c);

// Fills the two MODBUS lookup tables (low result byte table, high result byte table) from their
// fixed text form.
void BuildCrcTables(uint8_t (&low)[256], uint8_t (&high)[256]);

// CRC-16/MODBUS (init $FFFF, reflected polynomial $A001, no final xor) of the bytes given as hex
// text (upper or lower case), returned as four upper-case hex digits, low byte first:
// "313233343536373839" -> "374B", "" -> "FFFF". An odd last digit is ignored; a text holding a
// non-hex digit gives "-1" (which never equals a received CRC). Never raises.
std::string CrcModbusHex(std::string_view hexText);

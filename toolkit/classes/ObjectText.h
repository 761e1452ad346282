// The text form of the layout stream and its converters both ways. Window layouts are written
// in it ("object Name: TClass" ... "end", one "Property = value" per line) and compiled into
// the binary form for the program's resources; tests use it to show what was written.
//   integers 12, -3         floats 1.5 (Extended), 1.5s (Single), 1.5f (Double),
//   strings 'it''s'#13#10    1.5c (Currency), 45000.5d (Date)
//   identifiers clRed True   sets [fsBold, fsItalic]     lists ( 'a' 'b' )
//   binary { 0A0B... }        collections < item ... end >   nested names Font.Name = 'Arial'
// Children follow their parent's properties; "inherited" marks a component of the ancestor
// and "[n]" after the class its child position.
#pragma once

#include <string>
#include <string_view>

#include "toolkit/rtl/SysUtils.h"

class TStream;

// A fault in layout text; the message ends with " on line N".
VK_DECLARE_EXCEPTION(EParserError, Exception);

// Converts one binary layout (from the stream's position) into text. EReadError on a damaged
// stream ("Invalid stream format").
void ObjectBinaryToText(TStream& input, TStream& output);
// Converts one text layout into the binary form. EParserError "%s on line %d" on bad text.
void ObjectTextToBinary(TStream& input, TStream& output);

// The same over strings.
std::string ObjectBinaryToText(std::string_view binary);
std::string ObjectTextToBinary(std::string_view text);

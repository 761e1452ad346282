// Reading a window layout from a stream or from the program's resources, in either form: the
// binary property stream ("TPF0") or its text form (converted on the way). A window is loaded
// from the RCDATA resource named after its class ("TFRMMAIN" for TFrmMain).
// Load a layout only once the root's object is fully constructed: handler names are looked up
// on the root's most derived class, which a base-class constructor does not see yet.
#pragma once

#include <string_view>

#include "toolkit/system/WinApi.h"

class TStream;
class TComponent;

enum TStreamOriginalFormat { sofUnknown, sofBinary, sofText };

// What the stream holds at its position (the position is kept): the binary signature, text
// starting with "object"/"inherited"/"inline" (after blanks or a UTF-8 byte-order mark), or
// neither.
TStreamOriginalFormat TestStreamFormat(TStream& stream);

// Reads the layout at the stream's position into `instance` (a new root of the stream's class
// when null) and answers the root. EReadError "Invalid stream format" for anything else;
// otherwise as TReader::ReadRootComponent.
TComponent* ReadLayout(TStream& stream, TComponent* instance);

// Reads the RCDATA resource `name` of `module` (null: the program) into `instance`. False when
// the module has no such resource; raises as ReadLayout when it has one that cannot be read.
bool ReadComponentRes(std::string_view name, TComponent* instance, HMODULE module = nullptr);

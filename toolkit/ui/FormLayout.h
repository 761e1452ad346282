// Reading a form's layout. A form class's layout is stored in the program as an RCDATA
// resource named after the class in upper case (TFRMMAIN for TFrmMain). The resource holds the
// text form of the layout as authored (the build embeds the .dfm file unchanged); it is
// converted to the binary property stream when read, so the text is the one source and no
// build-time conversion step is needed. A resource that already holds the binary stream
// ("TPF0") is read as it is. The reading itself is the component model's (LayoutResource.h);
// this is the forms' entry to it.
#pragma once

#include <string_view>

#include "toolkit/system/WinApi.h"

class TComponent;
class TStream;

// Reads the layout resource of `instance`'s class into it, when the program has one; answers
// whether it did. Raises what the reader raises (EClassNotFound, EReadError ...).
bool LoadFormLayout(TComponent* instance);
// Reads a layout (text or binary) from a stream into `instance` (its properties, children and
// handler bindings), then runs Loaded on everything read.
void ReadFormLayout(TComponent* instance, TStream& stream);
// The module layouts are looked up in (the program by default).
void SetLayoutModule(HMODULE module);

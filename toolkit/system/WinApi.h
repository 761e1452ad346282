// The one place that includes <windows.h>. Every other file includes this header instead, so
// the lean/NOMINMAX settings hold everywhere and the platform's function-name macros that
// collide with toolkit method names (TextOut, DrawText, GetObject, CreateFont ...) are gone.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef TextOut
#undef DrawText
#undef GetObject
#undef CreateFont
#undef CreateWindow
#undef LoadBitmap
#undef LoadIcon
#undef LoadCursor
#undef MessageBox
#undef GetMessage
#undef PostMessage
#undef SendMessage
#undef GetClassName
#undef RegisterClass
#undef CopyFile
#undef DeleteFile
#undef MoveFile
#undef CreateDirectory
#undef RemoveDirectory
#undef FindText
#undef GetCurrentTime
#undef Yield
#undef min
#undef max

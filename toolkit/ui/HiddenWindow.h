// Hidden message-only windows for objects that need a window procedure but no control: timers,
// the application's hint timer, notification receivers. The method receives every message;
// what it leaves with Result 0 and does not handle should be passed to DefWindowProc by the
// method itself (DefHiddenWindowProc).
#pragma once

#include "toolkit/ui/Messages.h"

// Makes a hidden window whose messages go to `method`. An exception escaping the method goes
// to the application's exception handling. Destroy it with DeallocateHWnd.
HWND AllocateHWnd(TWndMethod method);
void DeallocateHWnd(HWND window);
// The platform's default handling of a message of a hidden window.
void DefHiddenWindowProc(HWND window, TMessage& message);

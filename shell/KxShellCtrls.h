// Start-up and shut-down of the shell controls' shared state: OLE (drag and drop, the
// clipboard), the "Shell IDList Array" clipboard format, and the mouse hover settings that
// automatic expansion during a drag uses. Runs after ShellUtilsStartup, ends before its shutdown.
#pragma once

#include "shell/KxShellIntf.h"

void ShellCtrlsStartup();
// Frees the send-to list and uninitialises OLE when the start-up initialised it.
void ShellCtrlsShutdown();

// The registered clipboard format "Shell IDList Array" (0 before start-up).
UINT ShellIdListFormat();

// The system's hover time (ms), width and height (pixels); 400, 2 and 2 when unreadable.
struct TKxMouseHover {
  UINT Time = 400;
  UINT Width = 2;
  UINT Height = 2;
};
const TKxMouseHover& MouseHover();

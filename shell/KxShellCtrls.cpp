// Shared start-up state of the shell controls.
#include "shell/KxShellCtrls.h"

#include <ole2.h>

#include "shell/KxShellMenus.h"

namespace {
bool oleStarted = false;
UINT idListFormat = 0;
TKxMouseHover hover;
}  // namespace

void ShellCtrlsStartup() {
  idListFormat = RegisterClipboardFormatW(L"Shell IDList Array");
  if (!oleStarted) oleStarted = SUCCEEDED(OleInitialize(nullptr));
  hover = {};
  UINT value = 0;
  if (SystemParametersInfoW(SPI_GETMOUSEHOVERTIME, 0, &value, 0)) hover.Time = value;
  if (SystemParametersInfoW(SPI_GETMOUSEHOVERWIDTH, 0, &value, 0)) hover.Width = value;
  if (SystemParametersInfoW(SPI_GETMOUSEHOVERHEIGHT, 0, &value, 0)) hover.Height = value;
}

void ShellCtrlsShutdown() {
  FreeSendToList();
  if (oleStarted) OleUninitialize();
  oleStarted = false;
}

UINT ShellIdListFormat() { return idListFormat; }

const TKxMouseHover& MouseHover() { return hover; }

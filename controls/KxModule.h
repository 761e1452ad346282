// Start-up and shut-down of the control set, called by the program's entry after the window
// toolkit's (InitControls) and before any control exists; DoneControlSet before DoneControls.
// Start-up reads the desktop colour scheme and the display's colour depth and registers the
// control set's classes that layouts may name.
#pragma once

void InitControlSet();
// Frees what the control set keeps for the process (an idle blink list).
void DoneControlSet();

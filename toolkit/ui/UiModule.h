// Start-up and shut-down of the window toolkit, called in this order by the program's entry
// (and by test mains): InitGraphics, InitControls ... DoneControls, DoneGraphics. InitControls
// makes Application and Screen, initialises the common controls and registers the control
// and form classes layouts may name.
#pragma once

void InitControls();
void DoneControls();

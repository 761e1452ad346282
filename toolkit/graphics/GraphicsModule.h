// Start-up and shut-down of the graphics module: registers the graphic classes for layouts and
// the picture file formats, and takes the screen's resolution. Called by the program's entry
// (and every test main) before any window is made; nothing here runs from static constructors.
#pragma once

void InitGraphics();
void DoneGraphics();

// Logical pixels per inch of the screen (vertical); taken at InitGraphics, or on first use.
int ScreenPixelsPerInch();

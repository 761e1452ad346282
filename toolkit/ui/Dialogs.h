// Simple message boxes of the program, all through the application's MessageBox (and so its
// hook): ShowMessage (OK, the application's title) and MessageDlg-style questions.
#pragma once

#include <string>

#include "toolkit/system/WinApi.h"

void ShowMessage(const std::string& text);

// Reading the layouts of the history import's windows (progress window and the four dialogs):
// each layout is kept as text beside its form's code and read into the form when it is made.
// The control classes those layouts name (the toolkit's and the control set's) are registered
// here (once; again does nothing).
#pragma once

#include <string_view>

class TComponent;

// Registers the control classes the layouts use, then reads `layoutText` into `form`.
// Raises what the layout reader raises.
void ReadDialogLayout(TComponent* form, std::string_view layoutText);

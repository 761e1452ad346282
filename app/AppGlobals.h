// Process-wide state of the recorder, shared by its windows, the acquisition thread and the
// storage routines. Written once at start-up unless noted.
#pragma once

#include <string>

// The program's folder, with a trailing backslash; set once by the entry.
extern std::string AppPath;

// The folder part (with trailing backslash) of the running executable's full path.
std::string ExecutableFolder();
// The running executable's full path.
std::string ExecutablePath();

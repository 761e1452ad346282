// Reading a file's version resource as the "major.minor.release.build" text the main window's
// caption shows.
#pragma once

#include <string>

// The four 16-bit parts of the fixed file version of the file at `path` (UTF-8), formatted
// "%d.%d.%d.%d"; "0.0.0.0" when the file has no version information or its root block cannot
// be read. Never throws.
std::string GetFileVersionText(const std::string& path);

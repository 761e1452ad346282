// File routines of the shell controls: a new folder with a free default name, sizes as
// kilobyte texts, and the size / modified / type texts of an item's details.
#pragma once

#include <cstdint>
#include <string>

#include "shell/KxIdList.h"

// Shows a warning (OK button) to the user; replaceable so that tests see the text.
using TKxWarningBox = void (*)(const std::string& text);
void SetShellWarningBox(TKxWarningBox box);  // nil: the platform's message box
void ShowShellWarning(const std::string& text);

// Creates the first free of "New Folder", "New Folder (2)" ... "New Folder (50)", else of
// "fldr", "fldr2" ... "fldr50", in `directory` (a separator appended once). True with `name`
// set on success. On failure one warning "Unable to create the folder '<name>'\n\n<reason>"
// names the real reason: the system's text for the last error other than "already exists"
// with the name it was met on, or for "already exists" with "New Folder" when every name was
// taken. An empty directory is refused (the process's current folder is no choice of the user).
bool CreateNewFolderIn(const std::string& directory, std::string& name);

// The size in kilobytes, rounded up, with thousands separators: 0 -> "0KB", 1025 -> "2KB".
std::string FormatKilobytes(uint64_t bytes);

// The details of an absolute item: size (files only), last-write time (the creation time when
// that is 0) in local time with the short date and time formats, and the shell's type name
// ("System Folder" for items outside the file system). Texts stay empty where nothing is known.
void FileDetailsTexts(PCIDL absolute, std::string& sizeText, std::string& modifiedText,
                      std::string& typeText);

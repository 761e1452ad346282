// The daily log: one file per day and kind under AppPath "Log\<year>\<month>\", one line per
// message stamped "[yyyy-mm-dd hh:mm:ss:zzz] ", written in the ANSI code page. Each write first
// removes the tree of the year before last, so the log never holds more than two years. The log
// never reports its own failures: a line that cannot be written is lost.
#pragma once

#include <string>
#include <string_view>

#include "toolkit/rtl/SysUtils.h"

// Appends one line with the current local time to the day's file of `kind` ("except", "Except",
// "except_2", "warning", "log"; the kind goes into the file name as given), holding LogLock for
// the whole call. Never raises.
void WriteLog(std::string_view message, std::string_view kind);
// WriteLog with a given time instead of the clock (the pruning year, the folders, the file name
// and the stamp all follow `now`).
void WriteLogAt(std::string_view message, std::string_view kind, TDateTime now);

// The file a log line of `kind` written at `now` goes to.
std::string LogFilePath(std::string_view kind, TDateTime now);

// Deletes the folder with every file and subfolder in it. Stops at the first entry that cannot
// be deleted and returns false; a missing folder gives true.
bool DeleteDirectoryTree(const std::string& path);

// `path` with blanks trimmed and a trailing "\" added when missing; an empty text stays empty.
std::string IncludeBackslash(std::string_view path);

// History import: the instrument's data files (267-byte records: time and 64 readings) are
// copied into olddata, one file or every data file of a folder, each file in one transaction
// through the direct SQLite interface while the shared connection is closed. Progress goes to
// the progress sink (TMyComponent) as its WM_USER+399..404 messages; the progress window's stop
// button sets AbortRequested, which is polled before each record and after each file.
//
// States of one run (window thread only):
//
//   idle --ImportHistory--> file k: info read --> records inserted --> committed --+--> file k+1
//                                       |               |  AbortRequested           |
//                                       | unreadable    +--> rolled back --> aborted |
//                                       +--> skipped (log line) ---------------------+
//   any exception --> rolled back --> failed ("file import except!!!")     last file --> done
//
// A data file is skipped (one log line) when its information file is missing, unreadable, holds a
// module count outside 1..8, or would be the data file itself. Records whose time cannot exist are
// left out, with one log line per file naming their count. A folder whose data files were all
// skipped ends as "No valid data file found.".
//
// Invariant: whenever ImportHistoryFile returns or raises, DbConnection is connected again and
// the direct database object is released.
#pragma once

#include <string>
#include <string_view>

constexpr int kHistoryRecordSize = 267;
constexpr int kHistoryInfoRecordSize = 2584;

enum class THistoryImportMode { File, Folder };

// How one data file ended.
enum class THistoryFileResult {
  Imported,  // committed
  Skipped,   // information file missing, unreadable or not applicable: nothing written
  Aborted,   // AbortRequested seen before a record: nothing of the file kept
};

// How a whole import ended (what the message box then says).
enum class THistoryImportOutcome {
  FileDone,    // file mode: no message
  NoDataFile,  // "No valid data file found."
  Aborted,     // "The import was aborted."
  Complete,    // "The import is complete."
  Failed,      // an exception: logged "file import except!!!", no message
};

// `text` with zeros in front up to `width` characters; a longer text is unchanged.
std::string PadZeros(std::string_view text, int width);

// The record's time (bytes 4-10: big-endian year, month, day, hour, minute, second) as
// year + "-" + mm + "-" + dd + " " + hh + ":" + nn + ":" + ss (year plain, the rest two digits).
std::string InstrumentRecordTime(const unsigned char* record);

// The information file of a data file: the first lower-case "data" in the file's name (not in
// its folders) replaced by "information", else the first "DATA" by "INFORMATION"; a name with
// neither gives the path unchanged (and the data file is then skipped).
std::string HistoryInfoFileName(const std::string& dataPath);

// True when the record's time (see InstrumentRecordTime) can exist: year 1..9999, month 1..12, a
// day of that month, hour below 24, minute and second below 60. Erased records (all $00 or $FF)
// fail.
bool IsPossibleRecordTime(const unsigned char* record);
// A file chosen in the dialog is a data file when its path contains "_data.bin" (case matters).
bool IsChosenHistoryDataFile(std::string_view path);
// A folder entry is a data file when its upper-cased full path contains "_DATA.BIN".
bool IsFolderHistoryDataFile(std::string_view path);

// The reading text of one stored reading (4 bytes, little-endian single): the reading
// conversion of the instrument link, "0.00" when pointMode is 2, else "0.0".
std::string HistoryReadingText(const unsigned char* bytes, int pointMode);

// Reads the first information record; when its module count or decimal mode differs from
// ModuleCount / PointMode, updates config and the shared value. False when the file cannot be
// opened or read, its module count lies outside 1..8, or an update fails.
bool ReadHistoryInfo(const std::string& infoPath);

// Imports one data file (see the states above). A skipped file gets one "except" log line
// naming it. Raises on a database error or a read error of the data file, after rolling the
// file back and reopening the shared connection.
THistoryFileResult ImportHistoryFile(const std::string& dataPath);

// The import without its closing message: AbortRequested := 0, then the file, or every data
// file of the folder (in the order the file system lists them) until AbortRequested is set.
// Closes the progress window in every case; an exception ends the run, is logged
// "file import except!!!" (kind "except") and gives Failed.
THistoryImportOutcome RunHistoryImport(THistoryImportMode mode, const std::string& fileName,
                                       const std::string& folder);

// RunHistoryImport, then its closing message (titled "prompt"): "No valid data file found.",
// or, only while StopRequested is clear, "The import was aborted." / "The import is
// complete." with the warning icon. File mode and failures show nothing.
void ImportHistory(THistoryImportMode mode, const std::string& fileName, const std::string& folder);

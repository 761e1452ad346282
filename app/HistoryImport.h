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
// skipped ends as "No valid data file found.". A folder walk looks at regular files only (not
// directories, devices or offline placeholders), whatever other attributes they carry. A
// failure is never shown as a finished import: a failed run, and a file-mode import whose file
// was skipped, end with a warning naming the file and the reason.
//
// Invariant: whenever ImportHistoryFile returns or raises, DbConnection is connected again and
// the direct database object is released.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

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
  FileDone,     // file mode: no message
  FileSkipped,  // file mode, the file skipped (its information file unusable): a warning
  NoDataFile,   // "No valid data file found."
  Aborted,      // "The import was aborted."
  Complete,     // "The import is complete."
  Failed,       // an exception: logged "file import except!!!" and a warning
};

// Why an import did not finish: the file it stopped at and the reason (FileSkipped, Failed), and
// how many files of the folder were imported before it (they stay).
struct THistoryImportFailure {
  std::string file;
  std::string reason;
  int importedBefore = 0;
};

// One entry of a folder listing, as the file system gives it.
struct THistoryFolderEntry {
  std::string name;
  uint32_t attributes = 0;
};
// Lists the entries of a folder (its path ends in "\") in the order the file system returns
// them; an empty list when it cannot be listed.
using THistoryFolderLister = std::function<std::vector<THistoryFolderEntry>(const std::string& folder)>;
// The file system's listing ("*.*", all attributes, "." and ".." included).
std::vector<THistoryFolderEntry> ListHistoryFolder(const std::string& folder);
// Whether a folder entry with these attributes is a regular file that the import may read: not
// a directory, a device or an offline (not locally present) placeholder. Any other attribute
// (normal, archive, read-only, compressed, encrypted, sparse, temporary, not indexed …) is fine.
bool IsRegularFileEntry(uint32_t attributes);

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
// opened or read, its module count lies outside 1..8, or an update fails; `why` (when given)
// then says which.
bool ReadHistoryInfo(const std::string& infoPath, std::string* why = nullptr);

// Imports one data file (see the states above). A skipped file gets one "except" log line
// naming it, and `skipReason` (when given) the reason. Raises on a database error or a read
// error of the data file, after rolling the file back and reopening the shared connection.
THistoryFileResult ImportHistoryFile(const std::string& dataPath, std::string* skipReason = nullptr);

// The import without its closing message: AbortRequested := 0, then the file, or every data
// file of the folder (listed by `list`, in the order it gives them) until AbortRequested is set.
// Closes the progress window in every case; an exception ends the run, is logged
// "file import except!!!" (kind "except") and gives Failed. `failure` (when given) receives the
// file and reason of FileSkipped and Failed.
THistoryImportOutcome RunHistoryImport(THistoryImportMode mode, const std::string& fileName,
                                       const std::string& folder, THistoryImportFailure* failure = nullptr,
                                       const THistoryFolderLister& list = ListHistoryFolder);

// The warning that ends a failed or skipped import: the file, the reason and, in a folder, that
// the files imported before it are kept.
std::string HistoryImportFailureText(const THistoryImportFailure& failure);

// RunHistoryImport, then its closing message (titled "prompt", warning icon): "No valid data
// file found.", the failure warning (FileSkipped, Failed), or, only while StopRequested is clear,
// "The import was aborted." / "The import is complete.". A finished file-mode import shows
// nothing.
void ImportHistory(THistoryImportMode mode, const std::string& fileName, const std::string& folder);

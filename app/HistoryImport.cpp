// History import: file pairing, record decoding and the per-file transaction.
#include "app/HistoryImport.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "app/AppGlobals.h"
#include "app/DailyLog.h"
#include "app/Database.h"
#include "app/InstrumentFrames.h"
#include "app/LiteralInsert.h"
#include "app/MyComponent.h"
#include "app/PollReadings.h"
#include "app/RecordFile.h"
#include "toolkit/data/SQLiteDatabase.h"
#include "toolkit/data/ZConnection.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"
#include "toolkit/ui/Application.h"

namespace {

// Attributes of folder entries that are no regular file to read: a directory, a device, and
// placeholders whose data is not on the disk (offline, recall on open, recall on data access:
// reading them would fetch them from elsewhere or fail).
constexpr uint32_t kNotARegularFile = 0x10 | 0x40 | 0x1000 | 0x40000 | 0x400000;

// One file's hold on the database: the direct connection is open and the shared one closed.
// However the file ends, the direct connection is released first (without COMMIT unless
// Finish ran, which drops the file's rows) and then the shared connection is opened again.
// The normal path calls Finish so that a failure there is reported; the destructor is the
// safety net of the failure paths and never raises.
class DirectDatabaseScope {
 public:
  DirectDatabaseScope()
      : db_(std::make_unique<TSQLiteDatabase>(DatabaseFileName())),
        insert_(std::make_unique<TLiteralInsert>(db_->Handle(), "olddata")) {
    if (DbConnection) DbConnection->Disconnect();
  }
  ~DirectDatabaseScope() {
    insert_.reset();
    db_.reset();
    if (reopened_ || !DbConnection) return;
    try {
      DbConnection->Connect();
    } catch (...) {
      // The connection stays closed; the caller is already failing with its own error.
    }
  }
  DirectDatabaseScope(const DirectDatabaseScope&) = delete;
  DirectDatabaseScope& operator=(const DirectDatabaseScope&) = delete;

  TSQLiteDatabase& Db() { return *db_; }
  // Runs one olddata insert text.
  void Insert(std::string_view sql) { insert_->Exec(sql); }

  // Commits when asked, reopens the shared connection, then releases the direct one.
  void Finish(bool commit) {
    insert_.reset();  // its statement must not outlive the transaction
    if (commit) db_->Commit();
    reopened_ = true;
    if (DbConnection) DbConnection->Connect();
    db_.reset();
  }

 private:
  std::unique_ptr<TSQLiteDatabase> db_;
  std::unique_ptr<TLiteralInsert> insert_;
  bool reopened_ = false;
};

// Reading texts are a pure function of the 4 stored bytes and the decimal mode; recordings
// repeat the same few hundred values, so a small direct-mapped cache saves the conversion.
struct ReadingCacheEntry {
  uint32_t bits = 0;
  int pointMode = 0;  // 0: empty slot
  std::string text;
};

ReadingCacheEntry& CacheSlot(uint32_t bits) {
  static std::vector<ReadingCacheEntry> cache(4096);
  const uint32_t hash = (bits ^ (bits >> 13) ^ (bits >> 21)) & 4095u;
  return cache[hash];
}

std::string ReadingTextUncached(const unsigned char* bytes, int pointMode) {
  std::string hex;
  hex.reserve(8);
  AppendHex(hex, bytes, 4);
  return ReadingText(hex, pointMode);
}

// The computer's date-time as "yyyy-mm-dd hh:mm:ss", formatted again only when the second
// changes.
class NowText {
 public:
  const std::string& Text() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    if (text_.empty() || t.wSecond != last_.wSecond || t.wMinute != last_.wMinute || t.wHour != last_.wHour ||
        t.wDay != last_.wDay || t.wMonth != last_.wMonth || t.wYear != last_.wYear) {
      last_ = t;
      text_ = FormatDateTime("yyyy-mm-dd hh:mm:ss", Now());
    }
    return text_;
  }

 private:
  SYSTEMTIME last_{};
  std::string text_;
};

// The column list "val1,...,valN," of N channels.
std::string ColumnList(int channels) {
  std::string list;
  for (int c = 1; c <= channels; ++c) list += "val" + IntToStr(c) + ",";
  return list;
}

void LogSkippedFile(const std::string& dataPath, const std::string& infoPath) {
  WriteLog("import file skipped :" + dataPath + " information file missing or unreadable :" + infoPath,
           "except");
}

void SetReason(std::string* out, const std::string& reason) {
  if (out) *out = reason;
}

}  // namespace

std::string PadZeros(std::string_view text, int width) {
  std::string padded;
  if (static_cast<int>(text.size()) < width) padded.assign(static_cast<size_t>(width) - text.size(), '0');
  padded += text;
  return padded;
}

std::string InstrumentRecordTime(const unsigned char* record) {
  const int year = record[4] * 256 + record[5];
  std::string time = IntToStr(year);
  time += "-" + PadZeros(IntToStr(record[6]), 2);
  time += "-" + PadZeros(IntToStr(record[7]), 2);
  time += " " + PadZeros(IntToStr(record[8]), 2);
  time += ":" + PadZeros(IntToStr(record[9]), 2);
  time += ":" + PadZeros(IntToStr(record[10]), 2);
  return time;
}

std::string HistoryInfoFileName(const std::string& dataPath) {
  const size_t slash = dataPath.find_last_of("\\/:");
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  std::string info = dataPath;
  size_t at = dataPath.find("data", nameStart);
  if (at != std::string::npos) return info.replace(at, 4, "information");
  // Folder imports take upper-case names too (A_DATA.BIN pairs with A_INFORMATION.BIN).
  at = dataPath.find("DATA", nameStart);
  if (at != std::string::npos) return info.replace(at, 4, "INFORMATION");
  return info;
}

bool IsPossibleRecordTime(const unsigned char* record) {
  const int year = record[4] * 256 + record[5];
  const int month = record[6];
  const int day = record[7];
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const int days = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
  return day <= days && record[8] < 24 && record[9] < 60 && record[10] < 60;
}

bool IsChosenHistoryDataFile(std::string_view path) {
  return path.find("_data.bin") != std::string_view::npos;
}

bool IsFolderHistoryDataFile(std::string_view path) {
  return UpperCase(path).find("_DATA.BIN") != std::string::npos;
}

std::string HistoryReadingText(const unsigned char* bytes, int pointMode) {
  uint32_t bits;
  std::memcpy(&bits, bytes, 4);
  ReadingCacheEntry& slot = CacheSlot(bits);
  if (slot.pointMode != pointMode || slot.bits != bits) {
    slot.text = ReadingTextUncached(bytes, pointMode);
    slot.bits = bits;
    slot.pointMode = pointMode;
  }
  return slot.text;
}

bool ReadHistoryInfo(const std::string& infoPath, std::string* why) {
  int moduleCount = 0;
  int decimalMode = 0;
  try {
    TRecordFile file(infoPath, kHistoryInfoRecordSize);
    if (file.Eof()) {
      SetReason(why, "The information file " + infoPath + " is shorter than one record.");
      return false;
    }
    const unsigned char* record = file.Next();
    moduleCount = record[13];
    decimalMode = record[14] == 0x01 ? 2 : 1;
  } catch (const Exception& e) {
    SetReason(why, "The information file " + infoPath + " cannot be read: " + e.Message());
    return false;
  }
  // The tables and arrays hold 8 modules; anything else is not an information record.
  if (moduleCount < 1 || moduleCount > 8) {
    SetReason(why, "The information file " + infoPath + " gives " + IntToStr(moduleCount) +
                       " modules (1 to 8 are possible).");
    return false;
  }
  const std::string notStored = "The module count and decimal mode of the information file could not be stored.";
  if (moduleCount != ModuleCount) {
    if (!ExecSqlCommand("update config set modecnt='" + IntToStr(moduleCount) + "'")) {
      SetReason(why, notStored);
      return false;
    }
    ModuleCount = moduleCount;
  }
  if (decimalMode != PointMode) {
    if (!ExecSqlCommand("update config set pointcnt='" + IntToStr(decimalMode) + "'")) {
      SetReason(why, notStored);
      return false;
    }
    PointMode = decimalMode;
  }
  return true;
}

THistoryFileResult ImportHistoryFile(const std::string& dataPath, std::string* skipReason) {
  const std::string infoPath = HistoryInfoFileName(dataPath);
  // A data file is never read as its own information record.
  if (infoPath == dataPath) {
    SetReason(skipReason, "Its name holds no \"data\" from which to name its information file.");
    LogSkippedFile(dataPath, infoPath);
    return THistoryFileResult::Skipped;
  }
  if (!ReadHistoryInfo(infoPath, skipReason)) {
    LogSkippedFile(dataPath, infoPath);
    return THistoryFileResult::Skipped;
  }

  DirectDatabaseScope scope;
  TSQLiteDatabase& db = scope.Db();
  db.BeginTransaction();
  const DWORD started = GetTickCount();
  TRecordFile file(dataPath, kHistoryRecordSize);
  const long long count = file.RecordCount();

  SendProgressText("To start importing the file: " + dataPath);
  SendProgressReset();
  SendProgressMax(count);

  // The gauge moves in steps of a hundredth of the file (at most 1000 records, so the stop
  // button is seen within a fraction of a second): every step repaints the progress window,
  // which costs far more than a record. AbortRequested is still tested before each record.
  const int stepEvery = static_cast<int>(std::clamp<long long>(count / 100, 1, 1000));
  int pendingSteps = 0;
  const int channels = 8 * ModuleCount;
  const int pointMode = PointMode;
  const std::string columns = ColumnList(channels);
  NowText clock;
  int impossibleTimes = 0;
  std::string values;
  values.reserve(static_cast<size_t>(channels) * 8);
  while (!file.Eof()) {
    if (AbortRequested != 0) {
      file.Close();
      scope.Finish(false);  // no COMMIT: none of the file's rows remain
      return THistoryFileResult::Aborted;
    }
    const unsigned char* record = file.Next();
    if (IsPossibleRecordTime(record)) {
      values.clear();
      for (int c = 0; c < channels; ++c) {
        values += HistoryReadingText(record + 11 + 4 * c, pointMode);
        values += ',';
      }
      scope.Insert(OldDataInsertSql(columns, values, InstrumentRecordTime(record), clock.Text()));
    } else {
      // An erased or damaged record: stored, its time text would sort before or after every
      // real one and spoil the history's time range.
      ++impossibleTimes;
    }
    if (++pendingSteps >= stepEvery) {
      SendProgressStep(pendingSteps);
      pendingSteps = 0;
    }
  }
  if (pendingSteps > 0) SendProgressStep(pendingSteps);
  file.Close();
  scope.Finish(true);
  if (impossibleTimes > 0)
    WriteLog("import file :" + dataPath + " records skipped, impossible time:" + IntToStr(impossibleTimes),
             "except");
  const DWORD elapsed = GetTickCount() - started;
  WriteLog("import file :" + dataPath + " Take time(s):" + FloatToStr(elapsed / 1000.0L), "log");
  return THistoryFileResult::Imported;
}

std::vector<THistoryFolderEntry> ListHistoryFolder(const std::string& folder) {
  std::vector<THistoryFolderEntry> entries;
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW(Utf8ToWide(folder + "*.*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return entries;
  do {
    entries.push_back({WideToUtf8(entry.cFileName), entry.dwFileAttributes});
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return entries;
}

bool IsRegularFileEntry(uint32_t attributes) { return (attributes & kNotARegularFile) == 0; }

THistoryImportOutcome RunHistoryImport(THistoryImportMode mode, const std::string& fileName,
                                       const std::string& folder, THistoryImportFailure* failure,
                                       const THistoryFolderLister& list) {
  AbortRequested = 0;
  THistoryImportFailure local;
  THistoryImportFailure& failed = failure ? *failure : local;
  failed = {};
  try {
    if (mode == THistoryImportMode::File) {
      failed.file = fileName;
      const THistoryFileResult result = ImportHistoryFile(fileName, &failed.reason);
      SendProgressClose();
      return result == THistoryFileResult::Skipped ? THistoryImportOutcome::FileSkipped
                                                   : THistoryImportOutcome::FileDone;
    }
    std::string dir = folder;
    if (dir.empty() || dir.back() != '\\') dir += '\\';
    failed.file = dir;
    int found = 0;
    int usable = 0;  // data files imported or stopped in, not skipped
    for (const THistoryFolderEntry& entry : list(dir)) {
      if (entry.name == "." || entry.name == "..") continue;
      if (!IsRegularFileEntry(entry.attributes)) continue;
      const std::string path = dir + entry.name;
      if (!IsFolderHistoryDataFile(path)) continue;
      failed.file = path;
      const THistoryFileResult result = ImportHistoryFile(path);
      if (result != THistoryFileResult::Skipped) ++usable;
      if (result == THistoryFileResult::Imported) ++failed.importedBefore;
      ++found;
      if (AbortRequested != 0) break;
    }
    SendProgressClose();
    // Every data file skipped is no import either, whatever the listing found.
    if (found == 0 || usable == 0) return THistoryImportOutcome::NoDataFile;
    return AbortRequested != 0 ? THistoryImportOutcome::Aborted : THistoryImportOutcome::Complete;
  } catch (const std::exception& e) {
    failed.reason = e.what();
  } catch (...) {
    failed.reason = "Unknown exception";
  }
  SendProgressClose();
  WriteLog("file import except!!!", "except");
  return THistoryImportOutcome::Failed;
}

std::string HistoryImportFailureText(const THistoryImportFailure& failure) {
  std::string text = "The import of " + failure.file + " failed:\n" + failure.reason;
  if (failure.importedBefore > 0)
    text += "\nThe " + IntToStr(failure.importedBefore) + " file(s) imported before it are kept.";
  return text;
}

void ImportHistory(THistoryImportMode mode, const std::string& fileName, const std::string& folder) {
  THistoryImportFailure failure;
  const THistoryImportOutcome outcome = RunHistoryImport(mode, fileName, folder, &failure);
  switch (outcome) {
    case THistoryImportOutcome::NoDataFile:
      Application->MessageBox("No valid data file found.", "prompt", MB_OK | MB_ICONWARNING);
      break;
    case THistoryImportOutcome::FileSkipped:
    case THistoryImportOutcome::Failed:
      // Also when the window is closing: the operator learns that the file did not arrive.
      Application->MessageBox(HistoryImportFailureText(failure), "prompt", MB_OK | MB_ICONWARNING);
      break;
    case THistoryImportOutcome::Aborted:
    case THistoryImportOutcome::Complete:
      if (StopRequested == 0)
        Application->MessageBox(outcome == THistoryImportOutcome::Aborted ? "The import was aborted."
                                                                          : "The import is complete.",
                                "prompt", MB_ICONWARNING);
      break;
    default:
      break;
  }
}

// New folders, kilobyte texts and item details.
#include "shell/KxFileRoutines.h"

#include "shell/KxFormatStrPos.h"
#include "shell/KxShellNames.h"
#include "toolkit/rtl/TextConv.h"

namespace {

const char kNewFolder[] = "New Folder";
const char kNewFolderNumbered[] = " (%d)";
const char kFallbackFolder[] = "fldr";
const char kCannotCreate[] = "Unable to create the folder '%2'\n\n%1";
const char kKilobytes[] = "%sKB";
const char kSystemFolder[] = "System Folder";
constexpr int kTriesPerSeries = 50;

TKxWarningBox warningBox = nullptr;

struct TFailure {
  DWORD error = ERROR_ALREADY_EXISTS;
  std::string name = kNewFolder;
};

// One series of names: true on success. A hard error (other than "already exists") ends the
// series and is remembered in `failure`.
bool TrySeries(const std::string& directory, const std::string& first,
               const std::string& numbered, std::string& name, TFailure& failure) {
  for (int n = 1; n <= kTriesPerSeries; ++n) {
    const std::string candidate = n == 1 ? first : Format(numbered, {n});
    if (CreateDirectoryW(Utf8ToWide(directory + candidate).c_str(), nullptr)) {
      name = candidate;
      return true;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS) continue;
    failure.error = error;
    failure.name = candidate;
    return false;
  }
  return false;
}

void WarnCannotCreate(const TFailure& failure) {
  ShowShellWarning(FormatStrPos(kCannotCreate, {SysErrorMessage(failure.error), failure.name}));
}

TDateTime FileTimeToDateTime(const FILETIME& time) {
  FILETIME local = {};
  SYSTEMTIME st = {};
  if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &st)) return 0;
  return EncodeDate(st.wYear, st.wMonth, st.wDay) +
         EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
}

}  // namespace

void SetShellWarningBox(TKxWarningBox box) { warningBox = box; }

void ShowShellWarning(const std::string& text) {
  if (warningBox) {
    warningBox(text);
    return;
  }
  MessageBoxW(nullptr, Utf8ToWide(text).c_str(), L"Warning", MB_OK | MB_ICONWARNING);
}

bool CreateNewFolderIn(const std::string& directory, std::string& name) {
  if (directory.empty()) {
    WarnCannotCreate({ERROR_PATH_NOT_FOUND, kNewFolder});
    return false;
  }
  const std::string base = AppendSeparatorOnce(directory, '\\');
  TFailure failure;
  if (TrySeries(base, kNewFolder, std::string(kNewFolder) + kNewFolderNumbered, name, failure) ||
      TrySeries(base, kFallbackFolder, std::string(kFallbackFolder) + "%d", name, failure))
    return true;
  WarnCannotCreate(failure);
  return false;
}

std::string FormatKilobytes(uint64_t bytes) {
  const uint64_t kilobytes = bytes / 1024 + (bytes % 1024 != 0 ? 1 : 0);
  return Format(kKilobytes, {Format("%.0n", {static_cast<long double>(kilobytes)})});
}

void FileDetailsTexts(PCIDL absolute, std::string& sizeText, std::string& modifiedText,
                      std::string& typeText) {
  sizeText.clear();
  modifiedText.clear();
  typeText.clear();
  const std::string path = PathFromIdList(absolute);
  if (path.size() > 3) {
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW(Utf8ToWide(path).c_str(), &found);
    SetErrorMode(oldMode);
    if (search != INVALID_HANDLE_VALUE) {
      FindClose(search);
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        sizeText = FormatKilobytes((uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow);
      FILETIME when = found.ftLastWriteTime;
      if (when.dwLowDateTime == 0 && when.dwHighDateTime == 0) when = found.ftCreationTime;
      const TFormatSettings& fs = FormatSettings();
      modifiedText = FormatDateTime(fs.ShortDateFormat + " " + fs.ShortTimeFormat,
                                    FileTimeToDateTime(when));
    }
  }
  static const ITEMIDLIST empty = {};
  SHFILEINFOW info = {};
  const auto* list = reinterpret_cast<LPCWSTR>(absolute ? absolute : &empty);
  if (!SHGetFileInfoW(list, 0, &info, sizeof info, SHGFI_PIDL | SHGFI_ATTRIBUTES)) return;
  if (!(info.dwAttributes & SFGAO_FILESYSTEM)) {
    typeText = kSystemFolder;
    return;
  }
  info = {};
  if (SHGetFileInfoW(list, 0, &info, sizeof info, SHGFI_PIDL | SHGFI_TYPENAME))
    typeText = WideToUtf8(info.szTypeName);
}

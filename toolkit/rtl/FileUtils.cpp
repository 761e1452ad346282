// File-name parsing (pure string work on '\\', '/' and the drive colon) and file-system queries
// through the W-API. Paths are UTF-8 inside and converted at each call.
#include <string>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"

namespace {

bool IsDelimiter(char c) { return c == '\\' || c == '/'; }

// Index of the last path delimiter or drive colon, npos when none.
size_t LastPathBreak(std::string_view path) {
  for (size_t i = path.size(); i-- > 0;)
    if (IsDelimiter(path[i]) || path[i] == ':') return i;
  return std::string_view::npos;
}

// Index of the extension's dot, npos when the file name has none.
size_t ExtensionDot(std::string_view path) {
  for (size_t i = path.size(); i-- > 0;) {
    if (path[i] == '.') return i;
    if (IsDelimiter(path[i]) || path[i] == ':') break;
  }
  return std::string_view::npos;
}

DWORD Attributes(std::string_view path) {
  if (path.empty()) return INVALID_FILE_ATTRIBUTES;
  return GetFileAttributesW(Utf8ToWide(path).c_str());
}

}  // namespace

std::string ExtractFilePath(std::string_view path) {
  size_t p = LastPathBreak(path);
  return p == std::string_view::npos ? std::string() : std::string(path.substr(0, p + 1));
}

std::string ExtractFileDir(std::string_view path) {
  size_t p = LastPathBreak(path);
  if (p == std::string_view::npos) return {};
  // Keep the delimiter of a root ("C:\", "\") and after a drive colon.
  if (p > 0 && IsDelimiter(path[p]) && path[p - 1] != ':' && !IsDelimiter(path[p - 1]))
    return std::string(path.substr(0, p));
  return std::string(path.substr(0, p + 1));
}

std::string ExtractFileName(std::string_view path) {
  size_t p = LastPathBreak(path);
  return std::string(p == std::string_view::npos ? path : path.substr(p + 1));
}

std::string ExtractFileExt(std::string_view path) {
  size_t p = ExtensionDot(path);
  return p == std::string_view::npos ? std::string() : std::string(path.substr(p));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  size_t p = ExtensionDot(path);
  std::string out(p == std::string_view::npos ? path : path.substr(0, p));
  out.append(ext);
  return out;
}

std::string IncludeTrailingPathDelimiter(std::string_view path) {
  std::string out(path);
  if (out.empty() || !IsDelimiter(out.back())) out += '\\';
  return out;
}

std::string ExcludeTrailingPathDelimiter(std::string_view path) {
  std::string out(path);
  if (!out.empty() && IsDelimiter(out.back())) out.pop_back();
  return out;
}

std::string ExpandFileName(std::string_view path) {
  std::wstring w = Utf8ToWide(path);
  DWORD n = GetFullPathNameW(w.c_str(), 0, nullptr, nullptr);
  if (n == 0) return std::string(path);
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(w.c_str(), n, full.data(), nullptr);
  full.resize(n);
  return WideToUtf8(full);
}

bool FileExists(std::string_view path) {
  DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(std::string_view path) {
  DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(std::string_view path) {
  if (path.empty()) throw EInOutError("Unable to create directory");
  std::string dir = ExcludeTrailingPathDelimiter(ExpandFileName(path));
  if (dir.size() < 3 || DirectoryExists(dir)) return true;
  std::string parent = ExtractFilePath(dir);
  if (parent.size() < dir.size() && !parent.empty() && parent != dir &&
      !ForceDirectories(parent))
    return false;
  return CreateDirectoryW(Utf8ToWide(dir).c_str(), nullptr) != 0 || DirectoryExists(dir);
}

bool DeleteFile(std::string_view path) { return DeleteFileW(Utf8ToWide(path).c_str()) != 0; }

bool RenameFile(std::string_view from, std::string_view to) {
  return MoveFileW(Utf8ToWide(from).c_str(), Utf8ToWide(to).c_str()) != 0;
}

bool RemoveDir(std::string_view path) { return RemoveDirectoryW(Utf8ToWide(path).c_str()) != 0; }

long long FileSizeOf(std::string_view path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (path.empty() || !GetFileAttributesExW(Utf8ToWide(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

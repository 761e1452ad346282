// Read-only registry access over the wide-character registry functions; see Registry.h.
#include "toolkit/system/Registry.h"

#include <cstring>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

namespace {

std::string TrimSlashes(const std::string& path) {
  size_t begin = 0;
  size_t end = path.size();
  while (begin < end && path[begin] == '\\') ++begin;
  while (end > begin && path[end - 1] == '\\') --end;
  return path.substr(begin, end - begin);
}

[[noreturn]] void RaiseGetDataFailed(const std::string& name) {
  throw ERegistryException("Failed to get data for '" + name + "'");
}

[[noreturn]] void RaiseInvalidType(const std::string& name) {
  throw ERegistryException("Invalid data type for '" + name + "'");
}

}  // namespace

void TRegistry::SetRootKey(HKEY root) {
  if (root == rootKey_) return;
  CloseKey();
  rootKey_ = root;
}

HKEY TRegistry::Open(const std::string& key, std::string& path) const {
  const bool absolute = !key.empty() && key.front() == '\\';
  const std::string relative = TrimSlashes(key);
  HKEY base = absolute ? rootKey_ : BaseKey();
  if (absolute || currentKey_ == nullptr)
    path = relative;
  else if (relative.empty())
    path = currentPath_;
  else
    path = currentPath_.empty() ? relative : currentPath_ + "\\" + relative;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(base, Utf8ToWide(relative).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
    return nullptr;
  return opened;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
  std::string path;
  HKEY opened = Open(key, path);
  if (opened == nullptr) return false;
  CloseKey();
  currentKey_ = opened;
  currentPath_ = path;
  return true;
}

bool TRegistry::KeyExists(const std::string& key) const {
  std::string path;
  HKEY opened = Open(key, path);
  if (opened == nullptr) return false;
  RegCloseKey(opened);
  return true;
}

void TRegistry::CloseKey() {
  if (currentKey_ != nullptr) RegCloseKey(currentKey_);
  currentKey_ = nullptr;
  currentPath_.clear();
}

bool TRegistry::Query(const std::string& name, DWORD& type, std::vector<unsigned char>& data) const {
  const std::wstring wideName = Utf8ToWide(name);
  // The value may grow between asking for its size and reading it: ask again then.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = 0;
    if (RegQueryValueExW(BaseKey(), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return false;
    data.resize(size);
    const LONG result = RegQueryValueExW(BaseKey(), wideName.c_str(), nullptr, &type,
                                         data.empty() ? nullptr : data.data(), &size);
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS) return false;
    data.resize(size);
    return true;
  }
  return false;
}

bool TRegistry::ValueExists(const std::string& name) const {
  return RegQueryValueExW(BaseKey(), Utf8ToWide(name).c_str(), nullptr, nullptr, nullptr,
                          nullptr) == ERROR_SUCCESS;
}

int TRegistry::GetDataSize(const std::string& name) const {
  DWORD size = 0;
  if (RegQueryValueExW(BaseKey(), Utf8ToWide(name).c_str(), nullptr, nullptr, nullptr, &size) !=
      ERROR_SUCCESS)
    return -1;
  return static_cast<int>(size);
}

std::string TRegistry::ReadString(const std::string& name) const {
  DWORD type = 0;
  std::vector<unsigned char> data;
  if (!Query(name, type, data)) return std::string();
  if (type != REG_SZ && type != REG_EXPAND_SZ) RaiseInvalidType(name);
  std::wstring text(data.size() / sizeof(wchar_t), L'\0');
  if (!text.empty()) std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
  const size_t end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  return WideToUtf8(text);
}

int TRegistry::ReadInteger(const std::string& name) const {
  DWORD type = 0;
  std::vector<unsigned char> data;
  if (!Query(name, type, data)) RaiseGetDataFailed(name);
  if (type != REG_DWORD || data.size() != sizeof(DWORD)) RaiseInvalidType(name);
  DWORD value;
  std::memcpy(&value, data.data(), sizeof(value));
  return static_cast<int>(value);
}

int TRegistry::ReadBinaryData(const std::string& name, void* buffer, int size) const {
  DWORD type = 0;
  std::vector<unsigned char> data;
  if (!Query(name, type, data)) RaiseGetDataFailed(name);
  if (type != REG_BINARY) RaiseInvalidType(name);
  if (size < 0 || data.size() > static_cast<size_t>(size)) RaiseGetDataFailed(name);
  if (!data.empty()) std::memcpy(buffer, data.data(), data.size());
  return static_cast<int>(data.size());
}

std::vector<std::string> TRegistry::GetValueNames() const {
  std::vector<std::string> names;
  DWORD count = 0;
  DWORD longest = 0;
  if (RegQueryInfoKeyW(BaseKey(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                       &longest, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return names;
  std::wstring name(longest + 1, L'\0');
  for (DWORD index = 0; index < count; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    if (RegEnumValueW(BaseKey(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    names.push_back(WideToUtf8(std::wstring_view(name.data(), length)));
  }
  return names;
}

std::vector<std::string> TRegistry::GetKeyNames() const {
  std::vector<std::string> names;
  DWORD count = 0;
  DWORD longest = 0;
  if (RegQueryInfoKeyW(BaseKey(), nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
    return names;
  std::wstring name(longest + 1, L'\0');
  for (DWORD index = 0; index < count; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    if (RegEnumKeyExW(BaseKey(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    names.push_back(WideToUtf8(std::wstring_view(name.data(), length)));
  }
  return names;
}

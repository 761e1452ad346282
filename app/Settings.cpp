// Readers of company.ini and com.set.
#include "app/Settings.h"

#include "app/AppGlobals.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"

namespace {

// "自动选择" as the older versions wrote it (code page 936).
const char kAutomaticCp936[] = "\xD7\xD4\xB6\xAF\xD1\xA1\xD4\xF1";

bool ReadRaw(const std::string& path, std::string& bytes) {
  HANDLE h = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bytes.clear();
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
  CloseHandle(h);
  return true;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

}  // namespace

std::vector<std::string> ReadTextFileLines(const std::string& path) {
  std::string raw;
  if (!ReadRaw(path, raw)) return {};
  std::vector<std::string> lines = SplitLines(raw);
  for (std::string& line : lines) {
    if (line == kAutomaticCp936)
      line = "自动选择";
    else
      line = AnsiToUtf8(line);
  }
  return lines;
}

void LoadCompanyInfo() {
  const std::string path = AppPath + "company.ini";
  if (GetFileAttributesW(Utf8ToWide(path).c_str()) == INVALID_FILE_ATTRIBUTES) return;
  const std::vector<std::string> lines = ReadTextFileLines(path);
  auto line = [&](size_t i) { return i < lines.size() ? lines[i] : std::string(); };
  CompanyName = line(0);
  CompanyAddress = line(1);
  CompanyPhone = line(2);
  CompanyWebsite = line(3);
}

void LoadComPortSetting() {
  ComPortName.clear();
  const std::vector<std::string> lines = ReadTextFileLines(AppPath + "com.set");
  if (!lines.empty()) ComPortName = lines[0];
}

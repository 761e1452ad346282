// company.ini and com.set, written whole.
#include "app/SettingsWriters.h"

#include "app/AppGlobals.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

namespace {

void WriteLines(const std::string& path, const std::string* lines, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += lines[i] + "\r\n";
  const std::string ansi = Utf8ToAnsi(text);
  TFileStream file(path, fmCreate);
  file.WriteBuffer(ansi.data(), static_cast<long long>(ansi.size()));
}

}  // namespace

void SaveCompanyInfo(const std::array<std::string, 4>& texts) {
  WriteLines(AppPath + "company.ini", texts.data(), texts.size());
  CompanyName = Trim(texts[0]);
  CompanyAddress = Trim(texts[1]);
  CompanyPhone = Trim(texts[2]);
  CompanyWebsite = Trim(texts[3]);
}

void SaveComPortSetting(const std::string& port) {
  WriteLines(AppPath + "com.set", &port, 1);
  ComPortName = port;
}

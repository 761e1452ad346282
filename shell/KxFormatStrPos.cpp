// FormatStrPos over FormatMessageW with an argument array.
#include "shell/KxFormatStrPos.h"

#include "shell/KxShellIntf.h"
#include "toolkit/rtl/TextConv.h"

namespace {
constexpr size_t kMaxTexts = 50;
// FormatMessage accepts inserts %1 to %99; every one of them gets a text, so that a format
// naming more inserts than were given never reads beyond the array.
constexpr size_t kInsertSlots = 99;
}  // namespace

std::string FormatStrPos(const std::string& format, const std::vector<std::string>& texts) {
  if (format.empty()) return {};
  if (texts.size() > kMaxTexts) throw Exception("FormatStrPos: Too many substitution strings");
  std::vector<std::wstring> wide;
  wide.reserve(texts.size());
  for (const std::string& t : texts) wide.push_back(Utf8ToWide(t));
  static const wchar_t kNone[] = L"";
  std::vector<DWORD_PTR> args(kInsertSlots, reinterpret_cast<DWORD_PTR>(kNone));
  for (size_t i = 0; i < wide.size(); ++i) args[i] = reinterpret_cast<DWORD_PTR>(wide[i].c_str());

  const std::wstring source = Utf8ToWide(format);
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY,
      source.c_str(), 0, 0, reinterpret_cast<LPWSTR>(&buffer), 0,
      reinterpret_cast<va_list*>(args.data()));
  std::string result;
  if (length && buffer) result = WideToUtf8(std::wstring_view(buffer, length));
  if (buffer) LocalFree(buffer);
  return result;
}

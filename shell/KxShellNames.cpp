// Display names through IShellFolder::GetDisplayNameOf and STRRET conversions.
#include "shell/KxShellNames.h"

#include <cstring>

#include "shell/KxIdListArray.h"
#include "toolkit/rtl/TextConv.h"

namespace {

DWORD NameFlags(TKxNameKind kind) {
  switch (kind) {
    case TKxNameKind::InFolder: return SHGDN_INFOLDER;
    case TKxNameKind::ForParsing: return SHGDN_FORPARSING;
    case TKxNameKind::ForEditing: return SHGDN_INFOLDER | SHGDN_FOREDITING;
    default: return SHGDN_NORMAL;
  }
}

}  // namespace

std::string StrRetToText(PCIDL relative, const STRRET& value) {
  switch (value.uType) {
    case STRRET_WSTR:
      return value.pOleStr ? WideToUtf8(value.pOleStr) : std::string();
    case STRRET_OFFSET: {
      if (!relative) return {};
      const char* text = reinterpret_cast<const char*>(relative) + value.uOffset;
      return AnsiToUtf8(text);
    }
    case STRRET_CSTR: {
      const size_t length = strnlen(value.cStr, MAX_PATH);
      return AnsiToUtf8(std::string_view(value.cStr, length));
    }
    default:
      return {};
  }
}

void FreeStrRet(STRRET& value) {
  if (value.uType == STRRET_WSTR && value.pOleStr) {
    CoTaskMemFree(value.pOleStr);
    value.pOleStr = nullptr;
  }
}

std::string DisplayNameOf(IShellFolder* folder, PCIDL relative, TKxNameKind kind) {
  TComRef<IShellFolder> desktop;
  if (!folder) {
    if (FAILED(DesktopFolder(*desktop.Put()))) return {};
    folder = desktop.Get();
  }
  const DWORD flags = NameFlags(kind);
  STRRET value = {};
  value.uType = STRRET_WSTR;
  if (FAILED(folder->GetDisplayNameOf(relative, flags, &value))) {
    value = {};
    value.uType = STRRET_CSTR;
    if (FAILED(folder->GetDisplayNameOf(relative, flags, &value))) return {};
  }
  std::string text = StrRetToText(relative, value);
  FreeStrRet(value);
  return text;
}

std::string DisplayNameOfAbsolute(PCIDL absolute) {
  TComRef<IShellFolder> desktop;
  if (FAILED(DesktopFolder(*desktop.Put()))) return {};
  TKxIdListArray items(absolute);
  const int count = items.Count();
  if (count > 1) {
    TComRef<IShellFolder> parent;
    const HRESULT hr = desktop->BindToObject(items.WithoutLast(1), nullptr, IID_IShellFolder,
                                             parent.PutVoid());
    if (FAILED(hr)) throw EOleSysError(hr);
    return DisplayNameOf(parent.Get(), items.Item(count - 1), TKxNameKind::InFolder);
  }
  static const ITEMIDLIST empty = {};
  return DisplayNameOf(desktop.Get(), absolute ? absolute : &empty, TKxNameKind::InFolder);
}

std::string AppendSeparatorOnce(const std::string& path, char separator) {
  if (path.empty() || path.back() == separator) return path;
  return path + separator;
}

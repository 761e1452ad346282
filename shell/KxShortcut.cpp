// ReadShortcut over IShellLinkW and IPersistFile.
#include "shell/KxShortcut.h"

#include "toolkit/rtl/TextConv.h"

namespace {

constexpr int kTextChars = 261;

// Resolve's window and flags, chosen by the no-user-interface flag: asked silently, the shell
// searches for a moved target for at most 1 ms and shows nothing.
const HWND kResolveWindow[2] = {nullptr, nullptr};
const DWORD kResolveFlags[2] = {0, SLR_NO_UI | (1u << 16)};

}  // namespace

HRESULT ReadShortcut(const std::string& path, TLinkData& data, bool wantIdList) {
  TComRef<IShellLinkW> link;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.PutVoid());
  if (FAILED(hr)) return hr;
  TComRef<IPersistFile> file;
  hr = link->QueryInterface(IID_IPersistFile, file.PutVoid());
  if (FAILED(hr)) return hr;
  std::wstring wide = Utf8ToWide(path);
  if (wide.size() > MAX_PATH) wide.resize(MAX_PATH);
  if (FAILED(hr = file->Load(wide.c_str(), STGM_READ))) return hr;
  const int quiet = data.NoUI ? 1 : 0;
  if (FAILED(hr = link->Resolve(kResolveWindow[quiet], kResolveFlags[quiet]))) return hr;

  wchar_t text[kTextChars];
  text[0] = 0;
  if (FAILED(hr = link->GetPath(text, kTextChars, &data.FindData, 0))) return hr;
  data.Path = WideToUtf8(text);
  text[0] = 0;
  if (FAILED(hr = link->GetArguments(text, kTextChars))) return hr;
  data.Arguments = WideToUtf8(text);
  text[0] = 0;
  if (FAILED(hr = link->GetDescription(text, kTextChars))) return hr;
  data.Description = WideToUtf8(text);
  text[0] = 0;
  int iconIndex = 0;
  if (FAILED(hr = link->GetIconLocation(text, kTextChars, &iconIndex))) return hr;
  data.IconPath = WideToUtf8(text);
  data.IconIndex = iconIndex;
  text[0] = 0;
  if (FAILED(hr = link->GetWorkingDirectory(text, kTextChars))) return hr;
  data.WorkingDirectory = WideToUtf8(text);
  int show = 0;
  if (FAILED(hr = link->GetShowCmd(&show))) return hr;
  data.ShowCommand = show;
  WORD hotKey = 0;
  if (FAILED(hr = link->GetHotkey(&hotKey))) return hr;
  data.HotKey = hotKey;
  data.ValidFields = 63;
  data.IdList = nullptr;
  if (wantIdList) {
    PIDL list = nullptr;
    if (FAILED(hr = link->GetIDList(&list))) return hr;
    data.IdList = list;
  }
  return hr;
}

// TOpenDialog over GetOpenFileNameW; the explorer hook announces the shown dialog (OnShow).
#include "toolkit/ui/FileDialogs.h"

#include "toolkit/system/WinApi.h"

#include <commdlg.h>

#include <vector>

#include "toolkit/classes/StringList.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

const TEnumInfo& EnumTypeInfo(TOpenOption) {
  static const TEnumInfo info(
      "TOpenOption",
      {"ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp", "ofNoValidate",
       "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist", "ofFileMustExist", "ofCreatePrompt",
       "ofShareAware", "ofNoReadOnlyReturn", "ofNoTestFileCreate", "ofNoNetworkButton", "ofNoLongNames",
       "ofOldStyleDialog", "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing",
       "ofDontAddToRecent", "ofForceShowHidden"});
  return info;
}

const TClassInfo& TCommonDialog::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCommonDialog>("TCommonDialog", &TComponent::StaticClass())
          .Property("OnShow", [](TCommonDialog& d) { return d.OnShow; },
                    [](TCommonDialog& d, TNotifyEvent e) { d.OnShow = e; })
          .Property("OnClose", [](TCommonDialog& d) { return d.OnClose; },
                    [](TCommonDialog& d, TNotifyEvent e) { d.OnClose = e; })
          .Build();
  return info;
}

TCommonDialog::TCommonDialog(TComponent* owner) : TComponent(owner) {}

const TClassInfo& TOpenDialog::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TOpenDialog>("TOpenDialog", &TCommonDialog::StaticClass())
          .Property("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt)
          .Property("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName)
          .Property("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter)
          .Property("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex)
          .Default(1)
          .Property("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir)
          .Property("Options", &TOpenDialog::Options, &TOpenDialog::SetOptions)
          .Default(TOpenOptions{ofHideReadOnly, ofEnableSizing})
          .Property("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle)
          .Build();
  return info;
}

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner), files_(new TStringList()) {}

TOpenDialog::~TOpenDialog() { delete files_; }

namespace {

DWORD OptionFlags(TOpenOptions options) {
  static constexpr std::pair<TOpenOption, DWORD> kFlags[] = {
      {ofReadOnly, OFN_READONLY},
      {ofOverwritePrompt, OFN_OVERWRITEPROMPT},
      {ofHideReadOnly, OFN_HIDEREADONLY},
      {ofNoChangeDir, OFN_NOCHANGEDIR},
      {ofShowHelp, OFN_SHOWHELP},
      {ofNoValidate, OFN_NOVALIDATE},
      {ofAllowMultiSelect, OFN_ALLOWMULTISELECT},
      {ofExtensionDifferent, OFN_EXTENSIONDIFFERENT},
      {ofPathMustExist, OFN_PATHMUSTEXIST},
      {ofFileMustExist, OFN_FILEMUSTEXIST},
      {ofCreatePrompt, OFN_CREATEPROMPT},
      {ofShareAware, OFN_SHAREAWARE},
      {ofNoReadOnlyReturn, OFN_NOREADONLYRETURN},
      {ofNoTestFileCreate, OFN_NOTESTFILECREATE},
      {ofNoNetworkButton, OFN_NONETWORKBUTTON},
      {ofNoLongNames, OFN_NOLONGNAMES},
      {ofNoDereferenceLinks, OFN_NODEREFERENCELINKS},
      {ofEnableIncludeNotify, OFN_ENABLEINCLUDENOTIFY},
      {ofEnableSizing, OFN_ENABLESIZING},
      {ofDontAddToRecent, OFN_DONTADDTORECENT},
      {ofForceShowHidden, OFN_FORCESHOWHIDDEN},
  };
  DWORD flags = 0;
  for (const auto& [option, flag] : kFlags) {
    if (options.Contains(option)) flags |= flag;
  }
  return flags;
}

// "A|*.a|B|*.b" -> "A\0*.a\0B\0*.b\0\0"
std::wstring FilterText(const std::string& filter) {
  std::wstring text = Utf8ToWide(filter);
  for (wchar_t& c : text) {
    if (c == L'|') c = L'\0';
  }
  text.push_back(L'\0');
  text.push_back(L'\0');
  return text;
}

}  // namespace

UINT_PTR CALLBACK TOpenDialog::HookProc(HWND dialog, UINT msg, WPARAM, LPARAM lParam) {
  try {
    if (msg == WM_INITDIALOG) {
      const auto* ofn = reinterpret_cast<const OPENFILENAMEW*>(lParam);
      SetWindowLongPtrW(dialog, GWLP_USERDATA, static_cast<LONG_PTR>(ofn->lCustData));
    } else if (msg == WM_NOTIFY) {
      const auto* notify = reinterpret_cast<const OFNOTIFYW*>(lParam);
      if (notify->hdr.code == CDN_INITDONE) {
        auto* self = reinterpret_cast<TOpenDialog*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
        if (self != nullptr) {
          // The hook dialog is a child of the explorer dialog that the user sees.
          self->handle_ = GetParent(dialog);
          self->OnShow(self);
        }
      }
    }
  } catch (...) {
    // A handler's failure must not unwind through the platform's dialog code.
  }
  return 0;
}

bool TOpenDialog::Execute() {
  constexpr size_t kBufferChars = 32768;
  std::vector<wchar_t> buffer(kBufferChars, L'\0');
  const std::wstring initialName = Utf8ToWide(fileName_);
  initialName.copy(buffer.data(), std::min(initialName.size(), kBufferChars - 2));
  const std::wstring filter = FilterText(filter_);
  const std::wstring title = Utf8ToWide(title_);
  const std::wstring initialDir = Utf8ToWide(initialDir_);
  const std::wstring defaultExt = Utf8ToWide(defaultExt_);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(filterIndex_);
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(kBufferChars);
  ofn.lpstrInitialDir = initialDir_.empty() ? nullptr : initialDir.c_str();
  ofn.lpstrTitle = title_.empty() ? nullptr : title.c_str();
  ofn.lpstrDefExt = defaultExt_.empty() ? nullptr : defaultExt.c_str();
  ofn.Flags = OptionFlags(options_) | OFN_EXPLORER | OFN_ENABLEHOOK;
  ofn.lpfnHook = &TOpenDialog::HookProc;
  ofn.lCustData = reinterpret_cast<LPARAM>(this);

  const BOOL ok = GetOpenFileNameW(&ofn);
  handle_ = nullptr;
  OnClose(this);
  if (!ok) return false;

  files_->Clear();
  // Multi-selection: the folder, then each name, separated by nulls; else one full path.
  const wchar_t* p = buffer.data();
  std::wstring first(p);
  p += first.size() + 1;
  if (options_.Contains(ofAllowMultiSelect) && *p != L'\0') {
    std::wstring folder = first;
    if (!folder.empty() && folder.back() != L'\\') folder.push_back(L'\\');
    while (*p != L'\0') {
      std::wstring name(p);
      files_->Add(WideToUtf8(folder + name));
      p += name.size() + 1;
    }
    fileName_ = files_->Get(0);
  } else {
    fileName_ = WideToUtf8(first);
    files_->Add(fileName_);
  }
  filterIndex_ = static_cast<int>(ofn.nFilterIndex);
  options_ = (ofn.Flags & OFN_READONLY) != 0 ? options_ + TOpenOptions{ofReadOnly} : options_ - TOpenOptions{ofReadOnly};
  options_ = (ofn.Flags & OFN_EXTENSIONDIFFERENT) != 0 ? options_ + TOpenOptions{ofExtensionDifferent}
                                                        : options_ - TOpenOptions{ofExtensionDifferent};
  return true;
}

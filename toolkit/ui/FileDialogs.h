// The open-file dialog: TOpenDialog over the platform's GetOpenFileNameW (explorer style),
// with a title, a filter in the "Text|pattern|Text|pattern" form, an initial folder, options
// and the chosen file name(s). OnShow fires once the dialog is up (the hook's CDN_INITDONE),
// OnClose after it is gone.
#pragma once

#include <string>

#include "toolkit/classes/Component.h"
#include "toolkit/classes/Events.h"
#include "toolkit/classes/Set.h"
#include "toolkit/system/WinApi.h"

class TStrings;
class TEnumInfo;

enum TOpenOption {
  ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
  ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt,
  ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames,
  ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing,
  ofDontAddToRecent, ofForceShowHidden
};
using TOpenOptions = TSet<TOpenOption>;
const TEnumInfo& EnumTypeInfo(TOpenOption);

class TCommonDialog : public TComponent {
 public:
  explicit TCommonDialog(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // Shows the dialog modally over the active window; true when the user confirmed it.
  virtual bool Execute() = 0;
  // The dialog's window while it is shown (null otherwise).
  HWND Handle() const { return handle_; }

  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

 protected:
  HWND handle_ = nullptr;
};

class TOpenDialog : public TCommonDialog {
 public:
  explicit TOpenDialog(TComponent* owner);
  ~TOpenDialog() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value) { title_ = value; }
  // "Description|pattern[|Description|pattern...]"
  const std::string& Filter() const { return filter_; }
  void SetFilter(const std::string& value) { filter_ = value; }
  // 1-based index of the filter pair shown first; after Execute, the one the user chose.
  int FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int value) { filterIndex_ = value; }
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& value) { fileName_ = value; }
  const std::string& InitialDir() const { return initialDir_; }
  void SetInitialDir(const std::string& value) { initialDir_ = value; }
  const std::string& DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const std::string& value) { defaultExt_ = value; }
  TOpenOptions Options() const { return options_; }
  void SetOptions(TOpenOptions value) { options_ = value; }
  // Every chosen file (full paths); one entry unless ofAllowMultiSelect.
  TStrings* Files() const { return files_; }

  bool Execute() override;

 private:
  static UINT_PTR CALLBACK HookProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

  std::string title_;
  std::string filter_;
  int filterIndex_ = 1;
  std::string fileName_;
  std::string initialDir_;
  std::string defaultExt_;
  TOpenOptions options_ = {ofHideReadOnly, ofEnableSizing};
  TStrings* files_;
};

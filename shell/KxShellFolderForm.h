// TKxSelectFolderForm: the window of the folder selection dialog - a shell tree, create and
// delete tool buttons above it, OK and Cancel on a bottom panel and a status bar showing the
// selected folder's path shortened to fit. Its controls are read from its layout resource
// (TKXSELECTFOLDERFORM) when the form is made (AfterConstruction). Also the path shortening it
// shows paths with.
#pragma once

#include <functional>
#include <string>

#include "controls/KxButton.h"
#include "controls/KxPanel.h"
#include "controls/KxToolButton.h"
#include "shell/KxShellTree.h"
#include "toolkit/ui/Form.h"

class TCanvas;
class TImageList;
class TPanel;

enum TKxSelectFolderDialogOption {
  sfdoCreateDeleteButtons, sfdoContextMenus, sfdoReadOnly, sfdoIncludeNonFolders, sfdoOleDrag, sfdoOleDrop,
  sfdoCreateFolderIcon, sfdoDeleteFolderIcon, sfdoVirtualFolders, sfdoShowHidden
};
using TKxSelectFolderDialogOptions = TSet<TKxSelectFolderDialogOption>;
const TEnumInfo& EnumTypeInfo(TKxSelectFolderDialogOption);
inline constexpr TKxSelectFolderDialogOptions kDefaultSelectFolderDialogOptions =
    TKxSelectFolderDialogOptions::FromBits(706);

// Sender, the new selection's absolute item-id list.
using TKxFolderBrowseSelChangeEvent = TMethodEvent<TObject*, PCIDL>;

// "\" alone becomes empty; otherwise the first directory is replaced by "...\" (an earlier
// "...\" taken along), keeping a leading "\".
std::string DropFirstDirectory(const std::string& directory);
// The path made to fit `width` as measured: leading directories give way to "...\", then the
// drive, keeping the last name.
std::string ShortenPathToWidth(const std::string& path, const std::function<int(const std::string&)>& measure,
                               int width);
std::string ShortenPathToWidth(const std::string& path, TCanvas* canvas, int width);

constexpr int kSelectFolderFormMinWidth = 366;
constexpr int kSelectFolderFormMinHeight = 340;

class TKxSelectFolderForm : public TForm {
 public:
  explicit TKxSelectFolderForm(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void AfterConstruction() override;

  TKxToolButton* btnNewFolder = nullptr;
  TKxToolButton* btnDeleteFolder = nullptr;
  TKxShellTree* ShellTree = nullptr;
  TPanel* ButtonPanel = nullptr;
  TKxBitBtn* btnOk = nullptr;
  TKxBitBtn* btnCancel = nullptr;
  TKxStatusBar* KxStatusBar1 = nullptr;
  TImageList* ImageList1 = nullptr;

  // Stores the options and applies them to the tree and the tool buttons.
  virtual void ApplyDialogOptions(TKxSelectFolderDialogOptions options);
  TKxSelectFolderDialogOptions DialogOptions() const { return options_; }
  // The status bar's text.
  std::string StatusText() const;
  void SetStatusText(const std::string& text);

  void FormCreate(TObject* sender);
  void FormResize(TObject* sender);
  void ShellTreeChange(TObject* sender, TTreeNode* node);
  void CreateBtnClick(TObject* sender);
  void DeleteBtnClick(TObject* sender);

  TKxFolderBrowseSelChangeEvent OnSelChange;
  TNotifyEvent OnFormShow;
  TNotifyEvent OnFormClose;

 protected:
  void Loaded() override;
  void DoShow() override;
  void DoHide() override;
  void WndProc(TMessage& message) override;

 private:
  void ShowPath(const std::string& path);

  TKxSelectFolderDialogOptions options_ = kDefaultSelectFolderDialogOptions;
};

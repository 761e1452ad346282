// The folder selection dialog: a non-visual component that shows TKxSelectFolderForm modally
// and remembers the chosen folder (SelectedFolder survives between executions, so the next
// Execute opens where the last one ended) and the form's placement. TKxShellDialog holds the
// placement, the frame and button styles and the re-entry guard; TKxCustomSelectFolderDialog
// the folder logic; TKxSelectFolderDialog publishes the properties.
//
// Execute: idle --Execute--> executing (form made, initialised, shown modally) --closed-->
// placement read back (and the folder, after OK) --> form freed --> idle. A second Execute
// while executing raises; the form never outlives Execute.
#pragma once

#include <string>

#include "controls/KxButton.h"
#include "controls/KxCommonTypes.h"
#include "shell/KxShellFolderForm.h"
#include "toolkit/classes/Component.h"
#include "toolkit/ui/Form.h"

class TStream;

class TKxShellDialog : public TComponent {
 public:
  explicit TKxShellDialog(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // Raises "<class name> already executing" when called again while running.
  bool Execute();

  TPosition FormPosition() const { return formPosition_; }
  void SetFormPosition(TPosition value) { formPosition_ = value; }
  int FormLeft() const { return formLeft_; }
  void SetFormLeft(int value) { formLeft_ = value; }
  int FormTop() const { return formTop_; }
  void SetFormTop(int value) { formTop_ = value; }
  int FormWidth() const { return formWidth_; }
  void SetFormWidth(int value) { formWidth_ = value; }
  int FormHeight() const { return formHeight_; }
  void SetFormHeight(int value) { formHeight_ = value; }
  TWindowState FormWindowState() const { return formWindowState_; }
  void SetFormWindowState(TWindowState value) { formWindowState_ = value; }

  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor value) { frameColor_ = value; }
  TFrameStyle FrameStyle() const { return frameStyle_; }
  void SetFrameStyle(TFrameStyle value) { frameStyle_ = value; }
  bool FrameVisible() const { return frameVisible_; }
  void SetFrameVisible(bool value) { frameVisible_ = value; }
  TFramingPreference FramingPreference() const { return framingPreference_; }
  void SetFramingPreference(TFramingPreference value) { framingPreference_ = value; }

  TColor ButtonColor() const { return buttonColor_; }
  void SetButtonColor(TColor value) { buttonColor_ = value; }
  bool ShowButtonGlyphs() const { return showButtonGlyphs_; }
  void SetShowButtonGlyphs(bool value) { showButtonGlyphs_ = value; }
  TColor HighlightColor() const { return highlightColor_; }
  void SetHighlightColor(TColor value) { highlightColor_ = value; }
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool value) { hotTrack_ = value; }
  TColor HotTrackColor() const { return hotTrackColor_; }
  void SetHotTrackColor(TColor value) { hotTrackColor_ = value; }
  TKxHotTrackColorType HotTrackColorType() const { return hotTrackColorType_; }
  void SetHotTrackColorType(TKxHotTrackColorType value) { hotTrackColorType_ = value; }

  TKxGradientColorStyle ToolBtnGradientColorStyle() const { return toolBtnGradientColorStyle_; }
  void SetToolBtnGradientColorStyle(TKxGradientColorStyle value) { toolBtnGradientColorStyle_ = value; }
  TColor ToolBtnSelectionColorStart() const { return toolBtnSelectionColorStart_; }
  void SetToolBtnSelectionColorStart(TColor value) { toolBtnSelectionColorStart_ = value; }
  TColor ToolBtnSelectionColorStop() const { return toolBtnSelectionColorStop_; }
  void SetToolBtnSelectionColorStop(TColor value) { toolBtnSelectionColorStop_ = value; }
  TColor ToolBtnSelectionFrameColor() const { return toolBtnSelectionFrameColor_; }
  void SetToolBtnSelectionFrameColor(TColor value) { toolBtnSelectionFrameColor_ = value; }
  TKxVisualStyle ToolBtnVisualStyle() const { return toolBtnVisualStyle_; }
  void SetToolBtnVisualStyle(TKxVisualStyle value) { toolBtnVisualStyle_ = value; }

  // The placement: left, top, width, height (32-bit little-endian), window state, position
  // (one byte each): 18 bytes.
  void WritePlacement(TStream& stream) const;
  void ReadPlacement(TStream& stream);

  bool Executing() const { return executing_; }
  TForm* ActiveForm() const { return activeForm_; }

  TNotifyEvent OnInitialized;
  TNotifyEvent OnFormShow;
  TNotifyEvent OnFormClose;

 protected:
  virtual bool DoExecute() = 0;
  virtual void DoInitialized() { OnInitialized(this); }

  TForm* activeForm_ = nullptr;

 private:
  TPosition formPosition_ = poScreenCenter;
  int formLeft_ = -1;
  int formTop_ = -1;
  int formWidth_ = -1;
  int formHeight_ = -1;
  TWindowState formWindowState_ = wsNormal;
  TColor frameColor_ = clBtnShadow;
  TFrameStyle frameStyle_ = fsFlat;
  bool frameVisible_ = false;
  TFramingPreference framingPreference_ = fpXPThemes;
  TColor buttonColor_ = clBtnFace;
  bool showButtonGlyphs_ = false;
  TColor highlightColor_ = clHighlight;
  bool hotTrack_ = false;
  TColor hotTrackColor_ = static_cast<TColor>(0x149BF0);
  TKxHotTrackColorType hotTrackColorType_ = htctActual;
  TKxGradientColorStyle toolBtnGradientColorStyle_ = gcsSystem;
  TColor toolBtnSelectionColorStart_ = clBtnFace;
  TColor toolBtnSelectionColorStop_ = clBtnShadow;
  TColor toolBtnSelectionFrameColor_ = cl3DDkShadow;
  TKxVisualStyle toolBtnVisualStyle_ = vsWinXP;
  bool executing_ = false;
};

class TKxCustomSelectFolderDialog : public TKxShellDialog {
 public:
  explicit TKxCustomSelectFolderDialog(TComponent* owner);
  ~TKxCustomSelectFolderDialog() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value) { title_ = value; }
  TKxSelectFolderDialogOptions Options() const { return options_; }
  void SetOptions(TKxSelectFolderDialogOptions value) { options_ = value; }
  TKxShellLocator* BaseFolder() const { return baseFolder_; }
  void SetBaseFolder(TKxShellLocator* value) { baseFolder_->Assign(value); }
  TKxShellLocator* SelectedFolder() const { return selectedFolder_; }
  const std::string& StatusText() const { return statusText_; }
  void SetStatusText(const std::string& value) { statusText_ = value; }
  // The chosen folder's file-system path; empty for a folder without one (the drive list).
  std::string SelectedPathName();

  // The form being shown, while Execute runs.
  TKxSelectFolderForm* Form() const { return static_cast<TKxSelectFolderForm*>(activeForm_); }

  TKxFolderBrowseSelChangeEvent OnSelChange;
  TKxShAddItemEvent OnAddItem;

 protected:
  bool DoExecute() override;
  virtual TKxSelectFolderForm* CreateForm();
  virtual void InitForm(TKxSelectFolderForm* form);
  virtual void ReadBackForm(TKxSelectFolderForm* form);

 private:
  std::string title_;
  TKxSelectFolderDialogOptions options_ = kDefaultSelectFolderDialogOptions;
  TKxShellLocator* baseFolder_;
  TKxShellLocator* selectedFolder_;
  std::string statusText_;
};

class TKxSelectFolderDialog : public TKxCustomSelectFolderDialog {
 public:
  explicit TKxSelectFolderDialog(TComponent* owner) : TKxCustomSelectFolderDialog(owner) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
};

// The folder selection dialog component: executing the form and carrying its results back.
#include "shell/KxShellDialogs.h"

#include <cstdint>
#include <memory>

#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Screen.h"
#include "toolkit/ui/StatusBar.h"

// ---- TKxShellDialog -------------------------------------------------------------------------

const TClassInfo& TKxShellDialog::StaticClass() {
  static const TClassInfo info = TClassBuilder<TKxShellDialog>("TKxShellDialog", &TComponent::StaticClass()).Build();
  return info;
}

TKxShellDialog::TKxShellDialog(TComponent* owner) : TComponent(owner) {}

bool TKxShellDialog::Execute() {
  if (executing_) throw EInvalidOperation(ClassName() + " already executing");
  executing_ = true;
  try {
    const bool result = DoExecute();
    executing_ = false;
    return result;
  } catch (...) {
    executing_ = false;
    throw;
  }
}

void TKxShellDialog::WritePlacement(TStream& stream) const {
  const int32_t values[4] = {formLeft_, formTop_, formWidth_, formHeight_};
  stream.WriteBuffer(values, sizeof values);
  const uint8_t bytes[2] = {static_cast<uint8_t>(formWindowState_), static_cast<uint8_t>(formPosition_)};
  stream.WriteBuffer(bytes, sizeof bytes);
}

void TKxShellDialog::ReadPlacement(TStream& stream) {
  int32_t values[4] = {};
  stream.ReadBuffer(values, sizeof values);
  uint8_t bytes[2] = {};
  stream.ReadBuffer(bytes, sizeof bytes);
  formLeft_ = values[0];
  formTop_ = values[1];
  formWidth_ = values[2];
  formHeight_ = values[3];
  if (bytes[0] <= wsMaximized) formWindowState_ = static_cast<TWindowState>(bytes[0]);
  if (bytes[1] <= poOwnerFormCenter) formPosition_ = static_cast<TPosition>(bytes[1]);
}

// ---- TKxCustomSelectFolderDialog ------------------------------------------------------------

const TClassInfo& TKxCustomSelectFolderDialog::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKxCustomSelectFolderDialog>("TKxCustomSelectFolderDialog", &TKxShellDialog::StaticClass())
          .Build();
  return info;
}

// Placement, frame, buttons and tool buttons as the shell dialog has them, then the folder
// dialog's own title, options, base folder and events.
const TClassInfo& TKxSelectFolderDialog::StaticClass() {
  using C = TKxSelectFolderDialog;
  static const TClassInfo info =
      TClassBuilder<C>("TKxSelectFolderDialog", &TKxCustomSelectFolderDialog::StaticClass())
          .Property("FormPosition", &C::FormPosition, &C::SetFormPosition)
          .Default(poScreenCenter)
          .Property("FormLeft", &C::FormLeft, &C::SetFormLeft)
          .Default(-1)
          .Property("FormTop", &C::FormTop, &C::SetFormTop)
          .Default(-1)
          .Property("FormWidth", &C::FormWidth, &C::SetFormWidth)
          .Default(-1)
          .Property("FormHeight", &C::FormHeight, &C::SetFormHeight)
          .Default(-1)
          .Property("FormWindowState", &C::FormWindowState, &C::SetFormWindowState)
          .Default(wsNormal)
          .Property("FrameColor", &C::FrameColor, &C::SetFrameColor)
          .Default(clBtnShadow)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("FrameStyle", &C::FrameStyle, &C::SetFrameStyle)
          .Default(fsFlat)
          .Property("FrameVisible", &C::FrameVisible, &C::SetFrameVisible)
          .Default(false)
          .Property("FramingPreference", &C::FramingPreference, &C::SetFramingPreference)
          .Default(fpXPThemes)
          .Property("ButtonColor", &C::ButtonColor, &C::SetButtonColor)
          .Default(clBtnFace)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("ShowButtonGlyphs", &C::ShowButtonGlyphs, &C::SetShowButtonGlyphs)
          .Default(false)
          .Property("HighlightColor", &C::HighlightColor, &C::SetHighlightColor)
          .Default(clHighlight)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("HotTrack", &C::HotTrack, &C::SetHotTrack)
          .Default(false)
          .Property("HotTrackColor", &C::HotTrackColor, &C::SetHotTrackColor)
          .Default(static_cast<TColor>(0x149BF0))
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("HotTrackColorType", &C::HotTrackColorType, &C::SetHotTrackColorType)
          .Default(htctActual)
          .Property("ToolBtnGradientColorStyle", &C::ToolBtnGradientColorStyle, &C::SetToolBtnGradientColorStyle)
          .Default(gcsSystem)
          .Property("ToolBtnSelectionColorStart", &C::ToolBtnSelectionColorStart, &C::SetToolBtnSelectionColorStart)
          .Default(clBtnFace)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("ToolBtnSelectionColorStop", &C::ToolBtnSelectionColorStop, &C::SetToolBtnSelectionColorStop)
          .Default(clBtnShadow)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("ToolBtnSelectionFrameColor", &C::ToolBtnSelectionFrameColor, &C::SetToolBtnSelectionFrameColor)
          .Default(cl3DDkShadow)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("ToolBtnVisualStyle", &C::ToolBtnVisualStyle, &C::SetToolBtnVisualStyle)
          .Default(vsWinXP)
          .Property("OnInitialized", [](C& c) { return c.OnInitialized; }, [](C& c, TNotifyEvent e) { c.OnInitialized = e; })
          .Property("OnFormShow", [](C& c) { return c.OnFormShow; }, [](C& c, TNotifyEvent e) { c.OnFormShow = e; })
          .Property("OnFormClose", [](C& c) { return c.OnFormClose; }, [](C& c, TNotifyEvent e) { c.OnFormClose = e; })
          .Property("Title", &C::Title, &C::SetTitle)
          .Property("Options", &C::Options, &C::SetOptions)
          .Default(kDefaultSelectFolderDialogOptions)
          .Property("BaseFolder", &C::BaseFolder, nullptr)
          .Property("OnSelChange", [](C& c) { return c.OnSelChange; },
                    [](C& c, TKxFolderBrowseSelChangeEvent e) { c.OnSelChange = e; })
          .Property("OnAddItem", [](C& c) { return c.OnAddItem; }, [](C& c, TKxShAddItemEvent e) { c.OnAddItem = e; })
          .Build();
  return info;
}

TKxCustomSelectFolderDialog::TKxCustomSelectFolderDialog(TComponent* owner)
    : TKxShellDialog(owner), baseFolder_(new TKxShellLocator), selectedFolder_(new TKxShellLocator) {}

TKxCustomSelectFolderDialog::~TKxCustomSelectFolderDialog() {
  delete baseFolder_;
  delete selectedFolder_;
}

std::string TKxCustomSelectFolderDialog::SelectedPathName() { return selectedFolder_->PathName(); }

TKxSelectFolderForm* TKxCustomSelectFolderDialog::CreateForm() {
  auto* form = new TKxSelectFolderForm(Application);
  try {
    form->AfterConstruction();  // its OnCreate places the status bar and shows the root lines
  } catch (...) {
    delete form;
    throw;
  }
  return form;
}

void TKxCustomSelectFolderDialog::InitForm(TKxSelectFolderForm* form) {
  form->OnSelChange = OnSelChange;
  form->OnFormShow = OnFormShow;
  form->OnFormClose = OnFormClose;
  form->ShellTree->OnAddItem = OnAddItem;
  form->SetStatusText(statusText_);
  form->SetPosition(FormPosition());
  if (FormPosition() == poDesigned) form->SetBounds(FormLeft(), FormTop(), form->Width(), form->Height());
  if (FormWidth() > 0) form->SetWidth(FormWidth());
  if (FormHeight() > 0) form->SetHeight(FormHeight());
  form->SetWindowState(FormWindowState());
  form->ApplyDialogOptions(options_);
  form->SetCaption(title_.empty() ? std::string("Browse for Folder") : title_);
  form->ShellTree->SetFrameColor(FrameColor());
  form->ShellTree->SetFrameStyle(FrameStyle());
  form->ShellTree->SetFrameVisible(FrameVisible());
  form->ShellTree->SetFramingPreference(FramingPreference());
  for (TKxBitBtn* button : {form->btnOk, form->btnCancel}) {
    button->SetColor(ButtonColor());
    button->SetHotTrack(HotTrack());
    button->SetHighlightColor(HighlightColor());
    button->SetHotTrackColor(HotTrackColor());
    button->SetHotTrackColorType(HotTrackColorType());
  }
  if (ShowButtonGlyphs()) {
    const struct {
      TKxBitBtn* button;
      const char* resource;
    } glyphs[] = {{form->btnOk, "KXCOMMON_OK"}, {form->btnCancel, "KXCOMMON_CANCEL"}};
    for (const auto& g : glyphs) {
      if (!FindResourceA(GetModuleHandleW(nullptr), g.resource, MAKEINTRESOURCEA(2))) continue;
      TBitmap glyph;
      glyph.LoadFromResourceName(GetModuleHandleW(nullptr), g.resource);
      g.button->SetGlyph(&glyph);
    }
  }
  for (TKxToolButton* button : {form->btnNewFolder, form->btnDeleteFolder}) {
    button->SetGradientColorStyle(ToolBtnGradientColorStyle());
    button->SetSelectionColorStart(ToolBtnSelectionColorStart());
    button->SetSelectionColorStop(ToolBtnSelectionColorStop());
    button->SetSelectionFrameColor(ToolBtnSelectionFrameColor());
    button->SetVisualStyle(ToolBtnVisualStyle());
  }
  form->KxStatusBar1->SetVisualStyle(ToolBtnVisualStyle());
  form->ShellTree->SetBaseFolder(baseFolder_);
  form->ShellTree->SetSelectedFolder(selectedFolder_);
}

void TKxCustomSelectFolderDialog::ReadBackForm(TKxSelectFolderForm* form) {
  if (form->HandleAllocated()) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(form->Handle(), &placement)) {
      const RECT& r = placement.rcNormalPosition;
      SetFormLeft(r.left);
      SetFormTop(r.top);
      SetFormWidth(r.right - r.left);
      SetFormHeight(r.bottom - r.top);
    }
  }
  SetFormWindowState(form->WindowState());
  SetFormPosition(form->Position());
  if (form->ModalResult() == mrOk) selectedFolder_->Assign(form->ShellTree->SelectedFolder());
}

bool TKxCustomSelectFolderDialog::DoExecute() {
  if (activeForm_) throw EInvalidOperation("TKxSelectFolderDialog form already active");
  const TCursor saved = Screen ? Screen->Cursor() : crDefault;
  if (Screen) Screen->SetCursor(crHourGlass);
  TKxSelectFolderForm* form = nullptr;
  bool result = false;
  try {
    form = CreateForm();
    InitForm(form);
    activeForm_ = form;
    DoInitialized();
    if (Screen) Screen->SetCursor(saved);
    const TModalResult modal = form->ShowModal();
    if (!ComponentState().Contains(csDesigning)) ReadBackForm(form);
    result = modal == mrOk;
  } catch (...) {
    activeForm_ = nullptr;
    delete form;
    if (Screen) Screen->SetCursor(saved);
    throw;
  }
  activeForm_ = nullptr;
  delete form;
  if (Screen) Screen->SetCursor(saved);
  return result;
}

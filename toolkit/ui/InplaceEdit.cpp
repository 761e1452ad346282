// The grid's in-place editor (see InplaceEdit.h).
#include "toolkit/ui/InplaceEdit.h"

#include "toolkit/classes/TypInfo.h"
#include "toolkit/ui/Grids.h"

const TClassInfo& TInplaceEdit::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TInplaceEdit>("TInplaceEdit", &TCustomEdit::StaticClass()).Abstract().Build();
  return info;
}

TInplaceEdit::TInplaceEdit(TCustomGrid* grid) : TCustomEdit(grid), grid_(grid) {
  SetVisible(false);
  SetTabStop(false);
  SetBorderStyle(bsNoBorder);
  SetParentFont(true);
}

void TInplaceEdit::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  params.Style |= ES_MULTILINE;  // keeps Enter and Esc inside the edit
}

void TInplaceEdit::SetTextQuietly(const std::string& text) {
  quiet_ = true;
  try {
    SetText(text);
  } catch (...) {
    quiet_ = false;
    throw;
  }
  quiet_ = false;
}

void TInplaceEdit::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_GETDLGCODE:
      message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
      if (grid_->Options().Contains(goTabs)) message.Result |= DLGC_WANTTAB;
      return;
    case WM_KILLFOCUS: {
      TCustomEdit::WndProc(message);
      // Focus moving to another control of the program ends editing (the text is already
      // stored); the program's window losing activation does not.
      const HWND to = reinterpret_cast<HWND>(message.WParam);
      const bool ownWindow = to != nullptr && GetWindowThreadProcessId(to, nullptr) == GetCurrentThreadId();
      if (grid_->EditorMode() && ownWindow && to != grid_->Handle()) grid_->HideEditor();
      return;
    }
    default: break;
  }
  TCustomEdit::WndProc(message);
}

void TInplaceEdit::KeyDown(WORD& key, TShiftState shift) {
  TCustomEdit::KeyDown(key, shift);
  if (key != 0) grid_->EditorKeyDown(key, shift);
}

void TInplaceEdit::KeyPress(wchar_t& key) {
  TCustomEdit::KeyPress(key);
  // Enter and Esc were handled as keys; the multi-line edit would insert or beep.
  if (key == L'\r' || key == L'\x1b' || (key == L'\t' && grid_->Options().Contains(goTabs))) key = 0;
}

void TInplaceEdit::Change() {
  TCustomEdit::Change();
  if (!quiet_) grid_->EditorChanged(Text());
}

// TScreen: what the program knows of the display: its size and resolution, the cursors by
// index (the standard ones and custom ones a program adds, such as a hand cursor loaded from
// its resources), a cursor that overrides every control's (Cursor), the installed font
// names, and the program's forms with the active one.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "toolkit/classes/Component.h"
#include "toolkit/ui/Control.h"

class TCustomForm;
class TFont;

class TScreen : public TComponent {
 public:
  explicit TScreen(TComponent* owner);
  ~TScreen() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // The cursor of an index: a custom one when set, else the standard one (crDefault and
  // unknown indexes give the arrow).
  HCURSOR Cursors(TCursor index) const;
  // Sets a custom cursor (the screen destroys it later); null restores the standard one.
  void SetCursors(TCursor index, HCURSOR cursor);
  // Overrides the cursor of every control while not crDefault.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);

  // Installed font family names, sorted (read once on first use).
  const std::vector<std::string>& Fonts();
  TFont* HintFont() const { return hintFont_; }
  TFont* IconFont() const { return iconFont_; }
  TFont* MenuFont() const { return menuFont_; }

  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  int PixelsPerInch() const;
  TRect WorkAreaRect() const;

  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int index) const { return forms_.at(static_cast<size_t>(index)); }
  TCustomForm* ActiveForm() const { return activeForm_; }
  void SetActiveForm(TCustomForm* form) { activeForm_ = form; }
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);

 private:
  std::map<TCursor, HCURSOR> custom_;
  TCursor cursor_ = crDefault;
  std::vector<std::string> fonts_;
  bool fontsRead_ = false;
  TFont* hintFont_;
  TFont* iconFont_;
  TFont* menuFont_;
  std::vector<TCustomForm*> forms_;
  TCustomForm* activeForm_ = nullptr;
};

extern TScreen* Screen;

// The hourglass for a scope (a long operation); the previous cursor comes back on every path.
class THourGlass {
 public:
  THourGlass() : saved_(Screen ? Screen->Cursor() : crDefault) {
    if (Screen) Screen->SetCursor(crHourGlass);
  }
  ~THourGlass() {
    if (Screen) Screen->SetCursor(saved_);
  }
  THourGlass(const THourGlass&) = delete;
  THourGlass& operator=(const THourGlass&) = delete;

 private:
  TCursor saved_;
};

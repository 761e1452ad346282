// TInplaceEdit: the edit a grid shows over its current cell while the cell is edited. It
// hands every change of its text and the keys that end or leave editing (Enter, Esc, up and
// down, page keys, Tab) back to its grid; it exists only as a child of a TCustomGrid.
#pragma once

#include <string>

#include "toolkit/ui/Edit.h"

class TCustomGrid;

class TInplaceEdit : public TCustomEdit {
 public:
  explicit TInplaceEdit(TCustomGrid* grid);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TCustomGrid* Grid() const { return grid_; }
  // Sets the text without passing it back to the grid as an edit.
  void SetTextQuietly(const std::string& text);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyPress(wchar_t& key) override;
  void Change() override;

 private:
  TCustomGrid* grid_;
  bool quiet_ = false;
};

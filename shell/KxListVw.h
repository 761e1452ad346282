// TKxCustomListView: the list view base of the shell list. Adds to the toolkit's list view the
// state colours of the framed controls, sorting by column click with alternating direction (an
// empty text after every other when ascending), a report header drawn by the list with a sort
// arrow, and stretching the last report column to the client width. The arrow geometry is a
// pure function (SortArrowRect / SortArrowShown) so its rule can be checked without a screen.
#pragma once

#include <string>

#include "controls/KxCommonTypes.h"
#include "toolkit/ui/ListView.h"

class TCanvas;

// The arrow's rectangle for a text rectangle: s = (top + bottom) div 2 - 1, left at the text's
// left, width s + 1, top (top + bottom - s) div 2 - 1, height s.
TRect SortArrowRect(const TRect& text);
// The arrow is drawn only while twice its width is less than the column width.
bool SortArrowShown(const TRect& arrow, int columnWidth);
// The column comparison: column 0 the captions, k > 0 the (k - 1)th sub-item (empty when
// missing), without regard to case; an empty text after any other; a negative column equal.
int CompareListItems(TListItem* a, TListItem* b, int column);

class TKxCustomListView : public TCustomListView {
 public:
  explicit TKxCustomListView(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  bool SortOnClick() const { return sortOnClick_; }
  void SetSortOnClick(bool value) { sortOnClick_ = value; }
  int SortColumn() const { return sortColumn_; }
  void SetSortColumn(int value);
  // 0 ascending, 1 descending.
  int SortDirection() const { return sortDirection_; }
  void SetSortDirection(int value);
  // 0 none, 1 left of the text, 2 right of the text, 3 at the right edge.
  int SortDisplayMode() const { return sortDisplayMode_; }
  void SetSortDisplayMode(int value);
  bool StretchLastColumnFlag() const { return stretchLastColumn_; }
  virtual void SetStretchLastColumn(bool value);
  virtual void StretchLastColumn();
  TColor DisabledColor() const { return disabledColor_; }
  void SetDisabledColor(TColor value);

 protected:
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  void ColumnClick(int column) override;
  // Draws one header section (owner drawn); the default draws text and arrow.
  virtual void DoDrawHeader(int column, const TRect& rect, HDC dc);
  void RefreshHeaderStyles();

 private:
  bool sortOnClick_ = false;
  int lastSorted_ = -1;
  int sortColumn_ = -1;
  int sortDirection_ = 0;
  int sortDisplayMode_ = 2;
  bool stretchLastColumn_ = true;
  bool stretching_ = false;
  TColor disabledColor_ = clBtnFace;
};

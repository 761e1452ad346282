// The selection state of a chart element (TKelSelected: the selected and the hovered item, and
// how a selection looks) and the hover look (TKelHover). A change of index repaints the element
// the selection belongs to, but only while the selection (or its hover) is shown: a chart
// element repaints its chart, a shape tells its panel, a panel invalidates itself.
#pragma once

#include <memory>

#include "chart/KelShapes.h"

class TKelHover : public TCustomTextShape {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // Font and pen red, the pen half transparent and 3 wide.
  explicit TKelHover(IShapePanel* panel);
};

class TKelSelected : public TCustomTextShape {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // `element` is what the selection belongs to: a TCustomChartElement, a TKelCustomShape or a
  // TCustomKelPanel (or null). Hidden, no item, no hover; pen red and 2 wide.
  TKelSelected(IShapePanel* panel, TPersistent* element);
  ~TKelSelected() override;

  TPersistent* Element() const { return element_; }
  TKelHover* Hover() const { return hover_.get(); }
  int ItemIndex() const { return itemIndex_; }
  int HoverIndex() const { return hoverIndex_; }
  // Store the index; repaint the element while the selection is visible.
  void ChangeItemIndex(int value);
  // Store the index; repaint the element while the hover is visible.
  void ChangeHoverIndex(int value);
  void Assign(TPersistent* source) override;

 private:
  void RepaintElement();

  TPersistent* element_;
  std::unique_ptr<TKelHover> hover_;
  int itemIndex_ = -1;
  int hoverIndex_ = -1;
};

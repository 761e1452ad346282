// The label items of an axis and its back shape. TAxisItems is either automatic (the axis makes
// its labels itself each paint; the list stays empty) or a fixed set of custom labels, each with
// its own text, value and optional format; the first item a user adds turns the automatic flag
// off. TAxisBackShape is the box an axis can draw behind its labels. Invariant: every change of
// an item's text or value, and every add, removal or clear, repaints the chart.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/KelShapes.h"

class TAxisItems;
class TKelPicture;
class TKelSelected;
class TStream;

// The box of an axis label: a text shape whose font, frame and shadow are kept in layouts.
class TAxisLabelsFormat : public TCustomTextShape {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // Transparent with centred text.
  explicit TAxisLabelsFormat(IShapePanel* panel);
};

// One custom label: its text (empty: the axis formats the value), value and format.
class TAxisItem : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  TAxisItem(TAxisItems* owner, double value, const std::string& text);
  ~TAxisItem();
  TAxisItem(const TAxisItem&) = delete;
  TAxisItem& operator=(const TAxisItem&) = delete;

  const std::string& Text() const { return text_; }
  void SetText(const std::string& value);
  double Value() const { return value_; }
  void SetValue(double value);
  // The item's own label box, created on first use (transparent); null until then.
  TCustomTextShape* Format();
  TCustomTextShape* FormatOrNull() const { return format_.get(); }
  // The picture drawn beside the label, created on first use (empty until a graphic is
  // loaded); its change repaints the chart.
  TKelPicture* Picture();
  TKelPicture* PictureOrNull() const { return picture_.get(); }
  // Pixel along the axis in the last paint.
  int Pixel = 0;

 private:
  TAxisItems* owner_;
  std::string text_;
  double value_;
  std::unique_ptr<TAxisLabelsFormat> format_;
  std::unique_ptr<TKelPicture> picture_;
};

class TAxisItems {
 public:
  // `panel` is where the formats draw; `changed` repaints the chart.
  TAxisItems(IShapePanel* panel, std::function<void()> changed);
  ~TAxisItems();

  // True while the axis makes its own labels; the first Add turns it off.
  bool Automatic() const { return automatic_; }
  void SetAutomatic(bool value) { automatic_ = value; }
  int Count() const { return static_cast<int>(items_.size()); }
  TAxisItem& Item(int index) const { return *items_[index]; }
  // Adds a custom label (the list stops being automatic) and answers it.
  TAxisItem& Add(double value, const std::string& text = {});
  // Frees one item / every item (the automatic flag is kept) and repaints.
  void Delete(int index);
  void Clear();
  // The format every label is drawn with unless its item has its own (centred, transparent).
  TCustomTextShape* Format() const { return format_.get(); }
  // The hovered label and its look, created on first use: the hover format is the label
  // format with a bold font.
  TKelSelected* Selected();
  bool HasSelected() const { return selected_ != nullptr; }
  // Copies the format and, from a custom list, its items' texts and values (the copy becomes
  // custom too).
  void Assign(const TAxisItems& source);
  // The layout entry of a custom list: a 32-bit count, then each item's properties. Reading
  // a positive count replaces the items and makes the list custom.
  void WriteItems(TStream& stream);
  void ReadItems(TStream& stream);

  IShapePanel* Panel() const { return panel_; }
  void Changed() {
    if (changed_) changed_();
  }

 private:
  IShapePanel* panel_;
  std::function<void()> changed_;
  bool automatic_ = true;
  std::vector<std::unique_ptr<TAxisItem>> items_;
  std::unique_ptr<TAxisLabelsFormat> format_;
  std::unique_ptr<TKelSelected> selected_;
};

// Where an axis title stands along its axis.
enum TAxisTitlePosition { tpStart, tpCenter, tpEnd };
const TEnumInfo& EnumTypeInfo(TAxisTitlePosition);

// The title of an axis: a transparent text box with centred text, at the centre of the axis or
// at its start or end. Its caption is the first line of its text.
class TChartAxisTitle : public TCustomTextShape {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TChartAxisTitle(IShapePanel* panel);
  void Assign(TPersistent* source) override;

  TAxisTitlePosition Position() const { return position_; }
  void SetPosition(TAxisTitlePosition value);
  std::string Caption() const;
  void SetCaption(const std::string& value) { SetText(value); }

 private:
  TAxisTitlePosition position_ = tpCenter;
};

// The box behind an axis's labels: invisible with no shadow at first, drawn through the canvas's
// 3D operations at the axis depth.
class TAxisBackShape : public TKelCustomShape {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TAxisBackShape(IShapePanel* panel);
};

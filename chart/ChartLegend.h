// The chart's legend: rows of a colour symbol and up to three text columns (series titles,
// the points of one series, last values or series groups), optionally with a check box or
// radio box per row that switches a series (or a group) on or off. It lays itself out on every
// paint (beside the chart or in a band above or below it), takes its room from the chart
// rectangle, draws its rows, answers which row lies under a point and reacts to clicks on rows
// (the clicked row becomes the selected one).
// Invariant: the layout fields (rows, columns, item height, last value, row texts) describe the
// last CalcLayout; a row whose series is gone draws an empty text and no box.
#pragma once

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "chart/ChartSeries.h"
#include "chart/KelProcs.h"
#include "chart/KelPanel.h"
#include "chart/KelShapes.h"

class TCustomChart;
class TKelPen;
class TKelHiddenPen;
class TKelFont;
class TKelShadow;
class TKelEmboss;
class TKelGradient;
class TGraphic;
class TKelSelected;

enum TLegendAlignment { laLeft, laRight, laTop, laBottom };
enum TCheckBoxesStyle { cbsCheck, cbsRadio };
enum TLegendJustify { ljAutomatic, ljYes, ljNo };
enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues, lsSeriesGroups };
enum TLegendSymbolSize { lcsPercent, lcsPixels };
enum TLegendSymbolPosition { spLeft, spRight };
const TEnumInfo& EnumTypeInfo(TLegendAlignment);
const TEnumInfo& EnumTypeInfo(TCheckBoxesStyle);
const TEnumInfo& EnumTypeInfo(TLegendJustify);
const TEnumInfo& EnumTypeInfo(TLegendStyle);
const TEnumInfo& EnumTypeInfo(TLegendSymbolSize);
const TEnumInfo& EnumTypeInfo(TLegendSymbolPosition);

VK_DECLARE_EXCEPTION(LegendException, Exception);

class TCustomChartLegend;
class TLegendItems;

// The three text columns of one legend row.
using TLegendItemText = std::array<std::string, 3>;

// Sent to the chart's listeners when the legend's boxes change (shown or hidden, check or radio).
class TKelLegendEvent : public TKelEvent {};

using TSymbolDrawEvent = TMethodEvent<TObject*, TChartSeries*, int, TRect>;

class TLegendSymbol : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TLegendSymbol(TCustomChartLegend* legend);
  ~TLegendSymbol() override;
  void Assign(TPersistent* source) override;

  bool Continuous() const { return continuous_; }
  void SetContinuous(bool v) { Set(continuous_, v); }
  bool DefaultPen() const { return defaultPen_; }
  void SetDefaultPen(bool v) { Set(defaultPen_, v); }
  int Height() const { return height_; }
  void SetHeight(int v) { Set(height_, v); }
  TLegendSymbolSize HeightUnits() const { return heightUnits_; }
  void SetHeightUnits(TLegendSymbolSize v) { Set(heightUnits_, v); }
  TKelPen* Pen() const { return pen_.get(); }
  TLegendSymbolPosition Position() const { return position_; }
  void SetPosition(TLegendSymbolPosition v) { Set(position_, v); }
  bool Squared() const { return squared_; }
  void SetSquared(bool v) { Set(squared_, v); }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { Set(visible_, v); }
  int Width() const { return width_; }
  void SetWidth(int v) { Set(width_, v); }
  TLegendSymbolSize WidthUnits() const { return widthUnits_; }
  void SetWidthUnits(TLegendSymbolSize v) { Set(widthUnits_, v); }
  bool UseImages() const { return useImages_; }
  void SetUseImages(bool v) { Set(useImages_, v); }
  // Drop shadow and emboss copy of the symbol (hidden at first, 1 pixel), and its gradient
  // (hidden at first; when shown it runs from its start colour to the row's colour).
  TKelShadow* Shadow() const { return shadow_.get(); }
  TKelEmboss* Emboss() const { return emboss_.get(); }
  TKelGradient* Gradient() const { return gradient_.get(); }
  // |HorizSize| of the shadow and of the emboss, each when visible: extra room beside a symbol.
  int EffectsWidth() const;
  // Draws the row's symbol instead of the series (Series null for a plain symbol).
  TSymbolDrawEvent OnDraw;
  // The symbol's width for a row whose texts are `textWidth` wide.
  int CalcWidth(int textWidth) const;
  // The symbol in `color`: shadow and emboss first, then the rectangle in the canvas brush's
  // style (or the symbol's gradient), shrunk by the pen width.
  void Draw(TColor color, TRect rect);

 private:
  // A shadow or emboss of the symbol rectangle on a full-3D canvas, at depth 0.5.
  void DrawEffectAtDepth(TCanvas3D* canvas, TKelShadow* effect, const TRect& rect);
  template <class T>
  void Set(T& field, T value) {
    if (field == value) return;
    field = value;
    Changed();
  }
  void Changed();
  TCustomChartLegend* legend_;
  bool continuous_ = false;
  bool defaultPen_ = true;
  int height_ = 100;
  TLegendSymbolSize heightUnits_ = lcsPercent;
  std::unique_ptr<TKelPen> pen_;
  TLegendSymbolPosition position_ = spLeft;
  bool squared_ = true;
  bool visible_ = true;
  int width_ = 20;
  TLegendSymbolSize widthUnits_ = lcsPercent;
  bool useImages_ = true;
  std::unique_ptr<TKelShadow> shadow_;
  std::unique_ptr<TKelEmboss> emboss_;
  std::unique_ptr<TKelGradient> gradient_;
};

// One legend row: the place and alignment of its first text and its symbol's rectangle
// (recorded while drawing), its three texts, and optionally a font of its own.
// Every write of a text, the alignment or the place goes through a setter that marks the list
// custom (the place with custom positions) and repaints the legend; reading anything, the font
// included, leaves the list as it is. Only the drawing records geometry without marking.
class TLegendItem {
 public:
  TLegendItem();
  ~TLegendItem();
  TLegendItem(const TLegendItem&) = delete;
  TLegendItem& operator=(const TLegendItem&) = delete;

  int Left() const { return left_; }
  int Top() const { return top_; }
  // Text alignment flags of the row's first text.
  int Align() const { return align_; }
  // Setting the place of the row's first text makes the list custom with custom positions;
  // setting its alignment makes it custom.
  void SetLeft(int value);
  void SetTop(int value);
  void SetAlign(int value);
  // The row's three texts; setting one makes the list custom.
  const TLegendItemText& Texts() const { return texts_; }
  const std::string& Text() const { return texts_[0]; }
  const std::string& Text2() const { return texts_[1]; }
  const std::string& Text3() const { return texts_[2]; }
  void SetText(const std::string& value) { SetColumn(0, value); }
  void SetText2(const std::string& value) { SetColumn(1, value); }
  void SetText3(const std::string& value) { SetColumn(2, value); }
  // The row's own font, made on first read as a copy of the legend font; a change of it
  // repaints the legend.
  TKelFont* Font();
  bool HasFont() const { return font_ != nullptr; }
  // The symbol's rectangle; with custom positions the drawing keeps the one the row has.
  TRect SymbolRect;

 private:
  friend class TLegendItems;
  friend class TCustomChartLegend;
  void SetColumn(int column, const std::string& value);
  // What a paint records: the first text's place and alignment and the three texts.
  void Record(int left, int top, int align, const TLegendItemText& texts);
  int left_ = 0, top_ = 0;
  int align_ = 0;
  TLegendItemText texts_;
  std::unique_ptr<TKelFont> font_;
  // The list the item belongs to.
  TLegendItems* list_ = nullptr;
};

// The rows' records. Reading row i grows the list with empty slots up to i and makes that row.
class TLegendItems {
 public:
  explicit TLegendItems(TCustomChartLegend* legend) : legend_(legend) {}
  ~TLegendItems();
  TCustomChartLegend* Legend() const { return legend_; }
  int Count() const { return static_cast<int>(items_.size()); }
  // Grows the list up to the index and makes the row when its slot is empty.
  TLegendItem& Item(int index);
  // The row exists (its slot is not empty).
  bool Has(int index) const { return index >= 0 && index < Count() && items_[index] != nullptr; }
  // Custom texts: set through the row's setter (marks the list custom).
  void SetText(int index, int column, const std::string& text);
  // Marks the list custom (its rows no longer come from the series), with custom positions
  // when asked, and repaints the legend.
  void MarkCustom(bool positions = false);
  // The row's first text stands at (left, top) and the symbol keeps its last rectangle (marks
  // the list custom, with custom positions).
  void SetPosition(int index, int left, int top);
  // Text alignment flags of the row's first text (marks the list custom).
  void SetAlign(int index, int align);
  // The row's own font (made on first read; the list stays as it is: recorded rows are still
  // rebuilt on every paint).
  TKelFont* Font(int index) { return Item(index).Font(); }
  bool CustomPositions() const { return customPositions_; }
  bool Custom() const { return custom_; }
  // Frees every row and repaints; the list stays custom (and with custom positions) if it was.
  void Clear();
  // Drops what the last paint recorded (nothing of a custom list); a row's own font stays.
  void FreeRecorded();

 private:
  TCustomChartLegend* legend_;
  std::vector<std::unique_ptr<TLegendItem>> items_;
  bool custom_ = false;
  bool customPositions_ = false;
};

class TLegendTitle : public TStringsShape {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TLegendTitle(IShapePanel* panel);

 protected:
  void InitEmboss(TKelEmboss& emboss) override;
};

class TCustomChartLegend : public TKelCustomShapePosition {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TCustomChartLegend(TCustomChart* chart);
  ~TCustomChartLegend() override;
  void Assign(TPersistent* source) override;

  TCustomChart* Chart() const { return chart_; }

  // ---- Properties ------------------------------------------------------------------------
  TLegendAlignment Alignment() const { return alignment_; }
  void SetAlignment(TLegendAlignment v) { Set(alignment_, v); }
  bool CheckBoxes() const { return checkBoxes_; }
  void SetCheckBoxes(bool v);
  TCheckBoxesStyle CheckBoxesStyle() const { return checkBoxesStyle_; }
  // Turning radio boxes on leaves only the first active entry active.
  void SetCheckBoxesStyle(TCheckBoxesStyle v);
  bool CurrentPage() const { return currentPage_; }
  void SetCurrentPage(bool v) { Set(currentPage_, v); }
  TKelHiddenPen* DividingLines() const { return dividingLines_.get(); }
  bool DrawBehind() const { return drawBehind_; }
  void SetDrawBehind(bool v) { Set(drawBehind_, v); }
  int FirstValue() const { return firstValue_; }
  // LegendException "First Legend Value must be > 0" below 0.
  void SetFirstValue(int v);
  bool FontSeriesColor() const { return fontSeriesColor_; }
  void SetFontSeriesColor(bool v) { Set(fontSeriesColor_, v); }
  TLegendJustify HorizJustify() const { return horizJustify_; }
  void SetHorizJustify(TLegendJustify v) { Set(horizJustify_, v); }
  int HorizMargin() const { return horizMargin_; }
  void SetHorizMargin(int v) { Set(horizMargin_, v); }
  bool Inverted() const { return inverted_; }
  void SetInverted(bool v) { Set(inverted_, v); }
  TLegendItems* Items() { return &items_; }
  TLegendStyle LegendStyle() const { return legendStyle_; }
  // Also resolves the style at once, so a click before the next paint acts in the new style.
  void SetLegendStyle(TLegendStyle v);
  int MaxNumRows() const { return maxNumRows_; }
  void SetMaxNumRows(int v) { Set(maxNumRows_, v); }
  bool ResizeChart() const { return resizeChart_; }
  void SetResizeChart(bool v) { Set(resizeChart_, v); }
  TChartSeries* Series() const { return series_; }
  void SetSeries(TChartSeries* v) { Set(series_, v); }
  TLegendSymbol* Symbol() const { return symbol_.get(); }
  TLegendTextStyle TextStyle() const { return textStyle_; }
  void SetTextStyle(TLegendTextStyle v) { Set(textStyle_, v); }
  int TextSymbolGap() const { return textSymbolGap_; }
  void SetTextSymbolGap(int v) { Set(textSymbolGap_, v); }
  TLegendTitle* Title();
  bool HasTitle() const { return title_ != nullptr; }
  // Null frees the title, another one is copied in.
  void SetTitle(TLegendTitle* value);
  int TopPos() const { return topPos_; }
  void SetTopPos(int v) { Set(topPos_, v); }
  int VertMargin() const { return vertMargin_; }
  void SetVertMargin(int v) { Set(vertMargin_, v); }
  int VertSpacing() const { return vertSpacing_; }
  void SetVertSpacing(int v) { Set(vertSpacing_, v); }
  // Whole-legend transparency in percent (0..100).
  int GlobalTransparency() const { return globalTransparency_; }
  void SetGlobalTransparency(int v) { Set(globalTransparency_, std::clamp(v, 0, 100)); }
  // A custom position in percent of the panel's size (with PositionUnits muPercent).
  TKelUnits PositionUnits() const { return positionUnits_; }
  void SetPositionUnits(TKelUnits v) { Set(positionUnits_, v); }
  int LeftPercent() const { return leftPercent_; }
  void SetLeftPercent(int v) { Set(leftPercent_, v); }
  int TopPercent() const { return topPercent_; }
  void SetTopPercent(int v) { Set(topPercent_, v); }
  int ColorWidth() const { return symbol_->Width(); }
  void SetColorWidth(int v) { symbol_->SetWidth(v); }
  // The selected and hovered rows and how a selected row's symbol is framed; created on first
  // use (a click on a row selects it). Setting null frees it, another object is copied.
  TKelSelected* Selected();
  bool HasSelected() const { return selected_ != nullptr; }
  void SetSelected(TKelSelected* value);
  // The cursor over a row: the hand while a selection is shown, else Cursor.
  TCursor RowCursor() const;

  // ---- Layout, drawing, hit test ---------------------------------------------------------
  // Visible and (check boxes shown or at least one active series).
  bool ShouldDraw() const;
  TLegendStyle ResolvedStyle() const;
  bool CheckBoxesShown() const { return checkBoxes_ && ResolvedStyle() != lsValues; }
  bool IsSideLegend() const { return alignment_ == laLeft || alignment_ == laRight; }
  // The series a values legend lists.
  TChartSeries* LegendSeries() const;
  // The n-th series the legend lists (all series for check-box clicks); null past the end.
  TChartSeries* ListedSeries(int n, bool all) const;
  void CalcLayout();
  void Draw();
  // The row index under the point; -1 outside or between rows.
  int ItemAt(int x, int y);
  // A click on row `index`: switches series (or groups) by the check or radio boxes; answers
  // whether it did.
  bool ItemClicked(int index);

  // Layout of the last CalcLayout.
  int ItemHeight() const { return itemHeight_; }
  int Rows() const { return rows_; }
  int Columns() const { return columns_; }
  int TotalItems() const { return totalItems_; }
  int LastValue() const { return lastValue_; }
  int ItemsTop() const { return itemsTop_; }
  bool EffectiveInverted() const;

 protected:
  // The legend draws its rows itself, not the shape's text.
  void DrawContent(TCanvas3D*, const TRect&, int, double) override {}

 private:
  template <class T>
  void Set(T& field, T value) {
    if (field == value) return;
    field = value;
    Repaint();
  }
  std::string RowText(int index) const;
  void ComputeRowTexts();
  int FrameWidth() const;
  int ColumnWidth(int column) const;
  int FitColumns(TLegendJustify justify);
  void MeasureColumns();
  int TotalColumnsWidth() const;
  void PlaceRowsX(int x0);
  void DrawRow(int index, int position);
  // The frame, title and rows as laid out.
  void DrawPicture();
  // Everything the legend's picture shows besides what lies under it: its settings and
  // layout, the rows' texts, series, colours and boxes, fonts and the canvas's text zoom.
  // Empty when the picture cannot be kept (a handler draws or places rows, custom items, a
  // turned or see-through legend, a full-3D canvas).
  std::string PictureKey();
  // The rectangle the picture covers: the bounds with the frame, shadow and emboss.
  TRect PictureRect();
  // Gives the canvas a legend font (3D-zoomed unless the legend's text is drawn flat).
  void UseFont(TKelFont* font);
  // Tells the chart's listeners that the boxes changed.
  void BroadcastChange();
  // Takes back the panel rectangle's origin a custom place was moved by for this paint.
  void UndoPanelShift();

  TCustomChart* chart_;
  TLegendAlignment alignment_ = laRight;
  bool checkBoxes_ = false;
  TCheckBoxesStyle checkBoxesStyle_ = cbsCheck;
  bool currentPage_ = true;
  std::unique_ptr<TKelHiddenPen> dividingLines_;
  bool drawBehind_ = false;
  int firstValue_ = 0;
  bool fontSeriesColor_ = false;
  TLegendJustify horizJustify_ = ljAutomatic;
  int horizMargin_ = 0;
  bool inverted_ = false;
  TLegendItems items_{this};
  TLegendStyle legendStyle_ = lsAuto;
  int maxNumRows_ = 0;
  bool resizeChart_ = true;
  TChartSeries* series_ = nullptr;
  std::unique_ptr<TLegendSymbol> symbol_;
  TLegendTextStyle textStyle_ = ltsLeftValue;
  int textSymbolGap_ = 2;
  std::unique_ptr<TLegendTitle> title_;
  std::unique_ptr<TKelSelected> selected_;
  int topPos_ = 10;
  int vertMargin_ = 0;
  int vertSpacing_ = 0;
  int globalTransparency_ = 0;
  TKelUnits positionUnits_ = muPixels;
  int leftPercent_ = 0;
  int topPercent_ = 0;

  // Layout state.
  TLegendStyle resolved_ = lsAuto;
  int symbolWidth_ = 0;
  int lastValue_ = -1;
  int totalItems_ = 0;
  bool drawTitle_ = false;
  std::vector<TLegendItemText> texts_;
  std::vector<std::array<int, 3>> textWidths_;
  std::vector<int> symbolWidths_;
  bool wrapped_ = false;
  int spaceWidth_ = 0;
  int innerGap_ = 0;
  int itemHeight_ = 1;
  int checkBoxX_ = 0, textX_ = 0, symbolX_ = 0;
  int columns_ = 0, rows_ = 0;
  std::vector<std::array<int, 3>> columnTextWidths_;
  int itemsTop_ = 0;
  // The panel rectangle's origin a custom-placed legend stands offset by during one paint.
  TPoint panelShift_;
};

class TChartLegend : public TCustomChartLegend {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  using TCustomChartLegend::TCustomChartLegend;
};

// The legend: style and lists, layout (side and band), drawing, hit test and clicks.
#include "chart/ChartLegend.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "canvas/Canvas3D.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCorners.h"
#include "canvas/KelFont.h"
#include "canvas/KelCanvas3D.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"
#include "canvas/KelShadow.h"
#include "canvas/View3DOptions.h"
#include "chart/BackImage.h"
#include "chart/Chart.h"
#include "chart/KelConst.h"
#include "chart/SeriesGroups.h"
#include "chart/SeriesMarks.h"
#include "chart/SeriesSelection.h"
#include "toolkit/graphics/Metafile.h"
#include "toolkit/rtl/Math.h"

namespace {

int RoundInt(double v) { return static_cast<int>(Round(v)); }

// Splits a row text at the column separator into up to three columns.
TLegendItemText SplitColumns(const std::string& text) {
  TLegendItemText result;
  const size_t a = text.find(LegendColumnSeparator);
  if (a == std::string::npos) {
    result[0] = text;
    return result;
  }
  result[0] = text.substr(0, a);
  const size_t b = text.find(LegendColumnSeparator, a + 1);
  if (b == std::string::npos) {
    result[1] = text.substr(a + 1);
    return result;
  }
  result[1] = text.substr(a + 1, b - a - 1);
  result[2] = text.substr(b + 1);
  return result;
}

}  // namespace

const TEnumInfo& EnumTypeInfo(TLegendAlignment) {
  static const TEnumInfo info("TLegendAlignment", {"laLeft", "laRight", "laTop", "laBottom"});
  return info;
}
const TEnumInfo& EnumTypeInfo(TCheckBoxesStyle) {
  static const TEnumInfo info("TCheckBoxesStyle", {"cbsCheck", "cbsRadio"});
  return info;
}
const TEnumInfo& EnumTypeInfo(TLegendJustify) {
  static const TEnumInfo info("TLegendJustify", {"ljAutomatic", "ljYes", "ljNo"});
  return info;
}
const TEnumInfo& EnumTypeInfo(TLegendStyle) {
  static const TEnumInfo info("TLegendStyle", {"lsAuto", "lsSeries", "lsValues", "lsLastValues", "lsSeriesGroups"});
  return info;
}
const TEnumInfo& EnumTypeInfo(TLegendSymbolSize) {
  static const TEnumInfo info("TLegendSymbolSize", {"lcsPercent", "lcsPixels"});
  return info;
}
const TEnumInfo& EnumTypeInfo(TLegendSymbolPosition) {
  static const TEnumInfo info("TLegendSymbolPosition", {"spLeft", "spRight"});
  return info;
}

// ---- Symbol -----------------------------------------------------------------------------------

const TClassInfo& TLegendSymbol::StaticClass() {
  using S = TLegendSymbol;
  static const TClassInfo info = TClassBuilder<S>("TLegendSymbol", &TPersistent::StaticClass())
                                     .Property("Continuous", &S::Continuous, &S::SetContinuous)
                                     .Default(false)
                                     .Property("DefaultPen", &S::DefaultPen, &S::SetDefaultPen)
                                     .Default(true)
                                     .Property("Height", &S::Height, &S::SetHeight)
                                     .Default(100)
                                     .Property("HeightUnits", &S::HeightUnits, &S::SetHeightUnits)
                                     .Default(lcsPercent)
                                     .Property("Position", &S::Position, &S::SetPosition)
                                     .Default(spLeft)
                                     .Property("Squared", &S::Squared, &S::SetSquared)
                                     .Default(true)
                                     .Property("Visible", &S::Visible, &S::SetVisible)
                                     .Default(true)
                                     .Property("Width", &S::Width, &S::SetWidth)
                                     .Default(20)
                                     .Property("WidthUnits", &S::WidthUnits, &S::SetWidthUnits)
                                     .Default(lcsPercent)
                                     .Property("UseImages", &S::UseImages, &S::SetUseImages)
                                     .Default(true)
                                     .Property("Emboss", &S::Emboss, nullptr)
                                     .Property("Gradient", &S::Gradient, nullptr)
                                     .Property("Pen", &S::Pen, nullptr)
                                     .Property("Shadow", &S::Shadow, nullptr)
                                     .Property("OnDraw", [](S& s) { return s.OnDraw; },
                                               [](S& s, TSymbolDrawEvent e) { s.OnDraw = std::move(e); })
                                     .Build();
  return info;
}

TLegendSymbol::TLegendSymbol(TCustomChartLegend* legend)
    : legend_(legend),
      pen_(std::make_unique<TKelPen>([this](TObject*) { Changed(); })),
      shadow_(std::make_unique<TKelShadow>([this](TObject*) { Changed(); })),
      emboss_(std::make_unique<TKelEmboss>([this](TObject*) { Changed(); })),
      gradient_(std::make_unique<TKelGradient>([this](TObject*) { Changed(); })) {
  shadow_->SetDefaults(false, clSilver, 1);
  emboss_->SetDefaults(false, clSilver, 1);
}

TLegendSymbol::~TLegendSymbol() = default;

void TLegendSymbol::Assign(TPersistent* source) {
  if (auto* o = dynamic_cast<TLegendSymbol*>(source)) {
    continuous_ = o->continuous_;
    defaultPen_ = o->defaultPen_;
    height_ = o->height_;
    heightUnits_ = o->heightUnits_;
    pen_->Assign(o->pen_.get());
    position_ = o->position_;
    squared_ = o->squared_;
    visible_ = o->visible_;
    width_ = o->width_;
    widthUnits_ = o->widthUnits_;
    useImages_ = o->useImages_;
    shadow_->Assign(o->shadow_.get());
    emboss_->Assign(o->emboss_.get());
    gradient_->Assign(o->gradient_.get());
    OnDraw = o->OnDraw;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TLegendSymbol::Changed() { legend_->Repaint(); }

int TLegendSymbol::CalcWidth(int textWidth) const {
  if (!visible_) return 0;
  if (squared_) {
    if (heightUnits_ == lcsPixels) return height_;
    if (height_ > 100) {
      TCanvas3D* canvas = legend_->Chart()->Canvas3D();
      return canvas != nullptr ? canvas->LineHeight() : 0;
    }
    return RoundInt((legend_->ItemHeight() - 4) * height_ * 0.01);
  }
  if (widthUnits_ == lcsPixels) return width_;
  return RoundInt(textWidth * width_ * 0.01);
}

int TLegendSymbol::EffectsWidth() const {
  int w = 0;
  if (shadow_->Visible()) w += std::abs(shadow_->HorizSize());
  if (emboss_->Visible()) w += std::abs(emboss_->HorizSize());
  return w;
}

void TLegendSymbol::DrawEffectAtDepth(TCanvas3D* canvas, TKelShadow* effect, const TRect& rect) {
  // On a full-3D canvas the effect is a plane just behind the legend's face (depth 1), in
  // front of whatever lies behind the legend.
  constexpr float kEffectDepth = 0.5f;
  if (!effect->BeginShadow(canvas, rect, 0)) return;
  const TPenStyle penStyle = canvas->Pen()->Style();
  struct End {
    TCanvas3D* canvas;
    TKelShadow* effect;
    TPenStyle penStyle;
    ~End() {
      canvas->Pen()->SetStyle(penStyle);
      effect->EndShadow(canvas);
    }
  } end{canvas, effect, penStyle};
  const TRect s = effect->ShadowRect(rect);
  canvas->Brush()->SetColor(effect->Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Pen()->SetStyle(psClear);
  const auto f = [](int x, int y) { return TPointFloat{static_cast<float>(x), static_cast<float>(y)}; };
  const TPointFloatArray corners{f(s.Left, s.Top), f(s.Right, s.Top), f(s.Right, s.Bottom), f(s.Left, s.Bottom)};
  canvas->PolygonAtZF(corners, 3, kEffectDepth);
}

void TLegendSymbol::Draw(TColor color, TRect rect) {
  TCanvas3D* canvas = legend_->Chart()->Canvas3D();
  if (canvas == nullptr) return;
  if (shadow_->IsShown() || emboss_->IsShown()) {
    // The effects paint with their own brush; the symbol keeps the one it was given, bitmap
    // included.
    const TColor brushColor = canvas->Brush()->Color();
    const TBrushStyle brushStyle = canvas->Brush()->Style();
    std::unique_ptr<TKelPicture> brushImage;
    if (canvas->Brush()->HasImage()) {
      brushImage = std::make_unique<TKelPicture>();
      brushImage->Assign(canvas->Brush()->Image());
    }
    for (TKelShadow* effect : {shadow_.get(), static_cast<TKelShadow*>(emboss_.get())}) {
      if (!effect->IsShown()) continue;
      if (canvas->SupportsFull3D())
        DrawEffectAtDepth(canvas, effect, rect);
      else
        effect->DrawRect(canvas, rect, 0, 0);
    }
    canvas->Brush()->SetColor(brushColor);
    canvas->Brush()->SetStyle(brushStyle);
    canvas->Brush()->SetImage(brushImage.get());
  }
  if (!defaultPen_) canvas->UsePen(pen_.get());
  if (gradient_->Visible()) {
    // The symbol's gradient ends in the row's colour (set on the canvas's copy: changing the
    // symbol's own gradient would repaint the chart from within its paint).
    canvas->BrushGradient()->Assign(gradient_.get());
    canvas->BrushGradient()->SetEndColor(color);
    canvas->BrushGradient()->SetVisible(true);
    if (canvas->Brush()->Style() == bsClear) canvas->Brush()->SetStyle(bsSolid);
  } else if (canvas->BrushHasGradient()) {
    // The series' own gradient brush fills the symbol as it is.
  } else {
    canvas->BrushGradient()->SetVisible(false);
    canvas->Brush()->SetColor(color);
  }
  if (canvas->Pen()->Style() == psClear) {
    if (canvas->Brush()->Style() == bsClear) return;
    rect.Right += 1;
    rect.Bottom += 1;
  } else {
    if (defaultPen_ && color == legend_->Color() && color == clBlack) canvas->Pen()->SetColor(clWhite);
    const int w = canvas->Pen()->Width();
    rect = TRect(rect.Left + w, rect.Top + w, rect.Right - w, rect.Bottom - w);
  }
  canvas->RectangleFromRect(rect);
  canvas->BrushGradient()->SetVisible(false);
}

// ---- Items ------------------------------------------------------------------------------------

TLegendItem::TLegendItem() = default;
TLegendItem::~TLegendItem() = default;

void TLegendItem::SetLeft(int value) {
  left_ = value;
  if (list_ != nullptr) list_->MarkCustom(true);
}

void TLegendItem::SetTop(int value) {
  top_ = value;
  if (list_ != nullptr) list_->MarkCustom(true);
}

void TLegendItem::SetAlign(int value) {
  align_ = value;
  if (list_ != nullptr) list_->MarkCustom();
}

void TLegendItem::SetColumn(int column, const std::string& value) {
  texts_[column] = value;
  if (list_ != nullptr) list_->MarkCustom();
}

void TLegendItem::Record(int left, int top, int align, const TLegendItemText& texts) {
  left_ = left;
  top_ = top;
  align_ = align;
  texts_ = texts;
}

TKelFont* TLegendItem::Font() {
  // Only texts, alignment and positions make the rows custom: a row's font alone does not
  // freeze the legend to the rows it had.
  if (!font_ && list_ != nullptr) {
    TCustomChartLegend* legend = list_->Legend();
    font_ = std::make_unique<TKelFont>([legend](TObject*) { legend->Repaint(); });
    font_->Assign(legend->Font());
  }
  return font_.get();
}

TLegendItems::~TLegendItems() = default;

TLegendItem& TLegendItems::Item(int index) {
  if (index >= Count()) items_.resize(index + 1);
  std::unique_ptr<TLegendItem>& slot = items_[index];
  if (!slot) {
    slot = std::make_unique<TLegendItem>();
    slot->list_ = this;
  }
  return *slot;
}

void TLegendItems::SetText(int index, int column, const std::string& text) { Item(index).SetColumn(column, text); }

void TLegendItems::MarkCustom(bool positions) {
  custom_ = true;
  if (positions) customPositions_ = true;
  legend_->Repaint();
}

void TLegendItems::SetPosition(int index, int left, int top) {
  TLegendItem& item = Item(index);
  item.SetLeft(left);
  item.SetTop(top);
}

void TLegendItems::SetAlign(int index, int align) { Item(index).SetAlign(align); }

void TLegendItems::FreeRecorded() {
  if (custom_) return;
  // The rows stay (a row handed out before a paint is still the row after it); what they
  // recorded goes.
  for (std::unique_ptr<TLegendItem>& item : items_) {
    if (!item) continue;
    item->Record(0, 0, 0, TLegendItemText());
    item->SymbolRect = TRect();
  }
}

void TLegendItems::Clear() {
  items_.clear();
  legend_->Repaint();
}

const TClassInfo& TLegendTitle::StaticClass() {
  static const TClassInfo info = TClassBuilder<TLegendTitle>("TLegendTitle", &TStringsShape::StaticClass()).Build();
  return info;
}

TLegendTitle::TLegendTitle(IShapePanel* panel) : TStringsShape(panel) {
  SetDrawsTextFlat(true);
  SetTransparentDefault(true);
  Font()->SetDefaultStyle(TFontStyles{fsBold});
  Shadow()->SetDefaults(Shadow()->Visible(), static_cast<TColor>(0xC0C0C0), 2);
}

void TLegendTitle::InitEmboss(TKelEmboss& emboss) {
  emboss.SetDefaults(emboss.Visible(), static_cast<TColor>(0xC0C0C0), 2);
}

// ---- Legend -----------------------------------------------------------------------------------

const TClassInfo& TCustomChartLegend::StaticClass() {
  // Holds the settings; TChartLegend publishes them.
  static const TClassInfo info =
      TClassBuilder<TCustomChartLegend>("TCustomChartLegend", &TKelCustomShapePosition::StaticClass())
          .Abstract()
          .Build();
  return info;
}

const TClassInfo& TChartLegend::StaticClass() {
  using L = TChartLegend;
  using SP = TShapeProperty;
  static const TClassInfo info = [] {
    TClassBuilder<L> b("TChartLegend", &TCustomChartLegend::StaticClass());
    b
        .Property("Alignment", &L::Alignment, &L::SetAlignment)
        .Default(laRight)
        .Property("CheckBoxes", &L::CheckBoxes, &L::SetCheckBoxes)
        .Default(false)
        .Property("CheckBoxesStyle", &L::CheckBoxesStyle, &L::SetCheckBoxesStyle)
        .Default(cbsCheck)
        .Property("CurrentPage", &L::CurrentPage, &L::SetCurrentPage)
        .Default(true)
        .Property("DividingLines", [](L& l) { return static_cast<TKelPen*>(l.DividingLines()); }, nullptr)
        .Property("DrawBehind", &L::DrawBehind, &L::SetDrawBehind)
        .Default(false)
        .Property("FirstValue", &L::FirstValue, &L::SetFirstValue)
        .Default(0)
        .Property("FontSeriesColor", &L::FontSeriesColor, &L::SetFontSeriesColor)
        .Default(false)
        .Property("GlobalTransparency", &L::GlobalTransparency, &L::SetGlobalTransparency)
        .Default(0)
        .Property("HorizJustify", &L::HorizJustify, &L::SetHorizJustify)
        .Default(ljAutomatic)
        .Property("HorizMargin", &L::HorizMargin, &L::SetHorizMargin)
        .Default(0)
        .Property("Inverted", &L::Inverted, &L::SetInverted)
        .Default(false)
        .Property("LeftPercent", &L::LeftPercent, &L::SetLeftPercent)
        .Default(0)
        .Property("LegendStyle", &L::LegendStyle, &L::SetLegendStyle)
        .Default(lsAuto)
        .Property("MaxNumRows", &L::MaxNumRows, &L::SetMaxNumRows)
        .Default(0)
        .Property("PositionUnits", &L::PositionUnits, &L::SetPositionUnits)
        .Default(muPixels)
        .Property("ResizeChart", &L::ResizeChart, &L::SetResizeChart)
        .Default(true)
        .Property("Selected", &L::Selected, &L::SetSelected)
        .Stored(&L::HasSelected)
        .Property("Symbol", &L::Symbol, nullptr)
        .Property("TextStyle", &L::TextStyle, &L::SetTextStyle)
        .Default(ltsLeftValue)
        .Property("TextSymbolGap", &L::TextSymbolGap, &L::SetTextSymbolGap)
        .Default(2)
        .Property("Title", &L::Title, &L::SetTitle)
        .Stored(&L::HasTitle)
        .Property("TopPercent", &L::TopPercent, &L::SetTopPercent)
        .Default(0)
        .Property("TopPos", &L::TopPos, &L::SetTopPos)
        .Default(10)
        .Property("VertMargin", &L::VertMargin, &L::SetVertMargin)
        .Default(0)
        .Property("VertSpacing", &L::VertSpacing, &L::SetVertSpacing)
        .Default(0);
    PublishShapeProperties(b, {SP::Bevel, SP::BevelWidth, SP::Brush, SP::Children, SP::ClipText, SP::Color, SP::Cursor,
                               SP::CustomPosition, SP::Emboss, SP::Font, SP::Frame, SP::Gradient, SP::Left,
                               SP::Margins, SP::Picture, SP::RoundSize, SP::Shadow, SP::ShapeCallout,
                               SP::ShapeStyle, SP::TextFormat, SP::Top, SP::Transparency, SP::Transparent,
                               SP::Visible});
    b.Property("ColorWidth", &L::ColorWidth, &L::SetColorWidth).Default(20);
    return b.Build();
  }();
  return info;
}

TCustomChartLegend::TCustomChartLegend(TCustomChart* chart)
    : TKelCustomShapePosition(chart),
      chart_(chart),
      dividingLines_(std::make_unique<TKelHiddenPen>(chart->ChangeCallback())),
      symbol_(std::make_unique<TLegendSymbol>(this)) {
  TSeriesMarks::InitGradientDefaults(*Brush()->Gradient());
  SetDrawsTextFlat(true);
}

TCustomChartLegend::~TCustomChartLegend() = default;

void TCustomChartLegend::UseFont(TKelFont* font) {
  if (DrawsTextFlat())
    chart_->AssignShapeFontFlat(font);
  else
    chart_->AssignCanvasFont(font);
}

void TCustomChartLegend::Assign(TPersistent* source) {
  if (auto* o = dynamic_cast<TCustomChartLegend*>(source)) {
    alignment_ = o->alignment_;
    globalTransparency_ = o->globalTransparency_;
    positionUnits_ = o->positionUnits_;
    leftPercent_ = o->leftPercent_;
    topPercent_ = o->topPercent_;
    checkBoxes_ = o->checkBoxes_;
    checkBoxesStyle_ = o->checkBoxesStyle_;
    currentPage_ = o->currentPage_;
    dividingLines_->Assign(o->dividingLines_.get());
    drawBehind_ = o->drawBehind_;
    firstValue_ = o->firstValue_;
    fontSeriesColor_ = o->fontSeriesColor_;
    horizJustify_ = o->horizJustify_;
    horizMargin_ = o->horizMargin_;
    inverted_ = o->inverted_;
    legendStyle_ = o->legendStyle_;
    maxNumRows_ = o->maxNumRows_;
    resizeChart_ = o->resizeChart_;
    symbol_->Assign(o->symbol_.get());
    textStyle_ = o->textStyle_;
    // Published like the rest, so a copied chart keeps it too.
    textSymbolGap_ = o->textSymbolGap_;
    if (o->title_) Title()->Assign(o->title_.get());
    else title_.reset();
    if (o->selected_) Selected()->Assign(o->selected_.get());
    else selected_.reset();
    topPos_ = o->topPos_;
    vertMargin_ = o->vertMargin_;
    vertSpacing_ = o->vertSpacing_;
  }
  TKelCustomShapePosition::Assign(source);
}

void TCustomChartLegend::SetTitle(TLegendTitle* value) {
  if (value == nullptr) title_.reset();
  else Title()->Assign(value);
  Repaint();
}

TKelSelected* TCustomChartLegend::Selected() {
  if (!selected_) selected_ = std::make_unique<TKelSelected>(chart_, this);
  return selected_.get();
}

void TCustomChartLegend::SetSelected(TKelSelected* value) {
  if (value == nullptr) {
    selected_.reset();
    Repaint();
    return;
  }
  Selected()->Assign(value);
}

TCursor TCustomChartLegend::RowCursor() const {
  return selected_ && selected_->Visible() ? static_cast<TCursor>(crHandPoint) : static_cast<TCursor>(Cursor());
}

TLegendTitle* TCustomChartLegend::Title() {
  if (!title_) title_ = std::make_unique<TLegendTitle>(chart_);
  return title_.get();
}

void TCustomChartLegend::SetCheckBoxes(bool v) {
  if (checkBoxes_ == v) return;
  checkBoxes_ = v;
  Repaint();
  BroadcastChange();
}

void TCustomChartLegend::BroadcastChange() {
  TKelLegendEvent event;
  chart_->Broadcast(event);
}

void TCustomChartLegend::SetLegendStyle(TLegendStyle v) {
  if (legendStyle_ == v) return;
  legendStyle_ = v;
  resolved_ = ResolvedStyle();
  Repaint();
}

void TCustomChartLegend::SetFirstValue(int v) {
  if (v < 0) throw LegendException(KelMsg_FirstLegendValue);
  Set(firstValue_, v);
}

void TCustomChartLegend::SetCheckBoxesStyle(TCheckBoxesStyle v) {
  if (checkBoxesStyle_ == v) return;
  checkBoxesStyle_ = v;
  if (v == cbsRadio && ResolvedStyle() == lsSeriesGroups) {
    // Only the first group that shows anything stays on.
    bool first = true;
    TSeriesGroups* groups = chart_->SeriesGroups();
    for (int i = 0; i < groups->Count(); ++i) {
      TSeriesGroup* g = groups->Items(i);
      if (g->ReadActive() == gaNo) continue;
      if (!first) g->ChangeActive(gaNo);
      first = false;
    }
  } else if (v == cbsRadio) {
    bool first = true;
    for (int i = 0; i < chart_->SeriesCount(); ++i) {
      TChartSeries* s = chart_->SeriesAt(i);
      if (!s->Active() || !s->ShowInLegend()) continue;
      if (!first) s->ChangeActive(false);
      first = false;
    }
  }
  Repaint();
  BroadcastChange();
}

TLegendStyle TCustomChartLegend::ResolvedStyle() const {
  if (legendStyle_ != lsAuto) return legendStyle_;
  if (checkBoxes_) return lsSeries;
  int listed = 0;
  for (int i = 0; i < chart_->SeriesCount(); ++i) {
    TChartSeries* s = chart_->SeriesAt(i);
    if (s->Active() && s->ShowInLegend()) ++listed;
  }
  return listed > 1 ? lsSeries : lsValues;
}

bool TCustomChartLegend::ShouldDraw() const {
  return Visible() && (CheckBoxesShown() || chart_->ActiveSeriesCount() > 0);
}

TChartSeries* TCustomChartLegend::LegendSeries() const {
  if (series_ != nullptr) return series_;
  TChartSeries* firstActive = nullptr;
  for (int i = 0; i < chart_->SeriesCount(); ++i) {
    TChartSeries* s = chart_->SeriesAt(i);
    if (!s->Active()) continue;
    if (firstActive == nullptr) firstActive = s;
    if (s->ShowInLegend()) return s;
  }
  return firstActive;
}

TChartSeries* TCustomChartLegend::ListedSeries(int n, bool all) const {
  if (n < 0) return nullptr;
  const bool anyActive = all || checkBoxes_;
  for (int i = 0; i < chart_->SeriesCount(); ++i) {
    TChartSeries* s = chart_->SeriesAt(i);
    if (!s->ShowInLegend() || (!anyActive && !s->Active())) continue;
    if (n-- == 0) return s;
  }
  return nullptr;
}

bool TCustomChartLegend::EffectiveInverted() const {
  bool inverted = inverted_;
  if (resolved_ == lsValues) {
    TChartSeries* s = LegendSeries();
    if (s != nullptr && s->ReversesLegendOrder()) inverted = !inverted;
  }
  return inverted;
}

std::string TCustomChartLegend::RowText(int index) const {
  std::string text;
  switch (resolved_) {
    case lsSeries: {
      if (TChartSeries* s = ListedSeries(index, false)) {
        text = s->LegendTitle();
        if (text.empty()) text = s->TitleText();
      }
      break;
    }
    case lsValues:
      text = chart_->LegendTextFor(LegendSeries(), index);
      break;
    case lsLastValues: {
      if (TChartSeries* s = ListedSeries(index, false)) text = chart_->LegendTextFor(s, s->PointCount() - 1);
      break;
    }
    case lsSeriesGroups:
      if (index >= 0 && index < chart_->SeriesGroups()->Count()) text = chart_->SeriesGroups()->Items(index)->Name();
      break;
    default:
      break;
  }
  chart_->OnGetLegendText(chart_, resolved_, index, text);
  return text;
}

int TCustomChartLegend::FrameWidth() const {
  return (Pen()->Visible() ? Pen()->Width() : 0) + (Bevel() != bvNone ? BevelWidth() : 0);
}

void TCustomChartLegend::ComputeRowTexts() {
  const int n = std::max(0, lastValue_ - firstValue_ + 1);
  texts_.assign(n, {});
  textWidths_.assign(n, {0, 0, 0});
  symbolWidths_.assign(n, 0);
  TCanvas3D* canvas = chart_->Canvas3D();
  symbolWidth_ = 0;
  const bool inverted = EffectiveInverted();
  for (int s = 0; s < n; ++s) {
    const int row = inverted ? lastValue_ - s : firstValue_ + s;
    if (items_.Custom() && items_.Has(row))
      texts_[s] = items_.Item(row).Texts();
    else
      texts_[s] = SplitColumns(RowText(row));
    int rowWidth = 0;
    for (int j = 0; j < 3; ++j) {
      const std::string& t = texts_[s][j];
      int w = 0, h = 0;
      if (!t.empty()) chart_->TextLinesExtent(t, TextFormat() == ttfHtml, w, h);
      textWidths_[s][j] = t.empty() ? 0 : w + textSymbolGap_;
      if (!t.empty()) rowWidth += textWidths_[s][j] + spaceWidth_ - 1;
    }
    (void)canvas;
    symbolWidths_[s] = symbol_->CalcWidth(rowWidth);
    symbolWidth_ = std::max(symbolWidth_, symbolWidths_[s]);
  }
}

void TCustomChartLegend::MeasureColumns() {
  const int shown = static_cast<int>(texts_.size());
  columnTextWidths_.assign(std::max(columns_, 0), {0, 0, 0});
  for (int c = 0; c < columns_; ++c)
    for (int p = c; p < shown; p += columns_)
      for (int j = 0; j < 3; ++j) columnTextWidths_[c][j] = std::max(columnTextWidths_[c][j], textWidths_[p][j]);
}

int TCustomChartLegend::ColumnWidth(int column) const {
  int w = 0;
  if (column < static_cast<int>(columnTextWidths_.size()))
    for (int j = 0; j < 3; ++j) w += columnTextWidths_[column][j];
  w += symbolWidth_ + textSymbolGap_ + 8;
  if (CheckBoxesShown()) w += 15;
  if (column < columns_ - 1) {
    if (dividingLines_->Visible()) w += dividingLines_->Width() + 2;
    w += 2;
  }
  return w;
}

int TCustomChartLegend::TotalColumnsWidth() const {
  int w = 2;
  for (int c = 0; c < columns_; ++c) w += ColumnWidth(c);
  return w;
}

int TCustomChartLegend::FitColumns(TLegendJustify justify) {
  const int shown = static_cast<int>(texts_.size());
  if (shown == 0) return 0;
  const int F = FrameWidth();
  const TRect& pr = chart_->PanelRect();
  const int available = pr.Width() - 2 * F - (chart_->BorderSize() + chart_->Width() * horizMargin_ / 100) -
                        (CustomPosition() ? 0 : RoundInt(topPos_ * chart_->Width() * 0.01));
  auto countFitting = [&]() {
    columns_ = shown;
    MeasureColumns();
    int used = 0, count = 0;
    for (int c = 0; c < shown; ++c) {
      used += ColumnWidth(c);
      if (used > available) break;
      ++count;
    }
    return count;
  };
  int count = countFitting();
  if (justify != ljYes) {
    wrapped_ = false;
    if (count > 0 || horizJustify_ != ljAutomatic) return std::min(count, totalItems_);
  }
  wrapped_ = true;
  for (;;) {
    columns_ = std::max(count, 1);
    rows_ = (totalItems_ + columns_ - 1) / columns_;
    MeasureColumns();
    if (TotalColumnsWidth() <= available || count <= 0) break;
    --count;
  }
  return count;
}

void TCustomChartLegend::PlaceRowsX(int x0) {
  const int a = x0 + FrameWidth() / 2 + 6;
  if (!symbol_->Visible() || symbol_->Position() == spRight || resolved_ == lsSeriesGroups) {
    textX_ = a + (symbol_->Visible() ? 0 : 2);
    if (symbol_->Visible() && symbol_->Position() == spRight) {
      int first = 0;
      if (!columnTextWidths_.empty())
        for (int j = 0; j < 3; ++j) first += columnTextWidths_[0][j];
      symbolX_ = first + textX_ + textSymbolGap_;
    } else {
      symbolX_ = a - textSymbolGap_;
    }
    return;
  }
  symbolX_ = a;
  textX_ = a + symbolWidth_ + textSymbolGap_ + 4;
  // The text keeps clear of the symbol's shadow; a shadow to the left moves the symbol too.
  const int s = symbol_->Shadow()->Visible() ? symbol_->Shadow()->HorizSize() : 0;
  if (s != 0) {
    textX_ += std::abs(s);
    if (s < 0) symbolX_ += std::abs(s);
  }
}

void TCustomChartLegend::CalcLayout() {
  resolved_ = ResolvedStyle();
  const int F = FrameWidth();
  TCanvas3D* canvas = chart_->Canvas3D();
  UndoPanelShift();
  if (CustomPosition()) {
    if (positionUnits_ == muPercent) {
      const int w = Width(), h = Height();
      const int left = RoundInt(leftPercent_ * chart_->Width() * 0.01);
      const int top = RoundInt(topPercent_ * chart_->Height() * 0.01);
      Bounds = TRect(left, top, left + w, top + h);
    }
    // A custom place is relative to the panel rectangle, wherever the panel is drawn.
    panelShift_ = TPoint(chart_->PanelRect().Left, chart_->PanelRect().Top);
    Bounds = Bounds.Moved(panelShift_.X, panelShift_.Y);
  }
  TChartPage* pages = chart_->Pages();
  const bool paging = pages->MaxPointsPerPage() > 0;
  if (resolved_ == lsValues && currentPage_ && paging)
    firstValue_ = pages->FirstPointOfPage();
  else if (paging && resolved_ != lsValues)
    firstValue_ = 0;

  // Rows to list.
  int total = 0;
  if (items_.Custom()) {
    total = items_.Count();
  } else if (resolved_ == lsSeries || resolved_ == lsLastValues) {
    int listed = 0;
    while (ListedSeries(listed, false) != nullptr) ++listed;
    total = listed - firstValue_;
  } else if (resolved_ == lsValues) {
    TChartSeries* s = LegendSeries();
    total = s != nullptr && s->ShowInLegend() ? s->PointCount() - firstValue_ : 0;
  } else if (resolved_ == lsSeriesGroups) {
    total = chart_->SeriesGroups()->Count();
  }
  total = std::max(total, 0);
  // A paging chart shows at most a page's worth of rows, whatever they list.
  if (paging) total = std::min(total, pages->MaxPointsPerPage());
  totalItems_ = total;

  UseFont(Font());
  int w = 0, h = 0;
  chart_->TextLinesExtent(" ", false, w, h);
  spaceWidth_ = w;
  int H = canvas->LineHeight();
  if (symbol_->Visible()) {
    if (symbol_->HeightUnits() == lcsPixels)
      H = std::max(H, symbol_->Height());
    else if (symbol_->Height() > 100)
      H = RoundInt(H * symbol_->Height() * 0.01);
  }
  if (CheckBoxesShown()) H = std::max(H, 17);
  itemHeight_ = H + vertSpacing_;
  if (IsSideLegend() && dividingLines_->Visible()) itemHeight_ += dividingLines_->Width();
  itemHeight_ = std::max(itemHeight_, 1);  // a negative spacing must not make rows of no height
  drawTitle_ = title_ && title_->Visible() && !title_->Text().empty();
  int titleHeight = 0, titleWidth = 0;
  if (drawTitle_) {
    title_->Bounds = TRect(0, 0, 0, 0);
    title_->CalcSize();
    titleHeight = title_->Height();
    int sw = 0, sh = 0;
    UseFont(title_->Font());
    chart_->TextLinesExtent(" ", false, sw, sh);
    titleWidth = title_->Width() + sw;
    UseFont(Font());
  }
  innerGap_ = RoundInt(itemHeight_ * 0.1);

  const TRect cr = chart_->ChartBounds();
  int top = Bounds.Top;
  wrapped_ = false;
  if (IsSideLegend()) {
    if (!CustomPosition()) top = cr.Top + RoundInt(topPos_ * cr.Height() * 0.01) + F / 2;
    columns_ = 1;
    itemsTop_ = top + (Pen()->Visible() ? Pen()->Width() / 2 : 0) + (drawTitle_ ? titleHeight + 2 : 0);
    rows_ = itemsTop_ < cr.Bottom ? std::min((cr.Bottom - F - itemsTop_) / itemHeight_, total) : 0;
    rows_ = std::max(rows_, 0);
    if (maxNumRows_ != 0) rows_ = std::min(rows_, maxNumRows_);
    lastValue_ = std::min(total, rows_) + firstValue_ - 1;
    ComputeRowTexts();
    MeasureColumns();
  } else {
    lastValue_ = firstValue_ + total - 1;
    ComputeRowTexts();
    if (!CustomPosition() && alignment_ == laTop) top = F / 2 + cr.Top + 1;
    columns_ = FitColumns(horizJustify_);
    rows_ = columns_ > 0 ? (total + columns_ - 1) / columns_ : 0;
    rows_ = std::min(rows_, maxNumRows_ != 0 ? maxNumRows_ : 10);
    if (rows_ > 1) {
      wrapped_ = true;
      columns_ = FitColumns(ljYes);
      rows_ = columns_ > 0 ? std::min((total + columns_ - 1) / columns_, maxNumRows_ != 0 ? maxNumRows_ : 10) : 0;
      MeasureColumns();
    }
    // Not one column fits: nothing is shown and no room is taken.
    if (columns_ <= 0) {
      rows_ = 0;
      lastValue_ = firstValue_ - 1;
    } else {
      lastValue_ = wrapped_ ? firstValue_ + std::min(total, columns_ * rows_) - 1 : firstValue_ + total - 1;
    }
    itemsTop_ = top + (Pen()->Visible() ? Pen()->Width() / 2 : 0) + (drawTitle_ ? titleHeight + 2 : 0);
  }
  if (lastValue_ < firstValue_) return;

  int height = itemHeight_ * rows_ + 2 + 2 * innerGap_ + F;
  if (drawTitle_) height += titleHeight + 4;
  if (symbol_->Visible()) {
    // A symbol's shadow or emboss deeper than a sixth of a row needs the excess below.
    for (TKelShadow* effect : {symbol_->Shadow(), static_cast<TKelShadow*>(symbol_->Emboss())})
      if (effect->Visible() && effect->VertSize() > itemHeight_ / 6) height += effect->VertSize() - itemHeight_ / 6;
  }
  if (!IsSideLegend() && alignment_ == laBottom && !CustomPosition()) {
    int bottom = cr.Bottom - (F / 2 + 1 + (Shadow()->Visible() ? Shadow()->VertSize() : 0) +
                              (HasEmboss() && Emboss()->Visible() ? Emboss()->VertSize() : 0));
    top = bottom - height;
    itemsTop_ = top + (Pen()->Visible() ? Pen()->Width() / 2 : 0) + (drawTitle_ ? titleHeight + 2 : 0);
  }
  Bounds.Top = top;
  Bounds.Bottom = top + height;

  const bool boxes = CheckBoxesShown();
  if (IsSideLegend()) {
    int widest = 0;
    for (const auto& widths : textWidths_) {
      int row = 0;
      for (int j = 0; j < 3; ++j)
        if (widths[j] > 0) row += widths[j] + spaceWidth_ - 1;
      widest = std::max(widest, row);
    }
    int W = widest + textSymbolGap_ + 2;
    if (symbol_->Visible() && resolved_ != lsSeriesGroups) {
      symbolWidth_ = symbol_->CalcWidth(W);
      W += symbolWidth_ + 4 + symbol_->EffectsWidth();
    } else if (resolved_ == lsSeriesGroups) {
      symbolWidth_ = 0;
    }
    W += F;
    W = std::max(W, titleWidth);
    int left = Bounds.Left;
    if (alignment_ == laLeft && !CustomPosition()) left = cr.Left + F + 1;
    if (alignment_ == laRight && !CustomPosition()) {
      const int right = cr.Right - std::max(0, Shadow()->Visible() ? Shadow()->HorizSize() : 0) - (F / 2 + 1);
      left = right - W - (boxes ? 15 : 0);
    }
    int x = left;
    if (boxes) {
      checkBoxX_ = x + 4;
      x += 15;
    }
    Bounds.Left = left;
    Bounds.Right = x + W;
    PlaceRowsX(x);
  } else {
    int W = TotalColumnsWidth() + (wrapped_ ? 2 * columns_ : 4);
    W = std::max(W, titleWidth);
    const int half = std::min(chart_->PanelRect().Width() - RoundInt(topPos_ * chart_->Width() * 0.01), W) / 2;
    int left = Bounds.Left;
    if (!CustomPosition()) left = chart_->ChartXCenter() - half;
    Bounds.Left = left;
    Bounds.Right = left + 2 * half;
    int x = left;
    if (boxes) {
      checkBoxX_ = x + 4;
      x += 15;
    }
    PlaceRowsX(x);
  }
  TRect bounds = Bounds;
  chart_->OnGetLegendRect(chart_, bounds);
  Bounds = bounds;

  if (resizeChart_ && !CustomPosition()) {
    TRect r = chart_->ChartBounds();
    switch (alignment_) {
      case laLeft:
        r.Left = Bounds.Right;
        r.Left += horizMargin_ != 0 ? horizMargin_ : 3 * r.Width() / 100;
        break;
      case laRight:
        r.Right = Bounds.Left;
        r.Right -= horizMargin_ != 0 ? horizMargin_ : 3 * r.Width() / 100;
        break;
      case laTop:
        // The panel's own shadow and emboss lie under a top legend too.
        r.Top = Bounds.Bottom + (chart_->Shadow()->Visible() ? chart_->Shadow()->VertSize() : 0) +
                (chart_->Emboss()->Visible() ? chart_->Emboss()->VertSize() : 0);
        r.Top += vertMargin_ != 0 ? vertMargin_ : 4 * r.Height() / 100;
        break;
      case laBottom:
        r.Bottom = Bounds.Top;
        r.Bottom -= vertMargin_ != 0 ? vertMargin_ : 4 * r.Height() / 100;
        break;
    }
    chart_->SetChartBounds(r);
    chart_->ClampChartRect();
  }
}

void TCustomChartLegend::UndoPanelShift() {
  Bounds = Bounds.Moved(-panelShift_.X, -panelShift_.Y);
  panelShift_ = TPoint(0, 0);
}

void TCustomChartLegend::Draw() {
  // However the drawing ends, a custom place goes back to panel-relative bounds.
  struct Unshift {
    TCustomChartLegend& legend;
    ~Unshift() { legend.UndoPanelShift(); }
  } unshift{*this};
  if (lastValue_ < firstValue_) return;
  // Between ticks the legend mostly shows the same: its last picture serves while the key and
  // what lies under it stay.
  const std::string key = PictureKey();
  if (key.empty()) {
    DrawPicture();
    return;
  }
  if (chart_->PaintKept(TCustomKelPanel::kKeptLegend, PictureRect(), key, [this] { DrawPicture(); }))
    UseFont(Font());
}

std::string TCustomChartLegend::PictureKey() {
  TCanvas3D* canvas = chart_->Canvas3D();
  if (canvas == nullptr || canvas->SupportsFull3D() || symbol_->OnDraw || chart_->OnGetLegendPos || items_.Custom() ||
      globalTransparency_ > 0 || Angle() != 0)
    return {};
  std::string key = TCustomKelPanel::SettingsKey(this);
  const auto add = [&key](long long v) { key += std::to_string(v) + ','; };
  key += '|';
  for (int v : {Bounds.Left, Bounds.Top, Bounds.Right, Bounds.Bottom, itemsTop_, textX_, symbolX_, checkBoxX_,
                itemHeight_, innerGap_, spaceWidth_, columns_, rows_, firstValue_, lastValue_, totalItems_,
                static_cast<int>(resolved_), symbolWidth_, wrapped_ ? 1 : 0, drawTitle_ ? 1 : 0, panelShift_.X,
                panelShift_.Y, chart_->View3D() ? 1 : 0, static_cast<int>(chart_->Color()),
                static_cast<int>(chart_->BackgroundColor())})
    add(v);
  if (drawTitle_) {
    add(title_->Width());
    add(title_->Height());
  }
  if (auto* kel = dynamic_cast<TKelCanvas3D*>(canvas)) add(kel->DefaultFontQuality);
  key += std::to_string(canvas->TextZoom) + '|' + TCustomKelPanel::SettingsKey(chart_->View3DOptions()) + '|' +
         TCustomKelPanel::SettingsKey(chart_->DefaultFont()) + '|';
  for (size_t p = 0; p < texts_.size(); ++p) {
    for (const std::string& t : texts_[p]) key += t + '\x1f';
    for (int w : textWidths_[p]) add(w);
    add(symbolWidths_[p]);
  }
  for (const auto& widths : columnTextWidths_)
    for (int w : widths) add(w);
  // Hover and selection.
  add(chart_->Hover()->Visible() ? 1 : 0);
  if (selected_) {
    add(selected_->HoverIndex());
    add(selected_->ItemIndex());
  }
  // The rows' series as their symbols and boxes show them.
  const bool boxes = CheckBoxesShown();
  for (int index = firstValue_; index <= lastValue_; ++index) {
    if (items_.Has(index) && items_.Item(index).HasFont()) key += TCustomKelPanel::SettingsKey(items_.Item(index).Font());
    if (resolved_ == lsSeriesGroups) {
      if (index < chart_->SeriesGroups()->Count()) add(static_cast<int>(chart_->SeriesGroups()->Items(index)->ReadActive()));
      continue;
    }
    TChartSeries* series = resolved_ == lsValues ? LegendSeries() : ListedSeries(index, boxes);
    if (series == nullptr) {
      key += "-,";
      continue;
    }
    add(static_cast<long long>(reinterpret_cast<std::uintptr_t>(series)));
    add(series->Active() ? 1 : 0);
    add(static_cast<int>(series->EffectiveColor()));
    if (resolved_ == lsValues) {
      const int point = series->MapLegendIndex(index);
      add(point);
      if (point >= 0 && point < series->PointCount()) add(static_cast<int>(series->LegendColor(point)));
    }
    if (resolved_ != lsValues || index == firstValue_) {
      // The series' drawing settings, without its points.
      const bool saved = series->DontSaveData;
      series->DontSaveData = true;
      key += series->ClassType().Name() + TCustomKelPanel::SettingsKey(series);
      series->DontSaveData = saved;
    }
  }
  return key;
}

TRect TCustomChartLegend::PictureRect() {
  TRect r = Bounds;
  for (TKelShadow* effect : {static_cast<TKelShadow*>(Shadow()), HasEmboss() ? static_cast<TKelShadow*>(Emboss()) : nullptr}) {
    if (effect == nullptr || !effect->Visible()) continue;
    const int blur = effect->Smooth() ? std::abs(effect->SmoothBlur()) : 0;
    r.Left = std::min(r.Left, Bounds.Left + effect->HorizSize() - blur);
    r.Right = std::max(r.Right, Bounds.Right + effect->HorizSize() + blur);
    r.Top = std::min(r.Top, Bounds.Top + effect->VertSize() - blur);
    r.Bottom = std::max(r.Bottom, Bounds.Bottom + effect->VertSize() + blur);
  }
  const int frame = (Pen()->Visible() ? Pen()->Width() : 0) + 2;
  return TRect(r.Left - frame, r.Top - frame, r.Right + frame, r.Bottom + frame);
}

void TCustomChartLegend::DrawPicture() {
  TCanvas3D* canvas = chart_->Canvas3D();
  canvas->BeginElement("Legend", 0, nullptr);
  struct End {
    TCanvas3D* canvas;
    ~End() { canvas->EndElement(); }
  } end{canvas};
  TKelBlend* blend = nullptr;
  if (globalTransparency_ > 0) blend = canvas->StartTransparency(Bounds, static_cast<std::uint8_t>(globalTransparency_));
  struct Finish {
    TCanvas3D* canvas;
    TKelBlend*& blend;
    ~Finish() {
      if (blend != nullptr) canvas->FinishTransparency(blend);
    }
  } finish{canvas, blend};
  DrawInRect(Bounds, canvas->SupportsFull3D() ? 1 : 0, canvas->SupportsFull3D() ? 0 : Angle());
  if (drawTitle_) {
    const int w = title_->Width(), h = title_->Height();
    int x = Bounds.Left + 2;
    // The title's placement (Alignment), not the alignment of its text inside its own box.
    if (title_->Alignment() == taCenter) x = (Bounds.Left + Bounds.Right - w) / 2;
    if (title_->Alignment() == taRightJustify) x = Bounds.Right - w - 2;
    title_->Bounds = TRect(x, Bounds.Top + 2, x + w, Bounds.Top + 2 + h);
    title_->DrawAt();
  }
  UseFont(Font());
  canvas->BeginElement("Items", 0, nullptr);
  struct EndItems {
    TCanvas3D* canvas;
    ~EndItems() { canvas->EndElement(); }
  } endItems{canvas};
  items_.FreeRecorded();
  if (EffectiveInverted()) {
    for (int i = lastValue_; i >= firstValue_; --i) DrawRow(i, lastValue_ - i);
  } else {
    for (int i = firstValue_; i <= lastValue_; ++i) DrawRow(i, i - firstValue_);
  }
}

void TCustomChartLegend::DrawRow(int index, int p) {
  if (p >= totalItems_ || p >= static_cast<int>(texts_.size())) return;
  TCanvas3D* canvas = chart_->Canvas3D();
  const bool boxes = CheckBoxesShown();
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsClear);
  canvas->SetBackMode(TRANSPARENT);
  int tx = textX_;
  int y = itemsTop_ + 1 + innerGap_;
  int sx = Bounds.Left + 6 + FrameWidth() / 2 + (checkBoxes_ ? textSymbolGap_ + 11 : 0);
  int row = p, offset = 0;
  if (!IsSideLegend() && columns_ > 0) {
    row = p / columns_;
    for (int c = 0; c < p % columns_; ++c) offset += ColumnWidth(c);
    sx += offset;
    tx += offset;
  }
  // A symbol on the right stands after the row's texts.
  if (symbol_->Position() == spRight) {
    const bool shared = (IsSideLegend() || wrapped_) && columns_ > 0 &&
                        p % columns_ < static_cast<int>(columnTextWidths_.size());
    for (int j = 0; j < 3; ++j) sx += shared ? columnTextWidths_[p % columns_][j] : textWidths_[p][j];
    sx += textSymbolGap_ + 2;
  }
  y += itemHeight_ * row + vertSpacing_ / 2;
  int colorX = sx;
  chart_->OnGetLegendPos(chart_, index, tx, y, colorX);
  sx = colorX;

  // The series behind the row; a series row whose series is gone shows nothing of it.
  TChartSeries* series = nullptr;
  bool missing = false;
  if (resolved_ == lsSeries || resolved_ == lsLastValues) {
    series = ListedSeries(index, boxes);
    missing = series == nullptr;
  } else if (resolved_ == lsValues) {
    series = LegendSeries();
  } else if (resolved_ == lsSeriesGroups) {
    missing = index >= chart_->SeriesGroups()->Count();
  }
  UseFont(Font());
  if (fontSeriesColor_ && series != nullptr)
    canvas->Font()->SetColor(resolved_ == lsValues ? series->LegendColor(index) : series->EffectiveColor());
  // The hovered row's text takes the hover look's colour.
  if (chart_->Hover()->Visible() && selected_ && selected_->Hover()->Visible() && selected_->HoverIndex() == index)
    canvas->Font()->SetColor(selected_->Hover()->Font()->Color());
  canvas->SetTextAlign(0);
  int cursor = tx - 2;
  // Drawing records geometry into the row's item; it never adds items to a custom list (a
  // row past its end records into a scratch item).
  TLegendItem scratch;
  TLegendItem& item = !items_.Custom() || items_.Has(index) ? items_.Item(index) : scratch;
  const TLegendTextStyle ts = textStyle_;
  const bool firstRight = ts == ltsLeftValue || ts == ltsLeftPercent || ts == ltsXValue || ts == ltsValue ||
                          ts == ltsPercent || ts == ltsXAndValue || ts == ltsXAndPercent;
  const bool secondRight = ts == ltsRightValue || ts == ltsRightPercent || ts == ltsXAndValue || ts == ltsXAndPercent;
  for (int j = 0; j < 3 && !missing; ++j) {
    const std::string& text = texts_[p][j];
    const bool right = resolved_ != lsSeries && (j == 0 ? firstRight : secondRight);
    const bool shared = (IsSideLegend() || wrapped_) && columns_ > 0 &&
                        p % columns_ < static_cast<int>(columnTextWidths_.size());
    const int width = shared ? columnTextWidths_[p % columns_][j] : textWidths_[p][j];
    // A right-aligned column moves to its right edge first and does not advance again.
    if (right) cursor += shared ? width - 4 : canvas->MeasureTextWidth(text);
    if (!text.empty()) {
      int tx0 = cursor, ty = y + (boxes ? 1 : 0);
      int align = right ? 2 : 0;
      if (j == 0) {
        if (items_.CustomPositions()) {
          tx0 = item.Left();
          ty = item.Top();
          align = item.Align();
        } else {
          item.Record(tx0, ty, align, texts_[p]);
        }
        if (item.HasFont()) UseFont(item.Font());
      }
      canvas->SetTextAlign(align);
      canvas->TextOutAllowMarkup(tx0, ty, text, TextFormat() == ttfHtml);
      canvas->SetTextAlign(0);
    }
    if (!right) cursor += width;
    cursor += spaceWidth_;
  }

  // Symbol rectangle.
  const int symbolWidth = symbolWidths_[p];
  TRect rect(sx, y, sx + symbolWidth, y);
  if (symbol_->HeightUnits() == lcsPixels) {
    rect.Bottom = y + symbol_->Height();
  } else {
    rect.Bottom = y + itemHeight_ + 1;
    if (!(symbol_->Continuous() && p > 0)) rect.Top = y + 2;
    if (!(symbol_->Continuous() && p < lastValue_ - firstValue_)) rect.Bottom -= vertSpacing_ + 3;
    if (symbol_->Height() <= 100) rect.Bottom = rect.Top + RoundInt(symbol_->Height() * (rect.Bottom - rect.Top) * 0.01);
  }
  // Custom positions keep the rectangle the symbol had.
  if (items_.CustomPositions() && item.SymbolRect.Right > item.SymbolRect.Left)
    rect = item.SymbolRect;
  else
    item.SymbolRect = rect;
  if (missing) return;

  const bool seriesRow = resolved_ == lsSeries || resolved_ == lsLastValues;
  const bool groupRow = resolved_ == lsSeriesGroups;
  if ((seriesRow || groupRow) && checkBoxes_) {
    const int bx = checkBoxX_ + offset;
    int by = y + (itemHeight_ - vertSpacing_ - 11) / 2 - 1;
    // An alpha canvas recording a metafile places the box a box-height lower.
    if (canvas->SupportsAlpha && dynamic_cast<TMetafileCanvas*>(canvas->DeviceCanvas()) != nullptr) by += 13;
    canvas->Brush()->SetColor(Color());
    const bool checked =
        groupRow ? chart_->SeriesGroups()->Items(index)->ReadActive() != gaNo : series->Active();
    canvas->DrawCheckBox(bx, by, checked, 0, checkBoxesStyle_ == cbsCheck);
  }
  // A group row has a box and its name, no symbol.
  if (!groupRow && symbol_->OnDraw) {
    if (!seriesRow || series->Active() || checkBoxes_)
      symbol_->OnDraw(symbol_.get(), series, resolved_ == lsValues && series != nullptr ? series->MapLegendIndex(index) : index,
                      rect);
  } else if (!groupRow && symbolWidth > 0) {
    if (seriesRow) {
      if (series->Active() || checkBoxes_) series->PaintLegendItem(-1, rect);
    } else if (series != nullptr) {
      series->PaintLegendItem(series->MapLegendIndex(index), rect);
    } else {
      canvas->Brush()->SetStyle(bsSolid);
      symbol_->Draw(clWhite, rect);
    }
  }
  // The selected row's symbol is framed in the selection's pen.
  if (!groupRow && selected_ && selected_->Visible() && selected_->ItemIndex() == index) {
    canvas->UsePen(selected_->Pen());
    canvas->Brush()->SetStyle(bsClear);
    canvas->BrushGradient()->SetVisible(false);
    canvas->RectangleFromRect(rect);
  }
  if (p > 0 && dividingLines_->Visible() && (IsSideLegend() || row == 0)) {
    canvas->UsePen(dividingLines_.get());
    const int c = Pen()->Visible() ? (Pen()->Width() + 1) / 2 : 0;
    if (IsSideLegend())
      canvas->LineSegment(Bounds.Left + c, y - vertSpacing_ / 2, Bounds.Right - c, y - vertSpacing_ / 2);
    else
      canvas->LineSegment(Bounds.Left + offset + 1, Bounds.Top + c, Bounds.Left + offset + 1, Bounds.Bottom - c);
  }
}

int TCustomChartLegend::ItemAt(int x, int y) {
  if (lastValue_ < firstValue_) return -1;
  if (x < Bounds.Left || x > Bounds.Right || y < Bounds.Top || y > Bounds.Bottom) return -1;
  int row = -1;
  for (int r = 0; r < rows_; ++r) {
    const int top = itemsTop_ + 1 + r * itemHeight_;
    if (y >= top && y <= top + itemHeight_) {
      row = r;
      break;
    }
  }
  if (row < 0) return -1;
  const bool inverted = EffectiveInverted();
  if (inverted) row = rows_ - row - 1;
  if (IsSideLegend()) return firstValue_ + row;
  if (columns_ <= 0) return -1;
  if (wrapped_) {
    int column = -1, left = Bounds.Left;
    for (int c = 0; c < columns_; ++c) {
      const int w = ColumnWidth(c);
      if (x >= left && x <= left + w) column = c;
      left += w;
    }
    if (column < 0) return -1;
    int index = column + row * columns_;
    if (inverted) {
      const int e = (lastValue_ - firstValue_ + 1) % columns_;
      index = row * columns_ + (e <= 0 ? columns_ : e) - column - 1;
    }
    if (index > totalItems_ - 1) return -1;
    return firstValue_ + index;
  }
  int left = Bounds.Left + 1;
  for (int k = 0; k < totalItems_ && k < columns_; ++k) {
    const int w = ColumnWidth(k);
    if (x >= left && x <= left + w) return inverted ? columns_ + firstValue_ - k - 1 : firstValue_ + k;
    left += w;
  }
  return -1;
}

bool TCustomChartLegend::ItemClicked(int index) {
  Selected()->ChangeItemIndex(index);
  if (index == -1 || !CheckBoxesShown()) return false;
  if (resolved_ == lsSeriesGroups) {
    TSeriesGroups* groups = chart_->SeriesGroups();
    if (index >= groups->Count()) return false;  // the group is gone since the last paint
    if (checkBoxesStyle_ == cbsRadio) {
      for (int i = 0; i < groups->Count(); ++i) groups->Items(i)->ChangeActive(i == index ? gaYes : gaNo);
    } else {
      TSeriesGroup* g = groups->Items(index);
      g->ChangeActive(g->ReadActive() == gaNo ? gaYes : gaNo);
    }
    return true;
  }
  TChartSeries* clicked = ListedSeries(index, true);
  if (clicked == nullptr) return false;  // the row's series is gone since the last paint
  if (checkBoxesStyle_ == cbsRadio) {
    for (int n = 0; TChartSeries* s = ListedSeries(n, true); ++n) s->ChangeActive(s == clicked);
  } else {
    clicked->ChangeActive(!clicked->Active());
  }
  return true;
}

// Series marks: tail, symbol, per-point items, positions, the draw-every step, placing and
// drawing one mark, overlap avoidance, the hit test and the stored "Items" entry.
#include "chart/SeriesMarks.h"

#include <algorithm>
#include <cstdint>

#include "canvas/Canvas3D.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCorners.h"
#include "canvas/KelFont.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"
#include "canvas/KelShadow.h"
#include "chart/AxisItems.h"
#include "chart/BackImage.h"
#include "chart/ChartAxis.h"
#include "chart/ChartSeries.h"
#include "chart/KelFunction.h"
#include "chart/KelProcs.h"
#include "chart/SeriesDetail.h"
#include "chart/SeriesSelection.h"
#include "chart/SeriesSource.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/StringList.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/ui/Control.h"

const TEnumInfo& EnumTypeInfo(TSeriesMarksStyle) {
  static const TEnumInfo info(
      "TSeriesMarksStyle",
      {"smsValue", "smsPercent", "smsLabel", "smsLabelPercent", "smsLabelValue", "smsLegend", "smsPercentTotal",
       "smsLabelPercentTotal", "smsXValue", "smsXY", "smsSeriesTitle", "smsPointIndex", "smsPercentRelative",
       "smsLabelPercentValue", "smsLabelOrValue"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TSeriesMarksImages) {
  static const TEnumInfo info("TSeriesMarksImages", {"miSymbol", "miOnly", "miNone"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TTailAlign) {
  static const TEnumInfo info("TTailAlign", {"ttaNear", "ttaCenter", "ttaFar"});
  return info;
}

namespace {

constexpr TColor kMarksColor = static_cast<TColor>(0xE1FFFF);
constexpr TColor kMarksShadowColor = static_cast<TColor>(0x808080);
constexpr int kMarksShadowSize = 3;

bool Intersect(const TRect& a, const TRect& b) {
  return std::max(a.Left, b.Left) < std::min(a.Right, b.Right) &&
         std::max(a.Top, b.Top) < std::min(a.Bottom, b.Bottom);
}

// Whether p lies in r turned by `angle` degrees about its centre.
bool ClickedIn(TPoint p, const TRect& r, int angle) {
  if (angle == 0) return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
  const auto c = TKelCustomShape::RotatedCorners(r, angle);
  POINT points[4];
  for (int i = 0; i < 4; ++i) points[i] = POINT{c[i].X, c[i].Y};
  return PointInPolygon(POINT{p.X, p.Y}, points, 3);
}

void RepaintSeries(TChartSeries* series) {
  if (series) static_cast<TCustomChartElement*>(series)->RepaintOwner();
}

}  // namespace

// ---- TMarksTail ------------------------------------------------------------------------------

const TClassInfo& TMarksTail::StaticClass() {
  using T = TMarksTail;
  static const TClassInfo info = TClassBuilder<T>("TMarksTail", &TPersistent::StaticClass())
                                     .Property("Align", &T::Align, &T::SetAlign)
                                     .Default(ttaCenter)
                                     .Property("AutoAlign", &T::AutoAlign, &T::SetAutoAlign)
                                     .Default(true)
                                     .Property("Height", &T::Height, &T::SetHeight)
                                     .Default(8)
                                     .Property("Margin", &T::Margin, &T::SetMargin)
                                     .Default(0)
                                     .Property("Visible", &T::Visible, &T::SetVisible)
                                     .Default(false)
                                     .Property("Width", &T::Width, &T::SetWidth)
                                     .Default(8)
                                     .Abstract()
                                     .Build();
  return info;
}

void TMarksTail::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TMarksTail*>(source);
  if (other == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  autoAlign_ = other->autoAlign_;
  Tip = other->Tip;
  height_ = other->height_;
  align_ = other->align_;
  margin_ = other->margin_;
  visible_ = other->visible_;
  width_ = other->width_;
}

void TMarksTail::Changed() { RepaintSeries(series_); }

#define VK_TAIL_SETTER(Name, Type, field) \
  void TMarksTail::Set##Name(Type value) { \
    if (field == value) return;            \
    field = value;                         \
    Changed();                             \
  }
VK_TAIL_SETTER(AutoAlign, bool, autoAlign_)
VK_TAIL_SETTER(Height, int, height_)
VK_TAIL_SETTER(Align, TTailAlign, align_)
VK_TAIL_SETTER(Visible, bool, visible_)
VK_TAIL_SETTER(Width, int, width_)
VK_TAIL_SETTER(Edge, int, edge_)
#undef VK_TAIL_SETTER

TPointArray TMarksTail::Polygon(const TRect& r, TPoint arrowFrom, TPoint arrowTo) {
  TTailAlign align = align_;
  if (autoAlign_) {
    if (series_ == nullptr || series_->YMandatory())
      edge_ = arrowFrom.Y < arrowTo.Y ? 1 : 3;
    else
      edge_ = arrowTo.X < arrowFrom.X ? 2 : 0;
    align = ttaCenter;
  }
  const int w = width_ / 2;
  const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom, Ht = height_;
  int bx = 0, by = 0;
  if (edge_ == 1 || edge_ == 3)
    bx = align == ttaNear ? L + w : align == ttaCenter ? L + (R - L) / 2 : R - w;
  else
    by = align == ttaNear ? T + w : align == ttaCenter ? T + (B - T) / 2 : B - w;
  switch (edge_) {
    case 1:
      return {TPoint(L, T),           TPoint(L, B),  TPoint(R, B),          TPoint(R, T),
              TPoint(bx + w, T),      TPoint(bx, T - Ht), TPoint(bx - w, T)};
    case 0:
      return {TPoint(L, T), TPoint(L, by - w), TPoint(L - Ht, by), TPoint(L, by + w),
              TPoint(L, B), TPoint(R, B),      TPoint(R, T)};
    case 2:
      return {TPoint(L, T),      TPoint(L, B),       TPoint(R, B), TPoint(R, by + w),
              TPoint(R + Ht, by), TPoint(R, by - w), TPoint(R, T)};
    default:
      return {TPoint(L, T),      TPoint(L, B), TPoint(bx - w, B), TPoint(bx, B + Ht),
              TPoint(bx + w, B), TPoint(R, B), TPoint(R, T)};
  }
}

// ---- TSeriesMarksSymbol ------------------------------------------------------------------------

const TClassInfo& TSeriesMarksSymbol::StaticClass() {
  using S = TSeriesMarksSymbol;
  using SP = TShapeProperty;
  static const TClassInfo info = [] {
    TClassBuilder<S> b("TSeriesMarksSymbol", &TKelCustomShape::StaticClass());
    PublishShapeProperties(b, {SP::Bevel, SP::BevelWidth, SP::Brush, SP::ChildLayout, SP::Children, SP::Emboss,
                               SP::Frame});
    // Frame and Pen are the same pen: it is written once, as Frame.
    b.Property("Pen", &S::Pen, &S::SetPen).Stored(false);
    PublishShapeProperties(b, {SP::Gradient, SP::Picture, SP::Shadow, SP::ShapeCallout, SP::ShapeStyle,
                               SP::Transparency, SP::Visible});
    return b.Abstract().Build();
  }();
  return info;
}

TSeriesMarksSymbol::TSeriesMarksSymbol(IShapePanel* panel) : TKelCustomShape(nullptr) {
  SetVisibleDefault(false);
  transparent_ = false;
  shadow_->SetDefaults(shadow_->Visible(), shadow_->Color(), 1);
  // Created quietly; the panel comes last so that nothing above asked for a repaint.
  panel_ = panel;
}

TSeriesMarksSymbol::~TSeriesMarksSymbol() = default;

void TSeriesMarksSymbol::InitEmboss(TKelEmboss& emboss) { emboss.SetDefaults(emboss.Visible(), emboss.Color(), 1); }

void TSeriesMarksSymbol::ClearPointPicture() { pointPicture_.reset(); }

TKelPicture* TSeriesMarksSymbol::PointPicture() {
  if (!pointPicture_) pointPicture_ = std::make_unique<TKelPicture>();
  return pointPicture_.get();
}

void TSeriesMarksSymbol::DrawContent(TCanvas3D* canvas, const TRect& r, int, double) {
  if (pointPicture_ && pointPicture_->HasGraphic())
    canvas->DrawGraphicStretched(r, pointPicture_->FilteredGraphic());
}

// ---- TMarksItem --------------------------------------------------------------------------------

const TClassInfo& TMarksItem::StaticClass() {
  using I = TMarksItem;
  using SP = TShapeProperty;
  static const TClassInfo info = [] {
    TClassBuilder<I> b("TMarksItem", &TCustomTextShape::StaticClass());
    PublishShapeProperties(b, {SP::Bevel, SP::BevelWidth, SP::ChildLayout, SP::Children});
    b.Property("Color", &I::Color, &I::SetColor).Default(kMarksColor).Idents(ColorPropToIdent, ColorIdentToProp);
    PublishShapeProperties(b, {SP::Emboss, SP::Font});
    // An item publishes no brush, so its gradient is written on its own.
    b.Property("Gradient", &I::Gradient, &I::SetGradient).Stored([](I& i) { return i.Brush()->HasGradient(); });
    PublishShapeProperties(b, {SP::Picture, SP::Shadow, SP::ShapeCallout, SP::ShapeStyle});
    b.Property("Text", &I::TextLines, &I::SetTextLines);
    PublishShapeProperties(b, {SP::Transparency, SP::Transparent});
    return b.Abstract().Build();
  }();
  return info;
}

namespace {

// Marks and their per-point formats share these defaults, so that an item that starts as a
// copy of the marks stores exactly what was changed on it.
void InitMarksDefaults(TKelCustomShape& shape) {
  TKelShadow* shadow = shape.Shadow();
  shadow->SetDefaults(shadow->Visible(), kMarksShadowColor, kMarksShadowSize);
  TSeriesMarks::InitGradientDefaults(*shape.Brush()->Gradient());
}

// Hidden, $808080, size 3.
void InitMarksEmboss(TKelEmboss& emboss) { emboss.SetDefaults(emboss.Visible(), kMarksShadowColor, kMarksShadowSize); }

}  // namespace

TMarksItem::TMarksItem(IShapePanel* panel) : TCustomTextShape(panel) {
  color_ = kMarksColor;
  InitMarksDefaults(*this);
}

void TMarksItem::InitEmboss(TKelEmboss& emboss) { InitMarksEmboss(emboss); }

TMarksItem::~TMarksItem() = default;

TKelGradient* TMarksItem::Gradient() { return Brush()->Gradient(); }

TStrings* TMarksItem::TextLines() {
  if (!lines_) {
    lines_ = std::make_unique<TStringList>();
    lines_->OnChange = [this](TObject*) { LinesChanged(); };
  }
  const bool custom = customText_;
  filling_ = true;
  lines_->SetText(Text());
  filling_ = false;
  customText_ = custom;
  return lines_.get();
}

void TMarksItem::SetTextLines(TStrings* value) {
  if (value == nullptr) {
    lines_.reset();
    filling_ = true;
    SetText("");
    filling_ = false;
    customText_ = false;
    return;
  }
  TextLines()->Assign(value);
}

void TMarksItem::LinesChanged() {
  if (filling_) return;
  filling_ = true;
  SetText(lines_->Text());
  filling_ = false;
  customText_ = true;
  Repaint();
}

void TMarksItem::TextChanged() {
  if (!filling_) customText_ = true;
  Repaint();
}

// ---- TSeriesMarksPositions -------------------------------------------------------------------

TSeriesMarkPosition* TSeriesMarksPositions::PositionAt(int index) const {
  return index >= 0 && index < Count() ? items_[index].get() : nullptr;
}

void TSeriesMarksPositions::Store(int index, const TSeriesMarkPosition& position) {
  if (index < 0) return;
  if (index >= Count()) items_.resize(index + 1);
  if (!items_[index]) items_[index] = std::make_unique<TSeriesMarkPosition>();
  items_[index]->Assign(position);
}

void TSeriesMarksPositions::Append(const TSeriesMarkPosition& position) {
  items_.push_back(std::make_unique<TSeriesMarkPosition>(position));
}

void TSeriesMarksPositions::PlaceAtPoint(TSeriesMarkPosition& position, int x, int y) const {
  position.ArrowTo = POINT{x, y};
  position.ArrowFrom = position.ArrowTo;
  position.LeftTop = POINT{x - position.Width / 2, y - position.Height + 1};
  if (marks_ && marks_->HasSymbol()) {
    TSeriesMarksSymbol* symbol = marks_->Symbol();
    const int w = symbol->Width(), h = symbol->Height();
    symbol->Bounds = TRect(position.LeftTop.x + 2, position.LeftTop.y + 2, position.LeftTop.x + 2 + w,
                           position.LeftTop.y + 2 + h);
  }
}

void TSeriesMarksPositions::DeleteRange(int index, int count) {
  if (index < 0 || index >= Count() || count <= 0) return;
  count = std::min(count, Count() - index);
  items_.erase(items_.begin() + index, items_.begin() + index + count);
}

bool TSeriesMarksPositions::HasCustom() const {
  return std::any_of(items_.begin(), items_.end(), [](const auto& p) { return p && p->Custom; });
}

// ---- TMarksItems -----------------------------------------------------------------------------

TMarksItems::~TMarksItems() = default;

TMarksItem* TMarksItems::ItemAt(int index) const {
  return index >= 0 && index < Count() ? items_[index].get() : nullptr;
}

TMarksItem* TMarksItems::ItemOrCreate(int index) {
  if (index < 0) return nullptr;
  if (index >= Count()) items_.resize(index + 1);
  if (!items_[index]) {
    auto item = std::make_unique<TMarksItem>(nullptr);
    item->Assign(marks_);
    item->AttachPanel(marks_->Panel());
    item->SetCustomText(false);
    items_[index] = std::move(item);
  }
  return items_[index].get();
}

void TMarksItems::Delete(int index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

void TMarksItems::Clear() {
  items_.clear();
  if (marks_) marks_->Repaint();
}

// ---- TSeriesMarkShape ------------------------------------------------------------------------

const TClassInfo& TSeriesMarkShape::StaticClass() {
  using S = TSeriesMarkShape;
  using SP = TShapeProperty;
  static const TClassInfo info = [] {
    TClassBuilder<S> b("TSeriesMarkShape", &TCustomTextShape::StaticClass());
    PublishShapeProperties(b, {SP::Bevel, SP::BevelWidth, SP::Brush, SP::ChildLayout, SP::Children, SP::ClipText,
                               SP::Cursor, SP::Emboss, SP::Font, SP::Frame, SP::Gradient, SP::Margins, SP::Picture,
                               SP::RoundSize, SP::Shadow});
    b.Property("ShapeStyle", &S::ShapeStyle, &S::SetShapeStyle)
        .Default(fosRoundRectangle)
        .Property("Style", &S::Style, &S::SetStyle)
        .Default(smsLabelOrValue);
    PublishShapeProperties(b, {SP::TextAlignment, SP::TextFormat, SP::Transparency, SP::Transparent,
                               SP::VertTextAlign, SP::Visible});
    return b.Build();
  }();
  return info;
}

TSeriesMarkShape::TSeriesMarkShape(IShapePanel* panel, TSeriesMarks* marks)
    : TCustomTextShape(panel), marks_(marks) {}

void TSeriesMarkShape::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TSeriesMarkShape*>(source)) style_ = other->style_;
  TCustomTextShape::Assign(source);
}

TKelCustomShape* TSeriesMarkShape::NewChildShape(IShapePanel* panel) { return new TSeriesMarkShape(panel, marks_); }

void TSeriesMarkShape::SetStyle(TSeriesMarksStyle value) {
  if (value == style_) return;
  style_ = value;
  if (panel_)
    panel_->ShapeChanged();
  else if (marks_)
    RepaintSeries(marks_->Series());
}

// ---- TSeriesMarks ----------------------------------------------------------------------------

const TClassInfo& TSeriesMarks::StaticClass() {
  using M = TSeriesMarks;
  static const TClassInfo info = [] {
    TClassBuilder<M> b("TSeriesMarks", &TSeriesMarkShape::StaticClass());
    b.Property("Angle", &M::Angle, &M::SetAngle).Stored(&M::IsAngleStored);
    // Reading Arrow or ArrowLength makes the callout, so neither is written without one.
    b.Property("Arrow", &M::Arrow, &M::SetArrow)
        .Stored([](M& m) { return m.HasMarksCallout(); })
        .Property("ArrowLength", &M::ArrowLength, &M::SetArrowLength)
        .Stored(false)
        .Property("AutoPosition", &M::AutoPosition, &M::SetAutoPosition)
        .Default(true)
        .Property("BackColor", &M::Color, &M::SetColor)
        .Stored(false)
        .Idents(ColorPropToIdent, ColorIdentToProp)
        .Property("Callout", &M::Callout, &M::SetCallout)
        .Stored([](M& m) { return m.HasMarksCallout(); })
        .Property("Clip", &M::Clip, &M::SetClip)
        .Default(false)
        .Property("Color", &M::Color, &M::SetColor)
        .Default(kMarksColor)
        .Idents(ColorPropToIdent, ColorIdentToProp)
        .Property("DrawEvery", &M::DrawEvery, &M::SetDrawEvery)
        .Default(1)
        .Property("MultiLine", &M::MultiLine, &M::SetMultiLine)
        .Default(false)
        .Property("RoundSize", &M::RoundSize, &M::SetRoundSize)
        .Default(4)
        .Property("SoftClip", &M::SoftClip, &M::SetSoftClip)
        .Default(false)
        .Property("Symbol", &M::Symbol, &M::SetSymbol)
        .Stored([](M& m) { return m.HasSymbol(); })
        .Property("Tail", &M::Tail, &M::SetTail)
        .Stored([](M& m) { return m.HasTail(); })
        .Property("TextAlign", &M::TextAlignment, &M::SetTextAlignment)
        .Stored(false)
        .Property("UseImages", &M::UseImages, &M::SetUseImages)
        .Default(miSymbol)
        .Property("UseSeriesTransparency", &M::UseSeriesTransparency, &M::SetUseSeriesTransparency)
        .Default(true);
    return b.Build();
  }();
  return info;
}

TSeriesMarks::TSeriesMarks(TChartSeries* series)
    : TSeriesMarkShape(nullptr, this),
      series_(series),
      autoText_(std::make_unique<TAutomaticText>([this](TObject* sender) { PartChanged(sender); })) {
  style_ = smsLabelOrValue;
  drawEvery_ = 1;
  SetTextAlignmentDefault(taCenter);
  Margins()->SetHorizDefault(20);
  SetRoundSize(4);
  color_ = kMarksColor;
  SetVisibleDefault(false);
  InitMarksDefaults(*this);
}

void TSeriesMarks::InitEmboss(TKelEmboss& emboss) { InitMarksEmboss(emboss); }

void TSeriesMarks::InitGradientDefaults(TKelGradient& gradient) {
  gradient.SetDefaultDirection(KelCanvas::gdRightLeft);
  gradient.SetDefaultColors(static_cast<TColor>(0xC0C0C0), clWhite);
}

TKelGradient* TSeriesMarks::Gradient() { return Brush()->Gradient(); }

TSeriesMarks::~TSeriesMarks() = default;

void TSeriesMarks::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TSeriesMarks*>(source);
  if (other == nullptr) {
    TSeriesMarkShape::Assign(source);
    return;
  }
  autoText_->Assign(other->autoText_.get());
  SetCallout(other->callout_.get());
  clip_ = other->clip_;
  drawEvery_ = other->drawEvery_;
  style_ = other->style_;
  multiLine_ = other->multiLine_;
  onTop_ = other->onTop_;
  softClip_ = other->softClip_;
  SetSymbol(other->symbol_.get());
  SetTail(other->tail_.get());
  useImages_ = other->useImages_;
  useSeriesTransparency_ = other->useSeriesTransparency_;
  items_.Clear();
  for (int i = 0; i < other->items_.Count(); ++i) items_.ItemOrCreate(i)->Assign(other->items_.ItemOrCreate(i));
  TSeriesMarkShape::Assign(source);
}

void TSeriesMarks::AttachPanel(IShapePanel* panel) {
  TSeriesMarkShape::AttachPanel(panel);
  if (callout_) callout_->AttachPanel(panel);
  if (symbol_) symbol_->AttachPanel(panel);
  for (int i = 0; i < items_.Count(); ++i)
    if (TMarksItem* item = items_.ItemAt(i)) item->AttachPanel(panel);
}

void TSeriesMarks::SeriesRepaint() {
  if (series_)
    RepaintSeries(series_);
  else
    Repaint();
}

#define VK_MARKS_SETTER(Name, Type, field) \
  void TSeriesMarks::Set##Name(Type value) { \
    if (field == value) return;              \
    field = value;                           \
    SeriesRepaint();                         \
  }
VK_MARKS_SETTER(Clip, bool, clip_)
VK_MARKS_SETTER(DrawEvery, int, drawEvery_)
VK_MARKS_SETTER(MultiLine, bool, multiLine_)
VK_MARKS_SETTER(SoftClip, bool, softClip_)
VK_MARKS_SETTER(UseSeriesTransparency, bool, useSeriesTransparency_)
VK_MARKS_SETTER(UseImages, TSeriesMarksImages, useImages_)
#undef VK_MARKS_SETTER

void TSeriesMarks::SetAngle(int value) {
  if (value == angle_) return;
  angle_ = value;
  SeriesRepaint();
}

void TSeriesMarks::SetOnTop(bool value) {
  if (value == onTop_) return;
  onTop_ = value;
  SeriesRepaint();
}

TMarksCallout* TSeriesMarks::Callout() {
  if (!callout_) {
    // Made for the series (its depths, its chart's 3D view and repaints), then given the marks'
    // panel; nothing in the making asks for a repaint.
    callout_ = std::make_unique<TMarksCallout>(series_);
    callout_->AttachPanel(panel_);
  }
  return callout_.get();
}

void TSeriesMarks::SetCallout(TMarksCallout* value) {
  if (value == nullptr)
    callout_.reset();
  else
    Callout()->Assign(value);
  SeriesRepaint();
}

TSeriesMarksSymbol* TSeriesMarks::Symbol() {
  if (!symbol_) symbol_ = std::make_unique<TSeriesMarksSymbol>(panel_);
  return symbol_.get();
}

void TSeriesMarks::SetSymbol(TSeriesMarksSymbol* value) {
  if (value == nullptr)
    symbol_.reset();
  else
    Symbol()->Assign(value);
  SeriesRepaint();
}

TMarksTail* TSeriesMarks::Tail() {
  if (!tail_) tail_ = std::make_unique<TMarksTail>(series_);
  return tail_.get();
}

void TSeriesMarks::SetTail(TMarksTail* value) {
  if (value == nullptr)
    tail_.reset();
  else
    Tail()->Assign(value);
  SeriesRepaint();
}

int TSeriesMarks::DrawEveryStep() const {
  // A step below 1 would divide by zero; the stored value stays as set.
  const int every = std::max(1, drawEvery_);
  if (series_ == nullptr || !series_->UsesVisibleRange()) return every;
  const int n = series_->LastVisible() - series_->FirstVisible() + 1;
  int c = 0;
  if (ISeriesOwner* chart = series_->ParentChart()) {
    const RECT r = chart->ChartRect();
    TChartAxis* axis = series_->ValueAxis();
    c = (axis != nullptr && axis->Horizontal() ? r.bottom - r.top : r.right - r.left) / 2;
  }
  if (c <= 0 || c >= n) return every;
  return std::max(static_cast<int>(Round(static_cast<long double>(n) / c)), every);
}

void TSeriesMarks::AdjustPosition(TSeriesMarkPosition& position) const {
  if (callout_) callout_->AdjustPosition(position);
}

TPoint TSeriesMarks::ProjectTopLeft(TPoint arrowTo, TPoint topLeft) const {
  TCanvas3D* canvas = panel_ ? panel_->ShapeCanvas() : nullptr;
  const bool view3D = series_ && series_->ParentChart() && series_->ParentChart()->View3D();
  if (canvas == nullptr || !view3D || canvas->SuppressesFontZoom()) return topLeft;
  const TPoint p = canvas->ProjectPoint(arrowTo, Depth);
  return TPoint(p.X - (arrowTo.X - topLeft.X), p.Y - (arrowTo.Y - topLeft.Y));
}

TCustomTextShape* TSeriesMarks::ItemShape(int index) {
  if (TMarksItem* item = items_.ItemAt(index)) return item;
  return this;
}

TRect TSeriesMarks::MarkBounds(int index, const TSeriesMarkPosition& position) {
  TRect r(position.Bounds());
  TCustomTextShape* shape = ItemShape(index);
  if (!shape->Transparent()) {
    if (shape->Pen()->Visible()) {
      r.Right += shape->Pen()->Width();
      r.Bottom += shape->Pen()->Width();
    }
    TKelShadow* shadow = shape->Shadow();
    if (shadow->Visible()) {
      // Whatever side the shadow falls on, the rectangle covers it.
      if (shadow->HorizSize() > 0) r.Right += shadow->HorizSize();
      if (shadow->HorizSize() < 0) r.Left += shadow->HorizSize();
      if (shadow->VertSize() > 0) r.Bottom += shadow->VertSize();
      if (shadow->VertSize() < 0) r.Top += shadow->VertSize();
    }
    // The marks' own emboss falls to the left-top for positive sizes, to the right-bottom for
    // negative ones.
    if (emboss_ && emboss_->Visible()) {
      const int h = emboss_->HorizSize(), v = emboss_->VertSize();
      if (h < 0) r.Right -= h;
      if (h > 0) r.Left -= h;
      if (v < 0) r.Bottom -= v;
      if (v > 0) r.Top -= v;
    }
  }
  const TPoint topLeft(position.LeftTop.x, position.LeftTop.y);
  const TPoint projected = ProjectTopLeft(TPoint(position.ArrowTo.x, position.ArrowTo.y), topLeft);
  return r.Moved(projected.X - topLeft.X, projected.Y - topLeft.Y);
}

bool TSeriesMarks::AvoidOverlap(int first, int index, TSeriesMarkPosition& position) {
  if (first >= index) return true;
  TRect rect = MarkBounds(index, position);
  for (int d = index - 1; d >= first; --d) {
    TSeriesMarkPosition* stored = positions_.PositionAt(d);
    if (stored == nullptr) continue;
    const TRect other = MarkBounds(d, *stored);
    if (!Intersect(other, rect)) continue;
    TPoint gap;
    series_->GapBetweenRects(rect, gap, other);
    position.Offset(POINT{gap.X, gap.Y});
    rect = rect.Moved(gap.X, gap.Y);
    if (Intersect(other, rect)) return false;
  }
  return true;
}

void TSeriesMarks::PaintPointMark(int index, TColor color, TSeriesMarkPosition& position) {
  positions_.Store(index, position);
  TCustomTextShape* shape = ItemShape(index);
  // For this draw only: the point's colour when asked, and the hovered point's mark in the
  // hover font's colour and style.
  TQuietFontScope look(shape->Font());
  if (PointColorFont) look.SetColor(color);
  if (series_ != nullptr && series_->HoverActive() && series_->Selected()->HoverIndex() == index) {
    const TKelFont* hover = series_->Selected()->Hover()->Font();
    look.SetColor(hover->Color());
    look.SetStyle(hover->Style());
  }
  TKelPicture* picture = nullptr;
  if (useImages_ != miNone && series_ != nullptr && series_->HasPictures())
    picture = series_->Pictures().PictureAt(index);
  if (picture != nullptr && !picture->HasGraphic()) picture = nullptr;
  if (picture != nullptr && useImages_ == miOnly) {
    if (TCanvas3D* canvas = panel_ ? panel_->ShapeCanvas() : nullptr)
      canvas->DrawGraphicStretched(TRect(position.Bounds()), picture->FilteredGraphic());
    return;
  }
  if (picture != nullptr && Symbol()->Visible()) {
    TSeriesMarksSymbol* symbol = Symbol();
    symbol->PointPicture()->Assign(picture);
    const bool penVisible = symbol->Pen()->Visible();
    const TBrushStyle brushStyle = symbol->Brush()->Style();
    symbol->Pen()->SetVisible(false);
    symbol->Brush()->SetStyle(bsClear);
    DrawMark(shape, color, position);
    symbol->Pen()->SetVisible(penVisible);
    symbol->Brush()->SetStyle(brushStyle);
    symbol->ClearPointPicture();
    return;
  }
  DrawMark(shape, color, position);
}

void TSeriesMarks::DrawMark(TCustomTextShape* shape, TColor color, TSeriesMarkPosition& position) {
  TCanvas3D* canvas = panel_ ? panel_->ShapeCanvas() : nullptr;
  if (canvas == nullptr) return;
  const TPoint from(position.ArrowFrom.x, position.ArrowFrom.y);
  const TPoint to(position.ArrowTo.x, position.ArrowTo.y);
  if (callout_ && (callout_->Visible() || callout_->Arrow()->Visible())) {
    TKelBlend* blend = nullptr;
    if (callout_->Transparency() > 0) {
      const TRect area(std::min(from.X, to.X), std::min(from.Y, to.Y), std::max(from.X, to.X),
                       std::max(from.Y, to.Y));
      blend = canvas->StartTransparency(canvas->SupportsAlpha ? TRect() : area,
                                        static_cast<std::uint8_t>(callout_->Transparency()));
    }
    callout_->DrawArrowAndPointer(color, from, to, TPoint(position.MidPoint.x, position.MidPoint.y),
                                  position.HasMid, Depth);
    if (blend) canvas->FinishTransparency(blend);
  }
  const TPoint topLeft = ProjectTopLeft(to, TPoint(position.LeftTop.x, position.LeftTop.y));
  position.LeftTop = POINT{topLeft.X, topLeft.Y};
  const TRect rect(topLeft.X, topLeft.Y, topLeft.X + position.Width, topLeft.Y + position.Height);
  shape->Shadow()->SetClip(clip_);
  if (shape->HasEmboss()) shape->Emboss()->SetClip(clip_);
  shape->Bounds = rect;
  const int angle = Angle() % 360;
  if (tail_ && tail_->Visible())
    shape->DrawPolygon(rect, Depth, angle, tail_->Polygon(rect, from, to));
  else
    shape->DrawInRect(rect, Depth, angle);
  if (symbol_ && symbol_->ShouldDraw()) {
    symbol_->SetColor(color);
    symbol_->SetTransparent(false);
    if (panel_) panel_->AssignShapeFont(shape->Font());
    const int h = canvas->LineHeight();
    const int c = shape->Pen()->HalfWidth() + symbol_->Pen()->HalfWidth();
    symbol_->Bounds = TRect(rect.Left + c + 4, rect.Top + c + 3, rect.Left + 2 * c + h - 1, rect.Top + 2 * c + h - 2);
    symbol_->DrawIn(angle, Depth);
  }
}

int TSeriesMarks::MarkAtPixel(TPoint p) const {
  // Same step rule as painting, and the same guard against a step below 1.
  const int n = std::max(1, DrawEveryStep());
  for (int i = positions_.Count() - 1; i >= 0; --i) {
    if (i % n != 0) continue;
    const TSeriesMarkPosition* position = positions_.PositionAt(i);
    if (position == nullptr) continue;
    const TPoint topLeft = ProjectTopLeft(TPoint(position->ArrowTo.x, position->ArrowTo.y),
                                          TPoint(position->LeftTop.x, position->LeftTop.y));
    const TRect r(topLeft.X, topLeft.Y, topLeft.X + position->Width, topLeft.Y + position->Height);
    if (ClickedIn(p, r, Angle() % 360)) return i;
  }
  return -1;
}

int TSeriesMarks::TextWidthOf(int index) {
  if (series_ == nullptr || panel_ == nullptr) return 0;
  panel_->AssignShapeFont(Font());
  int w = 0, h = 0;
  panel_->ShapeTextExtent(series_->MarkText(index), TextFormat() == ttfHtml, w, h);
  return w;
}

void TSeriesMarks::DeleteIndex(int index) {
  positions_.DeleteRange(index, 1);
  items_.Delete(index);
}

void TSeriesMarks::ClearPositions() {
  positions_.Clear();
  if (items_.Count() > 0 && !items_.Loading) items_.Clear();
}

// ---- The "Items" entry -------------------------------------------------------------------------

void TSeriesMarks::DefineProperties(TFiler& filer) {
  TSeriesMarkShape::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "Items", [this](TStream& s) { ReadItems(s); }, [this](TStream& s) { WriteItems(s); }, items_.Count() > 0);
}

void TSeriesMarks::WriteItems(TStream& stream) {
  const std::int32_t count = items_.Count();
  stream.WriteValue<std::int32_t>(count);
  TWriter writer(stream);
  // A read item starts as a copy of the marks' format, not as a bare item: what equals that
  // copy need not be written, anything else must be, class defaults included.
  TMarksItem fresh(nullptr);
  fresh.Assign(this);
  fresh.SetCustomText(false);
  writer.SetAncestor(&fresh);
  for (int i = 0; i < count; ++i) {
    writer.WritePropertyList(items_.ItemOrCreate(i));
  }
}

void TSeriesMarks::ReadItems(TStream& stream) {
  const std::int32_t count = stream.ReadValue<std::int32_t>();
  if (count > 0) items_.Loading = true;
  TReader reader(stream);
  for (int i = 0; i < count; ++i) {
    reader.ReadPropertyList(items_.ItemOrCreate(i));
  }
}

// ---- Start-up ----------------------------------------------------------------------------------

void KelEngineStartup() {
  ActivateControlClassGroup();
  for (const TClassInfo* cls : {&TCustomChartElement::StaticClass(), &TKelFunction::StaticClass(),
                                &TKelSeriesSource::StaticClass(), &TKelCustomShapeBrushPen::StaticClass(),
                                &TChartAxis::StaticClass()})
    GroupDescendentsWith(*cls, TControl::StaticClass());
  RegisterClasses({&TChartAxisTitle::StaticClass(), &TChartAxis::StaticClass(), &TChartDepthAxis::StaticClass()});
  SeriesMarksStartup();  // the marks, the themed series and the picture component
}

void KelEngineShutdown() {
  SeriesMarksShutdown();
  UnRegisterClasses({&TChartAxisTitle::StaticClass(), &TChartAxis::StaticClass(), &TChartDepthAxis::StaticClass()});
}

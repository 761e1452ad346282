// Walls and titles of the chart.
#include "chart/ChartWalls.h"

#include <algorithm>
#include <cmath>

#include "canvas/Canvas3D.h"
#include "canvas/CanvasUtils.h"
#include "canvas/KelBlend.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCorners.h"
#include "canvas/KelFilter.h"
#include "canvas/KelFont.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelShadow.h"
#include "chart/BackImage.h"
#include "chart/Chart.h"
#include "toolkit/classes/StringList.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/rtl/Math.h"

// ---- Walls ------------------------------------------------------------------------------------

const TClassInfo& TCustomChartWall::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomChartWall>("TCustomChartWall", &TKelCustomShape::StaticClass()).Abstract().Build();
  return info;
}

TCustomChartWall::TCustomChartWall(TCustomChart* chart, TColor color)
    : TKelCustomShape(chart), chart_(chart), defaultColor_(color) {
  color_ = color;  // set at creation without a repaint
}

void TCustomChartWall::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TCustomChartWall*>(source)) {
    autoHide_ = other->autoHide_;
    dark3D_ = other->dark3D_;
    endPosition_ = other->endPosition_;
    size_ = other->size_;
    startPosition_ = other->startPosition_;
  }
  TKelCustomShape::Assign(source);
}

void TCustomChartWall::Changed() {
  if (chart_ != nullptr) chart_->Invalidate();
}

#define VK_WALL_SETTER(Name, Type, field) \
  void TCustomChartWall::Set##Name(Type value) { \
    if (field == value) return;                  \
    field = value;                               \
    Changed();                                   \
  }
VK_WALL_SETTER(AutoHide, bool, autoHide_)
VK_WALL_SETTER(Dark3D, bool, dark3D_)
VK_WALL_SETTER(EndPosition, int, endPosition_)
VK_WALL_SETTER(Size, int, size_)
VK_WALL_SETTER(StartPosition, int, startPosition_)
#undef VK_WALL_SETTER

bool TCustomChartWall::UsesDarkSides() const {
  return Brush()->Style() != bsClear && !Brush()->HasImage() && dark3D_;
}

const TClassInfo& TChartWall::StaticClass() {
  using W = TChartWall;
  using SP = TShapeProperty;
  // Each wall's colour is stored against that wall's own default; the gradient is written with
  // the brush.
  static const TClassInfo info = [] {
    TClassBuilder<W> b("TChartWall", &TCustomChartWall::StaticClass());
    b.Property("AutoHide", &W::AutoHide, &W::SetAutoHide)
        .Default(false)
        .Property("Dark3D", &W::Dark3D, &W::SetDark3D)
        .Default(true)
        .Property("EndPosition", &W::EndPosition, &W::SetEndPosition)
        .Default(100)
        .Property("Size", &W::Size, &W::SetSize)
        .Default(0)
        .Property("StartPosition", &W::StartPosition, &W::SetStartPosition)
        .Default(0);
    PublishShapeProperties(b, {SP::Pen, SP::Brush});
    b.Property("Color", &W::Color, &W::SetColor)
        .Stored([](W& w) { return w.Color() != w.DefaultColor(); })
        .Idents(ColorPropToIdent, ColorIdentToProp);
    PublishShapeProperties(b, {SP::Gradient, SP::RoundSize, SP::Transparency, SP::Transparent, SP::Visible});
    return b.Build();
  }();
  return info;
}

bool TChartWall::IsDrawable() const { return Chart()->View3DWalls() && Visible() && !AutoHide(); }

void TChartWall::VerticalExtent(int& top, int& bottom) const {
  const TRect& r = Chart()->ChartBounds();
  bottom = r.Bottom + Chart()->WallSizeForAxis(*Chart()->BottomAxis());
  if (EndPosition() != 100)
    bottom -= static_cast<int>(Round((100 - EndPosition()) * (bottom - r.Top) * 0.01));
  top = r.Top;
  if (StartPosition() != 0) top += static_cast<int>(Round(StartPosition() * (r.Bottom - top) * 0.01));
}

TKelBlend* TChartWall::StartTransparency(const TPointArray& projectedCorners) {
  if (Transparent() || Transparency() <= 0) return nullptr;
  TCanvas3D* canvas = Chart()->Canvas3D();
  const TRect area = canvas->SupportsAlpha ? TRect() : BoundsOfPoints(projectedCorners);
  return canvas->StartTransparency(area, static_cast<std::uint8_t>(std::min(Transparency(), 100)));
}

void TChartWall::FinishTransparency(TKelBlend* blend) {
  if (blend == nullptr) return;
  // A picture of filters only: they work on what shows through the wall.
  if (HasPicture() && !Picture()->HasGraphic() && Picture()->HasFilters() && blend->Snapshot() != nullptr)
    Picture()->Filters()->ApplyAll(*blend->Snapshot());
  Chart()->Canvas3D()->FinishTransparency(blend);
}

TGraphic* TChartWall::PictureGraphic() {
  if (!HasPicture() || !Picture()->HasGraphic()) return nullptr;
  return Picture()->FilteredGraphic();
}

const TClassInfo& TChartBackWall::StaticClass() {
  static const TClassInfo info = TClassBuilder<TChartBackWall>("TChartBackWall", &TChartWall::StaticClass()).Build();
  return info;
}

TChartBackWall::TChartBackWall(TCustomChart* chart) : TChartWall(chart, static_cast<TColor>(0xC0C0C0)) {
  SetTransparentDefault(true);
  Shadow()->SetDefaults(false, static_cast<TColor>(0x808080), Shadow()->HorizSize());
}

void TChartBackWall::InitEmboss(TKelEmboss& emboss) {
  emboss.SetDefaults(false, static_cast<TColor>(0x808080), emboss.HorizSize());
}

const TClassInfo& TChartLeftWall::StaticClass() {
  static const TClassInfo info = TClassBuilder<TChartLeftWall>("TChartLeftWall", &TChartWall::StaticClass()).Build();
  return info;
}

const TClassInfo& TChartBottomWall::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TChartBottomWall>("TChartBottomWall", &TChartWall::StaticClass()).Build();
  return info;
}

const TClassInfo& TChartRightWall::StaticClass() {
  static const TClassInfo info = TClassBuilder<TChartRightWall>("TChartRightWall", &TChartWall::StaticClass()).Build();
  return info;
}

TChartRightWall::TChartRightWall(TCustomChart* chart) : TChartWall(chart, static_cast<TColor>(0xC0C0C0)) {
  SetVisibleDefault(false);
}

TChartWalls::TChartWalls(TCustomChart* chart)
    : chart_(chart),
      back_(std::make_unique<TChartBackWall>(chart)),
      bottom_(std::make_unique<TChartBottomWall>(chart)),
      left_(std::make_unique<TChartLeftWall>(chart)) {}

TChartWalls::~TChartWalls() = default;

TChartRightWall* TChartWalls::Right() {
  if (!right_) right_ = std::make_unique<TChartRightWall>(chart_);
  return right_.get();
}

void TChartWalls::Assign(const TChartWalls& other) {
  back_->Assign(other.back_.get());
  bottom_->Assign(other.bottom_.get());
  left_->Assign(other.left_.get());
  if (other.right_) Right()->Assign(other.right_.get());
}

// ---- Titles -----------------------------------------------------------------------------------

const TClassInfo& TChartTitle::StaticClass() {
  using T = TChartTitle;
  static const TClassInfo info = TClassBuilder<T>("TChartTitle", &TStringsShape::StaticClass())
                                     .Property("AdjustFrame", &T::AdjustFrame, &T::SetAdjustFrame)
                                     .Default(true)
                                     .Property("VertMargin", &T::VertMargin, &T::SetVertMargin)
                                     .Default(5)
                                     .Build();
  return info;
}

TChartTitle::TChartTitle(TCustomChart* chart) : TStringsShape(chart), chart_(chart) {
  SetAlignmentDefault(taCenter);
  SetTextAlignmentDefault(taCenter);
  SetDrawsTextFlat(true);
  SetTransparentDefault(true);
  Font()->SetDefaultColor(static_cast<TColor>(0xFF0000));
}

void TChartTitle::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TChartTitle*>(source)) {
    adjustFrame_ = other->adjustFrame_;
    vertMargin_ = other->vertMargin_;
  }
  TStringsShape::Assign(source);
  // The copied text reaches the line list only through the list itself.
  Lines()->SetText(Text());
}

void TChartTitle::SetAdjustFrame(bool value) {
  if (adjustFrame_ == value) return;
  adjustFrame_ = value;
  Repaint();
}

void TChartTitle::SetVertMargin(int value) {
  if (vertMargin_ == value) return;
  vertMargin_ = value;
  Repaint();
}

bool TChartTitle::HasText() const { return Visible() && !Text().empty(); }

void TChartTitle::DrawTitle() {
  SetAutoSize(true);
  const bool custom = CustomPosition();
  const int p = Pen()->Visible() && Pen()->Width() > 1 ? Pen()->Width() / 2 : 0;
  if (!custom) {
    const int x0 = chart_->BorderSize() + static_cast<int>(Round(chart_->Width() * 0.02));
    // Size first (at the origin), then place.
    Bounds = TRect(0, 0, 0, 0);
    CalcSize();
    const int w = Width(), h = Height();
    const TRect& cr = chart_->ChartBounds();
    const int y = onTop_ ? cr.Top + p : cr.Bottom - h - p;
    if (adjustFrame_) {
      int x = x0;
      if (alignment_ == taRightJustify)
        x = chart_->Width() - w - x0;
      else if (alignment_ == taCenter)
        x = std::max(chart_->ChartXCenter() - w / 2, x0);
      Bounds = TRect(x, y, x + w, y + h);
    } else {
      // A title across the panel keeps that width: no sizing to its text (and so its text is
      // clipped to it).
      autoSize_ = false;
      Bounds = TRect(x0, y, chart_->Width() - x0, y + h);
    }
  } else {
    const int left = Bounds.Left, top = Bounds.Top;
    Bounds = TRect(left, top, left, top);
    CalcSize();
  }
  DrawAt();
  if (custom) return;
  TRect cr = chart_->ChartBounds();
  // A wide frame pen reaches half its width past the bounds on either side: the title stands
  // that far in from the chart's edge, and the chart starts that far past the title's frame
  // and VertMargin beyond.
  if (onTop_)
    cr.Top = Bounds.Bottom + vertMargin_ + p;
  else
    cr.Bottom = Bounds.Top - p - vertMargin_;
  chart_->SetChartBounds(cr);
  chart_->ClampChartRect();
}

const TClassInfo& TChartFootTitle::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TChartFootTitle>("TChartFootTitle", &TChartTitle::StaticClass()).Build();
  return info;
}

TChartFootTitle::TChartFootTitle(TCustomChart* chart) : TChartTitle(chart) {
  onTop_ = false;
  Font()->SetDefaultColor(static_cast<TColor>(0x0000FF));
  Font()->SetDefaultStyle(TFontStyles{fsItalic});
}

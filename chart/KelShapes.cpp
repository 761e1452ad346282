// Shapes and text shapes: size, rotation, hit test, callout outline and drawing through the
// panel's canvas.
#include "chart/KelShapes.h"

#include <cmath>
#include <numbers>

#include "canvas/Canvas3D.h"
#include "canvas/KelBlend.h"
#include "canvas/KelBrush.h"
#include "canvas/KelCorners.h"
#include "canvas/KelGradient.h"
#include "canvas/KelFilter.h"
#include "canvas/KelFont.h"
#include "canvas/KelHtml.h"
#include "canvas/KelPath.h"
#include "canvas/KelPen.h"
#include "canvas/KelShadow.h"
#include "chart/BackImage.h"
#include "chart/KelProcs.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/StringList.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/ui/Control.h"

namespace {

int RoundInt(long double v) { return static_cast<int>(Round(v)); }

// Text alignment codes of the device (TA_LEFT, TA_CENTER, TA_RIGHT).
constexpr int kAlignLeft = 0;
constexpr int kAlignCenter = 6;
constexpr int kAlignRight = 2;

// Appends a quarter arc in the r x r box at (x, y) from `start` degrees, clockwise on screen.
void AddCorner(TPointArray& points, int x, int y, int r, double start) {
  if (r <= 0) {
    return;
  }
  const double cx = x + r / 2.0, cy = y + r / 2.0;
  for (int i = 0; i <= 4; ++i) {
    const double a = (start + i * 22.5) * std::numbers::pi / 180;
    points.push_back(TPoint(RoundInt(cx + std::cos(a) * r / 2.0), RoundInt(cy + std::sin(a) * r / 2.0)));
  }
}

}  // namespace

const TEnumInfo& EnumTypeInfo(TChartObjectShapeStyle) {
  static const TEnumInfo info("TChartObjectShapeStyle", {"fosRectangle", "fosRoundRectangle", "fosEllipse"});
  return info;
}
const TEnumInfo& EnumTypeInfo(TShapeCalloutSide) {
  static const TEnumInfo info("TShapeCalloutSide", {"csNone", "csLeft", "csTop", "csRight", "csBottom"});
  return info;
}
const TEnumInfo& EnumTypeInfo(TMarginUnits) {
  static const TEnumInfo info("TMarginUnits", {"maPercentFont", "maPercentSize", "maPixels"});
  return info;
}
const TEnumInfo& EnumTypeInfo(TKelShapeLayout) {
  static const TEnumInfo info("TKelShapeLayout", {"slTopBottom", "slLeftRight"});
  return info;
}
const TEnumInfo& EnumTypeInfo(TKelTextFormat) {
  static const TEnumInfo info("TTextFormat", {"ttfNormal", "ttfHtml"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TVertTextAlign) {
  static const TEnumInfo info("TVertTextAlign", {"vtaCenter", "vtaTop", "vtaBottom"});
  return info;
}

void IShapePanel::DrawShapePicture(TBackImage* picture, const TRect& r, int) {
  if (TCanvas3D* canvas = ShapeCanvas()) picture->DrawFlat(canvas, r);
}

// ---- Automatic text ------------------------------------------------------------------------

const TClassInfo& TAutomaticText::StaticClass() {
  using A = TAutomaticText;
  static const TClassInfo info = TClassBuilder<A>("TAutomaticText", &TPersistent::StaticClass())
                                     .Property("Hide", &A::Hide, &A::SetHide)
                                     .Default(true)
                                     .Property("Move", &A::Move, &A::SetMove)
                                     .Default(true)
                                     .Property("Resize", &A::Resize, &A::SetResize)
                                     .Default(true)
                                     .Property("Rotate", &A::Rotate, &A::SetRotate)
                                     .Default(true)
                                     .Property("Trim", &A::Trim, &A::SetTrim)
                                     .Default(true)
                                     .Property("Wrap", &A::Wrap, &A::SetWrap)
                                     .Default(true)
                                     .Build();
  return info;
}

void TAutomaticText::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TAutomaticText*>(source);
  if (other == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  flags_ = other->flags_;
}

void TAutomaticText::SetFlag(int index, bool value) {
  if (flags_[index] == value) return;
  flags_[index] = value;
  if (changed_) changed_(this);
}

// ---- Callout ---------------------------------------------------------------------------------

const TClassInfo& TShapeCallout::StaticClass() {
  using C = TShapeCallout;
  static const TClassInfo info = TClassBuilder<C>("TShapeCallout", &TPersistent::StaticClass())
                                     .Property("PointPosition", &C::PointPosition, &C::SetPointPosition)
                                     .Default(50)
                                     .Property("Position", &C::Position, &C::SetPosition)
                                     .Default(50)
                                     .Property("Side", &C::Side, &C::SetSide)
                                     .Default(csNone)
                                     .Property("Size", &C::Size, &C::SetSize)
                                     .Default(25)
                                     .Property("Width", &C::Width, &C::SetWidth)
                                     .Default(20)
                                     .Build();
  return info;
}

void TShapeCallout::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TShapeCallout*>(source)) {
    pointPosition_ = other->pointPosition_;
    position_ = other->position_;
    side_ = other->side_;
    size_ = other->size_;
    width_ = other->width_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TShapeCallout::Changed() {
  if (shape_) shape_->Repaint();
}

#define VK_CALLOUT_SETTER(Name, Type, field) \
  void TShapeCallout::Set##Name(Type value) { \
    if (field == value) return;              \
    field = value;                           \
    Changed();                               \
  }
VK_CALLOUT_SETTER(Side, TShapeCalloutSide, side_)
VK_CALLOUT_SETTER(Position, int, position_)
VK_CALLOUT_SETTER(Size, int, size_)
VK_CALLOUT_SETTER(Width, int, width_)
#undef VK_CALLOUT_SETTER

bool TShapeCallout::Pointer(const TRect& r, int round, TPoint& baseStart, TPoint& tip, TPoint& baseEnd) const {
  const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  switch (side_) {
    case csTop:
    case csBottom: {
      const int wd = R - L;
      int e = side_ == csTop ? R - RoundInt(wd * position_ * 0.01L) : L + RoundInt(wd * position_ * 0.01L);
      const int g = RoundInt(wd * width_ * 0.005L);
      if (e - g < L + round) e = L + round + g;
      if (e + g > R) e = R - g;
      const int d = RoundInt((B - T) * size_ * 0.01L);
      if (side_ == csTop) {
        baseStart = TPoint(e - g, T);
        tip = TPoint(e, T - d);
        baseEnd = TPoint(e + g, T);
      } else {
        baseStart = TPoint(e + g, B);
        tip = TPoint(e, B + d);
        baseEnd = TPoint(e - g, B);
      }
      return true;
    }
    case csLeft:
    case csRight: {
      const int ht = B - T;
      int e = side_ == csRight ? B - RoundInt(ht * position_ * 0.01L) : T + RoundInt(ht * position_ * 0.01L);
      const int g = RoundInt(ht * width_ * 0.005L);
      if (e - g < T) e = T + g;
      if (e + g > B) e = B - g;
      const int d = RoundInt((R - L) * size_ * 0.01L);
      if (side_ == csRight) {
        baseStart = TPoint(R, e - g);
        tip = TPoint(R + d, e);
        baseEnd = TPoint(R, e + g);
      } else {
        baseStart = TPoint(L, e + g);
        tip = TPoint(L - d, e);
        baseEnd = TPoint(L, e - g);
      }
      return true;
    }
    case csNone:
      break;
  }
  return false;
}

TPointArray TShapeCallout::Outline(const TRect& r, int round) const {
  TPointArray points;
  TPoint a, tip, b;
  const bool pointer = Pointer(r, round, a, tip, b);
  auto side = [&](TShapeCalloutSide s) {
    if (pointer && side_ == s) {
      points.push_back(a);
      points.push_back(tip);
      points.push_back(b);
    }
  };
  // Clockwise on screen: top-left corner, top side, top-right, right side, bottom-right,
  // bottom side, bottom-left, left side.
  if (round > 0)
    AddCorner(points, r.Left, r.Top, round, 180);
  else
    points.push_back(TPoint(r.Left, r.Top));
  side(csTop);
  if (round > 0)
    AddCorner(points, r.Right - round, r.Top, round, 270);
  else
    points.push_back(TPoint(r.Right, r.Top));
  side(csRight);
  if (round > 0)
    AddCorner(points, r.Right - round, r.Bottom - round, round, 0);
  else
    points.push_back(TPoint(r.Right, r.Bottom));
  side(csBottom);
  if (round > 0)
    AddCorner(points, r.Left, r.Bottom - round, round, 90);
  else
    points.push_back(TPoint(r.Left, r.Bottom));
  side(csLeft);
  return points;
}

std::unique_ptr<TKelBasePath> TShapeCallout::BuildPath(TCanvas3D* canvas, const TRect& r, int round) const {
  std::unique_ptr<TKelBasePath> path(canvas->NewEmptyPath());
  const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  const float rf = static_cast<float>(round);
  TPoint a, tip, b;
  const bool pointer = Pointer(r, round, a, tip, b);
  const auto arc = [&](int boxX, int boxY, float start) {
    path->AddArc(static_cast<float>(boxX), static_cast<float>(boxY), rf, rf, start, 90);
  };
  // The corner ending a side: its arc, or the corner point itself.
  const auto corner = [&](int boxX, int boxY, float start, TPoint point) {
    if (round > 0)
      arc(boxX, boxY, start);
    else
      path->LineToPoint(point);
  };
  // A side carrying the pointer: after a round corner its lines start afresh at `first` (an arc
  // leaves no point for a line to start from), then the pointer's base, tip and base end, and
  // `last` where the side's straight part meets the next corner.
  const auto pointerSide = [&](TPoint first, TPoint last) {
    if (round > 0) path->StartFigureAtPoint(first);
    path->LineToPoint(a);
    path->LineToPoint(tip);
    path->LineToPoint(b);
    path->LineToPoint(last);
  };
  // Top-left corner, top side, top-right, right side, bottom-right, bottom side, bottom-left,
  // left side. A pointer on the left side ends with the top-left corner, so the outline begins
  // at the top-right one then.
  const bool leftPointer = pointer && side_ == csLeft;
  if (round <= 0)
    path->StartFigureAtPoint(TPoint(L, T));
  else if (!leftPointer)
    arc(L, T, 180);
  if (pointer && side_ == csTop) pointerSide(TPoint(L + round, T), TPoint(R - round, T));
  corner(R - round, T, 270, TPoint(R, T));
  if (pointer && side_ == csRight) pointerSide(TPoint(R, T + round), TPoint(R, B - round));
  corner(R - round, B - round, 0, TPoint(R, B));
  if (pointer && side_ == csBottom) pointerSide(TPoint(R - round, B), TPoint(L + round, B));
  corner(L, B - round, 90, TPoint(L, B));
  if (leftPointer) {
    pointerSide(TPoint(L, B - round), TPoint(L, T + round));
    if (round > 0) arc(L, T, 180);
  }
  path->CloseFigure();
  return path;
}

// ---- Margins --------------------------------------------------------------------------------

const TClassInfo& TMargins::StaticClass() {
  using M = TMargins;
  static const TClassInfo info = TClassBuilder<M>("TMargins", &TPersistent::StaticClass())
                                     .Property("Left", &M::Left, &M::SetLeft)
                                     .Stored(&M::IsLeftStored)
                                     .Property("Top", &M::Top, &M::SetTop)
                                     .Stored(&M::IsTopStored)
                                     .Property("Right", &M::Right, &M::SetRight)
                                     .Stored(&M::IsRightStored)
                                     .Property("Bottom", &M::Bottom, &M::SetBottom)
                                     .Stored(&M::IsBottomStored)
                                     .Property("Units", &M::Units, &M::SetUnits)
                                     .Default(maPercentFont)
                                     .Build();
  return info;
}

void TMargins::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TMargins*>(source)) {
    left_ = other->left_;
    top_ = other->top_;
    right_ = other->right_;
    bottom_ = other->bottom_;
    units_ = other->units_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TMargins::SetHorizDefault(int value) {
  left_ = right_ = horizDefault_ = value;
}

void TMargins::SetVertDefault(int value) {
  top_ = bottom_ = vertDefault_ = value;
}

void TMargins::Changed() {
  if (parent_) parent_->Repaint();
}

#define VK_MARGIN_SETTER(Name, Type, field) \
  void TMargins::Set##Name(Type value) {    \
    if (field == value) return;             \
    field = value;                          \
    Changed();                              \
  }
VK_MARGIN_SETTER(Left, int, left_)
VK_MARGIN_SETTER(Top, int, top_)
VK_MARGIN_SETTER(Right, int, right_)
VK_MARGIN_SETTER(Bottom, int, bottom_)
VK_MARGIN_SETTER(Units, TMarginUnits, units_)
#undef VK_MARGIN_SETTER

void TMargins::Compute(int w, int h, int textHeight) {
  switch (units_) {
    case maPercentFont: {
      const float f = static_cast<float>(textHeight * 0.01);
      pixLeft = RoundInt(left_ * static_cast<long double>(f));
      pixTop = RoundInt(top_ * static_cast<long double>(f));
      pixRight = RoundInt(right_ * static_cast<long double>(f));
      pixBottom = RoundInt(bottom_ * static_cast<long double>(f));
      break;
    }
    case maPercentSize: {
      const float fw = static_cast<float>(w * 0.01), fh = static_cast<float>(h * 0.01);
      pixLeft = RoundInt(left_ * static_cast<long double>(fw));
      pixRight = RoundInt(right_ * static_cast<long double>(fw));
      pixTop = RoundInt(top_ * static_cast<long double>(fh));
      pixBottom = RoundInt(bottom_ * static_cast<long double>(fh));
      break;
    }
    case maPixels:
      pixLeft = left_;
      pixTop = top_;
      pixRight = right_;
      pixBottom = bottom_;
      break;
  }
}

// ---- Shape ----------------------------------------------------------------------------------

const TClassInfo& TKelCustomShapeBrushPen::StaticClass() {
  // Each kind of shape publishes its own settings (PublishShapeProperties).
  static const TClassInfo info =
      TClassBuilder<TKelCustomShapeBrushPen>("TKelCustomShapeBrushPen", &TPersistent::StaticClass()).Abstract().Build();
  return info;
}

TKelCustomShapeBrushPen::TKelCustomShapeBrushPen(IShapePanel* panel) : panel_(panel) {
  const TNotifyEvent changed = [this](TObject* sender) { PartChanged(sender); };
  brush_ = std::make_unique<TKelBrush>(changed);
  pen_ = std::make_unique<TKelPen>(changed);
}

TKelCustomShapeBrushPen::~TKelCustomShapeBrushPen() = default;

void TKelCustomShapeBrushPen::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TKelCustomShapeBrushPen*>(source);
  if (other == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  brush_->Assign(other->brush_.get());
  pen_->Assign(other->pen_.get());
  visible_ = other->visible_;
  Repaint();
}

void TKelCustomShapeBrushPen::Repaint() {
  if (panel_) panel_->ShapeChanged();
}

void TKelCustomShapeBrushPen::SetBrush(TKelBrush* value) {
  if (value != nullptr) brush_->Assign(value);
}

void TKelCustomShapeBrushPen::SetPen(TKelPen* value) {
  if (value != nullptr) pen_->Assign(value);
}

void TKelCustomShapeBrushPen::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  Repaint();
}

const TClassInfo& TKelCustomShape::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKelCustomShape>("TKelCustomShape", &TKelCustomShapeBrushPen::StaticClass()).Abstract().Build();
  return info;
}

namespace {
using SP = TShapeProperty;
// What a plain text shape (the child of another) publishes, ahead of the text settings.
constexpr std::initializer_list<TShapeProperty> kSharedShapeSettings = {
    SP::Visible,     SP::Angle,       SP::AutoSize,  SP::Bevel,     SP::BevelWidth, SP::ShapeCallout, SP::Children,
    SP::ChildLayout, SP::Color,       SP::Corners,   SP::Font,      SP::RoundSize,  SP::ShapeStyle,   SP::Transparent,
    SP::Alignment,   SP::Emboss,      SP::Gradient,  SP::Picture,   SP::Shadow,     SP::Transparency};
}  // namespace


TKelCustomShape::TKelCustomShape(IShapePanel* panel) : TKelCustomShapeBrushPen(panel) {
  const TNotifyEvent changed = [this](TObject* sender) { PartChanged(sender); };
  shadow_ = std::make_unique<TKelShadow>(changed);
  shadow_->SetDefaults(shadow_->Visible(), clBlack, 3);
  font_ = std::make_unique<TKelFont>(changed);
  children_ = std::make_unique<TKelShapes>(this);
}

TKelCustomShape::~TKelCustomShape() = default;

void TKelCustomShape::AttachPanel(IShapePanel* panel) {
  TKelCustomShapeBrushPen::AttachPanel(panel);
  for (int i = 0; i < children_->Count(); ++i) children_->Item(i).Shape()->AttachPanel(panel);
}

TKelEmboss* TKelCustomShape::Emboss() {
  if (!emboss_) {
    emboss_ = std::make_unique<TKelEmboss>([this](TObject* sender) { PartChanged(sender); });
    InitEmboss(*emboss_);
  }
  return emboss_.get();
}

void TKelCustomShape::SetFont(TKelFont* value) {
  if (value != nullptr) font_->Assign(value);
}

void TKelCustomShape::SetShadow(TKelShadow* value) {
  if (value != nullptr) shadow_->Assign(value);
}

TKelGradient* TKelCustomShape::Gradient() { return brush_->Gradient(); }

void TKelCustomShape::SetGradient(TKelGradient* value) { brush_->SetGradient(value); }

void TKelCustomShape::SetShapeCallout(TShapeCallout* value) {
  if (value == nullptr) callout_.reset();
  else ShapeCallout()->Assign(value);
  Repaint();
}

void TKelCustomShape::SetEmboss(TKelEmboss* value) {
  if (value == nullptr) emboss_.reset();
  else Emboss()->Assign(value);
  Repaint();
}

TKelCorners* TKelCustomShape::Corners() {
  if (!corners_) corners_ = std::make_unique<TKelCorners>([this](TObject* sender) { PartChanged(sender); });
  return corners_.get();
}

void TKelCustomShape::SetCorners(TKelCorners* value) {
  if (value == nullptr) corners_.reset();
  else Corners()->Assign(value);
  Repaint();
}

TBackImage* TKelCustomShape::Picture() {
  if (!picture_) {
    picture_ = std::make_unique<TBackImage>();
    picture_->OnChange = [this](TObject* sender) { PartChanged(sender); };
  }
  return picture_.get();
}

void TKelCustomShape::SetPicture(TBackImage* value) {
  if (value == nullptr) picture_.reset();
  else Picture()->Assign(value);
  Repaint();
}

void TKelCustomShape::SetChildLayout(TKelShapeLayout value) {
  if (childLayout_ == value) return;
  childLayout_ = value;
  Repaint();
}

const TClassInfo& TKelCustomShape::ChildShapeClass() const { return TKelShape::StaticClass(); }

TKelCustomShape* TKelCustomShape::NewChildShape(IShapePanel* panel) { return new TKelShape(panel); }

int TKelCustomShape::ChildStart() { return childLayout_ == slLeftRight ? Bounds.Left : Bounds.Top; }

void TKelCustomShape::DefineProperties(TFiler& filer) {
  TPersistent::DefineProperties(filer);
  filer.DefineProperty(
      "ShadowColor",
      [this](TReader& r) {
        TColor color = clBlack;
        if (r.NextValue() == vaIdent) {
          if (!IdentToColor(r.ReadIdent(), color)) color = clBlack;
        } else {
          color = static_cast<TColor>(r.ReadInteger());
        }
        shadow_->SetColor(color);
      },
      nullptr, false);
  filer.DefineProperty("ShadowSize", [this](TReader& r) { shadow_->ChangeSize(r.ReadInteger()); }, nullptr, false);
}

void TKelCustomShape::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TKelCustomShape*>(source);
  if (other == nullptr) {
    TKelCustomShapeBrushPen::Assign(source);
    return;
  }
  alignment_ = other->alignment_;
  angle_ = other->angle_;
  autoSize_ = other->autoSize_;
  bevel_ = other->bevel_;
  bevelWidth_ = other->bevelWidth_;
  SetColor(other->color_);
  font_->Assign(other->font_.get());
  shapeStyle_ = other->shapeStyle_;
  roundSize_ = other->roundSize_;
  shadow_->Assign(other->shadow_.get());
  if (other->emboss_) Emboss()->Assign(other->emboss_.get());
  else emboss_.reset();
  if (other->corners_) Corners()->Assign(other->corners_.get());
  else corners_.reset();
  if (other->picture_) Picture()->Assign(other->picture_.get());
  else picture_.reset();
  childLayout_ = other->childLayout_;
  children_->Assign(other->children_.get());
  if (other->callout_) ShapeCallout()->Assign(other->callout_.get());
  else callout_.reset();
  transparent_ = other->transparent_;
  transparency_ = other->transparency_;
  TKelCustomShapeBrushPen::Assign(source);
}

TShapeCallout* TKelCustomShape::ShapeCallout() {
  if (!callout_) callout_ = std::make_unique<TShapeCallout>(this);
  return callout_.get();
}

#define VK_SHAPE_SETTER(Name, Type, field) \
  void TKelCustomShape::Set##Name(Type value) { \
    if (field == value) return;                 \
    field = value;                              \
    Repaint();                                  \
  }
VK_SHAPE_SETTER(Angle, int, angle_)
VK_SHAPE_SETTER(AutoSize, bool, autoSize_)
VK_SHAPE_SETTER(Bevel, TBevelCut, bevel_)
VK_SHAPE_SETTER(BevelWidth, TBevelWidth, bevelWidth_)
VK_SHAPE_SETTER(Color, TColor, color_)
VK_SHAPE_SETTER(ShapeStyle, TChartObjectShapeStyle, shapeStyle_)
VK_SHAPE_SETTER(Transparent, bool, transparent_)
VK_SHAPE_SETTER(Transparency, int, transparency_)
VK_SHAPE_SETTER(Alignment, TAlignment, alignment_)
#undef VK_SHAPE_SETTER

void TKelCustomShape::SetRoundSize(int value) {
  if (value == roundSize_) return;
  roundSize_ = value;
  if (value > 0) shapeStyle_ = fosRoundRectangle;
  Repaint();
}

void TKelCustomShape::MoveTo(int x, int y) {
  const int w = Width(), h = Height();
  Bounds = TRect(x, y, x + w, y + h);
  Repaint();
}

std::array<TPoint, 4> TKelCustomShape::RotatedCorners(const TRect& r, double angle) {
  const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
  const long double a = angle * std::numbers::pi_v<long double> / 180;
  const long double c = std::cos(a), s = std::sin(a);
  const TPoint corners[4] = {TPoint(r.Left, r.Top), TPoint(r.Right, r.Top), TPoint(r.Right, r.Bottom),
                             TPoint(r.Left, r.Bottom)};
  std::array<TPoint, 4> result;
  for (int i = 0; i < 4; ++i) {
    const long double dx = corners[i].X - cx, dy = corners[i].Y - cy;
    result[i] = TPoint(RoundInt(dx * c + dy * s) + cx, RoundInt(-dx * s + dy * c) + cy);
  }
  return result;
}

bool TKelCustomShape::Clicked(TPoint p) const {
  if (angle_ == 0)
    return p.X >= Bounds.Left && p.X < Bounds.Right && p.Y >= Bounds.Top && p.Y < Bounds.Bottom;
  const auto corners = RotatedCorners(Bounds, angle_ % 360);
  POINT pts[4];
  for (int i = 0; i < 4; ++i) pts[i] = POINT{corners[i].X, corners[i].Y};
  return PointInPolygon(POINT{p.X, p.Y}, pts, 3);
}

void TKelCustomShape::CalcSize() {
  if (autoSize_) Bounds = TRect(Bounds.Left, Bounds.Top, Bounds.Left, Bounds.Top);
  for (int i = 0; i < children_->Count(); ++i) {
    TKelCustomShape* child = children_->Item(i).Shape();
    if (!child->Visible()) continue;
    child->CalcSize();
    if (childLayout_ == slLeftRight) {
      Bounds.Right += child->Width();
      Bounds.Bottom = Bounds.Top + std::max(Height(), child->Height());
    } else {
      Bounds.Right = Bounds.Left + std::max(Width(), child->Width());
      Bounds.Bottom += child->Height();
    }
  }
}

void TKelCustomShape::LayoutChildren(int z, double angle) {
  int position = ChildStart();
  for (int i = 0; i < children_->Count(); ++i) {
    TKelCustomShape* child = children_->Item(i).Shape();
    if (!child->Visible()) continue;
    if (childLayout_ == slLeftRight) {
      child->MoveTo(position, Bounds.Top);
    } else {
      int x = Bounds.Left;
      if (child->Alignment() == taCenter) x = (Bounds.Left + Bounds.Right - child->Width()) / 2;
      else if (child->Alignment() == taRightJustify) x = Bounds.Right - child->Width();
      child->MoveTo(x, position);
    }
    child->DrawInRect(child->Bounds, z, angle);
    position += childLayout_ == slLeftRight ? child->Width() : child->Height();
  }
}

void TKelCustomShape::DrawEffectAtDepth(TCanvas3D* canvas, TKelShadow* effect, const TRect& r, int z,
                                        double angle) {
  if (!effect->BeginShadow(canvas, r, angle)) return;
  const TRect s = effect->ShadowRect(r);
  canvas->Brush()->SetColor(effect->Color());
  canvas->Brush()->SetStyle(bsSolid);
  if (angle != 0 && shapeStyle_ != fosEllipse) {
    const auto c = RotatedCorners(s, angle);
    canvas->PolygonAtZ(TPointArray(c.begin(), c.end()), 3, z);
  } else {
    DrawFigureAtDepth(canvas, s, z);
  }
  effect->EndShadow(canvas);
}

void TKelCustomShape::DrawFigureAtDepth(TCanvas3D* canvas, const TRect& r, int z) {
  switch (shapeStyle_) {
    case fosEllipse:
      canvas->EllipseAtZFromRect(r, z);
      break;
    case fosRoundRectangle:
      canvas->FillRect3D(r, roundSize_, roundSize_, z, z);
      break;
    default:
      canvas->RectangleAtZ(r, z);
      break;
  }
}

void TKelCustomShape::DrawEffects(TCanvas3D* canvas, const TRect& r, int z, double angle) {
  if (brush_->Style() == bsClear) return;
  for (TKelShadow* effect : {shadow_.get(), static_cast<TKelShadow*>(emboss_.get())}) {
    if (effect == nullptr || !effect->IsShown()) continue;
    // The shadow grows outward with a wide pen, the emboss inward.
    const int direction = effect == shadow_.get() ? 1 : -1;
    TRect e = r;
    if (pen_->Visible() && pen_->Width() > 1) {
      const int grow = direction * (pen_->Width() / 2);
      e = TRect(e.Left - grow, e.Top - grow, e.Right + grow, e.Bottom + grow);
    }
    canvas->Pen()->SetStyle(psClear);
    if (canvas->SupportsFull3D()) {
      // A full-3D canvas puts the shadow just behind the shape, as a plane of its own.
      DrawEffectAtDepth(canvas, effect, e, direction > 0 ? z + 2 : z, angle);
      continue;
    }
    if (shapeStyle_ == fosEllipse) {
      effect->Draw(canvas, e, 0, 0, 360);
    } else {
      const bool full3D = canvas->SupportsFull3D();
      if (!full3D) canvas->SuspendRotation();
      effect->DrawRect(canvas, e, shapeStyle_ == fosRectangle ? 0 : roundSize_, angle);
      if (!full3D) canvas->ResumeRotation();
    }
  }
}

TPointArray TKelCustomShape::OutlinePolygon(TCanvas3D* canvas, const TRect& r, double angle) const {
  if (angle != 0) {
    const auto c = RotatedCorners(r, angle);
    return TPointArray(c.begin(), c.end());
  }
  if (canvas->SupportsFull3D() || DrawAtDepth) return {};
  if (callout_ && callout_->Side() != csNone)
    return callout_->Outline(r, shapeStyle_ == fosRoundRectangle ? roundSize_ : 0);
  return {};
}

void TKelCustomShape::FillWithPicture(TCanvas3D* canvas, const TRect& r, int z, double angle,
                                      const TPointArray* points) {
  // The picture covers the rectangle; the clips keep it inside the outline actually drawn.
  int clips = 0;
  if (shapeStyle_ == fosEllipse) {
    canvas->ClipToEllipse(r, false);
    ++clips;
  } else if (shapeStyle_ == fosRoundRectangle) {
    canvas->ClipToRoundRect(r, roundSize_, roundSize_);
    ++clips;
  }
  if (const TPointArray outline = OutlinePolygon(canvas, r, angle); outline.size() >= 3) {
    const int count = static_cast<int>(outline.size());
    canvas->ClipToPolygon(outline, count - 1, count, false);
    ++clips;
  }
  if (points != nullptr && points->size() >= 3) {
    const int count = static_cast<int>(points->size());
    canvas->ClipToPolygon(*points, count - 1, count, false);
    ++clips;
  }
  // Only a full-3D canvas places the picture at the shape's depth.
  panel_->DrawShapePicture(picture_.get(), r, canvas->SupportsFull3D() ? z : 0);
  while (clips-- > 0) canvas->PopClip();
  // A gradient with see-through stops lies over the picture; otherwise nothing more fills.
  bool seeThrough = false;
  if (TKelGradient* gradient = brush_->HasGradient() ? brush_->Gradient() : nullptr;
      gradient && gradient->Visible() && gradient->HasColors())
    for (int i = 0; i < gradient->Colors()->Count(); ++i) seeThrough |= gradient->Colors()->Item(i)->Transparency() > 0;
  if (seeThrough)
    canvas->UseBrushInColor(brush_.get(), color_);
  else
    canvas->Brush()->SetStyle(bsClear);
}

void TKelCustomShape::DrawShape(const TRect& r, int z, double angle, const TPointArray* points) {
  TCanvas3D* canvas = panel_ ? panel_->ShapeCanvas() : nullptr;
  if (canvas == nullptr) return;
  TKelBlend* blend = nullptr;
  if (transparency_ > 0) {
    TRect area = r;
    if (angle != 0) {
      const auto c = RotatedCorners(r, angle);
      area = TRect(std::min({c[0].X, c[1].X, c[2].X, c[3].X}), std::min({c[0].Y, c[1].Y, c[2].Y, c[3].Y}),
                   std::max({c[0].X, c[1].X, c[2].X, c[3].X}), std::max({c[0].Y, c[1].Y, c[2].Y, c[3].Y}));
    }
    blend = canvas->StartTransparency(canvas->SupportsAlpha ? TRect() : area,
                                      static_cast<std::uint8_t>(transparency_));
  }
  // The transparency group closes however the drawing ends; a picture of filters only works
  // on what shows through the shape.
  struct Finish {
    TKelCustomShape& shape;
    TCanvas3D* canvas;
    TKelBlend* blend;
    void Done() {
      if (blend == nullptr) return;
      if (!shape.transparent_ && shape.picture_ && !shape.picture_->HasGraphic() && shape.picture_->HasFilters() &&
          blend->Snapshot() != nullptr)
        shape.picture_->Filters()->ApplyAll(*blend->Snapshot());
      TKelBlend* b = blend;
      blend = nullptr;
      canvas->FinishTransparency(b);
    }
    ~Finish() {
      if (blend != nullptr) canvas->FinishTransparency(blend);
    }
  } finish{*this, canvas, blend};
  if (transparent_) {
    canvas->Brush()->SetStyle(bsClear);
  } else {
    DrawEffects(canvas, r, z, angle);
    if (picture_ && picture_->HasGraphic())
      FillWithPicture(canvas, r, z, angle, points);
    else
      canvas->UseBrushInColor(brush_.get(), color_);
    canvas->UsePen(pen_.get());
  }
  // The outline, and the text right after it (also for a transparent shape, whose outline
  // draws nothing); the bevel frame then lies over both.
  if (points != nullptr)
    DrawPolygonShape(canvas, *points, z, angle, r);
  else
    DrawRectShape(canvas, r, z, angle);
  DrawContent(canvas, r, z, angle);
  if (!transparent_ && angle == 0 && bevel_ != bvNone) {
    TRect b = r;
    const int width = std::min({bevelWidth_, r.Height() / 2, r.Width() / 2});
    canvas->DrawBevelFrame(b, bevel_ == bvLowered ? static_cast<TColor>(0xA0A0A0) : clWhite,
                           bevel_ == bvRaised ? static_cast<TColor>(0xA0A0A0) : clWhite, width);
  }
  if (children_->Count() > 0) LayoutChildren(z, angle);
  finish.Done();
}

void TKelCustomShape::DrawRectShape(TCanvas3D* canvas, const TRect& r, int z, double angle) {
  if (transparent_) return;
  if (angle != 0) {
    const auto c = RotatedCorners(r, angle);
    canvas->Polygon(TPointArray(c.begin(), c.end()), 3);
    return;
  }
  if (canvas->SupportsFull3D() || DrawAtDepth) {
    DrawFigureAtDepth(canvas, r, z);
    return;
  }
  if (callout_ && callout_->Side() != csNone) {
    callout_->BuildPath(canvas, r, shapeStyle_ == fosRoundRectangle ? roundSize_ : 0)->DrawPath(*canvas);
    return;
  }
  switch (shapeStyle_) {
    case fosRectangle:
      canvas->RectangleFromRect(r);
      break;
    case fosEllipse:
      canvas->EllipseFromRect(r);
      break;
    case fosRoundRectangle:
      canvas->DrawCorneredRect(r, roundSize_, roundSize_, corners_.get());
      break;
  }
}

void TKelCustomShape::DrawPolygonShape(TCanvas3D* canvas, const TPointArray& points, int z, double, const TRect&) {
  if (transparent_ || points.empty()) return;
  const int high = static_cast<int>(points.size()) - 1;
  if (canvas->SupportsFull3D() || DrawAtDepth)
    canvas->PolygonAtZ(points, high, z);
  else
    canvas->Polygon(points, high);
}

const TClassInfo& TKelShape::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TKelShape> b("TKelShape", &TKelCustomShape::StaticClass());
    PublishPlainShapeProperties(b);
    return b.Build();
  }();
  return info;
}

// ---- Text shape -------------------------------------------------------------------------------

const TClassInfo& TCustomTextShape::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TCustomTextShape>("TCustomTextShape", &TKelCustomShape::StaticClass()).Build();
  return info;
}

const TClassInfo& TCustomTextShape::SharedSettingsClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TCustomTextShape> b("TCustomTextShape", &TCustomTextShape::StaticClass());
    PublishShapeProperties(b, kSharedShapeSettings);
    PublishShapeProperties(b, {SP::ClipText, SP::Cursor, SP::Margins, SP::Text, SP::TextAlignment, SP::TextFormat,
                               SP::VertTextAlign});
    return b.Build();
  }();
  return info;
}

TCustomTextShape::TCustomTextShape(IShapePanel* panel)
    : TKelCustomShape(panel), margins_(std::make_unique<TMargins>(this)) {}

TCustomTextShape::~TCustomTextShape() = default;

void TCustomTextShape::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TCustomTextShape*>(source)) {
    clipText_ = other->clipText_;
    cursor_ = other->cursor_;
    margins_->Assign(other->margins_.get());
    text_ = other->text_;
    textAlignment_ = other->textAlignment_;
    textFormat_ = other->textFormat_;
    vertTextAlign_ = other->vertTextAlign_;
  }
  TKelCustomShape::Assign(source);
}

void TCustomTextShape::SetText(const std::string& value) {
  if (value == text_) return;
  text_ = value;
  TextChanged();
}

void TCustomTextShape::SetTextAlignment(TAlignment value) {
  if (value == textAlignment_) return;
  textAlignment_ = value;
  Repaint();
}

void TCustomTextShape::SetTextFormat(TKelTextFormat value) {
  if (value == textFormat_) return;
  textFormat_ = value;
  Repaint();
}

void TCustomTextShape::SetClipText(bool value) {
  if (value == clipText_) return;
  clipText_ = value;
  Repaint();
}

bool TCustomTextShape::PenCounts() const { return !transparent_ && pen_->Visible(); }

void TCustomTextShape::CalcSize() {
  TKelCustomShape::CalcSize();
  lines_ = 0;
  textWidth_ = textHeight_ = 0;
  if (text_.empty() || panel_ == nullptr) return;
  AssignTextFont();
  int w = 0, h = 0;
  panel_->ShapeTextExtent(text_, textFormat_ == ttfHtml, w, h);
  lines_ = TextLineCount(text_);
  textWidth_ = w;
  textHeight_ = h;
  if (!autoSize_) return;
  int W = w, H = h;
  if (PenCounts()) {
    W += pen_->Width() + 1;
    H += pen_->Width() + 1;
  }
  if (transparent_)
    margins_->ClearPixels();
  else
    margins_->Compute(W, H, h);
  W += 2 * (margins_->pixLeft + margins_->pixRight);
  if (childLayout_ == slLeftRight) {
    Bounds.Bottom = std::max(Bounds.Bottom, Bounds.Top + H);
    Bounds.Right += W + margins_->pixLeft + margins_->pixRight;
  } else {
    Bounds.Right = std::max(Bounds.Right, Bounds.Left + W);
    Bounds.Bottom += H + margins_->pixTop + margins_->pixBottom;
  }
}

const TClassInfo& TCustomTextShape::ChildShapeClass() const { return TCustomTextShape::StaticClass(); }

TKelCustomShape* TCustomTextShape::NewChildShape(IShapePanel* panel) { return new TCustomTextShape(panel); }

void TCustomTextShape::AssignTextFont() {
  if (panel_ == nullptr) return;
  if (flatText_)
    panel_->AssignShapeFontFlat(FontOfText());
  else
    panel_->AssignShapeFont(FontOfText());
}

int TCustomTextShape::ChildStart() {
  int start = TKelCustomShape::ChildStart();
  if (PenCounts()) start += pen_->Width() / 2;
  if (childLayout_ == slLeftRight) return start + textWidth_ + margins_->pixLeft;
  const int lineHeight = lines_ > 0 ? textHeight_ / lines_ : 0;
  return start + lineHeight * lines_ + margins_->pixTop;
}

void TCustomTextShape::TextStartX(TCanvas3D* canvas, int& x, const std::string&, const TRect& r) {
  switch (textAlignment_) {
    case taCenter:
      canvas->SetTextAlign(kAlignCenter);
      x = (r.Left + r.Right) / 2;
      break;
    case taRightJustify:
      canvas->SetTextAlign(kAlignRight);
      x = r.Right - margins_->pixRight;
      break;
    default:
      canvas->SetTextAlign(kAlignLeft);
      x = r.Left + margins_->pixLeft;
      break;
  }
  x += TextOffsetX;
}

void TCustomTextShape::DrawTextLine(TCanvas3D* canvas, int x, TPoint centre, double angle, bool markUp,
                                    const std::string& text, int z, int y) {
  const bool flat = flatText_ || (z == 0 && !canvas->SupportsFull3D());
  if (angle != 0) {
    // Turned lines turn about the box centre, so the text stays inside the turned box.
    canvas->RotateAroundCentre = true;
    canvas->TextCentre = centre;
    if (flat)
      canvas->RotatedTextOut(x, y, text, angle, markUp);
    else
      canvas->RotatedTextOut3D(x, y, z, text, angle, markUp);
    canvas->RotateAroundCentre = false;
  } else if (flat) {
    canvas->TextOutAllowMarkup(x, y, text, markUp);
  } else {
    canvas->WriteText3D(x, y, z, text, markUp);
  }
}

void TCustomTextShape::DrawContent(TCanvas3D* canvas, const TRect& r, int z, double angle) {
  canvas->SetBackMode(TRANSPARENT);
  AssignTextFont();
  std::string text = ReplaceChar(text_, '\n', '\0');
  if (text.empty()) text = " ";
  int y = r.Top + margins_->pixTop;
  if (PenCounts()) y += pen_->Width() / 2 + 1;
  int x = 0;
  TextStartX(canvas, x, text, r);
  const bool clip = clipText_ && (TextOffsetX != 0 || !(autoSize_ || angle != 0));
  if (clip) canvas->ClipToRect(r);
  struct ClipPop {
    TCanvas3D* canvas;
    bool active;
    ~ClipPop() {
      if (active) canvas->PopClip();
    }
  } pop{canvas, clip};
  const int lines = std::max(1, TextLineCount(text));
  const int lineHeight = canvas->LineHeight();
  const TPoint centre((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  const int depth = canvas->SupportsFull3D() ? z : 0;
  const bool markUp = textFormat_ == ttfHtml;
  for (int n = 1; n <= lines; ++n) {
    const std::string piece = FieldAtSep(text, n, "\r");
    if (!piece.empty()) DrawTextLine(canvas, x, centre, angle, markUp, piece, depth, y);
    if (lines > 1) {
      // A mark-up piece may hold several lines or larger letters: the next starts below it.
      if (markUp && !piece.empty()) {
        TSize extent;
        MarkupTextExtent(*canvas, piece, extent);
        y += extent.cy;
      } else {
        y += lineHeight;
      }
    }
  }
}

// ---- Positioned text shape -----------------------------------------------------------------

const TClassInfo& TKelCustomShapePosition::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKelCustomShapePosition>("TKelCustomShapePosition", &TCustomTextShape::StaticClass())
          .Abstract()
          .Build();
  return info;
}

const TClassInfo& TTextShape::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TTextShape> b("TTextShape", &TKelCustomShapePosition::StaticClass());
    PublishShapeProperties(
        b, {SP::Alignment, SP::Angle,        SP::AutoSize,   SP::Bevel,        SP::BevelWidth,   SP::Brush,
            SP::ChildLayout, SP::Children,   SP::ClipText,   SP::Color,        SP::Cursor,       SP::CustomPosition,
            SP::Emboss,    SP::Font,         SP::Frame,      SP::Gradient,     SP::Left,         SP::Margins,
            SP::Picture,   SP::Shadow,       SP::ShapeCallout, SP::ShapeStyle, SP::Text,         SP::TextAlignment,
            SP::TextFormat, SP::Top,         SP::Transparency, SP::Transparent, SP::VertTextAlign, SP::Visible});
    return b.Build();
  }();
  return info;
}

void TKelCustomShapePosition::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TKelCustomShapePosition*>(source)) {
    SetCustomPosition(other->customPosition_);
    if (other->customPosition_) {
      SetLeft(other->Left());
      SetTop(other->Top());
    }
  }
  TCustomTextShape::Assign(source);
}

void TKelCustomShapePosition::SetCustomPosition(bool value) {
  if (value == customPosition_) return;
  customPosition_ = value;
  Repaint();
}

void TKelCustomShapePosition::SetLeft(int value) {
  customPosition_ = true;
  const int w = Width();
  Bounds.Left = value;
  Bounds.Right = value + w;
  Repaint();
}

void TKelCustomShapePosition::SetTop(int value) {
  customPosition_ = true;
  const int h = Height();
  Bounds.Top = value;
  Bounds.Bottom = value + h;
  Repaint();
}

// ---- Child shapes ---------------------------------------------------------------------------

const TClassInfo& TKelShapeItem::StaticClass() {
  static const TClassInfo info = TClassBuilder<TKelShapeItem>("TKelShapeItem", &TCollectionItem::StaticClass())
                                     .Property("Shape", &TKelShapeItem::Shape, nullptr)
                                     .Build();
  return info;
}

TKelShapeItem::TKelShapeItem(TCollection* collection) : TCollectionItem(collection) {
  auto* shapes = dynamic_cast<TKelShapes*>(collection);
  TKelCustomShape* parent = shapes ? shapes->Parent() : nullptr;
  shape_.reset(parent ? parent->NewChildShape(parent->Panel()) : new TKelShape(nullptr));
  shape_->SetTransparentDefault(true);
}

TKelShapeItem::~TKelShapeItem() {
  if (auto* shapes = dynamic_cast<TKelShapes*>(Collection()); shapes && shapes->Parent()) shapes->Parent()->Repaint();
}

void TKelShapeItem::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TKelShapeItem*>(source)) {
    shape_->Assign(other->shape_.get());
    return;
  }
  TCollectionItem::Assign(source);
}

const TClassInfo& TKelShapes::StaticClass() {
  static const TClassInfo info = TClassBuilder<TKelShapes>("TKelShapes", &TOwnedCollection::StaticClass()).Build();
  return info;
}

TKelShapes::TKelShapes(TKelCustomShape* shape) : TOwnedCollection(shape, TKelShapeItem::StaticClass()), shape_(shape) {}

// ---- Strings shape --------------------------------------------------------------------------

const TClassInfo& TStringsShape::StaticClass() {
  // Text is the list of lines here (written as its strings).
  static const TClassInfo info = TClassBuilder<TStringsShape>("TStringsShape", &TTextShape::StaticClass())
                                     .Property("Text", &TStringsShape::Lines, &TStringsShape::SetLines)
                                     .Build();
  return info;
}

TStringsShape::TStringsShape(IShapePanel* panel) : TTextShape(panel), lines_(std::make_unique<TStringList>()) {
  lines_->OnChange = [this](TObject*) { LinesChanged(); };
}

TStringsShape::~TStringsShape() { lines_->OnChange = nullptr; }

void TStringsShape::LinesChanged() {
  if (copying_) return;
  std::string text = lines_->Text();
  // The list's text ends every line; the shape keeps no trailing line break.
  if (text.size() > 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
  copying_ = true;
  SetText(text);
  copying_ = false;
  Repaint();
}

void TStringsShape::TextChanged() {
  if (!copying_) {
    copying_ = true;
    lines_->SetText(Text());
    copying_ = false;
  }
  Repaint();
}

void TStringsShape::SetLines(TStrings* value) { lines_->Assign(value); }

void TStringsShape::Assign(TPersistent* source) {
  TTextShape::Assign(source);
  copying_ = true;
  lines_->SetText(Text());
  copying_ = false;
}

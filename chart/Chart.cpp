// The chart: construction, palettes, walls, titles and legend in the paint sequence, and the
// chart's own layout entries. The mouse is in ChartMouse.cpp.
#include "chart/Chart.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "canvas/Canvas3D.h"
#include "canvas/CanvasUtils.h"
#include "canvas/KelBrush.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelShadow.h"
#include "canvas/View3DOptions.h"
#include "chart/BackImage.h"
#include "chart/KelProcs.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/PublishedField.h"
#include "toolkit/graphics/GraphicsUtils.h"
#include "toolkit/rtl/Math.h"

namespace {

// A named canvas element, ended on every exit.
class Element {
 public:
  Element(TCanvas3D* canvas, const char* name) : canvas_(canvas) { canvas_->BeginElement(name, 0, nullptr); }
  ~Element() { canvas_->EndElement(); }
  Element(const Element&) = delete;
  Element& operator=(const Element&) = delete;

 private:
  TCanvas3D* canvas_;
};

}  // namespace

const TClassInfo& TCustomChart::StaticClass() {
  using C = TCustomChart;
  static const TClassInfo info =
      TClassBuilder<C>("TCustomChart", &TCustomAxisPanel::StaticClass())
          .Property("Legend", &C::Legend, &C::SetLegend)
          .Property("Title", &C::Title, &C::SetTitle)
          .Stored([](C& c) { return c.title_ != nullptr; })
          .Property("SubTitle", &C::SubTitle, &C::SetSubTitle)
          .Stored([](C& c) { return c.subTitle_ != nullptr; })
          .Property("Foot", &C::Foot, &C::SetFoot)
          .Stored([](C& c) { return c.foot_ != nullptr; })
          .Property("SubFoot", &C::SubFoot, &C::SetSubFoot)
          .Stored([](C& c) { return c.subFoot_ != nullptr; })
          .Property("BackWall", &C::BackWall, &C::SetBackWall)
          .Property("LeftWall", &C::LeftWall, &C::SetLeftWall)
          .Property("RightWall", &C::RightWall, &C::SetRightWall)
          .Stored([](C& c) { return c.walls_->HasRight(); })
          .Property("BottomWall", &C::BottomWall, &C::SetBottomWall)
          // The back wall's pen; written there.
          .Property("Frame", &C::Frame, &C::SetFrame)
          .Stored(false)
          .Property("OnAllowScroll", FieldGet<&C::OnAllowScroll>, FieldSet<&C::OnAllowScroll>)
          .Property("OnClickAxis", FieldGet<&C::OnClickAxis>, FieldSet<&C::OnClickAxis>)
          .Property("OnClickBackground", FieldGet<&C::OnClickBackground>, FieldSet<&C::OnClickBackground>)
          .Property("OnClickLegend", FieldGet<&C::OnClickLegend>, FieldSet<&C::OnClickLegend>)
          .Property("OnClickSeries", FieldGet<&C::OnClickSeries>, FieldSet<&C::OnClickSeries>)
          .Property("OnClickTitle", FieldGet<&C::OnClickTitle>, FieldSet<&C::OnClickTitle>)
          .Property("OnGetLegendPos", FieldGet<&C::OnGetLegendPos>, FieldSet<&C::OnGetLegendPos>)
          .Property("OnGetLegendRect", FieldGet<&C::OnGetLegendRect>, FieldSet<&C::OnGetLegendRect>)
          .Property("OnGetLegendText", FieldGet<&C::OnGetLegendText>, FieldSet<&C::OnGetLegendText>)
          .Property("OnScroll", FieldGet<&C::OnScroll>, FieldSet<&C::OnScroll>)
          .Property("OnUndoZoom", FieldGet<&C::OnUndoZoom>, FieldSet<&C::OnUndoZoom>)
          .Property("OnZoom", FieldGet<&C::OnZoom>, FieldSet<&C::OnZoom>)
          .Build();
  return info;
}

const TClassInfo& TChart::StaticClass() {
  static const TClassInfo info = TClassBuilder<TChart>("TChart", &TCustomChart::StaticClass()).Build();
  return info;
}

TCustomChart::TCustomChart(TComponent* owner) : TCustomAxisPanel(owner) {
  TRepaintGuard guard(*this);
  walls_ = std::make_unique<TChartWalls>(this);
  legend_ = std::make_unique<TChartLegend>(this);
  scalesSavePending_ = true;
  SetColorPaletteIndex(ReadDefaultInteger("DefaultPalette", 13));
}

TCustomChart::~TCustomChart() {
  savedScales_.clear();
  SetRepaintEnabled(false);
  // Series leave first: their legend rows and colours refer to the chart's parts.
  FreeAllSeries();
  subTitle_.reset();
  title_.reset();
  subFoot_.reset();
  foot_.reset();
  walls_.reset();
  legend_.reset();
}

void TCustomChart::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TCustomChart*>(source)) {
    SetColorPaletteIndex(other->colorPaletteIndex_);
    SetFoot(other->foot_.get());
    legend_->Assign(other->legend_.get());
    SetSubFoot(other->subFoot_.get());
    SetSubTitle(other->subTitle_.get());
    SetTitle(other->title_.get());
    walls_->Assign(*other->walls_);
  }
  TCustomAxisPanel::Assign(source);
  Invalidate();
}

namespace {

// A chart title set from outside: null frees it (the next read makes a fresh one), another
// title is copied into the chart's own.
template <class Title>
void AssignTitle(std::unique_ptr<Title>& own, Title* value, TCustomChart* chart) {
  if (value == nullptr) {
    own.reset();
  } else if (value != own.get()) {
    if (!own) own = std::make_unique<Title>(chart);
    own->Assign(value);
  }
  chart->Invalidate();
}

}  // namespace

void TCustomChart::SetTitle(TChartTitle* value) { AssignTitle(title_, value, this); }
void TCustomChart::SetSubTitle(TChartTitle* value) { AssignTitle(subTitle_, value, this); }
void TCustomChart::SetFoot(TChartFootTitle* value) { AssignTitle(foot_, value, this); }
void TCustomChart::SetSubFoot(TChartFootTitle* value) { AssignTitle(subFoot_, value, this); }

void TCustomChart::SetLegend(TChartLegend* value) {
  if (value != nullptr && value != legend_.get()) legend_->Assign(value);
}

void TCustomChart::SetBackWall(TChartBackWall* value) {
  if (value != nullptr) BackWall()->Assign(value);
}
void TCustomChart::SetLeftWall(TChartLeftWall* value) {
  if (value != nullptr) LeftWall()->Assign(value);
}
void TCustomChart::SetRightWall(TChartRightWall* value) {
  if (value != nullptr) RightWall()->Assign(value);
}
void TCustomChart::SetBottomWall(TChartBottomWall* value) {
  if (value != nullptr) BottomWall()->Assign(value);
}
void TCustomChart::SetFrame(TKelPen* value) {
  if (value != nullptr) Frame()->Assign(value);
}

TChartTitle* TCustomChart::Title() {
  if (!title_) title_ = std::make_unique<TChartTitle>(this);
  return title_.get();
}

TChartTitle* TCustomChart::SubTitle() {
  if (!subTitle_) subTitle_ = std::make_unique<TChartTitle>(this);
  return subTitle_.get();
}

TChartFootTitle* TCustomChart::Foot() {
  if (!foot_) foot_ = std::make_unique<TChartFootTitle>(this);
  return foot_.get();
}

TChartFootTitle* TCustomChart::SubFoot() {
  if (!subFoot_) subFoot_ = std::make_unique<TChartFootTitle>(this);
  return subFoot_.get();
}

// ---- Palettes ---------------------------------------------------------------------------------

void TCustomChart::SetColorPaletteIndex(int value) {
  if (value == colorPaletteIndex_) return;
  if (value == -2) {
    if (colorPaletteIndex_ > 0) {
      ApplyPaletteToChart(*this, colorPaletteIndex_);
    } else {
      std::vector<TColor> table;
      for (std::int32_t c : DefaultPalette()) table.push_back(static_cast<TColor>(c));
      SetChartColors(*this, table, static_cast<int>(table.size()) - 1);
    }
  }
  colorPaletteIndex_ = value;
  if (value != -2) ApplyPaletteToChart(*this, value);
}

void TCustomChart::DefineProperties(TFiler& filer) {
  TCustomAxisPanel::DefineProperties(filer);
  const auto* ancestor = dynamic_cast<const TCustomChart*>(filer.Ancestor());
  const bool writeIndex = ancestor != nullptr ? ancestor->colorPaletteIndex_ != colorPaletteIndex_
                                              : colorPaletteIndex_ >= 0 || colorPaletteIndex_ == -2;
  filer.DefineProperty(
      "ColorPaletteIndex", [this](TReader& r) { SetColorPaletteIndex(r.ReadInteger()); },
      [this](TWriter& w) { w.WriteInteger(colorPaletteIndex_); }, writeIndex);
  filer.DefineProperty(
      "ColorPalette",
      [this](TReader& r) {
        CustomPalette.clear();
        r.ReadListBegin();
        while (!r.EndOfList()) CustomPalette.push_back(static_cast<TColor>(r.ReadInteger()));
        r.ReadListEnd();
        if (CustomPalette.empty()) colorPaletteIndex_ = -1;
      },
      [this](TWriter& w) {
        w.WriteListBegin();
        for (TColor c : CustomPalette) w.WriteInteger(static_cast<int>(c));
        w.WriteListEnd();
      },
      colorPaletteIndex_ == -2);
  filer.DefineProperty(
      "BackColor",
      [this](TReader& r) {
        TColor color = clWhite;
        if (r.NextValue() == vaIdent) {
          TColor named = clWhite;
          if (IdentToColor(r.ReadIdent(), named)) color = named;
        } else {
          color = static_cast<TColor>(r.ReadInteger());
        }
        ApplyLegacyBackColor(color);
      },
      nullptr, false);
}

void TCustomChart::ApplyLegacyBackColor(TColor color) {
  BackWall()->SetColor(color);
  if (Parent() != nullptr && !ComponentState().Contains(csLoading)) BackWall()->Brush()->SetStyle(bsSolid);
}

// ---- Colours ----------------------------------------------------------------------------------

TColor TCustomChart::BackgroundColor() {
  TChartBackWall* back = BackWall();
  if (View3DWalls() && back->Visible() && !back->Transparent()) {
    if (back->Brush()->HasGradient() && back->Gradient()->Visible()) return back->Gradient()->StartColor();
    return back->Color();
  }
  return TCustomAxisPanel::BackgroundColor();
}

bool TCustomChart::IsColorFree(TColor color, bool checkBack, const TChartSeries* except) {
  // What the other series draw with: their own colour or the default they were given.
  for (int i = 0; i < SeriesCount(); ++i) {
    TChartSeries* s = SeriesAt(i);
    if (s != except && s->EffectiveColor() == color) return false;
  }
  if (checkBack && (color == Color() || color == BackWall()->Color())) return false;
  return true;
}

// ---- Walls ------------------------------------------------------------------------------------

bool TCustomChart::AxesInUse() const {
  bool any = false;
  for (int i = 0; i < SeriesCount(); ++i) {
    TChartSeries* s = SeriesAt(i);
    if (!s->Active()) continue;
    any = true;
    if (s->UsesAxes()) return true;
  }
  return !any;
}

bool TCustomChart::ZoomableSeries() const {
  bool any = false;
  for (int i = 0; i < SeriesCount(); ++i) {
    TChartSeries* s = SeriesAt(i);
    if (!s->Active()) continue;
    any = true;
    if (s->ZoomsWithAxes()) return true;
  }
  return !any;
}

int TCustomChart::WallSizeForAxis(const TChartAxis& axis) {
  if (!View3D() || !View3DWalls()) return 0;
  TChartWall* wall;
  if (&axis == LeftAxis())
    wall = LeftWall();
  else if (&axis == BottomAxis())
    wall = BottomWall();
  else if (&axis == RightAxis()) {
    if (!walls_->HasRight()) return 0;
    wall = walls_->Right();
  } else {
    wall = BackWall();
  }
  return wall->Visible() ? wall->Size() : 0;
}

void TCustomChart::ReserveWallSpace() {
  if (!View3D() || !View3DOptions()->Orthogonal()) return;
  ComputeDepth3D();  // the depth of this paint, not the last one's
  const int s = AxesInUse() ? BackWall()->Size() : 0;
  TRect r = ChartBounds();
  const int depth = std::abs(ChartDepthPixels());
  if (View3DOptions()->OrthoAngle() <= 90) {
    r.Right -= depth + s;
    if (walls_->HasRight() && walls_->Right()->Visible()) r.Right -= walls_->Right()->Size() + 1;
  } else {
    r.Left += depth + s;
    if (LeftWall()->Visible()) r.Left += LeftWall()->Size() + 1;
  }
  r.Top += s + std::abs(Chart3DHeight());
  SetChartBounds(r);
  ClampChartRect();
}

void TCustomChart::ApplyWallPenAndBrush(TCustomChartWall* wall) {
  TCanvas3D* canvas = Canvas3D();
  canvas->UsePen(wall->Pen());
  if (wall->Transparent()) {
    canvas->BrushGradient()->SetVisible(false);
    canvas->Brush()->SetStyle(bsClear);
  } else {
    // A hatch in the wall's own colour over the same back colour would not show: the panel
    // gives it a contrasting colour.
    UseBrushContrast(wall->Color(), wall->Brush(), wall->Brush()->Color());
  }
}

void TCustomChart::PaintBackWall() {
  TCanvas3D* canvas = Canvas3D();
  TChartBackWall* wall = BackWall();
  Element element(canvas, "Back");
  int top, bottom;
  wall->VerticalExtent(top, bottom);
  TRect r(ChartBounds().Left, top, ChartBounds().Right, bottom);
  const int depth = ChartDepthPixels();
  if (!View3D()) {
    r.Right += 1;
    if (wall->EndPosition() == 100) r.Bottom += 1;
  } else if (wall->Size() > 0) {
    r.Left -= WallSizeForAxis(*LeftAxis());
  }
  const TPointArray corners = canvas->ProjectPoints(
      {TPoint{r.Left, r.Top}, TPoint{r.Right, r.Top}, TPoint{r.Right, r.Bottom}, TPoint{r.Left, r.Bottom}}, 3, depth);
  TKelBlend* blend = wall->StartTransparency(corners);
  // A flat, opaque wall changes only with its rectangle and settings: its pixels are kept.
  const auto paintWall = [&] {
  // Shadow, then emboss: on the rectangle (flat), its projection (orthogonal 3D) or the
  // projected corners (turned 3D).
  for (TKelShadow* effect : {wall->Shadow(), wall->HasEmboss() ? static_cast<TKelShadow*>(wall->Emboss()) : nullptr}) {
    if (effect == nullptr || !effect->IsShown()) continue;
    canvas->Pen()->SetStyle(psClear);
    if (!View3D())
      effect->DrawRect(canvas, r, 0, 0);
    else if (View3DOptions()->Orthogonal())
      effect->DrawRect(canvas, TRect(corners[0].X, corners[0].Y, corners[2].X, corners[2].Y), 0, 0);
    else
      effect->DrawPolygon(canvas, corners, 3);
  }
  ApplyWallPenAndBrush(wall);
  const bool rounded = wall->ShapeStyle() == fosRoundRectangle;
  const int round = wall->RoundSize();
  if (!View3D()) {
    if (canvas->SupportsFull3D())
      canvas->RectangleAtZ(r, 1);
    else if (rounded)
      canvas->DrawCorneredRect(r, round, round, wall->HasCorners() ? wall->Corners() : nullptr);
    else
      canvas->RectangleFromRect(r);
  } else if (wall->Size() < 1) {
    const int z = depth + (canvas->SupportsFull3D() ? 1 : 0);
    if (rounded)
      canvas->FillRect3D(r, round, round, z, z);
    else
      canvas->RectangleAtZ(r, z);
  } else {
    const int z1 = depth + (depth < 0 ? -wall->Size() : wall->Size());
    if (rounded)
      canvas->FillRect3D(r, round, round, std::min(depth, z1), std::max(depth, z1));
    else
      canvas->DrawBox3DFromRect(r, std::min(depth, z1), std::max(depth, z1), wall->UsesDarkSides());
  }
  };
  const bool plainShadow = !wall->Shadow()->IsShown() && !(wall->HasEmboss() && wall->Emboss()->IsShown());
  if (!View3D() && blend == nullptr && plainShadow) {
    // The frame pen reaches past the rectangle by half its width.
    const int reach = wall->Pen()->Visible() ? wall->Pen()->Width() : 0;
    const TRect layer(std::max(r.Left - reach, PanelRect().Left), std::max(r.Top - reach, PanelRect().Top),
                      std::min(r.Right + reach, PanelRect().Right), std::min(r.Bottom + reach, PanelRect().Bottom));
    PaintLayer(1, layer, SettingsKey(wall) + '|' + std::to_string(r.Left) + ',' + std::to_string(r.Top) + ',' +
                             std::to_string(r.Right) + ',' + std::to_string(r.Bottom),
               paintWall);
    ApplyWallPenAndBrush(wall);
  } else {
    paintWall();
  }
  canvas->BrushGradient()->SetVisible(false);
  // The picture (the wall's own, else the panel's back image kept inside the walls) fills the
  // wall inside its frame.
  TRect inside = r;
  if (wall->Pen()->Visible()) {
    inside.Left += 1;
    inside.Top += 1;
  }
  if (!View3D()) {
    // The frame's right and bottom lines stay visible.
    inside.Right -= 1;
    inside.Bottom -= 1;
  }
  TBackImage* image = nullptr;
  if (wall->PictureGraphic() != nullptr)
    image = wall->Picture();
  else if (HasBackImage() && BackImage()->HasGraphic() && BackImage()->Inside())
    image = BackImage();
  if (image != nullptr) DrawBackImageOf(image, inside, View3D() ? depth : 0);
  wall->FinishTransparency(blend);
}

bool TCustomChart::SideFacesViewer(int x) {
  TCanvas3D* canvas = Canvas3D();
  if (canvas->SupportsFull3D()) return true;
  const TRect& cr = ChartBounds();
  const int y1 = cr.Bottom + WallSizeForAxis(*BottomAxis());
  return FacesViewerArray({canvas->ProjectPoint(TPoint{x, cr.Top}, 0), canvas->ProjectPoint(TPoint{x, y1}, 0),
                           canvas->ProjectPoint(TPoint{x, y1}, BackWall()->Size() + ChartDepthPixels())});
}

void TCustomChart::PaintSideWall(bool right) {
  TCanvas3D* canvas = Canvas3D();
  TChartWall* wall = right ? static_cast<TChartWall*>(walls_->Right()) : LeftWall();
  Element e(canvas, right ? "Right" : "Left");
  const TRect& cr = ChartBounds();
  const bool full3D = canvas->SupportsFull3D();
  const int depth = ChartDepthPixels();
  int top, bottom;
  wall->VerticalExtent(top, bottom);
  const int x = right ? cr.Right + (full3D ? 1 : 0) : cr.Left - (full3D ? 1 : 0);
  const int farZ = right ? depth + 1 : depth;
  TKelBlend* blend = wall->StartTransparency({canvas->Project3D(x, top, 0), canvas->Project3D(x, top, farZ),
                                              canvas->Project3D(x, bottom, farZ), canvas->Project3D(x, bottom, 0)});
  ApplyWallPenAndBrush(wall);
  if (wall->Size() < 1) {
    canvas->PlaneAtX(x, top, bottom, 0, farZ);
  } else if (right) {
    canvas->DrawBox3D(cr.Right, cr.Right + wall->Size(), top, bottom, 0,
                      depth + (BackWall()->Visible() ? BackWall()->Size() : 0), wall->UsesDarkSides());
  } else {
    canvas->DrawBox3D(cr.Left - wall->Size(), cr.Left, top, bottom, 0, depth, wall->UsesDarkSides());
  }
  canvas->BrushGradient()->SetVisible(false);
  if (TGraphic* picture = wall->PictureGraphic())
    canvas->DrawBitmap3D(TRect(0, top, depth, bottom), picture, right ? cr.Right : cr.Left, 0);
  wall->FinishTransparency(blend);
}

void TCustomChart::PaintBottomWall() {
  TCanvas3D* canvas = Canvas3D();
  TChartBottomWall* wall = BottomWall();
  Element e(canvas, "Bottom");
  const TRect& cr = ChartBounds();
  const bool full3D = canvas->SupportsFull3D();
  const int depth = ChartDepthPixels();
  const int z0 = wall->StartPosition() == 0 ? 0 : static_cast<int>(Round(wall->StartPosition() * depth * 0.01));
  const int z1 =
      wall->EndPosition() == 100 ? depth : depth - static_cast<int>(Round((100 - wall->EndPosition()) * depth * 0.01));
  int left = cr.Left;
  if (LeftWall()->Visible() && LeftWall()->AutoHide() && SideFacesViewer(cr.Left)) left -= LeftWall()->Size();
  const int y = cr.Bottom + (full3D ? 1 : 0);
  TKelBlend* blend = wall->StartTransparency({canvas->Project3D(left, y, z0), canvas->Project3D(left, y, z1),
                                              canvas->Project3D(cr.Right, y, z1), canvas->Project3D(cr.Right, y, z0)});
  ApplyWallPenAndBrush(wall);
  if (wall->Size() < 1)
    canvas->PlaneAtY(left, y, cr.Right, z0, z1);
  else
    canvas->DrawBox3D(left, cr.Right, y, y + wall->Size(), z0, z1, wall->UsesDarkSides());
  canvas->BrushGradient()->SetVisible(false);
  if (TGraphic* picture = wall->PictureGraphic())
    canvas->DrawBitmap3D(TRect(left, z0, cr.Right, z1), picture, y, 1);
  wall->FinishTransparency(blend);
}

void TCustomChart::PaintWallsInFront() {
  TCanvas3D* canvas = Canvas3D();
  if (canvas->SupportsFull3D() || !View3D() || !AxesInUse()) return;
  const TRect& cr = ChartBounds();
  if (!SideFacesViewer(cr.Right) && walls_->HasRight() && walls_->Right()->IsDrawable()) {
    PaintSideWall(true);
    if (RightAxis()->VisibleNow) RightAxis()->PaintAxis(false);
  }
  if (SideFacesViewer(cr.Left) && LeftWall()->IsDrawable()) {
    PaintSideWall(false);
    if (LeftAxis()->VisibleNow) LeftAxis()->PaintAxis(false);
  }
  // Seen from behind: the back plane is in front, so its axes and wall come last.
  if (IsDepthPlaneFacing(ChartDepthPixels())) {
    if (TopAxis()->VisibleNow) TopAxis()->PaintAxis(false);
    if (BottomAxis()->VisibleNow) BottomAxis()->PaintAxis(false);
    if (BackWall()->IsDrawable()) PaintBackWall();
  }
  canvas->BrushGradient()->SetVisible(false);
}

void TCustomChart::PaintWalls() {
  if (!AxesInUse()) return;
  TCanvas3D* canvas = Canvas3D();
  Element element(canvas, "Walls");
  const bool full3D = canvas->SupportsFull3D();
  const TRect& cr = ChartBounds();
  if (View3D() && View3DWalls() && walls_->HasRight() && walls_->Right()->Visible() &&
      (full3D || SideFacesViewer(cr.Right)))
    PaintSideWall(true);
  // Seen from behind, the back wall stands in front of the series: drawn after them.
  if (View3DWalls() && BackWall()->Visible() && (full3D || !View3D() || !IsDepthPlaneFacing(ChartDepthPixels())))
    PaintBackWall();
  if (View3D() && View3DWalls()) {
    if (LeftWall()->Visible() && (full3D || !SideFacesViewer(cr.Left))) PaintSideWall(false);
    if (BottomWall()->Visible()) PaintBottomWall();
    // The axes pass skipped the bottom axis (its plane faces away); it stands on the walls.
    if (!full3D && IsDepthPlaneFacing(0)) {
      canvas->BrushGradient()->SetVisible(false);
      if (TopAxis()->VisibleNow) TopAxis()->PaintAxis(false);
      if (BottomAxis()->VisibleNow) BottomAxis()->PaintAxis(false);
    }
  }
  canvas->BrushGradient()->SetVisible(false);
}

// ---- Titles and legend ------------------------------------------------------------------------

void TCustomChart::DrawTitles(bool customPass) {
  TChartTitle* titles[4] = {title_.get(), subTitle_.get(), foot_.get(), subFoot_.get()};
  const char* names[4] = {"Title", "Subtitle", "Foot", "Subfoot"};
  TCanvas3D* canvas = Canvas3D();
  bool opened = false;
  for (int i = 0; i < 4; ++i) {
    TChartTitle* t = titles[i];
    if (t == nullptr || t->CustomPosition() != customPass || !t->HasText()) continue;
    if (!opened) {
      canvas->BeginElement("Titles", 0, nullptr);
      opened = true;
    }
    Element e(canvas, names[i]);
    t->DrawTitle();
  }
  if (opened) canvas->EndElement();
}

void TCustomChart::PaintTitlesAndLegend(bool before) {
  PaintFlatParts(before);
  // Walls facing the viewer stand in front of the series, in the turned view.
  if (!before) PaintWallsInFront();
}

void TCustomChart::PaintFlatParts(bool before) {
  TCanvas3D* canvas = Canvas3D();
  canvas->SuspendRotation();
  struct Resume {
    TCanvas3D* canvas;
    ~Resume() { canvas->ResumeRotation(); }
  } resume{canvas};
  const bool legend = legend_->ShouldDraw();
  if (before) {
    if (!legend) {
      DrawTitles(false);
    } else if (legend_->IsSideLegend()) {
      legend_->CalcLayout();
      if (legend_->DrawBehind()) legend_->Draw();
      DrawTitles(false);
    } else {
      DrawTitles(false);
      legend_->CalcLayout();
      if (legend_->DrawBehind()) legend_->Draw();
    }
    return;
  }
  if (legend && !legend_->DrawBehind()) legend_->Draw();
  DrawTitles(true);
}

std::string TCustomChart::LegendTextFor(TChartSeries* series, int index) {
  if (series == nullptr || index == -1) return {};
  std::string text = series->LegendText(legend_->TextStyle(), index);
  std::replace(text.begin(), text.end(), '\r', ' ');
  return text;
}

void TCustomChart::PaintLegendSymbolShape(const TRect& rect, TGraphic* graphic) {
  TCanvas3D* canvas = Canvas3D();
  if (canvas == nullptr) return;
  if (graphic != nullptr && legend_->Symbol()->UseImages())
    canvas->DrawGraphicStretched(rect, graphic);
  else
    legend_->Symbol()->Draw(canvas->Brush()->Color(), rect);
}

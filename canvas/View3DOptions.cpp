// TView3DOptions (see View3DOptions.h).
#include "canvas/View3DOptions.h"

#include <cmath>
#include <numbers>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/ui/Control.h"

const TEnumInfo& EnumTypeInfo(TCanvasZoomText) {
  static const TEnumInfo info("TCanvasZoomText", {"ztManual", "ztNo", "ztAuto"});
  return info;
}

const TClassInfo& TView3DOptions::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TView3DOptions>("TView3DOptions", &TPersistent::StaticClass())
          .Property("Elevation", &TView3DOptions::Elevation, &TView3DOptions::SetElevation)
          .Default(345)
          .Property("FontZoom", &TView3DOptions::FontZoom, &TView3DOptions::SetFontZoom)
          .Default(100)
          .Property("HorizOffset", &TView3DOptions::HorizOffset, &TView3DOptions::SetHorizOffset)
          .Default(0)
          .Property("OrthoAngle", &TView3DOptions::OrthoAngle, &TView3DOptions::SetOrthoAngle)
          .Default(45)
          .Property("Orthogonal", &TView3DOptions::Orthogonal, &TView3DOptions::SetOrthogonal)
          .Default(true)
          .Property("Perspective", &TView3DOptions::Perspective, &TView3DOptions::SetPerspective)
          .Default(15)
          .Property("Rotation", &TView3DOptions::Rotation, &TView3DOptions::SetRotation)
          .Default(345)
          .Property("Tilt", &TView3DOptions::Tilt, &TView3DOptions::SetTilt)
          .Default(0)
          .Property("VertOffset", &TView3DOptions::VertOffset, &TView3DOptions::SetVertOffset)
          .Default(0)
          .Property("Zoom", &TView3DOptions::Zoom, &TView3DOptions::SetZoom)
          .Default(100)
          .Property("ZoomText", &TView3DOptions::ZoomText, &TView3DOptions::SetZoomText)
          .Default(ztManual)
          .Build();
  return info;
}

void TView3DOptions::Assign(TPersistent* source) {
  auto* o = dynamic_cast<TView3DOptions*>(source);
  if (o == nullptr || o == this) return;
  elevation_ = o->elevation_;
  fontZoom_ = o->fontZoom_;
  horizOffset_ = o->horizOffset_;
  orthoAngle_ = o->orthoAngle_;
  orthogonal_ = o->orthogonal_;
  perspective_ = o->perspective_;
  rotation_ = o->rotation_;
  tilt_ = o->tilt_;
  vertOffset_ = o->vertOffset_;
  zoom_ = o->zoom_;
  zoomText_ = o->zoomText_;
}

int TView3DOptions::Elevation() const { return static_cast<int>(Round(elevation_)); }
int TView3DOptions::Rotation() const { return static_cast<int>(Round(rotation_)); }
int TView3DOptions::Tilt() const { return static_cast<int>(Round(tilt_)); }
int TView3DOptions::Zoom() const { return static_cast<int>(Round(zoom_)); }
int TView3DOptions::HorizOffset() const { return static_cast<int>(Round(horizOffset_)); }
int TView3DOptions::VertOffset() const { return static_cast<int>(Round(vertOffset_)); }

void TView3DOptions::ChangeElevationFloat(double value) {
  if (value == elevation_) return;
  elevation_ = value;
  Repaint();
}

void TView3DOptions::ChangeRotationFloat(double value) {
  if (value == rotation_) return;
  rotation_ = value;
  Repaint();
}

void TView3DOptions::ChangeTiltFloat(double value) {
  if (value == tilt_) return;
  tilt_ = value;
  Repaint();
}

void TView3DOptions::ChangeHorizOffsetFloat(double value) {
  if (value == horizOffset_) return;
  horizOffset_ = value;
  Repaint();
  if (ScrolledCallback) ScrolledCallback(true);
}

void TView3DOptions::ChangeVertOffsetFloat(double value) {
  if (value == vertOffset_) return;
  vertOffset_ = value;
  Repaint();
  if (ScrolledCallback) ScrolledCallback(false);
}

void TView3DOptions::ChangeZoomFloat(double value) {
  if (value == zoom_) return;
  if (ZoomChangedCallback) ZoomChangedCallback(static_cast<int>(Round(value)));
  zoom_ = value;
  Repaint();
}

void TView3DOptions::SetPerspective(int value) {
  const int stored = value > 100 ? 100 : value;
  if (stored == perspective_) return;
  perspective_ = stored;
  Repaint();
}

void TView3DOptions::SetOrthogonal(bool value) {
  if (value == orthogonal_) return;
  orthogonal_ = value;
  Repaint();
}

void TView3DOptions::SetOrthoAngle(int value) {
  if (value == orthoAngle_) return;
  orthoAngle_ = value;
  Repaint();
}

void TView3DOptions::SetFontZoom(int value) {
  if (value == fontZoom_) return;
  fontZoom_ = value;
  Repaint();
}

void TView3DOptions::SetZoomText(TCanvasZoomText value) {
  if (value == zoomText_) return;
  zoomText_ = value;
  Repaint();
}

double TView3DOptions::OrthoAngleTangent() const {
  if (!orthogonal_) return 1.0;
  const int a = orthoAngle_ > 90 ? 180 - orthoAngle_ : orthoAngle_;
  return std::tan(a * std::numbers::pi / 180.0);
}

void TView3DOptions::Repaint() {
  if (panel_ != nullptr) panel_->Invalidate();
}

// TView3DOptions: the 3D view settings of a chart panel that the canvas projection reads
// (angles, perspective, zoom, offsets, orthogonal mode and text zoom). Setters repaint the
// owning panel; zoom and offset changes also tell the owner through its callbacks.
#pragma once

#include <functional>

#include "toolkit/classes/Persistent.h"

class TEnumInfo;
class TControl;

enum TCanvasZoomText { ztManual, ztNo, ztAuto };
const TEnumInfo& EnumTypeInfo(TCanvasZoomText);

class TView3DOptions : public TPersistent {
 public:
  // `panel` is invalidated by Repaint (may be null).
  explicit TView3DOptions(TControl* panel = nullptr) : panel_(panel) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // From another TView3DOptions: the settings (not the panel or callbacks), without repainting;
  // any other source is ignored.
  void Assign(TPersistent* source) override;

  int Elevation() const;
  void SetElevation(int value) { ChangeElevationFloat(value); }
  void ChangeElevationFloat(double value);
  int Rotation() const;
  void SetRotation(int value) { ChangeRotationFloat(value); }
  void ChangeRotationFloat(double value);
  int Tilt() const;
  void SetTilt(int value) { ChangeTiltFloat(value); }
  void ChangeTiltFloat(double value);
  int Perspective() const { return perspective_; }
  // Values above 100 are stored as 100.
  void SetPerspective(int value);
  int Zoom() const;
  double ZoomFloat() const { return zoom_; }
  void SetZoom(int value) { ChangeZoomFloat(value); }
  // When different: ZoomChangedCallback with the rounded value, then store and repaint.
  void ChangeZoomFloat(double value);
  int HorizOffset() const;
  void SetHorizOffset(int value) { ChangeHorizOffsetFloat(value); }
  void ChangeHorizOffsetFloat(double value);
  int VertOffset() const;
  void SetVertOffset(int value) { ChangeVertOffsetFloat(value); }
  void ChangeVertOffsetFloat(double value);
  double ElevationFloat() const { return elevation_; }
  double RotationFloat() const { return rotation_; }
  double TiltFloat() const { return tilt_; }
  double HorizOffsetFloat() const { return horizOffset_; }
  double VertOffsetFloat() const { return vertOffset_; }
  bool Orthogonal() const { return orthogonal_; }
  void SetOrthogonal(bool value);
  int OrthoAngle() const { return orthoAngle_; }
  void SetOrthoAngle(int value);
  int FontZoom() const { return fontZoom_; }
  void SetFontZoom(int value);
  TCanvasZoomText ZoomText() const { return zoomText_; }
  void SetZoomText(TCanvasZoomText value);

  // 1.0 when not orthogonal, otherwise tan(OrthoAngle) (of 180 - OrthoAngle above 90).
  double OrthoAngleTangent() const;
  // Invalidates the owning panel.
  void Repaint();

  TControl* Panel() const { return panel_; }
  std::function<void(int zoom)> ZoomChangedCallback;
  std::function<void(bool horizontal)> ScrolledCallback;

 private:
  TControl* panel_;
  double elevation_ = 345;
  double rotation_ = 345;
  double tilt_ = 0;
  int perspective_ = 15;
  double zoom_ = 100;
  double horizOffset_ = 0;
  double vertOffset_ = 0;
  bool orthogonal_ = true;
  int orthoAngle_ = 45;
  int fontZoom_ = 100;
  TCanvasZoomText zoomText_ = ztManual;
};

// TCustomKelPanelExtended: the chart panel's background (fill, shadow, emboss, border pen,
// gradient, bevels) and the settings of mouse zoom and panning (TKelZoom); the mouse handling
// that uses them belongs to the chart. The gradient is created on first use.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "canvas/KelBrush.h"
#include "canvas/KelPen.h"
#include "chart/BackImage.h"
#include "chart/KelPanel.h"

class TKelGradient;

enum TPanningMode { pmNone, pmHorizontal, pmVertical, pmBoth };
enum TKelZoomDirection { tzdHorizontal, tzdVertical, tzdBoth };
const TEnumInfo& EnumTypeInfo(TPanningMode);
const TEnumInfo& EnumTypeInfo(TKelZoomDirection);

// One entry of the zoom history: minimum and maximum of the left, top, right and bottom axes,
// and of every other (non-depth) axis of the panel in list order.
struct TZoomSnapshot {
  double Values[8] = {};
  std::vector<std::array<double, 2>> CustomAxes;
};
// The zoom history, oldest first.
using TZoomSnapshots = std::vector<TZoomSnapshot>;

// The zoom rectangle's pen (colour $C0C0C0, width 3) and brush (white, clear), those values
// being the ones not written to layouts.
class TKelZoomPen : public TKelPen {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TKelZoomPen(TNotifyEvent onChange = nullptr);
};

class TKelZoomBrush : public TKelBrush {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TKelZoomBrush(TNotifyEvent onChange = nullptr);
};

class TKelZoom : public TZoomPanning {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  TKelZoom();
  ~TKelZoom() override;
  void Assign(TPersistent* source) override;

  bool Allow = true;
  bool Animated = false;
  int AnimatedSteps = 8;
  TKelZoomDirection Direction = tzdBoth;
  bool FullRepaint = false;
  bool KeepAspectRatio = false;
  int MinimumPixels = 16;
  TMouseButton MouseButton = mbLeft;
  TMouseWheelStyle MouseWheel = pmwNone;
  bool UpLeftZooms = false;
  // The keys that must be down for a drag to zoom (none: any).
  TShiftState KeyShift;
  bool History() const { return history_; }
  // Turning the history off forgets every snapshot.
  void SetHistory(bool value);
  // The zoom history, oldest first; it grows only while History is on.
  TZoomSnapshots& Snapshots() { return snapshots_; }
  const TZoomSnapshots& Snapshots() const { return snapshots_; }
  // Created on first use: colour $C0C0C0 width 3; white, clear. Null frees (the next read
  // makes a fresh default one), another pen or brush is copied.
  TKelZoomPen* Pen();
  TKelZoomBrush* Brush();
  void SetPen(TKelPen* value);
  void SetBrush(TKelBrush* value);
  bool HasPen() const { return pen_ != nullptr; }
  bool HasBrush() const { return brush_ != nullptr; }
  // The drag end point for KeepAspectRatio on the chart rectangle.
  void ApplyAspectRatio(const TRect& chartRect, int x, int y);

 private:
  bool history_ = false;
  TZoomSnapshots snapshots_;
  std::unique_ptr<TKelZoomPen> pen_;
  std::unique_ptr<TKelZoomBrush> brush_;
};

class TCustomKelPanelExtended : public TCustomKelPanel {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TCustomKelPanelExtended(TComponent* owner);
  ~TCustomKelPanelExtended() override;

  // Created on first use; null frees it, another gradient is copied in.
  TKelGradient* Gradient();
  bool HasGradient() const { return gradient_ != nullptr; }
  void SetGradient(TKelGradient* value);
  TKelZoom* Zoom() const { return zoom_.get(); }
  // Always copied into the panel's own zoom.
  void SetZoom(TKelZoom* value);
  // Through the back image: without a graphic Inside and Transp read False (and Transp is
  // not kept); reading Mode makes the image.
  bool BackImageInside() const { return backImage_ && backImage_->HasGraphic() && backImage_->Inside(); }
  void SetBackImageInside(bool value);
  TKelBackImageMode BackImageMode() { return BackImage()->Mode(); }
  void SetBackImageMode(TKelBackImageMode value);
  bool BackImageTransp() const;
  void SetBackImageTransp(bool value);
  // The back image, created on first use (its change repaints the panel); setting null frees
  // it and repaints, another image is copied.
  TBackImage* BackImage();
  bool HasBackImage() const { return backImage_ != nullptr; }
  void SetBackImage(TBackImage* value);
  // The panel's colour palette: the back image's bitmap palette when the back image holds a
  // bitmap with one (owned by that bitmap), else null.
  HPALETTE GetPalette() override;
  // Without a parent control: the window context of the owner when that is a windowed control
  // (its window in `window`), else that of `window` as given; with one, the toolkit's.
  HDC GetDeviceContext(HWND& window) override;
  // Paints the back image into r: flat at depth 0; at another depth projected there
  // (orthogonal view) or laid on the plane at that depth (turned view), clipped to the box of
  // r for the modes that do not stretch. The stretch quality is the image's while it draws.
  void DrawBackImage(const TRect& r, int depth);
  // The same for another picture with the back image's settings (a wall's, a shape's).
  void DrawBackImageOf(TBackImage* image, const TRect& r, int depth);
  // A shape's fill picture, drawn as a back image at depth z.
  void DrawShapePicture(TBackImage* picture, const TRect& r, int z) override;
  TPanningMode AllowPanning() const { return allowPanning_; }
  void SetAllowPanning(TPanningMode value) { allowPanning_ = value; }
  TMouseButton ScrollMouseButton() const { return scrollMouseButton_; }
  void SetScrollMouseButton(TMouseButton value) { scrollMouseButton_ = value; }
  TMouseWheelStyle ZoomWheel() const { return zoomWheel_; }
  void SetZoomWheel(TMouseWheelStyle value) { zoomWheel_ = value; }

  // From another extended panel: back image, gradient, panning, scroll and wheel settings and
  // zoom, then the panel part.
  void Assign(TPersistent* source) override;
  // The legacy entries "AllowZoom", "AnimatedZoom" and "AnimatedZoomSteps" (read only).
  void DefineProperties(TFiler& filer) override;
  // The gradient's start colour when the gradient is visible, else the panel colour.
  TColor BackgroundColor() override;
  virtual void PaintPanelBackground(const TRect& r);
  virtual void PaintFrameAndGradient(const TRect& r);
  // Fill, shadow, emboss, frame and gradient, back image and bevels: the background itself.
  void PaintBackgroundLayer(const TRect& r);
  // The toolkit's bevels: outer bevel, BorderWidth frame, inner bevel, inside the border pen.
  void PaintBevels(TRect r);
  // How far the border pen reaches inside a rectangle; moves r's edges in for a wide pen.
  int BorderInset(TRect& r) const;
  // Draws the zoom rectangle (X0, Y0, X1, Y1). Without FullRepaint on a canvas that draws
  // straight to the window it is drawn in exclusive-or, so a second call removes it again;
  // otherwise with the zoom pen, over a fresh paint.
  void DrawZoomRectangle();
  // Shows the rectangle's change at once: drawn directly (exclusive-or) when the canvas can and
  // FullRepaint is off, else by a repaint, whose last step draws the rectangle.
  void RedrawZoomRectangle();
  // The canvas pen for drawing the zoom rectangle in not-xor: on the background colour it
  // shows the zoom pen's colour, and a second drawing takes it away again.
  void PrepareXorPen();

 private:
  TPanningMode allowPanning_ = pmBoth;
  std::unique_ptr<TKelGradient> gradient_;
  TMouseButton scrollMouseButton_ = mbRight;
  std::unique_ptr<TKelZoom> zoom_;
  std::unique_ptr<TBackImage> backImage_;
  TMouseWheelStyle zoomWheel_ = pmwNone;
};

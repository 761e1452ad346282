// Owning wrappers of GDI+ objects and the process's GDI+ start-up and shut-down. Each wrapper
// holds one native handle and the last status of its calls: a call that fails keeps its status
// (an Ok call leaves the last status as it was; creation stores whatever it got) and nothing is
// raised here. Wrappers are ordinary C++ objects; one released after StopGdiPlus (or made
// before a later start) drops its handle without calling into the library, which may be gone.
#pragma once

#include <cstdint>

#include "canvas/KelGDIPAPI.h"

// One GdiplusStartup per process; does nothing while GDI+ is started or when the library or an
// entry the canvas needs is missing (the token then stays 0, and a later call tries again).
void StartGdiPlus();
// Shuts GDI+ down (when started) and unloads the library.
void StopGdiPlus();
bool GdiPlusStarted();
// How often GdiplusStartup has been called in this process.
int GdiPlusStartupCalls();

class TGdiplusBase {
 public:
  TGdiplusBase();
  virtual ~TGdiplusBase() = default;
  TGdiplusBase(const TGdiplusBase&) = delete;
  TGdiplusBase& operator=(const TGdiplusBase&) = delete;

  TGpStatus LastStatus() const { return status_; }
  // The last status, cleared to Ok.
  TGpStatus TakeLastStatus();

 protected:
  TGpStatus Record(TGpStatus status) {
    if (status != GpOk) status_ = status;
    return status;
  }
  // True while the GDI+ session this wrapper was made in is still running.
  bool Live() const;

  TGpStatus status_ = GpOk;

 private:
  std::uint32_t session_;
};

class TGPMatrix;
class TGPPen;
class TGPBrush;
class TGPGraphicsPath;
class TGPRegion;
class TGPImage;

class TGPGraphics : public TGdiplusBase {
 public:
  explicit TGPGraphics(HDC dc);
  ~TGPGraphics() override;
  gp::Graphics* Native() const { return native_; }

  // The device context under the graphics (given back with ReleaseHDC); nullptr on failure.
  HDC GetHDC();
  void ReleaseHDC(HDC dc);
  TGpStatus SetTextRenderingHint(int hint);
  TGpStatus SetInterpolationMode(int mode);
  TGpStatus SetSmoothingMode(int mode);
  TGpStatus SetPixelOffsetMode(int mode);
  TGpStatus SetPageUnit(int unit);
  TGpStatus Clear(TArgb color);
  TGpStatus SetTransform(TGPMatrix* matrix);
  TGpStatus ResetTransform();
  TGpStatus TranslateTransform(float dx, float dy, int order = 0);
  TGpStatus ScaleTransform(float sx, float sy, int order = 0);
  TGpStatus RotateTransform(float angle, int order = 0);
  TGpStatus GetTransform(TGPMatrix* matrix);
  TGpStatus SetClip(const TGPRectF& rect, int mode);
  TGpStatus SetClip(const TGPRect& rect, int mode = 1);
  TGpStatus SetClip(TGPGraphicsPath* path, int mode);
  TGpStatus SetClip(TGPRegion* region, int mode = 1);
  TGpStatus ResetClip();
  TGpStatus GetClip(TGPRegion* region);
  TGpStatus GetVisibleClipBounds(TGPRectF& rect);

  TGpStatus DrawLine(TGPPen* pen, float x0, float y0, float x1, float y1);
  TGpStatus DrawLine(TGPPen* pen, int x0, int y0, int x1, int y1);
  TGpStatus DrawLines(TGPPen* pen, const TGPPointF* points, int count);
  TGpStatus DrawLines(TGPPen* pen, const TPoint* points, int count);
  TGpStatus DrawArc(TGPPen* pen, int x, int y, int width, int height, float start, float sweep);
  TGpStatus DrawRectangle(TGPPen* pen, int x, int y, int width, int height);
  TGpStatus DrawEllipse(TGPPen* pen, int x, int y, int width, int height);
  TGpStatus DrawPie(TGPPen* pen, int x, int y, int width, int height, float start, float sweep);
  TGpStatus DrawPolygon(TGPPen* pen, const TGPPointF* points, int count);
  TGpStatus DrawPolygon(TGPPen* pen, const TPoint* points, int count);
  TGpStatus DrawPath(TGPPen* pen, TGPGraphicsPath* path);
  TGpStatus DrawCurve(TGPPen* pen, const TPoint* points, int count, float tension);
  TGpStatus DrawClosedCurve(TGPPen* pen, const TPoint* points, int count, float tension);
  TGpStatus FillRectangle(TGPBrush* brush, float x, float y, float width, float height);
  TGpStatus FillRectangle(TGPBrush* brush, int x, int y, int width, int height);
  TGpStatus FillPolygon(TGPBrush* brush, const TGPPointF* points, int count, int fillMode = 0);
  TGpStatus FillPolygon(TGPBrush* brush, const TPoint* points, int count, int fillMode = 0);
  TGpStatus FillEllipse(TGPBrush* brush, float x, float y, float width, float height);
  TGpStatus FillEllipse(TGPBrush* brush, int x, int y, int width, int height);
  TGpStatus FillPie(TGPBrush* brush, int x, int y, int width, int height, float start, float sweep);
  TGpStatus FillPath(TGPBrush* brush, TGPGraphicsPath* path);
  TGpStatus FillClosedCurve(TGPBrush* brush, const TPoint* points, int count, float tension, int fillMode = 0);
  TGpStatus DrawImage(TGPImage* image, int x, int y, int width, int height);

 private:
  gp::Graphics* native_ = nullptr;
};

class TGPPen : public TGdiplusBase {
 public:
  TGPPen(TArgb color, float width, int unit = 0);
  ~TGPPen() override;
  gp::Pen* Native() const { return native_; }
  TGpStatus SetWidth(float width);
  TGpStatus SetLineCap(int startCap, int endCap, int dashCap);
  TGpStatus SetLineJoin(int join);
  TGpStatus SetColor(TArgb color);
  TGpStatus SetBrush(TGPBrush* brush);
  TGpStatus SetDashStyle(int style);

 private:
  gp::Pen* native_ = nullptr;
};

class TGPBrush : public TGdiplusBase {
 public:
  ~TGPBrush() override;
  gp::Brush* Native() const { return native_; }
  // A copy of the brush carrying this brush's last status; nullptr when GDI+ made none.
  virtual TGPBrush* Clone();

 protected:
  TGPBrush() = default;
  gp::Brush* native_ = nullptr;
};

class TGPSolidBrush : public TGPBrush {
 public:
  explicit TGPSolidBrush(TArgb color);
};

class TGPHatchBrush : public TGPBrush {
 public:
  TGPHatchBrush(int style, TArgb foreColor, TArgb backColor);
};

class TGPGraphicsPath : public TGdiplusBase {
 public:
  explicit TGPGraphicsPath(int fillMode = 0);
  ~TGPGraphicsPath() override;
  gp::Path* Native() const { return native_; }
  TGpStatus Reset();
  TGpStatus CloseFigure();
  TGpStatus AddLines(const TPoint* points, int count);
  TGpStatus AddArc(int x, int y, int width, int height, float start, float sweep);
  TGpStatus AddArc(float x, float y, float width, float height, float start, float sweep);
  TGpStatus AddRectangle(const TGPRectF& rect);
  TGpStatus AddEllipse(float x, float y, float width, float height);
  TGpStatus AddEllipse(int x, int y, int width, int height);
  TGpStatus AddPie(int x, int y, int width, int height, float start, float sweep);
  TGpStatus AddPolygon(const TGPPointF* points, int count);
  TGpStatus GetBounds(TGPRectF& bounds);

 private:
  gp::Path* native_ = nullptr;
};

class TGPRegion : public TGdiplusBase {
 public:
  // An infinite region.
  TGPRegion();
  explicit TGPRegion(HRGN region);
  ~TGPRegion() override;
  gp::Region* Native() const { return native_; }

 private:
  gp::Region* native_ = nullptr;
};

class TGPMatrix : public TGdiplusBase {
 public:
  TGPMatrix();
  ~TGPMatrix() override;
  gp::Matrix* Native() const { return native_; }
  // m11, m12, m21, m22, dx, dy.
  TGpStatus GetElements(float (&elements)[6]);
  // Rotation by `angle` degrees about `centre`, prepended (order 0) or appended (order 1).
  TGpStatus RotateAt(float angle, TGPPointF centre, int order = 0);

 private:
  gp::Matrix* native_ = nullptr;
};

class TGPImage : public TGdiplusBase {
 public:
  ~TGPImage() override;
  gp::Image* Native() const { return native_; }
  unsigned Width();
  unsigned Height();

 protected:
  TGPImage() = default;
  gp::Image* native_ = nullptr;
};

class TGPBitmap : public TGPImage {
 public:
  TGPBitmap(HBITMAP bitmap, HPALETTE palette);
  TGPBitmap(int width, int height, int pixelFormat);
  TGpStatus SetPixel(int x, int y, TArgb color);
};

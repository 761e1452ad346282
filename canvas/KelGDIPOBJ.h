// Owning wrappers of GDI+ objects and the process's GDI+ start-up and shut-down. Each wrapper
// holds one native handle and the last status of its calls: a call that fails keeps its status
// (an Ok call leaves the last status as it was; creation stores whatever it got) and nothing is
// raised here. Wrappers are ordinary C++ objects; one released after StopGdiPlus (or made
// before a later start) drops its handle without calling into the library, which may be gone.
#pragma once

#include <cstdint>
#include <string>

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
class TGPImageAttributes;
class TGPFont;
class TGPFontFamily;
class TGPFontCollection;
class TGPStringFormat;

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
  TGpStatus MultiplyTransform(const TGPMatrix* matrix, int order = 0);
  int GetTextRenderingHint();
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
  TGpStatus DrawImage(TGPImage* image, int x, int y);
  TGpStatus DrawImage(TGPImage* image, int x, int y, int width, int height);
  // Source rectangle of the image into the destination rectangle, in `unit`, through
  // `attributes` (may be null).
  TGpStatus DrawImage(TGPImage* image, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                      int srcHeight, int unit, TGPImageAttributes* attributes);
  // The text at `origin` (an unbounded layout rectangle), without a string format.
  TGpStatus DrawString(const std::wstring& text, TGPFont* font, TGPPointF origin, TGPBrush* brush);
  TGpStatus MeasureString(const std::wstring& text, TGPFont* font, TGPPointF origin, TGPStringFormat* format,
                          TGPRectF& bounds);
  float GetDpiY();
  TGpStatus DrawLineStatus(TGPPen* pen, float x0, float y0, float x1, float y1);

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

class TGPTextureBrush : public TGPBrush {
 public:
  TGPTextureBrush(TGPImage* image, int wrapMode);
  TGPTextureBrush(TGPImage* image, TGPImageAttributes* attributes, float x, float y, float width, float height);
  TGpStatus SetWrapMode(int mode);
};

class TGPLinearGradientBrush : public TGPBrush {
 public:
  // Wrapped with WrapModeTile.
  TGPLinearGradientBrush(const TGPRectF& rect, TArgb color1, TArgb color2, int mode);
  TGPLinearGradientBrush(const TGPRectF& rect, TArgb color1, TArgb color2, float angle, bool scalable);
  // Invalid Parameter, without a call, for no colours.
  TGpStatus SetPresetBlend(const TArgb* colors, const float* positions, int count);
};

class TGPPathGradientBrush : public TGPBrush {
 public:
  explicit TGPPathGradientBrush(TGPGraphicsPath* path);
  TGpStatus GetCenterPoint(TPoint& point);
  TGpStatus SetCenterPoint(const TGPPointF& point);
  TGpStatus SetCenterPoint(const TPoint& point);
  TGpStatus SetPresetBlend(const TArgb* colors, const float* positions, int count);
  TGpStatus SetCenterColor(TArgb color);
  TGpStatus GetCenterColor(TArgb& color);
  // One surround colour for every point of the boundary.
  TGpStatus SetSurroundColor(TArgb color);
};

class TGPGraphicsPath : public TGdiplusBase {
 public:
  explicit TGPGraphicsPath(int fillMode = 0);
  // A path of `count` points with their GDI+ point types.
  TGPGraphicsPath(const TGPPointF* points, const BYTE* types, int count, int fillMode = 0);
  ~TGPGraphicsPath() override;
  gp::Path* Native() const { return native_; }
  TGpStatus Reset();
  TGpStatus CloseFigure();
  TGpStatus AddLine(float x0, float y0, float x1, float y1);
  TGpStatus AddLines(const TPoint* points, int count);
  TGpStatus AddCurve(const TPoint* points, int count, float tension);
  TGpStatus AddClosedCurve(const TPoint* points, int count, float tension);
  TGpStatus AddString(const std::wstring& text, TGPFontFamily* family, int style, float emSize, TGPPointF origin,
                      TGPStringFormat* format);
  int GetPointCount();
  TGpStatus GetPathTypes(BYTE* types, int count);
  TGpStatus GetPathPoints(TGPPointF* points, int count);
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

class TGPMetafile : public TGPImage {
 public:
  TGPMetafile(HENHMETAFILE metafile, bool deleteMetafile);
};

class TGPImageAttributes : public TGdiplusBase {
 public:
  TGPImageAttributes();
  ~TGPImageAttributes() override;
  gp::ImageAttributes* Native() const { return native_; }
  // A 5 × 5 colour matrix (row by row) for `adjustType`, enabled, without a grey matrix.
  TGpStatus SetColorMatrix(const float (&matrix)[25], int adjustType = 1, int flags = 0);

 private:
  gp::ImageAttributes* native_ = nullptr;
};

class TGPStringFormat : public TGdiplusBase {
 public:
  explicit TGPStringFormat(int flags = 0, LANGID language = 0);
  ~TGPStringFormat() override;
  gp::StringFormat* Native() const { return native_; }

 private:
  friend TGPStringFormat* GenericTypographicFormat();
  struct Adopt {};
  explicit TGPStringFormat(Adopt) {}
  gp::StringFormat* native_ = nullptr;
};

class TGPFontFamily : public TGdiplusBase {
 public:
  // No family (handle none), to be filled by TGPFont::GetFamily or a family list.
  TGPFontFamily() = default;
  explicit TGPFontFamily(const std::wstring& name, TGPFontCollection* collection = nullptr);
  ~TGPFontFamily() override;
  gp::FontFamily* Native() const { return native_; }
  std::wstring GetFamilyName(LANGID language = 0);

 private:
  friend class TGPFont;
  friend class TGPFontCollection;
  friend TGPFontFamily* GenericSansSerifFamily();
  void Replace(gp::FontFamily* native);
  gp::FontFamily* native_ = nullptr;
};

class TGPFont : public TGdiplusBase {
 public:
  TGPFont(TGPFontFamily* family, float size, int style, int unit);
  // From a family name; a family the system lacks gives the generic sans-serif font, and when
  // GDI+ has no generic family either (or cannot make a font of either), the font of the face
  // the platform's font mapper substitutes for the name (MappedFontFace), as GDI text gets it.
  // With none of them the font has no handle and keeps the failing status.
  TGPFont(const std::wstring& name, float size, int style, int unit, TGPFontCollection* collection = nullptr);
  ~TGPFont() override;
  gp::Font* Native() const { return native_; }
  int GetStyle();
  float GetSize();
  TGpStatus GetFamily(TGPFontFamily* family);

 private:
  gp::Font* native_ = nullptr;
};

class TGPFontCollection : public TGdiplusBase {
 public:
  ~TGPFontCollection() override = default;
  gp::FontCollection* Native() const { return native_; }
  int GetFamilyCount();
  // Fills families[0..count-1] (made by the caller) with clones of the collection's families;
  // `found` tells how many.
  TGpStatus GetFamilies(int count, TGPFontFamily** families, int& found);

 protected:
  TGPFontCollection() = default;
  gp::FontCollection* native_ = nullptr;
};

class TGPPrivateFontCollection : public TGPFontCollection {
 public:
  TGPPrivateFontCollection();
  ~TGPPrivateFontCollection() override;
  TGpStatus AddMemoryFont(const void* memory, int length);
};

// Made on first request and kept until StopGdiPlus; their creation status is kept in them.
// The generic family is asked of the current family look-up (below).
TGPFontFamily* GenericSansSerifFamily();

// Where fonts find their families: GDI+'s own look-ups, unless a test plays a system that lacks
// some. Each answers a GDI+ status and, on Ok, a family handle the caller owns.
class TGPFontFamilyLookup {
 public:
  virtual ~TGPFontFamilyLookup() = default;
  virtual TGpStatus FromName(const std::wstring& name, gp::FontCollection* collection, gp::FontFamily** family);
  virtual TGpStatus GenericSansSerif(gp::FontFamily** family);
};
// Installs `lookup` (not owned; null: GDI+'s own) and drops the cached generic family so the
// next request asks the new one; answers the look-up it replaces (null for GDI+'s own).
TGPFontFamilyLookup* SetFontFamilyLookup(TGPFontFamilyLookup* lookup);
// The face GDI draws a font named `name` with `style` (bold 1, italic 2) in: what the
// platform's font mapper chose, read back with GetTextFace. Empty when GDI makes no font.
std::wstring MappedFontFace(const std::wstring& name, int style);
TGPStringFormat* GenericTypographicFormat();

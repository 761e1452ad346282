// TCanvas: drawing over a device context with the toolkit's pen, brush and font. The canvas
// selects its objects into the DC only when a drawing call needs them (RequiredState) and
// deselects an object as soon as it changes, so a changed attribute always reaches the next
// call and a GDI object is never deleted while selected. Descendants that own their DC (the
// bitmap canvas, the control canvas) make it in CreateHandle and let it go in FreeHandle.
//
// State flags: csHandleValid (a DC is attached), csFontValid / csPenValid / csBrushValid (the
// object is selected and the DC's text colour / ROP2 / background follow it).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "toolkit/classes/Events.h"
#include "toolkit/classes/Persistent.h"
#include "toolkit/classes/Set.h"
#include "toolkit/graphics/Brush.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/Pen.h"
#include "toolkit/graphics/Types.h"
#include "toolkit/system/WinApi.h"

class TGraphic;

enum TCanvasStateFlag { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStateFlag>;
enum TFillStyle { fsSurface, fsBorder };
enum TCanvasOrientation { coLeftToRight, coRightToLeft };

// TextRect format flags (combined as a set).
enum TTextFormats {
  tfBottom, tfCalcRect, tfCenter, tfEditControl, tfEndEllipsis, tfPathEllipsis, tfExpandTabs,
  tfExternalLeading, tfLeft, tfModifyString, tfNoClip, tfNoPrefix, tfRight, tfRtlReading,
  tfSingleLine, tfTop, tfVerticalCenter, tfWordBreak, tfHidePrefix, tfNoFullWidthCharBreak,
  tfPrefixOnly, tfTabStop, tfWordEllipsis
};
using TTextFormat = TSet<TTextFormats>;

using TCopyMode = DWORD;  // raster operation of CopyRect/Draw (SRCCOPY ...)

class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // The DC drawn on; asks CreateHandle when none is attached. Setting it attaches a DC the
  // caller keeps owning (null detaches, deselecting the canvas's objects first).
  HDC Handle();
  void SetHandle(HDC value);
  bool HandleAllocated() const { return handle_ != nullptr; }
  TCanvasState State() const { return state_; }

  TPen* Pen() const { return pen_; }
  void SetPen(TPen* value) { pen_->Assign(value); }
  TBrush* Brush() const { return brush_; }
  void SetBrush(TBrush* value) { brush_->Assign(value); }
  TFont* Font() const { return font_; }
  void SetFont(TFont* value) { font_->Assign(value); }
  TCopyMode CopyMode() const { return copyMode_; }
  void SetCopyMode(TCopyMode value) { copyMode_ = value; }
  TPoint PenPos();
  void SetPenPos(TPoint value) { MoveTo(value.X, value.Y); }
  // ExtTextOut options of TextOut/TextRect (ETO_OPAQUE, ETO_CLIPPED ...).
  int TextFlags() const { return textFlags_; }
  void SetTextFlags(int value) { textFlags_ = value; }
  TCanvasOrientation CanvasOrientation() const { return coLeftToRight; }

  // The DC's clip box in logical coordinates.
  TRect ClipRect();

  // ---- Drawing -------------------------------------------------------------------------
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Ellipse(int x1, int y1, int x2, int y2);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  // Points are passed whole (the count is the vector's size).
  void Polyline(const std::vector<TPoint>& points);
  void Polygon(const std::vector<TPoint>& points);
  void PolyBezier(const std::vector<TPoint>& points);
  void FillRect(const TRect& rect);
  void FrameRect(const TRect& rect);
  void DrawFocusRect(const TRect& rect);
  void FloodFill(int x, int y, TColor color, TFillStyle style);

  TColor Pixel(int x, int y);
  void SetPixel(int x, int y, TColor color);

  // Copies `source`'s `sourceRect` into `dest` (stretching) with CopyMode.
  void CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect);
  // Draws a graphic at (x, y) in its own size / stretched into `rect`. Null or empty: nothing.
  void Draw(int x, int y, TGraphic* graphic);
  void StretchDraw(const TRect& rect, TGraphic* graphic);
  // Copies `sourceRect` of `bitmap` into `dest`, with the pixels of colour `color` replaced by
  // the brush.
  void BrushCopy(const TRect& dest, TGraphic* bitmap, const TRect& sourceRect, TColor color);

  // ---- Text (UTF-8) --------------------------------------------------------------------
  TSize TextExtent(std::string_view text);
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }
  // Draws at (x, y) and moves the pen position to the end of the text.
  void TextOut(int x, int y, std::string_view text);
  // Draws at (x, y) clipped to `rect`, filling `rect` with the brush unless it is clear.
  void TextRect(const TRect& rect, int x, int y, std::string_view text);
  // DrawText within `rect` with the given format; with tfCalcRect `rect` receives the extent.
  void TextRect(TRect& rect, std::string& text, TTextFormat format);

  // ---- Serialising access from several threads -----------------------------------------
  void Lock();
  bool TryLock();
  void Unlock();
  int LockCount() const { return lockCount_; }

  // Deselects the objects and forgets what was selected (the next call selects again).
  void Refresh();

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void CreateHandle() {}
  virtual void Changing();
  virtual void Changed();
  // Makes sure the DC exists and the requested objects are selected.
  void RequiredState(TCanvasState required);
  // Detaches the DC after putting the DC's original objects back.
  void DeselectHandles();

 private:
  void CreatePenState();
  void CreateBrushState();
  void CreateFontState();
  void ObjectChanged(TObject* sender);

  HDC handle_ = nullptr;
  TCanvasState state_;
  TPen* pen_;
  TBrush* brush_;
  TFont* font_;
  TCopyMode copyMode_ = SRCCOPY;
  int textFlags_ = 0;
  int lockCount_ = 0;
  CRITICAL_SECTION lock_;
  HGDIOBJ stockPen_ = nullptr;
  HGDIOBJ stockBrush_ = nullptr;
  HGDIOBJ stockFont_ = nullptr;
};

// DrawText flags of a TTextFormat.
UINT TextFormatToFlags(TTextFormat format);

// The run-time binding of the platform's GDI+ library (gdiplus.dll, its flat interface). The
// program links no import library: the library is loaded by name when the first GDI+ canvas
// is made, and every entry is looked up with GetProcAddress into one process-wide table. An
// entry the library lacks stays null; every caller tests its entry before calling (GdiPlus
// calls through GdipCall, which answers NotImplemented for a missing entry), so a system
// without GDI+ never calls into nothing and draws with the GDI canvas instead.
//
// GDI+'s handles are opaque pointers here (one distinct type per kind of object) and its value
// records are laid out as GDI+'s own; the binding unit checks those layouts against the
// platform headers. Window thread only: the table is written before the first GDI+ call.
#pragma once

#include <cstdint>

#include "toolkit/graphics/Types.h"
#include "toolkit/system/WinApi.h"

namespace gp {
struct Graphics;
struct Pen;
struct Brush;
struct Path;
struct Region;
struct Matrix;
struct Image;
struct ImageAttributes;
struct FontFamily;
struct Font;
struct FontCollection;
struct StringFormat;
}  // namespace gp

using TGpStatus = int;
using TArgb = std::uint32_t;

// GDI+ status values the program names (the rest are in the canvas's status names).
constexpr TGpStatus GpOk = 0;
constexpr TGpStatus GpInvalidParameter = 2;
constexpr TGpStatus GpOutOfMemory = 3;
constexpr TGpStatus GpNotImplemented = 6;
constexpr TGpStatus GpNotInitialized = 18;

// Value records, laid out as GDI+'s.
struct TGPPointF {
  float X = 0;
  float Y = 0;
};
struct TGPRectF {
  float X = 0;
  float Y = 0;
  float Width = 0;
  float Height = 0;
};
struct TGPRect {
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
};
inline TGPPointF MakePointF(float x, float y) { return {x, y}; }
inline TGPRectF MakeRectF(float x, float y, float width, float height) { return {x, y, width, height}; }
inline TGPRect MakeRect(int x, int y, int width, int height) { return {x, y, width, height}; }
inline TGPRect MakeRect(const TRect& r) { return {r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top}; }

// GdiplusStartup's input and output.
struct TGdiplusStartupInput {
  std::uint32_t GdiplusVersion = 1;
  void* DebugEventCallback = nullptr;
  BOOL SuppressBackgroundThread = FALSE;
  BOOL SuppressExternalCodecs = FALSE;
};
using TNotificationHookProc = TGpStatus(WINAPI*)(ULONG_PTR* token);
using TNotificationUnhookProc = void(WINAPI*)(ULONG_PTR token);
struct TGdiplusStartupOutput {
  TNotificationHookProc NotificationHook = nullptr;
  TNotificationUnhookProc NotificationUnhook = nullptr;
};

// The entries: X(name, parameter types). Every entry answers a status except the three noted
// below the list. TPoint is laid out as GDI+'s integer point.
#define KEL_GDIP_STATUS_ENTRIES(X)                                                                    \
  X(GdiplusStartup, ULONG_PTR*, const TGdiplusStartupInput*, TGdiplusStartupOutput*)                 \
  X(GdipCreateFromHDC, HDC, gp::Graphics**)                                                           \
  X(GdipDeleteGraphics, gp::Graphics*)                                                                \
  X(GdipGetDC, gp::Graphics*, HDC*)                                                                   \
  X(GdipReleaseDC, gp::Graphics*, HDC)                                                                \
  X(GdipSetTextRenderingHint, gp::Graphics*, int)                                                     \
  X(GdipGetTextRenderingHint, gp::Graphics*, int*)                                                    \
  X(GdipSetInterpolationMode, gp::Graphics*, int)                                                     \
  X(GdipSetSmoothingMode, gp::Graphics*, int)                                                         \
  X(GdipGetSmoothingMode, gp::Graphics*, int*)                                                        \
  X(GdipSetPixelOffsetMode, gp::Graphics*, int)                                                       \
  X(GdipSetPageUnit, gp::Graphics*, int)                                                              \
  X(GdipGetDpiY, gp::Graphics*, float*)                                                               \
  X(GdipGraphicsClear, gp::Graphics*, TArgb)                                                          \
  X(GdipSetWorldTransform, gp::Graphics*, gp::Matrix*)                                                \
  X(GdipResetWorldTransform, gp::Graphics*)                                                           \
  X(GdipMultiplyWorldTransform, gp::Graphics*, const gp::Matrix*, int)                                \
  X(GdipTranslateWorldTransform, gp::Graphics*, float, float, int)                                    \
  X(GdipScaleWorldTransform, gp::Graphics*, float, float, int)                                        \
  X(GdipRotateWorldTransform, gp::Graphics*, float, int)                                              \
  X(GdipGetWorldTransform, gp::Graphics*, gp::Matrix*)                                                \
  X(GdipSetClipRect, gp::Graphics*, float, float, float, float, int)                                  \
  X(GdipSetClipRectI, gp::Graphics*, int, int, int, int, int)                                         \
  X(GdipSetClipPath, gp::Graphics*, gp::Path*, int)                                                   \
  X(GdipSetClipRegion, gp::Graphics*, gp::Region*, int)                                               \
  X(GdipResetClip, gp::Graphics*)                                                                     \
  X(GdipGetClip, gp::Graphics*, gp::Region*)                                                          \
  X(GdipGetVisibleClipBounds, gp::Graphics*, TGPRectF*)                                               \
  X(GdipDrawLine, gp::Graphics*, gp::Pen*, float, float, float, float)                                \
  X(GdipDrawLineI, gp::Graphics*, gp::Pen*, int, int, int, int)                                       \
  X(GdipDrawLines, gp::Graphics*, gp::Pen*, const TGPPointF*, int)                                    \
  X(GdipDrawLinesI, gp::Graphics*, gp::Pen*, const TPoint*, int)                                      \
  X(GdipDrawArcI, gp::Graphics*, gp::Pen*, int, int, int, int, float, float)                          \
  X(GdipDrawRectangleI, gp::Graphics*, gp::Pen*, int, int, int, int)                                  \
  X(GdipDrawEllipseI, gp::Graphics*, gp::Pen*, int, int, int, int)                                    \
  X(GdipDrawPieI, gp::Graphics*, gp::Pen*, int, int, int, int, float, float)                          \
  X(GdipDrawPolygon, gp::Graphics*, gp::Pen*, const TGPPointF*, int)                                  \
  X(GdipDrawPolygonI, gp::Graphics*, gp::Pen*, const TPoint*, int)                                    \
  X(GdipDrawPath, gp::Graphics*, gp::Pen*, gp::Path*)                                                 \
  X(GdipDrawCurve2I, gp::Graphics*, gp::Pen*, const TPoint*, int, float)                              \
  X(GdipDrawClosedCurve2I, gp::Graphics*, gp::Pen*, const TPoint*, int, float)                        \
  X(GdipFillRectangle, gp::Graphics*, gp::Brush*, float, float, float, float)                         \
  X(GdipFillRectangleI, gp::Graphics*, gp::Brush*, int, int, int, int)                                \
  X(GdipFillPolygon, gp::Graphics*, gp::Brush*, const TGPPointF*, int, int)                           \
  X(GdipFillPolygonI, gp::Graphics*, gp::Brush*, const TPoint*, int, int)                             \
  X(GdipFillEllipse, gp::Graphics*, gp::Brush*, float, float, float, float)                           \
  X(GdipFillEllipseI, gp::Graphics*, gp::Brush*, int, int, int, int)                                  \
  X(GdipFillPieI, gp::Graphics*, gp::Brush*, int, int, int, int, float, float)                        \
  X(GdipFillPath, gp::Graphics*, gp::Brush*, gp::Path*)                                               \
  X(GdipFillClosedCurve2I, gp::Graphics*, gp::Brush*, const TPoint*, int, float, int)                 \
  X(GdipDrawString, gp::Graphics*, const wchar_t*, int, const gp::Font*, const TGPRectF*,             \
    const gp::StringFormat*, const gp::Brush*)                                                        \
  X(GdipMeasureString, gp::Graphics*, const wchar_t*, int, const gp::Font*, const TGPRectF*,          \
    const gp::StringFormat*, TGPRectF*, int*, int*)                                                   \
  X(GdipDrawImageI, gp::Graphics*, gp::Image*, int, int)                                              \
  X(GdipDrawImageRectI, gp::Graphics*, gp::Image*, int, int, int, int)                                \
  X(GdipDrawImageRectRectI, gp::Graphics*, gp::Image*, int, int, int, int, int, int, int, int, int,   \
    const gp::ImageAttributes*, void*, void*)                                                         \
  X(GdipCreatePen1, TArgb, float, int, gp::Pen**)                                                     \
  X(GdipDeletePen, gp::Pen*)                                                                          \
  X(GdipSetPenWidth, gp::Pen*, float)                                                                 \
  X(GdipGetPenWidth, gp::Pen*, float*)                                                                \
  X(GdipSetPenLineCap197819, gp::Pen*, int, int, int)                                                 \
  X(GdipGetPenStartCap, gp::Pen*, int*)                                                               \
  X(GdipGetPenEndCap, gp::Pen*, int*)                                                                 \
  X(GdipGetPenDashCap197819, gp::Pen*, int*)                                                          \
  X(GdipSetPenLineJoin, gp::Pen*, int)                                                                \
  X(GdipGetPenLineJoin, gp::Pen*, int*)                                                               \
  X(GdipSetPenColor, gp::Pen*, TArgb)                                                                 \
  X(GdipGetPenColor, gp::Pen*, TArgb*)                                                                \
  X(GdipSetPenBrushFill, gp::Pen*, gp::Brush*)                                                        \
  X(GdipSetPenDashStyle, gp::Pen*, int)                                                               \
  X(GdipGetPenDashStyle, gp::Pen*, int*)                                                              \
  X(GdipCreateSolidFill, TArgb, gp::Brush**)                                                          \
  X(GdipGetSolidFillColor, gp::Brush*, TArgb*)                                                        \
  X(GdipCreateTexture, gp::Image*, int, gp::Brush**)                                                  \
  X(GdipCreateTextureIA, gp::Image*, const gp::ImageAttributes*, float, float, float, float,          \
    gp::Brush**)                                                                                      \
  X(GdipSetTextureWrapMode, gp::Brush*, int)                                                          \
  X(GdipCreateLineBrushFromRect, const TGPRectF*, TArgb, TArgb, int, int, gp::Brush**)                \
  X(GdipCreateLineBrushFromRectWithAngle, const TGPRectF*, TArgb, TArgb, float, BOOL, int,            \
    gp::Brush**)                                                                                      \
  X(GdipSetLinePresetBlend, gp::Brush*, const TArgb*, const float*, int)                              \
  X(GdipCreateHatchBrush, int, TArgb, TArgb, gp::Brush**)                                             \
  X(GdipGetHatchStyle, gp::Brush*, int*)                                                              \
  X(GdipGetHatchForegroundColor, gp::Brush*, TArgb*)                                                  \
  X(GdipGetHatchBackgroundColor, gp::Brush*, TArgb*)                                                  \
  X(GdipCreatePathGradientFromPath, const gp::Path*, gp::Brush**)                                     \
  X(GdipGetPathGradientCenterPointI, gp::Brush*, TPoint*)                                             \
  X(GdipSetPathGradientCenterPoint, gp::Brush*, const TGPPointF*)                                     \
  X(GdipSetPathGradientCenterPointI, gp::Brush*, const TPoint*)                                       \
  X(GdipSetPathGradientPresetBlend, gp::Brush*, const TArgb*, const float*, int)                      \
  X(GdipSetPathGradientCenterColor, gp::Brush*, TArgb)                                                \
  X(GdipGetPathGradientCenterColor, gp::Brush*, TArgb*)                                               \
  X(GdipSetPathGradientSurroundColorsWithCount, gp::Brush*, const TArgb*, int*)                       \
  X(GdipCloneBrush, gp::Brush*, gp::Brush**)                                                          \
  X(GdipDeleteBrush, gp::Brush*)                                                                      \
  X(GdipCreatePath, int, gp::Path**)                                                                  \
  X(GdipCreatePath2, const TGPPointF*, const BYTE*, int, int, gp::Path**)                             \
  X(GdipDeletePath, gp::Path*)                                                                        \
  X(GdipResetPath, gp::Path*)                                                                         \
  X(GdipClosePathFigure, gp::Path*)                                                                   \
  X(GdipAddPathLine, gp::Path*, float, float, float, float)                                           \
  X(GdipAddPathLine2I, gp::Path*, const TPoint*, int)                                                 \
  X(GdipAddPathArc, gp::Path*, float, float, float, float, float, float)                              \
  X(GdipAddPathArcI, gp::Path*, int, int, int, int, float, float)                                     \
  X(GdipAddPathCurve2I, gp::Path*, const TPoint*, int, float)                                         \
  X(GdipAddPathClosedCurve2I, gp::Path*, const TPoint*, int, float)                                   \
  X(GdipAddPathRectangle, gp::Path*, float, float, float, float)                                      \
  X(GdipAddPathEllipse, gp::Path*, float, float, float, float)                                        \
  X(GdipAddPathEllipseI, gp::Path*, int, int, int, int)                                               \
  X(GdipAddPathPieI, gp::Path*, int, int, int, int, float, float)                                     \
  X(GdipAddPathPolygon, gp::Path*, const TGPPointF*, int)                                             \
  X(GdipAddPathString, gp::Path*, const wchar_t*, int, const gp::FontFamily*, int, float,             \
    const TGPRectF*, const gp::StringFormat*)                                                         \
  X(GdipGetPathWorldBounds, gp::Path*, TGPRectF*, const gp::Matrix*, const gp::Pen*)                  \
  X(GdipGetPointCount, gp::Path*, int*)                                                               \
  X(GdipGetPathTypes, gp::Path*, BYTE*, int)                                                          \
  X(GdipGetPathPoints, gp::Path*, TGPPointF*, int)                                                    \
  X(GdipCreateRegion, gp::Region**)                                                                   \
  X(GdipCreateRegionHrgn, HRGN, gp::Region**)                                                         \
  X(GdipDeleteRegion, gp::Region*)                                                                    \
  X(GdipCreateMatrix, gp::Matrix**)                                                                   \
  X(GdipCreateMatrix2, float, float, float, float, float, float, gp::Matrix**)                        \
  X(GdipDeleteMatrix, gp::Matrix*)                                                                    \
  X(GdipGetMatrixElements, const gp::Matrix*, float*)                                                 \
  X(GdipTranslateMatrix, gp::Matrix*, float, float, int)                                              \
  X(GdipRotateMatrix, gp::Matrix*, float, int)                                                        \
  X(GdipCreateStringFormat, int, LANGID, gp::StringFormat**)                                          \
  X(GdipStringFormatGetGenericTypographic, gp::StringFormat**)                                        \
  X(GdipDeleteStringFormat, gp::StringFormat*)                                                        \
  X(GdipCreateImageAttributes, gp::ImageAttributes**)                                                 \
  X(GdipDisposeImageAttributes, gp::ImageAttributes*)                                                 \
  X(GdipSetImageAttributesColorMatrix, gp::ImageAttributes*, int, BOOL, const float*, const float*,   \
    int)                                                                                              \
  X(GdipCreateBitmapFromScan0, int, int, int, int, BYTE*, gp::Image**)                                \
  X(GdipCreateBitmapFromHBITMAP, HBITMAP, HPALETTE, gp::Image**)                                      \
  X(GdipBitmapSetPixel, gp::Image*, int, int, TArgb)                                                  \
  X(GdipCreateMetafileFromEmf, HENHMETAFILE, BOOL, gp::Image**)                                       \
  X(GdipDisposeImage, gp::Image*)                                                                     \
  X(GdipGetImageWidth, gp::Image*, UINT*)                                                             \
  X(GdipGetImageHeight, gp::Image*, UINT*)                                                            \
  X(GdipCreateFontFamilyFromName, const wchar_t*, gp::FontCollection*, gp::FontFamily**)              \
  X(GdipDeleteFontFamily, gp::FontFamily*)                                                            \
  X(GdipGetGenericFontFamilySansSerif, gp::FontFamily**)                                              \
  X(GdipGetFamilyName, const gp::FontFamily*, wchar_t*, LANGID)                                       \
  X(GdipCloneFontFamily, gp::FontFamily*, gp::FontFamily**)                                           \
  X(GdipCreateFont, const gp::FontFamily*, float, int, int, gp::Font**)                               \
  X(GdipDeleteFont, gp::Font*)                                                                        \
  X(GdipGetFontStyle, gp::Font*, int*)                                                                \
  X(GdipGetFontSize, gp::Font*, float*)                                                               \
  X(GdipGetFamily, gp::Font*, gp::FontFamily**)                                                       \
  X(GdipGetFontCollectionFamilyCount, gp::FontCollection*, int*)                                      \
  X(GdipGetFontCollectionFamilyList, gp::FontCollection*, int, gp::FontFamily**, int*)                \
  X(GdipNewPrivateFontCollection, gp::FontCollection**)                                               \
  X(GdipDeletePrivateFontCollection, gp::FontCollection**)                                            \
  X(GdipPrivateAddMemoryFont, gp::FontCollection*, const void*, int)

struct TGdiPlusEntries {
#define KEL_GDIP_FIELD(name, ...) TGpStatus(WINAPI* name)(__VA_ARGS__) = nullptr;
  KEL_GDIP_STATUS_ENTRIES(KEL_GDIP_FIELD)
#undef KEL_GDIP_FIELD
  void(WINAPI* GdiplusShutdown)(ULONG_PTR token) = nullptr;
  void*(WINAPI* GdipAlloc)(size_t size) = nullptr;
  void(WINAPI* GdipFree)(void* memory) = nullptr;
};

// The process-wide entry table.
extern TGdiPlusEntries GdiPlus;

// The file LoadGdiPlus loads ("gdiplus.dll"); a test may name another library.
extern const char* GdiPlusLibraryName;

// Loads the library quietly (no box for a missing file) and binds the table from it; false
// (and an empty table) when it cannot be loaded.
bool LoadGdiPlus();
// Binds every entry from `module` by its export name (nullptr empties the table).
void BindGdiPlusEntries(HMODULE module);
// Empties the table and frees the library when one was loaded.
void UnloadGdiPlus();
HMODULE GdiPlusLibrary();
// True when every entry the GDI+ canvas cannot draw without is bound.
bool GdiPlusEntriesComplete();

// Calls a bound entry; answers NotImplemented without calling when the entry is missing.
template <class... P, class... A>
TGpStatus GdipCall(TGpStatus(WINAPI* entry)(P...), A&&... args) {
  return entry != nullptr ? entry(static_cast<A&&>(args)...) : GpNotImplemented;
}

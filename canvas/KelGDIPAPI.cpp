// The GDI+ entry table and its binding (see KelGDIPAPI.h). The platform's GDI+ headers are used
// here only, to check that the value records and the constants the canvas uses match them.
#include "canvas/KelGDIPAPI.h"

#include <objidl.h>  // before <gdiplus.h> under the lean windows header
#include <gdiplus.h>

#include <cstddef>

#include "canvas/KelCanvasModule.h"

static_assert(sizeof(TGPPointF) == sizeof(Gdiplus::PointF));
static_assert(sizeof(TGPRectF) == sizeof(Gdiplus::RectF));
static_assert(sizeof(TGPRect) == sizeof(Gdiplus::Rect));
static_assert(sizeof(TPoint) == sizeof(Gdiplus::Point));
static_assert(sizeof(TGdiplusStartupInput) == sizeof(Gdiplus::GdiplusStartupInput));
static_assert(offsetof(TGdiplusStartupInput, SuppressExternalCodecs) ==
              offsetof(Gdiplus::GdiplusStartupInput, SuppressExternalCodecs));
static_assert(sizeof(TGdiplusStartupOutput) == sizeof(Gdiplus::GdiplusStartupOutput));
static_assert(GpInvalidParameter == Gdiplus::InvalidParameter && GpNotImplemented == Gdiplus::NotImplemented &&
              GpNotInitialized == Gdiplus::GdiplusNotInitialized);
static_assert(Gdiplus::HatchStyleDiagonalCross == 5 && Gdiplus::HatchStyleSolidDiamond == 52);
static_assert(Gdiplus::SmoothingModeHighQuality == 2 && Gdiplus::PixelOffsetModeNone == 3);
static_assert(Gdiplus::DashCapTriangle == 3 && Gdiplus::LineJoinRound == 2 && Gdiplus::UnitPixel == 2);
static_assert(Gdiplus::CombineModeIntersect == 1 && Gdiplus::CombineModeExclude == 4);

TGdiPlusEntries GdiPlus;
const char* GdiPlusLibraryName = "gdiplus.dll";

namespace {
HMODULE library = nullptr;

template <class F>
void Bind(HMODULE module, F& entry, const char* name) {
  entry = module != nullptr ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}
}  // namespace

void BindGdiPlusEntries(HMODULE module) {
#define KEL_GDIP_BIND(name, ...) Bind(module, GdiPlus.name, #name);
  KEL_GDIP_STATUS_ENTRIES(KEL_GDIP_BIND)
#undef KEL_GDIP_BIND
  Bind(module, GdiPlus.GdiplusShutdown, "GdiplusShutdown");
  Bind(module, GdiPlus.GdipAlloc, "GdipAlloc");
  Bind(module, GdiPlus.GdipFree, "GdipFree");
}

bool LoadGdiPlus() {
  if (library == nullptr) library = LoadLibraryQuietly(GdiPlusLibraryName);
  BindGdiPlusEntries(library);
  return library != nullptr;
}

void UnloadGdiPlus() {
  BindGdiPlusEntries(nullptr);
  if (library != nullptr) FreeLibrary(library);
  library = nullptr;
}

HMODULE GdiPlusLibrary() { return library; }

bool GdiPlusEntriesComplete() {
  const TGdiPlusEntries& e = GdiPlus;
  // What the canvas's frame, pens, lines, shapes, plain fills and clipping call unconditionally.
  const void* required[] = {
      reinterpret_cast<const void*>(e.GdiplusStartup), reinterpret_cast<const void*>(e.GdiplusShutdown),
      reinterpret_cast<const void*>(e.GdipCreateFromHDC), reinterpret_cast<const void*>(e.GdipDeleteGraphics),
      reinterpret_cast<const void*>(e.GdipGetDC), reinterpret_cast<const void*>(e.GdipReleaseDC),
      reinterpret_cast<const void*>(e.GdipSetSmoothingMode), reinterpret_cast<const void*>(e.GdipSetPixelOffsetMode),
      reinterpret_cast<const void*>(e.GdipSetPageUnit), reinterpret_cast<const void*>(e.GdipSetWorldTransform),
      reinterpret_cast<const void*>(e.GdipTranslateWorldTransform),
      reinterpret_cast<const void*>(e.GdipGetWorldTransform), reinterpret_cast<const void*>(e.GdipSetClipRectI),
      reinterpret_cast<const void*>(e.GdipSetClipPath), reinterpret_cast<const void*>(e.GdipSetClipRegion),
      reinterpret_cast<const void*>(e.GdipResetClip), reinterpret_cast<const void*>(e.GdipGetClip),
      reinterpret_cast<const void*>(e.GdipDrawLineI), reinterpret_cast<const void*>(e.GdipDrawLinesI),
      reinterpret_cast<const void*>(e.GdipDrawRectangleI), reinterpret_cast<const void*>(e.GdipDrawEllipseI),
      reinterpret_cast<const void*>(e.GdipDrawPolygonI), reinterpret_cast<const void*>(e.GdipDrawPath),
      reinterpret_cast<const void*>(e.GdipFillRectangleI), reinterpret_cast<const void*>(e.GdipFillPolygonI),
      reinterpret_cast<const void*>(e.GdipFillEllipseI), reinterpret_cast<const void*>(e.GdipFillPath),
      reinterpret_cast<const void*>(e.GdipCreatePen1), reinterpret_cast<const void*>(e.GdipDeletePen),
      reinterpret_cast<const void*>(e.GdipSetPenColor), reinterpret_cast<const void*>(e.GdipCreateSolidFill),
      reinterpret_cast<const void*>(e.GdipCreateHatchBrush), reinterpret_cast<const void*>(e.GdipDeleteBrush),
      reinterpret_cast<const void*>(e.GdipCreatePath), reinterpret_cast<const void*>(e.GdipDeletePath),
      reinterpret_cast<const void*>(e.GdipAddPathArcI), reinterpret_cast<const void*>(e.GdipClosePathFigure),
      reinterpret_cast<const void*>(e.GdipCreateRegion), reinterpret_cast<const void*>(e.GdipCreateRegionHrgn),
      reinterpret_cast<const void*>(e.GdipDeleteRegion), reinterpret_cast<const void*>(e.GdipCreateMatrix),
      reinterpret_cast<const void*>(e.GdipDeleteMatrix),
  };
  for (const void* entry : required) {
    if (entry == nullptr) return false;
  }
  return true;
}

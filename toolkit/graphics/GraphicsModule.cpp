// Explicit start-up of the graphics module.
#include "toolkit/graphics/GraphicsModule.h"

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/graphics/GraphicsUtils.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/graphics/Metafile.h"
#include "toolkit/graphics/Pen.h"
#include "toolkit/graphics/Picture.h"

namespace {
int g_pixelsPerInch = 0;

int QueryPixelsPerInch() {
  TWindowDC screen;
  const int ppi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
  return ppi > 0 ? ppi : 96;
}
}  // namespace

int ScreenPixelsPerInch() {
  if (g_pixelsPerInch == 0) g_pixelsPerInch = QueryPixelsPerInch();
  return g_pixelsPerInch;
}

void InitGraphics() {
  g_pixelsPerInch = QueryPixelsPerInch();
  RegisterClasses({&TBitmap::StaticClass(), &TIcon::StaticClass(), &TMetafile::StaticClass(),
                   &TPicture::StaticClass(), &TFont::StaticClass(), &TPen::StaticClass(), &TBrush::StaticClass()});
  TPicture::RegisterFileFormat("bmp", "Bitmaps", TBitmap::StaticClass());
  TPicture::RegisterFileFormat("ico", "Icons", TIcon::StaticClass());
  TPicture::RegisterFileFormat("emf", "Enhanced Metafiles", TMetafile::StaticClass());
}

void DoneGraphics() {
  FreePatternBitmaps();
  TPicture::UnregisterGraphicClass(TBitmap::StaticClass());
  TPicture::UnregisterGraphicClass(TIcon::StaticClass());
  TPicture::UnregisterGraphicClass(TMetafile::StaticClass());
}

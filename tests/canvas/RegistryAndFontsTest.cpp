// The drawing surface module: the canvas class registry with its fallback, the stored fonts
// registered from the program's resources, and the abstract operations of the interface.
#include <gtest/gtest.h>

#include "CanvasTestSupport.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelBrush.h"
#include "canvas/KelFont.h"
#include "canvas/KelPen.h"
#include "toolkit/classes/TypInfo.h"

namespace {

// A canvas class as another module would register it.
class TTestCanvas : public TKelCanvas3D {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestCanvas>("TTestCanvas", &TKelCanvas3D::StaticClass()).Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }
};

class CanvasModuleTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { KelCanvasStartup(); }
};

TEST_F(CanvasModuleTest, TheGdiCanvasIsRegisteredFirst) {
  ASSERT_FALSE(CanvasClassList().empty());
  EXPECT_EQ(CanvasClassList().front(), &TKelCanvas3D::StaticClass());
}

struct LookupCase {
  const char* requested;
  const char* found;
};

class CanvasLookupTest : public CanvasModuleTest, public testing::WithParamInterface<LookupCase> {};

TEST_P(CanvasLookupTest, FindsByExactNameOrFallsBackToTheGdiCanvas) {
  CanvasClassList().push_back(&TTestCanvas::StaticClass());
  const TClassInfo& cls = FindCanvasClass(GetParam().requested);
  CanvasClassList().pop_back();
  EXPECT_EQ(cls.Name(), GetParam().found);
  std::unique_ptr<TObject> made(cls.CreateInstance());
  auto* canvas = dynamic_cast<TCanvas3D*>(made.get());
  ASSERT_NE(canvas, nullptr);
  EXPECT_EQ(canvas->ClassName(), GetParam().found);
  EXPECT_EQ(canvas->GetDescription(), "GDI");
}

INSTANTIATE_TEST_SUITE_P(Names, CanvasLookupTest,
                         testing::Values(LookupCase{"TTestCanvas", "TTestCanvas"},
                                         LookupCase{"ttestcanvas", "TKelCanvas3D"},
                                         LookupCase{"TGDIPlusCanvas", "TKelCanvas3D"},
                                         LookupCase{"", "TKelCanvas3D"}));

// A new GDI canvas: fonts keep their size until a zoom is set and then follow it; the first
// frame draws into the buffer bitmap, and there is no buffer to restore before it.
TEST_F(CanvasModuleTest, TheGdiCanvasStartsZoomedAndBuffered) {
  TKelCanvas3D canvas;
  TKelFont font;
  canvas.AssignFontSized(&font, 8);
  EXPECT_EQ(canvas.Font()->Size(), 8) << "zoom 100";
  canvas.TextZoom = 150;
  canvas.AssignFontSized(&font, 8);
  EXPECT_EQ(canvas.Font()->Size(), 12) << "the zoom is active";
  TDibSurface target(60, 40);
  canvas.SetTargetCanvas(target.Canvas());
  EXPECT_FALSE(canvas.RestoreFromBuffer()) << "nothing drawn yet";
  TRect drawRect;
  canvas.PrepareFrame(target.Canvas(), nullptr, clWhite, false, TRect(10, 5, 50, 35), drawRect);
  EXPECT_EQ(drawRect, TRect(0, 0, 40, 30));
  ASSERT_NE(canvas.BufferBitmap, nullptr);
  EXPECT_EQ(canvas.DeviceCanvas(), canvas.BufferBitmap->Canvas());
  EXPECT_EQ(canvas.DefaultFontQuality, 0) << "fqDefault fonts are antialiased on the GDI canvas";
}

// The canvas answers as the platform's base interface without counting references: its owner
// alone frees it, however often it is added or released.
TEST_F(GdiCanvasTest, TheBaseInterfaceCountsNoReferences) {
  IUnknown* unknown = canvas.get();
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(unknown->AddRef(), static_cast<ULONG>(-1));
    EXPECT_EQ(unknown->Release(), static_cast<ULONG>(-1));
  }
  EXPECT_EQ(unknown->Release(), static_cast<ULONG>(-1));
  void* found = nullptr;
  EXPECT_EQ(unknown->QueryInterface(__uuidof(IUnknown), &found), S_OK);
  EXPECT_EQ(found, static_cast<void*>(unknown));
  const IID other = {0x0BADF00D, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};  // an interface it lacks
  found = unknown;
  EXPECT_EQ(unknown->QueryInterface(other, &found), E_NOINTERFACE);
  EXPECT_EQ(found, nullptr);
  EXPECT_EQ(unknown->QueryInterface(other, nullptr), E_POINTER);
  // Still alive after all the releases.
  canvas->Pen()->Hide();
  canvas->Brush()->SetColor(clBlue);
  canvas->FillRect(TRect(0, 0, 10, 10));
  EXPECT_EQ(surface->Count(clBlue), 100);
}

TEST_F(CanvasModuleTest, AbstractOperationsRaiseTheAbstractError) {
  TCanvas3D abstractCanvas;
  EXPECT_THROW(abstractCanvas.GetPixel(0, 0), EAbstractError);
  EXPECT_THROW(abstractCanvas.Project3D(0, 0, 0), EAbstractError);
  EXPECT_THROW(abstractCanvas.PopClip(), EAbstractError);
  EXPECT_EQ(abstractCanvas.GetDescription(), "");
  EXPECT_TRUE(abstractCanvas.IsAvailable());
}

// The face name GDI gives a font made with `face`.
std::string ResolvedFace(const wchar_t* face) {
  LOGFONTW lf{};
  lf.lfHeight = -20;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcscpy(lf.lfFaceName, face);
  HFONT font = CreateFontIndirectW(&lf);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  wchar_t name[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, name);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(font);
  std::string result;
  for (const wchar_t* p = name; *p; ++p) result += static_cast<char>(*p);
  return result;
}

TEST_F(CanvasModuleTest, StoredFontsAreRegisteredForTheProcess) {
  EXPECT_NE(StoredFontHandle(0), nullptr) << "LCD font";
  EXPECT_NE(StoredFontHandle(1), nullptr) << "LED font";
  EXPECT_EQ(ResolvedFace(L"Dovudad"), "Dovudad");
  EXPECT_EQ(ResolvedFace(L"Dovudad LCD"), "Dovudad LCD");
  ASSERT_TRUE(static_cast<bool>(StoredFontNames));
  std::vector<std::string> names;
  StoredFontNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"Dovudad", "Dovudad LCD"}));
}

TEST_F(GdiCanvasTest, TheLedFontDrawsItsSquareDots) {
  canvas->Font()->SetName("Dovudad");
  canvas->Font()->SetSize(40);
  canvas->Font()->SetQuality(TKelFontQuality::fqNormal);
  canvas->SetBackMode(TRANSPARENT);
  canvas->TextOut(10, 10, "-");
  // The LED minus is one row of five separated dots.
  const TRect ink = surface->BoundsOf(clBlack);
  ASSERT_FALSE(ink.IsEmpty());
  const int row = (ink.Top + ink.Bottom) / 2;
  int runs = 0;
  bool inRun = false;
  for (int x = ink.Left; x < ink.Right; ++x) {
    const bool dark = surface->Pixel(x, row) == clBlack;
    if (dark && !inRun) ++runs;
    inRun = dark;
  }
  EXPECT_EQ(runs, 5);
}

TEST_F(CanvasModuleTest, ShutDownReleasesWhatStartUpMade) {
  KelCanvasShutdown();
  EXPECT_EQ(StoredFontHandle(0), nullptr);
  EXPECT_EQ(StoredFontHandle(1), nullptr);
  EXPECT_FALSE(static_cast<bool>(StoredFontNames));
  EXPECT_TRUE(CanvasClassList().empty());
  EXPECT_EQ(KelDefaultFontName, "");
  KelCanvasStartup();
  EXPECT_NE(StoredFontHandle(1), nullptr);
  EXPECT_EQ(CanvasClassList().size(), 1u);
  EXPECT_EQ(ResolvedFace(L"Dovudad"), "Dovudad");
}

// The library texts give the default face and size; a canvas reset goes back to them.
TEST_F(CanvasModuleTest, DefaultFontComesFromTheLibraryTexts) {
  EXPECT_EQ(KelDefaultFontName, "Arial");
  EXPECT_EQ(KelDefaultFontSize, 8);
  TKelCanvas3D canvas;
  canvas.Font()->SetName("Courier New");
  canvas.Font()->SetSize(20);
  canvas.ResetToDefaults();
  EXPECT_EQ(canvas.Font()->Name(), "Arial");
  EXPECT_EQ(canvas.Font()->Size(), 8);
  EXPECT_EQ(TKelFont().Name(), "Arial") << "every new font starts with them";
}

}  // namespace

// TKxButton and TKxBitBtn on a form that is not shown, driven by messages and painted into a
// DIB: press-drag-release, grouped toggling through the group message, dialog keys, hot
// tracking on mouse enter/leave, caption placement and colours, the standard kinds with their
// glyph resources, glyph cell counts and an older layout's FrameFlat entry.
#include <gtest/gtest.h>

#include <functional>

#include "DibSurface.h"
#include "controls/KxButton.h"
#include "controls/KxCommonColors.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/ui/ActnList.h"
#include "toolkit/ui/Edit.h"
#include "toolkit/ui/ImgList.h"
#include "toolkit/ui/Form.h"

namespace {

constexpr COLORREF kMarker = 0x3C14DC;

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

class KxButtonTest : public testing::Test {
 protected:
  KxButtonTest() : form_(nullptr), dib_(120, 40, kMarker) {
    SetKxVisualStylesQuery([] { return false; });
    form_.SetBounds(0, 0, 300, 200);
  }
  ~KxButtonTest() override { SetKxVisualStylesQuery(nullptr); }

  template <class T = TKxButton>
  T* Add(const std::string& caption, int left = 0) {
    auto* button = new T(&form_);
    button->SetParent(&form_);
    button->SetBounds(left, 0, 100, 30);
    button->SetCaption(caption);
    button->Font()->SetName("Arial");
    button->Font()->SetColor(0x000000);
    return button;
  }
  void Paint(TWinControl* control) {
    dib_.Fill(kMarker);
    control->PaintTo(dib_.DC(), 0, 0);
  }
  // Bounding columns of pixels of `color` (right = -1 when none).
  std::pair<int, int> Columns(COLORREF color) {
    int left = 1000;
    int right = -1;
    for (int y = 0; y < dib_.Height(); ++y) {
      for (int x = 0; x < dib_.Width(); ++x) {
        if (dib_.Pixel(x, y) != color) continue;
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
    return {left, right};
  }
  int Count(COLORREF color) {
    int n = 0;
    for (int y = 0; y < dib_.Height(); ++y) {
      for (int x = 0; x < dib_.Width(); ++x) n += dib_.Pixel(x, y) == color;
    }
    return n;
  }
  void Press(TKxButton* b, std::initializer_list<TPoint> moves, TPoint release) {
    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
    for (TPoint p : moves) b->Perform(WM_MOUSEMOVE, MK_LBUTTON, At(p.X, p.Y));
    b->Perform(WM_LBUTTONUP, 0, At(release.X, release.Y));
  }

  TForm form_;
  TDibSurface dib_;
};

struct TDragCase {
  const char* name;
  std::vector<TPoint> moves;
  TPoint release;
  int clicks;
};

class KxButtonDragTest : public KxButtonTest, public testing::WithParamInterface<TDragCase> {};

TEST_P(KxButtonDragTest, ClickOnlyWhenReleasedInside) {
  TKxButton* b = Add("Start");
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  EXPECT_TRUE(b->ShowDown());
  for (TPoint p : GetParam().moves) b->Perform(WM_MOUSEMOVE, MK_LBUTTON, At(p.X, p.Y));
  b->Perform(WM_LBUTTONUP, 0, At(GetParam().release.X, GetParam().release.Y));
  EXPECT_FALSE(b->ShowDown());
  EXPECT_EQ(clicks, GetParam().clicks);
}

INSTANTIATE_TEST_SUITE_P(Cases, KxButtonDragTest,
                         testing::Values(TDragCase{"Inside", {}, {20, 10}, 1},
                                         TDragCase{"DraggedOut", {{150, 10}}, {150, 10}, 0},
                                         TDragCase{"OutAndBackIn", {{150, 10}, {30, 12}}, {30, 12}, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(KxButtonTest, DraggingOutShowsTheButtonRaisedAgain) {
  TKxButton* b = Add("Start");
  b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  b->Perform(WM_MOUSEMOVE, MK_LBUTTON, At(150, 10));
  EXPECT_FALSE(b->ShowDown());
  b->Perform(WM_MOUSEMOVE, MK_LBUTTON, At(5, 5));
  EXPECT_TRUE(b->ShowDown());
  b->Perform(WM_LBUTTONUP, 0, At(150, 10));
}

TEST_F(KxButtonTest, GroupWithoutAllowAllUpKeepsOneButtonDown) {
  TKxButton* a = Add("A", 0);
  TKxButton* b = Add("B", 110);
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  int clicksA = 0;
  a->OnClick = [&](TObject*) { ++clicksA; };
  Press(a, {}, {10, 10});
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(a->State(), 3);
  Press(a, {}, {10, 10});
  EXPECT_TRUE(a->Down()) << "clicking it again cannot raise it";
  EXPECT_EQ(clicksA, 2);
  Press(b, {}, {10, 10});
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down()) << "the group message raised the other button";
  EXPECT_EQ(a->State(), 0);
}

TEST_F(KxButtonTest, GroupMessageCarriesAllowAllUpToTheOthers) {
  TKxButton* a = Add("A", 0);
  TKxButton* b = Add("B", 110);
  a->SetGroupIndex(2);
  b->SetGroupIndex(2);
  a->SetAllowAllUp(true);
  EXPECT_TRUE(b->AllowAllUp());
  b->SetDown(true);
  b->SetDown(false);
  EXPECT_FALSE(b->Down()) << "with AllowAllUp the group may be all up";
  // A button in another group ignores the message.
  TKxButton* c = Add("C", 220);
  c->SetGroupIndex(3);
  c->SetDown(true);
  a->SetDown(true);
  EXPECT_TRUE(c->Down());
}

TEST_F(KxButtonTest, DownNeedsAGroup) {
  TKxButton* a = Add("A");
  a->SetDown(true);
  EXPECT_FALSE(a->Down());
}

TEST_F(KxButtonTest, ClickSetsTheFormsModalResult) {
  TKxButton* ok = Add("OK");
  ok->SetModalResult(mrOk);
  Press(ok, {}, {10, 10});
  EXPECT_EQ(form_.ModalResult(), mrOk);
}

TEST_F(KxButtonTest, EscClicksOnlyACancelButtonAndEnterTheActiveOne) {
  TKxButton* ok = Add("OK", 0);
  TKxButton* cancel = Add("Cancel", 110);
  auto* edit = new TEdit(&form_);
  edit->SetParent(&form_);
  ok->SetDefault(true);
  cancel->SetCancel(true);
  form_.HandleNeeded();
  ok->HandleNeeded();
  cancel->HandleNeeded();
  // Buttons only answer dialog keys when they can take the focus.
  form_.Show();
  int okClicks = 0;
  int cancelClicks = 0;
  ok->OnClick = [&](TObject*) { ++okClicks; };
  cancel->OnClick = [&](TObject*) { ++cancelClicks; };

  EXPECT_EQ(ok->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 0);
  EXPECT_NE(cancel->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 0);
  EXPECT_EQ(cancelClicks, 1);

  // A non-button control has the focus: the default button is the active one.
  form_.Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(edit));
  EXPECT_TRUE(ok->Active());
  EXPECT_NE(ok->Perform(CM_DIALOGKEY, VK_RETURN, 0), 0);
  EXPECT_EQ(cancel->Perform(CM_DIALOGKEY, VK_RETURN, 0), 0);
  EXPECT_EQ(okClicks, 1);

  // Another button has the focus: it is active, the default one is not.
  form_.Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(cancel));
  EXPECT_FALSE(ok->Active());
  EXPECT_TRUE(cancel->Active());
  EXPECT_EQ(ok->Perform(CM_DIALOGKEY, VK_RETURN, 0), 0);
  EXPECT_NE(cancel->Perform(CM_DIALOGKEY, VK_RETURN, 0), 0);
  EXPECT_EQ(cancelClicks, 2);
  form_.Hide();
}

TEST_F(KxButtonTest, HotTrackingFollowsMouseEnterAndLeave) {
  TKxButton* b = Add("");
  b->SetHotTrack(true);
  EXPECT_TRUE(b->Transparent()) << "hot tracking draws see-through corners";
  int entered = 0;
  int left = 0;
  b->OnMouseEnter = [&](TObject*) { ++entered; };
  b->OnMouseLeave = [&](TObject*) { ++left; };
  // Pixels in the orange of the hot-track colour ($149BF0: red high, blue low).
  auto orange = [&] {
    int n = 0;
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 100; ++x) {
        const COLORREF p = dib_.Pixel(x, y);
        n += GetRValue(p) > 200 && GetBValue(p) < 120 && GetGValue(p) > 100;
      }
    }
    return n;
  };
  Paint(b);
  EXPECT_EQ(orange(), 0);
  b->Perform(CM_MOUSEENTER);
  EXPECT_TRUE(b->MouseOver());
  Paint(b);
  EXPECT_GT(orange(), 20) << "the hot ring";
  b->Perform(CM_MOUSELEAVE);
  EXPECT_FALSE(b->MouseOver());
  Paint(b);
  EXPECT_EQ(orange(), 0);
  EXPECT_EQ(entered, 1);
  EXPECT_EQ(left, 1);
}

TEST_F(KxButtonTest, RightAlignedCaptionStandsShadowDepthLeftOfTheEdge) {
  TKxButton* b = Add("Text");
  b->SetAlignment(taRightJustify);
  Paint(b);
  const int right2 = Columns(0x000000).second;
  b->SetTextShadowDepth(6);
  Paint(b);
  const int right6 = Columns(0x000000).second;
  ASSERT_GT(right2, 0);
  EXPECT_EQ(right2 - right6, 4);
  EXPECT_LE(right2, 100 - 5 - 2);
}

TEST_F(KxButtonTest, DisabledCaptionOnAGreyCloseToGrayTextUsesTheDarkShadow) {
  TKxButton* b = Add("Text");
  b->SetColor(clGrayText);
  b->SetEnabled(false);
  Paint(b);
  EXPECT_GT(Count(KxColorToRGB(cl3DDkShadow)), 10);
  b->SetColor(clBtnFace);
  Paint(b);
  EXPECT_GT(Count(KxColorToRGB(clGrayText)), 10);
}

TEST_F(KxButtonTest, ClassicFaceIsFilledWithTheButtonColour) {
  TKxButton* b = Add("");
  b->SetColor(0x00C0FF);
  Paint(b);
  EXPECT_EQ(dib_.Pixel(50, 15), 0x00C0FFu);
  EXPECT_NE(dib_.Pixel(0, 0), 0x00C0FFu) << "the frame";
}

TEST_F(KxButtonTest, ExclusiveGroupedButtonShowsTheDownPattern) {
  TKxButton* b = Add("");
  b->SetGroupIndex(1);
  b->SetDown(true);
  Paint(b);
  const COLORREF face = KxColorToRGB(clBtnFace);
  const COLORREF dot = face == 0xC0C0C0 ? 0x808080 : 0xC0C0C0;
  EXPECT_GT(Count(dot), 200);
  b->SetShowDownPattern(false);
  Paint(b);
  EXPECT_LT(Count(dot), 200);
}

TEST_F(KxButtonTest, ObsoleteFrameFlatSetsHotTrack) {
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteSignature();
    writer.WriteStr("TKxButton");
    writer.WriteStr("Start");
    writer.WriteStr("FrameFlat");
    writer.WriteBoolean(true);
    writer.WriteListEnd();
    writer.WriteListEnd();
  }
  stream.SetPosition(0);
  TKxButton loaded(nullptr);
  TReader reader(stream);
  reader.ReadRootComponent(&loaded);
  EXPECT_TRUE(loaded.HotTrack());
}

// ---- Bit buttons ------------------------------------------------------------------------------

TEST_F(KxButtonTest, KindYesSetsCaptionResultDefaultAndGlyphUntilModalResultChanges) {
  auto* b = Add<TKxBitBtn>("x");
  b->SetKind(bkYes);
  EXPECT_EQ(b->Caption(), "&Yes");
  EXPECT_EQ(b->ModalResult(), 6);
  EXPECT_TRUE(b->Default());
  EXPECT_FALSE(b->Cancel());
  EXPECT_EQ(b->NumGlyphs(), 2);
  ASSERT_FALSE(b->Glyph()->Empty()) << "the yes glyph resource";
  EXPECT_EQ(b->Glyph()->Width(), 2 * b->Glyph()->Height());
  EXPECT_EQ(b->Kind(), bkYes);
  b->SetModalResult(0);
  EXPECT_EQ(b->Kind(), bkCustom);
}

TEST_F(KxButtonTest, EveryKindHasItsGlyph) {
  for (TBitBtnKind kind : {bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll}) {
    TBitmap* glyph = KxBitBtnKindGlyph(kind);
    ASSERT_NE(glyph, nullptr) << kind;
    EXPECT_EQ(glyph->Width(), 36) << kind;
    EXPECT_EQ(glyph->Height(), 18) << kind;
  }
  EXPECT_EQ(KxBitBtnKindGlyph(bkCustom), nullptr);
}

TEST_F(KxButtonTest, ReplacingTheGlyphMakesTheKindCustom) {
  auto* b = Add<TKxBitBtn>("x");
  b->SetKind(bkOK);
  TBitmap other(16, 16);
  b->SetGlyph(&other);
  EXPECT_EQ(b->Kind(), bkCustom);
}

struct TGlyphCase {
  const char* name;
  int width;
  int height;
  int numGlyphs;
};

class KxBitBtnGlyphTest : public KxButtonTest, public testing::WithParamInterface<TGlyphCase> {};

TEST_P(KxBitBtnGlyphTest, NumGlyphsFollowsTheGlyphShape) {
  auto* b = Add<TKxBitBtn>("x");
  b->SetNumGlyphs(3);
  TBitmap glyph(GetParam().width, GetParam().height);
  b->SetGlyph(&glyph);
  EXPECT_EQ(b->NumGlyphs(), GetParam().numGlyphs);
}

INSTANTIATE_TEST_SUITE_P(Cases, KxBitBtnGlyphTest,
                         testing::Values(TGlyphCase{"FourCells", 64, 16, 4}, TGlyphCase{"FiveCellsIsOne", 80, 16, 1},
                                         TGlyphCase{"TwoCells", 32, 16, 2}, TGlyphCase{"NotAMultiple", 40, 16, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(KxButtonTest, OkGlyphIsDrawnBesideTheCaptionAndGreyedWhenDisabled) {
  auto* b = Add<TKxBitBtn>("");
  b->SetKind(bkOK);
  b->SetCaption("");
  Paint(b);
  const COLORREF green = 0x008000;
  EXPECT_GT(Count(green), 20);
  EXPECT_EQ(Count(0x008080), 0) << "the olive background is transparent";
  const auto [left, right] = Columns(green);
  EXPECT_GE(left, 5 + 2) << "glyph after the caption area's margin";
  const int greyEnabled = Count(0x808080);
  b->SetEnabled(false);
  Paint(b);
  EXPECT_EQ(Count(green), 0);
  EXPECT_GT(Count(0x808080), greyEnabled + 20) << "the disabled image";
}

// ---- Image-list images and right-to-left layout ----

constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kBlue = 0xFF0000;
constexpr COLORREF kGreen = 0x00C000;

// A 16 x 16 image list of solid squares (white is the mask colour).
void AddSquare(TImageList& list, COLORREF color) {
  TBitmap square(16, 16);
  square.Canvas()->Brush()->SetColor(static_cast<TColor>(color));
  square.Canvas()->FillRect({0, 0, 16, 16});
  list.AddMasked(&square, clWhite);
}

class TPaintCountingBitBtn : public TKxBitBtn {
 public:
  explicit TPaintCountingBitBtn(TComponent* owner) : TKxBitBtn(owner) {}
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    TKxBitBtn::Paint();
  }
};

class KxBitBtnImagesTest : public KxButtonTest {
 protected:
  KxBitBtnImagesTest() : images_(nullptr) {
    AddSquare(images_, kRed);
    AddSquare(images_, kBlue);
  }
  TImageList images_;
};

TEST_F(KxBitBtnImagesTest, ListImageTakesTheGlyphsPlace) {
  auto* b = Add<TKxBitBtn>("");
  b->SetImages(&images_);
  Paint(b);
  EXPECT_EQ(Count(kRed), 0) << "no image index: no image";
  b->SetImageIndex(0);
  EXPECT_EQ(b->GetGlyphSize(), (TSize{16, 16}));
  Paint(b);
  EXPECT_EQ(Count(kRed), 256);
  EXPECT_EQ(Columns(kRed), std::make_pair(5 + 2, 5 + 2 + 15)) << "after the caption area's margin";
  b->SetImageIndex(1);
  Paint(b);
  EXPECT_EQ(Count(kRed), 0);
  EXPECT_EQ(Count(kBlue), 256);
}

TEST_F(KxBitBtnImagesTest, DisabledButtonShowsItsDisabledImageOrTheGreyedOne) {
  struct Case {
    const char* name;
    int disabledIndex;
    bool enabled;
    COLORREF shown;   // the colour drawn in full, 0 for none of the two
  } const cases[] = {
      {"enabled", -1, true, kRed},
      {"disabled without a disabled image: greyed", -1, false, 0},
      {"enabled with a disabled image", 1, true, kRed},
      {"disabled with a disabled image", 1, false, kBlue},
  };
  auto* b = Add<TKxBitBtn>("");
  b->SetImages(&images_);
  b->SetImageIndex(0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    b->SetDisabledIndex(c.disabledIndex);
    b->SetEnabled(c.enabled);
    Paint(b);
    EXPECT_EQ(Count(kRed), c.shown == kRed ? 256 : 0);
    EXPECT_EQ(Count(kBlue), c.shown == kBlue ? 256 : 0);
  }
}

TEST_F(KxBitBtnImagesTest, AStandardKindKeepsItsOwnGlyph) {
  auto* b = Add<TKxBitBtn>("");
  b->SetKind(bkOK);
  b->SetCaption("");
  b->SetImages(&images_);
  b->SetImageIndex(0);
  Paint(b);
  EXPECT_EQ(Count(kRed), 0);
  EXPECT_GT(Count(0x008000), 20) << "the OK glyph";
}

TEST_F(KxBitBtnImagesTest, AChangeOfTheListRepaintsTheButtonAtOnce) {
  auto* b = new TPaintCountingBitBtn(&form_);
  b->SetParent(&form_);
  b->SetBounds(0, 0, 100, 30);
  b->SetImages(&images_);
  b->SetImageIndex(2);
  form_.Show();
  UpdateWindow(b->Handle());
  const int before = b->paints;
  AddSquare(images_, kGreen);
  EXPECT_GT(b->paints, before) << "painted within the change itself";
  Paint(b);
  EXPECT_EQ(Count(kGreen), 256);
  b->SetImages(nullptr);
  const int unlinked = b->paints;
  AddSquare(images_, kGreen);
  EXPECT_EQ(b->paints, unlinked) << "a list no longer used is not listened to";
  form_.Hide();
}

TEST_F(KxBitBtnImagesTest, FreeingTheListClearsImages) {
  auto* b = Add<TKxBitBtn>("");
  {
    TImageList doomed(nullptr);
    AddSquare(doomed, kRed);
    b->SetImages(&doomed);
    b->SetImageIndex(0);
  }
  EXPECT_EQ(b->Images(), nullptr);
  Paint(b);
  EXPECT_EQ(Count(kRed), 0);
}

TEST_F(KxBitBtnImagesTest, TheLinkedActionsImageIndexIsTaken) {
  TAction action(nullptr);
  action.SetCaption("Go");
  action.SetImageIndex(1);
  int executed = 0;
  action.OnExecute = [&](TObject*) { ++executed; };
  auto* b = Add<TKxBitBtn>("");
  b->SetImages(&images_);
  b->SetAction(&action);
  EXPECT_EQ(b->ImageIndex(), 1);
  EXPECT_EQ(b->Caption(), "Go");
  action.SetImageIndex(0);
  EXPECT_EQ(b->ImageIndex(), 0);
  Paint(b);
  EXPECT_EQ(Count(kRed), 256);
  b->Click();
  EXPECT_EQ(executed, 1);
}

TEST_F(KxButtonTest, RightToLeftMirrorsTheCaptionAlignmentAndTheGlyphSide) {
  struct Case {
    const char* name;
    TBiDiMode mode;
    bool captionAtRight;
  } const cases[] = {
      {"left to right", bdLeftToRight, false},
      {"right to left", bdRightToLeft, true},
      {"right-to-left reading only", bdRightToLeftReadingOnly, false},
  };
  TImageList images(nullptr);
  AddSquare(images, kRed);
  TKxButton* text = Add("Text");
  text->SetAlignment(taLeftJustify);
  auto* glyph = Add<TKxBitBtn>("", 0);
  glyph->SetImages(&images);
  glyph->SetImageIndex(0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    form_.SetBiDiMode(c.mode);
    Paint(text);
    const auto [left, right] = Columns(0x000000);
    ASSERT_GE(right, 0);
    if (c.captionAtRight) {
      EXPECT_GT(left, 50);
    } else {
      EXPECT_LT(right, 50);
    }
    Paint(glyph);
    const auto [imageLeft, imageRight] = Columns(kRed);
    if (c.captionAtRight) {
      EXPECT_EQ(imageRight, 100 - 5 - 2 - 1) << "glyph at the right margin";
    } else {
      EXPECT_EQ(imageLeft, 5 + 2);
    }
  }
}

}  // namespace


namespace {

TEST(KxButtonKeyTest, SpaceShowsThePressAndClicksOnRelease) {
  TForm form(nullptr);
  auto* b = new TKxButton(&form);
  b->SetParent(&form);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  b->Perform(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(b->ShowDown());
  EXPECT_EQ(clicks, 0);
  b->Perform(WM_KEYUP, VK_SPACE, 0);
  EXPECT_FALSE(b->ShowDown());
  EXPECT_EQ(clicks, 1);
  b->Perform(WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(clicks, 1) << "a release without its press does not click";
}

}  // namespace

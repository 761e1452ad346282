// Labels: automatic size follows the caption (keeping the right edge of right-aligned ones),
// alignment, layout and transparency land in the pixels, the accelerator focuses its control.
#include "FormFixture.h"
#include "PixelHelpers.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/ui/Edit.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Label.h"

#include <string>

namespace {

class LabelTest : public FormFixture {
 protected:
  // The label painted on a white bitmap of its size.
  void Paint(TLabel* label, TBitmap& bitmap) {
    MakeCanvasBitmap(bitmap, label->Width(), label->Height());
    label->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bitmap.Canvas()->Handle()), 0);
  }
  static bool Dark(TColor c) { return (c & 0xFF) < 0x80 && ((c >> 8) & 0xFF) < 0x80; }
};

TEST_F(LabelTest, AutoSizeFollowsTheCaption) {
  auto* label = Add<TLabel>(10, 10, 10, 10);
  label->SetCaption("Test interval");
  const int width = label->Width();
  EXPECT_GT(width, 40);
  EXPECT_GT(label->Height(), 8);
  label->SetCaption("Test interval, much longer");
  EXPECT_GT(label->Width(), width);
  label->SetAlignment(taRightJustify);
  const int right = label->Left() + label->Width();
  label->SetCaption("short");
  EXPECT_EQ(label->Left() + label->Width(), right) << "right-aligned labels keep their right edge";
  label->SetAutoSize(false);
  label->SetCaption("a caption far longer than before");
  EXPECT_EQ(label->Left() + label->Width(), right);
}

TEST_F(LabelTest, WordWrapKeepsTheWidthAndGrowsTheHeight) {
  auto* label = Add<TLabel>(10, 10, 60, 10);
  const int oneLine = label->Height();
  label->SetWordWrap(true);
  label->SetCaption("several words that cannot fit on one line of sixty pixels");
  EXPECT_LE(label->Width(), 60);
  EXPECT_GT(label->Height(), 2 * oneLine);
}

// The caption is drawn in the label's own font (not the DC's default system font): the same
// pixels as the platform's DrawText with that font, underscores and full-width brackets
// included, inside a label as high as the import dialog's hint.
TEST_F(LabelTest, TheCaptionIsDrawnInTheLabelsFont) {
  struct Case {
    const char* face;
    int height;
    bool bold;
  } const cases[] = {{"MS Sans Serif", -11, false}, {"MS Sans Serif", -14, false}, {"Arial", -12, true}};
  const std::wstring text = L"filename\xFF08xxxxxxxx_xxxxxxxx_data.bin\xFF09";
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.face) + " " + std::to_string(c.height));
    auto* label = Add<TLabel>(10, 10, 385, 13);
    label->SetAutoSize(false);
    label->SetColor(clWhite);
    label->Font()->SetName(c.face);
    label->Font()->SetHeight(c.height);
    if (c.bold) label->Font()->SetStyle({fsBold});
    label->SetCaption(WideToUtf8(text));
    TBitmap drawn;
    Paint(label, drawn);

    TBitmap expected;
    MakeCanvasBitmap(expected, 385, 13);
    HFONT font = CreateFontW(c.height, 0, 0, 0, c.bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             Utf8ToWide(c.face).c_str());
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(expected.Canvas()->Handle(), 385, 13);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, 385, 13, WHITENESS);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    RECT r{0, 0, 385, 13};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_NOPREFIX | DT_EXPANDTABS);
    BitBlt(expected.Canvas()->Handle(), 0, 0, 385, 13, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteObject(font);
    DeleteDC(dc);
    GdiFlush();

    int ink = 0, different = 0;
    for (int y = 0; y < 13; ++y)
      for (int x = 0; x < 385; ++x) {
        ink += Dark(PixelAt(expected, x, y));
        different += PixelAt(expected, x, y) != PixelAt(drawn, x, y);
      }
    ASSERT_GT(ink, 100);
    EXPECT_EQ(different, 0);
    delete label;
  }
}

TEST_F(LabelTest, AlignmentAndLayoutPlaceTheText) {
  auto* label = Add<TLabel>(10, 10, 200, 60);
  label->SetAutoSize(false);
  label->SetCaption("MMM");
  label->SetColor(clWhite);
  TBitmap bitmap;
  Paint(label, bitmap);
  const TRect topLeft = InkBounds(bitmap, Dark);
  ASSERT_FALSE(topLeft.IsEmpty());
  EXPECT_LT(topLeft.Left, 5);
  EXPECT_LT(topLeft.Top, 10);
  label->SetAlignment(taRightJustify);
  label->SetLayout(tlBottom);
  Paint(label, bitmap);
  const TRect bottomRight = InkBounds(bitmap, Dark);
  EXPECT_GT(bottomRight.Left, 150);
  EXPECT_GT(bottomRight.Top, 30);
  EXPECT_EQ(bottomRight.Width(), topLeft.Width());
  label->SetAlignment(taCenter);
  label->SetLayout(tlCenter);
  Paint(label, bitmap);
  const TRect centre = InkBounds(bitmap, Dark);
  EXPECT_NEAR((centre.Left + centre.Right) / 2, 100, 3);
  EXPECT_NEAR((centre.Top + centre.Bottom) / 2, 30, 4);
}

TEST_F(LabelTest, TransparentLabelLeavesTheBackground) {
  auto* label = Add<TLabel>(10, 10, 100, 20);
  label->SetAutoSize(false);
  label->SetColor(clRed);
  TBitmap bitmap;
  Paint(label, bitmap);
  EXPECT_EQ(PixelAt(bitmap, 95, 15), clRed);
  label->SetTransparent(true);
  TBitmap fresh;
  Paint(label, fresh);
  EXPECT_EQ(PixelAt(fresh, 95, 15), clWhite);
}

TEST_F(LabelTest, AcceleratorFocusesTheControl) {
  auto* edit = Add<TEdit>(100, 50, 100, 21);
  auto* other = Add<TEdit>(100, 80, 100, 21);
  auto* label = Add<TLabel>(10, 50, 60, 17);
  label->SetCaption("&Name");
  label->SetFocusControl(edit);
  form_->SetActiveControl(other);
  EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, L'x'), 0);
  EXPECT_NE(form_->Perform(CM_DIALOGCHAR, L'n'), 0);
  EXPECT_EQ(form_->ActiveControl(), edit);
  label->SetShowAccelChar(false);
  form_->SetActiveControl(other);
  EXPECT_EQ(form_->Perform(CM_DIALOGCHAR, L'n'), 0) << "no accelerator without ShowAccelChar";
  EXPECT_TRUE(IsAccel(L'N', "&Name"));
  EXPECT_FALSE(IsAccel(L'N', "&&Name"));
}

}  // namespace

// The main window's tool bar drawn by the platform into a bitmap: four different pictures, each
// in its own colours and on the button of its command, and the greyed picture of a disabled
// command.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/AppGlobals.h"
#include "app/Database.h"
#include "app/uFrmMain.h"
#include "tests/support/TempFolder.h"
#include "tests/toolkit/PixelHelpers.h"
#include "toolkit/data/ZConnection.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/ui/ActnList.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Menus.h"
#include "toolkit/ui/ToolBar.h"

namespace {

int Chroma(TColor c) {
  const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
  return std::max({r, g, b}) - std::min({r, g, b});
}

class FrmMainToolBarTest : public testing::Test {
 protected:
  void SetUp() override {
    AppPath = folder.Path();
    CreateDatabaseSchema();
    ConnectDatabase();
    RegisterMainWindowClasses();
    Application->SetMessageBoxHook([](const std::string&, const std::string&, UINT) { return IDOK; });
    form = new TFrmMain(nullptr);
    form->AfterConstruction();
    form->Show();
    Application->ProcessMessages();
  }
  void TearDown() override {
    delete form;
    Application->SetMessageBoxHook(nullptr);
    Application->ProcessMessages();
    if (DbConnection) {
      DbConnection->Disconnect();
      delete DbConnection;
      DbConnection = nullptr;
    }
    AppPath.clear();
  }

  // The bar as it paints itself.
  void PaintBar(TBitmap& bitmap) {
    const TRect client = form->tlb1->ClientRect();
    MakeCanvasBitmap(bitmap, client.Width(), client.Height());
    form->tlb1->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bitmap.Canvas()->Handle()), 0);
    GdiFlush();
  }
  // A button's pixels, row by row, and the pixels that differ from its top-left corner.
  struct Picture {
    std::vector<TColor> pixels;
    int ink = 0;
    int count(TColor c) const { return static_cast<int>(std::count(pixels.begin(), pixels.end(), c)); }
    int saturated() const {
      return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [](TColor c) { return Chroma(c) > 60; }));
    }
  };
  Picture PictureOf(TBitmap& bitmap, TToolButton* button) {
    const TRect r = form->tlb1->ButtonRect(button);
    Picture p;
    const TColor back = PixelAt(bitmap, r.Left + 1, r.Top + 1);
    for (int y = r.Top + 2; y < r.Bottom - 2; ++y)
      for (int x = r.Left + 2; x < r.Right - 2; ++x) {
        const TColor c = PixelAt(bitmap, x, y);
        p.pixels.push_back(c);
        if (c != back) ++p.ink;
      }
    return p;
  }

  TempFolder folder;
  TFrmMain* form = nullptr;
};

TEST_F(FrmMainToolBarTest, FourDistinctPicturesOnTheirCommandsButtons) {
  // A colour only the picture of that command uses.
  struct Case {
    const char* command;
    TToolButton* button;
    TColor own;
  } const cases[] = {
      {"report settings (a cog)", form->TB1, RGB(56, 88, 150)},
      {"test report (a red curve)", form->tb2, RGB(210, 30, 30)},
      {"detail records (a table's header)", form->tb3, RGB(40, 90, 190)},
      {"export folder (a yellow folder)", form->tb4, RGB(238, 190, 40)},
  };
  TBitmap bar;
  PaintBar(bar);
  std::vector<Picture> pictures;
  for (const Case& c : cases) pictures.push_back(PictureOf(bar, c.button));
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].command);
    EXPECT_GT(pictures[i].ink, 60) << "a picture, not an empty square";
    EXPECT_GE(pictures[i].count(cases[i].own), 4) << "its own picture";
    for (size_t j = 0; j < std::size(cases); ++j) {
      if (j == i) continue;
      EXPECT_EQ(pictures[i].count(cases[j].own), 0) << "not the picture of " << cases[j].command;
      int differing = 0;
      for (size_t k = 0; k < pictures[i].pixels.size() && k < pictures[j].pixels.size(); ++k)
        if (pictures[i].pixels[k] != pictures[j].pixels[k]) ++differing;
      EXPECT_GT(differing, 40) << "differs from " << cases[j].command;
    }
  }
}

TEST_F(FrmMainToolBarTest, ADisabledCommandShowsItsPictureGreyed) {
  TBitmap bar;
  PaintBar(bar);
  const Picture enabled = PictureOf(bar, form->tb2);
  ASSERT_GT(enabled.saturated(), 10);

  form->act3->SetEnabled(false);
  Application->ProcessMessages();
  PaintBar(bar);
  const Picture disabled = PictureOf(bar, form->tb2);
  EXPECT_GT(disabled.ink, 30) << "still a picture";
  EXPECT_EQ(disabled.saturated(), 0) << "in greys only";
  EXPECT_GT(PictureOf(bar, form->tb3).saturated(), 10) << "the other commands keep their colours";
  EXPECT_EQ(form->tb2->Hint(), "Export the test report") << "the action's change keeps the English texts";
  EXPECT_EQ(form->N31->Caption(), "Export the test report(.XLS)");

  form->act3->SetEnabled(true);
  Application->ProcessMessages();
  PaintBar(bar);
  EXPECT_EQ(PictureOf(bar, form->tb2).pixels, enabled.pixels);
}

}  // namespace

// The main window's tool bar: flat, images from an image list, buttons with hints; a click on
// a button runs its OnClick or its action, the tooltip asks for the button's hint.
#include <string>

#include "FormFixture.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/ActnList.h"
#include "toolkit/ui/ImgList.h"
#include "toolkit/ui/ToolBar.h"

#include <commctrl.h>

namespace {

class ToolBarTest : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    images_ = new TImageList(form_);
    TBitmap strip;
    strip.SetPixelFormat(pf32bit);
    strip.SetSize(32, 16);
    strip.Canvas()->Brush()->SetColor(clRed);
    strip.Canvas()->FillRect(Rect(0, 0, 16, 16));
    strip.Canvas()->Brush()->SetColor(clBlue);
    strip.Canvas()->FillRect(Rect(16, 0, 32, 16));
    images_->AddMasked(&strip, clFuchsia);
    bar_ = new TToolBar(form_);
    bar_->SetFlat(true);
    bar_->SetImages(images_);
    report_ = AddButton("Report settings", 0);
    AddButton("", -1)->SetStyle(tbsSeparator);
    export_ = AddButton("Export the test report", 1);
    bar_->SetParent(form_);
  }
  TToolButton* AddButton(const std::string& hint, int image) {
    auto* button = new TToolButton(form_);
    button->SetHint(hint);
    button->SetImageIndex(image);
    button->SetToolBar(bar_);
    return button;
  }
  void ClickButton(TToolButton* button) {
    const TRect r = bar_->ButtonRect(button);
    ASSERT_FALSE(r.IsEmpty());
    Click(bar_->Handle(), (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  std::string TooltipText(TToolButton* button) {
    HWND tooltip = reinterpret_cast<HWND>(SendMessageW(bar_->Handle(), TB_GETTOOLTIPS, 0, 0));
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = tooltip;
    info.hdr.idFrom = static_cast<UINT_PTR>(button->Command());
    info.hdr.code = TTN_GETDISPINFOW;
    info.lpszText = info.szText;  // the tooltip offers its own buffer
    SendMessageW(bar_->Handle(), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    if (info.lpszText != nullptr && !IS_INTRESOURCE(info.lpszText)) return WideToUtf8(info.lpszText);
    return WideToUtf8(info.szText);
  }

  TImageList* images_ = nullptr;
  TToolBar* bar_ = nullptr;
  TToolButton* report_ = nullptr;
  TToolButton* export_ = nullptr;
};

TEST_F(ToolBarTest, ButtonsAreMadeWithTheirImages) {
  EXPECT_EQ(images_->Count(), 2);
  EXPECT_EQ(SendMessageW(bar_->Handle(), TB_BUTTONCOUNT, 0, 0), 3);
  TBBUTTON tb{};
  SendMessageW(bar_->Handle(), TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&tb));
  EXPECT_EQ(tb.idCommand, export_->Command());
  EXPECT_EQ(tb.iBitmap, 1);
  EXPECT_NE(GetWindowLongW(bar_->Handle(), GWL_STYLE) & TBSTYLE_FLAT, 0);
  EXPECT_LE(bar_->ButtonRect(report_).Right, bar_->ButtonRect(export_).Left);
}

TEST_F(ToolBarTest, ClickRunsOnClickOrTheAction) {
  int reportClicks = 0;
  report_->OnClick = [&](TObject*) { ++reportClicks; };
  auto* actions = new TActionList(form_);
  auto* exportAction = new TAction(form_);
  exportAction->SetActionList(actions);
  exportAction->SetHint("Export the test report");
  int exports = 0;
  exportAction->OnExecute = [&](TObject*) { ++exports; };
  export_->SetAction(exportAction);
  ClickButton(report_);
  ClickButton(export_);
  EXPECT_EQ(reportClicks, 1);
  EXPECT_EQ(exports, 1);
  exportAction->SetEnabled(false);
  EXPECT_FALSE(export_->Enabled());
  EXPECT_EQ(SendMessageW(bar_->Handle(), TB_ISBUTTONENABLED, static_cast<WPARAM>(export_->Command()), 0), 0);
  ClickButton(export_);
  EXPECT_EQ(exports, 1) << "a disabled button does not click";
}

TEST_F(ToolBarTest, TooltipShowsTheHint) {
  EXPECT_EQ(TooltipText(report_), "Report settings");
  export_->SetHint("Export test detail records");
  EXPECT_EQ(TooltipText(export_), "Export test detail records");
}

}  // namespace

// The page control with three sheets on a form that is not shown: the tab list rebuilt from the
// pages, showing pages by tab, by code and by index, a page without a visible tab, PageIndex
// moves and refusals, closing the active page, next/previous page, refused changes, colours,
// and the page control's registration.
#include <gtest/gtest.h>

#include <string>

#include "DibSurface.h"
#include "controls/KxCommonColors.h"
#include "controls/KxCommonGlyphs.h"
#include "controls/KxModule.h"
#include "controls/KxPageControl.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/DragDock.h"
#include "toolkit/ui/Edit.h"
#include "toolkit/ui/Form.h"

namespace {

class KxPageControlTest : public testing::Test {
 protected:
  KxPageControlTest() : form_(nullptr) {
    form_.SetBounds(0, 0, 400, 300);
    pages_ = new TKxPageControl(&form_);
    pages_->SetParent(&form_);
    pages_->SetBounds(0, 0, 300, 200);
    pages_->Font()->SetName("Arial");
    pages_->SetTabHeight(26);
    for (const char* caption : {"Values", "Table", "Chart"}) {
      auto* sheet = new TKxTabSheet(&form_);
      sheet->SetPageControl(pages_);
      sheet->SetCaption(caption);
    }
    pages_->OnChange = [this](TObject*) { ++changes_; };
    pages_->OnChanging = [this](TObject*, int, bool& allow) { allow = !refuse_; };
  }
  TKxTabSheet* Page(int i) { return pages_->PageAt(i); }
  // Which pages are shown, as "010".
  std::string Shown() {
    std::string s;
    for (int i = 0; i < pages_->PageCount(); ++i) s += Page(i)->Visible() ? '1' : '0';
    return s;
  }
  void Paint() {
    TDibSurface dib(300, 200, 0);
    pages_->PaintTo(dib.DC(), 0, 0);
  }

  TForm form_;
  TKxPageControl* pages_;
  int changes_ = 0;
  bool refuse_ = false;
};

TEST_F(KxPageControlTest, TabsFollowThePagesAndTheFirstTabShowsItsPage) {
  ASSERT_EQ(pages_->Tabs().Count(), 3);
  EXPECT_EQ(pages_->Tabs().Items(2)->Caption, "Chart");
  EXPECT_EQ(pages_->ActivePage(), nullptr);
  pages_->SetActivePageIndex(0);
  EXPECT_EQ(Shown(), "100");
  EXPECT_EQ(pages_->TabIndex(), 0);
  Page(1)->SetCaption("Data");
  EXPECT_EQ(pages_->Tabs().Items(1)->Caption, "Data");
}

TEST_F(KxPageControlTest, HiddenMiddleTabPageShownWithoutATab) {
  pages_->SetActivePageIndex(0);
  Page(1)->SetTabVisible(false);
  ASSERT_EQ(pages_->Tabs().Count(), 2);
  EXPECT_EQ(pages_->Tabs().Items(1)->Caption, "Chart");
  EXPECT_EQ(Page(2)->GetTabIndex(), 1);
  EXPECT_EQ(Page(1)->GetTabIndex(), -1);
  changes_ = 0;
  pages_->SetActivePage(Page(1));
  EXPECT_EQ(Shown(), "010");
  EXPECT_EQ(pages_->TabIndex(), -1);
  EXPECT_EQ(changes_, 1);
  // A paint rebuilds the layout but selects nothing.
  Paint();
  EXPECT_EQ(pages_->TabIndex(), -1);
  EXPECT_EQ(Shown(), "010");
  EXPECT_EQ(changes_, 1);
  // A click on the second tab shows the third page.
  const TRect tab = pages_->TabRect(1);
  const LPARAM at = MAKELPARAM((tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2);
  pages_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
  pages_->Perform(WM_LBUTTONUP, 0, at);
  EXPECT_EQ(pages_->ActivePage(), Page(2));
  EXPECT_EQ(Shown(), "001");
  EXPECT_EQ(changes_, 2);
}

TEST_F(KxPageControlTest, ActivePageIndexInsideAndOutsideThePages) {
  pages_->SetActivePageIndex(0);
  changes_ = 0;
  pages_->SetActivePageIndex(2);
  EXPECT_EQ(pages_->ActivePageIndex(), 2);
  EXPECT_EQ(Shown(), "001");
  EXPECT_EQ(changes_, 1);
  pages_->SetActivePageIndex(5);
  EXPECT_EQ(pages_->TabIndex(), -1);
  pages_->SetActivePageIndex(-1);
  EXPECT_EQ(pages_->TabIndex(), -1);
}

TEST_F(KxPageControlTest, RefusedChangeLeavesOnlyTheOldPageShowing) {
  pages_->SetActivePageIndex(0);
  refuse_ = true;
  changes_ = 0;
  pages_->SetActivePageIndex(2);
  EXPECT_EQ(pages_->ActivePage(), Page(0));
  EXPECT_EQ(Shown(), "100");
  EXPECT_EQ(changes_, 0);
}

TEST_F(KxPageControlTest, PageIndexMovesThePageAndRefusesOutsideValues) {
  pages_->SetActivePageIndex(0);
  TKxTabSheet* chart = Page(2);
  int oldIndex = -2;
  int newIndex = -2;
  pages_->OnTabOrderChange = [&](TObject*, int o, int n) {
    oldIndex = o;
    newIndex = n;
  };
  chart->SetPageIndex(0);
  EXPECT_EQ(Page(0), chart);
  EXPECT_EQ(pages_->Tabs().Items(0)->Caption, "Chart");
  EXPECT_EQ(oldIndex, 2);
  EXPECT_EQ(newIndex, 0);
  for (int bad : {3, -1}) {
    try {
      chart->SetPageIndex(bad);
      ADD_FAILURE() << bad;
    } catch (const EKxTabControlError& e) {
      EXPECT_EQ(e.Message(), std::to_string(bad) + " is an invalid PageIndex value. PageIndex must be between 0 and 2");
    }
    EXPECT_EQ(chart->PageIndex(), 0) << bad;
  }
  // A sheet without a page control ignores the write.
  TKxTabSheet loose(nullptr);
  loose.SetPageIndex(2);
  EXPECT_EQ(loose.PageIndex(), -1);
}

TEST_F(KxPageControlTest, ClosingFreesTheActivePageOnlyWhenOnCloseAllows) {
  pages_->SetActivePageIndex(0);
  ASSERT_NE(pages_->ActivePage(), nullptr);
  pages_->CloseRequest();  // no OnClose handler: nothing closes
  EXPECT_EQ(pages_->PageCount(), 3);
  bool allow = false;
  pages_->OnClose = [&](TObject*, bool& a) { a = allow; };
  pages_->CloseRequest();
  EXPECT_EQ(pages_->PageCount(), 3);
  allow = true;
  TKxTabSheet* former1 = Page(1);
  pages_->CloseRequest();
  ASSERT_EQ(pages_->PageCount(), 2);
  EXPECT_EQ(pages_->TabIndex(), 0);
  EXPECT_EQ(pages_->ActivePage(), former1);
  EXPECT_EQ(Shown(), "10");
  // Closing the last tab selects the one before it.
  pages_->SetActivePageIndex(1);
  pages_->CloseRequest();
  EXPECT_EQ(pages_->PageCount(), 1);
  EXPECT_EQ(pages_->ActivePage(), former1);
  EXPECT_EQ(pages_->TabIndex(), 0);
}

TEST_F(KxPageControlTest, NextAndPreviousPageWrapAndSkipHiddenTabs) {
  pages_->SetActivePageIndex(2);
  pages_->SelectNextPage(true);
  EXPECT_EQ(pages_->ActivePageIndex(), 0);
  pages_->SelectNextPage(false);
  EXPECT_EQ(pages_->ActivePageIndex(), 2);
  Page(1)->SetTabVisible(false);
  pages_->SelectNextPage(false);
  EXPECT_EQ(pages_->ActivePageIndex(), 0);
  pages_->SelectNextPage(true);
  EXPECT_EQ(pages_->ActivePageIndex(), 2);
}

TEST_F(KxPageControlTest, DroppedTabBecomesThePageIndexOfThePageShowingIt) {
  Page(0)->SetTabVisible(false);
  pages_->SetActivePageIndex(1);
  // Tab 1 shows page 2: the active page moves to page index 2, not 1.
  pages_->RepositionCurrentTab(1);
  EXPECT_EQ(pages_->PageAt(2)->Caption(), "Table");
}

TEST_F(KxPageControlTest, PagesWithoutAControlAndAControlWithoutPages) {
  TKxPageControl empty(nullptr);
  empty.SetParent(&form_);
  empty.Perform(WM_KEYDOWN, VK_RIGHT, 0);
  empty.SelectNextPage(true);
  empty.SetActivePageIndex(0);
  EXPECT_EQ(empty.TabIndex(), -1);
  EXPECT_EQ(empty.ActivePage(), nullptr);
  TDibSurface dib(100, 100, 0);
  empty.PaintTo(dib.DC(), 0, 0);
  empty.SetParent(nullptr);
}

TEST_F(KxPageControlTest, SheetVisibleIsTheControlsToSet) {
  try {
    Page(0)->SetVisible(true);
    ADD_FAILURE();
  } catch (const EKxTabControlError& e) {
    EXPECT_EQ(e.Message(), "You cannot change the Visible property of a page");
  }
}

// A page control written with its pages (owned by it) and read back into a new one: every
// sheet's tab settings, its place and the page shown return; Visible and PageIndex are the
// page control's to set and never go into the layout; a layout that sets Visible is refused.
TEST(KxPageControlLayoutTest, SheetsComeBackWithTheirTabSettingsAndThePageShown) {
  TKxPageControl source(nullptr);
  source.SetName("Pages");
  source.SetBounds(0, 0, 300, 200);
  for (const char* name : {"Values", "Table", "Chart"}) {
    auto* sheet = new TKxTabSheet(&source);
    sheet->SetName(std::string("sh") + name);
    sheet->SetPageControl(&source);
    sheet->SetCaption(name);
  }
  source.PageAt(1)->SetImageIndex(3);
  source.PageAt(1)->SetDisabledIndex(4);
  source.PageAt(1)->SetTabEnabled(false);
  source.PageAt(2)->SetColor(clYellow);
  source.PageAt(0)->SetPageIndex(2);  // Table, Chart, Values
  source.SetActivePage(source.PageAt(1));
  ASSERT_EQ(source.ActivePage()->Caption(), "Chart");

  TMemoryStream layout;
  layout.WriteComponent(&source);
  const std::string text =
      ObjectBinaryToText(std::string_view(static_cast<const char*>(layout.Memory()), static_cast<size_t>(layout.Size())));
  EXPECT_EQ(text.find("Visible"), std::string::npos) << text;
  EXPECT_EQ(text.find("PageIndex"), std::string::npos) << text;
  EXPECT_NE(text.find("ActivePage = shChart"), std::string::npos) << text;

  layout.SetPosition(0);
  TKxPageControl target(nullptr);
  int changes = 0;
  target.OnChange = [&](TObject*) { ++changes; };
  layout.ReadComponent(&target);
  ASSERT_EQ(target.PageCount(), 3);
  std::string order;
  for (int i = 0; i < 3; ++i) order += target.PageAt(i)->Caption() + " ";
  EXPECT_EQ(order, "Table Chart Values ");
  EXPECT_EQ(target.PageAt(0)->ImageIndex(), 3);
  EXPECT_EQ(target.PageAt(0)->DisabledIndex(), 4);
  EXPECT_FALSE(target.PageAt(0)->TabEnabled());
  EXPECT_EQ(target.PageAt(1)->Color(), clYellow);
  EXPECT_TRUE(target.UseColoredTabs());
  ASSERT_NE(target.ActivePage(), nullptr);
  EXPECT_EQ(target.ActivePage()->Caption(), "Chart");
  EXPECT_TRUE(target.ActivePage()->IsShown());
  EXPECT_FALSE(target.PageAt(2)->IsShown());
  EXPECT_EQ(target.TabIndex(), 1);
  EXPECT_EQ(changes, 0) << "loading ends without OnChange";

  const std::string visible = ObjectTextToBinary(
      "object Pages: TKxPageControl\n  object shOne: TKxTabSheet\n    Visible = True\n  end\nend\n");
  TMemoryStream refused;
  refused.Write(visible.data(), static_cast<long long>(visible.size()));
  refused.SetPosition(0);
  TKxPageControl other(nullptr);
  try {
    refused.ReadComponent(&other);
    ADD_FAILURE() << "a layout may not set a page's Visible";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("You cannot change the Visible property of a page"), std::string::npos) << e.Message();
  }
}

TEST_F(KxPageControlTest, HidingAndShowingAllTabsGoesThroughThePages) {
  pages_->SetActivePageIndex(1);
  pages_->HideAllTabs();
  for (int i = 0; i < pages_->PageCount(); ++i) EXPECT_FALSE(Page(i)->TabVisible()) << i;
  EXPECT_EQ(pages_->Tabs().Count(), 0);
  EXPECT_EQ(pages_->TabIndex(), -1);
  EXPECT_EQ(Shown(), "010") << "the active page stays shown without a tab";
  pages_->ShowAllTabs();
  for (int i = 0; i < pages_->PageCount(); ++i) EXPECT_TRUE(Page(i)->TabVisible()) << i;
  EXPECT_EQ(pages_->Tabs().Count(), 3);
  EXPECT_EQ(pages_->TabIndex(), 1);
}

TEST_F(KxPageControlTest, PagesTakeTheControlsColourUntilOneDiffers) {
  pages_->SetParentColor(false);
  pages_->SetColor(clAqua);
  EXPECT_EQ(Page(1)->Color(), clAqua);
  EXPECT_FALSE(pages_->UseColoredTabs());
  Page(1)->SetColor(clYellow);
  EXPECT_TRUE(pages_->UseColoredTabs());
  EXPECT_EQ(pages_->Tabs().Items(1)->Color, clYellow);
  pages_->SetUseColoredTabs(false);
  EXPECT_EQ(Page(1)->Color(), clAqua);
}

TEST_F(KxPageControlTest, ControlSetStartUpRegistersThePageClasses) {
  InitControlSet();
  EXPECT_NE(GetClass("TKxPageControl"), nullptr);
  EXPECT_NE(GetClass("TKxTabSheet"), nullptr);
}

TEST_F(KxPageControlTest, SheetsAlignToTheCardBelowTheTabs) {
  pages_->SetActivePageIndex(0);
  pages_->Realign();
  const TRect card = pages_->CardRect();
  EXPECT_GE(card.Top, 26);
  EXPECT_EQ(Page(0)->Top(), card.Top);
  EXPECT_EQ(Page(0)->Height(), card.Height());
}

TEST_F(KxPageControlTest, DroppedTabReordersThePages) {
  pages_->SetActivePageIndex(0);
  pages_->RepositionCurrentTab(2);
  EXPECT_EQ(Page(2)->Caption(), "Values");
  EXPECT_EQ(pages_->Tabs().Items(2)->Caption, "Values");
  EXPECT_EQ(pages_->TabIndex(), 2);
}

TEST_F(KxPageControlTest, DockedWindowGetsItsOwnPageAndLeavesIt) {
  pages_->SetActivePageIndex(1);
  pages_->SetDockSite(true);
  auto* client = new TEdit(&form_);
  client->SetName("client");
  TRect influence;
  bool canDock = false;
  pages_->GetSiteInfo(client, influence, {0, 0}, canDock);
  EXPECT_TRUE(canDock);
  pages_->HandleNeeded();
  pages_->GetSiteInfo(client, influence, {0, 0}, canDock);
  EXPECT_EQ(influence.Width(), pages_->Width()) << "the whole control";
  client->ManualDock(pages_);
  ASSERT_EQ(pages_->PageCount(), 4);
  TKxTabSheet* sheet = pages_->SheetOfDockClient(client);
  ASSERT_EQ(sheet, Page(3));
  EXPECT_EQ(client->Parent(), sheet);
  EXPECT_EQ(client->Align(), alClient);
  EXPECT_EQ(pages_->ActivePage(), sheet) << "a visible window's page becomes active";
  pages_->GetSiteInfo(client, influence, {0, 0}, canDock);
  EXPECT_FALSE(canDock) << "already docked here";
  // The window's visibility is its tab's.
  client->SetVisible(false);
  EXPECT_FALSE(sheet->TabVisible());
  client->SetVisible(true);
  EXPECT_TRUE(sheet->TabVisible());
  // Undocking frees the page; the next page becomes active.
  client->ManualDock(nullptr);
  EXPECT_EQ(pages_->PageCount(), 3);
  EXPECT_EQ(pages_->SheetOfDockClient(client), nullptr);
  EXPECT_EQ(pages_->ActivePage(), Page(0));
  EXPECT_EQ(client->Parent(), nullptr);
  delete client;
}

TEST_F(KxPageControlTest, DoubleClickOnADockedPagesTabUndocksIt) {
  pages_->SetDockSite(true);
  auto* client = new TEdit(&form_);
  client->ManualDock(pages_);
  ASSERT_EQ(pages_->PageCount(), 4);
  const TRect tab = pages_->TabRect(3);
  const LPARAM at = MAKELPARAM((tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2);
  pages_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
  EXPECT_TRUE(client->Dragging()) << "pressing a docked page's tab starts dragging its window";
  client->EndDrag(false);
  pages_->Perform(WM_LBUTTONUP, 0, at);
  const TPoint shownAt = pages_->SheetOfDockClient(client)->ClientToScreen(TPoint{0, 0});
  pages_->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  EXPECT_EQ(pages_->PageCount(), 3);
  // It floats in a window of its own where it was shown, and can come back.
  auto* host = dynamic_cast<TFloatingDockHost*>(client->HostDockSite());
  ASSERT_NE(host, nullptr);
  EXPECT_TRUE(client->Floating());
  EXPECT_EQ(client->Parent(), host);
  EXPECT_TRUE(client->Showing()) << "shown in its host, not nowhere";
  const HWND hostWindow = host->Handle();
  EXPECT_TRUE(IsWindowVisible(hostWindow));
  EXPECT_EQ(host->ClientToScreen(TPoint{0, 0}), shownAt);
  EXPECT_EQ(host->ClientWidth(), client->Width()) << "the window fills its host";
  client->ManualDock(pages_);
  EXPECT_EQ(pages_->PageCount(), 4);
  EXPECT_EQ(client->Parent(), pages_->SheetOfDockClient(client));
  EXPECT_FALSE(client->Floating());
  Application->ProcessMessages();
  EXPECT_FALSE(IsWindow(hostWindow)) << "the empty host freed itself";
  delete client;
}

TEST_F(KxPageControlTest, SavingResourcesHiddenPagesGiveUpTheirWindowsUntilShownAgain) {
  auto* edit = new TEdit(&form_);
  edit->SetParent(Page(0));
  pages_->SetActivePageIndex(0);
  pages_->HandleNeeded();
  ASSERT_TRUE(Page(0)->HandleAllocated());
  ASSERT_TRUE(edit->HandleAllocated());
  struct TCase {
    bool saveResources;
    bool keptWhileHidden;
  } cases[] = {{false, true}, {true, false}};
  for (const TCase& c : cases) {
    pages_->SetSaveResources(c.saveResources);
    pages_->SetActivePageIndex(1);
    EXPECT_EQ(Page(0)->HandleAllocated(), c.keptWhileHidden) << c.saveResources;
    EXPECT_EQ(edit->HandleAllocated(), c.keptWhileHidden) << c.saveResources;
    EXPECT_TRUE(Page(1)->HandleAllocated());
    pages_->SetActivePageIndex(0);
    ASSERT_TRUE(Page(0)->HandleAllocated()) << "made again when shown";
    EXPECT_NE(GetWindowLongW(Page(0)->Handle(), GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_EQ(GetParent(Page(0)->Handle()), pages_->Handle());
    EXPECT_TRUE(edit->HandleAllocated());
  }
}

TEST_F(KxPageControlTest, ShowingASheetOrAControlOnItMakesThatPageActive) {
  pages_->SetActivePageIndex(0);
  auto* edit = new TEdit(&form_);
  edit->SetParent(Page(2));
  edit->SetVisible(false);
  changes_ = 0;
  edit->Show();
  EXPECT_TRUE(edit->Visible());
  EXPECT_EQ(pages_->ActivePage(), Page(2));
  EXPECT_EQ(Shown(), "001");
  EXPECT_EQ(changes_, 1);
  Page(1)->Show();
  EXPECT_EQ(pages_->ActivePage(), Page(1));
  EXPECT_EQ(Shown(), "010");
  EXPECT_EQ(pages_->TabIndex(), 1);
}

TEST_F(KxPageControlTest, PagesAreChildrenInPageOrderWhateverIsInFront) {
  auto order = [&] {
    std::string names;
    pages_->GetChildren([&](TComponent* child) { names += static_cast<TKxTabSheet*>(child)->Caption() + " "; }, &form_);
    return names;
  };
  pages_->SetActivePageIndex(2);
  pages_->SetActivePageIndex(0);  // the sheets' windows are now in another order
  EXPECT_EQ(order(), "Values Table Chart ");
  Page(0)->SetPageIndex(2);
  EXPECT_EQ(order(), "Table Chart Values ");
  // A page read back at child position k is page k.
  pages_->SetChildOrder(Page(2), 0);
  EXPECT_EQ(order(), "Values Table Chart ");
  pages_->SetChildOrder(Page(0), 7);
  EXPECT_EQ(order(), "Values Table Chart ") << "a position beyond the pages changes nothing";
}

TEST_F(KxPageControlTest, ALoadedVerticalPageControlGetsATrueTypeFont) {
  TKxPageControl source(nullptr);
  std::string bitmapFont;
  for (const char* name : {"System", "Fixedsys", "Terminal", "Small Fonts", "Courier", "MS Serif"}) {
    source.Font()->SetName(name);
    if (!FontIsTrueType(*source.Font())) {
      bitmapFont = name;
      break;
    }
  }
  if (bitmapFont.empty()) GTEST_SKIP() << "no bitmap font on this display";
  source.SetTextOrientation(orVertical);
  source.Font()->SetName(bitmapFont);
  TMemoryStream layout;
  layout.WriteComponent(&source);
  layout.SetPosition(0);
  TKxPageControl target(nullptr);
  int changes = 0;
  target.OnChange = [&](TObject*) { ++changes; };
  layout.ReadComponent(&target);
  EXPECT_EQ(target.TextOrientation(), orVertical);
  EXPECT_EQ(target.Font()->Name(), "Verdana");
  EXPECT_EQ(changes, 0);
}

// Ctrl+Tab and Ctrl+Shift+Tab reach the page control as the form's dialog key while the focus
// is inside it.
TEST_F(KxPageControlTest, CtrlTabFromInsideThePagesWraps) {
  auto* edit = new TEdit(&form_);
  edit->SetParent(Page(2));
  pages_->SetActivePageIndex(2);
  form_.Show();
  edit->SetFocus();
  ASSERT_EQ(GetFocus(), edit->Handle());
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  auto press = [&](bool shift) {
    keys[VK_CONTROL] = 0x80;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    form_.Perform(CM_DIALOGKEY, VK_TAB, 0);
    keys[VK_CONTROL] = 0;
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
  };
  press(false);
  EXPECT_EQ(pages_->ActivePageIndex(), 0) << "after the last page comes the first";
  press(true);
  EXPECT_EQ(pages_->ActivePageIndex(), 2) << "before the first page comes the last";
  // Without Ctrl the form moves the focus instead.
  form_.Perform(CM_DIALOGKEY, VK_TAB, 0);
  EXPECT_EQ(pages_->ActivePageIndex(), 2);
  form_.Hide();
}

}  // namespace

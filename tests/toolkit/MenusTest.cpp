// Menus as the main window uses them: the menu bar is built from the items (captions,
// separators, disabled items), a menu command the platform sends runs the item's OnClick or
// its action, changes of an action reach its items, and a popup menu returns the chosen item.
#include <string>
#include <vector>

#include "FormFixture.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/ActnList.h"
#include "toolkit/ui/Menus.h"
#include "toolkit/ui/Panel.h"

namespace {

class MenusTest : public FormFixture {
 protected:
  TMenuItem* Item(TComponent* owner, TMenuItem* parent, const std::string& caption) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
  }
  static std::string MenuText(HMENU menu, int position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    return WideToUtf8(text);
  }
};

TEST_F(MenusTest, MenuBarShowsItemsAndCommandsReachTheirHandlers) {
  auto* menu = new TMainMenu(form_);
  TMenuItem* system = Item(form_, menu->Items(), "System");
  TMenuItem* port = Item(form_, system, "Serial port settings");
  Item(form_, system, "-");
  TMenuItem* quit = Item(form_, system, "Quit");
  Item(form_, menu->Items(), "View");
  menu->AttachTo(form_);

  HMENU bar = GetMenu(form_->Handle());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(MenuText(bar, 0), "System");
  HMENU sub = GetSubMenu(bar, 0);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(GetMenuItemCount(sub), 3);
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(sub, 1, TRUE, &info);
  EXPECT_NE(info.fType & MFT_SEPARATOR, 0u) << "\"-\" is a separator";

  std::vector<std::string> clicked;
  port->OnClick = [&](TObject*) { clicked.push_back("port"); };
  quit->OnClick = [&](TObject*) { clicked.push_back("quit"); };
  // What the platform sends when the user picks the item.
  SendMessageW(form_->Handle(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(sub, 2), 0), 0);
  SendMessageW(form_->Handle(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(sub, 0), 0), 0);
  EXPECT_EQ(clicked, (std::vector<std::string>{"quit", "port"}));

  quit->SetEnabled(false);
  quit->SetCaption("Exit");
  sub = GetSubMenu(GetMenu(form_->Handle()), 0);
  EXPECT_EQ(MenuText(sub, 2), "Exit");
  EXPECT_NE(GetMenuState(sub, 2, MF_BYPOSITION) & MF_GRAYED, 0u);
}

TEST_F(MenusTest, ActionsDriveTheirItems) {
  auto* actions = new TActionList(form_);
  auto* report = new TAction(form_);
  report->SetActionList(actions);
  report->SetCaption("Report settings");
  int executed = 0;
  report->OnExecute = [&](TObject*) { ++executed; };
  auto* menu = new TMainMenu(form_);
  TMenuItem* item = Item(form_, menu->Items(), "x");
  item->SetAction(report);
  menu->AttachTo(form_);
  EXPECT_EQ(item->Caption(), "Report settings");
  EXPECT_EQ(MenuText(GetMenu(form_->Handle()), 0), "Report settings");
  SendMessageW(form_->Handle(), WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
  EXPECT_EQ(executed, 1);
  report->SetEnabled(false);
  EXPECT_FALSE(item->Enabled());
  SendMessageW(form_->Handle(), WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
  EXPECT_EQ(executed, 1) << "a disabled action does not run";
  report->SetCaption("Company details");
  EXPECT_EQ(MenuText(GetMenu(form_->Handle()), 0), "Company details");
}

TEST_F(MenusTest, OwnerDrawnItemsAreMeasuredAndDrawnByTheirEvents) {
  auto* menu = new TMainMenu(form_);
  menu->SetOwnerDraw(true);
  TMenuItem* file = Item(form_, menu->Items(), "File");
  TMenuItem* open = Item(form_, file, "Open");
  menu->AttachTo(form_);
  int measured = 0, drawn = 0;
  open->OnMeasureItem = [&](TObject*, TCanvas*, int& width, int& height) {
    ++measured;
    width = 120;
    height = 30;
  };
  open->OnDrawItem = [&](TObject* sender, TCanvas* canvas, TRect rect, bool) {
    EXPECT_EQ(sender, open);
    canvas->FillRect(rect);
    ++drawn;
  };
  MEASUREITEMSTRUCT measure{ODT_MENU, 0, open->Command(), 0, 0, reinterpret_cast<ULONG_PTR>(open)};
  SendMessageW(form_->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
  EXPECT_EQ(measured, 1);
  EXPECT_EQ(measure.itemWidth, 120u);
  EXPECT_EQ(measure.itemHeight, 30u);
  HDC dc = GetDC(form_->Handle());
  DRAWITEMSTRUCT draw{ODT_MENU, 0, open->Command(), ODA_DRAWENTIRE, 0, nullptr, dc, {0, 0, 120, 30},
                      reinterpret_cast<ULONG_PTR>(open)};
  SendMessageW(form_->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  ReleaseDC(form_->Handle(), dc);
  EXPECT_EQ(drawn, 1);
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(GetSubMenu(GetMenu(form_->Handle()), 0), 0, TRUE, &info);
  EXPECT_NE(info.fType & MFT_OWNERDRAW, 0u);
}

TEST_F(MenusTest, PopupMenuRunsTheChosenItem) {
  auto* popup = new TPopupMenu(form_);
  TMenuItem* first = Item(form_, popup->Items(), "Create Folder");
  TMenuItem* second = Item(form_, popup->Items(), "Delete");
  int firstClicks = 0, secondClicks = 0;
  first->OnClick = [&](TObject*) { ++firstClicks; };
  second->OnClick = [&](TObject*) { ++secondClicks; };
  popup->OnPopup = [&](TObject*) {
    // The user picks the second item with the keyboard once the menu is up.
    HWND owner = popup->WindowHandle();
    PostMessageW(owner, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(owner, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(owner, WM_KEYDOWN, VK_RETURN, 0);
  };
  popup->Popup(100, 100);
  EXPECT_EQ(secondClicks, 1);
  EXPECT_EQ(firstClicks, 0);
}

TEST_F(MenusTest, RightClickOnAControlPopsUpItsMenu) {
  auto* panel = Add<TPanel>(10, 10, 100, 100);
  auto* popup = new TPopupMenu(form_);
  TMenuItem* item = Item(form_, popup->Items(), "Refresh");
  int clicks = 0;
  item->OnClick = [&](TObject*) { ++clicks; };
  popup->OnPopup = [&](TObject*) {
    PostMessageW(popup->WindowHandle(), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(popup->WindowHandle(), WM_KEYDOWN, VK_RETURN, 0);
  };
  panel->SetPopupMenu(popup);
  const TPoint screen = panel->ClientToScreen({20, 20});
  SendMessageW(panel->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(panel->Handle()), MAKELPARAM(screen.X, screen.Y));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(popup->PopupComponent(), panel);
}

TEST(StripHotkey, RemovesAcceleratorMarks) {
  EXPECT_EQ(StripHotkey("&File"), "File");
  EXPECT_EQ(StripHotkey("Stop(&C)"), "Stop(C)");
  EXPECT_EQ(StripHotkey("A && B"), "A & B");
}

}  // namespace

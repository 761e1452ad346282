// The form's menu bar and a control's pop-up menu through the menu links: attaching the bar,
// routing commands and pop-up openings, and WM_CONTEXTMENU with the control's own handling
// first. The menus here are minimal stand-ins over the platform's menus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/CustomControl.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/MenuLinks.h"

namespace {

class TFakeMainMenu : public TComponent, public TMainMenuLink {
 public:
  explicit TFakeMainMenu(TComponent* owner) : TComponent(owner) {
    bar_ = CreateMenu();
    sub_ = CreatePopupMenu();
    AppendMenuW(sub_, MF_STRING, 101, L"Serial port settings");
    AppendMenuW(bar_, MF_POPUP, reinterpret_cast<UINT_PTR>(sub_), L"System");
  }
  ~TFakeMainMenu() override { DestroyMenu(bar_); }
  HMENU MenuHandle() override { return bar_; }
  bool DispatchCommand(WORD id) override {
    log.push_back("command " + std::to_string(id));
    return id == 101;
  }
  bool DispatchPopup(HMENU menu) override {
    log.push_back(menu == sub_ ? "popup System" : "popup other");
    return menu == sub_;
  }
  std::vector<std::string> log;
  HMENU sub_;

 private:
  HMENU bar_;
};

class TFakePopup : public TComponent, public TPopupMenuLink {
 public:
  explicit TFakePopup(TComponent* owner) : TComponent(owner) {}
  bool AutoPopup() const override { return true; }
  void Popup(int x, int y, TObject* component) override {
    shown.push_back(Format("%d,%d %s", {x, y, static_cast<TComponent*>(component)->Name()}));
  }
  std::vector<std::string> shown;
};

class TBox : public TCustomControl {
 public:
  explicit TBox(TComponent* owner) : TCustomControl(owner) {}
};

TEST(MenuLinkTest, FormAttachesItsMenuBarAndRoutesMenuMessages) {
  TForm form(nullptr);
  auto* menu = new TFakeMainMenu(&form);
  form.SetMenu(menu);
  EXPECT_EQ(GetMenu(form.Handle()), menu->MenuHandle());
  SendMessageW(form.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu->sub_), 0);
  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(101, 0), 0);
  EXPECT_EQ(menu->log, (std::vector<std::string>{"popup System", "command 101"}));
  TBox plain(nullptr);
  EXPECT_THROW(form.SetMenu(&plain), EInvalidOperation);
  delete menu;  // the form forgets it
  EXPECT_EQ(form.Menu(), nullptr);
  EXPECT_EQ(GetMenu(form.Handle()), nullptr);
}

TEST(MenuLinkTest, ClientSizeSetBeforeTheWindowExistsLeavesRoomForTheMenuBar) {
  TForm form(nullptr);
  auto* menu = new TFakeMainMenu(&form);
  form.SetMenu(menu);
  form.SetClientWidth(400);
  form.SetClientHeight(250);
  form.Show();
  EXPECT_EQ(form.ClientWidth(), 400);
  EXPECT_EQ(form.ClientHeight(), 250);
  RECT client{};
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.bottom, 250);
}

TEST(MenuLinkTest, ContextMenuAsksTheControlFirstThenShowsItsPopup) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* box = new TBox(&form);
  box->SetName("box");
  box->SetBounds(10, 10, 100, 100);
  box->SetParent(&form);
  auto* popup = new TFakePopup(&form);
  box->SetPopupMenu(popup);
  bool handle = true;
  std::vector<std::string> asked;
  box->OnContextPopup = [&](TObject*, TPoint pos, bool& handled) {
    asked.push_back(Format("%d,%d", {pos.X, pos.Y}));
    handled = handle;
  };
  form.Show();
  const TPoint origin = box->ClientToScreen({0, 0});
  SendMessageW(box->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box->Handle()),
               MAKELPARAM(origin.X + 5, origin.Y + 6));
  EXPECT_TRUE(popup->shown.empty());
  handle = false;
  SendMessageW(box->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box->Handle()),
               MAKELPARAM(origin.X + 5, origin.Y + 6));
  SendMessageW(box->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box->Handle()), MAKELPARAM(-1, -1));
  EXPECT_EQ(asked, (std::vector<std::string>{"5,6", "5,6", "-1,-1"}));
  EXPECT_EQ(popup->shown, (std::vector<std::string>{Format("%d,%d box", {origin.X + 5, origin.Y + 6}),
                                                    Format("%d,%d box", {origin.X, origin.Y})}));
  delete popup;
  EXPECT_EQ(box->PopupMenu(), nullptr);
}

}  // namespace

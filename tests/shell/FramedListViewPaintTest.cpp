// The framed list view on a shown form, driven by messages: state colours and the list's own
// background colours, the custom frame and its hot colour printed into a DIB, disabled items
// drawn on DisabledColor, the sort arrow's direction and its disappearance in a narrow column,
// hot and pressed header sections, check-box events that can refuse, item context menus from
// the keyboard and the right button, and info tips in the list's hint window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "controls/KxCommonColors.h"
#include "shell/KxShellUtils.h"
#include "shell/KxListVw.h"
#include "tests/controls/DibSurface.h"
#include "tests/toolkit/FormFixture.h"
#include "toolkit/ui/MenuLinks.h"

namespace {

constexpr COLORREF kMarker = 0x3C14DC;
constexpr TColor kRed = static_cast<TColor>(0x0000FF);
constexpr TColor kBlue = static_cast<TColor>(0xFF0000);
constexpr TColor kDisabled = static_cast<TColor>(0x40C0F0);

// A popup menu that records where it was asked to show.
class TRecordingMenu : public TComponent, public TPopupMenuLink {
 public:
  using TComponent::TComponent;
  bool AutoPopup() const override { return true; }
  void Popup(int x, int y, TObject* component) override {
    shown.push_back(TPoint{x, y});
    for_ = component;
  }
  std::vector<TPoint> shown;
  TObject* for_ = nullptr;
};

class FramedListViewPaintTest : public FormFixture {
 protected:
  // Hover, info tips and label clicks are driven by messages; the real pointer stays away.
  void SetUp() override {
    ParkMousePointer();
    FormFixture::SetUp();
  }
  void TearDown() override {
    SetWheelScrollLinesQuery(nullptr);
    SetKxVisualStylesQuery(nullptr);
    SetKxForegroundQuery(nullptr);
    FormFixture::TearDown();
  }
  TKxCustomListView* List(std::initializer_list<const char*> captions = {"alpha", "beta", "gamma"}) {
    auto* list = Add<TKxCustomListView>(10, 10, 300, 200);
    list->HandleNeeded();
    list->AddColumn("Name", 120);
    list->AddColumn("Kind", 80);
    for (const char* caption : captions) list->AddItem(caption)->SubItems().push_back("k");
    return list;
  }
  static int Count(const TDibSurface& dib, const TRect& r, COLORREF color) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += dib.Pixel(x, y) == color;
    return n;
  }
};

TEST_F(FramedListViewPaintTest, StateColoursReachTheListsOwnBackground) {
  TKxCustomListView* list = List();
  list->SetColor(clYellow);
  EXPECT_EQ(list->FocusColor(), clYellow);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list->Handle(), LVM_GETBKCOLOR, 0, 0)), ColorToRGB(clYellow));
  list->SetFocusColor(clAqua);
  list->SetDisabledColor(kDisabled);
  list->SetEnabled(false);
  EXPECT_EQ(list->Color(), kDisabled);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list->Handle(), LVM_GETBKCOLOR, 0, 0)), ColorToRGB(kDisabled));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list->Handle(), LVM_GETTEXTBKCOLOR, 0, 0)), ColorToRGB(kDisabled));
  EXPECT_EQ(list->NormalColor(), clYellow) << "a state colour never becomes the normal colour";
  list->SetEnabled(true);
  EXPECT_EQ(list->Color(), clYellow);
  list->Perform(CM_ENTER, 0, 0);
  EXPECT_EQ(list->Color(), clAqua);
  list->Perform(CM_EXIT, 0, 0);
  EXPECT_EQ(list->Color(), clYellow);
}

TEST_F(FramedListViewPaintTest, TheFrameIsPaintedInItsColourAndHotColour) {
  TKxCustomListView* list = List();
  list->SetFramingPreference(fpCustomFraming);
  list->SetFrameColor(kRed);
  list->SetFrameHotColor(kBlue);
  list->SetFrameHotStyle(fsFlat);
  list->SetFrameVisible(true);
  EXPECT_EQ(list->ItemCount(), 3) << "showing the frame keeps the items";
  TDibSurface dib(list->Width(), list->Height(), kMarker);
  auto print = [&] {
    dib.Fill(kMarker);
    list->Perform(WM_PRINT, reinterpret_cast<WPARAM>(dib.DC()), PRF_NONCLIENT);
  };
  print();
  EXPECT_EQ(dib.Pixel(0, 0), ColorToRGB(kRed));
  EXPECT_EQ(dib.Pixel(list->Width() - 1, list->Height() - 1), ColorToRGB(kRed));
  list->SetFrameHotTrack(true);
  EXPECT_TRUE(list->FrameVisible());
  list->Perform(CM_MOUSEENTER, 0, 0);
  print();
  EXPECT_EQ(dib.Pixel(0, 0), ColorToRGB(kBlue));
  list->Perform(CM_MOUSELEAVE, 0, 0);
  print();
  EXPECT_EQ(dib.Pixel(0, 0), ColorToRGB(kRed));
  list->SetFrameVisible(false);
  list->SetFrameHotTrack(false);
  list->SetFrameVisible(false);
  print();
  EXPECT_NE(dib.Pixel(0, 0), ColorToRGB(kRed)) << "no frame of ours when it is not visible";
}

TEST_F(FramedListViewPaintTest, ADisabledListDrawsEveryItemOnTheDisabledColour) {
  TKxCustomListView* list = List();
  list->SetDisabledColor(kDisabled);
  list->Item(1)->SetSelected(true);
  list->SetEnabled(false);
  const TRect row = list->Item(1)->DisplayRect(LVIR_BOUNDS);
  const TRect label = list->Item(1)->DisplayRect(LVIR_LABEL);
  ASSERT_GT(row.Height(), 0);
  TDibSurface dib(list->ClientWidth(), list->ClientHeight(), kMarker);
  list->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.DC()), PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_EQ(Count(dib, row, ColorToRGB(clHighlight)), 0) << "no selection shows";
  EXPECT_GT(Count(dib, label, ColorToRGB(kDisabled)), label.Width() * label.Height() / 2);
  EXPECT_EQ(dib.Pixel(label.Right - 2, label.Top + 1), ColorToRGB(kDisabled));
}

TEST_F(FramedListViewPaintTest, TheSortArrowPointsByDirectionAndHidesInANarrowColumn) {
  TKxCustomListView* list = List();
  list->SetSortDisplayMode(3);
  list->SetSortColumn(0);
  HWND header = list->HeaderHandle();
  RECT section{};
  SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&section));
  // Without visual styles: the section inset by 2, then the text by 4 more on each side.
  const TRect text(section.left + 6, section.top + 2, section.right - 6, section.bottom - 2);
  const TRect base = SortArrowRect(text);
  const TRect arrow(text.Right - base.Width(), base.Top, text.Right, base.Bottom);
  const int h = arrow.Height() * 3 / 4;
  const int w = 2 * h - 1;
  const int top = arrow.Bottom - h;
  const int left = arrow.Left;
  RECT client{};
  GetClientRect(header, &client);
  TDibSurface dib(client.right, client.bottom, kMarker);
  const COLORREF shadow = ColorToRGB(clBtnShadow);
  auto print = [&] {
    dib.Fill(kMarker);
    SendMessageW(header, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.DC()), PRF_CLIENT);
  };
  struct Case {
    const char* name;
    int direction;
    TPoint filled[2];
    TPoint empty;
  } cases[] = {
      {"ascending: apex up", 0, {{left + w / 2, top}, {left, top + h - 1}}, {left, top}},
      {"descending: apex down", 1, {{left, top}, {left + w / 2, top + h - 1}}, {left, top + h - 1}},
  };
  for (const Case& c : cases) {
    list->SetSortDirection(c.direction);
    print();
    for (const TPoint& p : c.filled) EXPECT_EQ(dib.Pixel(p.X, p.Y), shadow) << c.name << " at " << p.X << "," << p.Y;
    EXPECT_NE(dib.Pixel(c.empty.X, c.empty.Y), shadow) << c.name;
  }
  const TRect whole(section.left, section.top, section.right, section.bottom);
  EXPECT_GT(Count(dib, whole, shadow), h);
  list->SetColumnWidth(0, 2 * arrow.Width());
  SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&section));
  const int narrow = section.right - section.left;
  const TRect narrowText(section.left + 6, section.top + 2, section.right - 6, section.bottom - 2);
  ASSERT_FALSE(SortArrowShown(SortArrowRect(narrowText), narrow));
  print();
  EXPECT_EQ(Count(dib, TRect(section.left, section.top, section.right, section.bottom), shadow), 0);
}

TEST_F(FramedListViewPaintTest, HeaderSectionsTurnHotAndPressedOnlyWithVisualStyles) {
  TKxCustomListView* list = List();
  HWND header = list->HeaderHandle();
  RECT second{};
  SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  const LPARAM inSecond = MAKELPARAM((second.left + second.right) / 2, (second.top + second.bottom) / 2);
  SetKxVisualStylesQuery([] { return false; });
  SendMessageW(header, WM_MOUSEMOVE, 0, inSecond);
  EXPECT_EQ(list->HotSection(), -1) << "classic look: no hot section";
  SetKxVisualStylesQuery([] { return true; });
  SendMessageW(header, WM_MOUSEMOVE, 0, inSecond);
  EXPECT_EQ(list->HotSection(), 1);
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, inSecond);
  EXPECT_TRUE(list->SectionPressed());
  SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(list->HotSection(), 1) << "a pressed section stays hot";
  SendMessageW(header, WM_LBUTTONUP, 0, inSecond);
  EXPECT_FALSE(list->SectionPressed());
  SendMessageW(list->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(50, 100));
  EXPECT_EQ(list->HotSection(), -1) << "moving over the items clears it";
}

TEST_F(FramedListViewPaintTest, CheckBoxEventsFireAndMayRefuseTheChange) {
  TKxCustomListView* list = List({"free", "locked"});
  list->SetCheckboxes(true);
  std::vector<std::string> events;
  list->OnCheckStateChanging = [&](TObject*, TListItem* item, bool checked, bool& allow) {
    events.push_back("changing " + item->Caption() + (checked ? " on" : " off"));
    allow = item->Caption() != "locked";
  };
  list->OnCheckStateChange = [&](TObject*, TListItem* item) { events.push_back("changed " + item->Caption()); };
  list->Item(0)->SetChecked(true);
  list->Item(1)->SetChecked(true);
  EXPECT_TRUE(list->Item(0)->Checked());
  EXPECT_FALSE(list->Item(1)->Checked());
  EXPECT_EQ(events, (std::vector<std::string>{"changing free on", "changed free", "changing locked on"}));
  events.clear();
  list->Item(0)->SetChecked(false);
  EXPECT_EQ(events, (std::vector<std::string>{"changing free off", "changed free"}));
}

TEST_F(FramedListViewPaintTest, ItemMenusOpenFromTheKeyboardAndTheRightButton) {
  TKxCustomListView* list = List();
  auto* menu = new TRecordingMenu(form_);
  std::vector<std::string> items;
  std::vector<TPoint> points;
  list->OnItemContextMenu = [&](TObject*, TListItem* item, TPoint& point, TComponent*& shown) {
    items.push_back(item ? item->Caption() : "(none)");
    points.push_back(point);
    shown = menu;
  };
  SendMessageW(list->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list->Handle()), -1);
  EXPECT_TRUE(items.empty()) << "nothing selected: no item menu";

  list->Item(1)->SetSelected(true);
  list->Item(1)->SetFocused(true);
  const TRect icon = list->Item(1)->DisplayRect(LVIR_ICON);
  const TPoint centre{(icon.Left + icon.Right) / 2, (icon.Top + icon.Bottom) / 2};
  SendMessageW(list->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list->Handle()), -1);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0], "beta");
  EXPECT_EQ(points[0], centre);
  ASSERT_EQ(menu->shown.size(), 1u);
  EXPECT_EQ(menu->shown[0], list->ClientToScreen(centre));
  EXPECT_EQ(menu->for_, list);

  list->Perform(WM_KEYDOWN, VK_APPS, 0);
  ASSERT_EQ(items.size(), 2u) << "the application key";
  EXPECT_EQ(points[1], centre);
  SendMessageW(list->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list->Handle()), -1);
  EXPECT_EQ(items.size(), 2u) << "the key's own context-menu message finds its menu shown";

  const TPoint screen = list->ClientToScreen(TPoint{40, 60});
  SendMessageW(list->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list->Handle()),
               MAKELPARAM(screen.X, screen.Y));
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(points[2], (TPoint{40, 60}));

  NMITEMACTIVATE click{};
  click.hdr.hwndFrom = list->Handle();
  click.hdr.code = NM_RCLICK;
  click.iItem = 1;
  click.ptAction = {33, 44};
  list->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(points[3], (TPoint{33, 44}));
  SendMessageW(list->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list->Handle()), -1);
  EXPECT_EQ(items.size(), 4u) << "the menu of that click was shown already";
}

TEST_F(FramedListViewPaintTest, InfoTipsShowBelowTheItemAndHideOffItems) {
  TKxCustomListView* list = List();
  // Which program is in the foreground is the display's business (other suites run beside this
  // one): the answer is given here.
  bool foreground = false;
  SetKxForegroundQuery([&] { return foreground; });
  list->OnInfoTip = [](TObject*, TListItem*, std::string& tip) { tip = "about " + tip; };
  const TRect bounds = list->Item(2)->DisplayRect(LVIR_BOUNDS);
  SendMessageW(list->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(bounds.Left + 20, bounds.Top + 2));
  EXPECT_TRUE(list->HintWindow() == nullptr || !IsWindowVisible(list->HintWindow())) << "in the background: no tip";
  foreground = true;
  SendMessageW(list->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(bounds.Left + 20, bounds.Top + 2));
  HWND hint = list->HintWindow();
  ASSERT_NE(hint, nullptr);
  EXPECT_TRUE(IsWindowVisible(hint));
  wchar_t text[64] = {};
  GetWindowTextW(hint, text, 64);
  EXPECT_EQ(std::wstring(text), L"about gamma");
  RECT r{};
  GetWindowRect(hint, &r);
  const TPoint corner = list->ClientToScreen(TPoint{bounds.Left, bounds.Top});
  EXPECT_EQ(r.left, corner.X + 5);
  EXPECT_EQ(r.top, corner.Y + bounds.Height() - 3);
  SendMessageW(list->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(250, 190));
  EXPECT_FALSE(IsWindowVisible(hint));
}

TEST_F(FramedListViewPaintTest, WithRowSelectOnlyTheLabelOrTheProgramStartsEditing) {
  TKxCustomListView* list = List();
  list->SetRowSelect(true);
  TListItem* item = list->Item(1);
  const TRect label = item->DisplayRect(LVIR_LABEL);
  POINT cursor{};
  GetCursorPos(&cursor);
  const TPoint at = list->ScreenToClient(TPoint{cursor.x, cursor.y});
  ASSERT_FALSE(at.X >= label.Left && at.X < label.Right && at.Y >= label.Top && at.Y < label.Bottom)
      << "the pointer was parked away from the list";
  NMLVDISPINFOW begin{};
  begin.hdr.hwndFrom = list->Handle();
  begin.hdr.code = LVN_BEGINLABELEDITW;
  begin.item.iItem = 1;
  EXPECT_EQ(list->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&begin)), TRUE) << "a click beside the label";
  list->SetEditOnRowClick(true);
  EXPECT_EQ(list->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&begin)), FALSE) << "editing on row clicks";
  list->SetEditOnRowClick(false);
  EXPECT_TRUE(item->EditCaption()) << "the program itself may always start it";
  EXPECT_TRUE(list->IsEditing());
  SendMessageW(list->Handle(), LVM_CANCELEDITLABEL, 0, 0);
}

TEST_F(FramedListViewPaintTest, TheWheelScrollsByLinesOfTheSmallImageHeight) {
  TKxCustomListView* list = List({});
  for (int i = 0; i < 80; ++i) list->AddItem("item " + std::to_string(i));
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  const int itemHeight = list->Item(0)->DisplayRect(LVIR_BOUNDS).Height();
  ASSERT_GT(itemHeight, 0);
  auto top = [&] { return static_cast<int>(SendMessageW(list->Handle(), LVM_GETTOPINDEX, 0, 0)); };
  SendMessageW(list->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(50, 50));
  // No small images: 16 pixels a line; report view scrolls the nearest whole number of items.
  const int pixels = static_cast<int>(lines) * 16;
  EXPECT_EQ(top(), (pixels + itemHeight / 2) / itemHeight);
  SendMessageW(list->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(WHEEL_DELTA)), MAKELPARAM(50, 50));
  EXPECT_EQ(top(), 0);
}

TEST_F(FramedListViewPaintTest, TheOneScreenWheelSettingScrollsAPageTheWheelsWay) {
  TKxCustomListView* list = List({});
  for (int i = 0; i < 80; ++i) list->AddItem("item " + std::to_string(i));
  SetWheelScrollLinesQuery([] { return static_cast<UINT>(WHEEL_PAGESCROLL); });
  auto top = [&] { return static_cast<int>(SendMessageW(list->Handle(), LVM_GETTOPINDEX, 0, 0)); };
  const int page = static_cast<int>(SendMessageW(list->Handle(), LVM_GETCOUNTPERPAGE, 0, 0));
  ASSERT_GT(page, 1);
  SendMessageW(list->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(50, 50));
  EXPECT_EQ(top(), page) << "one notch down shows the next screen";
  SendMessageW(list->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-2 * WHEEL_DELTA)), MAKELPARAM(50, 50));
  EXPECT_EQ(top(), 3 * page);
  SendMessageW(list->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(WHEEL_DELTA)), MAKELPARAM(50, 50));
  EXPECT_EQ(top(), 2 * page) << "one notch up goes a screen back";
}

TEST_F(FramedListViewPaintTest, TheLastReportColumnStretchesToTheClientWidth) {
  auto* list = Add<TKxCustomListView>(10, 10, 300, 200);
  list->SetViewStyle(vsReport);
  list->HandleNeeded();
  const int client = list->ClientWidth();
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  struct TCase {
    int first, second;  // widths before stretching
    bool items;
    int stretched;      // the last column's width afterwards
  } cases[] = {
      {100, 50, true, client - 100},
      {100, 50, false, client - 100 - bar},  // an empty list keeps room for the scroll bar
      {client - 3, 50, true, 5},             // four pixels or less left: five
      {client + 20, 50, true, 50},           // nothing left: the width stays
  };
  list->AddColumn("Name", 100);
  list->AddColumn("Size", 50);
  for (const TCase& c : cases) {
    list->ClearItems();
    if (c.items) list->AddItem("one");
    list->SetColumnWidth(0, c.first);
    list->SetColumnWidth(1, c.second);
    list->StretchLastColumn();
    EXPECT_EQ(list->ColumnWidth(1), c.stretched) << c.first << " " << c.items;
  }
  // The end of a divider drag stretches again.
  list->SetColumnWidth(0, 120);
  NMHEADERW note{};
  note.hdr = {list->HeaderHandle(), 0, static_cast<UINT>(HDN_ENDTRACKW)};
  note.iItem = 0;
  SendMessageW(list->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
  EXPECT_EQ(list->ColumnWidth(1), client - 120);
  // Off, nothing stretches.
  list->SetStretchLastColumn(false);
  list->SetColumnWidth(1, 40);
  list->StretchLastColumn();
  EXPECT_EQ(list->ColumnWidth(1), 40);
}

TEST_F(FramedListViewPaintTest, BecomingAReportOwnerDrawsTheHeaderItems) {
  auto* list = Add<TKxCustomListView>(10, 10, 300, 200);
  list->SetViewStyle(vsList);
  list->HandleNeeded();
  list->AddColumn("Name", 100);
  list->AddColumn("Kind", 80);
  list->SetViewStyle(vsReport);
  HWND header = list->HeaderHandle();
  ASSERT_NE(header, nullptr);
  for (int i = 0; i < 2; ++i) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    ASSERT_TRUE(SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)));
    EXPECT_NE(item.fmt & HDF_OWNERDRAW, 0) << i << ": the sort arrow needs owner drawing";
  }
}

}  // namespace

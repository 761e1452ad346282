// The window foundation: alignment and anchors, the WindowProc chain and component messages,
// parent font and colour, mouse routing to non-windowed controls with enter/leave, painting
// into a bitmap, keyboard filtering and dialog-key focus moves, timers. Windows are real
// (Wine on Xvfb); input is sent as window messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PixelHelpers.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/CustomControl.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Themes.h"
#include "toolkit/ui/Timer.h"

namespace {

// A self-drawn windowed control: fills its client area with Color.
class TFillControl : public TCustomControl {
 public:
  explicit TFillControl(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 50, 50); }

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
  }
};

// A control without a window: fills itself with Color.
class TFillGraphic : public TGraphicControl {
 public:
  explicit TFillGraphic(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 20, 20); }

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(Rect(0, 0, Width(), Height()));
  }
};

// The platform's edit box as a control.
class TPlainEdit : public TWinControl {
 public:
  explicit TPlainEdit(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 80, 21);
    SetTabStop(true);
  }

 protected:
  void CreateParams(TCreateParams& params) override {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"EDIT");
    params.Style |= ES_AUTOHSCROLL;
  }
};

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = new TForm(nullptr);
    form->SetClientWidth(300);
    form->SetClientHeight(200);
    Application->SetMessageBoxHook([this](const std::string& text, const std::string&, UINT) {
      boxes.push_back(text);
      return IDOK;
    });
  }
  void TearDown() override {
    delete form;
    Application->SetMessageBoxHook(nullptr);
    Application->ProcessMessages();
  }
  template <class T>
  T* Add(TWinControl* parent, TRect bounds) {
    T* c = new T(form);
    c->SetBoundsRect(bounds);
    c->SetParent(parent);
    return c;
  }
  void ShowForm() {
    form->Show();
    Application->ProcessMessages();
  }
  TForm* form = nullptr;
  std::vector<std::string> boxes;
};

TEST_F(ControlTest, AlignedChildrenShareTheClientAreaAndFollowResizes) {
  auto* top = Add<TFillControl>(form, Rect(0, 0, 10, 30));
  top->SetAlign(alTop);
  auto* bottom = Add<TFillControl>(form, Rect(0, 0, 10, 20));
  bottom->SetAlign(alBottom);
  auto* left = Add<TFillControl>(form, Rect(0, 0, 50, 10));
  left->SetAlign(alLeft);
  auto* right = Add<TFillGraphic>(form, Rect(0, 0, 40, 10));
  right->SetAlign(alRight);
  auto* client = Add<TFillControl>(form, Rect(0, 0, 10, 10));
  client->SetAlign(alClient);
  auto check = [&](int w, int h) {
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, w, 30));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, h - 20, w, h));
    EXPECT_EQ(left->BoundsRect(), Rect(0, 30, 50, h - 20));
    EXPECT_EQ(right->BoundsRect(), Rect(w - 40, 30, w, h - 20));
    EXPECT_EQ(client->BoundsRect(), Rect(50, 30, w - 40, h - 20));
  };
  {
    SCOPED_TRACE("before the window exists");
    check(300, 200);
  }
  ShowForm();
  {
    SCOPED_TRACE("shown");
    EXPECT_EQ(form->ClientWidth(), 300);
    check(300, 200);
  }
  form->SetClientWidth(420);
  form->SetClientHeight(260);
  {
    SCOPED_TRACE("resized");
    check(420, 260);
    RECT r{};
    GetWindowRect(client->Handle(), &r);
    MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(TRect(r), Rect(50, 30, 380, 240));
  }
}

TEST_F(ControlTest, AnchorsKeepTheirDistancesWhenTheParentGrows) {
  auto* corner = Add<TFillControl>(form, Rect(250, 150, 290, 170));
  corner->SetAnchors({akRight, akBottom});
  auto* stretch = Add<TFillGraphic>(form, Rect(10, 10, 290, 30));
  stretch->SetAnchors({akLeft, akTop, akRight});
  auto* fixed = Add<TFillGraphic>(form, Rect(10, 40, 30, 60));
  ShowForm();
  form->SetClientWidth(400);
  form->SetClientHeight(250);
  EXPECT_EQ(corner->BoundsRect(), Rect(350, 200, 390, 220));
  EXPECT_EQ(stretch->BoundsRect(), Rect(10, 10, 390, 30));
  EXPECT_EQ(fixed->BoundsRect(), Rect(10, 40, 30, 60));
}

TEST_F(ControlTest, BorderStyleChangeRemakesAShownFormStillShown) {
  auto* child = Add<TFillControl>(form, Rect(10, 10, 60, 60));
  ShowForm();
  HWND before = form->Handle();
  form->SetBorderStyle(bsDialog);
  EXPECT_NE(form->Handle(), before);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  EXPECT_TRUE(IsWindowVisible(child->Handle()));
  EXPECT_EQ(GetParent(child->Handle()), form->Handle());
  EXPECT_TRUE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
  EXPECT_FALSE(GetWindowLongW(form->Handle(), GWL_STYLE) & WS_THICKFRAME);
}

TEST_F(ControlTest, WindowProcChainSeesTheComponentMessagesAndPassesThemOn) {
  auto* control = Add<TFillControl>(form, Rect(0, 0, 50, 50));
  std::vector<UINT> seen;
  const TWndMethod previous = control->WindowProc();
  control->SetWindowProc([&](TMessage& m) {
    seen.push_back(m.Msg);
    previous(m);
  });
  control->SetEnabled(false);
  control->SetColor(clRed);
  control->SetText("abc");
  control->Font()->SetStyle({fsBold});
  control->Perform(CM_MOUSEENTER);
  control->Perform(CM_MOUSELEAVE);
  for (UINT msg : {CM_ENABLEDCHANGED, CM_COLORCHANGED, CM_TEXTCHANGED, CM_FONTCHANGED, CM_MOUSEENTER, CM_MOUSELEAVE})
    EXPECT_NE(std::find(seen.begin(), seen.end(), msg), seen.end()) << std::hex << msg;
  // Passed on: the changes took effect.
  EXPECT_FALSE(control->Enabled());
  EXPECT_EQ(control->Text(), "abc");
  ShowForm();
  EXPECT_FALSE(IsWindowEnabled(control->Handle()));
  EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_PAINT)), seen.end());
  control->SetWindowProc(previous);  // the hook refers to locals of this test
}

TEST_F(ControlTest, ChildrenFollowTheParentFontAndColourUntilGivenTheirOwn) {
  auto* panel = Add<TFillControl>(form, Rect(0, 0, 100, 100));
  auto* child = Add<TFillGraphic>(panel, Rect(0, 0, 10, 10));
  panel->Font()->SetName("Arial");
  panel->Font()->SetHeight(-20);
  panel->SetColor(clYellow);
  child->SetParentColor(true);
  panel->SetColor(clAqua);
  EXPECT_EQ(child->Font()->Name(), "Arial");
  EXPECT_EQ(child->Font()->Height(), -20);
  EXPECT_TRUE(child->ParentFont());
  EXPECT_EQ(child->Color(), clAqua);
  child->Font()->SetHeight(-9);
  EXPECT_FALSE(child->ParentFont());
  panel->Font()->SetHeight(-30);
  EXPECT_EQ(child->Font()->Height(), -9);
  child->SetParentFont(true);
  EXPECT_EQ(child->Font()->Height(), -30);
}

TEST_F(ControlTest, MouseMessagesReachNonWindowedChildrenInTheirOwnCoordinates) {
  auto* graphic = Add<TFillGraphic>(form, Rect(40, 50, 80, 70));
  std::vector<std::string> events;
  graphic->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
    events.push_back(Format("down %d %d,%d", {static_cast<int>(b), x, y}));
  };
  graphic->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
    events.push_back(Format("up %d,%d", {x, y}));
  };
  graphic->OnClick = [&](TObject*) { events.push_back("click"); };
  form->OnClick = [&](TObject*) { events.push_back("form click"); };
  ShowForm();
  HWND hwnd = form->Handle();
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(45, 55));
  SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(46, 56));
  // Released outside: no click.
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(45, 55));
  SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(150, 150));
  // On the form itself.
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  // As the toolkit always did: the click comes before the up event.
  const std::vector<std::string> expected = {"down 0 5,5", "click", "up 6,6", "down 0 5,5", "up 110,100", "form click"};
  EXPECT_EQ(events, expected);
}

TEST_F(ControlTest, MouseEnterAndLeaveFollowTheControlUnderTheMouse) {
  auto* a = Add<TFillGraphic>(form, Rect(10, 10, 30, 30));
  auto* b = Add<TFillControl>(form, Rect(100, 10, 150, 60));
  std::vector<std::string> events;
  a->OnMouseEnter = [&](TObject*) { events.push_back("enter a"); };
  a->OnMouseLeave = [&](TObject*) { events.push_back("leave a"); };
  b->OnMouseEnter = [&](TObject*) { events.push_back("enter b"); };
  b->OnMouseLeave = [&](TObject*) { events.push_back("leave b"); };
  ShowForm();
  SendMessageW(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
  SendMessageW(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(16, 15));
  SendMessageW(b->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  SendMessageW(b->Handle(), WM_MOUSELEAVE, 0, 0);
  const std::vector<std::string> expected = {"enter a", "leave a", "enter b", "leave b"};
  EXPECT_EQ(events, expected);
  EXPECT_EQ(Application->MouseControl(), nullptr);
}

TEST_F(ControlTest, LeavingTheFormForAChildWindowDoesNotLeaveTheChild) {
  auto* child = Add<TFillControl>(form, Rect(100, 10, 150, 60));
  std::vector<std::string> events;
  child->OnMouseEnter = [&](TObject*) { events.push_back("enter child"); };
  child->OnMouseLeave = [&](TObject*) { events.push_back("leave child"); };
  form->OnMouseLeave = [&](TObject*) { events.push_back("leave form"); };
  ShowForm();
  SendMessageW(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  SendMessageW(child->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  SendMessageW(form->Handle(), WM_MOUSELEAVE, 0, 0);  // the platform reports the form left
  EXPECT_EQ(events, (std::vector<std::string>{"leave form", "enter child"}));
  EXPECT_EQ(Application->MouseControl(), child);
}

TEST_F(ControlTest, SystemColourChangeReachesEveryControl) {
  auto* panel = Add<TFillControl>(form, Rect(0, 0, 100, 100));
  auto* inner = Add<TFillGraphic>(panel, Rect(0, 0, 10, 10));
  int seen = 0;
  const TWndMethod previous = inner->WindowProc();
  inner->SetWindowProc([&](TMessage& m) {
    if (m.Msg == CM_SYSCOLORCHANGE) ++seen;
    previous(m);
  });
  ShowForm();
  SendMessageW(form->Handle(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(seen, 1);
  int themeChanges = 0;
  ThemeServices()->OnThemeChange = [&] { ++themeChanges; };
  SendMessageW(form->Handle(), WM_THEMECHANGED, 0, 0);
  ThemeServices()->OnThemeChange = nullptr;
  EXPECT_EQ(themeChanges, 1);
  inner->SetWindowProc(previous);
}

TEST_F(ControlTest, PaintingDrawsTheControlAndItsNonWindowedChildrenIntoABitmap) {
  auto* panel = Add<TFillControl>(form, Rect(0, 0, 60, 40));
  panel->SetColor(clBlue);
  auto* graphic = Add<TFillGraphic>(panel, Rect(10, 5, 30, 15));
  graphic->SetColor(clRed);
  auto* hidden = Add<TFillGraphic>(panel, Rect(40, 5, 50, 15));
  hidden->SetColor(clLime);
  hidden->SetVisible(false);
  ShowForm();
  TBitmap bitmap;
  MakeCanvasBitmap(bitmap, 60, 40);
  panel->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bitmap.Canvas()->Handle()), 0);
  EXPECT_EQ(InkBounds(bitmap, [](TColor c) { return c == clRed; }), Rect(10, 5, 30, 15));
  EXPECT_EQ(CountPixels(bitmap, [](TColor c) { return c == clBlue; }), 60 * 40 - 20 * 10);
  EXPECT_EQ(CountPixels(bitmap, [](TColor c) { return c == clLime; }), 0);
}

// A control whose window class keeps its own DC, as the chart panel's does.
class TOwnDCControl : public TFillControl {
 public:
  explicit TOwnDCControl(TComponent* owner) : TFillControl(owner) {}

 protected:
  void CreateParams(TCreateParams& params) override {
    TFillControl::CreateParams(params);
    params.WindowClass.style |= CS_OWNDC;
    params.WinClassName = L"TOwnDCControl";
  }
};

TEST_F(ControlTest, CanvasOutsidePaintingLeavesAnOwnDCAsItFoundIt) {
  auto* control = Add<TOwnDCControl>(form, Rect(0, 0, 60, 40));
  auto* graphic = Add<TFillGraphic>(control, Rect(10, 10, 20, 20));
  ShowForm();
  HDC own = GetDC(control->Handle());
  POINT origin{};
  GetViewportOrgEx(own, &origin);
  HGDIOBJ pen = GetCurrentObject(own, OBJ_PEN);
  const int rop = GetROP2(own);
  ReleaseDC(control->Handle(), own);
  TCanvas* canvas = control->Canvas();
  canvas->Pen()->SetColor(clRed);
  canvas->Pen()->SetMode(pmXor);
  canvas->MoveTo(0, 0);
  canvas->LineTo(5, 5);
  EXPECT_EQ(canvas->Handle(), own);  // drawing went to the class DC
  static_cast<TControlCanvas*>(canvas)->FreeHandle();
  graphic->Canvas()->Brush()->SetColor(clRed);
  graphic->Canvas()->FillRect(Rect(0, 0, 5, 5));  // through the parent's own DC, moved
  static_cast<TControlCanvas*>(graphic->Canvas())->FreeHandle();
  own = GetDC(control->Handle());
  POINT after{};
  GetViewportOrgEx(own, &after);
  EXPECT_EQ(after.x, origin.x);
  EXPECT_EQ(after.y, origin.y);
  EXPECT_EQ(GetCurrentObject(own, OBJ_PEN), pen);
  EXPECT_EQ(GetROP2(own), rop);
  ReleaseDC(control->Handle(), own);
}

TEST_F(ControlTest, DoubleBufferedControlPaintsThroughTheScreen) {
  auto* panel = Add<TFillControl>(form, Rect(0, 0, 60, 40));
  panel->SetColor(clBlue);
  panel->SetDoubleBuffered(true);
  auto* graphic = Add<TFillGraphic>(panel, Rect(10, 5, 30, 15));
  graphic->SetColor(clRed);
  // Read back from the screen: keep the form above other test processes' windows.
  form->SetBounds(900, 700, form->Width(), form->Height());
  ShowForm();
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  panel->Repaint();
  TWindowDC dc(panel->Handle());
  EXPECT_EQ(GetPixel(dc.Get(), 15, 10), ColorToRGB(clRed));
  EXPECT_EQ(GetPixel(dc.Get(), 45, 30), ColorToRGB(clBlue));
}

TEST_F(ControlTest, PaintToDrawsTheWholeTreeIntoABitmap) {
  form->SetColor(clWhite);
  auto* panel = Add<TFillControl>(form, Rect(10, 10, 70, 50));
  panel->SetColor(clBlue);
  auto* inner = Add<TFillControl>(panel, Rect(5, 5, 15, 15));
  inner->SetColor(clYellow);
  auto* graphic = Add<TFillGraphic>(form, Rect(100, 10, 120, 20));
  graphic->SetColor(clRed);
  TBitmap bitmap;
  MakeCanvasBitmap(bitmap, 300, 200);
  form->PaintTo(bitmap.Canvas()->Handle(), 0, 0);  // never shown
  EXPECT_EQ(InkBounds(bitmap, [](TColor c) { return c == clBlue; }), Rect(10, 10, 70, 50));
  EXPECT_EQ(InkBounds(bitmap, [](TColor c) { return c == clYellow; }), Rect(15, 15, 25, 25));
  EXPECT_EQ(InkBounds(bitmap, [](TColor c) { return c == clRed; }), Rect(100, 10, 120, 20));
  EXPECT_FALSE(form->Visible());
}

TEST_F(ControlTest, UnhandledWheelGoesToTheParent) {
  auto* panel = Add<TFillControl>(form, Rect(0, 0, 100, 100));
  auto* child = Add<TFillControl>(panel, Rect(10, 10, 50, 50));
  std::vector<std::string> events;
  child->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool& handled) {
    events.push_back("child up");
    handled = true;
  };
  panel->OnMouseWheel = [&](TObject*, TShiftState shift, int delta, TPoint pos, bool& handled) {
    events.push_back(Format("panel %d at %d,%d%s", {delta, pos.X, pos.Y, shift.Contains(ssCtrl) ? " ctrl" : ""}));
    handled = true;
  };
  ShowForm();
  SendMessageW(child->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(20, 30));
  SendMessageW(child->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -WHEEL_DELTA), MAKELPARAM(21, 31));
  EXPECT_EQ(events, (std::vector<std::string>{"child up", "panel -120 at 21,31 ctrl"}));
}

TEST(AccelTest, CaptionsMarkTheirAcceleratorWithAnAmpersand) {
  struct Case {
    const char* caption;
    wchar_t key;
    bool expected;
  };
  const Case cases[] = {{"&Start", L's', true}, {"&Start", L'S', true},  {"St&op", L'o', true},
                        {"Start", L's', false}, {"&&Start", L's', false}, {"A && &B", L'b', true},
                        {"&", L'&', false},     {"", L'a', false}};
  for (const Case& c : cases) EXPECT_EQ(IsAccel(c.key, c.caption), c.expected) << c.caption << " " << static_cast<char>(c.key);
}

TEST_F(ControlTest, KeyPressCanSwallowCharacters) {
  auto* edit = Add<TPlainEdit>(form, Rect(10, 10, 100, 31));
  std::vector<WORD> downs;
  edit->OnKeyPress = [](TObject*, wchar_t& key) {
    if (key < L'0' || key > L'9') key = 0;
  };
  edit->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { downs.push_back(key); };
  ShowForm();
  for (wchar_t ch : std::wstring(L"1a2-3")) SendMessageW(edit->Handle(), WM_CHAR, ch, 1);
  SendMessageW(edit->Handle(), WM_KEYDOWN, VK_F2, 1);
  EXPECT_EQ(edit->Text(), "123");
  EXPECT_EQ(downs, std::vector<WORD>{VK_F2});
}

// Other test processes share the display and may hold the platform's focus, so the focus
// arriving is sent as WM_SETFOCUS and the tab key's decision is read from ActiveControl.
TEST_F(ControlTest, TabKeyChoosesTheNextControlInTabOrder) {
  auto* first = Add<TPlainEdit>(form, Rect(10, 10, 100, 31));
  auto* second = Add<TPlainEdit>(form, Rect(10, 40, 100, 61));
  auto* third = Add<TPlainEdit>(form, Rect(10, 70, 100, 91));
  auto* disabled = Add<TPlainEdit>(form, Rect(10, 100, 100, 121));
  disabled->SetEnabled(false);
  third->SetTabOrder(0);  // order: third, first, second, (disabled)
  ShowForm();
  SendMessageW(first->Handle(), WM_SETFOCUS, 0, 0);
  EXPECT_EQ(form->ActiveControl(), first);
  EXPECT_EQ(first->Perform(CN_KEYDOWN, VK_TAB, 1), 1);  // taken as a dialog key
  EXPECT_EQ(form->ActiveControl(), second);
  SendMessageW(second->Handle(), WM_SETFOCUS, 0, 0);
  second->Perform(CN_KEYDOWN, VK_TAB, 1);
  EXPECT_EQ(form->ActiveControl(), third);  // wraps, skipping the disabled control
  // An ordinary key is not a dialog key.
  EXPECT_EQ(third->Perform(CN_KEYDOWN, 'A', 1), 0);
}

TEST_F(ControlTest, FocusMovesSendExitToTheOldControlAndEnterToTheNew) {
  auto* group = Add<TFillControl>(form, Rect(0, 0, 150, 150));
  auto* inner = Add<TPlainEdit>(group, Rect(10, 10, 100, 31));
  auto* outer = Add<TPlainEdit>(form, Rect(160, 10, 250, 31));
  std::vector<std::string> events;
  group->OnEnter = [&](TObject*) { events.push_back("enter group"); };
  group->OnExit = [&](TObject*) { events.push_back("exit group"); };
  inner->OnEnter = [&](TObject*) { events.push_back("enter inner"); };
  inner->OnExit = [&](TObject*) { events.push_back("exit inner"); };
  outer->OnEnter = [&](TObject*) { events.push_back("enter outer"); };
  outer->OnExit = [&](TObject*) { events.push_back("exit outer"); };
  ShowForm();
  SendMessageW(outer->Handle(), WM_SETFOCUS, 0, 0);
  events.clear();
  SendMessageW(inner->Handle(), WM_SETFOCUS, 0, 0);
  SendMessageW(outer->Handle(), WM_SETFOCUS, 0, 0);
  SendMessageW(inner->Handle(), WM_SETFOCUS, 0, 0);
  const std::vector<std::string> expected = {"exit outer", "enter group", "enter inner", "exit inner",
                                             "exit group", "enter outer", "exit outer", "enter group",
                                             "enter inner"};
  EXPECT_EQ(events, expected);
  EXPECT_EQ(form->ActiveControl(), inner);
}

TEST_F(ControlTest, ExceptionInAHandlerGoesToTheErrorBoxAndMessagesGoOn) {
  auto* graphic = Add<TFillGraphic>(form, Rect(0, 0, 20, 20));
  int clicks = 0;
  graphic->OnClick = [&](TObject*) {
    ++clicks;
    throw EConvertError("'x' is not a valid integer value");
  };
  ShowForm();
  PostMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PostMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Application->ProcessMessages();
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(boxes, (std::vector<std::string>{"'x' is not a valid integer value.", "'x' is not a valid integer value."}));
}

TEST_F(ControlTest, AbortIsSilentAndOnExceptionReplacesTheBox) {
  auto* graphic = Add<TFillGraphic>(form, Rect(0, 0, 20, 20));
  bool abort = true;
  graphic->OnClick = [&](TObject*) {
    if (abort) throw EAbort();
    throw Exception("Handled elsewhere");
  };
  ShowForm();
  SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(boxes.empty());
  std::string reported;
  TObject* sender = nullptr;
  Application->OnException = [&](TObject* s, const std::exception& e) {
    reported = e.what();
    sender = s;
  };
  abort = false;
  SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Application->OnException = nullptr;
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(reported, "Handled elsewhere");
  EXPECT_EQ(sender, form);  // the control whose window received the message
}

TEST_F(ControlTest, TimerCallsOnTimerForItsMessageAndReportsFailures) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetOnTimer([&](TObject*) {
    ++ticks;
    if (ticks == 2) throw Exception("tick failed");
  });
  SendMessageW(timer.Handle(), WM_TIMER, 1, 0);
  SendMessageW(timer.Handle(), WM_TIMER, 1, 0);
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(boxes, std::vector<std::string>{"tick failed."});
}

}  // namespace

namespace {

TEST(ControlLifetimeTest, DestroyedChildrenLeaveTheirParentAndTheForm) {
  TForm form(nullptr);
  auto* panel = new TFillControl(&form);
  panel->SetParent(&form);
  auto* edit = new TPlainEdit(&form);
  edit->SetParent(panel);
  auto* other = new TPlainEdit(&form);
  other->SetParent(&form);
  SendMessageW(edit->Handle(), WM_SETFOCUS, 0, 0);
  ASSERT_EQ(form.ActiveControl(), edit);
  delete panel;  // takes the edit with it
  EXPECT_EQ(form.ActiveControl(), nullptr);
  EXPECT_EQ(form.ControlCount(), 1);
  EXPECT_EQ(form.TabList(), std::vector<TWinControl*>{other});
  EXPECT_EQ(form.ComponentCount(), 1);
  delete other;
  EXPECT_TRUE(form.TabList().empty());
}

}  // namespace

// Forms from layouts: a form whose layout (the text form in an RCDATA resource named after its
// class) makes a panel aligned left, a button and a label; the layout's alignment and anchors
// hold after a resize; a button click reaches the handler named in the layout, which closes
// the modal form with a result; an exception in a handler reaches the error box and the modal
// loop goes on. Input is sent as window messages under Xvfb.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/CustomControl.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/FormLayout.h"
#include "toolkit/ui/Timer.h"

namespace {

// Stand-ins for the standard controls, enough for a layout to name them.
class TTestPanel : public TCustomControl {
 public:
  explicit TTestPanel(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
  }
  static const TClassInfo& StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TTestPanel>("TTestPanel", &TCustomControl::StaticClass())
            .Property("Caption", [](TTestPanel& c) { return c.Caption(); },
                      [](TTestPanel& c, const std::string& v) { c.SetCaption(v); })
            .Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
  }
};

class TTestButton : public TWinControl {
 public:
  explicit TTestButton(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetControlStyle({csSetCaption, csDoubleClicks});
  }
  static const TClassInfo& StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TTestButton>("TTestButton", &TWinControl::StaticClass())
            .Property("Caption", [](TTestButton& c) { return c.Caption(); },
                      [](TTestButton& c, const std::string& v) { c.SetCaption(v); })
            .Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }

 protected:
  void CreateParams(TCreateParams& params) override {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"BUTTON");
    params.Style |= BS_PUSHBUTTON;
  }
  void Dispatch(TMessage& message) override {
    if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == BN_CLICKED) {
      Click();
      return;
    }
    TWinControl::Dispatch(message);
  }
};

class TTestLabel : public TGraphicControl {
 public:
  explicit TTestLabel(TComponent* owner) : TGraphicControl(owner) {}
  static const TClassInfo& StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TTestLabel>("TTestLabel", &TGraphicControl::StaticClass())
            .Property("Caption", [](TTestLabel& c) { return c.Caption(); },
                      [](TTestLabel& c, const std::string& v) { c.SetCaption(v); })
            .Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }

 protected:
  void Paint() override { Canvas()->TextOut(0, 0, Caption()); }
};

// The form the layout describes; its handlers are registered by name.
class TLayoutTestForm : public TForm {
 public:
  explicit TLayoutTestForm(TComponent* owner) : TForm(owner) {}
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassBuilder<TLayoutTestForm>("TLayoutTestForm", &TForm::StaticClass())
                                       .Method("FormCreate", &TLayoutTestForm::FormCreate)
                                       .Method("FormCloseQuery", &TLayoutTestForm::FormCloseQuery)
                                       .Method("FormClose", &TLayoutTestForm::FormClose)
                                       .Method("btnOkClick", &TLayoutTestForm::btnOkClick)
                                       .Method("tmrTickTimer", &TLayoutTestForm::tmrTickTimer)
                                       .Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TTestPanel* pnlSide = nullptr;
  TTestButton* btnOk = nullptr;
  TTestLabel* lblInfo = nullptr;
  TTimer* tmrTick = nullptr;

  std::vector<std::string> log;
  int refuseCloses = 0;  // how many close requests FormCloseQuery refuses
  int failingClicks = 0;  // how many clicks raise before one closes

  void FormCreate(TObject*) { log.push_back("create, label " + lblInfo->Caption()); }
  void FormCloseQuery(TObject*, bool& canClose) {
    canClose = refuseCloses == 0;
    if (refuseCloses > 0) --refuseCloses;
    log.push_back(canClose ? "close query yes" : "close query no");
  }
  void FormClose(TObject*, TCloseAction& action) {
    log.push_back(action == caHide ? "close hide" : "close other");
  }
  void btnOkClick(TObject* sender) {
    log.push_back(sender == btnOk ? "click ok" : "click from elsewhere");
    if (failingClicks > 0) {
      --failingClicks;
      throw EConvertError("'' is not a valid integer value");
    }
    SetModalResult(mrOk);
  }
  void tmrTickTimer(TObject*) { log.push_back("tick"); }

 protected:
  void Loaded() override {
    TForm::Loaded();
    Bind(pnlSide, "pnlSide");
    Bind(btnOk, "btnOk");
    Bind(lblInfo, "lblInfo");
    Bind(tmrTick, "tmrTick");
  }
};

// A form without fields, for layouts of any content.
class TBareForm : public TForm {
 public:
  explicit TBareForm(TComponent* owner) : TForm(owner) {}
  static const TClassInfo& StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TBareForm>("TBareForm", &TForm::StaticClass()).Method("FormCreate", &TBareForm::FormCreate).Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void FormCreate(TObject*) {}
};

class FormLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterClasses({&TTestPanel::StaticClass(), &TTestButton::StaticClass(), &TTestLabel::StaticClass()});
    Application->SetMessageBoxHook([this](const std::string& text, const std::string& caption, UINT flags) {
      boxes.push_back(text + " | " + caption + ((flags & MB_ICONSTOP) ? " | stop" : ""));
      return IDOK;
    });
    form = new TLayoutTestForm(nullptr);
    form->AfterConstruction();
  }
  void TearDown() override {
    delete form;
    Application->SetMessageBoxHook(nullptr);
    Application->ProcessMessages();
  }
  // What the platform's button sends its parent when clicked (BM_CLICK would need the
  // platform focus, which other test processes on the display may hold).
  void Click() {
    HWND button = form->btnOk->Handle();
    PostMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
  }

  TLayoutTestForm* form = nullptr;
  std::vector<std::string> boxes;
};

TEST_F(FormLayoutTest, LayoutMakesTheComponentsByClassNameWithTheirProperties) {
  EXPECT_EQ(form->Name(), "LayoutTestForm");
  EXPECT_EQ(form->Caption(), "Layout test");
  EXPECT_EQ(form->ClientWidth(), 320);
  EXPECT_EQ(form->ClientHeight(), 200);
  EXPECT_EQ(form->Position(), poScreenCenter);
  EXPECT_EQ(form->pnlSide->Parent(), form);
  EXPECT_EQ(form->pnlSide->Owner(), form);
  EXPECT_EQ(form->pnlSide->Color(), clNavy);
  EXPECT_EQ(form->btnOk->Caption(), "OK");
  EXPECT_EQ(form->btnOk->Anchors(), (TAnchors{akRight, akBottom}));
  EXPECT_EQ(form->lblInfo->Caption(), "Ready");
  EXPECT_EQ(form->lblInfo->Font()->Name(), "MS Sans Serif");  // from the form
  EXPECT_EQ(form->tmrTick->Interval(), 250u);
  EXPECT_FALSE(form->tmrTick->Enabled());
  // OnCreate ran after the layout was read.
  EXPECT_EQ(form->log, std::vector<std::string>{"create, label Ready"});
}

TEST_F(FormLayoutTest, AlignmentAndAnchorsHoldAfterAResize) {
  form->Show();
  Application->ProcessMessages();
  EXPECT_EQ(form->pnlSide->BoundsRect(), Rect(0, 0, 120, 200));
  form->SetClientWidth(500);
  form->SetClientHeight(300);
  Application->ProcessMessages();
  EXPECT_EQ(form->pnlSide->BoundsRect(), Rect(0, 0, 120, 300));
  EXPECT_EQ(form->btnOk->BoundsRect(), Rect(410, 265, 485, 290));
  EXPECT_EQ(form->lblInfo->BoundsRect(), Rect(130, 10, 190, 23));
  RECT r{};
  GetWindowRect(form->btnOk->Handle(), &r);
  MapWindowPoints(nullptr, form->Handle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(TRect(r), Rect(410, 265, 485, 290));
}

TEST_F(FormLayoutTest, ClickReachesTheNamedHandlerAndClosesTheModalFormWithItsResult) {
  form->log.clear();
  Click();
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_FALSE(form->Visible());
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  const std::vector<std::string> expected = {"click ok", "close query yes", "close hide"};
  EXPECT_EQ(form->log, expected);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(FormLayoutTest, RefusedCloseKeepsTheModalLoopRunning) {
  form->log.clear();
  form->refuseCloses = 1;
  Click();
  Click();
  EXPECT_EQ(form->ShowModal(), mrOk);
  const std::vector<std::string> expected = {"click ok", "close query no", "click ok", "close query yes", "close hide"};
  EXPECT_EQ(form->log, expected);
}

TEST_F(FormLayoutTest, ExceptionInAHandlerReachesTheErrorBoxAndTheLoopContinues) {
  form->log.clear();
  form->failingClicks = 1;
  Click();
  Click();
  EXPECT_EQ(form->ShowModal(), mrOk);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "'' is not a valid integer value. | " + Application->Title() + " | stop");
  const std::vector<std::string> expected = {"click ok", "click ok", "close query yes", "close hide"};
  EXPECT_EQ(form->log, expected);
}

TEST_F(FormLayoutTest, TimerFromTheLayoutCallsItsNamedHandler) {
  form->log.clear();
  form->tmrTick->SetEnabled(true);
  SendMessageW(form->tmrTick->Handle(), WM_TIMER, 1, 0);
  EXPECT_EQ(form->log, std::vector<std::string>{"tick"});
}

TEST(FormLayoutReadTest, UnknownClassOrHandlerFailsWithTheReadersError) {
  RegisterClasses({&TTestPanel::StaticClass(), &TTestButton::StaticClass(), &TTestLabel::StaticClass()});
  auto read = [](const std::string& text) {
    TBareForm form(nullptr);
    TMemoryStream stream;
    stream.WriteBuffer(text.data(), static_cast<long long>(text.size()));
    stream.SetPosition(0);
    ReadFormLayout(&form, stream);
    return form.ComponentCount();
  };
  EXPECT_EQ(read("object F: TBareForm\n  OnCreate = FormCreate\n  object p: TTestPanel\n  end\nend\n"), 1);
  EXPECT_THROW(read("object F: TBareForm\n  object p: TNoSuchPanel\n  end\nend\n"), EClassNotFound);
  EXPECT_THROW(read("object F: TBareForm\n  OnCreate = NoSuchHandler\nend\n"), Exception);
  // A layout made at twice the resolution is scaled down to the screen's.
  {
    TBareForm form(nullptr);
    const std::string text =
        "object F: TBareForm\n  ClientHeight = 200\n  ClientWidth = 400\n  Font.Height = -22\n"
        "  PixelsPerInch = 192\n  object p: TTestPanel\n    Left = 20\n    Top = 40\n    Width = 100\n"
        "    Height = 60\n  end\nend\n";
    TMemoryStream stream;
    stream.WriteBuffer(text.data(), static_cast<long long>(text.size()));
    stream.SetPosition(0);
    ReadFormLayout(&form, stream);
    EXPECT_EQ(form.ClientWidth(), 200);
    EXPECT_EQ(form.ClientHeight(), 100);
    EXPECT_EQ(form.Font()->Height(), -11);
    auto* panel = dynamic_cast<TControl*>(form.FindComponent("p"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->BoundsRect(), Rect(10, 20, 60, 50));
    EXPECT_EQ(panel->Font()->Height(), -11);
  }
  // Entries other tools write beside the properties are accepted; anchors inside a panel
  // follow the panel's design size.
  {
    TBareForm form(nullptr);
    const std::string text =
        "object F: TBareForm\n  ClientHeight = 100\n  ClientWidth = 200\n"
        "  object p: TTestPanel\n    Left = 0\n    Top = 0\n    Width = 200\n    Height = 100\n"
        "    Align = alClient\n    ExplicitWidth = 180\n    DesignSize = (\n      200\n      100)\n"
        "    object c: TTestPanel\n      Left = 150\n      Top = 60\n      Width = 40\n      Height = 30\n"
        "      Anchors = [akRight, akBottom]\n      ExplicitLeft = 140\n    end\n  end\nend\n";
    TMemoryStream stream;
    stream.WriteBuffer(text.data(), static_cast<long long>(text.size()));
    stream.SetPosition(0);
    ReadFormLayout(&form, stream);
    form.SetClientWidth(300);
    form.SetClientHeight(150);
    auto* child = dynamic_cast<TControl*>(form.FindComponent("c"));
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->BoundsRect(), Rect(250, 110, 290, 140));
  }
  // The binary form works as well.
  const std::string binary = ObjectTextToBinary("object F: TBareForm\n  Caption = 'x'\nend\n");
  TBareForm form(nullptr);
  TMemoryStream stream;
  stream.WriteBuffer(binary.data(), static_cast<long long>(binary.size()));
  stream.SetPosition(0);
  ReadFormLayout(&form, stream);
  EXPECT_EQ(form.Caption(), "x");
}

}  // namespace

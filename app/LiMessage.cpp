// The progress window, its layout, and the sink's message actions.
#include "app/LiMessage.h"

#include "app/AppGlobals.h"
#include "app/DialogLayouts.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Animate.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Button.h"
#include "toolkit/ui/Label.h"
#include "toolkit/ui/ProgressBar.h"

TLiMessage* ProgressWindow = nullptr;

namespace {

const char kLayout[] = R"(object LiMessage: TLiMessage
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsSingle
  Caption = 'State'
  ClientHeight = 70
  ClientWidth = 661
  Color = clBtnFace
  Position = poMainFormCenter
  OnClose = FormClose
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  object Animate1: TAnimate
    Left = 0
    Top = 0
    Width = 50
    Height = 42
  end
  object lText: TLabel
    Left = 56
    Top = 2
    Width = 510
    Height = 41
    AutoSize = False
    Caption = 'show'
    Layout = tlCenter
    WordWrap = True
  end
  object p: TProgressBar
    Left = 2
    Top = 52
    Width = 657
    Height = 16
    Max = 1000
    BackgroundColor = clMenu
    BarColor = clBlue
    Visible = False
  end
  object BtnStop: TButton
    Left = 574
    Top = 8
    Width = 81
    Height = 33
    Caption = 'Stop(&C)'
    Enabled = False
    Visible = False
    OnClick = BtnStopClick
  end
end
)";

void ProcessPending() {
  if (Application) Application->ProcessMessages();
}

TLiMessage* ProgressWindowNeeded() {
  if (!ProgressWindow) {
    // No owner: a closed window still waiting to free itself must not clash by name with
    // the next one under a common owner.
    auto* window = new TLiMessage(nullptr);
    window->AfterConstruction();
    ProgressWindow = window;
  }
  return ProgressWindow;
}

}  // namespace

const TClassInfo& TLiMessage::StaticClass() {
  static const TClassInfo info = TClassBuilder<TLiMessage>("TLiMessage", &TForm::StaticClass())
                                     .Method("FormCreate", &TLiMessage::FormCreate)
                                     .Method("FormClose", &TLiMessage::FormClose)
                                     .Method("FormDestroy", &TLiMessage::FormDestroy)
                                     .Method("BtnStopClick", &TLiMessage::BtnStopClick)
                                     .Build();
  return info;
}

TLiMessage::TLiMessage(TComponent* owner) : TForm(owner) {}

TLiMessage::~TLiMessage() {
  if (ProgressWindow == this) ProgressWindow = nullptr;
}

void TLiMessage::AfterConstruction() {
  ReadDialogLayout(this, std::string_view(kLayout, sizeof kLayout - 1));
  TForm::AfterConstruction();
}

void TLiMessage::CreateParams(TCreateParams& params) {
  TForm::CreateParams(params);
  params.ExStyle |= WS_EX_TOPMOST;
}

void TLiMessage::FormCreate(TObject*) {
  Bind(Animate1, "Animate1");
  Bind(lText, "lText");
  Bind(p, "p");
  Bind(BtnStop, "BtnStop");
  // The animation is optional: without its file the window shows without it.
  try {
    Animate1->SetFileName(AppPath + "FINDCOMP.AVI");
    Animate1->SetActive(true);
  } catch (const std::exception&) {
  }
}

void TLiMessage::FormClose(TObject*, TCloseAction& action) {
  action = caFree;
  if (ProgressWindow == this) ProgressWindow = nullptr;
  Hide();
}

void TLiMessage::FormDestroy(TObject*) {
  if (ProgressWindow == this) ProgressWindow = nullptr;
}

void TLiMessage::BtnStopClick(TObject*) {
  AbortRequested = 1;
  Close();
}

std::string TLiMessage::LabelText() const { return lText->Caption(); }
void TLiMessage::SetLabelText(const std::string& text) { lText->SetCaption(text); }
bool TLiMessage::GaugeVisible() const { return p->Visible(); }
long long TLiMessage::GaugeMax() const { return p->Max(); }
long long TLiMessage::GaugePosition() const { return p->Position(); }
bool TLiMessage::StopVisible() const { return BtnStop->Visible(); }
bool TLiMessage::StopEnabled() const { return BtnStop->Enabled(); }
bool TLiMessage::Animating() const { return Animate1->Active(); }

void TLiMessage::ShowGauge(long long maximum) {
  p->SetMin(0);
  p->SetMax(static_cast<int>(maximum));
  p->SetVisible(true);
  BtnStop->SetVisible(true);
  BtnStop->SetEnabled(true);
}

void TLiMessage::HideGauge() {
  p->SetVisible(false);
  BtnStop->SetVisible(false);
}

void TLiMessage::StepGauge(int count) { p->SetPosition(p->Position() + count); }

void TLiMessage::ResetGauge() { p->SetPosition(0); }

void ProgressShowGauge(const char* maximumText) {
  const int maximum = StrToInt(maximumText ? maximumText : "");
  TLiMessage* window = ProgressWindowNeeded();
  window->ShowGauge(maximum);
  window->Show();
  ProcessPending();
}

void ProgressShowText(const char* text) {
  TLiMessage* window = ProgressWindowNeeded();
  window->SetLabelText(text ? text : "");
  window->HideGauge();
  window->Show();
  ProcessPending();
}

void StepProgress(int count) {
  if (!ProgressWindow) return;
  ProgressWindow->StepGauge(count);
  ProcessPending();
}

void CloseProgress() {
  if (ProgressWindow) ProgressWindow->Close();
}

void ProgressResetGauge() {
  if (!ProgressWindow) return;
  ProgressWindow->ResetGauge();
  ProcessPending();
}

// The progress window and the sink's message actions.
#include "app/LiMessage.h"

#include "app/AppGlobals.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Application.h"

TLiMessage* ProgressWindow = nullptr;

namespace {

void ProcessPending() {
  if (Application) Application->ProcessMessages();
}

TLiMessage* ProgressWindowNeeded() {
  if (!ProgressWindow) {
    auto* window = new TLiMessage(Application);
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
  SetCaption("State");
  SetBorderStyle(bsSingle);
  SetBorderIcons({});
  SetPosition(poMainFormCenter);
  SetClientWidth(661);
  SetClientHeight(70);
  OnCreate = TNotifyEvent(this, &TLiMessage::FormCreate);
  OnClose = TCloseEvent(this, &TLiMessage::FormClose);
  OnDestroy = TNotifyEvent(this, &TLiMessage::FormDestroy);
  TForm::AfterConstruction();
}

void TLiMessage::CreateParams(TCreateParams& params) {
  TForm::CreateParams(params);
  params.ExStyle |= WS_EX_TOPMOST;
}

void TLiMessage::FormCreate(TObject*) {
  // The animation is optional: a missing or unreadable file leaves the window without it.
  animating_ = FileExists(AppPath + "FINDCOMP.AVI");
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

void TLiMessage::ShowGauge(long long maximum) {
  gaugeMax_ = maximum;
  gaugeVisible_ = true;
  stopVisible_ = true;
  stopEnabled_ = true;
}

void TLiMessage::HideGauge() {
  gaugeVisible_ = false;
  stopVisible_ = false;
}

void TLiMessage::StepGauge(int count) {
  gaugePosition_ += count;
  if (gaugePosition_ > gaugeMax_) gaugePosition_ = gaugeMax_;
}

void TLiMessage::ResetGauge() { gaugePosition_ = 0; }

void ProgressShowGauge(const char* maximumText) {
  const long long maximum = StrToInt64(maximumText ? maximumText : "");
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

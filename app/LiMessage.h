// TLiMessage: the small stay-on-top progress window of long window-thread operations: an
// animation, a text, a gauge and a stop button. It is created, updated and closed only by the
// progress sink's handler (ProgressShow... below, on the sink's messages); the stop button
// sets AbortRequested and closes it. A closed window frees itself, and the module's reference
// is cleared as it closes, so a later step or reset message finds no window.
#pragma once

#include <string>

#include "toolkit/ui/Form.h"

class TLiMessage : public TForm {
 public:
  explicit TLiMessage(TComponent* owner);
  ~TLiMessage() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  void AfterConstruction() override;

  // What the window shows (the controls' state).
  std::string LabelText() const { return text_; }
  void SetLabelText(const std::string& text) { text_ = text; }
  bool GaugeVisible() const { return gaugeVisible_; }
  long long GaugeMax() const { return gaugeMax_; }
  long long GaugePosition() const { return gaugePosition_; }
  bool StopVisible() const { return stopVisible_; }
  bool StopEnabled() const { return stopEnabled_; }
  bool Animating() const { return animating_; }

  void ShowGauge(long long maximum);
  void HideGauge();
  void StepGauge(int count);
  void ResetGauge();

  // Handlers.
  void FormCreate(TObject* sender);
  void FormClose(TObject* sender, TCloseAction& action);
  void FormDestroy(TObject* sender);
  void BtnStopClick(TObject* sender);

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  std::string text_ = "show";
  bool gaugeVisible_ = false;
  long long gaugeMax_ = 1000;
  long long gaugePosition_ = 0;
  bool stopVisible_ = false;
  bool stopEnabled_ = false;
  bool animating_ = false;
};

// The progress window, or null when none exists.
extern TLiMessage* ProgressWindow;

// The sink's five messages (window thread). Show... create the window when there is none.
// ProgressShowGauge raises EConvertError when `maximumText` is not a number.
void ProgressShowGauge(const char* maximumText);
void ProgressShowText(const char* text);
void StepProgress(int count);
void CloseProgress();
void ProgressResetGauge();

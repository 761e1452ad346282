// TLiMessage: the small stay-on-top progress window of long window-thread operations: an
// animation, a text, a gauge and a stop button. It is created, updated and closed only by the
// progress sink's handler (ProgressShow... below, on the sink's messages); the stop button
// sets AbortRequested and closes it. A closed window frees itself, and the module's reference
// is cleared as it closes, so a later step or reset message finds no window.
#pragma once

#include <string>

#include "toolkit/ui/Form.h"

class TAnimate;
class TButton;
class TLabel;
class TProgressBar;

class TLiMessage : public TForm {
 public:
  explicit TLiMessage(TComponent* owner);
  ~TLiMessage() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // Reads the window's layout, then fires OnCreate.
  void AfterConstruction() override;

  TAnimate* Animate1 = nullptr;
  TLabel* lText = nullptr;
  TProgressBar* p = nullptr;
  TButton* BtnStop = nullptr;

  // What the window shows.
  std::string LabelText() const;
  void SetLabelText(const std::string& text);
  bool GaugeVisible() const;
  long long GaugeMax() const;
  long long GaugePosition() const;
  bool StopVisible() const;
  bool StopEnabled() const;
  bool Animating() const;

  // Gauge from 0 to `maximum`, shown with the stop button.
  void ShowGauge(long long maximum);
  // Hides gauge and stop button.
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

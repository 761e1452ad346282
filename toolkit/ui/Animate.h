// TAnimate over the platform's SysAnimate32: plays a silent AVI file (the progress window's
// searching animation). Setting FileName opens the clip (EInvalidOperation "Cannot open AVI"
// when the platform cannot); Active plays it in a loop (Repetitions 0) or stops it.
#pragma once

#include <string>

#include "toolkit/ui/WinControl.h"

class TAnimate : public TWinControl {
 public:
  explicit TAnimate(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& value);
  bool Active() const { return active_; }
  void SetActive(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  // 0: play for ever.
  int Repetitions() const { return repetitions_; }
  void SetRepetitions(int value) { repetitions_ = value; }
  void Play() { SetActive(true); }
  void Stop() { SetActive(false); }

  TNotifyEvent OnOpen;
  TNotifyEvent OnStart;
  TNotifyEvent OnStop;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;

 private:
  // Opens the clip in the window; false when the platform refuses it.
  bool OpenClip();
  std::string fileName_;
  bool active_ = false;
  bool center_ = true;
  bool transparent_ = true;
  int repetitions_ = 0;
};

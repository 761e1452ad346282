// The shared blink list and its timer.
#include "controls/KxBlinkingControlsList.h"

#include <algorithm>
#include <memory>

#include "toolkit/ui/Control.h"
#include "toolkit/ui/Timer.h"

namespace {

TKxBlinkingControlsList* g_blinker = nullptr;

}  // namespace

TKxBlinkingControlsList::TKxBlinkingControlsList() : timer_(new TTimer(nullptr)) {
  timer_->SetInterval(intervalOff_);
  timer_->SetOnTimer(TNotifyEvent(this, &TKxBlinkingControlsList::TimerTick));
  timer_->SetEnabled(true);
}

TKxBlinkingControlsList::~TKxBlinkingControlsList() { FreeAndNil(timer_); }

void TKxBlinkingControlsList::Add(TControl* control) { controls_.push_back(control); }

void TKxBlinkingControlsList::Delete(int index) {
  if (index < 0 || index >= static_cast<int>(controls_.size())) return;
  controls_.erase(controls_.begin() + index);
}

int TKxBlinkingControlsList::IndexOf(TControl* control) const {
  const auto it = std::find(controls_.begin(), controls_.end(), control);
  return it == controls_.end() ? -1 : static_cast<int>(it - controls_.begin());
}

void TKxBlinkingControlsList::TimerTick(TObject*) {
  if (state_ == 1) {
    state_ = 0;
    timer_->SetInterval(intervalOff_);
  } else {
    state_ = 1;
    timer_->SetInterval(intervalOn_);
  }
  // A control may leave the list while it is told; walk a copy.
  const std::vector<TControl*> controls = controls_;
  for (TControl* control : controls) {
    if (IndexOf(control) < 0) continue;
    if (control->Perform(CM_KXISBLINKING, 0, 0) == 1) {
      control->Perform(CM_KXBLINKPHASE, static_cast<WPARAM>(state_), 0);
    }
  }
}

TKxBlinkingControlsList* KxBlinker() {
  if (g_blinker == nullptr) g_blinker = new TKxBlinkingControlsList();
  return g_blinker;
}

TKxBlinkingControlsList* KxBlinkerIfAny() { return g_blinker; }

void ReleaseBlinkerIfIdle() {
  if (g_blinker != nullptr && g_blinker->ControlCount() == 0) FreeAndNil(g_blinker);
}

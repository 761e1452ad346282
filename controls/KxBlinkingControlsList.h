// TKxBlinkingControlsList: the one process-wide list of controls that may blink, driven by one
// timer. Each tick flips the blink state and asks every listed control (in list order) whether
// it blinks now (CM_KXISBLINKING answered 1) and, if so, shows it the new phase
// (CM_KXBLINKPHASE, WParam 1 the blink colour, 0 the normal colour).
//
// Phases: state 1 --tick--> 0 (normal colour, next tick after IntervalOff)
//         state 0 --tick--> 1 (blink colour, next tick after IntervalOn)
// The list starts in state 1 with the timer at IntervalOff, so the first tick shows the normal
// colour. The shared instance lives from the first label's construction (KxBlinker) to the
// last label's removal (ReleaseBlinkerIfIdle).
#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/classes/Object.h"
#include "toolkit/system/WinApi.h"

class TControl;
class TTimer;

constexpr UINT CM_KXISBLINKING = 46056;
constexpr UINT CM_KXBLINKPHASE = 46057;

class TKxBlinkingControlsList : public TObject {
 public:
  TKxBlinkingControlsList();
  ~TKxBlinkingControlsList() override;

  void Add(TControl* control);
  // Removes the control at `index` (from IndexOf).
  void Delete(int index);
  int IndexOf(TControl* control) const;
  virtual int ControlCount() const { return static_cast<int>(controls_.size()); }

  std::uint16_t IntervalOn() const { return intervalOn_; }
  void SetIntervalOn(std::uint16_t value) { intervalOn_ = value; }
  std::uint16_t IntervalOff() const { return intervalOff_; }
  void SetIntervalOff(std::uint16_t value) { intervalOff_ = value; }
  int BlinkState() const { return state_; }
  TTimer* Timer() const { return timer_; }

  // One timer tick (the timer's OnTimer).
  void TimerTick(TObject* sender);

 private:
  int state_ = 1;
  std::uint16_t intervalOn_ = 500;
  std::uint16_t intervalOff_ = 500;
  TTimer* timer_;
  std::vector<TControl*> controls_;
};

// The shared list, made on first use.
TKxBlinkingControlsList* KxBlinker();
// The shared list when it exists, else null.
TKxBlinkingControlsList* KxBlinkerIfAny();
// Frees the shared list when no control is in it.
void ReleaseBlinkerIfIdle();

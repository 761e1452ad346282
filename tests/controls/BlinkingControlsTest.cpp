// The shared blink list: creation and release with its members, the alternating phases and
// intervals driven by WM_TIMER sent to the list's timer window, that only controls that answer
// "blinking" receive the phase message, and the labels' intervals living in the one list.
#include <gtest/gtest.h>

#include <vector>

#include "controls/KxBlinkingControlsList.h"
#include "controls/KxLabel.h"
#include "toolkit/ui/CustomControl.h"
#include "toolkit/ui/Timer.h"

namespace {

class TBlinkProbe : public TGraphicControl {
 public:
  TBlinkProbe(TComponent* owner, bool blinking) : TGraphicControl(owner), blinking_(blinking) {}
  void WndProc(TMessage& message) override {
    if (message.Msg == CM_KXISBLINKING) {
      ++asked;
      message.Result = blinking_ ? 1 : 0;
      return;
    }
    if (message.Msg == CM_KXBLINKPHASE) {
      phases.push_back(static_cast<int>(message.WParam));
      return;
    }
    TGraphicControl::WndProc(message);
  }
  int asked = 0;
  std::vector<int> phases;

 private:
  bool blinking_;
};

void Tick(TKxBlinkingControlsList* list) { SendMessageW(list->Timer()->Handle(), WM_TIMER, 1, 0); }

TEST(BlinkingControlsTest, OnlyBlinkingControlsReceiveAlternatingPhases) {
  TComponent owner(nullptr);
  auto* steady = new TBlinkProbe(&owner, false);
  auto* blinking = new TBlinkProbe(&owner, true);
  TKxBlinkingControlsList* list = KxBlinker();
  list->Add(steady);
  list->Add(blinking);
  list->SetIntervalOn(300);
  list->SetIntervalOff(700);
  EXPECT_EQ(list->BlinkState(), 1);
  EXPECT_TRUE(list->Timer()->Enabled());

  Tick(list);  // first tick: normal colour, which lasts IntervalOff
  EXPECT_EQ(list->BlinkState(), 0);
  EXPECT_EQ(list->Timer()->Interval(), 700u);
  Tick(list);  // blink colour, lasting IntervalOn
  EXPECT_EQ(list->Timer()->Interval(), 300u);
  Tick(list);

  EXPECT_EQ(steady->asked, 3);
  EXPECT_TRUE(steady->phases.empty());
  EXPECT_EQ(blinking->phases, (std::vector<int>{0, 1, 0}));

  list->Delete(list->IndexOf(steady));
  ReleaseBlinkerIfIdle();
  EXPECT_EQ(KxBlinkerIfAny(), list) << "still one member";
  list->Delete(list->IndexOf(blinking));
  EXPECT_EQ(list->ControlCount(), 0);
  ReleaseBlinkerIfIdle();
  EXPECT_EQ(KxBlinkerIfAny(), nullptr);
}

// Every label's blink intervals are the one shared list's: set through one label, seen by the
// other and used by the running timer.
TEST(BlinkingControlsTest, LabelsShareTheListsIntervals) {
  TComponent owner(nullptr);
  auto* first = new TKxLabel(&owner);
  auto* second = new TKxLabel(&owner);
  TKxBlinkingControlsList* list = KxBlinker();
  EXPECT_EQ(KxBlinker(), list) << "made once";
  EXPECT_EQ(list->ControlCount(), 2);
  first->SetBlinkIntervalOn(250);
  second->SetBlinkIntervalOff(900);
  EXPECT_EQ(second->BlinkIntervalOn(), 250);
  EXPECT_EQ(first->BlinkIntervalOff(), 900);
  Tick(list);
  EXPECT_EQ(list->Timer()->Interval(), 900u) << "the normal colour lasts the off interval";
  Tick(list);
  EXPECT_EQ(list->Timer()->Interval(), 250u) << "the blink colour lasts the on interval";
  delete first;
  EXPECT_EQ(KxBlinkerIfAny(), list) << "the other label still uses it";
  delete second;
  EXPECT_EQ(KxBlinkerIfAny(), nullptr) << "the last label releases it";
}

}  // namespace

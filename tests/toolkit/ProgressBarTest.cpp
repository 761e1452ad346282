// The progress window's gauge: range set before and after the window exists, stepping as the
// progress messages do, position kept inside the range.
#include "FormFixture.h"
#include "toolkit/ui/ProgressBar.h"

#include <commctrl.h>

namespace {

class ProgressBarTest : public FormFixture {};

TEST_F(ProgressBarTest, StepsWithinTheRange) {
  auto* gauge = new TProgressBar(form_);
  gauge->SetMax(1000);
  gauge->SetBarColor(clBlue);
  gauge->SetBackgroundColor(clMenu);
  gauge->SetParent(form_);
  EXPECT_EQ(SendMessageW(gauge->Handle(), PBM_GETRANGE, FALSE, 0), 1000);
  gauge->StepBy(7);
  gauge->StepBy(3);
  EXPECT_EQ(SendMessageW(gauge->Handle(), PBM_GETPOS, 0, 0), 10);
  gauge->StepBy(5000);
  EXPECT_EQ(gauge->Position(), 1000) << "not past the maximum";
  gauge->SetPosition(0);
  EXPECT_EQ(SendMessageW(gauge->Handle(), PBM_GETPOS, 0, 0), 0);
  gauge->SetMax(50);
  gauge->SetPosition(80);
  EXPECT_EQ(gauge->Position(), 50);
  gauge->SetSmooth(true);  // recreates the window
  EXPECT_EQ(gauge->Position(), 50);
  EXPECT_EQ(SendMessageW(gauge->Handle(), PBM_GETRANGE, FALSE, 0), 50);
}

}  // namespace

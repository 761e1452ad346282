// The main window's status bar: three panels 200 px wide whose texts (port, connection
// state, clock) reach the platform's panels as they change; the simple mode shows one text.
#include "FormFixture.h"
#include "toolkit/ui/StatusBar.h"

#include <commctrl.h>

namespace {

class StatusBarTest : public FormFixture {};

TEST_F(StatusBarTest, PanelTextsAndWidthsReachTheWindow) {
  auto* bar = new TStatusBar(form_);
  for (int i = 0; i < 3; ++i) bar->Panels()->Add()->SetWidth(200);
  bar->Panels()->Items(0)->SetText("COM3");
  bar->SetParent(form_);
  EXPECT_EQ(bar->Top() + bar->Height(), form_->ClientHeight()) << "aligned to the bottom";
  EXPECT_EQ(SendMessageW(bar->Handle(), SB_GETPARTS, 0, 0), 3);
  int edges[3] = {};
  SendMessageW(bar->Handle(), SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  EXPECT_EQ(edges[0], 200);
  EXPECT_EQ(edges[1], 400);
  EXPECT_EQ(bar->WindowPanelText(0), "COM3");
  bar->Panels()->Items(1)->SetText("Connection failed");
  bar->Panels()->Items(2)->SetText("2024-03-05 10:00:00");
  EXPECT_EQ(bar->WindowPanelText(1), "Connection failed");
  EXPECT_EQ(bar->WindowPanelText(2), "2024-03-05 10:00:00");
}

TEST_F(StatusBarTest, SimplePanelShowsTheSimpleText) {
  auto* bar = Add<TStatusBar>(0, 0, 100, 19);
  bar->Panels()->Add()->SetText("pane");
  bar->SetSimpleText("simple");
  bar->SetSimplePanel(true);
  EXPECT_NE(SendMessageW(bar->Handle(), SB_ISSIMPLE, 0, 0), 0);
  EXPECT_EQ(bar->WindowPanelText(0), "simple");
  bar->SetSimplePanel(false);
  EXPECT_EQ(SendMessageW(bar->Handle(), SB_ISSIMPLE, 0, 0), 0);
  EXPECT_EQ(bar->WindowPanelText(0), "pane");
}

}  // namespace

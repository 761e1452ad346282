// The GDI+ switch component against a stand-in chart panel: canvases swapped both ways on a
// live panel, settings passed on, nothing touched when the panel goes, and what it streams.
#include <gtest/gtest.h>

#include <memory>

#include "canvas/KelCanvasModule.h"
#include "canvas/KelGDIPlusSwitch.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/TypInfo.h"

namespace {

// The part of a chart panel the component uses: it owns its canvas and counts the swaps.
class TStandInPanel : public TComponent, public IKelCanvasPanel {
 public:
  TStandInPanel() : TComponent(nullptr), canvas_(new TKelCanvas3D()) {}
  TCanvas3D* PanelCanvas() override { return canvas_.get(); }
  void ChangeCanvas(TCanvas3D* canvas) override {
    ++Swaps;
    canvas->AssignFrom(canvas_.get());
    canvas_.reset(canvas);
  }
  int Swaps = 0;

 private:
  std::unique_ptr<TCanvas3D> canvas_;
};

class GdiPlusSwitchTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    KelCanvasStartup();
    KelGDIPlusStartup();
  }
};

TEST_F(GdiPlusSwitchTest, ActivatingBeforeThePanelIsSetInstallsTheCanvasWhenItIs) {
  TStandInPanel panel;
  TKelGDIPlus gdiPlus(nullptr);
  gdiPlus.ChangeAntialias(false);
  gdiPlus.ChangeActive(true);
  EXPECT_TRUE(gdiPlus.Active());
  EXPECT_EQ(panel.Swaps, 0);
  gdiPlus.ChangeKelPanel(&panel);
  TGDIPlusCanvas* canvas = gdiPlus.FindCanvas();
  ASSERT_NE(canvas, nullptr);
  EXPECT_EQ(canvas->InstalledBy, &gdiPlus);
  EXPECT_FALSE(canvas->Antialias) << "settings passed on";
  gdiPlus.ChangeScale(2);
  EXPECT_EQ(canvas->Scale, 2);
}

TEST_F(GdiPlusSwitchTest, TheCanvasIsSwappedBothWays) {
  TStandInPanel panel;
  panel.PanelCanvas()->SetBuffered(false);
  TKelGDIPlus gdiPlus(nullptr);
  gdiPlus.ChangeKelPanel(&panel);
  EXPECT_EQ(panel.Swaps, 0) << "inactive: the panel keeps its canvas";
  gdiPlus.ChangeActive(true);
  ASSERT_NE(dynamic_cast<TGDIPlusCanvas*>(panel.PanelCanvas()), nullptr);
  EXPECT_FALSE(panel.PanelCanvas()->GetBuffered()) << "the buffered setting is kept";
  gdiPlus.ChangeActive(false);
  EXPECT_EQ(dynamic_cast<TGDIPlusCanvas*>(panel.PanelCanvas()), nullptr);
  EXPECT_NE(dynamic_cast<TKelCanvas3D*>(panel.PanelCanvas()), nullptr);
  EXPECT_EQ(panel.Swaps, 2);
}

TEST_F(GdiPlusSwitchTest, DeactivatingLeavesACanvasSomeoneElseInstalled) {
  TStandInPanel panel;
  TKelGDIPlus gdiPlus(nullptr);
  gdiPlus.ChangeKelPanel(&panel);
  gdiPlus.ChangeActive(true);
  panel.ChangeCanvas(new TKelCanvas3D());
  TCanvas3D* other = panel.PanelCanvas();
  const int swaps = panel.Swaps;
  gdiPlus.ChangeActive(false);
  EXPECT_EQ(panel.PanelCanvas(), other);
  EXPECT_EQ(panel.Swaps, swaps);
}

TEST_F(GdiPlusSwitchTest, APanelBeingFreedIsOnlyForgotten) {
  TKelGDIPlus gdiPlus(nullptr);
  {
    TStandInPanel panel;
    gdiPlus.ChangeKelPanel(&panel);
    gdiPlus.ChangeActive(true);
    EXPECT_EQ(panel.Swaps, 1);
  }
  EXPECT_EQ(gdiPlus.KelPanel(), nullptr);
  EXPECT_FALSE(gdiPlus.Active());
  gdiPlus.ChangeActive(true);  // no panel: nothing happens
  EXPECT_EQ(gdiPlus.FindCanvas(), nullptr);
}

TEST_F(GdiPlusSwitchTest, ChangingThePanelGivesTheOldOneAGdiCanvas) {
  TStandInPanel first, second;
  TKelGDIPlus gdiPlus(nullptr);
  gdiPlus.ChangeKelPanel(&first);
  gdiPlus.ChangeActive(true);
  gdiPlus.ChangeKelPanel(&second);
  EXPECT_EQ(dynamic_cast<TGDIPlusCanvas*>(first.PanelCanvas()), nullptr);
  EXPECT_NE(dynamic_cast<TGDIPlusCanvas*>(second.PanelCanvas()), nullptr);
  gdiPlus.ChangeKelPanel(nullptr);
  EXPECT_FALSE(gdiPlus.Active());
  EXPECT_EQ(dynamic_cast<TGDIPlusCanvas*>(second.PanelCanvas()), nullptr);
}

TEST_F(GdiPlusSwitchTest, FreeingTheComponentPutsAGdiCanvasBackOnItsLivePanel) {
  TStandInPanel panel;
  auto gdiPlus = std::make_unique<TKelGDIPlus>(nullptr);
  gdiPlus->ChangeKelPanel(&panel);
  gdiPlus->ChangeActive(true);
  ASSERT_NE(dynamic_cast<TGDIPlusCanvas*>(panel.PanelCanvas()), nullptr);
  gdiPlus.reset();
  EXPECT_EQ(dynamic_cast<TGDIPlusCanvas*>(panel.PanelCanvas()), nullptr);
  EXPECT_NE(dynamic_cast<TKelCanvas3D*>(panel.PanelCanvas()), nullptr);
  EXPECT_EQ(panel.Swaps, 2);
}

TEST_F(GdiPlusSwitchTest, ScaleIsStoredOnlyWhenItIsNotOne) {
  TKelGDIPlus gdiPlus(nullptr);
  const TPropInfo* scale = TKelGDIPlus::StaticClass().FindProperty("Scale");
  ASSERT_NE(scale, nullptr);
  EXPECT_FALSE(scale->IsStored(gdiPlus));
  gdiPlus.ChangeScale(2);
  EXPECT_TRUE(scale->IsStored(gdiPlus));
  EXPECT_TRUE(gdiPlus.Antialias());
  EXPECT_EQ(gdiPlus.AntiAliasText(), gpfDefault);
  EXPECT_NE(FindClass("TKelGDIPlus").Name(), "");
}

}  // namespace

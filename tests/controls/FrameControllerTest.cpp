// The frame controller against probe controls: registration (once per control), the order and
// filtering of pushed properties, controls that read the controller themselves, suspension,
// the setters' special cases, assignment, unregistration, free notification of the settings
// store, and a layout with the obsolete FrameFlat entries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/KxFrameController.h"
#include "controls/KxRegIniFile.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/ui/CustomControl.h"

namespace {

// A framed control that publishes some frame properties and its notifications, logging every
// property the controller sets.
class TFramedProbe : public TGraphicControl {
 public:
  explicit TFramedProbe(TComponent* owner) : TGraphicControl(owner) {}
  static const TClassInfo& StaticClass() {
    using C = TFramedProbe;
    static const TClassInfo info =
        TClassBuilder<C>("TFramedProbe", &TGraphicControl::StaticClass())
            .Property("FocusColor", &C::FocusColor, &C::SetFocusColor)
            .Property("FrameColor", &C::FrameColor, &C::SetFrameColor)
            .Property("FrameControllerNotifications", &C::Notifications, &C::SetNotifications)
            .Property("FrameSides", &C::FrameSides, &C::SetFrameSides)
            .Property("FrameStyle", &C::FrameStyle, &C::SetFrameStyle)
            .Property("FrameVisible", &C::FrameVisible, &C::SetFrameVisible)
            .Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TColor FocusColor() const { return focusColor_; }
  void SetFocusColor(TColor v) { focusColor_ = v; log.push_back("FocusColor"); }
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor v) { frameColor_ = v; log.push_back("FrameColor"); }
  TSides FrameSides() const { return frameSides_; }
  void SetFrameSides(TSides v) { frameSides_ = v; log.push_back("FrameSides"); }
  TFrameStyle FrameStyle() const { return frameStyle_; }
  void SetFrameStyle(TFrameStyle v) { frameStyle_ = v; log.push_back("FrameStyle"); }
  bool FrameVisible() const { return frameVisible_; }
  void SetFrameVisible(bool v) { frameVisible_ = v; log.push_back("FrameVisible"); }
  TKxFrameControllerNotifications Notifications() const { return notifications_; }
  void SetNotifications(TKxFrameControllerNotifications v) { notifications_ = v; }

  std::vector<std::string> log;

 private:
  TColor focusColor_ = clNone;
  TColor frameColor_ = clNone;
  TSides frameSides_;
  TFrameStyle frameStyle_ = fsNone;
  bool frameVisible_ = false;
  TKxFrameControllerNotifications notifications_ = kAllFrameControllerNotifications;
};

// Publishes frame properties but no notifications.
class TPlainProbe : public TGraphicControl {
 public:
  explicit TPlainProbe(TComponent* owner) : TGraphicControl(owner) {}
  static const TClassInfo& StaticClass() {
    using C = TPlainProbe;
    static const TClassInfo info = TClassBuilder<C>("TPlainProbe", &TGraphicControl::StaticClass())
                                       .Property("FrameColor", &C::FrameColor, &C::SetFrameColor)
                                       .Property("FrameHotTrack", &C::HotTrack, &C::SetHotTrack)
                                       .Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor v) { frameColor_ = v; }
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool v) { hotTrack_ = v; }

 private:
  TColor frameColor_ = clNone;
  bool hotTrack_ = false;
};

// Reads the controller itself.
class TNotifiedProbe : public TGraphicControl, public IKxFrameNotification {
 public:
  explicit TNotifiedProbe(TComponent* owner) : TGraphicControl(owner) {}
  void ApplyFrameController() override { ++applied; }
  int applied = 0;
};

class FrameControllerTest : public testing::Test {
 protected:
  ~FrameControllerTest() override {
    owner_->Free();
  }
  TComponent* owner_ = new TComponent(nullptr);
  TKxFrameController* controller_ = new TKxFrameController(owner_);
};

TEST_F(FrameControllerTest, RegisteringTwiceListsAndAppliesOnce) {
  auto* probe = new TFramedProbe(owner_);
  controller_->RegisterControl(probe);
  const std::vector<std::string> once = probe->log;
  controller_->RegisterControl(probe);
  EXPECT_EQ(probe->log, once);
  EXPECT_EQ(controller_->ControlCount(), 1);
  // The full push in its fixed order, for the properties the probe publishes.
  EXPECT_EQ(once, (std::vector<std::string>{"FocusColor", "FrameColor", "FrameSides", "FrameStyle", "FrameVisible"}));
  EXPECT_EQ(probe->Color(), clWindow);
  EXPECT_FALSE(probe->ParentColor());
  EXPECT_EQ(probe->FrameColor(), clBtnShadow);
  EXPECT_EQ(probe->FrameSides(), kAllSides);
  EXPECT_EQ(probe->FrameStyle(), fsFlat);
}

TEST_F(FrameControllerTest, NotificationsFilterWhatIsPushed) {
  auto* probe = new TFramedProbe(owner_);
  probe->SetColor(0x123456);
  probe->SetNotifications(kAllFrameControllerNotifications - TKxFrameControllerNotifications{fcpColor});
  controller_->RegisterControl(probe);
  EXPECT_EQ(probe->Color(), 0x123456);
  controller_->SetColor(0x00FFFF);
  EXPECT_EQ(probe->Color(), 0x123456);
  controller_->SetFrameColor(0x0000FF);
  EXPECT_EQ(probe->FrameColor(), 0x0000FF);
  // A control without FrameControllerNotifications receives everything.
  EXPECT_EQ(TKxFrameController::NotificationsOf(new TPlainProbe(owner_)), kAllFrameControllerNotifications);
}

TEST_F(FrameControllerTest, ControlWithoutNotificationsReceivesEveryProperty) {
  auto* plain = new TPlainProbe(owner_);
  controller_->RegisterControl(plain);
  controller_->SetColor(0x00FFFF);
  controller_->SetFrameColor(0x0000FF);
  EXPECT_EQ(plain->Color(), 0x00FFFF);
  EXPECT_EQ(plain->FrameColor(), 0x0000FF);
}

TEST_F(FrameControllerTest, ChangesPushOnlyTheirOwnProperty) {
  auto* probe = new TFramedProbe(owner_);
  controller_->RegisterControl(probe);
  probe->log.clear();
  controller_->SetFrameStyle(fsGroove);
  controller_->SetFrameStyle(fsGroove);  // unchanged: nothing
  controller_->SetFrameSides({sdLeft, sdBottom});
  EXPECT_EQ(probe->log, (std::vector<std::string>{"FrameStyle", "FrameSides"}));
  EXPECT_EQ(probe->FrameStyle(), fsGroove);
  EXPECT_EQ(probe->FrameSides(), (TSides{sdLeft, sdBottom}));
}

TEST_F(FrameControllerTest, SuspendedUpdatesPushEverythingOnceOnResume) {
  auto* probe = new TFramedProbe(owner_);
  controller_->RegisterControl(probe);
  probe->log.clear();
  controller_->SuspendUpdates();
  controller_->SuspendUpdates();
  controller_->SetFrameColor(0x0000FF);
  controller_->SetFrameVisible(true);
  controller_->ResumeUpdates();
  EXPECT_TRUE(probe->log.empty());
  EXPECT_EQ(probe->FrameColor(), clBtnShadow);
  controller_->ResumeUpdates();
  EXPECT_EQ(probe->log.size(), 5u);
  EXPECT_EQ(probe->FrameColor(), 0x0000FF);
  EXPECT_TRUE(probe->FrameVisible());
  // Resuming below zero keeps the count at zero.
  controller_->ResumeUpdates();
  EXPECT_EQ(controller_->UpdateCount(), 0);
}

TEST_F(FrameControllerTest, NotifiedControlsReadTheControllerThemselves) {
  auto* probe = new TNotifiedProbe(owner_);
  probe->SetColor(0x123456);
  controller_->RegisterControl(probe);
  EXPECT_EQ(probe->applied, 1);
  controller_->SetColor(0x00FFFF);
  controller_->SetFrameStyle(fsBump);
  EXPECT_EQ(probe->applied, 3);
  EXPECT_EQ(probe->Color(), 0x123456) << "no property is set on such a control";
}

TEST_F(FrameControllerTest, SetterSpecialCases) {
  controller_->SetParentColor(true);
  // Colour: the focus colour follows when it was equal; ParentColor drops.
  controller_->SetColor(0x00FFFF);
  EXPECT_EQ(controller_->FocusColor(), 0x00FFFF);
  EXPECT_FALSE(controller_->ParentColor());
  controller_->SetFocusColor(0x0000FF);
  controller_->SetColor(0x00FF00);
  EXPECT_EQ(controller_->FocusColor(), 0x0000FF);
  // Hot tracking switches the frame on and takes all sides.
  controller_->SetFrameSides({sdTop});
  controller_->SetFrameHotTrack(true);
  EXPECT_TRUE(controller_->FrameVisible());
  EXPECT_EQ(controller_->FrameSides(), kAllSides);
}

TEST_F(FrameControllerTest, ParentColorPushesParentColourThenColour) {
  auto* probe = new TFramedProbe(owner_);
  controller_->SetParentColor(true);
  controller_->RegisterControl(probe);
  EXPECT_TRUE(probe->ParentColor());
  probe->SetColor(0x111111);
  controller_->SetParentColor(false);
  EXPECT_FALSE(probe->ParentColor());
  EXPECT_EQ(probe->Color(), clWindow);
}

TEST_F(FrameControllerTest, AssignCopiesTheSettingsAndPushesOnce) {
  auto* probe = new TFramedProbe(owner_);
  controller_->RegisterControl(probe);
  probe->log.clear();
  TKxFrameController source(nullptr);
  source.SetFrameColor(0x0000FF);
  source.SetFrameStyle(fsRaised);
  source.SetColor(0x00FFFF);
  controller_->Assign(&source);
  EXPECT_EQ(controller_->FrameColor(), 0x0000FF);
  EXPECT_EQ(controller_->FrameStyle(), fsRaised);
  EXPECT_EQ(controller_->Color(), 0x00FFFF);
  EXPECT_EQ(probe->log.size(), 5u);
  EXPECT_EQ(probe->Color(), 0x00FFFF);
}

TEST_F(FrameControllerTest, UnregisteringTheLastControlDropsTheList) {
  auto* a = new TFramedProbe(owner_);
  auto* b = new TFramedProbe(owner_);
  controller_->RegisterControl(a);
  controller_->RegisterControl(b);
  controller_->UnregisterControl(a);
  EXPECT_EQ(controller_->ControlCount(), 1);
  EXPECT_EQ(controller_->Controls(0), b);
  controller_->UnregisterControl(b);
  EXPECT_EQ(controller_->ControlCount(), 0);
  controller_->SetFrameColor(0x0000FF);  // nobody to tell
  EXPECT_EQ(b->FrameColor(), clBtnShadow);
}

TEST_F(FrameControllerTest, SettingsStoreGoingAwayClearsTheReference) {
  auto* store = new TKxRegIniFile(owner_);
  controller_->SetRegIniFile(store);
  EXPECT_EQ(controller_->RegIniFile(), store);
  store->Free();
  EXPECT_EQ(controller_->RegIniFile(), nullptr);
}

TEST_F(FrameControllerTest, OldLayoutWithFrameFlatLoads) {
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteSignature();
    writer.WriteStr("TKxFrameController");
    writer.WriteStr("Frames");
    writer.WriteStr("FrameFlat");
    writer.WriteBoolean(true);
    writer.WriteStr("FrameFlatStyle");
    writer.WriteIdent("fsGroove");
    writer.WriteStr("FrameColor");
    writer.WriteInteger(0x0000FF);
    writer.WriteListEnd();
    writer.WriteListEnd();
  }
  stream.SetPosition(0);
  TKxFrameController loaded(nullptr);
  TReader reader(stream);
  reader.ReadRootComponent(&loaded);
  EXPECT_TRUE(loaded.FrameHotTrack());
  EXPECT_EQ(loaded.FrameStyle(), fsStatus);
  EXPECT_EQ(loaded.FrameHotStyle(), fsLowered);
  EXPECT_EQ(loaded.FrameColor(), 0x0000FF);
}

TEST_F(FrameControllerTest, OldLayoutWithFrameFocusStyleSetsTheHotStyle) {
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteSignature();
    writer.WriteStr("TKxFrameController");
    writer.WriteStr("Frames");
    writer.WriteStr("FrameFocusStyle");
    writer.WriteIdent("fsBump");
    writer.WriteListEnd();
    writer.WriteListEnd();
  }
  stream.SetPosition(0);
  TKxFrameController loaded(nullptr);
  TReader reader(stream);
  reader.ReadRootComponent(&loaded);
  EXPECT_EQ(loaded.FrameHotStyle(), fsBump);
  EXPECT_FALSE(loaded.FrameHotTrack());
}

// A layout holds only the settings that differ from their defaults, and no colour while the
// colour is the parent's.
TEST_F(FrameControllerTest, PublishedPropertiesWriteOnlyWhatDiffers) {
  const auto layout = [this] {
    TMemoryStream stream;
    {
      TWriter writer(stream);
      writer.WriteRootComponent(controller_);
    }
    return ObjectBinaryToText(
        std::string_view(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size())));
  };
  const auto has = [](const std::string& text, const char* entry) { return text.find(entry) != std::string::npos; };
  controller_->SetName("Frames");
  const std::string plain = layout();
  for (const char* entry : {"FrameStyle", "FrameSides", "FrameColor", "FrameVisible", "ParentColor", "FocusColor"}) {
    EXPECT_FALSE(has(plain, entry)) << entry << " at its default:\n" << plain;
  }
  controller_->SetFrameStyle(fsGroove);
  controller_->SetColor(0x00FFFF);
  std::string text = layout();
  EXPECT_TRUE(has(text, "FrameStyle = fsGroove")) << text;
  EXPECT_TRUE(has(text, "Color = ")) << text;
  EXPECT_FALSE(has(text, "FrameSides")) << text;
  controller_->SetParentColor(true);
  text = layout();
  EXPECT_TRUE(has(text, "ParentColor = True")) << text;
  EXPECT_FALSE(has(text, "  Color = ")) << "no colour while it is the parent's:\n" << text;
}

TEST_F(FrameControllerTest, SettingsSurviveALayoutRoundTrip) {
  TComponent root(nullptr);
  root.SetName("Form");
  auto* frames = new TKxFrameController(&root);
  frames->SetName("Frames");
  auto* store = new TKxRegIniFile(&root);
  store->SetName("Store");
  frames->SetColor(clInfoBk);
  frames->SetFrameStyle(fsBump);
  frames->SetFrameHotTrack(true);
  frames->SetFrameSides({sdTop, sdBottom});
  frames->SetFramingPreference(fpCustomFraming);
  frames->SetReadOnlyColor(0x123456);
  frames->SetRegIniFile(store);
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteRootComponent(&root);
  }
  stream.SetPosition(0);
  RegisterClasses({&TKxFrameController::StaticClass(), &TKxRegIniFile::StaticClass()});
  TComponent copy(nullptr);
  TReader reader(stream);
  reader.ReadRootComponent(&copy);
  auto* read = dynamic_cast<TKxFrameController*>(copy.FindComponent("Frames"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Color(), clInfoBk);
  EXPECT_EQ(read->FrameStyle(), fsBump);
  EXPECT_TRUE(read->FrameHotTrack());
  EXPECT_TRUE(read->FrameVisible());
  EXPECT_EQ(read->FrameSides(), (TSides{sdTop, sdBottom})) << "hot tracking keeps the sides while loading";
  EXPECT_EQ(read->FramingPreference(), fpCustomFraming);
  EXPECT_EQ(read->ReadOnlyColor(), 0x123456);
  EXPECT_EQ(read->RegIniFile(), copy.FindComponent("Store"));
}

}  // namespace

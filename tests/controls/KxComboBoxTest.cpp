// TKxComboBox on a hidden host window, driven by messages: list-style incremental search with
// its timer, invalid keys, read-only mode, wheel stepping, drop-down width and events, values,
// state colours and hot state, owner-drawn items painted into a DIB, deleted item data, layout
// rules under a frame controller and the obsolete frame entries of older layouts.
#include <gtest/gtest.h>

#include "DibSurface.h"
#include "controls/KxCmboBx.h"
#include "controls/KxCommonColors.h"
#include "controls/KxCommonText.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/StringList.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Timer.h"

namespace {

class TProbeCombo : public TKxComboBox {
 public:
  explicit TProbeCombo(TComponent* owner) : TKxComboBox(owner) {}
  int beeps = 0;
  using TKxCustomComboBox::DrawItem;

 protected:
  void SignalInvalidKey() override {
    if (BeepOnInvalidKey()) ++beeps;
  }
};

class KxComboBoxTest : public testing::Test {
 protected:
  KxComboBoxTest() : host_(nullptr) {
    host_.SetBounds(0, 0, 300, 200);
    combo_ = new TProbeCombo(&host_);
    combo_->SetParent(&host_);
    combo_->SetBounds(10, 10, 120, 21);
    combo_->SetStyle(csDropDownList);
    for (const char* item : {"Apple", "Banana", "Blueberry"}) combo_->AddItem(item);
    combo_->HandleNeeded();
    combo_->OnChange = [this](TObject*) { ++changes_; };
  }
  void Type(const char* text) {
    for (const char* p = text; *p != '\0'; ++p) combo_->Perform(WM_CHAR, static_cast<WPARAM>(*p), 0);
  }
  void Wheel(int delta) { combo_->Perform(CM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0); }

  TForm host_;
  TProbeCombo* combo_;
  int changes_ = 0;
};

TEST_F(KxComboBoxTest, TypedPrefixSelectsAndResetsAfterTheSearchDelay) {
  Type("b");
  EXPECT_EQ(combo_->ItemIndex(), 1);
  Type("l");
  EXPECT_EQ(combo_->ItemIndex(), 2) << "b then l: Blueberry";
  EXPECT_EQ(combo_->SearchString(), "bl");
  ASSERT_TRUE(combo_->SearchTimer()->Enabled());
  EXPECT_EQ(combo_->SearchTimer()->Interval(), 1500u);
  SendMessageW(combo_->SearchTimer()->Handle(), WM_TIMER, 1, 0);  // the pause
  EXPECT_EQ(combo_->SearchString(), "");
  Type("a");
  EXPECT_EQ(combo_->ItemIndex(), 0) << "a after the pause: Apple";
  EXPECT_EQ(combo_->beeps, 0);
  EXPECT_EQ(changes_, 3);
}

TEST_F(KxComboBoxTest, UnmatchedLetterBeepsAndKeepsTheSelection) {
  Type("b");
  Type("x");
  EXPECT_EQ(combo_->ItemIndex(), 1);
  EXPECT_EQ(combo_->beeps, 1);
  EXPECT_EQ(combo_->SearchString(), "b");
  combo_->SetBeepOnInvalidKey(false);
  Type("z");
  EXPECT_EQ(combo_->beeps, 1);
}

TEST_F(KxComboBoxTest, BackspaceShortensTheSearch) {
  Type("bl");
  combo_->Perform(WM_CHAR, VK_BACK, 0);
  EXPECT_EQ(combo_->SearchString(), "b");
  EXPECT_EQ(combo_->ItemIndex(), 1);
  combo_->Perform(WM_CHAR, VK_BACK, 0);
  EXPECT_EQ(combo_->SearchString(), "");
  EXPECT_EQ(combo_->ItemIndex(), 0) << "nothing left selects the first item";
}

TEST_F(KxComboBoxTest, NavigationKeysClearTheSearch) {
  Type("b");
  combo_->Perform(WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(combo_->SearchString(), "");
}

TEST_F(KxComboBoxTest, ReadOnlySwallowsTypingWheelAndClicks) {
  combo_->SetItemIndex(0);
  combo_->SetReadOnly(true);
  Type("b");
  Wheel(-WHEEL_DELTA);
  combo_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  combo_->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(combo_->ItemIndex(), 0);
  EXPECT_FALSE(combo_->DroppedDown());
  EXPECT_EQ(changes_, 0);
  EXPECT_EQ(combo_->Color(), clInfoBk) << "read-only colour";
  combo_->SetReadOnly(false);
  EXPECT_EQ(combo_->Color(), clWindow);
}

TEST_F(KxComboBoxTest, WheelStepsThroughTheItemsAndStopsAtTheEnds) {
  combo_->SetItemIndex(1);
  Wheel(-WHEEL_DELTA);
  EXPECT_EQ(combo_->ItemIndex(), 2);
  EXPECT_EQ(changes_, 1);
  Wheel(-WHEEL_DELTA);
  EXPECT_EQ(combo_->ItemIndex(), 2) << "wheel down on the last item";
  EXPECT_EQ(changes_, 1);
  Wheel(WHEEL_DELTA);
  Wheel(WHEEL_DELTA);
  EXPECT_EQ(combo_->ItemIndex(), 0);
  Wheel(WHEEL_DELTA);
  EXPECT_EQ(combo_->ItemIndex(), 0);
  EXPECT_EQ(changes_, 3) << "wheel up at the first item fires nothing";
}

TEST_F(KxComboBoxTest, DropDownWidthFitsLongItemsButNotBelowTheControl) {
  int dropDowns = 0;
  combo_->OnDropDown = [&](TObject*) { ++dropDowns; };
  combo_->Perform(CN_COMMAND, MAKEWPARAM(0, CBN_DROPDOWN), 0);
  EXPECT_EQ(SendMessageW(combo_->Handle(), CB_GETDROPPEDWIDTH, 0, 0), combo_->Width()) << "short items";
  combo_->AddItem("A very long item that needs a much wider list than the box");
  combo_->Perform(CN_COMMAND, MAKEWPARAM(0, CBN_DROPDOWN), 0);
  EXPECT_GT(SendMessageW(combo_->Handle(), CB_GETDROPPEDWIDTH, 0, 0), combo_->Width());
  const LRESULT fitted = SendMessageW(combo_->Handle(), CB_GETDROPPEDWIDTH, 0, 0);
  combo_->SetDropDownWidth(fitted + 30);
  combo_->Perform(CN_COMMAND, MAKEWPARAM(0, CBN_DROPDOWN), 0);
  EXPECT_EQ(SendMessageW(combo_->Handle(), CB_GETDROPPEDWIDTH, 0, 0), fitted + 30) << "a set width is used as it is";
  EXPECT_EQ(dropDowns, 3);
}

TEST_F(KxComboBoxTest, SelectionEndEventsFire) {
  int ok = 0;
  int cancel = 0;
  combo_->OnSelEndOk = [&](TObject*) { ++ok; };
  combo_->OnSelEndCancel = [&](TObject*) { ++cancel; };
  combo_->Perform(CN_COMMAND, MAKEWPARAM(0, CBN_SELENDOK), 0);
  combo_->Perform(CN_COMMAND, MAKEWPARAM(0, CBN_SELENDCANCEL), 0);
  combo_->Perform(CN_COMMAND, MAKEWPARAM(0, CBN_SELENDCANCEL), 0);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(cancel, 2);
}

TEST_F(KxComboBoxTest, ValuesMapItemsBothWays) {
  combo_->Items()->Clear();
  combo_->AddItem("seconds");
  combo_->AddItem("minutes");
  combo_->Values()->Add("s");
  combo_->Values()->Add("m");
  combo_->SetItemIndex(1);
  combo_->Perform(CN_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), 0);
  EXPECT_EQ(combo_->ReadValue(), "m");
  combo_->WriteValue("s");
  EXPECT_EQ(combo_->ItemIndex(), 0);
  combo_->WriteValue("hours");
  EXPECT_EQ(combo_->ItemIndex(), -1);
  EXPECT_EQ(combo_->ValueOfIndex(1), "m");
  EXPECT_EQ(combo_->ValueOfIndex(5), "");
}

TEST_F(KxComboBoxTest, StateColoursFollowFocusAndEnabledState) {
  combo_->SetFocusColor(clYellow);
  combo_->Perform(CM_ENTER);
  EXPECT_EQ(combo_->Color(), clYellow);
  combo_->Perform(CM_EXIT);
  EXPECT_EQ(combo_->Color(), clWindow);
  combo_->SetEnabled(false);
  EXPECT_EQ(combo_->Color(), clBtnFace);
  combo_->SetEnabled(true);
  EXPECT_EQ(combo_->Color(), clWindow);
  EXPECT_EQ(combo_->NormalColor(), clWindow) << "state colours never become the normal colour";
}

TEST_F(KxComboBoxTest, NewColourCarriesAFocusColourThatEqualledIt) {
  combo_->SetColor(clYellow);
  EXPECT_EQ(combo_->FocusColor(), clYellow);
  EXPECT_EQ(combo_->NormalColor(), clYellow);
}

TEST_F(KxComboBoxTest, MouseEnterAndLeaveSetTheHotState) {
  int entered = 0;
  combo_->OnMouseEnter = [&](TObject*) { ++entered; };
  combo_->Perform(CM_MOUSEENTER);
  EXPECT_TRUE(combo_->OverControl());
  combo_->Perform(CM_MOUSELEAVE);
  EXPECT_FALSE(combo_->OverControl());
  EXPECT_EQ(entered, 1);
}

TEST_F(KxComboBoxTest, LeavingAnEditBoxWithForeignTextFiresNotInList) {
  combo_->SetStyle(csDropDown);
  combo_->HandleNeeded();
  int notInList = 0;
  combo_->OnNotInList = [&](TObject*) { ++notInList; };
  combo_->SetText("Cherry");
  combo_->Perform(CM_EXIT);
  EXPECT_EQ(notInList, 1);
  combo_->SetText("Banana");
  combo_->Perform(CM_EXIT);
  EXPECT_EQ(notInList, 1);
}

TEST_F(KxComboBoxTest, SelectedOwnerDrawnItemUsesHighlightColours) {
  TDibSurface dib(100, 16, 0x3C14DC);
  TCanvas& canvas = *combo_->Canvas();
  canvas.Lock();
  canvas.SetHandle(dib.DC());
  canvas.Brush()->SetColor(clHighlight);
  canvas.Font()->SetColor(clHighlightText);
  combo_->DrawItem(1, {0, 0, 100, 16}, TOwnerDrawState{odSelected});
  canvas.SetHandle(nullptr);
  canvas.Unlock();
  EXPECT_EQ(dib.Pixel(98, 1), KxColorToRGB(clHighlight));
  int text = 0;
  for (int x = 0; x < 60; ++x) {
    for (int y = 0; y < 16; ++y) text += dib.Pixel(x, y) == KxColorToRGB(clHighlightText);
  }
  EXPECT_GT(text, 10) << "the item text";
}

TEST_F(KxComboBoxTest, DeletingAnItemWithDataFiresOnDeleteItem) {
  static int marker = 0;
  void* deleted = nullptr;
  combo_->OnDeleteItem = [&](TObject*, void* data) { deleted = data; };
  SendMessageW(combo_->Handle(), CB_SETITEMDATA, 1, reinterpret_cast<LPARAM>(&marker));
  SendMessageW(combo_->Handle(), CB_DELETESTRING, 1, 0);
  EXPECT_EQ(deleted, &marker);
}

TEST_F(KxComboBoxTest, ControllerGovernedSettingsAreNotStored) {
  const TPropInfo* frameColor = GetPropInfo(*combo_, "FrameColor");
  const TPropInfo* color = GetPropInfo(*combo_, "Color");
  ASSERT_NE(frameColor, nullptr);
  combo_->SetFrameColor(clRed);
  combo_->SetColor(clYellow);
  EXPECT_TRUE(frameColor->IsStored(*combo_));
  EXPECT_TRUE(color->IsStored(*combo_));
  TKxFrameController frames(nullptr);
  combo_->SetFrameController(&frames);
  combo_->SetFrameColor(clRed);
  EXPECT_FALSE(frameColor->IsStored(*combo_));
  EXPECT_FALSE(color->IsStored(*combo_));
  combo_->SetFrameControllerNotifications(TKxFrameControllerNotifications{fcpColor});
  EXPECT_TRUE(frameColor->IsStored(*combo_)) << "its notification bit is clear";
  combo_->SetFrameController(nullptr);
  combo_->SetEnabled(false);
  EXPECT_FALSE(color->IsStored(*combo_)) << "a disabled box's colour is its state colour";
}

TEST_F(KxComboBoxTest, OlderLayoutFrameFlatMakesAHotTrackedStatusFrame) {
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteSignature();
    writer.WriteStr("TKxComboBox");
    writer.WriteStr("Unit");
    writer.WriteStr("FrameFlat");
    writer.WriteBoolean(true);
    writer.WriteStr("FrameFlatStyle");
    writer.WriteIdent("fsGroove");
    writer.WriteListEnd();
    writer.WriteListEnd();
  }
  stream.SetPosition(0);
  TKxComboBox loaded(nullptr);
  TReader reader(stream);
  reader.ReadRootComponent(&loaded);
  EXPECT_TRUE(loaded.FrameHotTrack());
  EXPECT_TRUE(loaded.FrameVisible());
  EXPECT_EQ(loaded.FrameStyle(), fsStatus);
  EXPECT_EQ(loaded.FrameHotStyle(), fsLowered);
}

TEST(KxImageComboItemTest, WrongItemClassRaisesInvalidCast) {
  TComboBox combo(nullptr);
  TKxImageComboBoxItem item;
  item.Indent = 3;
  TObject other;
  combo.Items()->AddObject("a", &item);
  combo.Items()->AddObject("b", &other);
  EXPECT_EQ(ImageComboItemAt(&combo, 0)->Indent, 3);
  EXPECT_THROW(ImageComboItemAt(&combo, 1), EInvalidCast);
}

}  // namespace

namespace {

// The main window's interval-unit box as its layout names it: a flat drop-down list with the
// custom frame; loading ends with the normal colour taken and the state colour applied.
TEST(KxComboBoxLayoutTest, MainWindowSettingsLoadAndRoundTrip) {
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteSignature();
    writer.WriteStr("TKxComboBox");
    writer.WriteStr("cbUnit");
    writer.WriteStr("Style");
    writer.WriteIdent("csDropDownList");
    writer.WriteStr("Ctl3D");
    writer.WriteBoolean(false);
    writer.WriteStr("FlatButtons");
    writer.WriteBoolean(true);
    writer.WriteStr("FrameVisible");
    writer.WriteBoolean(true);
    writer.WriteStr("Color");
    writer.WriteIdent("clInfoBk");
    writer.WriteListEnd();
    writer.WriteListEnd();
  }
  stream.SetPosition(0);
  TKxComboBox loaded(nullptr);
  TReader reader(stream);
  reader.ReadRootComponent(&loaded);
  EXPECT_EQ(loaded.Style(), csDropDownList);
  EXPECT_TRUE(loaded.FlatButtons());
  EXPECT_TRUE(loaded.FrameVisible());
  EXPECT_EQ(loaded.NormalColor(), clInfoBk);
  EXPECT_EQ(loaded.Color(), clInfoBk);
  loaded.AddItem("seconds");
  loaded.AddItem("minutes");
  EXPECT_EQ(loaded.Items()->Count(), 2);

  TMemoryStream again;
  {
    TWriter writer(again);
    writer.WriteRootComponent(&loaded);
  }
  again.SetPosition(0);
  TKxComboBox copy(nullptr);
  TReader reader2(again);
  reader2.ReadRootComponent(&copy);
  EXPECT_TRUE(copy.FlatButtons());
  EXPECT_TRUE(copy.FrameVisible());
  EXPECT_EQ(copy.Color(), clInfoBk);
  EXPECT_EQ(copy.FrameStyle(), fsFlat) << "defaults are not written";
}

}  // namespace

namespace {

constexpr COLORREF kYellow = 0x00FFFF;

// The box painted into a DIB (the platform's painting and the frame and button over it), with
// the visual-styles test and the platform version injected.
class KxComboBoxPaintTest : public testing::Test {
 protected:
  KxComboBoxPaintTest() : host_(nullptr), dib_(140, 40, 0x3C14DC) {
    SetKxVisualStylesQuery([this] { return themed_; });
    SetKxPlatformVersionQuery([this] { return version_; });
    host_.SetBounds(0, 0, 300, 200);
    combo_ = new TKxComboBox(&host_);
    combo_->SetParent(&host_);
    combo_->SetBounds(0, 0, 120, 21);
    combo_->SetColor(static_cast<TColor>(kYellow));
  }
  ~KxComboBoxPaintTest() override {
    SetKxVisualStylesQuery(nullptr);
    SetKxPlatformVersionQuery(nullptr);
  }
  void Paint() {
    dib_.Fill(0x3C14DC);
    combo_->PaintTo(dib_.DC(), 0, 0);
  }
  // Pixels of `color` in columns [from, to) over the box's height.
  int Count(COLORREF color, int from, int to) {
    int n = 0;
    for (int x = from; x < to; ++x)
      for (int y = 0; y < combo_->Height(); ++y) n += dib_.Pixel(x, y) == color;
    return n;
  }

  bool themed_ = true;
  TKxPlatformVersion version_{VER_PLATFORM_WIN32_NT, 5, 1};
  TForm host_;
  TKxComboBox* combo_;
  TDibSurface dib_;
};

// With visual styles Windows XP (and Vista, for an editable box) get a 2-pixel strip of the box's
// colour beside the button. (Without visual styles the platform's own item area reaches there in
// the box's colour, so that case shows nothing.)
TEST_F(KxComboBoxPaintTest, StripBesideTheButtonOnTheVersionsThatNeedIt) {
  struct Case {
    const char* name;
    TKxPlatformVersion version;
    TComboBoxStyle style;
    bool strip;
  } const cases[] = {
      {"XP, list", {VER_PLATFORM_WIN32_NT, 5, 1}, csDropDownList, true},
      {"XP, editable", {VER_PLATFORM_WIN32_NT, 5, 1}, csDropDown, true},
      {"Vista, editable", {VER_PLATFORM_WIN32_NT, 6, 0}, csDropDown, true},
      {"Vista, list", {VER_PLATFORM_WIN32_NT, 6, 0}, csDropDownList, false},
      {"Windows 7, editable", {VER_PLATFORM_WIN32_NT, 6, 1}, csDropDown, false},
      {"Windows 2000, editable", {VER_PLATFORM_WIN32_NT, 5, 0}, csDropDown, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    version_ = c.version;
    combo_->SetStyle(c.style);
    combo_->HandleNeeded();
    Paint();
    const int b = 1;  // the border under visual styles
    const int buttonLeft = combo_->Width() - GetSystemMetrics(SM_CXVSCROLL) - b;
    const int rows = combo_->Height() - 2 * b;
    const int stripPixels = Count(kYellow, buttonLeft - 2, buttonLeft);
    if (c.strip) {
      EXPECT_EQ(stripPixels, 2 * rows);
    } else {
      EXPECT_LT(stripPixels, 2 * rows);
    }
  }
}

// A flat button at rest is the box's colour with a black arrow; right to left it is at the left.
TEST_F(KxComboBoxPaintTest, RightToLeftPutsTheFlatButtonAtTheLeft) {
  themed_ = false;
  combo_->SetStyle(csDropDownList);
  combo_->SetFlatButtons(true);
  const int sb = GetSystemMetrics(SM_CXVSCROLL);
  combo_->HandleNeeded();
  Paint();
  const int w = combo_->Width();
  EXPECT_GT(Count(0x000000, w - 2 - sb, w - 2), 5) << "left to right: the arrow at the right";
  EXPECT_EQ(Count(0x000000, 0, 2 + sb), 0);
  host_.SetBiDiMode(bdRightToLeft);
  EXPECT_TRUE(combo_->UseRightToLeftAlignment());
  Paint();
  EXPECT_GT(Count(0x000000, 2, 2 + sb), 5) << "right to left: the arrow at the left";
  EXPECT_EQ(Count(kYellow, 2, 2 + sb) + Count(0x000000, 2, 2 + sb), sb * (combo_->Height() - 4))
      << "the whole button in the box's colour and the arrow";
}

}  // namespace

// Combo boxes as the recorder uses them: the interval unit list (a drop-down list changed by
// the keyboard fires its events with the new item), the port list (items with objects, text
// of the selection), drop-down and close-up, key filtering in the edit part, owner drawing.
#include <string>
#include <vector>

#include "FormFixture.h"
#include "toolkit/classes/Strings.h"
#include "toolkit/ui/ComboBox.h"

namespace {

class ComboBoxTest : public FormFixture {};

TEST_F(ComboBoxTest, KeyboardSelectionFiresClickThenSelectWithTheNewItem) {
  auto* unit = Add<TComboBox>(10, 10, 100, 21);
  unit->SetStyle(csDropDownList);
  unit->AddItem("second", nullptr);
  unit->AddItem("minute", nullptr);
  unit->SetItemIndex(0);
  std::vector<std::string> events;
  unit->OnClick = [&](TObject*) { events.push_back("click " + unit->Text()); };
  unit->OnSelect = [&](TObject*) { events.push_back("select " + std::to_string(unit->ItemIndex())); };
  unit->OnChange = [&](TObject*) { events.push_back("change"); };
  Key(unit->Handle(), VK_DOWN);
  EXPECT_EQ(unit->ItemIndex(), 1);
  EXPECT_EQ(unit->Text(), "minute");
  EXPECT_EQ(events, (std::vector<std::string>{"click minute", "select 1"}));
  unit->SetItemIndex(0);
  EXPECT_EQ(events.size(), 2u) << "setting the index from code fires nothing";
}

TEST_F(ComboBoxTest, WithoutOnSelectASelectionFiresOnChange) {
  auto* box = Add<TComboBox>(10, 10, 100, 21);
  box->SetStyle(csDropDownList);
  box->Items()->SetCommaText("a,b,c");
  int changes = 0;
  box->OnChange = [&](TObject*) { ++changes; };
  Key(box->Handle(), VK_DOWN);
  Key(box->Handle(), VK_DOWN);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(box->ItemIndex(), 1);
}

TEST_F(ComboBoxTest, ItemsKeepObjectsAndSurviveRecreation) {
  TComponent marker(nullptr);
  auto* ports = new TComboBox(form_);
  ports->SetStyle(csDropDownList);
  ports->AddItem("COM1", nullptr);
  ports->AddItem("COM3", &marker);
  ports->Items()->Insert(0, "Automatic selection");
  ports->SetItemIndex(2);
  ports->SetParent(form_);  // the window is made with the items set before
  EXPECT_EQ(SendMessageW(ports->Handle(), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(ports->Text(), "COM3");
  EXPECT_EQ(ports->Items()->Objects(2), &marker);
  ports->SetStyle(csDropDown);  // recreates the window
  EXPECT_EQ(ports->ItemIndex(), 2);
  EXPECT_EQ(SendMessageW(ports->Handle(), CB_GETCOUNT, 0, 0), 3);
  ports->Items()->Delete(0);
  EXPECT_EQ(SendMessageW(ports->Handle(), CB_GETCOUNT, 0, 0), 2);
}

TEST_F(ComboBoxTest, DropDownAndCloseUpFire) {
  auto* box = Add<TComboBox>(10, 10, 100, 21);
  box->SetStyle(csDropDownList);
  box->Items()->SetCommaText("x,y");
  std::vector<std::string> events;
  box->OnDropDown = [&](TObject*) { events.push_back("drop"); };
  box->OnCloseUp = [&](TObject*) { events.push_back("close"); };
  box->SetDroppedDown(true);
  EXPECT_TRUE(box->DroppedDown());
  box->SetDroppedDown(false);
  Application->ProcessMessages();
  EXPECT_FALSE(box->DroppedDown());
  EXPECT_EQ(events, (std::vector<std::string>{"drop", "close"}));
}

TEST_F(ComboBoxTest, EditPartKeysPassOnKeyPressAndFireOnChange) {
  auto* box = Add<TComboBox>(10, 10, 100, 21);
  ASSERT_NE(box->EditHandle(), nullptr);
  box->OnKeyPress = [](TObject*, wchar_t& key) {
    if (key == L'x') key = 0;
  };
  int changes = 0;
  box->OnChange = [&](TObject*) { ++changes; };
  Type(box->EditHandle(), L"axb");
  EXPECT_EQ(box->Text(), "ab");
  EXPECT_EQ(changes, 2);
}

TEST_F(ComboBoxTest, OwnerDrawnBoxDrawsItsItemsThroughOnDrawItem) {
  auto* box = new TComboBox(form_);
  box->SetStyle(csOwnerDrawFixed);
  box->Items()->SetCommaText("one,two");
  box->SetItemIndex(1);
  std::vector<int> drawn;
  bool editPart = false;
  box->OnDrawItem = [&](TWinControl* control, int index, TRect rect, TOwnerDrawState state) {
    drawn.push_back(index);
    if (state.Contains(odComboBoxEdit)) editPart = true;
    auto* combo = static_cast<TComboBox*>(control);
    combo->Canvas()->FillRect(rect);
  };
  box->SetParent(form_);
  box->SetBounds(10, 10, 100, 21);
  RedrawWindow(box->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.back(), 1) << "the closed box shows the selected item";
  EXPECT_TRUE(editPart);
}

}  // namespace

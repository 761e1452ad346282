// Edit-style typing in TKxComboBox (AutoComplete): keystrokes sent to the real edit part of a
// drop-down box over Apple, Banana and Blueberry, each case checked for the text, the edit
// selection and the list item afterwards; paste and cut through the real clipboard; the left
// click that takes the text as the search string.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/KxCmboBx.h"
#include "toolkit/classes/StringList.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Form.h"

namespace {

enum TKeyKind { kChar, kBackspace, kDelete, kShiftInsert, kCtrlV, kPasteMessage, kCutMessage };

struct TKey {
  TKeyKind kind;
  char ch = 0;
};

class TTypingCombo : public TKxComboBox {
 public:
  explicit TTypingCombo(TComponent* owner) : TKxComboBox(owner) {}
  int beeps = 0;

 protected:
  void SignalInvalidKey() override { ++beeps; }
};

class KxComboBoxTypingTest : public testing::Test {
 protected:
  KxComboBoxTypingTest() : host_(nullptr) {
    host_.SetBounds(0, 0, 300, 200);
    combo_ = new TTypingCombo(&host_);
    combo_->SetParent(&host_);
    combo_->SetBounds(10, 10, 150, 21);
    combo_->SetStyle(csDropDown);
    for (const char* item : {"Apple", "Banana", "Blueberry"}) combo_->AddItem(item);
    combo_->HandleNeeded();
  }

  HWND Edit() const { return combo_->EditHandle(); }
  void Char(wchar_t ch) { SendMessageW(Edit(), WM_CHAR, ch, 1); }
  void KeyDown(WPARAM key) { SendMessageW(Edit(), WM_KEYDOWN, key, 1); }
  void Type(const std::string& text) {
    for (char ch : text) Char(static_cast<unsigned char>(ch));
  }
  void Select(int start, int end) { SendMessageW(combo_->Handle(), CB_SETEDITSEL, 0, MAKELPARAM(start, end)); }
  std::pair<int, int> Selection() const {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(combo_->Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
  }
  // Holds Shift down in the thread's key state for the keys sent meanwhile.
  void WithShift(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
  }
  void Press(const TKey& key) {
    switch (key.kind) {
      case kChar: Char(static_cast<unsigned char>(key.ch)); break;
      case kBackspace:
        KeyDown(VK_BACK);
        Char(VK_BACK);
        break;
      case kDelete: KeyDown(VK_DELETE); break;
      case kShiftInsert:
        WithShift(true);
        KeyDown(VK_INSERT);
        WithShift(false);
        break;
      case kCtrlV: Char(22); break;
      case kPasteMessage: SendMessageW(Edit(), WM_PASTE, 0, 0); break;
      case kCutMessage: SendMessageW(Edit(), WM_CUT, 0, 0); break;
    }
  }

  TForm host_;
  TTypingCombo* combo_;
};

bool SetClipboardText(const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  memcpy(GlobalLock(memory), text.c_str(), bytes);
  GlobalUnlock(memory);
  const bool done = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  return done;
}

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

struct TTypingCase {
  const char* name;
  const char* typed;        // typed first into the empty box, letter by letter
  int selStart, selEnd;     // then the edit selection set (-1: as the typing left it)
  TKey key;
  bool allowEdit;
  bool keepCase;
  const char* text;         // afterwards: the text, the edit selection and the list item
  int start, end;
  int item;
  int beeps;
};

const TTypingCase kTypingCases[] = {
    {"a letter in an empty box completes the first item", "", -1, -1, {kChar, 'b'}, true, false,
     "Banana", 1, 6, 1, 0},
    {"the next letter narrows the completion", "b", -1, -1, {kChar, 'l'}, true, false, "Blueberry", 2, 9, 2, 0},
    {"kept letter case completes with the typed case", "", -1, -1, {kChar, 'b'}, true, true, "banana", 1, 6, -1, 0},
    {"an unmatched letter replaces a whole selection", "banana", 0, 6, {kChar, 'z'}, true, false, "z", 1, 1, -1, 0},
    // Text that is no item keeps the letters as typed.
    {"an unmatched letter goes in at the caret", "banana", 3, 3, {kChar, 'z'}, true, false, "banzana", 4, 4, -1, 0},
    {"an unmatched letter replaces the completed tail", "b", -1, -1, {kChar, 'z'}, true, false, "bz", 2, 2, -1, 0},
    {"without AllowEdit an unmatched letter is refused", "b", -1, -1, {kChar, 'z'}, false, false, "Banana", 1, 6, 1, 1},
    {"Backspace over a completion steps back one letter", "bl", -1, -1, {kBackspace}, true, false, "Banana", 1, 6, 1, 0},
    {"Backspace of the last typed letter empties the box", "b", -1, -1, {kBackspace}, true, false, "", 0, 0, -1, 0},
    {"Backspace removes a selection inside the text", "apple", 1, 3, {kBackspace}, true, false, "Ale", 1, 1, -1, 0},
    {"Backspace removes the letter before the caret", "banana", 3, 3, {kBackspace}, true, false, "Baana", 2, 2, -1, 0},
    {"Backspace at the end of text that is no item", "cherry", -1, -1, {kBackspace}, true, false, "cherr", 5, 5, -1, 0},
    {"Backspace of an empty box beeps", "", -1, -1, {kBackspace}, true, false, "", 0, 0, -1, 1},
    {"Delete removes the letter after the caret", "banana", 0, 0, {kDelete}, true, false, "anana", 0, 0, -1, 0},
    {"Delete of the completed tail completes it again", "b", -1, -1, {kDelete}, true, false, "Banana", 1, 6, 1, 0},
    {"without AllowEdit Delete of the whole text still clears it", "banana", 0, 6, {kDelete}, false, false, "", 0, 0, -1, 0},
    {"without AllowEdit Delete inside the text is refused", "banana", 2, 2, {kDelete}, false, false, "Banana", 2, 2, 1, 0},
};

TEST_F(KxComboBoxTypingTest, KeystrokesEditAtTheCaretAndComplete) {
  for (const TTypingCase& c : kTypingCases) {
    SCOPED_TRACE(c.name);
    combo_->SetAllowEdit(true);
    combo_->SetKeepSearchCase(c.keepCase);
    combo_->SetItemIndex(-1);
    combo_->SetText("");
    Type(c.typed);
    combo_->SetAllowEdit(c.allowEdit);
    if (c.selStart >= 0) Select(c.selStart, c.selEnd);
    combo_->beeps = 0;
    Press(c.key);
    EXPECT_EQ(combo_->Text(), c.text);
    EXPECT_EQ(Selection(), std::make_pair(c.start, c.end));
    EXPECT_EQ(combo_->ItemIndex(), c.item);
    EXPECT_EQ(combo_->beeps, c.beeps);
  }
}

struct TPasteCase {
  const char* name;
  TKey key;
  bool allowEdit;
  const char* text;
  int start, end;
  int item;
};

const TPasteCase kPasteCases[] = {
    {"Shift+Insert pastes and completes", {kShiftInsert}, true, "Blueberry", 3, 9, 2},
    {"Ctrl+V pastes and completes", {kCtrlV}, true, "Blueberry", 3, 9, 2},
    {"a paste message pastes and completes", {kPasteMessage}, true, "Blueberry", 3, 9, 2},
    {"without AllowEdit Shift+Insert is refused", {kShiftInsert}, false, "", 0, 0, -1},
    {"without AllowEdit Ctrl+V is refused", {kCtrlV}, false, "", 0, 0, -1},
    {"without AllowEdit a paste message is refused", {kPasteMessage}, false, "", 0, 0, -1},
};

TEST_F(KxComboBoxTypingTest, PasteCompletesThePastedText) {
  for (const TPasteCase& c : kPasteCases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(SetClipboardText(L"blu"));
    combo_->SetItemIndex(-1);
    combo_->SetText("");
    combo_->SetAllowEdit(c.allowEdit);
    Press(c.key);
    EXPECT_EQ(combo_->Text(), c.text);
    EXPECT_EQ(Selection(), std::make_pair(c.start, c.end));
    EXPECT_EQ(combo_->ItemIndex(), c.item);
  }
}

TEST_F(KxComboBoxTypingTest, CutTakesTheUsersSelectionThenCompletes) {
  Type("blueberry");
  ASSERT_EQ(combo_->Text(), "Blueberry");
  ASSERT_TRUE(SetClipboardText(L"-"));
  Select(0, 4);
  Press({kCutMessage});
  EXPECT_EQ(ClipboardText(), L"Blue");
  EXPECT_EQ(combo_->Text(), "berry");
  EXPECT_EQ(combo_->SearchString(), "berry");

  combo_->SetText("Blueberry");
  Select(3, 9);
  Press({kCutMessage});
  EXPECT_EQ(ClipboardText(), L"eberry");
  EXPECT_EQ(combo_->Text(), "Blueberry") << "what is left completes again";
  EXPECT_EQ(Selection(), std::make_pair(3, 9));

  combo_->SetAllowEdit(false);
  Select(0, 4);
  Press({kCutMessage});
  EXPECT_EQ(combo_->Text(), "Blueberry") << "without AllowEdit nothing is cut";
}

TEST_F(KxComboBoxTypingTest, LeftClickTakesTheTextAsTheSearchString) {
  combo_->SetText("Blue");
  EXPECT_EQ(combo_->SearchString(), "");
  SendMessageW(Edit(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageW(Edit(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(combo_->SearchString(), "Blue");
}

TEST_F(KxComboBoxTypingTest, TypingAfterTextSetByCodeKeepsThatText) {
  // The search string is stale here (the text came from code); the key must not rebuild the
  // text from it.
  combo_->SetText("Blue");
  Select(4, 4);
  Char('b');
  EXPECT_EQ(combo_->Text(), "Blueberry");
  EXPECT_EQ(Selection(), std::make_pair(5, 9));
  combo_->SetText("Cherry");
  Select(6, 6);
  Char('x');
  EXPECT_EQ(combo_->Text(), "Cherryx");
}

TEST_F(KxComboBoxTypingTest, EscapeClearsTheSearchAndIsSwallowedWhileClosed) {
  Type("b");
  Char(VK_ESCAPE);
  EXPECT_EQ(combo_->SearchString(), "");
  EXPECT_EQ(combo_->Text(), "Banana");
}

TEST_F(KxComboBoxTypingTest, ACompletionFiresOnMatchOnlyWhenTheItemChanges) {
  int matches = 0;
  combo_->OnMatch = [&](TObject*) { ++matches; };
  Type("b");
  Type("a");
  EXPECT_EQ(matches, 1) << "b and ba both complete Banana";
  Type("x");
  Char(VK_BACK);
  Char(VK_BACK);
  Char(VK_BACK);
  Type("bl");
  EXPECT_EQ(combo_->ItemIndex(), 2);
  EXPECT_GE(matches, 2);
}

}  // namespace

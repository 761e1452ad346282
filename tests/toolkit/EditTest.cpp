// Edits as the recorder's windows use them: key filtering through OnKeyPress (the interval
// and limit edits), maximum length, read-only, and OnChange for typed and assigned text.
#include <string>

#include "FormFixture.h"
#include "toolkit/ui/Edit.h"

namespace {

class EditTest : public FormFixture {};

// The interval edit's filter: digits, backspace, Enter and Ctrl+V only.
void DigitsOnly(TObject*, wchar_t& key) {
  if (!(key >= L'0' && key <= L'9') && key != 8 && key != 13 && key != 22) key = 0;
}

TEST_F(EditTest, KeyPressHandlerRefusesKeys) {
  auto* edit = Add<TEdit>(10, 10, 100, 21);
  edit->OnKeyPress = &DigitsOnly;
  Type(edit->Handle(), L"1a2-.3");
  EXPECT_EQ(edit->Text(), "123");
  Type(edit->Handle(), L"\b");
  EXPECT_EQ(edit->Text(), "12") << "backspace passes";
}

TEST_F(EditTest, KeyPressHandlerCanLetMinusThrough) {
  auto* edit = Add<TEdit>(10, 10, 100, 21);
  edit->OnKeyPress = [](TObject* sender, wchar_t& key) {
    if (key != L'-') DigitsOnly(sender, key);
  };
  Type(edit->Handle(), L"-1x5");
  EXPECT_EQ(edit->Text(), "-15");
}

TEST_F(EditTest, MaxLengthLimitsTypingNotCode) {
  auto* edit = Add<TEdit>(10, 10, 100, 21);
  edit->SetMaxLength(3);
  Type(edit->Handle(), L"12345");
  EXPECT_EQ(edit->Text(), "123");
  edit->SetMaxLength(5);
  Type(edit->Handle(), L"45");
  EXPECT_EQ(edit->Text(), "12345");
}

TEST_F(EditTest, ReadOnlyIgnoresTyping) {
  auto* edit = Add<TEdit>(10, 10, 100, 21);
  edit->SetText("fixed");
  edit->SetReadOnly(true);
  Type(edit->Handle(), L"x");
  EXPECT_EQ(edit->Text(), "fixed");
  edit->SetReadOnly(false);
  SendMessageW(edit->Handle(), EM_SETSEL, 5, 5);
  Type(edit->Handle(), L"!");
  EXPECT_EQ(edit->Text(), "fixed!");
}

TEST_F(EditTest, OnChangeFiresForTypedAndAssignedText) {
  auto* edit = Add<TEdit>(10, 10, 100, 21);
  std::string seen;
  int changes = 0;
  edit->OnChange = [&](TObject*) {
    ++changes;
    seen = edit->Text();
  };
  Type(edit->Handle(), L"ab");
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(seen, "ab");
  edit->SetText("Company");
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(seen, "Company");
}

TEST_F(EditTest, TextSetBeforeTheWindowExistsIsShown) {
  auto* edit = new TEdit(form_);
  edit->SetText("100");
  edit->SetMaxLength(5);
  edit->SetParent(form_);
  wchar_t text[16] = {};
  GetWindowTextW(edit->Handle(), text, 16);
  EXPECT_EQ(std::wstring(text), L"100");
  Type(edit->Handle(), L"999");
  EXPECT_EQ(edit->Text().size(), 5u);
}

}  // namespace

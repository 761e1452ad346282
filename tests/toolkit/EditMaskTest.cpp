// Edit masks: which texts fit which masks (a table of named cases), and the masked edit
// raising EDBEditError when it is left with a text that does not fit.
#include <gtest/gtest.h>

#include <string>

#include "FormFixture.h"
#include "toolkit/ui/Edit.h"
#include "toolkit/ui/EditMask.h"

namespace {

struct TMaskCase {
  const char* Name;
  const char* Mask;
  const char* Text;
  bool Fits;
};

class EditMaskFitTest : public testing::TestWithParam<TMaskCase> {};

TEST_P(EditMaskFitTest, TextAgainstMask) {
  const TMaskCase& c = GetParam();
  const TFormatSettings saved = FormatSettings();
  FormatSettings().TimeSeparator = ':';
  FormatSettings().DateSeparator = '-';
  EXPECT_EQ(EditTextFitsMask(c.Mask, c.Text), c.Fits) << c.Mask << " / " << c.Text;
  FormatSettings() = saved;
}

INSTANTIATE_TEST_SUITE_P(
    Table, EditMaskFitTest,
    testing::Values(TMaskCase{"RequiredDigitsAllThere", "00000;1;_", "12345", true},
                    TMaskCase{"RequiredDigitBlank", "00000;1;_", "123_5", false},
                    TMaskCase{"RequiredDigitALetter", "00000;1;_", "12a45", false},
                    TMaskCase{"ShortTextMissesRequired", "00000;1;_", "123", false},
                    TMaskCase{"OptionalDigitsMayBeBlank", "0999;1;_", "1__ ", true},
                    TMaskCase{"OptionalDigitNotALetter", "0999;1;_", "1x", false},
                    TMaskCase{"LettersAndCaseSwitches", ">LL<ll", "ABcd", true},
                    TMaskCase{"LetterNotADigit", "LL", "A1", false},
                    TMaskCase{"AlphaNumeric", "AAaa", "a1 b", true},
                    TMaskCase{"AnyCharacterRequired", "CC", "#_", false},
                    TMaskCase{"AnyCharacter", "CC", "#!", true},
                    TMaskCase{"SignOrDigit", "#00", "-12", true},
                    TMaskCase{"SignOrDigitNotALetter", "#00", "x12", false},
                    TMaskCase{"LiteralsStand", "(000) 000", "(012) 345", true},
                    TMaskCase{"LiteralReplaced", "(000) 000", "(012)-345", false},
                    TMaskCase{"EscapedMaskCharacterIsLiteral", "\\L00", "L12", true},
                    TMaskCase{"EscapedLiteralWrong", "\\L00", "M12", false},
                    TMaskCase{"SeparatorsFromTheSettings", "00:00 00/00", "12:30 01-02", true},
                    TMaskCase{"DateSeparatorIsNotTheSlash", "00/00", "01/02", false},
                    TMaskCase{"OwnBlankCharacter", "0009;1;*", "123*", true},
                    TMaskCase{"OwnBlankCharacterOnRequired", "0009;1;*", "12**", false},
                    TMaskCase{"NothingPastThePattern", "00", "123", false},
                    TMaskCase{"BlanksPastThePattern", "00", "12  ", true}),
    [](const testing::TestParamInfo<TMaskCase>& info) { return std::string(info.param.Name); });

class MaskEditTest : public FormFixture {};

TEST_F(MaskEditTest, LeavingWithATextThatDoesNotFitRaises) {
  auto* edit = Add<TMaskEdit>(10, 10, 100, 21);
  edit->SetText("12a45");
  EXPECT_NO_THROW(edit->ValidateEdit()) << "no mask: any text";
  edit->SetEditMask("00000;1;_");
  try {
    edit->ValidateEdit();
    ADD_FAILURE() << "no error";
  } catch (const EDBEditError& e) {
    EXPECT_STREQ(e.what(), kMaskEditError);
  }
  EXPECT_THROW(edit->Perform(CM_EXIT, 0, 0), EDBEditError) << "checked when the edit is left";
  edit->SetText("12345");
  EXPECT_NO_THROW(edit->ValidateEdit());
  EXPECT_NO_THROW(edit->Perform(CM_EXIT, 0, 0));
}

}  // namespace

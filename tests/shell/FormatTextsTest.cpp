// FormatStrPos and FormatKilobytes: positional inserts and kilobyte texts.
#include <gtest/gtest.h>

#include "tests/toolkit/RtlSettings.h"
#include "shell/KxFileRoutines.h"
#include "shell/KxFormatStrPos.h"

TEST(FormatStrPos, InsertsByPosition) {
  struct Case {
    const char* name;
    const char* format;
    std::vector<std::string> texts;
    const char* expected;
  } cases[] = {
      {"in order", "%1 and %2", {"one", "two"}, "one and two"},
      {"reversed", "%2 before %1", {"one", "two"}, "two before one"},
      {"repeated", "%1%1%1", {"ab"}, "ababab"},
      {"no inserts", "plain text", {}, "plain text"},
      {"empty format", "", {"x"}, ""},
      {"insert beyond the texts", "[%3]", {"a"}, "[]"},
      {"the folder warning", "Unable to create the folder '%2'\n\n%1",
       {"Access denied.", "New Folder"}, "Unable to create the folder 'New Folder'\r\n\r\nAccess denied."},
      {"non-ASCII", "%1 C", {"\xE2\x84\x83"}, "\xE2\x84\x83 C"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatStrPos(c.format, c.texts), c.expected) << c.name;
}

TEST(FormatStrPos, TakesFiftyTextsAndRaisesOnFiftyOne) {
  std::vector<std::string> texts(50);
  for (int i = 0; i < 50; ++i) texts[i] = "t" + std::to_string(i + 1);
  EXPECT_EQ(FormatStrPos("%50 %1", texts), "t50 t1");
  texts.push_back("t51");
  try {
    FormatStrPos("%1", texts);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "FormatStrPos: Too many substitution strings");
  }
}

TEST(FormatKilobytes, RoundsUpWithThousandsSeparators) {
  ProcessSettingsGuard guard;
  FormatSettings().ThousandSeparator = ',';
  struct Case {
    uint64_t bytes;
    const char* expected;
  } cases[] = {
      {0, "0KB"},
      {1, "1KB"},
      {1024, "1KB"},
      {1025, "2KB"},
      {1024ull * 1234, "1,234KB"},
      {5000000000ull, "4,882,813KB"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatKilobytes(c.bytes), c.expected) << c.bytes;
}

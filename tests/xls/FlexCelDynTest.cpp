// FlexCelDyn.dll through its C interface: workbooks read back by python3-xlrd, the error
// convention, and bad input (null handles, out-of-range cells, missing or broken pictures)
// coming back as error texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/XlrdDump.h"
#include "support/TestBitmap.h"
#include "xls/FlexCelDyn.h"

namespace {

std::string Narrow(const wchar_t* w) {
  std::string s;
  for (; w && *w; ++w) s += *w < 128 ? static_cast<char>(*w) : '?';
  return s;
}

// A Windows path for a Unix path under the build tree, as the library takes file names.
std::wstring WidePath(const std::string& unixPath) {
  const std::string w = WinPath(unixPath);
  return std::wstring(w.begin(), w.end());
}

// The text of an error (released), or "" for success.
std::string Take(XlsError e) {
  std::string s = Narrow(e);
  XLFreeError(e);
  return s;
}

class FlexCelDyn : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Take(XLInit()), "");
    ASSERT_EQ(Take(XLCreate(1, &book_)), "");
    ASSERT_NE(book_, 0u);
    ASSERT_EQ(Take(XLNewFile(book_, 1, 0)), "");
  }
  void TearDown() override {
    if (book_) {
      EXPECT_EQ(Take(XLFree(book_)), "");
    }
    EXPECT_EQ(Take(XLShutdown()), "");
  }

  std::string Path(const std::string& name) {
    return TestOutputDir() + "/" + testing::UnitTest::GetInstance()->current_test_info()->name() + name;
  }
  std::string SetText(int row, int col, const wchar_t* text, int format = -1) {
    TRichStringDll value{text, 0, nullptr};
    return Take(XLSetCellValueString(book_, -1, row, col, &value, format));
  }
  std::string Save(const std::string& unixPath) {
    return Take(XLSave(book_, WidePath(unixPath).c_str(), 0, 9, L"UTF8"));
  }
  int AddFormat(int size20, THFlxAlignment align, const wchar_t* font = L"Times New Roman") {
    TFlxFormat f{};
    EXPECT_EQ(Take(XLGet_GetDefaultFormat(book_, &f)), "");
    f.Font.Name = font;
    f.Font.Size20 = size20;
    f.HAlignment = align;
    std::int32_t index = -1;
    EXPECT_EQ(Take(XLAddFormat(book_, &f, &index)), "");
    return index;
  }
  static IImageProperties Anchored(int col1, int row1, int col2, int row2) {
    IImageProperties p{};
    p.Version = 1;
    p.Anchor.Col1 = col1;
    p.Anchor.Row1 = row1;
    p.Anchor.Col2 = col2;
    p.Anchor.Row2 = row2;
    for (double& d : p.Anchor.Reserved) d = -1.0;
    p.ShapeName = L"My image";
    return p;
  }

  XlsHandle book_ = 0;
};

TEST_F(FlexCelDyn, WritesCellsFormatsMergesWidthsAndAPictureThatXlrdReadsBack) {
  const int big = AddFormat(350, fhaCenter);
  const int small = AddFormat(150, fhaCenter);
  ASSERT_EQ(Take(XLSetColWidth(book_, 1, 8, 2560)), "");
  ASSERT_EQ(Take(XLMergeCells(book_, 1, 1, 1, 8)), "");
  ASSERT_EQ(SetText(1, 1, L"Title \u00e9\uff1a"), "");
  ASSERT_EQ(Take(XLSetCellFormat(book_, 1, 1, big)), "");
  ASSERT_EQ(SetText(3, 2, L"30.00,20.00,25.00", small), "");
  ASSERT_EQ(Take(XLSetCellFormat(book_, 4, 3, small)), "");  // formatted, no value
  const std::string bmp = Path(".bmp");
  WriteFile(bmp, MakeBitmapFile(40, 30));
  ASSERT_EQ(Take(XLAddImageFromFile(book_, WidePath(bmp).c_str(), Anchored(1, 5, 4, 9))), "");
  const std::string xls = Path(".xls");
  ASSERT_EQ(Save(xls), "");

  const std::vector<std::string> expected = {
      "sheet Sheet1 4 8",
      "colwidth 1 2560", "colwidth 2 2560", "colwidth 3 2560", "colwidth 4 2560",
      "colwidth 5 2560", "colwidth 6 2560", "colwidth 7 2560", "colwidth 8 2560",
      "merge 1 1 1 8",
      "cell 1 1 font=Times New Roman/350 h=2 v=2 text=Title \xc3\xa9\xef\xbc\x9a",
      "cell 3 2 font=Times New Roman/150 h=2 v=2 text=30.00,20.00,25.00",
      "cell 4 3 font=Times New Roman/150 h=2 v=2 text=",
      "picture 1 1/0 5/0 4/0 9/0 name=My image blip=1",
      "blip 1 bytes=3640 bitmap=same",
  };
  EXPECT_EQ(XlrdDump(xls, bmp), expected);
}

}  // namespace

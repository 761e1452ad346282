// FlexCelDyn.dll through its C interface: workbooks read back by python3-xlrd, the error
// convention, and bad input (null handles, out-of-range cells, missing or broken pictures)
// coming back as error texts.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/XlrdDump.h"
#include "toolkit/system/WinApi.h"
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

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
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


 public:
  std::string Path(const std::string& name) {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string file = std::string(info->test_suite_name()) + "." + info->name() + name;
    for (char& c : file)
      if (c == '/') c = '_';
    return TestOutputDir() + "/" + file;
  }
  std::string SetText(int row, int col, const wchar_t* text, int format = -1, int sheet = -1) {
    TRichStringDll value{text, 0, nullptr};
    return Take(XLSetCellValueString(book_, sheet, row, col, &value, format));
  }
  std::string AddPicture(const std::string& unixPath, const IImageProperties& properties) {
    return Take(XLAddImageFromFile(book_, WidePath(unixPath).c_str(), properties));
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


 protected:
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

namespace {

// ---- Workbook contents --------------------------------------------------------------------

TEST_F(FlexCelDyn, AnEmptyWorkbookFitsTheMiniStreamAndStillReads) {
  const std::string xls = Path(".xls");
  ASSERT_EQ(Save(xls), "");
  EXPECT_LT(ReadFile(xls).size(), 4096u + 3 * 512);  // the small stream is not in 512-byte sectors
  EXPECT_EQ(XlrdDump(xls), std::vector<std::string>{"sheet Sheet1 0 0"});
}

TEST_F(FlexCelDyn, TextsOnSeveralSheetsGoToTheNamedOrActiveSheet) {
  ASSERT_EQ(Take(XLNewFile(book_, 3, 0)), "");
  ASSERT_EQ(SetText(2, 2, L"second", -1, 2), "");
  ASSERT_EQ(SetText(1, 1, L"third", -1, 3), "");
  ASSERT_EQ(SetText(1, 3, L"active"), "");
  const std::string xls = Path(".xls");
  ASSERT_EQ(Save(xls), "");
  EXPECT_EQ(XlrdDump(xls), (std::vector<std::string>{
                               "sheet Sheet1 1 3",
                               "cell 1 3 font=Arial/200 h=0 v=2 text=active",
                               "sheet Sheet2 2 2",
                               "cell 2 2 font=Arial/200 h=0 v=2 text=second",
                               "sheet Sheet3 1 1",
                               "cell 1 1 font=Arial/200 h=0 v=2 text=third",
                           }));
}

TEST_F(FlexCelDyn, ManyAndLongTextsCrossStringTableRecordsIntact) {
  // Thousands of strings fill several CONTINUE records; the long ones split across records
  // at both even and odd positions, and a repeated text is stored once.
  std::vector<std::wstring> texts;
  for (int i = 0; i < 3000; ++i)
    texts.push_back(L"\u901a\u9053 " + std::to_wstring(i) + std::wstring(static_cast<std::size_t>(i % 37), L'x'));
  texts.push_back(std::wstring(20000, L'\u2103'));
  texts.push_back(std::wstring(9000, L'a') + L"\u00e9");
  texts.push_back(L"");
  texts.push_back(texts[5]);
  std::vector<std::string> expected = {"sheet Sheet1 " + std::to_string(texts.size()) + " 1"};
  for (std::size_t i = 0; i < texts.size(); ++i) {
    ASSERT_EQ(SetText(static_cast<int>(i) + 1, 1, texts[i].c_str()), "");
    expected.push_back("cell " + std::to_string(i + 1) + " 1 font=Arial/200 h=0 v=2 text=" + Utf8(texts[i]));
  }
  const std::string xls = Path(".xls");
  ASSERT_EQ(Save(xls), "");
  EXPECT_EQ(XlrdDump(xls), expected);
}

TEST_F(FlexCelDyn, ColumnWidthsAndVerticalCentringReadBack) {
  ASSERT_EQ(Take(XLSetColWidth(book_, 1, 4, 2560)), "");
  ASSERT_EQ(Take(XLSetColWidth(book_, 2, 2, 1000)), "");
  ASSERT_EQ(Take(XLSetColWidth(book_, 256, 256, 0)), "");
  TFlxFormat f{};
  ASSERT_EQ(Take(XLGet_GetDefaultFormat(book_, &f)), "");
  f.HAlignment = fhaRight;
  f.VAlignment = fvaCenter;
  std::int32_t index = -1;
  ASSERT_EQ(Take(XLAddFormat(book_, &f, &index)), "");
  ASSERT_EQ(SetText(2, 2, L"middle", index), "");
  const std::string xls = Path(".xls");
  ASSERT_EQ(Save(xls), "");
  EXPECT_EQ(XlrdDump(xls), (std::vector<std::string>{
                               "sheet Sheet1 2 2",
                               "colwidth 1 2560",
                               "colwidth 2 1000",
                               "colwidth 3 2560",
                               "colwidth 4 2560",
                               "colwidth 256 0",
                               "cell 2 2 font=Arial/200 h=3 v=1 text=middle",
                           }));
}

TEST_F(FlexCelDyn, EqualFormatsShareAnIndexAndTheDefaultIsZero) {
  TFlxFormat f{};
  ASSERT_EQ(Take(XLGet_GetDefaultFormat(book_, &f)), "");
  std::int32_t unchanged = -1;
  ASSERT_EQ(Take(XLAddFormat(book_, &f, &unchanged)), "");
  EXPECT_EQ(unchanged, 0);
  const int a = AddFormat(250, fhaCenter);
  const int b = AddFormat(250, fhaCenter, L"Times New Roman");
  const int c = AddFormat(250, fhaLeft);
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
  EXPECT_GT(a, 0);
}

TEST_F(FlexCelDyn, TheSamePictureTwiceIsStoredOnce) {
  const std::string bmp = Path(".bmp");
  WriteFile(bmp, MakeBitmapFile(16, 16));
  ASSERT_EQ(AddPicture(bmp, Anchored(1, 1, 3, 5)), "");
  IImageProperties second = Anchored(4, 2, 6, 9);
  second.Anchor.Dx1 = 512;
  second.Anchor.Dy2 = 128;
  second.ShapeName = nullptr;
  ASSERT_EQ(AddPicture(bmp, second), "");
  const std::string xls = Path(".xls");
  ASSERT_EQ(Save(xls), "");
  EXPECT_EQ(XlrdDump(xls, bmp), (std::vector<std::string>{
                                    "sheet Sheet1 0 0",
                                    "picture 1 1/0 1/0 3/0 5/0 name=My image blip=1",
                                    "picture 1 4/512 2/0 6/0 9/128 name= blip=1",
                                    "blip 1 bytes=808 bitmap=same",
                                }));
}

struct DepthCase {
  const char* name;
  int bits;
};
void PrintTo(const DepthCase& c, std::ostream* os) { *os << c.name; }

class PictureDepths : public FlexCelDyn, public testing::WithParamInterface<DepthCase> {};

TEST_P(PictureDepths, AreStoredAsTheFilesBitmap) {
  const std::string bmp = Path(".bmp");
  const std::vector<std::uint8_t> file = MakeBitmapFile(33, 7, 1, GetParam().bits);
  WriteFile(bmp, file);
  ASSERT_EQ(AddPicture(bmp, Anchored(2, 2, 3, 3)), "");
  const std::string xls = Path(".xls");
  ASSERT_EQ(Save(xls), "");
  EXPECT_EQ(XlrdDump(xls, bmp), (std::vector<std::string>{
                                    "sheet Sheet1 0 0",
                                    "picture 1 2/0 2/0 3/0 3/0 name=My image blip=1",
                                    "blip 1 bytes=" + std::to_string(file.size() - 14) + " bitmap=same",
                                }));
}

INSTANTIATE_TEST_SUITE_P(Bits, PictureDepths,
                         testing::Values(DepthCase{"Mono", 1}, DepthCase{"Sixteen", 4}, DepthCase{"Palette", 8},
                                         DepthCase{"TrueColour", 24}, DepthCase{"WithAlpha", 32}),
                         [](const testing::TestParamInfo<DepthCase>& info) { return std::string(info.param.name); });

TEST_F(FlexCelDyn, APictureOverSevenMegabytesNeedsMoreFatThanTheHeaderLists) {
  // 1700 × 1500 × 3 bytes: the file passes 109 FAT sectors (DIFAT sectors follow) and the
  // picture spans hundreds of drawing-group CONTINUE records.
  const std::string bmp = Path(".bmp");
  WriteFile(bmp, MakeBitmapFile(1700, 1500, 3));
  ASSERT_EQ(AddPicture(bmp, Anchored(1, 24, 9, 50)), "");
  ASSERT_EQ(SetText(1, 1, L"big"), "");
  const std::string xls = Path(".xls");
  ASSERT_EQ(Save(xls), "");
  EXPECT_GT(ReadFile(xls).size(), 109u * 128 * 512);
  EXPECT_EQ(XlrdDump(xls, bmp), (std::vector<std::string>{
                                    "sheet Sheet1 1 1",
                                    "cell 1 1 font=Arial/200 h=0 v=2 text=big",
                                    "picture 1 1/0 24/0 9/0 50/0 name=My image blip=1",
                                    "blip 1 bytes=" + std::to_string(40 + 5100 * 1500) + " bitmap=same",
                                }));
}

// ---- Bad input ----------------------------------------------------------------------------

// Each case makes one call that must fail with a text starting as given; the workbook must
// still save and read afterwards.
struct BadCall {
  const char* name;
  std::string (*call)(FlexCelDyn& t, XlsHandle book);
  const char* messageStart;
};
void PrintTo(const BadCall& c, std::ostream* os) { *os << c.name; }

class BadInput : public FlexCelDyn, public testing::WithParamInterface<BadCall> {
};

TEST_P(BadInput, ComesBackAsAnErrorText) {
  const std::string message = GetParam().call(*this, book_);
  EXPECT_EQ(message.rfind(GetParam().messageStart, 0), 0u) << message;
  ASSERT_EQ(SetText(1, 1, L"still usable"), "");
  const std::string xls = Path(".xls");
  ASSERT_EQ(Save(xls), "");
  EXPECT_THAT(XlrdDump(xls), testing::Contains("cell 1 1 font=Arial/200 h=0 v=2 text=still usable"));
}

std::string BadPicture(FlexCelDyn& t, std::vector<std::uint8_t> bytes, IImageProperties p) {
  const std::string file = t.Path(".jpg");
  WriteFile(file, bytes);
  return t.AddPicture(file, p);
}

IImageProperties Anchor(int col1, int row1, int col2, int row2) {
  IImageProperties p{};
  p.Anchor.Col1 = col1;
  p.Anchor.Row1 = row1;
  p.Anchor.Col2 = col2;
  p.Anchor.Row2 = row2;
  return p;
}

TFlxFormat DefaultFormat(XlsHandle book) {
  TFlxFormat f{};
  XLFreeError(XLGet_GetDefaultFormat(book, &f));
  return f;
}

std::string AddFormatWith(XlsHandle book, void (*change)(TFlxFormat&)) {
  TFlxFormat f = DefaultFormat(book);
  change(f);
  std::int32_t index = 0;
  return Take(XLAddFormat(book, &f, &index));
}

INSTANTIATE_TEST_SUITE_P(
    Calls, BadInput,
    testing::Values(
        // A null handle, for every function that takes one.
        BadCall{"NullHandleText",
                [](FlexCelDyn&, XlsHandle) {
                  TRichStringDll v{L"x", 0, nullptr};
                  return Take(XLSetCellValueString(0, -1, 1, 1, &v, -1));
                },
                "Invalid workbook handle: 0."},
        BadCall{"NullHandleNewFile", [](FlexCelDyn&, XlsHandle) { return Take(XLNewFile(0, 1, 0)); },
                "Invalid workbook handle: 0."},
        BadCall{"NullHandleSave", [](FlexCelDyn&, XlsHandle) { return Take(XLSave(0, L"Z:\\tmp\\x.xls", 0, 9, L"UTF8")); },
                "Invalid workbook handle: 0."},
        BadCall{"NullHandleAddFormat",
                [](FlexCelDyn&, XlsHandle b) {
                  TFlxFormat f = DefaultFormat(b);
                  std::int32_t i = 0;
                  return Take(XLAddFormat(0, &f, &i));
                },
                "Invalid workbook handle: 0."},
        BadCall{"NullHandleCellFormat", [](FlexCelDyn&, XlsHandle) { return Take(XLSetCellFormat(0, 1, 1, 0)); },
                "Invalid workbook handle: 0."},
        BadCall{"NullHandleMerge", [](FlexCelDyn&, XlsHandle) { return Take(XLMergeCells(0, 1, 1, 1, 2)); },
                "Invalid workbook handle: 0."},
        BadCall{"NullHandleWidth", [](FlexCelDyn&, XlsHandle) { return Take(XLSetColWidth(0, 1, 1, 2560)); },
                "Invalid workbook handle: 0."},
        BadCall{"NullHandlePicture",
                [](FlexCelDyn&, XlsHandle) { return Take(XLAddImageFromFile(0, L"Z:\\tmp\\x.bmp", Anchor(1, 1, 2, 2))); },
                "Invalid workbook handle: 0."},
        BadCall{"NullHandleDefaultFormat",
                [](FlexCelDyn&, XlsHandle) {
                  TFlxFormat f{};
                  return Take(XLGet_GetDefaultFormat(0, &f));
                },
                "Invalid workbook handle: 0."},
        BadCall{"NullHandleFree", [](FlexCelDyn&, XlsHandle) { return Take(XLFree(0)); }, "Invalid workbook handle: 0."},
        BadCall{"FreedHandle",
                [](FlexCelDyn&, XlsHandle) {
                  XlsHandle other = 0;
                  XLFreeError(XLCreate(1, &other));
                  XLFreeError(XLFree(other));
                  return Take(XLNewFile(other, 1, 0));
                },
                "Invalid workbook handle: "},
        // Rows and columns outside the format's range.
        BadCall{"RowZero", [](FlexCelDyn& t, XlsHandle) { return t.SetText(0, 1, L"x"); },
                "Row 0 is outside the range 1 to 65536."},
        BadCall{"RowPastTheLast", [](FlexCelDyn& t, XlsHandle) { return t.SetText(65537, 1, L"x"); },
                "Row 65537 is outside the range 1 to 65536."},
        BadCall{"ColumnZero", [](FlexCelDyn&, XlsHandle b) { return Take(XLSetCellFormat(b, 1, 0, 0)); },
                "Column 0 is outside the range 1 to 256."},
        BadCall{"ColumnPastTheLast", [](FlexCelDyn& t, XlsHandle) { return t.SetText(1, 257, L"x"); },
                "Column 257 is outside the range 1 to 256."},
        BadCall{"MergePastTheLastColumn", [](FlexCelDyn&, XlsHandle b) { return Take(XLMergeCells(b, 1, 250, 1, 300)); },
                "Column 300 is outside the range 1 to 256."},
        BadCall{"MergeBackwards", [](FlexCelDyn&, XlsHandle b) { return Take(XLMergeCells(b, 5, 1, 2, 3)); },
                "The last row (2) comes before the first (5)."},
        BadCall{"MergeOverlapping",
                [](FlexCelDyn&, XlsHandle b) {
                  XLFreeError(XLMergeCells(b, 1, 1, 1, 8));
                  return Take(XLMergeCells(b, 1, 8, 2, 9));
                },
                "The merged range overlaps another merged range"},
        BadCall{"WidthColumnPastTheLast", [](FlexCelDyn&, XlsHandle b) { return Take(XLSetColWidth(b, 1, 257, 2560)); },
                "Column 257 is outside the range 1 to 256."},
        BadCall{"NegativeWidth", [](FlexCelDyn&, XlsHandle b) { return Take(XLSetColWidth(b, 1, 8, -1)); },
                "The column width -1 is outside the range 0 to 65535."},
        BadCall{"AnchorPastTheLastRow",
                [](FlexCelDyn& t, XlsHandle) { return BadPicture(t, MakeBitmapFile(4, 4), Anchor(1, 1, 2, 65537)); },
                "Row 65537 is outside the range 1 to 65536."},
        BadCall{"AnchorOffsetTooLarge",
                [](FlexCelDyn& t, XlsHandle) {
                  IImageProperties p = Anchor(1, 1, 2, 2);
                  p.Anchor.Dx2 = 1024;
                  return BadPicture(t, MakeBitmapFile(4, 4), p);
                },
                "The column offset 1024 is outside the range 0 to 1023."},
        BadCall{"AnchorBackwards",
                [](FlexCelDyn& t, XlsHandle) { return BadPicture(t, MakeBitmapFile(4, 4), Anchor(3, 3, 2, 2)); },
                "The picture's bottom-right corner lies above or left of its top-left corner."},
        // Pictures that cannot be read or are no bitmap.
        BadCall{"MissingPicture",
                [](FlexCelDyn&, XlsHandle b) { return Take(XLAddImageFromFile(b, L"Z:\\nonexistent\\TmpLine.jpg", Anchor(1, 1, 2, 2))); },
                "Cannot read the picture file \"Z:\\nonexistent\\TmpLine.jpg\": "},
        BadCall{"PictureNamedNothing", [](FlexCelDyn&, XlsHandle b) { return Take(XLAddImageFromFile(b, nullptr, Anchor(1, 1, 2, 2))); },
                "The picture file name is empty."},
        BadCall{"PictureThatIsText",
                [](FlexCelDyn& t, XlsHandle) {
                  const std::string text = "GIF89a, or rather plain text that is long enough to be looked at";
                  return BadPicture(t, std::vector<std::uint8_t>(text.begin(), text.end()), Anchor(1, 1, 2, 2));
                },
                "The picture \""},
        BadCall{"TruncatedPicture",
                [](FlexCelDyn& t, XlsHandle) {
                  std::vector<std::uint8_t> f = MakeBitmapFile(64, 64);
                  f.resize(f.size() / 2);
                  return BadPicture(t, f, Anchor(1, 1, 2, 2));
                },
                "The picture \""},
        BadCall{"CompressedPicture",
                [](FlexCelDyn& t, XlsHandle) {
                  std::vector<std::uint8_t> f = MakeBitmapFile(8, 8, 0, 8);
                  f[30] = 1;  // BI_RLE8
                  return BadPicture(t, f, Anchor(1, 1, 2, 2));
                },
                "The picture \""},
        // Missing records and values the format cannot hold.
        BadCall{"NoCellText", [](FlexCelDyn&, XlsHandle b) { return Take(XLSetCellValueString(b, -1, 1, 1, nullptr, -1)); },
                "The cell text is missing (nil)."},
        BadCall{"TextRuns",
                [](FlexCelDyn&, XlsHandle b) {
                  TRichStringDll v{L"x", 1, nullptr};
                  return Take(XLSetCellValueString(b, -1, 1, 1, &v, -1));
                },
                "Formatted text runs are not supported."},
        BadCall{"TextTooLong",
                [](FlexCelDyn& t, XlsHandle) { return t.SetText(1, 1, std::wstring(32768, L'x').c_str()); },
                "The text is longer than 32767 characters."},
        BadCall{"MissingSheet", [](FlexCelDyn& t, XlsHandle) { return t.SetText(1, 1, L"x", -1, 2); },
                "Sheet 2 does not exist."},
        BadCall{"UnregisteredFormat", [](FlexCelDyn& t, XlsHandle) { return t.SetText(1, 1, L"x", 7); },
                "The format index 7 is not a registered format."},
        BadCall{"NoFormatRecord",
                [](FlexCelDyn&, XlsHandle b) {
                  std::int32_t i = 0;
                  return Take(XLAddFormat(b, nullptr, &i));
                },
                "The format is missing (nil)."},
        BadCall{"NoFormatIndexAddress",
                [](FlexCelDyn&, XlsHandle b) {
                  TFlxFormat f = DefaultFormat(b);
                  return Take(XLAddFormat(b, &f, nullptr));
                },
                "The format index's address is missing (nil)."},
        BadCall{"TinyFont", [](FlexCelDyn&, XlsHandle b) { return AddFormatWith(b, [](TFlxFormat& f) { f.Font.Size20 = 10; }); },
                "The font size (in twentieths of a point) 10 is outside the range 20 to 8180."},
        BadCall{"NoFontName", [](FlexCelDyn&, XlsHandle b) { return AddFormatWith(b, [](TFlxFormat& f) { f.Font.Name = nullptr; }); },
                "The font name is empty."},
        BadCall{"UnknownAlignment", [](FlexCelDyn&, XlsHandle b) { return AddFormatWith(b, [](TFlxFormat& f) { f.HAlignment = 9; }); },
                "The horizontal alignment 9 is outside the range 0 to 6."},
        BadCall{"NoSheets", [](FlexCelDyn&, XlsHandle b) { return Take(XLNewFile(b, 0, 0)); },
                "The sheet count 0 is outside the range 1 to 255."},
        BadCall{"SaveWithoutName", [](FlexCelDyn&, XlsHandle b) { return Take(XLSave(b, nullptr, 0, 9, L"UTF8")); },
                "The file name is empty."},
        BadCall{"SaveIntoAMissingFolder",
                [](FlexCelDyn&, XlsHandle b) { return Take(XLSave(b, L"Z:\\nonexistent\\report.xls", 0, 9, L"UTF8")); },
                "Cannot write the file \"Z:\\nonexistent\\report.xls\": "}),
    [](const testing::TestParamInfo<BadCall>& info) { return std::string(info.param.name); });

// ---- Library life cycle -------------------------------------------------------------------

TEST(FlexCelDynLifeCycle, CallsBeforeStartOrAfterShutdownAreErrors) {
  XlsHandle book = 0;
  EXPECT_EQ(Take(XLCreate(1, &book)), "FlexCelDyn has not been started: call XLInit first.");
  EXPECT_EQ(book, 0u);
  ASSERT_EQ(Take(XLInit()), "");
  ASSERT_EQ(Take(XLCreate(1, &book)), "");
  ASSERT_EQ(Take(XLShutdown()), "");  // releases the workbook too
  ASSERT_EQ(Take(XLInit()), "");
  EXPECT_EQ(Take(XLNewFile(book, 1, 0)), "Invalid workbook handle: " + std::to_string(book) + ".");
  EXPECT_EQ(Take(XLShutdown()), "");
  EXPECT_EQ(Take(XLShutdown()), "FlexCelDyn has not been started: call XLInit first.");
}

TEST(FlexCelDynLifeCycle, ReportsVersion6_21_0AndReleasesNoText) {
  EXPECT_EQ(XLVersion(), 0x061500u);
  EXPECT_EQ(XLFreeError(nullptr), nullptr);
}

TEST(FlexCelDynLifeCycle, AWorkbookWithoutNewFileRefusesCells) {
  ASSERT_EQ(Take(XLInit()), "");
  XlsHandle book = 0;
  ASSERT_EQ(Take(XLCreate(0, &book)), "");
  EXPECT_EQ(Take(XLMergeCells(book, 1, 1, 1, 2)), "The workbook has no file yet: call NewFile first.");
  EXPECT_EQ(Take(XLFree(book)), "");
  EXPECT_EQ(Take(XLShutdown()), "");
}

}  // namespace

// Platform services of the run-time library.
#include <gtest/gtest.h>

#include <cfenv>
#include <cstdint>

#include "toolkit/rtl/Math.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"

TEST(Platform, IdentifierIsNtFamily) { EXPECT_EQ(Win32Platform(), static_cast<unsigned long>(VER_PLATFORM_WIN32_NT)); }

TEST(Platform, SafeLoadLibraryLoadsAndKeepsTheErrorMode) {
  const UINT before = SetErrorMode(0);
  SetErrorMode(before);
  void* module = SafeLoadLibrary("kernel32.dll");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(module, reinterpret_cast<void*>(GetModuleHandleW(L"kernel32.dll")));
  FreeLibrary(static_cast<HMODULE>(module));
  EXPECT_EQ(SafeLoadLibrary("no_such_library_here.dll"), nullptr);
  const UINT after = SetErrorMode(before);
  EXPECT_EQ(after, before);
}

TEST(Platform, LeadBytesFollowTheAnsiCodePage) {
  EXPECT_FALSE(IsLeadByte('A'));
  CPINFO info{};
  ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
  // A single-byte code page has no lead bytes; a double-byte one lists them in ranges.
  if (info.MaxCharSize == 1) {
    EXPECT_FALSE(IsLeadByte('\xB0'));
  } else {
    EXPECT_TRUE(IsLeadByte(static_cast<char>(info.LeadByte[0])));
  }
}

TEST(Platform, AbstractErrorRaises) {
  try {
    AbstractError();
    ADD_FAILURE();
  } catch (const EAbstractError& e) {
    EXPECT_EQ(e.Message(), "Abstract Error");
  }
}

TEST(CompareValue, Table) {
  struct Case {
    const char* name;
    long double a, b, eps;
    int expected;
  };
  static const Case cases[] = {
      {"less", 1, 2, 0, -1},
      {"greater", 2, 1, 0, 1},
      {"equal within default tolerance", 0.1L + 0.2L, 0.3L, 0, 0},
      {"equal within given epsilon", 1.0L, 1.05L, 0.1L, 0},
      {"outside given epsilon", 1.0L, 1.2L, 0.1L, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CompareValue(c.a, c.b, c.eps), c.expected);
  }
}

// Every face and size the windows draw with must draw each character the program shows, taken
// from a linked font where the face lacks it (a missing one is left out of the text without a
// trace), and inside the line: an underscore below a label's last row is lost.
TEST(Platform, FacesTheWindowsUseDrawTheProgramsCharacters) {
  struct Sample {
    const wchar_t* name;
    const wchar_t* text;
  };
  const Sample samples[] = {{L"degrees Celsius", L"\x2103"}, {L"fullwidth brackets", L"\xFF08\xFF09"},
                            {L"underscore", L"_"}, {L"Chinese", L"\x81EA\x52A8\x9009\x62E9"}};
  struct Use {
    const wchar_t* face;
    int height;       // font height as the window asks for it
    int lineHeight;   // the height of the control the text must fit in
  };
  const Use uses[] = {
      {L"MS Sans Serif", -11, 13},  // dialogs and their labels (the toolkit's default font)
      {L"MS Sans Serif", -14, 16},  // the main window and its 16-pixel labels
      {L"Verdana", -11, 14},        // chart labels, legend and titles on the GDI canvas
      {L"Arial", -11, 14},          // the chart library's default font
      {L"Tahoma", -11, 14},         // menus, captions and message boxes (the system's fonts)
      {L"Microsoft Sans Serif", -11, 13},
      {L"Times New Roman", -13, 16},
      {L"Courier New", -13, 16},
  };
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = 64;
  info.bmiHeader.biHeight = -32;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bitmap, nullptr);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (const Use& use : uses) {
    const wchar_t* face = use.face;
    HFONT font = CreateFontW(use.height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
    HGDIOBJ oldFont = SelectObject(dc, font);
    for (const Sample& s : samples) {
      // Each character alone: one left out must not hide behind its neighbours' ink.
      for (const wchar_t* c = s.text; *c; ++c) {
        for (int i = 0; i < 64 * 32; ++i) pixels[i] = 0xFFFFFF;
        // Drawn at the top of the line, clipped to it, as a label draws.
        RECT line{4, 4, 60, 4 + use.lineHeight};
        ExtTextOutW(dc, 4, 4, ETO_CLIPPED, &line, c, 1, nullptr);
        GdiFlush();
        int ink = 0;
        for (int i = 0; i < 64 * 32; ++i) ink += (pixels[i] & 0xFFFFFF) != 0xFFFFFF;
        EXPECT_GT(ink, *c == L'_' ? 2 : 3) << "face " << WideToUtf8(face) << " " << use.height << ", "
                                            << WideToUtf8(s.name) << " U+" << std::hex << static_cast<unsigned>(*c);
      }
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
  }
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

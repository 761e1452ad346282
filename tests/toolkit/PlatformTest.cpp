// Platform services of the run-time library.
#include <gtest/gtest.h>

#include <cfenv>

#include "toolkit/rtl/Math.h"
#include "toolkit/rtl/SysUtils.h"
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

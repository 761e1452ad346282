// Platform errors as exceptions: message text and code.
#include <gtest/gtest.h>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/system/WinApi.h"

TEST(OSError, RaiseCarriesCodeAndSystemText) {
  const std::string text = SysErrorMessage(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(text.back(), '\n');
  EXPECT_NE(text.back(), '.');
  try {
    RaiseLastOSError(ERROR_FILE_NOT_FOUND);
    ADD_FAILURE();
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode(), 2u);
    EXPECT_EQ(e.Message(), "System Error.  Code: 2.\r\n" + text);
    EXPECT_STREQ(e.ClassName(), "EOSError");
  }
  SetLastError(ERROR_ACCESS_DENIED);
  try {
    RaiseLastOSError();
    ADD_FAILURE();
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode(), 5u);
  }
  try {
    RaiseLastOSError(0);
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "A call to an OS function failed");
    EXPECT_STREQ(e.ClassName(), "EOSError");
  }
}

TEST(Exceptions, ClassNamesAndHierarchy) {
  try {
    throw EZeroDivide("x");
  } catch (const EMathError& e) {
    EXPECT_STREQ(e.ClassName(), "EZeroDivide");
    EXPECT_STREQ(e.what(), "x");
  }
  EAbort abort;
  EXPECT_EQ(abort.Message(), "Operation aborted");
  EXPECT_STREQ(abort.ClassName(), "EAbort");
}

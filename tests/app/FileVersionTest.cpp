// The caption's version text: read from a real version resource, and the fallback.
#include <gtest/gtest.h>

#include "app/FileVersion.h"
#include "support/TestPaths.h"

TEST(GetFileVersionText, ReadsTheBuiltProgramsFourPartVersion) {
  EXPECT_EQ(GetFileVersionText(BinDir() + "Vornakit_more.exe"), VK_PROGRAM_VERSION);
}

TEST(GetFileVersionText, FallsBackWhenThereIsNoVersionResource) {
  // The test program itself carries no version resource; a missing file has none either.
  EXPECT_EQ(GetFileVersionText(BinDir() + "app_tests.exe"), "0.0.0.0");
  EXPECT_EQ(GetFileVersionText(BinDir() + "no such file.exe"), "0.0.0.0");
}

// Entry of every test exe: GoogleTest with the process set up as the program sets itself up.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

// Entry of every test exe: GoogleTest with the process set up as the program sets itself up
// (the main thread is the window thread, so workers can hand calls to it).
#include <gtest/gtest.h>

#include "toolkit/system/Thread.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  InitThreadSynchronization();
  const int result = RUN_ALL_TESTS();
  DoneThreadSynchronization();
  return result;
}

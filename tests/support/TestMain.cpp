// Entry of every test exe: GoogleTest with the process set up as the program sets itself up
// (the main thread is the window thread, so workers can hand calls to it).
#include <gtest/gtest.h>

#include "toolkit/graphics/GraphicsModule.h"
#include "toolkit/system/Thread.h"
#include "toolkit/ui/UiModule.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  InitThreadSynchronization();
  InitGraphics();
  InitControls();
  const int result = RUN_ALL_TESTS();
  DoneControls();
  DoneGraphics();
  DoneThreadSynchronization();
  return result;
}

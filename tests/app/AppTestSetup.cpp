// Sets the app test process up as the program's module initialisation does: the fixed text
// formats hold for every test, and the control set and shell modules run as in the program.
#include <gtest/gtest.h>

#include "app/TextFormats.h"
#include "controls/KxModule.h"
#include "shell/KxShellCtrls.h"
#include "shell/KxShellUtils.h"

namespace {

class AppEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    FixTextFormats();
    InitControlSet();
    ShellUtilsStartup();
    ShellCtrlsStartup();
  }
  void TearDown() override {
    ShellCtrlsShutdown();
    ShellUtilsShutdown();
    DoneControlSet();
  }
};

const testing::Environment* const kAppEnvironment =
    testing::AddGlobalTestEnvironment(new AppEnvironment);

}  // namespace

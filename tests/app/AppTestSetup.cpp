// Sets the app test process up as the program's module initialisation does: the fixed text
// formats hold for every test, and the shell modules run as in the program.
#include <gtest/gtest.h>

#include "app/TextFormats.h"
#include "shell/KxShellCtrls.h"
#include "shell/KxShellUtils.h"

namespace {

class AppEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    FixTextFormats();
    ShellUtilsStartup();
    ShellCtrlsStartup();
  }
  void TearDown() override {
    ShellCtrlsShutdown();
    ShellUtilsShutdown();
  }
};

const testing::Environment* const kAppEnvironment =
    testing::AddGlobalTestEnvironment(new AppEnvironment);

}  // namespace

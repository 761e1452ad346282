// Sets the app test process up as the program's module initialisation does: the fixed text
// formats hold for every test.
#include <gtest/gtest.h>

#include "app/TextFormats.h"

namespace {

class AppEnvironment : public testing::Environment {
 public:
  void SetUp() override { FixTextFormats(); }
};

const testing::Environment* const kAppEnvironment =
    testing::AddGlobalTestEnvironment(new AppEnvironment);

}  // namespace

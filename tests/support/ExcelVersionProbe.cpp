// A test tool: creates a TExcelFile against whichever FlexCelDyn.dll sits beside it and writes
// the outcome to standard output ("created", or the exception's message). Built into the
// folder of the library copy that reports another version, for the version-check test.
#include <cstdio>

#include "app/ExcelFile.h"
#include "toolkit/rtl/SysUtils.h"

int main() {
  try {
    InitializeExcelFile();
    { TExcelFile book(1); }
    FinalizeExcelFile();
    std::fputs("created", stdout);
    return 0;
  } catch (const Exception& e) {
    std::fputs(e.Message().c_str(), stdout);
    return 1;
  }
}

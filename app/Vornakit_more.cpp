// The recorder's entry. Module start-up first (text formats, the window thread's hand-over,
// graphics and controls, the chart library's fonts, canvas classes and texts, the progress
// sink, the spreadsheet library), then the program's own start-up in its fixed
// order: program folder, database tables, shared connection, main window, message loop. A failure
// before the window exists ends the program with the error's message. Shut-down runs the module
// steps in reverse.
#include "app/Vornakit_more.h"

#include "app/AppGlobals.h"
#include "app/Database.h"
#include "app/ExcelFile.h"
#include "app/MyComponent.h"
#include "app/TextFormats.h"
#include "app/uFrmMain.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelFilters.h"
#include "canvas/KelGDIPlus.h"
#include "chart/KelConst.h"
#include "chart/KelProcs.h"
#include "chart/SeriesTypes.h"
#include "chart/SmoothingFunction.h"
#include "controls/KxModule.h"
#include "shell/KxShellCtrls.h"
#include "shell/KxShellUtils.h"
#include "toolkit/graphics/GraphicsModule.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/Thread.h"
#include "toolkit/system/WinApi.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/UiModule.h"

namespace {

// Shows what stopped the start-up; no window exists yet.
void StartupFailed(const std::exception& e) {
  const std::string text = dynamic_cast<const Exception*>(&e)
                               ? static_cast<const Exception&>(e).Message()
                               : std::string(e.what());
  MessageBoxW(nullptr, Utf8ToWide(text).c_str(), L"Vornakit_more", MB_OK | MB_ICONERROR);
}

// Module start-up and shut-down, in this order and its reverse.
class Modules {
 public:
  Modules() {
    FixTextFormats();
    InitThreadSynchronization();
    InitGraphics();
    InitControls();
    InitControlSet();
    KelCanvasStartup();  // the stored fonts and the canvas classes
    KelGDIPlusStartup();  // the GDI+ canvas class; GDI+ starts with its first canvas
    KelFiltersStartup();  // the filter classes and the gradient rotation hook
    KelConstStartup();
    KelProcsStartup();
    ChartTypesStartup();         // the series and function gallery lists
    SmoothingFunctionStartup();  // "Smoothing" on the gallery's "Extended" page
    ShellUtilsStartup();  // COM, the shell allocator and the system versions
    ShellCtrlsStartup();  // OLE and the shell controls' shared state
    StartProgressSink();
    RegisterMainWindowClasses();
  }
  ~Modules() {
    StopProgressSink();
    ShellCtrlsShutdown();
    ShellUtilsShutdown();
    SmoothingFunctionShutdown();
    ChartTypesShutdown();
    KelProcsShutdown();
    KelConstShutdown();
    KelFiltersShutdown();
    KelCanvasShutdown();
    DoneControlSet();
    DoneControls();
    KelGDIPlusShutdown();  // GDI+ stops once every window, and so every chart canvas, is gone
    DoneGraphics();
    DoneThreadSynchronization();
  }
  Modules(const Modules&) = delete;
  Modules& operator=(const Modules&) = delete;
};

}  // namespace

int Vornakit_more() {
  Modules modules;
  try {
    InitializeExcelFile();
  } catch (const std::exception& e) {
    StartupFailed(e);
    return 1;
  }
  int result = 0;
  try {
    Application->Initialize();
    AppPath = ExecutableFolder();
    CreateDatabaseSchema();
    ConnectDatabase();
    Application->CreateForm(FrmMain);
    Application->Run();
  } catch (const std::exception& e) {
    StartupFailed(e);
    result = 1;
  }
  FinalizeExcelFile();
  return result;
}

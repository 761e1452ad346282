// Explicit start-up of the window toolkit.
#include "toolkit/ui/UiModule.h"

#include "toolkit/system/WinApi.h"

#include <commctrl.h>

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Screen.h"
#include "toolkit/ui/StdControlsModule.h"
#include "toolkit/ui/Themes.h"
#include "toolkit/ui/Timer.h"

void DoneThemeServices();

void InitControls() {
  if (Application != nullptr) return;
  INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES |
                                                            ICC_PROGRESS_CLASS | ICC_ANIMATE_CLASS};
  InitCommonControlsEx(&icc);
  Screen = new TScreen(nullptr);
  Application = new TApplication(nullptr);
  ThemeServices();
  // Layout classes are looked up in the controls' class group first.
  StartClassGroup(TControl::StaticClass());
  ActivateClassGroup(TControl::StaticClass());
  GroupDescendentsWith(TTimer::StaticClass(), TControl::StaticClass());
  RegisterClasses({&TForm::StaticClass(), &TTimer::StaticClass()});
  RegisterStandardControls();
}

void DoneControls() {
  delete Application;
  Application = nullptr;
  delete Screen;
  Screen = nullptr;
  DoneThemeServices();
}

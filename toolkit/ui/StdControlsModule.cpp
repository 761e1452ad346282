// The standard control classes layouts may name.
#include "toolkit/ui/StdControlsModule.h"

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/ui/ActnList.h"
#include "toolkit/ui/Animate.h"
#include "toolkit/ui/Button.h"
#include "toolkit/ui/ComboBox.h"
#include "toolkit/ui/DateTimePicker.h"
#include "toolkit/ui/Edit.h"
#include "toolkit/ui/FileDialogs.h"
#include "toolkit/ui/Grids.h"
#include "toolkit/ui/ImgList.h"
#include "toolkit/ui/Label.h"
#include "toolkit/ui/Menus.h"
#include "toolkit/ui/Panel.h"
#include "toolkit/ui/ProgressBar.h"
#include "toolkit/ui/Splitter.h"
#include "toolkit/ui/StatusBar.h"
#include "toolkit/ui/ToolBar.h"

void RegisterStandardControls() {
  RegisterClasses({&TLabel::StaticClass(),       &TEdit::StaticClass(),         &TMaskEdit::StaticClass(),
                   &TButton::StaticClass(),      &TCheckBox::StaticClass(),     &TRadioButton::StaticClass(),
                   &TComboBox::StaticClass(),    &TPanel::StaticClass(),        &TSplitter::StaticClass(),
                   &TMainMenu::StaticClass(),    &TPopupMenu::StaticClass(),    &TMenuItem::StaticClass(),
                   &TToolBar::StaticClass(),     &TToolButton::StaticClass(),   &TStatusBar::StaticClass(),
                   &TStatusPanel::StaticClass(), &TProgressBar::StaticClass(),  &TDateTimePicker::StaticClass(),
                   &TAnimate::StaticClass(),     &TImageList::StaticClass(),    &TActionList::StaticClass(),
                   &TAction::StaticClass(),      &TOpenDialog::StaticClass(),   &TDrawGrid::StaticClass(),
                   &TStringGrid::StaticClass()});
}

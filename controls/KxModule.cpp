// Explicit start-up and shut-down of the control set.
#include "controls/KxModule.h"

#include "controls/KxBlinkingControlsList.h"
#include "controls/KxButton.h"
#include "controls/KxCmboBx.h"
#include "controls/KxCommonColors.h"
#include "controls/KxEdit.h"
#include "controls/KxFrameController.h"
#include "controls/KxLabel.h"
#include "controls/KxPanel.h"
#include "controls/KxPageControl.h"
#include "controls/KxRegIniFile.h"
#include "controls/KxToolButton.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/TypInfo.h"

void InitControlSet() {
  KxCommonColorsInitialize();
  RegisterClasses({&TKxFrameController::StaticClass(), &TKxRegIniFile::StaticClass(), &TKxLabel::StaticClass(),
                   &TKxButton::StaticClass(), &TKxBitBtn::StaticClass(), &TKxComboBox::StaticClass(), &TKxEdit::StaticClass(),
                   &TKxToolButton::StaticClass(), &TKxStatusBar::StaticClass(), &TKxPageControl::StaticClass(),
                   &TKxTabSheet::StaticClass()});
}

void DoneControlSet() {
  ReleaseBlinkerIfIdle();
  FreeKxBitBtnGlyphs();
}

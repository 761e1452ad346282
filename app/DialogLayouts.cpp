// Layout text into a form, with the platform control classes it names registered (the control
// set registers its own classes at its start-up).
#include "app/DialogLayouts.h"

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/ui/Animate.h"
#include "toolkit/ui/Button.h"
#include "toolkit/ui/ComboBox.h"
#include "toolkit/ui/DateTimePicker.h"
#include "toolkit/ui/Edit.h"
#include "toolkit/ui/FormLayout.h"
#include "toolkit/ui/Label.h"
#include "toolkit/ui/ProgressBar.h"

void ReadDialogLayout(TComponent* form, std::string_view layoutText) {
  RegisterClasses({&TLabel::StaticClass(), &TButton::StaticClass(), &TRadioButton::StaticClass(),
                   &TEdit::StaticClass(), &TComboBox::StaticClass(), &TDateTimePicker::StaticClass(),
                   &TProgressBar::StaticClass(), &TAnimate::StaticClass()});
  TMemoryStream layout;
  layout.WriteBuffer(layoutText.data(), static_cast<long long>(layoutText.size()));
  layout.SetPosition(0);
  ReadFormLayout(form, layout);
}

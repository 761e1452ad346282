// Message box helpers.
#include "toolkit/ui/Dialogs.h"

#include "toolkit/ui/Application.h"

void ShowMessage(const std::string& text) {
  if (Application != nullptr) Application->MessageBox(text, Application->Title(), MB_OK);
}

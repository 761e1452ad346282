// TFrmComCheck: the choice of the instrument's serial port among the ports the system lists,
// or "Automatic selection"; on OK the choice is kept and written to com.set. It takes effect
// at the next test start.
#pragma once

#include "toolkit/ui/Form.h"

class TKxButton;
class TComboBox;
class TLabel;

class TFrmComCheck : public TForm {
 public:
  explicit TFrmComCheck(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void AfterConstruction() override;

  TLabel* Show1 = nullptr;
  TComboBox* cb1 = nullptr;
  TKxButton* btn1 = nullptr;
  TKxButton* btn2 = nullptr;

  // "Automatic selection" and then the system's ports.
  void LoadPorts();

  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void btn1Click(TObject* sender);
};

// The port choice command: the dialog, modal, freed when it closes.
void PortChoiceCommand();

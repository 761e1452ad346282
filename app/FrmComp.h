// TFrmComp: the company details of the test report (name, address, phone, website), shown
// from the values in memory and, on OK, written to company.ini.
#pragma once

#include "toolkit/ui/Form.h"

class TKxButton;
class TKxEdit;
class TKxLabel;

class TFrmComp : public TForm {
 public:
  explicit TFrmComp(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void AfterConstruction() override;

  TKxLabel* lbl1 = nullptr;
  TKxLabel* lbl2 = nullptr;
  TKxLabel* lbl3 = nullptr;
  TKxLabel* lbl4 = nullptr;
  TKxEdit* edt1 = nullptr;
  TKxEdit* edt2 = nullptr;
  TKxEdit* edt3 = nullptr;
  TKxEdit* edt4 = nullptr;
  TKxButton* btn1 = nullptr;
  TKxButton* btn2 = nullptr;

  // The four company values into the edits.
  void LoadFields();

  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void btn1Click(TObject* sender);
};

// The "company details" command: the dialog, modal, freed when it closes.
void CompanyDetailsCommand();

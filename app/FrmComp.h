// TFrmComp: the company details of the test report (name, address, phone, website), shown
// from the values in memory and, on OK, written to company.ini.
#pragma once

#include "toolkit/ui/Form.h"

class TButton;
class TEdit;
class TLabel;

class TFrmComp : public TForm {
 public:
  explicit TFrmComp(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void AfterConstruction() override;

  TLabel* lbl1 = nullptr;
  TLabel* lbl2 = nullptr;
  TLabel* lbl3 = nullptr;
  TLabel* lbl4 = nullptr;
  TEdit* edt1 = nullptr;
  TEdit* edt2 = nullptr;
  TEdit* edt3 = nullptr;
  TEdit* edt4 = nullptr;
  TButton* btn1 = nullptr;
  TButton* btn2 = nullptr;

  // The four company values into the edits.
  void LoadFields();

  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void btn1Click(TObject* sender);
};

// The "company details" command: the dialog, modal, freed when it closes.
void CompanyDetailsCommand();

// TFrmselect: the "History queries" dialog: start and end date and time, first filled with the
// range the history covers; "Inquire" runs the query of the picked range into the main
// window's chart and data grid (HistoryQuery) and closes the dialog with OK.
#pragma once

#include <functional>
#include <string>

#include "toolkit/ui/Form.h"

class TKxButton;
class TDateTimePicker;
class TLabel;
class TStringGrid;
class TZQuery;

class TFrmselect : public TForm {
 public:
  explicit TFrmselect(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void AfterConstruction() override;

  TLabel* lbl1 = nullptr;
  TLabel* lbl2 = nullptr;
  TLabel* lbl3 = nullptr;
  TLabel* lbl4 = nullptr;
  TDateTimePicker* dtp1 = nullptr;
  TDateTimePicker* dtp2 = nullptr;
  TDateTimePicker* dtp3 = nullptr;
  TDateTimePicker* dtp4 = nullptr;
  TKxButton* btn1 = nullptr;
  TZQuery* Q1 = nullptr;

  // Where "Inquire" puts its results: the curves of the range (false: stop) and the grid.
  std::function<bool(const std::string& start, const std::string& end)> RebuildCurves;
  TStringGrid* Grid = nullptr;

  // The pickers from the history's first and last times; "Inquire" disabled without history.
  void LoadTimeRange();

  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void btn1Click(TObject* sender);
};

// The "History queries" command: refused while a test runs ("Stop the test before querying
// history."); otherwise RunMode := 2 and the dialog. True when it closed with OK (the main
// window then shows its chart page).
bool HistoryQueryCommand(TStringGrid* grid,
                         std::function<bool(const std::string& start, const std::string& end)> rebuildCurves);

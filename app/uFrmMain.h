// The recorder's main window TFrmMain (one instance, FrmMain): the test information grid, the
// page control with the value grid, the data grid and the chart page, the test controls, menus,
// tool bar and status bar. Built from its layout (resource TFRMMAIN); its code sets the English
// texts, lays the grids out from the config row, draws and guards the cells, starts and stops
// tests and shows what the acquisition thread hands it (IAcquisitionView, always on the window
// thread). Closing waits, still dispatching messages, until the acquisition thread has ended.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/AcquisitionView.h"
#include "app/AppGlobals.h"
#include "app/FrmSelectFile.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Grids.h"

class TAction;
class TActionList;
class TButton;
class TKxButton;
class TKxComboBox;
class TKxLabel;
class TComboBox;
class TDBChart;
class TEdit;
class TImageList;
class TLabel;
class TMainMenu;
class TMenuItem;
class TKxPageControl;
class TPanel;
class TSplitter;
class TStatusBar;
class TKxTabSheet;
class TTimer;
class TToolBar;
class TToolButton;
class TZQuery;

class TFrmMain : public TForm, public IAcquisitionView {
 public:
  explicit TFrmMain(TComponent* owner);
  ~TFrmMain() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // ---- Components of the layout --------------------------------------------------------
  TMainMenu* mm1 = nullptr;
  TMenuItem* N1 = nullptr;   // System
  TMenuItem* N11 = nullptr;  // Serial port settings
  TMenuItem* N12 = nullptr;  // Report settings
  TMenuItem* N2 = nullptr;   // View
  TMenuItem* N21 = nullptr;
  TMenuItem* N22 = nullptr;
  TMenuItem* N23 = nullptr;
  TMenuItem* N3 = nullptr;   // Export
  TMenuItem* N31 = nullptr;
  TMenuItem* N32 = nullptr;
  TMenuItem* N33 = nullptr;
  TMenuItem* N4 = nullptr;   // History
  TMenuItem* N41 = nullptr;
  TMenuItem* N42 = nullptr;
  TMenuItem* N43 = nullptr;
  TMenuItem* N44 = nullptr;
  TMenuItem* N45 = nullptr;
  TMenuItem* N50 = nullptr;  // Quit
  TToolBar* tlb1 = nullptr;
  TToolButton* TB1 = nullptr;
  TToolButton* tb2 = nullptr;
  TToolButton* tb3 = nullptr;
  TToolButton* tb4 = nullptr;
  TImageList* ilTray = nullptr;
  TStatusBar* stat1 = nullptr;
  TPanel* pnl3 = nullptr;
  TLabel* lbl_show1 = nullptr;
  TEdit* edt1 = nullptr;
  TKxComboBox* cbb_show1 = nullptr;
  TKxButton* btn_start = nullptr;
  TKxButton* btn_stop = nullptr;
  TLabel* lbl_show2 = nullptr;
  TKxLabel* lbl_show3 = nullptr;
  TStringGrid* std1 = nullptr;
  TSplitter* spl1 = nullptr;
  TKxPageControl* r1 = nullptr;
  TKxTabSheet* sht1 = nullptr;
  TStringGrid* std3 = nullptr;
  TKxTabSheet* sht2 = nullptr;
  TStringGrid* std2 = nullptr;
  TKxTabSheet* sht3 = nullptr;
  TPanel* pnl1 = nullptr;
  TLabel* Show1 = nullptr;
  TLabel* Show2 = nullptr;
  TEdit* L_up = nullptr;
  TEdit* L_down = nullptr;
  TButton* btn_1 = nullptr;
  TDBChart* dbcht1 = nullptr;
  TTimer* tmr1 = nullptr;
  TTimer* timer1 = nullptr;
  TZQuery* zqry1 = nullptr;
  TZQuery* qry_out1 = nullptr;
  TActionList* actlst1 = nullptr;
  TAction* act1 = nullptr;
  TAction* act3 = nullptr;
  TAction* act4 = nullptr;
  TAction* act5 = nullptr;
  TAction* act6 = nullptr;
  TAction* act7 = nullptr;
  TAction* act8 = nullptr;
  TAction* act9 = nullptr;

  // ---- Window steps ----------------------------------------------------------------------
  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void FormCloseQuery(TObject* sender, bool& canClose);
  void FormClose(TObject* sender, TCloseAction& action);

  // English texts, the config row, grid layout for the module count, the channel queries.
  void init();
  // Empties every cell of the data grid's rows 1 .. last (the row count stays).
  void clear_std2();

  // ---- Commands ----------------------------------------------------------------------------
  void btn_startClick(TObject* sender);
  void btn_stopClick(TObject* sender);
  void tmr1Timer(TObject* sender);
  // The chart tick: while a test runs and the chart page is shown, adds the rows stored since
  // the last tick (or the last full load) to the live curves; a new test, a history query and
  // the report load the curves fully instead.
  void timer1Timer(TObject* sender);
  // "Set": both limit edits as numbers (4 decimals); a lower limit above the upper one is
  // refused with a message; otherwise the left axis shows exactly lower..upper.
  void btn_1Click(TObject* sender);
  void r1Change(TObject* sender);
  void N21Click(TObject* sender);
  void N22Click(TObject* sender);
  void N23Click(TObject* sender);
  void N41Click(TObject* sender);
  void N42Click(TObject* sender);
  void N50Click(TObject* sender);
  void act1Execute(TObject* sender);
  void act3Execute(TObject* sender);
  void act4Execute(TObject* sender);
  void act5Execute(TObject* sender);
  void act6Execute(TObject* sender);
  void act7Execute(TObject* sender);
  void act8Execute(TObject* sender);
  void act9Execute(TObject* sender);

  // ---- Grids and keys ----------------------------------------------------------------------
  void std1DrawCell(TObject* sender, int col, int row, TRect rect, TGridDrawState state);
  void std2DrawCell(TObject* sender, int col, int row, TRect rect, TGridDrawState state);
  void std1SelectCell(TObject* sender, int col, int row, bool& canSelect);
  void std1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void edt1KeyPress(TObject* sender, wchar_t& key);
  void L_upKeyPress(TObject* sender, wchar_t& key);
  void L_downKeyPress(TObject* sender, wchar_t& key);

  // ---- Curves ------------------------------------------------------------------------------
  // Frees every curve, then makes `count` curves (channel i + 1) reading X from "dtime2" of
  // newdata (live) or "dtime" of olddata between start and end (history), all fed by one query
  // (SeriesQueries[0]) that is read once and loads every curve as it opens. A query that fails
  // (logged) leaves the curves empty: false.
  bool BuildCurves(int count, bool history, const std::string& start = {}, const std::string& end = {});
  // The history query's curves for 8 x ModuleCount channels.
  bool BuildHistoryCurves(const std::string& start, const std::string& end);
  // Reloads every curve the chart holds from their query, reopened (the report's refresh); a
  // query that fails to reopen is logged.
  void ReloadCurves();
  // The chart's fixed settings (axes, fonts, background); see the source for the ones the chart
  // library does not offer yet.
  void ConfigureCurveChart();
  // Highest newdata ID the live curves hold.
  int LastCurveRowId() const { return lastCurveRowId_; }

  // The selected row of the test information grid (-1 none), set by a left click.
  int SelectedInfoRow() const { return selectedRow_; }

  // True while "Import history" runs. Its progress window keeps dispatching messages, so for
  // that time every command but Quit is disabled (menus, tool buttons, start, Set) and each
  // command handler refuses to run: nothing else may use the database or the abort flag
  // meanwhile. Quitting still asks, then stops the import before its next record.
  bool ImportRunning() const { return importRunning_; }
  // How "Import history" asks for the file or folder: the import dialog unless a test gives
  // another.
  THistoryImportChooser ChooseImport = ChooseHistoryImport;
  // The shell call of "View the exported report or record" (ShellExecuteW with these
  // arguments, UTF-8 texts); tests replace it.
  std::function<void(HWND owner, const std::string& verb, const std::string& file,
                     const std::string& parameters, int show)>
      ShellExecuteCall;

  // ---- What the acquisition thread shows ---------------------------------------------------
  void ShowPortName(const std::string& port) override;
  void ShowConnectionState(const std::string& text) override;
  void ShowStatusText(const std::string& text) override;
  void SetTestInfoValue(int row, const std::string& text) override;
  void SetDataGridChannels(int channelCount) override;
  void showway(int channelCount, int rebuild) override;
  void EnableStopButton() override;
  void ShowSample(const TSampleView& sample) override;
  void AcquisitionEnded() override;

 protected:
  void Loaded() override;

 private:
  // A "prompt" message box with the warning icon; answers the button pressed.
  int Prompt(const std::string& text, UINT buttons = MB_OK);
  // Refuses a command while a test runs, with `message`; true when refused.
  bool RefusedWhileTesting(const std::string& message);
  // Disables every command but Quit for the time of an import (lock), or enables again what it
  // disabled (unlock).
  void LockCommandsForImport(bool lock);
  // ModuleCount, PointMode and ModuleTypes from the config row; false (logged, the values
  // unchanged) when it cannot be read: the query fails, the row or a column is missing.
  bool ReadConfigRow();
  // The value grid's header and label rows of all 8 modules.
  void FillValueGridHeaders();
  // Fills `ilTray` with the tool bar's pictures and gives each tool action its image.
  void LoadToolImages();

  int selectedRow_ = -1;
  bool importRunning_ = false;
  // What LockCommandsForImport disabled, to be enabled again.
  std::vector<TMenuItem*> lockedMenus_;
  std::vector<TAction*> lockedActions_;
  std::vector<TControl*> lockedControls_;
  // The live curves are built (their X field is dtime2) and hold newdata up to this ID.
  bool liveCurves_ = false;
  int lastCurveRowId_ = 0;
  // The tick's query of new rows.
  TZQuery* tickQuery_ = nullptr;
};

// Registers the classes the main window's layout names beyond the toolkit's own (its queries).
void RegisterMainWindowClasses();

// Only the characters the interval edit takes: digits, backspace, Enter and Ctrl+V (22);
// `allowMinus` lets "-" through too (the chart limit edits). Others become 0.
void FilterIntervalKey(wchar_t& key, bool allowMinus);

// Whether the test information grid lets the operator select (and edit) a cell: columns 1 and
// up of rows 0-4 and 7-9.
bool InfoCellEditable(int col, int row);

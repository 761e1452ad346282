// The main window: layout binding, the window steps, the English texts and grid layout, the
// test commands, cell drawing and guarding, and what the acquisition thread shows.
#include "app/uFrmMain.h"

#include <algorithm>
#include <utility>

#include "app/AlarmConversion.h"
#include "app/FrmComCheck.h"
#include "app/FrmComp.h"
#include "app/FrmSelectFile.h"
#include "app/Frmselect.h"
#include "app/Database.h"
#include "app/DailyLog.h"
#include "app/FileVersion.h"
#include "app/RecordExport.h"
#include "app/Settings.h"
#include "app/TestReport.h"
#include "app/TsmThread_gz.h"
#include "canvas/KelFont.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "chart/ChartAxis.h"
#include "chart/DBChart.h"
#include "chart/FastLineSeries.h"
#include "chart/KelShapes.h"
#include "controls/KxButton.h"
#include "controls/KxCmboBx.h"
#include "controls/KxLabel.h"
#include "controls/KxPageControl.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/data/Field.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/data/ZQuery.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/Thread.h"
#include "toolkit/ui/ActnList.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Button.h"
#include "toolkit/ui/ComboBox.h"
#include "toolkit/ui/Edit.h"
#include "toolkit/ui/ImgList.h"
#include "toolkit/ui/Label.h"
#include "toolkit/ui/Menus.h"
#include "toolkit/ui/Panel.h"
#include "toolkit/ui/Splitter.h"
#include "toolkit/ui/StatusBar.h"
#include "toolkit/ui/Timer.h"
#include "toolkit/ui/ToolBar.h"

#include <shellapi.h>

namespace {

const char kPrompt[] = "prompt";
const char kDegrees[] = "℃";

// Rows of the test information grid.
constexpr int kInfoLabelRows = 11;      // rows 0..10 carry fixed labels
constexpr int kFirstChannelInfoRow = 11;

const char* const kInfoLabels[kInfoLabelRows] = {
    "Report number",      "Product number",      "Product model",    "Manufacturer",
    "Operators",          "Test information",    "Test time",        "Test the equipment",
    "Ambient temperature", "Ambient humidity",   "Test data",
};

std::string NowText() { return FormatDateTime("yyyy-mm-dd hh:mm:ss", Now()); }

}  // namespace

void RegisterMainWindowClasses() {
  // The control set's classes come from its own start-up.
  RegisterClasses({&TZQuery::StaticClass(), &TDBChart::StaticClass(), &TFastLineSeries::StaticClass()});
}

void FilterIntervalKey(wchar_t& key, bool allowMinus) {
  const bool digit = key >= L'0' && key <= L'9';
  const bool control = key == 8 || key == 13 || key == 22;
  if (digit || control || (allowMinus && key == L'-')) return;
  key = 0;
}

bool InfoCellEditable(int col, int row) {
  return col >= 1 && ((row >= 0 && row <= 4) || (row >= 7 && row <= 9));
}

// ---- Class information ----------------------------------------------------------------------

TFrmMain::TFrmMain(TComponent* owner)
    : TForm(owner),
      ShellExecuteCall([](HWND window, const std::string& verb, const std::string& file,
                          const std::string& parameters, int show) {
        ShellExecuteW(window, Utf8ToWide(verb).c_str(), Utf8ToWide(file).c_str(), Utf8ToWide(parameters).c_str(),
                      nullptr, show);
      }) {}

TFrmMain::~TFrmMain() {
  if (FrmMain == this) FrmMain = nullptr;
}

const TClassInfo& TFrmMain::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TFrmMain>("TFrmMain", &TForm::StaticClass())
          .Method("FormCreate", &TFrmMain::FormCreate)
          .Method("FormShow", &TFrmMain::FormShow)
          .Method("FormCloseQuery", &TFrmMain::FormCloseQuery)
          .Method("FormClose", &TFrmMain::FormClose)
          .Method("btn_startClick", &TFrmMain::btn_startClick)
          .Method("btn_stopClick", &TFrmMain::btn_stopClick)
          .Method("tmr1Timer", &TFrmMain::tmr1Timer)
          .Method("timer1Timer", &TFrmMain::timer1Timer)
          .Method("btn_1Click", &TFrmMain::btn_1Click)
          .Method("r1Change", &TFrmMain::r1Change)
          .Method("N21Click", &TFrmMain::N21Click)
          .Method("N22Click", &TFrmMain::N22Click)
          .Method("N23Click", &TFrmMain::N23Click)
          .Method("N41Click", &TFrmMain::N41Click)
          .Method("N42Click", &TFrmMain::N42Click)
          .Method("N50Click", &TFrmMain::N50Click)
          .Method("act1Execute", &TFrmMain::act1Execute)
          .Method("act3Execute", &TFrmMain::act3Execute)
          .Method("act4Execute", &TFrmMain::act4Execute)
          .Method("act5Execute", &TFrmMain::act5Execute)
          .Method("act6Execute", &TFrmMain::act6Execute)
          .Method("act7Execute", &TFrmMain::act7Execute)
          .Method("act8Execute", &TFrmMain::act8Execute)
          .Method("act9Execute", &TFrmMain::act9Execute)
          .Method("std1DrawCell", &TFrmMain::std1DrawCell)
          .Method("std2DrawCell", &TFrmMain::std2DrawCell)
          .Method("std1SelectCell", &TFrmMain::std1SelectCell)
          .Method("std1MouseDown", &TFrmMain::std1MouseDown)
          .Method("edt1KeyPress", &TFrmMain::edt1KeyPress)
          .Method("L_upKeyPress", &TFrmMain::L_upKeyPress)
          .Method("L_downKeyPress", &TFrmMain::L_downKeyPress)
          .Build();
  return info;
}

void TFrmMain::Loaded() {
  TForm::Loaded();
  Bind(mm1, "mm1");
  Bind(N1, "N1");
  Bind(N11, "N11");
  Bind(N12, "N12");
  Bind(N2, "N2");
  Bind(N21, "N21");
  Bind(N22, "N22");
  Bind(N23, "N23");
  Bind(N3, "N3");
  Bind(N31, "N31");
  Bind(N32, "N32");
  Bind(N33, "N33");
  Bind(N4, "N4");
  Bind(N41, "N41");
  Bind(N42, "N42");
  Bind(N43, "N43");
  Bind(N44, "N44");
  Bind(N45, "N45");
  Bind(N50, "N50");
  Bind(tlb1, "tlb1");
  Bind(TB1, "TB1");
  Bind(tb2, "tb2");
  Bind(tb3, "tb3");
  Bind(tb4, "tb4");
  Bind(ilTray, "ilTray");
  Bind(stat1, "stat1");
  Bind(pnl3, "pnl3");
  Bind(lbl_show1, "lbl_show1");
  Bind(edt1, "edt1");
  Bind(cbb_show1, "cbb_show1");
  Bind(btn_start, "btn_start");
  Bind(btn_stop, "btn_stop");
  Bind(lbl_show2, "lbl_show2");
  Bind(lbl_show3, "lbl_show3");
  Bind(std1, "std1");
  Bind(spl1, "spl1");
  Bind(r1, "r1");
  Bind(sht1, "sht1");
  Bind(std3, "std3");
  Bind(sht2, "sht2");
  Bind(std2, "std2");
  Bind(sht3, "sht3");
  Bind(pnl1, "pnl1");
  Bind(Show1, "Show1");
  Bind(Show2, "Show2");
  Bind(L_up, "L_up");
  Bind(L_down, "L_down");
  Bind(btn_1, "btn_1");
  Bind(dbcht1, "dbcht1");
  Bind(tmr1, "tmr1");
  Bind(timer1, "timer1");
  Bind(zqry1, "zqry1");
  Bind(qry_out1, "qry_out1");
  Bind(actlst1, "actlst1");
  Bind(act1, "act1");
  Bind(act3, "act3");
  Bind(act4, "act4");
  Bind(act5, "act5");
  Bind(act6, "act6");
  Bind(act7, "act7");
  Bind(act8, "act8");
  Bind(act9, "act9");
}

// ---- Window steps ---------------------------------------------------------------------------

void TFrmMain::FormCreate(TObject*) {
  LoadComPortSetting();
  init();
  LoadCompanyInfo();
  r1->SetActivePageIndex(0);
  selectedRow_ = -1;
}

void TFrmMain::FormShow(TObject*) {
  SetCaption("Multi-channel temperature inspection [" + GetFileVersionText(ExecutablePath()) + "]");
}

void TFrmMain::FormCloseQuery(TObject*, bool& canClose) {
  canClose = Prompt("Are you sure to quit the software?", MB_OKCANCEL) != IDCANCEL;
}

void TFrmMain::FormClose(TObject*, TCloseAction&) {
  StopRequested = 1;
  AbortRequested = 1;
  // The thread sees the stop flag before its next poll; its last calls to this window run here.
  while (AcqThread.load() != nullptr) {
    Application->ProcessMessages();
    CheckSynchronize(10);
  }
}

int TFrmMain::Prompt(const std::string& text, UINT buttons) {
  return Application->MessageBox(text, kPrompt, buttons | MB_ICONWARNING);
}

bool TFrmMain::RefusedWhileTesting(const std::string& message) {
  if (!TestThreadRunning()) return false;
  Prompt(message);
  return true;
}

void TFrmMain::LockCommandsForImport(bool lock) {
  if (lock) {
    for (TMenuItem* item : {N1, N2, N3, N4})
      if (item->Enabled()) lockedMenus_.push_back(item);
    for (TAction* action : {act1, act3, act4, act5, act6, act7, act8, act9})
      if (action->Enabled()) lockedActions_.push_back(action);
    for (TControl* control : std::initializer_list<TControl*>{btn_start, btn_1})
      if (control->Enabled()) lockedControls_.push_back(control);
  }
  for (TMenuItem* item : lockedMenus_) item->SetEnabled(!lock);
  for (TAction* action : lockedActions_) action->SetEnabled(!lock);
  for (TControl* control : lockedControls_) control->SetEnabled(!lock);
  if (!lock) {
    lockedMenus_.clear();
    lockedActions_.clear();
    lockedControls_.clear();
  }
}

// ---- init -----------------------------------------------------------------------------------

void TFrmMain::init() {
  // Before the texts: a change of an action passes its design caption and hint on to its menu
  // items and tool buttons.
  LoadToolImages();
  N1->SetCaption("System");
  N11->SetCaption("Serial port settings");
  N12->SetCaption("Report settings");
  N2->SetCaption("View");
  N21->SetCaption("Value graph");
  N22->SetCaption("Datasheet");
  N23->SetCaption("Graph");
  N3->SetCaption("Export");
  N31->SetCaption("Export the test report(.XLS)");
  N32->SetCaption("Export test detail records(.CSV)");
  N33->SetCaption("View the exported report or record");
  N4->SetCaption("History");
  N41->SetCaption("Import history");
  N42->SetCaption("History queries");
  N43->SetCaption("History deletion");
  N44->SetCaption("Alarm log conversion");
  N45->SetCaption("Export of historical data(.CSV)");
  N50->SetCaption("Quit");
  lbl_show1->SetCaption("Test interval");
  cbb_show1->Items()->Clear();
  cbb_show1->Items()->Add("second");
  cbb_show1->Items()->Add("minute");
  cbb_show1->SetItemIndex(0);
  btn_start->SetCaption("start");
  btn_stop->SetCaption("stop");
  lbl_show2->SetCaption("Stae");
  sht1->SetCaption("Value graph");
  sht2->SetCaption("Datasheet");
  sht3->SetCaption("Graph");
  for (int r = 0; r < kInfoLabelRows; ++r) std1->SetCells(0, r, kInfoLabels[r]);
  std2->SetCells(0, 0, "number");
  std2->SetCells(1, 0, "Time/passage");
  TB1->SetHint("Report settings");
  tb2->SetHint("Export the test report");
  tb3->SetHint("Export test detail records");
  tb4->SetHint("View the exported report or record");
  // The actions take the same texts, so that a later change of an action (disabled while an
  // import runs) passes them on unchanged. Every change of an action passes on both, so the
  // texts are read before the first one.
  struct ActionTexts {
    TAction* action;
    std::string caption, hint;
  };
  const ActionTexts texts[] = {
      {act1, N12->Caption(), TB1->Hint()}, {act3, N31->Caption(), tb2->Hint()}, {act4, N32->Caption(), tb3->Hint()},
      {act5, N33->Caption(), tb4->Hint()}, {act6, N43->Caption(), ""},          {act7, N44->Caption(), ""},
      {act8, N11->Caption(), ""},          {act9, N45->Caption(), ""},
  };
  for (const ActionTexts& t : texts) {
    t.action->SetHint(t.hint);
    t.action->SetCaption(t.caption);
  }
  ConfigureCurveChart();
  // What the commands need comes before anything that can fail: a config row that cannot be
  // read leaves only the grids in their design layout, and start and the history query still
  // find their channel queries.
  for (TZQuery*& q : SeriesQueries)
    if (!q) q = new TZQuery(nullptr);
  TChartAxis* left = dbcht1->LeftAxis();
  left->SetAutomaticMinimum(false);
  left->SetAutomaticMaximum(false);
  left->SetMinMax(0, 100);

  if (!ReadConfigRow()) return;
  const int channels = 8 * ModuleCount.load();

  std1->SetCells(1, 10, " Max,Min,Ave");

  for (int k = 0; k < 8; ++k) std3->SetColWidths(k, 120);
  for (int m = 0; m < 8; ++m) {
    std3->SetRowHeights(3 * m, 30);
    std3->SetRowHeights(3 * m + 1, 45);
    std3->SetRowHeights(3 * m + 2, 30);
  }
  FillValueGridHeaders();

  std2->SetColWidths(0, 80);
  std2->SetColWidths(1, 180);
  SetDataGridChannels(channels);
}

bool TFrmMain::ReadConfigRow() {
  if (!OpenSqlQuery("select  * from config ", zqry1)) return false;
  // A table without its row or with a column missing is as unreadable as a locked file; the
  // shared values keep what they held.
  try {
    if (zqry1->Eof()) throw Exception("the config table holds no row");
    const int modules = zqry1->FieldByName("modecnt")->AsInteger();
    const int pointMode = zqry1->FieldByName("pointcnt")->AsInteger();
    std::array<std::string, 8> types;
    for (int m = 0; m < 8; ++m)
      types[static_cast<size_t>(m)] = zqry1->FieldByName("mode" + IntToStr(m + 1) + "type")->AsString();
    // A module count outside 1..8 (a damaged row) is taken as the nearest one the grids hold.
    ModuleCount = std::clamp(modules, 1, 8);
    PointMode = pointMode;
    ModuleTypes = types;
  } catch (const std::exception& e) {
    WriteLog(std::string("config unreadable: ") + e.what(), "except");
    zqry1->Close();
    return false;
  }
  return true;
}

void TFrmMain::LoadToolImages() {
  // One strip of 16 x 16 cells on olive, which becomes transparent; the cells follow the order
  // of the actions below. The platform greys a disabled button's picture from its mask.
  TBitmap strip;
  strip.LoadFromResourceName(GetModuleHandleW(nullptr), "VK_TOOLIMAGES");
  ilTray->Clear();
  ilTray->AddMasked(&strip, clOlive);
  TAction* const actions[] = {act1, act3, act4, act5};
  for (int i = 0; i < 4; ++i) actions[i]->SetImageIndex(i);
}

void TFrmMain::ConfigureCurveChart() {
  if (!tickQuery_) tickQuery_ = new TZQuery(this);
  dbcht1->SetView3D(false);
  TKelGradient* back = dbcht1->Gradient();
  back->SetDirection(KelCanvas::gdBottomTop);
  back->SetStartColor(static_cast<TColor>(0xEAEAEA));
  back->SetMidColor(static_cast<TColor>(0xEAEAEA));
  back->SetEndColor(clWhite);
  back->SetVisible(true);
  for (TChartAxis* axis : dbcht1->Axes()) {
    axis->AxisPen()->SetColor(static_cast<TColor>(0x404040));
    axis->Grid()->SetColor(static_cast<TColor>(0xA9A9A9));
    axis->TicksInner()->SetColor(static_cast<TColor>(0xA9A9A9));
    axis->LabelsFont()->SetName("Verdana");
  }
  TChartAxis* left = dbcht1->LeftAxis();
  left->SetAutomatic(false);
  left->SetAutomaticMinimum(false);
  left->SetAutomaticMaximum(false);
  left->Title()->SetText("Temp（℃）");
  left->Title()->Font()->SetName("Verdana");
  dbcht1->BottomAxis()->Title()->Font()->SetName("Verdana");
  dbcht1->SetColorPaletteIndex(13);
  TChartBackWall* wall = dbcht1->BackWall();
  wall->SetTransparent(false);
  TKelGradient* wallGradient = wall->Gradient();
  wallGradient->SetDirection(KelCanvas::gdBottomTop);
  wallGradient->SetStartColor(static_cast<TColor>(0xEAEAEA));
  wallGradient->SetEndColor(clWhite);
  wallGradient->SetVisible(true);
  dbcht1->LeftWall()->SetColor(static_cast<TColor>(0xE0FFFF));
  dbcht1->RightWall()->SetColor(static_cast<TColor>(0xE0FFFF));
  dbcht1->Title()->SetText("Temp");
  dbcht1->Title()->SetVisible(false);
  dbcht1->Title()->Font()->SetName("Verdana");
  dbcht1->Foot()->Font()->SetName("Verdana");
  dbcht1->Foot()->Font()->SetColor(clBlue);
  dbcht1->Legend()->SetCheckBoxes(true);
  dbcht1->Legend()->Font()->SetName("Verdana");
}

void TFrmMain::FillValueGridHeaders() {
  for (int m = 0; m < 8; ++m) {
    for (int k = 0; k < 8; ++k) {
      const int channel = 8 * m + k + 1;
      std3->SetCells(k, 3 * m, "CH" + IntToStr(channel) + "    " + ModuleTypes[static_cast<size_t>(m)] +
                                   "    " + kDegrees);
    }
  }
}

void TFrmMain::clear_std2() {
  for (int r = 1; r < std2->RowCount(); ++r)
    for (int c = 0; c < std2->ColCount(); ++c) std2->SetCells(c, r, "");
}

// ---- Test commands --------------------------------------------------------------------------

void TFrmMain::btn_startClick(TObject*) {
  if (importRunning_) return;
  // A text that is no number raises here and reaches the error box before anything starts.
  const int intervalMs = TestIntervalMs(edt1->Text(), cbb_show1->ItemIndex());
  if (intervalMs <= 0) {
    Prompt("The test interval must be at least 1.");
    return;
  }
  if (AcqThread.load() != nullptr) return;
  btn_start->SetEnabled(false);
  btn_stop->SetEnabled(false);
  clear_std2();
  lbl_show3->SetCaption("Start testing...");
  std1->SetCells(1, 6, NowText());
  BeginAcquisition(this, intervalMs);
}

void TFrmMain::btn_stopClick(TObject*) {
  StopRequested = 1;
  btn_stop->SetEnabled(false);
}

void TFrmMain::tmr1Timer(TObject*) { stat1->Panels()->Items(2)->SetText(NowText()); }

void TFrmMain::r1Change(TObject*) {
  if (r1->ActivePageIndex() != 2) return;
  btn_1->SetCaption("Set");
  Show1->SetCaption("Upper limit of the Y-axis");
  Show2->SetCaption("Down limit of the Y-axis");
}

void TFrmMain::N21Click(TObject*) {
  if (!importRunning_) r1->SetActivePageIndex(0);
}
void TFrmMain::N22Click(TObject*) {
  if (!importRunning_) r1->SetActivePageIndex(1);
}
void TFrmMain::N23Click(TObject*) {
  if (!importRunning_) r1->SetActivePageIndex(2);
}

void TFrmMain::N41Click(TObject*) {
  if (importRunning_) return;
  importRunning_ = true;
  LockCommandsForImport(true);
  struct Unlock {
    TFrmMain* form;
    ~Unlock() {
      form->importRunning_ = false;
      form->LockCommandsForImport(false);
    }
  } unlock{this};
  ImportHistoryCommand(ChooseImport);
}

void TFrmMain::N42Click(TObject*) {
  if (importRunning_) return;
  if (HistoryQueryCommand(std2, [this](const std::string& start, const std::string& end) {
        return BuildHistoryCurves(start, end);
      }))
    N23Click(this);
}

void TFrmMain::N50Click(TObject*) { Close(); }

void TFrmMain::act1Execute(TObject*) {
  if (!importRunning_) CompanyDetailsCommand();
}
void TFrmMain::act3Execute(TObject*) {
  if (importRunning_) return;
  if (RefusedWhileTesting("Stop the test before exporting.")) return;
  // No test and no history shown: nothing to report.
  if (std2->Cells(1, 1).empty()) return;
  ReloadCurves();
  // A picture that cannot be written raises here, before any workbook exists.
  const std::string picture = AppPath + "TmpLine.jpg";
  if (dbcht1->Width() > 0 && dbcht1->Height() > 0) {
    dbcht1->WriteBitmapFile(picture);
  } else {
    // The chart page was never shown, so the chart has no size yet: draw it at the size the
    // page would give it.
    dbcht1->WriteBitmapFileRect(picture, Rect(0, 0, r1->ClientWidth(), r1->ClientHeight() - pnl1->Height()));
  }
  const std::string folder = AppPath + "Export_data\\";
  if (!DirectoryExists(folder) && !ForceDirectories(folder)) return;
  TTestReportFields fields;
  fields.productNumber = std1->Cells(1, 1);
  fields.productModel = std1->Cells(1, 2);
  fields.manufacturer = std1->Cells(1, 3);
  fields.operators = std1->Cells(1, 4);
  fields.testTime = std1->Cells(1, 6);
  fields.testEquipment = std1->Cells(1, 7);
  fields.ambientTemperature = std1->Cells(1, 8);
  fields.ambientHumidity = std1->Cells(1, 9);
  const int modules = ModuleCount.load();
  for (int c = 0; c < 8 * modules; ++c) fields.statistics.push_back(std1->Cells(1, kFirstChannelInfoRow + c));
  WriteTestReport(TestReportFileName(), picture, modules, fields);
  Prompt("The export of the test report succeeded");
}
void TFrmMain::act4Execute(TObject*) {
  if (!importRunning_) ExportTestDetailRecords(qry_out1, std2->Cells(1, 1));
}

void TFrmMain::act5Execute(TObject*) {
  if (importRunning_) return;
  ShellExecuteCall(Handle(), "open", "explorer.exe", AppPath + "Export_data", SW_SHOWNORMAL);
}

void TFrmMain::act6Execute(TObject*) {
  if (importRunning_) return;
  if (Prompt("Are you sure you want to clear all history? It cannot be recovered after purging.",
             MB_OKCANCEL) == IDCANCEL)
    return;
  if (ExecSqlCommand("delete from olddata")) Prompt("History cleared successfully");
}

void TFrmMain::act7Execute(TObject*) {
  if (!importRunning_) AlarmConversionCommand();
}
void TFrmMain::act8Execute(TObject*) {
  if (!importRunning_) PortChoiceCommand();
}
void TFrmMain::act9Execute(TObject*) {
  if (!importRunning_) ExportHistoricalRecords(qry_out1);
}

// ---- Grids and keys -------------------------------------------------------------------------

void TFrmMain::std1DrawCell(TObject*, int col, int row, TRect rect, TGridDrawState state) {
  TCanvas* canvas = std1->Canvas();
  if (col == 0) {
    canvas->Brush()->SetColor(static_cast<TColor>(0xF0FBFF));
    canvas->Font()->SetColor(clBlack);
  }
  if (row == selectedRow_ && state.Empty()) canvas->Brush()->SetColor(static_cast<TColor>(0x00FFFF));
  const std::string text = std1->Cells(col, row);
  canvas->FillRect(rect);
  canvas->TextOut(rect.Left, rect.Top, text);
  if (col == 0 && (row == 5 || row == 10)) {
    canvas->Font()->SetColor(static_cast<TColor>(0xFF0000));
    canvas->FillRect(rect);
    canvas->TextOut(rect.Left, rect.Top, text);
  }
}

void TFrmMain::std2DrawCell(TObject* sender, int col, int row, TRect rect, TGridDrawState state) {
  auto* grid = static_cast<TStringGrid*>(sender);
  TCanvas* canvas = grid->Canvas();
  canvas->FillRect(rect);
  std::string text = grid->Cells(col, row);
  TRect textRect = rect;
  canvas->TextRect(textRect, text, {tfCenter, tfVerticalCenter, tfSingleLine});
  if (state.Contains(gdFocused)) canvas->DrawFocusRect(Rect(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1));
}

void TFrmMain::std1SelectCell(TObject*, int col, int row, bool& canSelect) {
  canSelect = InfoCellEditable(col, row);
  if (!canSelect && r1->CanFocus()) r1->SetFocus();
}

void TFrmMain::std1MouseDown(TObject*, TMouseButton button, TShiftState, int x, int y) {
  if (button != mbLeft) return;
  int col = -1;
  int row = -1;
  std1->MouseToCell(x, y, col, row);
  if (row == selectedRow_) return;
  selectedRow_ = row;
  std1->Invalidate();
}

void TFrmMain::edt1KeyPress(TObject*, wchar_t& key) { FilterIntervalKey(key, false); }
void TFrmMain::L_upKeyPress(TObject*, wchar_t& key) { FilterIntervalKey(key, true); }
void TFrmMain::L_downKeyPress(TObject*, wchar_t& key) { FilterIntervalKey(key, true); }

// ---- What the acquisition thread shows --------------------------------------------------------

void TFrmMain::ShowPortName(const std::string& port) { stat1->Panels()->Items(0)->SetText(port); }

void TFrmMain::ShowConnectionState(const std::string& text) {
  stat1->Panels()->Items(1)->SetText(text);
}

void TFrmMain::ShowStatusText(const std::string& text) { lbl_show3->SetCaption(text); }

void TFrmMain::SetTestInfoValue(int row, const std::string& text) { std1->SetCells(1, row, text); }

void TFrmMain::SetDataGridChannels(int channelCount) {
  if (std2->ColCount() < channelCount + 2) std2->SetColCount(channelCount + 2);
  for (int c = 1; c <= channelCount; ++c) {
    // The statistics rows follow the channel count too.
    std1->SetCells(0, kFirstChannelInfoRow + c - 1, "CH" + IntToStr(c));
    std2->SetColWidths(c + 1, 80);
    std2->SetCells(c + 1, 0, "CH" + IntToStr(c));
  }
}

void TFrmMain::showway(int channelCount, int rebuild) {
  if (rebuild == 1 && !BuildCurves(channelCount, false)) return;
  FillValueGridHeaders();
  for (int c = 0; c < 64; ++c)
    std3->SetCells(c % 8, 3 * (c / 8) + 2, ChannelLabels[static_cast<size_t>(c)]);
  timer1->SetEnabled(true);
}

void TFrmMain::EnableStopButton() { btn_stop->SetEnabled(true); }

void TFrmMain::ShowSample(const TSampleView& sample) {
  const int row = sample.sampleNo;
  if (std2->RowCount() < row + 1) std2->SetRowCount(row + 1);
  std2->SetCells(0, row, IntToStr(row));
  std2->SetCells(1, row, sample.time);
  for (size_t c = 0; c < sample.readings.size(); ++c) {
    const std::string& v = sample.readings[c];
    if (v.empty()) continue;
    const int channel = static_cast<int>(c);
    std1->SetCells(1, kFirstChannelInfoRow + channel, sample.statistics[c]);
    std2->SetCells(channel + 2, row, v);
    std3->SetCells(channel % 8, 3 * (channel / 8) + 1, v);
  }
}

void TFrmMain::AcquisitionEnded() {
  btn_start->SetEnabled(true);
  lbl_show3->SetCaption("");
}

// ---- Curves ---------------------------------------------------------------------------------

bool TFrmMain::BuildCurves(int count, bool history, const std::string& start, const std::string& end) {
  liveCurves_ = false;
  dbcht1->FreeAllSeries();
  count = std::clamp(count, 0, static_cast<int>(SeriesQueries.size()));
  // One query feeds every curve: the table is read once, not once per channel (a day of rows
  // takes SQLite seconds per pass), and one walk over its rows loads all curves.
  TZQuery* query = SeriesQueries[0];
  query->Close();
  for (size_t i = 1; i < SeriesQueries.size(); ++i) SeriesQueries[i]->Close();
  const std::string xField = history ? "dtime" : "dtime2";
  std::string sql = "select " + xField;
  for (int i = 0; i < count; ++i) {
    const std::string channel = IntToStr(i + 1);
    auto* curve = new TFastLineSeries(dbcht1);
    dbcht1->AttachSeries(curve);
    curve->ChangeDrawAllPoints(false);
    curve->LinePen()->SetWidth(2);
    curve->ChangeTitle("CH" + channel);
    // A missing reading leaves a gap rather than a line down to 0.
    curve->SetTreatNulls(tnDontPaint);
    curve->XValues()->ChangeValueSource(xField);
    curve->XValues()->ChangeDateTime(true);
    curve->YValues()->ChangeValueSource("val" + channel);
    curve->SetDataSource(query);  // closed: loads nothing yet
    sql += ",val" + channel;
  }
  if (history)
    sql += " from olddata where dtime between '" + start + "' and '" + end + "'";
  else
    sql += " from newdata";
  // Opening loads every curve; a failure is logged and leaves them empty.
  if (!OpenSqlQuery(sql, query)) return false;
  if (!history) {
    // The acquisition thread waits while this runs: no row comes between the load and here.
    if (!OpenSqlQuery("select max(ID) as lastid from newdata", tickQuery_)) return false;
    lastCurveRowId_ = tickQuery_->FieldByName("lastid")->AsInteger();
    tickQuery_->Close();
    liveCurves_ = true;
  }
  return true;
}

bool TFrmMain::BuildHistoryCurves(const std::string& start, const std::string& end) {
  return BuildCurves(8 * ModuleCount.load(), true, start, end);
}

void TFrmMain::ReloadCurves() {
  // The curves' one query holds exactly the channels the chart has curves for.
  if (dbcht1->SeriesCount() == 0) return;
  TZQuery* query = SeriesQueries[0];
  // Reopening reloads every curve; a failure is logged by OpenSqlQuery and the curves stay empty.
  if (!OpenSqlQuery(query->SQL.Text(), query)) return;
  if (liveCurves_ && OpenSqlQuery("select max(ID) as lastid from newdata", tickQuery_)) {
    lastCurveRowId_ = tickQuery_->FieldByName("lastid")->AsInteger();
    tickQuery_->Close();
  }
}

void TFrmMain::timer1Timer(TObject*) {
  if (RunMode.load() != 1 || r1->ActivePageIndex() != 2 || !liveCurves_) return;
  // Only the curves the chart holds: the module count may have grown since they were built.
  const int curves = std::min(dbcht1->SeriesCount(), 8 * ModuleCount.load());
  if (curves == 0) return;
  std::string sql = "select ID,dtime2";
  for (int c = 1; c <= curves; ++c) sql += ",val" + IntToStr(c);
  sql += " from newdata where ID > " + IntToStr(lastCurveRowId_) + " order by ID";
  if (!OpenSqlQuery(sql, tickQuery_)) return;
  if (tickQuery_->RecordCount() > 0) {
    for (int i = 0; i < curves; ++i) {
      try {
        dbcht1->AppendRecords(tickQuery_, *dbcht1->SeriesAt(i));
      } catch (const std::exception& e) {
        WriteLog("CH" + IntToStr(i + 1) + " curve: " + e.what(), "except");
      }
    }
    tickQuery_->Last();
    lastCurveRowId_ = tickQuery_->FieldByName("ID")->AsInteger();
  }
  tickQuery_->Close();
}

void TFrmMain::btn_1Click(TObject*) {
  if (importRunning_) return;
  // A text that is no number raises here (the toolkit's error box) before anything changes.
  const double upper = static_cast<double>(Round(StrToFloat(L_up->Text()) * 10000)) / 10000;
  const double lower = static_cast<double>(Round(StrToFloat(L_down->Text()) * 10000)) / 10000;
  if (lower > upper) {
    Prompt("The upper and lower limits are entered incorrectly！");
    return;
  }
  TChartAxis* left = dbcht1->LeftAxis();
  left->SetAutomaticMinimum(false);
  left->SetAutomaticMaximum(false);
  // Both at once: a range wholly beside the current one is no conflict.
  left->SetMinMax(lower, upper);
}

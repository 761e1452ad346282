// The main window in-process (Xvfb): its layout and English texts, the grids laid out from the
// config row, cell drawing read back from pixels, the selection and key rules, the refusals
// during a test, and a live test from the start button through the grids to the stop button and
// to closing the window while a test runs, against the simulator on a pty pair.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/AppGlobals.h"
#include "app/Database.h"
#include "app/FrmComCheck.h"
#include "app/FrmComp.h"
#include "app/Frmselect.h"
#include "app/LiMessage.h"
#include "app/MyComponent.h"
#include "app/SerialPort.h"
#include "app/uFrmMain.h"
#include "chart/ChartAxis.h"
#include "chart/DBChart.h"
#include "chart/FastLineSeries.h"
#include "controls/KxButton.h"
#include "controls/KxCmboBx.h"
#include "controls/KxLabel.h"
#include "controls/KxPageControl.h"
#include "tests/app/AcquisitionFixture.h"
#include "tests/app/HistoryFixtures.h"
#include "tests/app/LogLines.h"
#include "tests/support/VirtualPortPair.h"
#include "tests/toolkit/PixelHelpers.h"
#include "toolkit/classes/Strings.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/data/ZConnection.h"
#include "toolkit/data/ZQuery.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Button.h"
#include "toolkit/ui/ComboBox.h"
#include "toolkit/ui/Edit.h"
#include "toolkit/ui/Label.h"
#include "toolkit/ui/Menus.h"
#include "toolkit/ui/StatusBar.h"
#include "toolkit/ui/Timer.h"
#include "toolkit/ui/ToolBar.h"

#include <commctrl.h>
#include <commdlg.h>

namespace {

// Text pixels, allowing for smoothed glyph edges.
bool IsDark(TColor c) { return (c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && ((c >> 16) & 0xFF) < 0x60; }
bool IsBlue(TColor c) { return (c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && ((c >> 16) & 0xFF) > 0xA0; }

class FrmMainTest : public testing::Test {
 protected:
  void SetUp() override {
    AppPath = folder.Path();
    CreateDatabaseSchema();
    ConnectDatabase();
    StopRequested = 0;
    AbortRequested = 0;
    RunMode = 0;
    SetTestMode(true);
    StartProgressSink();
    RegisterMainWindowClasses();
    Application->SetMessageBoxHook([this](const std::string& text, const std::string& caption, UINT flags) {
      boxes.push_back(caption + ": " + text + ((flags & MB_ICONWARNING) ? " [warning]" : ""));
      return answer;
    });
  }
  void TearDown() override {
    if (answerTimer_) KillTimer(nullptr, answerTimer_);
    pendingAnswer_ = nullptr;
    TMyComponent::SetObserver(nullptr);
    CloseProgress();
    if (form) {
      if (AcqThread.load()) {
        StopRequested = 1;
        WaitForThreadEnd();
      }
      delete form;
      form = nullptr;
    }
    Application->SetMessageBoxHook(nullptr);
    Application->ProcessMessages();
    if (DbConnection) {
      DbConnection->Disconnect();
      delete DbConnection;
      DbConnection = nullptr;
    }
    SetTestMode(false);
    ComPortName.clear();
    AppPath.clear();
  }

  void CreateForm() {
    form = new TFrmMain(nullptr);
    form->AfterConstruction();
    form->Show();
    Application->ProcessMessages();
  }

  // Runs window messages and the thread's window calls until `done` holds (bounded: a hung test
  // fails instead of waiting for ever).
  template <class Pred>
  bool PumpUntil(Pred done) {
    const DWORD start = GetTickCount();
    while (!done()) {
      Application->ProcessMessages();
      CheckSynchronize(10);
      if (GetTickCount() - start > 60000) return false;
    }
    return true;
  }
  bool WaitForThreadEnd() {
    return PumpUntil([] { return AcqThread.load() == nullptr; });
  }
  // A left click in the middle of the control (the control set's buttons are no platform
  // buttons: they answer the mouse, not BM_CLICK).
  void Click(TWinControl* button) {
    const LPARAM middle = MAKELPARAM(button->Width() / 2, button->Height() / 2);
    SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageW(button->Handle(), WM_LBUTTONUP, 0, middle);
    Application->ProcessMessages();
  }
  static std::string WindowClass(TWinControl* control) {
    wchar_t name[64] = {};
    GetClassNameW(control->Handle(), name, 64);
    return WideToUtf8(name);
  }
  void Type(TWinControl* control, const std::wstring& text) {
    for (wchar_t c : text) SendMessageW(control->Handle(), WM_CHAR, c, 0);
    Application->ProcessMessages();
  }
  std::string Panel(int index) { return form->stat1->Panels()->Items(index)->Text(); }
  // Runs `answer` from a timer, inside whatever modal loop the next command enters, until it
  // returns true (it found the window it waits for and answered it).
  void WhenShown(std::function<bool()> respond) {
    pendingAnswer_ = std::move(respond);
    answerTimer_ = SetTimer(nullptr, 0, 10, &FrmMainTest::AnswerTimer);
  }
  static void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR id, DWORD) {
    if (!pendingAnswer_) return;
    // Taken out while it runs: the answer may pump messages, and this timer with them.
    std::function<bool()> respond = std::move(pendingAnswer_);
    pendingAnswer_ = nullptr;
    if (respond()) {
      KillTimer(nullptr, id);
    } else if (!pendingAnswer_) {
      pendingAnswer_ = std::move(respond);
    }
  }
  // Presses OK in the next modal form of class `windowClass` (the window shown by the command
  // called after this).
  void AnswerModal(const wchar_t* windowClass, std::function<void(TWinControl*)> act) {
    WhenShown([windowClass, act] {
      HWND window = FindWindowW(windowClass, nullptr);
      TWinControl* modal = window ? TWinControl::FindControl(window) : nullptr;
      if (!modal || !IsWindowVisible(window)) return false;
      act(modal);
      return true;
    });
  }
  std::vector<std::vector<std::string>> Rows(const std::string& sql) {
    return SqlRows(DatabaseFileName(), sql);
  }

  TempFolder folder;
  TFrmMain* form = nullptr;
  std::vector<std::string> boxes;
  int answer = IDOK;
  static inline std::function<bool()> pendingAnswer_;
  UINT_PTR answerTimer_ = 0;
};

TEST_F(FrmMainTest, LayoutGetsItsEnglishTextsAndOneModuleLayout) {
  CreateForm();
  EXPECT_EQ(form->Caption(), "Multi-channel temperature inspection [0.0.0.0]");
  const std::vector<std::pair<TMenuItem*, std::string>> menus = {
      {form->N1, "System"},
      {form->N11, "Serial port settings"},
      {form->N12, "Report settings"},
      {form->N2, "View"},
      {form->N21, "Value graph"},
      {form->N22, "Datasheet"},
      {form->N23, "Graph"},
      {form->N3, "Export"},
      {form->N31, "Export the test report(.XLS)"},
      {form->N32, "Export test detail records(.CSV)"},
      {form->N33, "View the exported report or record"},
      {form->N4, "History"},
      {form->N41, "Import history"},
      {form->N42, "History queries"},
      {form->N43, "History deletion"},
      {form->N44, "Alarm log conversion"},
      {form->N45, "Export of historical data(.CSV)"},
      {form->N50, "Quit"},
  };
  for (const auto& [item, text] : menus) EXPECT_EQ(item->Caption(), text) << item->Name();
  EXPECT_EQ(form->lbl_show1->Caption(), "Test interval");
  EXPECT_EQ(form->lbl_show2->Caption(), "Stae");
  EXPECT_EQ(form->btn_start->Caption(), "start");
  EXPECT_EQ(form->btn_stop->Caption(), "stop");
  EXPECT_TRUE(form->btn_start->Enabled());
  EXPECT_FALSE(form->btn_stop->Enabled());
  // The test controls are the control set's.
  EXPECT_EQ(WindowClass(form->btn_start), "TKxButton");
  EXPECT_EQ(WindowClass(form->btn_stop), "TKxButton");
  EXPECT_TRUE(form->btn_start->HotTrack());
  EXPECT_TRUE(form->btn_stop->HotTrack());
  EXPECT_EQ(WindowClass(form->cbb_show1), "TKxComboBox");
  EXPECT_TRUE(form->cbb_show1->FlatButtons());
  EXPECT_TRUE(form->cbb_show1->FrameVisible());
  EXPECT_EQ(form->cbb_show1->Style(), csDropDownList);
  EXPECT_EQ(form->lbl_show3->ClassType().Name(), "TKxLabel");
  EXPECT_EQ(form->edt1->Text(), "1");
  EXPECT_EQ(form->edt1->MaxLength(), 3);
  ASSERT_EQ(form->cbb_show1->Items()->Count(), 2);
  EXPECT_EQ(form->cbb_show1->Items()->Strings(0), "second");
  EXPECT_EQ(form->cbb_show1->Items()->Strings(1), "minute");
  EXPECT_EQ(form->cbb_show1->ItemIndex(), 0);
  EXPECT_EQ(form->sht1->Caption(), "Value graph");
  EXPECT_EQ(form->sht2->Caption(), "Datasheet");
  EXPECT_EQ(form->sht3->Caption(), "Graph");
  EXPECT_EQ(form->r1->ActivePageIndex(), 0);
  EXPECT_EQ(form->TB1->Hint(), "Report settings");
  EXPECT_EQ(form->tb2->Hint(), "Export the test report");
  EXPECT_EQ(form->tb3->Hint(), "Export test detail records");
  EXPECT_EQ(form->tb4->Hint(), "View the exported report or record");
  ASSERT_EQ(form->stat1->Panels()->Count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(form->stat1->Panels()->Items(i)->Width(), 200);
  EXPECT_TRUE(form->tmr1->Enabled());
  EXPECT_FALSE(form->timer1->Enabled());
  EXPECT_EQ(form->SelectedInfoRow(), -1);

  // Test information grid: labels, then CH1..CH8 for the one module of a fresh config row.
  const char* const labels[] = {"Report number", "Product number", "Product model", "Manufacturer",
                                "Operators", "Test information", "Test time", "Test the equipment",
                                "Ambient temperature", "Ambient humidity", "Test data"};
  for (int r = 0; r < 11; ++r) EXPECT_EQ(form->std1->Cells(0, r), labels[r]);
  EXPECT_EQ(form->std1->Cells(1, 10), " Max,Min,Ave");
  EXPECT_EQ(form->std1->Cells(0, 11), "CH1");
  EXPECT_EQ(form->std1->Cells(0, 18), "CH8");
  EXPECT_EQ(form->std1->Cells(0, 19), "");
  EXPECT_EQ(form->std1->ColCount(), 2);
  EXPECT_EQ(form->std1->RowCount(), 80);
  EXPECT_EQ(form->std1->ColWidths(1), 150);
  EXPECT_EQ(form->std1->RowHeights(40), 25);

  // Data grid: channel columns for 8 channels only.
  EXPECT_EQ(form->std2->Cells(0, 0), "number");
  EXPECT_EQ(form->std2->Cells(1, 0), "Time/passage");
  EXPECT_EQ(form->std2->Cells(2, 0), "CH1");
  EXPECT_EQ(form->std2->Cells(9, 0), "CH8");
  EXPECT_EQ(form->std2->Cells(10, 0), "");
  EXPECT_EQ(form->std2->ColWidths(0), 80);
  EXPECT_EQ(form->std2->ColWidths(1), 180);
  EXPECT_EQ(form->std2->ColCount(), 66);
  EXPECT_EQ(form->std2->RowCount(), 20);

  // Value grid: the headers of all 64 channels whatever the module count.
  EXPECT_EQ(form->std3->Cells(0, 0), "CH1    J    ℃");
  EXPECT_EQ(form->std3->Cells(7, 3), "CH16    K    ℃");
  EXPECT_EQ(form->std3->Cells(7, 21), "CH64    K    ℃");
  EXPECT_EQ(form->std3->ColWidths(5), 120);
  EXPECT_EQ(form->std3->RowHeights(21), 30);
  EXPECT_EQ(form->std3->RowHeights(22), 45);
  EXPECT_EQ(form->std3->RowHeights(23), 30);

  for (TZQuery* q : SeriesQueries) EXPECT_NE(q, nullptr);
}

TEST_F(FrmMainTest, TwoModuleConfigLaysOutSixteenChannels) {
  ASSERT_TRUE(ExecSqlCommand("update config set modecnt=2, mode2type='T'"));
  CreateForm();
  EXPECT_EQ(ModuleCount.load(), 2);
  EXPECT_EQ(form->std1->Cells(0, 26), "CH16");
  EXPECT_EQ(form->std1->Cells(0, 27), "");
  EXPECT_EQ(form->std2->Cells(17, 0), "CH16");
  EXPECT_EQ(form->std2->Cells(18, 0), "");
  EXPECT_EQ(form->std3->Cells(0, 3), "CH9    T    ℃");
}

TEST_F(FrmMainTest, TabsAndViewMenuSwitchPagesAndTheGraphTabSetsItsTexts) {
  CreateForm();
  // The pages are the control set's drawn page control (its own window class), tab height 26.
  wchar_t className[64] = {};
  GetClassNameW(form->r1->Handle(), className, 64);
  EXPECT_STREQ(className, L"TKxPageControl");
  EXPECT_EQ(GetParent(form->r1->Handle()), form->Handle());
  EXPECT_EQ(form->r1->PageCount(), 3);
  EXPECT_EQ(form->r1->FixedDimension(), 26);
  EXPECT_EQ(form->r1->TabRect(0).Height(), 26);
  EXPECT_TRUE(form->sht1->Visible());
  EXPECT_FALSE(form->sht3->Visible());
  int changes = 0;
  // A click in the third tab fires the page control's own OnChange once.
  const TRect tab = form->r1->TabRect(2);
  ASSERT_GT(tab.Width(), 10);
  const LPARAM at = MAKELPARAM((tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2);
  form->r1->OnPageChange = TNotifyEvent([&](TObject*) { ++changes; });
  SendMessageW(form->r1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(form->r1->Handle(), WM_LBUTTONUP, 0, at);
  Application->ProcessMessages();
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(form->r1->ActivePageIndex(), 2);
  EXPECT_EQ(form->r1->TabIndex(), 2);
  EXPECT_TRUE(form->sht3->Visible());
  EXPECT_FALSE(form->sht1->Visible());
  EXPECT_EQ(form->btn_1->Caption(), "Set");
  EXPECT_EQ(form->Show1->Caption(), "Upper limit of the Y-axis");
  EXPECT_EQ(form->Show2->Caption(), "Down limit of the Y-axis");
  // View / Datasheet shows the data grid's page.
  form->N22->Click();
  EXPECT_EQ(form->r1->ActivePageIndex(), 1);
  EXPECT_TRUE(form->sht2->Visible());
  EXPECT_FALSE(form->sht3->Visible());
  EXPECT_EQ(form->r1->TabIndex(), 1);
  // The grid fills the page's display area, below the tabs.
  EXPECT_GT(form->std2->Width(), 100);
  EXPECT_GT(form->std2->Height(), 100);
  EXPECT_GE(form->sht2->Top(), 26);
}

TEST_F(FrmMainTest, ViewGraphMenuSetsTheChartPageTextsThroughThePageControl) {
  CreateForm();
  form->btn_1->SetCaption("");
  // The menu only switches the page; the texts come from the page control's OnChange.
  form->N23->Click();
  EXPECT_EQ(form->r1->ActivePageIndex(), 2);
  EXPECT_EQ(form->btn_1->Caption(), "Set");
  EXPECT_EQ(form->Show1->Caption(), "Upper limit of the Y-axis");
}

struct KeyCase {
  const char* name;
  bool limitEdit;  // L_up instead of the interval edit
  const wchar_t* typed;
  const char* text;
};

class FrmMainKeyTest : public FrmMainTest, public testing::WithParamInterface<KeyCase> {};

TEST_P(FrmMainKeyTest, EditsTakeOnlyTheirCharacters) {
  CreateForm();
  TEdit* edit = GetParam().limitEdit ? form->L_up : form->edt1;
  edit->SetText("");
  Type(edit, GetParam().typed);
  EXPECT_EQ(edit->Text(), GetParam().text);
}

const KeyCase kKeyCases[] = {
    {"IntervalDigits", false, L"12", "12"},
    {"IntervalDropsLettersAndSigns", false, L"a1-.2 b", "12"},
    {"IntervalKeepsToThreeCharacters", false, L"12345", "123"},
    {"IntervalBackspace", false, L"12\b3", "13"},
    {"LimitTakesMinus", true, L"-1x5", "-15"},
};
INSTANTIATE_TEST_SUITE_P(Keys, FrmMainKeyTest, testing::ValuesIn(kKeyCases),
                         [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST(FrmMainRules, InfoCellsThatMayBeEdited) {
  // Column 1 of rows 0-4 and 7-9 ('1'); never the labels of column 0, the test time (6), the
  // interval (5) or the statistics.
  const std::string editable = "11111001110000000000";
  for (int row = 0; row < static_cast<int>(editable.size()); ++row) {
    EXPECT_FALSE(InfoCellEditable(0, row)) << row;
    EXPECT_EQ(InfoCellEditable(1, row), editable[static_cast<size_t>(row)] == '1') << row;
  }
}

TEST(FrmMainRules, KeyFilter) {
  struct {
    wchar_t key;
    bool minus;
    wchar_t result;
  } const cases[] = {{L'0', false, L'0'}, {L'9', false, L'9'}, {8, false, 8},     {13, false, 13},
                     {22, false, 22},     {L'-', false, 0},    {L'-', true, L'-'}, {L'a', true, 0},
                     {L'.', false, 0},    {3, false, 0}};
  for (const auto& c : cases) {
    wchar_t key = c.key;
    FilterIntervalKey(key, c.minus);
    EXPECT_EQ(key, c.result) << static_cast<int>(c.key);
  }
}

TEST_F(FrmMainTest, ClickingTestTimeDoesNotEditButOperatorsDoes) {
  CreateForm();
  auto clickCell = [&](int col, int row) {
    const TRect r = form->std1->CellRect(col, row);
    const int x = (r.Left + r.Right) / 2;
    const int y = (r.Top + r.Bottom) / 2;
    SendMessageW(form->std1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(form->std1->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Application->ProcessMessages();
  };
  form->std1->SetFocus();
  clickCell(1, 4);  // Operators
  EXPECT_EQ(form->std1->Row(), 4);
  EXPECT_EQ(form->SelectedInfoRow(), 4);
  clickCell(1, 4);  // a click on the current cell starts editing
  EXPECT_TRUE(form->std1->EditorMode());
  form->std1->SetEditorMode(false);

  clickCell(1, 6);  // Test time: refused, the focus goes to the page control
  EXPECT_EQ(form->std1->Row(), 4);
  EXPECT_FALSE(form->std1->EditorMode());
  EXPECT_EQ(form->SelectedInfoRow(), 6);
  // The focus goes to the page control (the form's active control even while another program's
  // window has the display's focus).
  EXPECT_EQ(form->ActiveControl(), form->r1);
}

TEST_F(FrmMainTest, InfoGridColoursLabelsHeadingsAndTheClickedRow) {
  CreateForm();
  const TRect r = form->std1->CellRect(1, 3);
  const int x = (r.Left + r.Right) / 2;
  const int y = (r.Top + r.Bottom) / 2;
  SendMessageW(form->std1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(form->std1->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  Application->ProcessMessages();
  ASSERT_EQ(form->SelectedInfoRow(), 3);
  form->std1->SetRow(0);  // the current cell elsewhere, so row 3 is drawn without state

  TBitmap bitmap;
  const TRect client = form->std1->ClientRect();
  MakeCanvasBitmap(bitmap, client.Width(), client.Height());
  form->std1->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bitmap.Canvas()->Handle()), 0);

  const TColor labelBack = static_cast<TColor>(0xF0FBFF);
  // Column 0 of a plain row: the label background.
  EXPECT_EQ(PixelAt(bitmap, 140, 2 * 25 + 20), labelBack);
  // Row 3 is yellow in both columns.
  EXPECT_EQ(PixelAt(bitmap, 140, 3 * 25 + 20), clYellow);
  EXPECT_EQ(PixelAt(bitmap, 290, 3 * 25 + 20), clYellow);
  // The headings of rows 5 and 10 are written in blue, other labels in black.
  const auto blueIn = [&](int row) {
    int n = 0;
    for (int yy = row * 25; yy < row * 25 + 24; ++yy)
      for (int xx = 0; xx < 148; ++xx)
        if (IsBlue(PixelAt(bitmap, xx, yy))) ++n;
    return n;
  };
  EXPECT_GT(blueIn(5), 10);
  EXPECT_GT(blueIn(10), 10);
  EXPECT_EQ(blueIn(4), 0);
  const auto darkIn = [&](int row) {
    int n = 0;
    for (int yy = row * 25; yy < row * 25 + 24; ++yy)
      for (int xx = 0; xx < 148; ++xx)
        if (IsDark(PixelAt(bitmap, xx, yy))) ++n;
    return n;
  };
  EXPECT_GT(darkIn(4), 10);
  EXPECT_EQ(darkIn(5), 0);
}

TEST_F(FrmMainTest, DataGridTextIsCentredInItsCell) {
  CreateForm();
  form->r1->SetActivePageIndex(1);
  Application->ProcessMessages();
  form->std2->SetCells(2, 1, "88.8");
  TBitmap bitmap;
  const TRect client = form->std2->ClientRect();
  MakeCanvasBitmap(bitmap, client.Width(), client.Height());
  form->std2->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bitmap.Canvas()->Handle()), 0);
  const TRect cell = form->std2->CellRect(2, 1);
  TRect ink(cell.Right, cell.Bottom, cell.Left, cell.Top);
  for (int yy = cell.Top; yy < cell.Bottom; ++yy)
    for (int xx = cell.Left; xx < cell.Right; ++xx)
      if (IsDark(PixelAt(bitmap, xx, yy))) {
        ink.Left = std::min(ink.Left, xx);
        ink.Right = std::max(ink.Right, xx + 1);
        ink.Top = std::min(ink.Top, yy);
        ink.Bottom = std::max(ink.Bottom, yy + 1);
      }
  ASSERT_LT(ink.Left, ink.Right) << "no text drawn";
  // Centred: equal margins within a couple of pixels.
  EXPECT_LE(std::abs((ink.Left - cell.Left) - (cell.Right - ink.Right)), 2);
  EXPECT_LE(std::abs((ink.Top - cell.Top) - (cell.Bottom - ink.Bottom)), 2);
}

struct RefusalCase {
  const char* name;
  void (TFrmMain::*command)(TObject*);
  const char* message;
};

class FrmMainRefusalTest : public FrmMainTest, public testing::WithParamInterface<RefusalCase> {};

TEST_P(FrmMainRefusalTest, CommandIsRefusedWhileATestRuns) {
  VirtualPortPair pair;
  InstrumentSimulator sim(pair.SimulatorPort(), "--fault noreply --fault-on 60");
  CreateForm();
  ComPortName = pair.AppPort();
  Click(form->btn_start);
  ASSERT_TRUE(PumpUntil([] { return RunMode.load() == 1; }));
  (form->*GetParam().command)(form);
  EXPECT_EQ(boxes, (std::vector<std::string>{std::string("prompt: ") + GetParam().message + " [warning]"}));
  // The operator can press stop once the labels are read and the button is enabled.
  ASSERT_TRUE(PumpUntil([this] { return form->btn_stop->Enabled(); }));
  Click(form->btn_stop);
  EXPECT_TRUE(WaitForThreadEnd());
}

// From the start button on, before the instrument has answered (RunMode still 0): the commands
// that take the shared connection for long would close it under the starting thread.
TEST_P(FrmMainRefusalTest, CommandIsRefusedWhileATestStarts) {
  VirtualPortPair pair;
  // The product number never comes: the thread keeps searching with RunMode 0.
  InstrumentSimulator sim(pair.SimulatorPort(), "--fault noreply --fault-on 21");
  CreateForm();
  ComPortName = pair.AppPort();
  Click(form->btn_start);
  ASSERT_NE(AcqThread.load(), nullptr);
  EXPECT_EQ(RunMode.load(), 0);
  (form->*GetParam().command)(form);
  EXPECT_EQ(boxes, (std::vector<std::string>{std::string("prompt: ") + GetParam().message + " [warning]"}));
  EXPECT_NE(AcqThread.load(), nullptr);
  StopRequested = 1;
  EXPECT_TRUE(WaitForThreadEnd());
}

const RefusalCase kRefusals[] = {
    {"Import", &TFrmMain::N41Click, "Stop the test before importing."},
    {"Query", &TFrmMain::N42Click, "Stop the test before querying history."},
    {"Report", &TFrmMain::act3Execute, "Stop the test before exporting."},
    {"DetailRecords", &TFrmMain::act4Execute, "Stop the test before exporting."},
    {"HistoryExport", &TFrmMain::act9Execute, "Stop the test before exporting."},
};
INSTANTIATE_TEST_SUITE_P(Commands, FrmMainRefusalTest, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

// The config row cannot be read when the window is created: the window keeps its design layout,
// and start and History queries still work (or end on their own failure) instead of crashing.
struct UnreadableConfigCase {
  const char* name;
  const char* damage;  // SQL run on the database before the window is created ("" none)
  bool locked;         // another connection holds the database file locked meanwhile
  bool testRuns;       // start reaches the polls (the thread's own config updates succeed)
};

class FrmMainUnreadableConfigTest : public FrmMainTest, public testing::WithParamInterface<UnreadableConfigCase> {};

TEST_P(FrmMainUnreadableConfigTest, StartAndHistoryQueriesStillWork) {
  const UnreadableConfigCase& c = GetParam();
  SqlExec(DatabaseFileName(),
          "insert into olddata(dtime, val1, val8) values ('2024-03-05 08:00:00', 21.5, 1), "
          "('2024-03-05 09:00:00', 22.5, 2)");
  if (*c.damage) SqlExec(DatabaseFileName(), c.damage);
  // As in a fresh process: no channel queries exist before the window makes them.
  for (TZQuery*& q : SeriesQueries) q = nullptr;
  ModuleCount = 1;
  PointMode = 1;
  sqlite3* locker = nullptr;
  if (c.locked) {
    ASSERT_EQ(sqlite3_open(DatabaseFileName().c_str(), &locker), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(locker, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
    // The lock is found at once instead of after the connection's wait.
    sqlite3_busy_timeout(DbConnection->Handle(), 0);
  }
  CreateForm();
  if (locker) {
    sqlite3_exec(locker, "commit", nullptr, nullptr, nullptr);
    sqlite3_close(locker);
    sqlite3_busy_timeout(DbConnection->Handle(), 5000);
  }
  EXPECT_GE(CountLogLines(AppPath, "config"), 1);
  // The design layout: no channel rows, no statistics heading.
  EXPECT_EQ(form->std1->Cells(0, 11), "");
  EXPECT_EQ(form->std1->Cells(1, 10), "");
  for (TZQuery* q : SeriesQueries) ASSERT_NE(q, nullptr);

  VirtualPortPair pair;
  InstrumentSimulator sim(pair.SimulatorPort(), "--modules 1 --readings seq:20,30 --fault noreply --fault-on 60 "
                                                "--fault-after 2");
  ComPortName = pair.AppPort();
  Click(form->btn_start);
  if (c.testRuns) {
    ASSERT_TRUE(PumpUntil([&] { return form->std2->Cells(0, 2) == "2"; }));
    EXPECT_EQ(form->std2->Cells(2, 2), "30.0");
    EXPECT_EQ(form->dbcht1->SeriesCount(), 8);
    ASSERT_TRUE(PumpUntil([&] { return form->btn_stop->Enabled(); }));
    Click(form->btn_stop);
  }
  // Without a config table the thread ends on its own failed update.
  ASSERT_TRUE(WaitForThreadEnd());
  Application->ProcessMessages();
  EXPECT_TRUE(form->btn_start->Enabled());

  // History queries: the dialog offers the history's range and "Inquire" fills chart and grid.
  AnswerModal(L"TFrmselect", [this](TWinControl* dialog) { Click(static_cast<TFrmselect*>(dialog)->btn1); });
  form->N42Click(form);
  EXPECT_EQ(form->r1->ActivePageIndex(), 2);
  EXPECT_EQ(form->dbcht1->SeriesCount(), 8);
  EXPECT_EQ(form->dbcht1->SeriesAt(0)->PointCount(), 2);
  EXPECT_EQ(form->std2->Cells(1, 2), "2024-03-05 09:00:00");
  EXPECT_EQ(form->std2->Cells(2, 2), "22.5");
  EXPECT_EQ(boxes, std::vector<std::string>{});
}

const UnreadableConfigCase kUnreadableConfigs[] = {
    {"LockedFile", "", true, true},
    {"RowMissing", "delete from config", false, true},
    {"ColumnMissing", "alter table config drop column mode8type", false, true},
    {"TableMissing", "drop table config", false, false},
};
INSTANTIATE_TEST_SUITE_P(Config, FrmMainUnreadableConfigTest, testing::ValuesIn(kUnreadableConfigs),
                         [](const testing::TestParamInfo<UnreadableConfigCase>& info) {
                           return std::string(info.param.name);
                         });

// ---- History import from the main window --------------------------------------------------

class FrmMainImportTest : public FrmMainTest {
 protected:
  void SetUp() override {
    FrmMainTest::SetUp();
    input = AppPath + "input\\";
    CreateDirectoryW(Utf8ToWide(input).c_str(), nullptr);
    fixtures::WritePair(input, "f1", fixtures::DataFile(300, 8, fixtures::Stamp{2021}), 1, 0);
    fixtures::WritePair(input, "f2", fixtures::DataFile(300, 8, fixtures::Stamp{2022}), 1, 0);
    fixtures::WritePair(input, "f3", fixtures::DataFile(300, 8, fixtures::Stamp{2023}), 1, 0);
    CreateForm();
    form->ChooseImport = [this](THistoryImportChoice& choice) {
      ++choices;
      choice.mode = THistoryImportMode::Folder;
      choice.folder = input;
      return true;
    };
  }
  // Runs `during` once, at the first gauge step of the second file.
  void DuringSecondFile(std::function<void()> during) {
    TMyComponent::SetObserver([this, during](UINT msg, WPARAM) {
      if (msg == WM_PROGRESS_TEXT) started.push_back(ProgressWindow->LabelText());
      if (msg == WM_PROGRESS_STEP && started.size() == 2 && !done) {
        done = true;
        during();
      }
    });
  }
  // The years of the files whose rows are in olddata, in file order ("f1" -> 2021 ...).
  std::string YearCounts() {
    std::string counts;
    for (const char* year : {"2021", "2022", "2023"})
      counts += Rows("select count(*) from olddata where dtime like '" + std::string(year) + "-%'")[0][0] + " ";
    return counts;
  }
  // Closes any window a refused command must not have opened, and names it: a command that
  // slipped through fails the test instead of hanging it in its dialog.
  static BOOL CALLBACK CloseStray(HWND window, LPARAM self) {
    auto* test = reinterpret_cast<FrmMainImportTest*>(self);
    if (!IsWindowVisible(window) || window == test->form->Handle() ||
        (ProgressWindow && window == ProgressWindow->Handle()))
      return TRUE;
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    // Tool tips and hints may come and go with the mouse.
    if (std::wstring(name) == L"tooltips_class32" || std::wstring(name).find(L"Hint") != std::wstring::npos)
      return TRUE;
    test->strays.push_back(WideToUtf8(name));
    PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
  }
  static void CALLBACK StrayTimer(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), CloseStray, reinterpret_cast<LPARAM>(current));
  }

  std::string input;
  int choices = 0;
  std::vector<std::string> started;
  bool done = false;
  std::vector<std::string> strays;
  static inline FrmMainImportTest* current = nullptr;
};

// While the import runs, its progress window keeps dispatching messages: every command but Quit
// is disabled, and a command that is run all the same does nothing.
TEST_F(FrmMainImportTest, CommandsDuringAnImportAreNotReachableAndTheImportEndsWhole) {
  form->std2->SetCells(1, 1, "2024-03-05 08:07:06");  // the exports would have something to write
  form->L_up->SetText("50");
  form->L_down->SetText("10");
  int shellCalls = 0;
  form->ShellExecuteCall = [&](HWND, const std::string&, const std::string&, const std::string&, int) {
    ++shellCalls;
  };
  struct Command {
    const char* name;
    void (TFrmMain::*handler)(TObject*);
  };
  const Command commands[] = {
      {"start", &TFrmMain::btn_startClick},       {"Set", &TFrmMain::btn_1Click},
      {"Value graph", &TFrmMain::N21Click},       {"Datasheet", &TFrmMain::N22Click},
      {"Graph", &TFrmMain::N23Click},             {"Import history", &TFrmMain::N41Click},
      {"History queries", &TFrmMain::N42Click},   {"Report settings", &TFrmMain::act1Execute},
      {"test report", &TFrmMain::act3Execute},    {"detail records", &TFrmMain::act4Execute},
      {"export folder", &TFrmMain::act5Execute},  {"History deletion", &TFrmMain::act6Execute},
      {"Alarm conversion", &TFrmMain::act7Execute}, {"Serial port", &TFrmMain::act8Execute},
      {"history export", &TFrmMain::act9Execute},
  };
  current = this;
  const UINT_PTR strayTimer = SetTimer(nullptr, 0, 20, &FrmMainImportTest::StrayTimer);
  DuringSecondFile([&] {
    EXPECT_TRUE(form->ImportRunning());
    // Not reachable: the menus but Quit, the tool buttons, start and Set are disabled.
    for (TMenuItem* item : {form->N1, form->N2, form->N3, form->N4}) EXPECT_FALSE(item->Enabled()) << item->Name();
    EXPECT_TRUE(form->N50->Enabled());
    const HMENU bar = form->mm1->Handle();
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(GetMenuState(bar, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED) << i;
    EXPECT_FALSE(GetMenuState(bar, 4, MF_BYPOSITION) & MF_GRAYED) << "Quit";
    for (TToolButton* button : {form->TB1, form->tb2, form->tb3, form->tb4}) EXPECT_FALSE(button->Enabled());
    EXPECT_FALSE(form->btn_start->Enabled());
    EXPECT_FALSE(form->btn_1->Enabled());
    // Refused when run all the same.
    for (const Command& c : commands) {
      (form->*c.handler)(form);
      for (int i = 0; i < 5; ++i) Application->ProcessMessages();
      EXPECT_EQ(AcqThread.load(), nullptr) << c.name;
      EXPECT_EQ(RunMode.load(), 0) << c.name;
      EXPECT_EQ(form->r1->ActivePageIndex(), 0) << c.name;
    }
  });
  form->N41->Click();
  KillTimer(nullptr, strayTimer);
  EXPECT_TRUE(done);
  EXPECT_EQ(choices, 1);
  EXPECT_EQ(strays, std::vector<std::string>{});
  EXPECT_EQ(shellCalls, 0);
  EXPECT_EQ(form->dbcht1->LeftAxis()->Maximum(), 100);
  EXPECT_FALSE(DirectoryExists(AppPath + "Export_data"));
  // The import ended whole, and said so; nothing failed.
  EXPECT_EQ(boxes, std::vector<std::string>{"prompt: The import is complete. [warning]"});
  EXPECT_EQ(YearCounts(), "300 300 300 ");
  EXPECT_EQ(CountLogLines(AppPath, "file import except!!!"), 0);
  EXPECT_EQ(CountLogLines(AppPath, "database is locked"), 0);
  // Everything is back.
  EXPECT_FALSE(form->ImportRunning());
  for (TMenuItem* item : {form->N1, form->N2, form->N3, form->N4}) EXPECT_TRUE(item->Enabled()) << item->Name();
  for (TToolButton* button : {form->TB1, form->tb2, form->tb3, form->tb4}) EXPECT_TRUE(button->Enabled());
  EXPECT_TRUE(form->btn_start->Enabled());
  EXPECT_TRUE(form->btn_1->Enabled());
  EXPECT_FALSE(form->btn_stop->Enabled());
  EXPECT_EQ(ProgressWindow, nullptr);
}

// Quitting during an import asks as usual; confirmed, the import stops before its next record:
// the finished file stays whole, the one in progress leaves nothing, the rest is not read.
TEST_F(FrmMainImportTest, QuittingDuringAnImportAsksAndEndsItCleanly) {
  DuringSecondFile([&] {
    answer = IDCANCEL;
    EXPECT_FALSE(form->CloseQuery());
    answer = IDOK;
    form->Close();
  });
  form->N41->Click();
  ASSERT_TRUE(done);
  ASSERT_EQ(started.size(), 2u);
  const std::string first = ExtractFileName(started[0]).substr(0, 2);
  EXPECT_EQ(YearCounts(), first == "f1"   ? "300 0 0 "
                          : first == "f2" ? "0 300 0 "
                                          : "0 0 300 ");
  EXPECT_EQ(boxes, (std::vector<std::string>{"prompt: Are you sure to quit the software? [warning]",
                                             "prompt: Are you sure to quit the software? [warning]"}));
  EXPECT_EQ(StopRequested.load(), 1);
  EXPECT_EQ(CountLogLines(AppPath, "file import except!!!"), 0);
  EXPECT_EQ(ProgressWindow, nullptr);
  EXPECT_TRUE(DbConnection->Connected());
  EXPECT_FALSE(form->ImportRunning());
}

// ---- Export folder and alarm conversion ----------------------------------------------------

TEST_F(FrmMainTest, ViewExportedOpensTheExportFolderInTheExplorer) {
  CreateForm();
  std::vector<std::string> calls;
  form->ShellExecuteCall = [&](HWND owner, const std::string& verb, const std::string& file,
                               const std::string& parameters, int show) {
    calls.push_back((owner == form->Handle() ? "main window|" : "other owner|") + verb + "|" + file + "|" +
                    parameters + "|" + std::to_string(show));
  };
  // The tool button runs the same action as the menu.
  form->tb4->Click();
  form->N33->Click();
  const std::string call = "main window|open|explorer.exe|" + AppPath + "Export_data|" + std::to_string(SW_SHOWNORMAL);
  EXPECT_EQ(calls, (std::vector<std::string>{call, call}));
  EXPECT_TRUE(boxes.empty());
}

// Controls of the open-file dialog (the platform's dlgs.h names, whose macros clash with the
// window's component names).
constexpr int kFileTypeBox = 0x470;   // cmb1
constexpr int kFileNameBox = 0x47c;   // cmb13
constexpr int kFileNameEdit = 0x480;  // edt1

TEST_F(FrmMainTest, AlarmConversionAsksForTheFileAndSaysWhereTheLinesWent) {
  const char* const kTitle = "Please select the alarm file(.bin)";
  fixtures::Bytes alarms = fixtures::AlarmRecord(fixtures::Stamp{}, 3, 0xC0, 0x01, 0x00, {});
  fixtures::Append(alarms, fixtures::AlarmRecord(fixtures::Stamp{}, 0, 0x0C, 0x00, 0x01, {}));
  const std::string file = AppPath + "alarm.bin";
  fixtures::WriteFileBytes(file, alarms);
  CreateForm();
  std::string filter;
  auto answerDialog = [&](bool choose) {
    WhenShown([&, choose] {
      HWND dialog = FindWindowW(L"#32770", Utf8ToWide(kTitle).c_str());
      if (!dialog || !IsWindowVisible(dialog)) return false;
      wchar_t item[128] = {};
      SendMessageW(GetDlgItem(dialog, kFileTypeBox), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item));
      filter = WideToUtf8(item);
      if (choose) {
        const std::wstring name = Utf8ToWide(file);
        SendMessageW(dialog, CDM_SETCONTROLTEXT, kFileNameBox, reinterpret_cast<LPARAM>(name.c_str()));
        SendMessageW(dialog, CDM_SETCONTROLTEXT, kFileNameEdit, reinterpret_cast<LPARAM>(name.c_str()));
      }
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(choose ? IDOK : IDCANCEL, BN_CLICKED), 0);
      return true;
    });
  };
  // Cancelled: nothing converted, no notice.
  answerDialog(false);
  form->N44->Click();
  EXPECT_EQ(filter, "All (*bin)");
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(CountLogLines(AppPath, "passage:"), 0);

  // Chosen: one warning line per record, then the notice titled "提示".
  filter.clear();
  answerDialog(true);
  form->N44->Click();
  EXPECT_EQ(filter, "All (*bin)");
  EXPECT_EQ(CountLogLines(AppPath, "; passage:4; Alarm information:Exceed the upper limit>>>Normal state; "
                                   "RTD type:J_type; Reference end:Built; "),
            1);
  EXPECT_EQ(CountLogLines(AppPath, "; passage:1; Alarm information:Normal state>>>Exceed the upper limit; "
                                   "RTD type:K_type; Reference end:Customization; "),
            1);
  EXPECT_EQ(boxes, (std::vector<std::string>{"提示: The alarm file processing is complete,deposit '" + AppPath +
                                             "\\Log'****warning.txt file [warning]"}));
}

TEST_F(FrmMainTest, HistoryDeletionAsksThenClears) {
  CreateForm();
  ASSERT_TRUE(ExecSqlCommand("insert into olddata(val1, dtime) values (1.5, '2024-03-05 08:07:06')"));
  answer = IDCANCEL;
  form->act6Execute(form);
  EXPECT_EQ(Rows("select count(*) from olddata")[0][0], "1");
  answer = IDOK;
  form->act6Execute(form);
  EXPECT_EQ(Rows("select count(*) from olddata")[0][0], "0");
  const std::string question =
      "prompt: Are you sure you want to clear all history? It cannot be recovered after purging. [warning]";
  EXPECT_EQ(boxes, (std::vector<std::string>{question, question,
                                             "prompt: History cleared successfully [warning]"}));
}

TEST_F(FrmMainTest, ZeroOrNonNumericIntervalStartsNothing) {
  CreateForm();
  form->edt1->SetText("0");
  Click(form->btn_start);
  EXPECT_EQ(boxes, (std::vector<std::string>{"prompt: The test interval must be at least 1. [warning]"}));
  EXPECT_EQ(AcqThread.load(), nullptr);
  EXPECT_TRUE(form->btn_start->Enabled());

  boxes.clear();
  form->edt1->SetText("");
  Click(form->btn_start);
  ASSERT_EQ(boxes.size(), 1u);  // the toolkit's error box with the conversion error
  EXPECT_NE(boxes[0].find("is not a valid integer value"), std::string::npos) << boxes[0];
  EXPECT_EQ(AcqThread.load(), nullptr);
  EXPECT_TRUE(form->btn_start->Enabled());
}

TEST_F(FrmMainTest, StartButtonRunsATestIntoTheGridsAndStopEndsIt) {
  VirtualPortPair pair;
  // Three polls answered, then none: the test holds at three samples until it is stopped.
  InstrumentSimulator sim(pair.SimulatorPort(),
                          "--modules 2 --decimals 2 --types JT --product PN-9 --model VK-16 "
                          "--labels Inlet --readings seq:20,30,25 --channel-step 1 "
                          "--fault noreply --fault-on 60 --fault-after 3");
  CreateForm();
  ComPortName = pair.AppPort();
  form->std2->SetCells(3, 5, "old");
  Click(form->btn_start);
  EXPECT_FALSE(form->btn_start->Enabled());
  EXPECT_EQ(form->std2->Cells(3, 5), "");  // emptied at the start
  EXPECT_EQ(form->std1->Cells(1, 6).size(), 19u);
  ASSERT_TRUE(PumpUntil([&] { return form->std2->Cells(0, 3) == "3"; }));
  EXPECT_TRUE(form->btn_stop->Enabled());
  EXPECT_EQ(RunMode.load(), 1);
  EXPECT_EQ(Panel(0), pair.AppPort());

  Click(form->btn_stop);
  EXPECT_FALSE(form->btn_stop->Enabled());
  ASSERT_TRUE(WaitForThreadEnd());
  Application->ProcessMessages();
  EXPECT_TRUE(form->btn_start->Enabled());
  EXPECT_EQ(form->lbl_show3->Caption(), "");
  EXPECT_EQ(RunMode.load(), 0);

  // Test information: identity and the statistics of every channel.
  EXPECT_EQ(form->std1->Cells(1, 1), "PN-9");
  EXPECT_EQ(form->std1->Cells(1, 2), "VK-16");
  EXPECT_EQ(form->std1->Cells(1, 11), "30.00,20.00,25.00");
  EXPECT_EQ(form->std1->Cells(1, 26), "45.00,35.00,40.00");
  EXPECT_EQ(form->std1->Cells(0, 26), "CH16");
  // Data grid: 16 channel columns, one row per sample.
  EXPECT_EQ(form->std2->Cells(17, 0), "CH16");
  EXPECT_EQ(form->std2->Cells(2, 1), "20.00");
  EXPECT_EQ(form->std2->Cells(2, 2), "30.00");
  EXPECT_EQ(form->std2->Cells(2, 3), "25.00");
  EXPECT_EQ(form->std2->Cells(17, 3), "40.00");
  EXPECT_EQ(form->std2->Cells(0, 4), "");
  // Value grid: latest values, types and labels.
  EXPECT_EQ(form->std3->Cells(0, 1), "25.00");
  EXPECT_EQ(form->std3->Cells(7, 4), "40.00");
  EXPECT_EQ(form->std3->Cells(0, 3), "CH9    T    ℃");
  EXPECT_EQ(form->std3->Cells(0, 2), "Inlet        ");
  EXPECT_TRUE(form->timer1->Enabled());
  EXPECT_EQ(Rows("select count(*) from newdata")[0][0], "3");
}

// At the real pace (not test mode) a poll read lasts the interval less 100 ms: closing in the middle
// of a one-minute poll still returns at once, with the sample whose reply is in stored and shown.
TEST_F(FrmMainTest, ClosingDuringAMinutePollReturnsAtOnce) {
  VirtualPortPair pair;
  InstrumentSimulator sim(pair.SimulatorPort(), "--modules 1 --readings ramp:10:1");
  SetTestMode(false);
  CreateForm();
  ComPortName = pair.AppPort();
  form->edt1->SetText("1");
  form->cbb_show1->SetItemIndex(1);  // minutes
  Click(form->btn_start);
  ASSERT_TRUE(PumpUntil([&] { return form->lbl_show3->Caption() == "The 1 test is underway"; }));
  const DWORD underway = GetTickCount();
  PumpUntil([&] { return GetTickCount() - underway >= 300; });

  answer = IDOK;
  const DWORD start = GetTickCount();
  form->Close();
  EXPECT_LT(GetTickCount() - start, 1000u);
  EXPECT_EQ(AcqThread.load(), nullptr);
  EXPECT_EQ(Rows("select count(*) from newdata")[0][0], "1");
  EXPECT_EQ(form->std2->Cells(0, 1), "1");
  EXPECT_EQ(form->std2->Cells(2, 1), "10.0");
}

TEST_F(FrmMainTest, ClosingDuringATestEndsTheThreadFirstAndKeepsRowsWhole) {
  VirtualPortPair pair;
  InstrumentSimulator sim(pair.SimulatorPort(), "--modules 1 --readings ramp:10:1");
  CreateForm();
  ComPortName = pair.AppPort();
  Click(form->btn_start);
  ASSERT_TRUE(PumpUntil([&] { return form->std2->Cells(0, 2) == "2"; }));

  // Cancelling the quit question leaves the test running.
  answer = IDCANCEL;
  EXPECT_FALSE(form->CloseQuery());
  EXPECT_NE(AcqThread.load(), nullptr);

  // Confirmed: closing waits for the thread, whose last calls reach the window first.
  answer = IDOK;
  form->Close();
  EXPECT_EQ(AcqThread.load(), nullptr);
  EXPECT_EQ(StopRequested.load(), 1);
  EXPECT_EQ(AbortRequested.load(), 1);
  EXPECT_TRUE(form->btn_start->Enabled());
  EXPECT_EQ(boxes, (std::vector<std::string>{"prompt: Are you sure to quit the software? [warning]",
                                             "prompt: Are you sure to quit the software? [warning]"}));
  // Every stored sample is in the grid and every grid row is stored.
  const int rows = std::stoi(Rows("select count(*) from newdata")[0][0]);
  EXPECT_GE(rows, 2);
  EXPECT_EQ(form->std2->Cells(0, rows), std::to_string(rows));
  EXPECT_EQ(form->std2->Cells(0, rows + 1), "");
  EXPECT_EQ(Rows("select max(ID) from newdata")[0][0], std::to_string(rows));
}

}  // namespace

// End to end: the real Vornakit_more.exe, started in a fresh folder against the instrument
// simulator on a pty pair, steered by vk_driver through window messages (start, stop, menu
// commands, limit edits, quit with the quit question answered), and its database and report
// checked afterwards with the sqlite3 command-line program and python3-xlrd.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cwctype>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"
#include "tests/support/TestPaths.h"
#include "tests/support/VirtualPortPair.h"
#include "tests/support/XlrdDump.h"
#include "tests/toolkit/PixelHelpers.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"

namespace {

const char kMainCaption[] = "Multi-channel temperature inspection";

// A fresh program folder under the build tree (so the Linux side knows its path too) holding a
// copy of the program and its DLLs; removed afterwards.
class ProgramFolder {
 public:
  ProgramFolder() {
    static std::atomic<int> counter{0};
    unixPath_ = std::string(VK_BIN_DIR) + "/../e2e-tmp/run-" + std::to_string(GetCurrentProcessId()) +
                "-" + std::to_string(counter++);
    CreateDirectoryW(Utf8ToWide(WinPath(std::string(VK_BIN_DIR) + "/../e2e-tmp")).c_str(), nullptr);
    TempFolder::RemoveTree(Utf8ToWide(WinPath(unixPath_)));
    CreateDirectoryW(Utf8ToWide(WinPath(unixPath_)).c_str(), nullptr);
    for (const char* file : {"Vornakit_more.exe", "sqlite3.dll", "FlexCelDyn.dll", "FINDCOMP.AVI"})
      CopyFileW(Utf8ToWide(BinDir() + file).c_str(), Utf8ToWide(Path() + file).c_str(), FALSE);
  }
  ~ProgramFolder() { TempFolder::RemoveTree(Utf8ToWide(WinPath(unixPath_))); }
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  // Windows path with a trailing backslash.
  std::string Path() const { return WinPath(unixPath_) + "\\"; }
  const std::string& UnixPath() const { return unixPath_; }

  void WriteFile(const std::string& name, const std::string& content) const {
    HANDLE f = CreateFileW(Utf8ToWide(Path() + name).c_str(), GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD n = 0;
    ::WriteFile(f, content.data(), static_cast<DWORD>(content.size()), &n, nullptr);
    CloseHandle(f);
  }
  std::string ReadFile(const std::string& name) const {
    std::string data;
    HANDLE f = CreateFileW(Utf8ToWide(Path() + name).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return data;
    char buffer[4096];
    DWORD n = 0;
    while (::ReadFile(f, buffer, sizeof buffer, &n, nullptr) && n > 0) data.append(buffer, n);
    CloseHandle(f);
    return data;
  }
  bool Exists(const std::string& name) const {
    return GetFileAttributesW(Utf8ToWide(Path() + name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

 private:
  std::string unixPath_;
};

// A started program; ended by force if it is still running when the test leaves (a failed step
// must not leave it behind).
class Process {
 public:
  explicit Process(HANDLE handle) : handle_(handle) {}
  ~Process() {
    if (!handle_) return;
    if (WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT) {
      TerminateProcess(handle_, 99);
      WaitForSingleObject(handle_, 5000);
    }
    CloseHandle(handle_);
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  HANDLE Handle() const { return handle_; }

 private:
  HANDLE handle_;
};

// Starts a Windows program and answers its process handle (owned by the caller).
HANDLE StartProgram(const std::string& exe, const std::string& arguments, const std::string& dir) {
  std::wstring command = L"\"" + Utf8ToWide(exe) + L"\" " + Utf8ToWide(arguments);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      dir.empty() ? nullptr : Utf8ToWide(dir).c_str(), &si, &pi))
    return nullptr;
  CloseHandle(pi.hThread);
  return pi.hProcess;
}

// The program the driver steers: other test programs may show windows with the same captions.
DWORD steeredProcess = 0;

// Every wait of a test draws on one budget, so that the waits of a hung program end the test
// inside its CTest time-out (the suite's tests run in one process) with a failure of their own.
ULONGLONG budgetEnd = 0;
class TestBudget {
 public:
  explicit TestBudget(int seconds) { budgetEnd = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000; }
  ~TestBudget() { budgetEnd = 0; }
  TestBudget(const TestBudget&) = delete;
  TestBudget& operator=(const TestBudget&) = delete;
};
// Milliseconds left of the budget, at most `cap`.
DWORD Remaining(DWORD cap) {
  const ULONGLONG now = GetTickCount64();
  if (budgetEnd == 0) return cap;
  if (now >= budgetEnd) return 0;
  return static_cast<DWORD>(std::min<ULONGLONG>(cap, budgetEnd - now));
}

// Runs vk_driver with `arguments` on the steered program's windows and answers its exit code
// (-1 when it could not run).
int Driver(const std::string& arguments) {
  HANDLE p = StartProgram(BinDir() + "vk_driver.exe",
                          "--pid " + std::to_string(steeredProcess) + " " + arguments, "");
  if (!p) return -1;
  if (WaitForSingleObject(p, Remaining(150000)) != WAIT_OBJECT_0) {
    TerminateProcess(p, 1);
    WaitForSingleObject(p, 5000);
  }
  DWORD code = 0;
  GetExitCodeProcess(p, &code);
  CloseHandle(p);
  return static_cast<int>(code);
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Runs the sqlite3 command-line program (a Linux program) on the folder's VKT_DATA.db and answers its
// output lines (columns separated by "|", NULL as "<null>"). Wine starts Linux programs without
// a waitable handle, so the shell writes a marker file once sqlite3 has finished. While the
// program runs (`live`), the file is read as immutable: Wine's file locks are invisible to a
// Linux process, which must then neither take a journal for hot nor lock; a read that meets a
// half-written page fails and is simply repeated by the caller.
std::vector<std::string> Sqlite(const ProgramFolder& folder, const std::string& sql, bool live = false) {
  static std::atomic<int> counter{0};
  const std::string tag = "sql-" + std::to_string(counter++);
  const std::string dir = folder.UnixPath();
  const std::string db = live ? "file:" + dir + "/VKT_DATA.db?mode=ro&immutable=1" : dir + "/VKT_DATA.db";
  const std::string script = "sqlite3 -cmd '.timeout 5000' -nullvalue '<null>' '" + db + "' \"" +
                             sql + "\" > '" + dir + "/" + tag + ".out' 2>&1; touch '" + dir + "/" +
                             tag + ".done'";
  // Wine splits a Linux program's command line as Windows does: the script is one argument in
  // double quotes, its own double quotes escaped.
  std::string quoted = "\"";
  for (char c : script) quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
  quoted += "\"";
  std::wstring line = L"/bin/sh -c " + Utf8ToWide(quoted);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(L"Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi)) {
    ADD_FAILURE() << "cannot start sqlite3";
    return {};
  }
  if (pi.hProcess) CloseHandle(pi.hProcess);
  if (pi.hThread) CloseHandle(pi.hThread);
  // Readiness of an outside process, bounded.
  const DWORD bound = Remaining(20000);
  for (DWORD waited = 0; waited < bound && !folder.Exists(tag + ".done"); waited += 20) Sleep(20);
  EXPECT_TRUE(folder.Exists(tag + ".done")) << "sqlite3 did not finish: " << sql;
  std::vector<std::string> lines;
  const std::string out = folder.ReadFile(tag + ".out");
  size_t start = 0;
  while (start < out.size()) {
    size_t end = out.find('\n', start);
    if (end == std::string::npos) end = out.size();
    lines.push_back(out.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

TEST(EndToEnd, LiveTestFromStartButtonToQuit) {
  TestBudget budget(130);
  ProgramFolder folder;
  VirtualPortPair pair;
  InstrumentSimulator sim(pair.SimulatorPort(),
                          "--modules 2 --types JK --readings seq:20,30,25 --channel-step 1");
  folder.WriteFile("com.set", pair.AppPort() + "\r\n");

  Process program(StartProgram(folder.Path() + "Vornakit_more.exe", "pavenrok", folder.Path()));
  ASSERT_NE(program.Handle(), nullptr);
  steeredProcess = GetProcessId(program.Handle());
  const std::string main = Quoted(kMainCaption);
  ASSERT_EQ(Driver("wait " + main + " 60"), 0) << "the main window did not show";
  // A fresh folder gets its database with the default configuration row.
  std::vector<std::string> config;
  for (int i = 0; i < 50 && Remaining(1) > 0 && config != std::vector<std::string>{"1|1|J|K"}; ++i)
    config = Sqlite(folder, "select modecnt, pointcnt, mode1type, mode2type from config", true);
  EXPECT_EQ(config, (std::vector<std::string>{"1|1|J|K"}));
  ASSERT_EQ(Driver("click " + main + " start 30"), 0);
  // The stop button is enabled once the connection sequence is complete.
  ASSERT_EQ(Driver("enabled " + main + " stop 60"), 0);

  // Readings arrive (in test mode as fast as the instrument answers).
  int rows = 0;
  while (rows < 3 && Remaining(1) > 0) {
    const std::vector<std::string> count = Sqlite(folder, "select count(*) from newdata", true);
    rows = count.empty() ? 0 : std::atoi(count[0].c_str());
  }
  ASSERT_GE(rows, 3);

  ASSERT_EQ(Driver("click " + main + " stop 30"), 0);
  // The thread has ended when the start button is enabled again.
  ASSERT_EQ(Driver("enabled " + main + " start 60"), 0);

  // Quit: the quit question is answered with OK.
  ASSERT_EQ(Driver("post-close " + main + " 30"), 0);
  ASSERT_EQ(Driver("click prompt OK 30"), 0);
  ASSERT_EQ(Driver("gone " + main + " 60"), 0);
  EXPECT_EQ(WaitForSingleObject(program.Handle(), Remaining(60000)), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(program.Handle(), &exitCode);
  EXPECT_EQ(exitCode, 0u);

  // The database: the instrument's configuration and one row per sample, numbered without gaps,
  // every reading of the 16 channels in the instrument's sequence.
  EXPECT_EQ(Sqlite(folder, "select modecnt, pointcnt, mode1type, mode2type from config"),
            (std::vector<std::string>{"2|1|J|K"}));
  const std::vector<std::string> data =
      Sqlite(folder, "select ID, val1, val16, val17, length(dtime2) from newdata order by ID");
  ASSERT_GE(data.size(), 3u);
  const char* const sequence[] = {"20.0", "30.0", "25.0"};
  const char* const channel16[] = {"35.0", "45.0", "40.0"};
  for (size_t r = 0; r < data.size(); ++r) {
    const std::string expected = std::to_string(r + 1) + "|" + sequence[r % 3] + "|" +
                                 channel16[r % 3] + "|<null>|19";
    EXPECT_EQ(data[r], expected) << "row " << r + 1;
  }
}

// Window searches of the steered program. Enumeration callbacks are named CALLBACK functions: a
// lambda is no stdcall function on 32-bit Windows.
struct WindowSearch {
  std::wstring text;  // window text, or a part of the class name (any case)
  int items = 0;      // combo box entries wanted
  HWND found = nullptr;
};

BOOL CALLBACK VisitChildText(HWND wnd, LPARAM lp) {
  auto* s = reinterpret_cast<WindowSearch*>(lp);
  wchar_t buffer[256];
  GetWindowTextW(wnd, buffer, 256);
  if (s->text != buffer) return TRUE;
  s->found = wnd;
  return FALSE;
}

BOOL CALLBACK VisitComboBox(HWND wnd, LPARAM lp) {
  auto* s = reinterpret_cast<WindowSearch*>(lp);
  wchar_t buffer[256];
  GetClassNameW(wnd, buffer, 256);
  std::wstring name = buffer, wanted = s->text;
  for (wchar_t& c : name) c = static_cast<wchar_t>(towlower(c));
  for (wchar_t& c : wanted) c = static_cast<wchar_t>(towlower(c));
  if (name.find(wanted) == std::wstring::npos) return TRUE;
  if (SendMessageW(wnd, CB_GETCOUNT, 0, 0) != s->items) return TRUE;
  s->found = wnd;
  return FALSE;
}

BOOL CALLBACK VisitMainWindow(HWND wnd, LPARAM lp) {
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  wchar_t caption[256];
  GetWindowTextW(wnd, caption, 256);
  if (pid != steeredProcess || std::wstring(caption).rfind(Utf8ToWide(kMainCaption), 0) != 0) return TRUE;
  reinterpret_cast<WindowSearch*>(lp)->found = wnd;
  return FALSE;
}

// A child window of `parent` (at any depth) with exactly this text, or null.
HWND ChildWithText(HWND parent, const std::wstring& text) {
  WindowSearch search{text};
  EnumChildWindows(parent, VisitChildText, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The first child window of `parent` whose class name contains `className` (any case) and that
// holds `items` list entries, or null.
HWND ComboBoxWithItems(HWND parent, const std::wstring& className, int items) {
  WindowSearch search{className, items};
  EnumChildWindows(parent, VisitComboBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The steered program's main window.
HWND MainWindow() {
  WindowSearch search;
  EnumWindows(VisitMainWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Outside test mode a poll read lasts the interval less 100 ms: with a one-minute interval the
// operator's stop, pressed in the middle of the first poll, still ends the test within a second,
// and the sample whose reply was in is stored.
TEST(EndToEnd, StopAtAMinuteIntervalEndsTheTestAtOnce) {
  TestBudget budget(110);
  ProgramFolder folder;
  VirtualPortPair pair;
  InstrumentSimulator sim(pair.SimulatorPort(), "--modules 1 --readings const:21.5");
  folder.WriteFile("com.set", pair.AppPort() + "\r\n");

  Process program(StartProgram(folder.Path() + "Vornakit_more.exe", "", folder.Path()));
  ASSERT_NE(program.Handle(), nullptr);
  steeredProcess = GetProcessId(program.Handle());
  const std::string main = Quoted(kMainCaption);
  ASSERT_EQ(Driver("wait " + main + " 60"), 0) << "the main window did not show";
  const HWND window = MainWindow();
  ASSERT_NE(window, nullptr);
  // Interval "1" (the edit's own text) in minutes.
  const HWND unit = ComboBoxWithItems(window, L"combobox", 2);  // "second", "minute"
  ASSERT_NE(unit, nullptr);
  SendMessageW(unit, CB_SETCURSEL, 1, 0);
  ASSERT_EQ(Driver("click " + main + " start 30"), 0);
  // The connection sequence outside test mode: every command waits its whole 300 ms.
  ASSERT_EQ(Driver("enabled " + main + " stop 60"), 0);
  // Well inside the first poll's 59.9 s read; at a one-second pace three samples would be in.
  Sleep(3000);

  const HWND stop = ChildWithText(window, L"stop");
  const HWND start = ChildWithText(window, L"start");
  ASSERT_NE(stop, nullptr);
  ASSERT_NE(start, nullptr);
  ASSERT_FALSE(IsWindowEnabled(start));
  const ULONGLONG pressed = GetTickCount64();
  // The control set's buttons are drawn by the program: a left click in the middle presses one.
  RECT box{};
  GetClientRect(stop, &box);
  const LPARAM middle = MAKELPARAM((box.right - box.left) / 2, (box.bottom - box.top) / 2);
  PostMessageW(stop, WM_LBUTTONDOWN, MK_LBUTTON, middle);
  PostMessageW(stop, WM_LBUTTONUP, 0, middle);
  // The thread has ended when the start button is enabled again.
  while (!IsWindowEnabled(start) && GetTickCount64() - pressed < 10000) Sleep(10);
  EXPECT_TRUE(IsWindowEnabled(start));
  EXPECT_LT(GetTickCount64() - pressed, 1000u);

  ASSERT_EQ(Driver("post-close " + main + " 30"), 0);
  ASSERT_EQ(Driver("click prompt OK 30"), 0);
  ASSERT_EQ(Driver("gone " + main + " 60"), 0);
  EXPECT_EQ(WaitForSingleObject(program.Handle(), Remaining(60000)), WAIT_OBJECT_0);
  EXPECT_EQ(Sqlite(folder, "select ID, val1, val8 from newdata order by ID"),
            (std::vector<std::string>{"1|21.5|21.5"}));
}

// Runs a main menu command by its captions; where the menu cannot be read from another process
// (the driver answers 3) by the same entry's positions.
int MenuCommand(const std::string& main, const std::string& captions, const std::string& positions) {
  const int byCaption = Driver("menu " + main + " " + Quoted(captions) + " 30");
  return byCaption == 3 ? Driver("menu " + main + " " + positions + " 30") : byCaption;
}

// Colours of at least `pixels` pixels in the bitmap that are neither grey nor near white: the
// curves' line colours.
std::vector<TColor> LineColours(TBitmap& bitmap, int pixels) {
  std::vector<std::pair<TColor, int>> counts;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      const TColor c = PixelAt(bitmap, x, y);
      const int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
      if (std::max({r, g, b}) - std::min({r, g, b}) < 60) continue;  // greys, white, black
      auto it = std::find_if(counts.begin(), counts.end(), [c](const auto& e) { return e.first == c; });
      if (it == counts.end())
        counts.push_back({c, 1});
      else
        ++it->second;
    }
  std::vector<TColor> colours;
  for (const auto& e : counts)
    if (e.second >= pixels) colours.push_back(e.first);
  return colours;
}

// A live test at the real pace with the chart page shown and its upper limit set through the
// edit, then the test report: its picture shows the curves, and its statistics are those of the
// stored rows.
TEST(EndToEnd, ChartPageAndReportAfterALiveTest) {
  TestBudget budget(150);
  ProgramFolder folder;
  VirtualPortPair pair;
  InstrumentSimulator sim(pair.SimulatorPort(), "--modules 1 --readings seq:20,30,25 --channel-step 4");
  folder.WriteFile("com.set", pair.AppPort() + "\r\n");

  Process program(StartProgram(folder.Path() + "Vornakit_more.exe", "", folder.Path()));
  ASSERT_NE(program.Handle(), nullptr);
  steeredProcess = GetProcessId(program.Handle());
  const std::string main = Quoted(kMainCaption);
  ASSERT_EQ(Driver("wait " + main + " 60"), 0) << "the main window did not show";
  ASSERT_EQ(Driver("click " + main + " start 30"), 0);
  ASSERT_EQ(Driver("enabled " + main + " stop 60"), 0);

  // The chart page ("Set" gets its caption when the page is shown), limits 0..60.
  ASSERT_EQ(MenuCommand(main, "View/Graph", "#1/#2"), 0);
  ASSERT_EQ(Driver("enabled " + main + " Set 20"), 0) << "the chart page did not show";
  ASSERT_EQ(Driver("text " + main + " 100 60 10"), 0);
  ASSERT_EQ(Driver("click " + main + " Set 10"), 0);

  int rows = 0;
  while (rows < 5 && Remaining(1) > 0) {
    const std::vector<std::string> count = Sqlite(folder, "select count(*) from newdata", true);
    rows = count.empty() ? 0 : std::atoi(count[0].c_str());
    Sleep(200);
  }
  ASSERT_GE(rows, 5);
  ASSERT_EQ(Driver("click " + main + " stop 30"), 0);
  ASSERT_EQ(Driver("enabled " + main + " start 60"), 0);

  ASSERT_EQ(MenuCommand(main, "Export/Export the test report(.XLS)", "#2/#0"), 0);
  ASSERT_EQ(Driver("click prompt OK 60"), 0) << "no success message";

  // The picture: the chart as a bitmap, its curves in their own colours.
  ASSERT_TRUE(folder.Exists("TmpLine.jpg"));
  TBitmap picture;
  picture.LoadFromFile(folder.Path() + "TmpLine.jpg");
  EXPECT_GT(picture.Width(), 300);
  EXPECT_GE(LineColours(picture, 20).size(), 2u);
  CopyFileW(Utf8ToWide(folder.Path() + "TmpLine.jpg").c_str(),
            Utf8ToWide(WinPath(TestOutputDir() + "/EndToEnd_TmpLine.jpg")).c_str(), FALSE);

  // The report's statistics are the stored rows' maximum, minimum and average.
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(Utf8ToWide(folder.Path() + "Export_data\\*_Testreport.xls").c_str(), &found);
  ASSERT_NE(find, INVALID_HANDLE_VALUE) << "no report";
  const std::string report = folder.UnixPath() + "/Export_data/" + WideToUtf8(found.cFileName);
  FindClose(find);
  const std::vector<std::string> dump = XlrdDump(report, folder.UnixPath() + "/TmpLine.jpg");
  ASSERT_FALSE(dump.empty());
  EXPECT_NE(std::find_if(dump.begin(), dump.end(),
                         [](const std::string& l) { return l.rfind("blip 1 ", 0) == 0 && l.find("bitmap=same") != std::string::npos; }),
            dump.end());
  for (int channel = 1; channel <= 8; ++channel) {
    SCOPED_TRACE(channel);
    const std::string prefix = "cell 8 " + std::to_string(channel) + " ";
    auto cell = std::find_if(dump.begin(), dump.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    ASSERT_NE(cell, dump.end());
    const std::string text = cell->substr(cell->find("text=") + 5);
    double reported[3] = {};
    ASSERT_EQ(std::sscanf(text.c_str(), "%lf,%lf,%lf", &reported[0], &reported[1], &reported[2]), 3) << text;
    const std::string v = "val" + std::to_string(channel);
    const std::vector<std::string> stored = Sqlite(folder, "select max(" + v + "), min(" + v + "), avg(" + v + ") from newdata");
    ASSERT_EQ(stored.size(), 1u);
    double expected[3] = {};
    ASSERT_EQ(std::sscanf(stored[0].c_str(), "%lf|%lf|%lf", &expected[0], &expected[1], &expected[2]), 3) << stored[0];
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(reported[i], expected[i], 0.005) << text;
  }

  ASSERT_EQ(Driver("post-close " + main + " 30"), 0);
  ASSERT_EQ(Driver("click prompt OK 30"), 0);
  ASSERT_EQ(Driver("gone " + main + " 60"), 0);
  EXPECT_EQ(WaitForSingleObject(program.Handle(), Remaining(60000)), WAIT_OBJECT_0);
}

// The report picture of the test above shows the first two curves in the recorder's palette.
TEST(EndToEnd, ReportPictureShowsTheFirstCurvesInThePaletteColours) {
  TBitmap picture;
  picture.LoadFromFile(WinPath(TestOutputDir() + "/EndToEnd_TmpLine.jpg"));
  const std::vector<TColor> colours = LineColours(picture, 20);
  EXPECT_NE(std::find(colours.begin(), colours.end(), static_cast<TColor>(0xA36644)), colours.end());
  EXPECT_NE(std::find(colours.begin(), colours.end(), static_cast<TColor>(0x359CF3)), colours.end());
}

}  // namespace

// Shared set-up of the recorder benchmarks: the program's module start-up, a fresh program folder
// with its database, the main window (message boxes answered at once), readings tables filled
// by SQLite itself, and a millisecond clock.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "app/AppGlobals.h"
#include "app/DailyLog.h"
#include "app/Database.h"
#include "app/ExcelFile.h"
#include "app/MyComponent.h"
#include "app/TextFormats.h"
#include "app/uFrmMain.h"
#include "canvas/KelCanvasModule.h"
#include "canvas/KelFilters.h"
#include "canvas/KelGDIPlus.h"
#include "chart/KelConst.h"
#include "chart/KelProcs.h"
#include "controls/KxModule.h"
#include "toolkit/data/ZConnection.h"
#include "toolkit/data/ZQuery.h"
#include "toolkit/graphics/GraphicsModule.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/Thread.h"
#include "toolkit/system/WinApi.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/UiModule.h"

class TRecorderBench {
 public:
  explicit TRecorderBench(const char* name) {
    FixTextFormats();
    InitThreadSynchronization();
    InitGraphics();
    InitControls();
    InitControlSet();
    KelCanvasStartup();
    KelGDIPlusStartup();
    KelFiltersStartup();
    KelConstStartup();
    KelProcsStartup();
    RegisterMainWindowClasses();
    InitializeExcelFile();
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    AppPath = WideToUtf8(temp) + name + std::to_string(GetCurrentProcessId()) + "\\";
    ForceDirectories(AppPath);
    CreateDatabaseSchema();
    ConnectDatabase();
    Application->SetMessageBoxHook([](const std::string&, const std::string&, UINT) { return IDOK; });
    form = new TFrmMain(nullptr);
    form->AfterConstruction();
    form->Show();
    Application->ProcessMessages();
  }
  ~TRecorderBench() {
    delete form;
    Application->SetMessageBoxHook(nullptr);
    for (TZQuery* q : SeriesQueries) delete q;
    SeriesQueries = {};
    DbConnection->Disconnect();
    delete DbConnection;
    DbConnection = nullptr;
    DeleteDirectoryTree(AppPath);
    FinalizeExcelFile();
    KelProcsShutdown();
    KelConstShutdown();
    KelFiltersShutdown();
    KelCanvasShutdown();
    DoneControlSet();
    DoneControls();
    KelGDIPlusShutdown();
    DoneGraphics();
    DoneThreadSynchronization();
  }

  // `rows` rows of 64 readings, one second apart from 2024-01-01 00:00:00 in `timeColumn`, in
  // time order or (newestFirst) the newest stored first, as a history file imported backwards.
  // With `drift` the readings move as temperatures do: a slow drift per channel with noise of
  // at most 0.3 either way; otherwise each channel is a sawtooth of 30 degrees over 300 rows.
  static void Fill(const std::string& table, const std::string& timeColumn, int rows, bool newestFirst,
                   bool drift = false) {
    std::string columns = timeColumn, values;
    const std::string second = newestFirst ? "(" + std::to_string(rows - 1) + " - i)" : "i";
    values = "datetime('2024-01-01 00:00:00', '+' || " + second + " || ' seconds')";
    for (int c = 1; c <= 64; ++c) {
      columns += ",val" + std::to_string(c);
      if (drift)
        values += ", 20 + " + std::to_string(c) + " * 0.5 + 8 * i / 86400.0 + ((i * 7919 + " +
                  std::to_string(104729 * c) + ") % 61) / 100.0 - 0.3";
      else
        values += ", 20 + ((i + " + std::to_string(7 * c) + ") % 300) / 10.0";
    }
    ExecSqlCommand("delete from " + table);
    ExecSqlCommand("insert into " + table + "(" + columns + ") with recursive n(i) as (select 0 union all "
                   "select i + 1 from n where i < " + std::to_string(rows - 1) + ") select " + values + " from n");
  }

  static double Ms(const std::function<void()>& work) {
    LARGE_INTEGER freq, t0, t1;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    work();
    QueryPerformanceCounter(&t1);
    return 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart);
  }

  TFrmMain* form = nullptr;
};

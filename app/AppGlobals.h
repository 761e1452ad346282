// Process-wide state of the recorder, shared by its windows, the acquisition thread and the
// storage routines; one instance each for the program's life. The flags and counters that the
// acquisition thread and the window thread both touch are atomics; the texts are written by one
// thread while the other does not read them (the port, company texts: window thread; module
// types and channel labels: the acquisition thread while a test runs).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

class TCriticalSection;  // toolkit/system/SyncObjs.h
class TZConnection;
class TZQuery;
class TsmThread_gz;
class TFrmMain;

// The program's folder, with a trailing backslash; set once by the entry.
extern std::string AppPath;

// Report company details (company.ini, the company details dialog).
extern std::string CompanyName;
extern std::string CompanyAddress;
extern std::string CompanyPhone;
extern std::string CompanyWebsite;

// The chosen serial port: a port name such as "COM3", "Automatic selection" or empty (com.set,
// the port dialog).
extern std::string ComPortName;

// The shared database connection (created by ConnectDatabase, never freed).
extern TZConnection* DbConnection;
// Serialises opening a query and executing a command on DbConnection.
extern TCriticalSection DbLock;
// Serialises log writes.
extern TCriticalSection LogLock;

// 1 asks the acquisition thread to end.
extern std::atomic<uint8_t> StopRequested;
// 1 asks a long window-thread operation (history import, alarm conversion) to end.
extern std::atomic<uint8_t> AbortRequested;
// 0 idle, 1 test running, 2 history shown.
extern std::atomic<int32_t> RunMode;
// Number of the sample being taken, from 1 (also the data grid's row of that sample).
extern std::atomic<int32_t> SampleNo;
// Number of 8-channel modules, 1..8 (config.modecnt).
extern std::atomic<int32_t> ModuleCount;
// 2 = values have two decimals, anything else one (config.pointcnt).
extern std::atomic<int32_t> PointMode;
// Thermocouple type letter of modules 1..8, at index module - 1.
extern std::array<std::string, 8> ModuleTypes;
// The instrument's label text of channels 1..64, at index channel - 1.
extern std::array<std::string, 64> ChannelLabels;
// One query per channel feeding that channel's chart curve (created by the main window).
extern std::array<TZQuery*, 64> SeriesQueries;
// The running acquisition thread, or null.
extern std::atomic<TsmThread_gz*> AcqThread;
// True from the start button until the acquisition thread has ended, including the connection
// sequence before RunMode becomes 1: the commands that use the shared connection for long (import,
// history query, exports) are refused while it holds.
inline bool TestThreadRunning() { return AcqThread.load() != nullptr; }
// The main window.
extern TFrmMain* FrmMain;

// The folder part (with trailing backslash) of the running executable's full path.
std::string ExecutableFolder();
// The running executable's full path.
std::string ExecutablePath();

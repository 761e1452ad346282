// TThread and the window thread's call queue: calls from workers run on the window thread in
// the order they were made, through WaitFor, CheckSynchronize, a plain message loop and a modal
// message box; the thread's life (start, terminate, wait, free on terminate, fatal exceptions).
// The test main is the window thread. Workers are driven by events, never by sleeping.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/system/SyncObjs.h"
#include "toolkit/system/Thread.h"

namespace {

// A thread whose Execute is a function given by the test.
class LambdaThread : public TThread {
 public:
  using Body = std::function<void(LambdaThread&)>;
  explicit LambdaThread(Body body) : body_(std::move(body)) {}
  ~LambdaThread() override {
    // Execute uses body_, which goes before ~TThread would wait.
    if (Started() && !FreeOnTerminate() && GetCurrentThreadId() != ThreadID()) {
      Terminate();
      WaitFor();
    }
  }
  using TThread::SetReturnValue;

 protected:
  void Execute() override { body_(*this); }

 private:
  Body body_;
};

// Dispatches posted messages on the window thread until `done` holds, sleeping in WaitMessage.
void PumpMessagesUntil(const std::function<bool()>& done) {
  while (!done()) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (!done()) WaitMessage();
  }
}

TEST(ThreadSync, TheTestMainIsTheWindowThread) {
  EXPECT_TRUE(TThread::IsWindowThread());
  EXPECT_EQ(TThread::WindowThreadID(), GetCurrentThreadId());
  EXPECT_EQ(TThread::CurrentThread(), nullptr);
  // Initialising again on the same thread changes nothing.
  InitThreadSynchronization();
  EXPECT_EQ(TThread::WindowThreadID(), GetCurrentThreadId());
}

TEST(ThreadSync, InterleavedCallsOfOneWorkerRunOnTheWindowThreadInOrder) {
  constexpr int kCalls = 3000;
  const DWORD windowThread = GetCurrentThreadId();
  std::vector<int> seen;
  int wrongThread = 0;
  std::atomic<int> notYetRunAfterSynchronize{0};
  LambdaThread worker([&](LambdaThread& self) {
    for (int i = 0; i < kCalls; ++i) {
      auto record = [&, i] {
        if (GetCurrentThreadId() != windowThread) ++wrongThread;
        seen.push_back(i);
      };
      // Runs of queued calls broken by synchronised ones, in an irregular pattern.
      if (i % 7 == 3 || i % 11 == 0) {
        self.Synchronize(record);
        // Synchronize returns only after its call (and so every earlier one) ran.
        if (seen.size() != static_cast<size_t>(i) + 1) ++notYetRunAfterSynchronize;
      } else {
        self.Queue(record);
      }
    }
  });
  worker.Start();
  worker.WaitFor();

  ASSERT_EQ(seen.size(), static_cast<size_t>(kCalls));
  for (int i = 0; i < kCalls; ++i) ASSERT_EQ(seen[i], i) << "call " << i << " out of order";
  EXPECT_EQ(wrongThread, 0);
  EXPECT_EQ(notYetRunAfterSynchronize.load(), 0);
}

TEST(ThreadSync, CallsOfSeveralWorkersKeepEachWorkersOrder) {
  constexpr int kWorkers = 4;
  constexpr int kCalls = 600;
  const DWORD windowThread = GetCurrentThreadId();
  std::vector<std::pair<int, int>> seen;  // (worker, call)
  std::vector<int> ranPerWorker(kWorkers, 0);
  int wrongThread = 0;
  std::atomic<int> notYetRunAfterSynchronize{0};
  TSimpleEvent go;
  std::vector<std::unique_ptr<LambdaThread>> workers;
  for (int w = 0; w < kWorkers; ++w) {
    workers.push_back(std::make_unique<LambdaThread>([&, w](LambdaThread& self) {
      go.WaitFor();
      for (int i = 0; i < kCalls; ++i) {
        auto record = [&, w, i] {
          if (GetCurrentThreadId() != windowThread) ++wrongThread;
          seen.emplace_back(w, i);
          ++ranPerWorker[w];
        };
        if ((i + w) % 5 == 0) {
          self.Synchronize(record);
          if (ranPerWorker[w] != i + 1) ++notYetRunAfterSynchronize;
        } else {
          self.Queue(record);
        }
      }
    }));
  }
  for (auto& worker : workers) worker->Start();
  go.SetEvent();
  for (auto& worker : workers) worker->WaitFor();

  ASSERT_EQ(seen.size(), static_cast<size_t>(kWorkers * kCalls));
  std::vector<int> next(kWorkers, 0);
  for (const auto& [w, i] : seen) {
    ASSERT_EQ(i, next[w]) << "worker " << w << " call out of order";
    ++next[w];
  }
  EXPECT_EQ(wrongThread, 0);
  EXPECT_EQ(notYetRunAfterSynchronize.load(), 0);
}

TEST(ThreadSync, APlainMessageLoopRunsTheCallsAndOnTerminate) {
  std::vector<std::string> log;
  LambdaThread worker([&](LambdaThread& self) {
    for (int i = 0; i < 100; ++i) self.Queue([&, i] { log.push_back("q" + std::to_string(i)); });
    self.Synchronize([&] { log.push_back("sync"); });
    self.Queue([&] { log.push_back("last"); });
  });
  DWORD terminatedOn = 0;
  worker.OnTerminate = [&](TThread* sender) {
    EXPECT_EQ(sender, &worker);
    terminatedOn = GetCurrentThreadId();
    log.push_back("terminated");
    PostQuitMessage(0);
  };
  worker.Start();
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  worker.WaitFor();

  ASSERT_EQ(log.size(), 103u);
  EXPECT_EQ(log[0], "q0");
  EXPECT_EQ(log[99], "q99");
  EXPECT_EQ(log[100], "sync");
  EXPECT_EQ(log[101], "last");
  EXPECT_EQ(log[102], "terminated");
  EXPECT_EQ(terminatedOn, GetCurrentThreadId());
}

// Ends by itself and frees itself; its destructor clears the reference the window thread
// watches, as the acquisition thread does when a test stops.
class SelfEndingThread : public TThread {
 public:
  SelfEndingThread(SelfEndingThread*& reference, std::vector<std::string>& log, DWORD& destroyedOn)
      : reference_(reference), log_(log), destroyedOn_(destroyedOn) {
    SetFreeOnTerminate(true);
  }
  ~SelfEndingThread() override {
    destroyedOn_ = GetCurrentThreadId();
    Queue([this] { log_.push_back("destroying"); });
    Synchronize([this] {
      log_.push_back("reference cleared");
      reference_ = nullptr;
    });
  }

 protected:
  void Execute() override {
    for (int i = 0; i < 50; ++i) Queue([this, i] { log_.push_back("poll " + std::to_string(i)); });
  }

 private:
  SelfEndingThread*& reference_;
  std::vector<std::string>& log_;
  DWORD& destroyedOn_;
};

TEST(ThreadSync, ASelfFreeingThreadClearsTheReferenceTheWindowThreadWaitsOn) {
  std::vector<std::string> log;
  DWORD destroyedOn = 0;
  SelfEndingThread* running = nullptr;
  running = new SelfEndingThread(running, log, destroyedOn);
  running->OnTerminate = [&](TThread*) { log.push_back("terminated"); };
  running->Start();
  PumpMessagesUntil([&] { return running == nullptr; });

  ASSERT_EQ(log.size(), 53u);
  EXPECT_EQ(log[0], "poll 0");
  EXPECT_EQ(log[49], "poll 49");
  EXPECT_EQ(log[50], "terminated");
  EXPECT_EQ(log[51], "destroying");
  EXPECT_EQ(log[52], "reference cleared");
  EXPECT_NE(destroyedOn, 0u);
  EXPECT_NE(destroyedOn, GetCurrentThreadId());
}

BOOL CALLBACK KeepMessageBox(HWND window, LPARAM found) {
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  if (std::wstring(className) != L"#32770") return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Finds the message box of the calling thread, if one is open.
HWND FindOwnMessageBox() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &KeepMessageBox, reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST(ThreadSync, AModalMessageBoxRunsTheCallsBehindTheOneShowingIt) {
  std::vector<std::string> log;
  LambdaThread worker([&](LambdaThread& self) {
    self.Queue([&] {
      log.push_back("box opened");
      MessageBoxW(nullptr, L"Waiting for the next call", L"VornakitThreadTest", MB_OK);
      log.push_back("box closed");
    });
    self.Synchronize([&] {
      HWND box = FindOwnMessageBox();
      log.push_back(box != nullptr ? "closing box" : "no box");
      if (box != nullptr) PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    self.Queue([&] { log.push_back("after"); });
  });
  worker.Start();
  worker.WaitFor();

  const std::vector<std::string> expected = {"box opened", "closing box", "box closed", "after"};
  EXPECT_EQ(log, expected);
}

TEST(ThreadSync, SynchronizeRaisesTheCallsExceptionInTheWorker) {
  std::string caught;
  DWORD caughtOn = 0;
  bool laterCallRan = false;
  LambdaThread worker([&](LambdaThread& self) {
    try {
      self.Synchronize([] { throw EConvertError("'x' is not a valid integer value"); });
    } catch (const EConvertError& e) {
      caught = e.Message();
      caughtOn = GetCurrentThreadId();
    }
    self.Synchronize([&] { laterCallRan = true; });
  });
  worker.Start();
  worker.WaitFor();

  EXPECT_EQ(caught, "'x' is not a valid integer value");
  EXPECT_EQ(caughtOn, worker.ThreadID());
  EXPECT_TRUE(laterCallRan);
  EXPECT_FALSE(worker.FatalException());
}

std::vector<std::string>* handledErrors = nullptr;

void RecordHandledError(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    handledErrors->push_back(std::string(e.ClassName()) + ": " + e.Message());
  }
}

TEST(ThreadSync, AQueuedCallsExceptionGoesToTheHandlerAndLaterCallsStillRun) {
  std::vector<std::string> errors;
  handledErrors = &errors;
  SetSyncExceptionHandler(&RecordHandledError);
  std::vector<int> ran;
  LambdaThread worker([&](LambdaThread& self) {
    self.Queue([&] { ran.push_back(1); });
    self.Queue([] { throw EInOutError("disk full"); });
    self.Queue([&] { ran.push_back(3); });
  });
  worker.Start();
  worker.WaitFor();
  SetSyncExceptionHandler(nullptr);
  handledErrors = nullptr;

  EXPECT_EQ(ran, (std::vector<int>{1, 3}));
  EXPECT_EQ(errors, (std::vector<std::string>{"EInOutError: disk full"}));
}

TEST(ThreadSync, CheckSynchronizeRunsPendingCallsAndPassesQueuedExceptionsOn) {
  // Nothing pending: returns at once, or after the short wait.
  EXPECT_FALSE(CheckSynchronize(0));
  EXPECT_FALSE(CheckSynchronize(5));

  TSimpleEvent queued;
  std::vector<int> ran;
  LambdaThread worker([&](LambdaThread& self) {
    self.Queue([] { throw EConvertError("bad value"); });
    self.Queue([&] { ran.push_back(2); });
    queued.SetEvent();
  });
  worker.Start();
  ASSERT_EQ(queued.WaitFor(), wrSignaled);
  EXPECT_THROW(CheckSynchronize(0), EConvertError);
  EXPECT_TRUE(ran.empty());
  EXPECT_TRUE(CheckSynchronize(0));
  EXPECT_EQ(ran, std::vector<int>{2});
  worker.WaitFor();
}

TEST(ThreadSync, CheckSynchronizeWaitsForTheFirstCall) {
  TSimpleEvent go;
  bool ran = false;
  LambdaThread worker([&](LambdaThread& self) {
    go.WaitFor();
    self.Queue([&] { ran = true; });
  });
  worker.Start();
  go.SetEvent();
  // The worker, not the clock, ends this wait.
  EXPECT_TRUE(CheckSynchronize(60000));
  EXPECT_TRUE(ran);
  worker.WaitFor();
}

TEST(ThreadSync, OnlyTheWindowThreadMayCheckOrInitialise) {
  std::vector<std::string> raised;
  LambdaThread worker([&](LambdaThread&) {
    try {
      CheckSynchronize(0);
    } catch (const EThread&) {
      raised.push_back("CheckSynchronize");
    }
    try {
      InitThreadSynchronization();
    } catch (const EThread&) {
      raised.push_back("InitThreadSynchronization");
    }
  });
  worker.Start();
  worker.WaitFor();
  EXPECT_EQ(raised, (std::vector<std::string>{"CheckSynchronize", "InitThreadSynchronization"}));
}

TEST(ThreadSync, OnTheWindowThreadSynchronizeAndQueueRunAtOnce) {
  std::vector<int> ran;
  TThread::Synchronize(nullptr, [&] { ran.push_back(1); });
  TThread::Queue(nullptr, [&] { ran.push_back(2); });
  EXPECT_EQ(ran, (std::vector<int>{1, 2}));
  EXPECT_FALSE(CheckSynchronize(0));
}

TEST(ThreadSync, WithoutAWindowThreadSynchronizeRaises) {
  DoneThreadSynchronization();
  EXPECT_FALSE(TThread::IsWindowThread());
  std::string raised;
  bool ran = false;
  LambdaThread worker([&](LambdaThread& self) {
    try {
      self.Synchronize([&] { ran = true; });
    } catch (const EThread& e) {
      raised = e.Message();
    }
  });
  worker.Start();
  worker.WaitFor();
  InitThreadSynchronization();

  EXPECT_FALSE(ran);
  EXPECT_FALSE(raised.empty());
  EXPECT_TRUE(TThread::IsWindowThread());
}

// ---- The thread's life -------------------------------------------------------------------

TEST(ThreadLife, WaitForReturnsTheReturnValueOnceFinished) {
  TThread* current = nullptr;
  bool workerIsWindowThread = true;
  LambdaThread worker([&](LambdaThread& self) {
    current = TThread::CurrentThread();
    workerIsWindowThread = TThread::IsWindowThread();
    self.SetReturnValue(42);
  });
  EXPECT_FALSE(worker.Started());
  EXPECT_FALSE(worker.Finished());
  EXPECT_NE(worker.Handle(), nullptr);
  worker.Start();
  EXPECT_TRUE(worker.Started());
  EXPECT_EQ(worker.WaitFor(), 42);
  EXPECT_TRUE(worker.Finished());
  EXPECT_EQ(worker.ReturnValue(), 42);
  EXPECT_EQ(current, &worker);
  EXPECT_FALSE(workerIsWindowThread);
  EXPECT_FALSE(worker.FatalException());
  // Waiting again returns at once.
  EXPECT_EQ(worker.WaitFor(), 42);
}

TEST(ThreadLife, MisuseRaisesEThread) {
  LambdaThread notStarted([](LambdaThread&) {});
  EXPECT_THROW(notStarted.WaitFor(), EThread);

  LambdaThread twice([](LambdaThread&) {});
  twice.Start();
  EXPECT_THROW(twice.Start(), EThread);
  twice.WaitFor();

  LambdaThread freesItself([](LambdaThread&) {});
  freesItself.SetFreeOnTerminate(true);
  EXPECT_THROW(freesItself.WaitFor(), EThread);
  freesItself.SetFreeOnTerminate(false);  // it lives on the stack here

  bool raisedOnItself = false;
  LambdaThread waitsForItself([&](LambdaThread& self) {
    try {
      self.WaitFor();
    } catch (const EThread&) {
      raisedOnItself = true;
    }
  });
  waitsForItself.Start();
  waitsForItself.WaitFor();
  EXPECT_TRUE(raisedOnItself);
}

TEST(ThreadLife, TerminateEndsAWorkersLoop) {
  TEvent tick(false, false);
  std::atomic<int> rounds{0};
  TSimpleEvent looping;
  LambdaThread worker([&](LambdaThread& self) {
    looping.SetEvent();
    do {
      tick.WaitFor();
      ++rounds;
    } while (!self.Terminated());
  });
  worker.Start();
  ASSERT_EQ(looping.WaitFor(), wrSignaled);
  EXPECT_FALSE(worker.Terminated());
  worker.Terminate();
  tick.SetEvent();
  worker.WaitFor();
  EXPECT_TRUE(worker.Terminated());
  EXPECT_EQ(rounds.load(), 1);
}

TEST(ThreadLife, TerminatedBeforeStartSkipsExecuteButRunsOnTerminate) {
  bool executed = false;
  bool terminated = false;
  LambdaThread worker([&](LambdaThread&) { executed = true; });
  worker.OnTerminate = [&](TThread*) { terminated = true; };
  worker.Terminate();
  worker.Start();
  worker.WaitFor();
  EXPECT_FALSE(executed);
  EXPECT_TRUE(terminated);
}

TEST(ThreadLife, AnExceptionEscapingExecuteIsKeptAsFatalException) {
  bool terminated = false;
  LambdaThread worker([](LambdaThread& self) {
    self.SetReturnValue(7);
    throw EInOutError("port lost");
  });
  worker.OnTerminate = [&](TThread*) { terminated = true; };
  worker.Start();
  EXPECT_EQ(worker.WaitFor(), 7);
  EXPECT_TRUE(terminated);
  ASSERT_TRUE(worker.FatalException());
  try {
    std::rethrow_exception(worker.FatalException());
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message(), "port lost");
  } catch (...) {
    ADD_FAILURE() << "another exception was kept";
  }

  // Anything thrown is kept, not only the toolkit's exceptions.
  LambdaThread throwsInt([](LambdaThread&) { throw 5; });
  throwsInt.Start();
  throwsInt.WaitFor();
  EXPECT_TRUE(throwsInt.FatalException());
}

TEST(ThreadLife, AnExceptionInOnTerminateIsKeptWhenExecuteRaisedNone) {
  LambdaThread worker([](LambdaThread&) {});
  worker.OnTerminate = [](TThread*) { throw EInvalidOperation("cannot"); };
  worker.Start();
  worker.WaitFor();
  EXPECT_TRUE(worker.Finished());
  EXPECT_TRUE(worker.FatalException());
}

// Starts itself at the end of its constructor, as a thread created running does.
class RunningAtOnce : public TThread {
 public:
  explicit RunningAtOnce(TEvent& ran) : ran_(ran) { Start(); }

 protected:
  void Execute() override { ran_.SetEvent(); }

 private:
  TEvent& ran_;
};

TEST(ThreadLife, AThreadStartedByItsConstructorRunsWithoutAStartCall) {
  TSimpleEvent ran;
  RunningAtOnce worker(ran);
  EXPECT_TRUE(worker.Started());
  EXPECT_EQ(ran.WaitFor(), wrSignaled);
  worker.WaitFor();
}

TEST(ThreadLife, DeletingANeverStartedThreadDoesNotRunExecute) {
  bool executed = false;
  auto worker = std::make_unique<LambdaThread>([&](LambdaThread&) { executed = true; });
  worker->SetFreeOnTerminate(true);  // the owner still frees a thread that never ran
  worker.reset();
  EXPECT_FALSE(executed);
}

TEST(ThreadLife, FreeOnTerminateDeletesTheObjectOnItsOwnThread) {
  TSimpleEvent destroyed;
  std::atomic<DWORD> destroyedOn{0};
  class Probe : public TThread {
   public:
    Probe(TEvent& destroyed, std::atomic<DWORD>& on) : destroyed_(destroyed), on_(on) {}
    ~Probe() override {
      on_ = GetCurrentThreadId();
      destroyed_.SetEvent();
    }

   protected:
    void Execute() override {}

   private:
    TEvent& destroyed_;
    std::atomic<DWORD>& on_;
  };
  auto* probe = new Probe(destroyed, destroyedOn);
  const DWORD threadId = probe->ThreadID();
  probe->SetFreeOnTerminate(true);
  probe->Start();
  ASSERT_EQ(destroyed.WaitFor(), wrSignaled);
  EXPECT_EQ(destroyedOn.load(), threadId);
}

}  // namespace

// Worker threads and the hand-over of calls to the window thread. TThread runs its Execute on a
// platform thread of its own; Synchronize (waits) and Queue (does not wait) pass calls to the
// window thread, which runs them one at a time in the order they were made, whichever thread
// made them. The window thread is the thread that called InitThreadSynchronization: any message
// loop it runs (its own, a modal dialog's, a message box's) runs the pending calls through a
// hidden window, and CheckSynchronize runs them on demand. A window thread that waits in a way
// that runs neither (a bare WaitForSingleObject, a TEvent wait) stalls every Synchronize meanwhile.
#pragma once

#include <atomic>
#include <exception>
#include <functional>

#include "toolkit/system/WinApi.h"

// ---- The window thread's side -----------------------------------------------------------

// Makes the calling thread the window thread: creates the hidden window that runs pending calls
// when a message loop dispatches its wake-up message. Called once by the program's entry (and by
// every test exe's main) before any worker starts. Calling it again on the same thread does
// nothing; calling it on another thread while one is set raises EThread.
void InitThreadSynchronization();

// Undoes InitThreadSynchronization on the window thread: destroys the hidden window, drops the
// queued calls that have not run and makes every waiting and later Synchronize raise EThread.
void DoneThreadSynchronization();

// Runs the calls pending for the window thread, at most as many as were pending when it started
// (later ones wait for the next round, so a busy worker cannot starve the message loop). With
// nothing pending it first waits up to `timeoutMs` for a call to arrive. Returns whether any call
// ran. An exception raised by a queued call leaves through here (the rest stay pending); one
// raised by a synchronised call goes back to the worker that made it. Raises EThread when called
// on any thread but the window thread.
bool CheckSynchronize(DWORD timeoutMs = 0);

// Receives what a queued call raised when no caller can take it: when the hidden window or a
// wait (TThread::WaitFor on the window thread) ran the call. Until one is set such an exception
// is written to the debugger output and dropped.
using TSyncExceptionHandler = void (*)(std::exception_ptr error);
void SetSyncExceptionHandler(TSyncExceptionHandler handler);

// ---- TThread -----------------------------------------------------------------------------

class TThread;
using TThreadMethod = std::function<void()>;
using TThreadNotifyEvent = std::function<void(TThread* sender)>;

// A platform thread running Execute, overridden by subclasses.
//
// States (Terminated is a separate request flag, readable in every state):
//
//   state        entered when                                left when
//   -----------  ------------------------------------------  ---------------------------------
//   created      construction (the thread always starts      Start (running); deletion
//                suspended)                                  (ends without running Execute)
//   running      Start; Execute is skipped when Terminate     Execute returns or raises
//                came first                                   (terminating)
//   terminating  Execute ended; ReturnValue and               the window thread has run every
//                FatalException are final                     call the thread made and then
//                                                             OnTerminate (finished)
//   finished     Finished() is true; WaitFor returns          deletion: by its owner, or by the
//                                                             thread itself with FreeOnTerminate
//
// Because a base constructor cannot start a thread that runs a subclass's Execute, a subclass
// that wants to run at once calls Start at the end of its own (most derived) constructor.
//
// Deleting: a thread that FreeOnTerminate frees deletes itself on its own thread after
// OnTerminate; nobody else may delete it. Otherwise the owner deletes it after WaitFor; deleting
// a thread that is still running sets Terminated and waits, but a subclass whose Execute may
// still run must do that in its own destructor (Terminate(); WaitFor();), since its part of the
// object is gone by the time ~TThread runs. A subclass destructor that runs on the thread itself
// may still Synchronize and Queue; ~TThread waits for the window thread to run those calls.
class TThread {
 public:
  TThread();
  virtual ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // Starts a created thread. Raises EThread when it was started before.
  void Start();
  // Asks Execute to end: sets Terminated, which Execute checks at its own pace.
  void Terminate() { terminated_.store(true); }
  bool Terminated() const { return terminated_.load(); }
  // Waits until the thread has finished and returns ReturnValue. On the window thread the wait
  // keeps running the calls that workers hand over (and messages sent from other threads), so a
  // thread that synchronises while it is waited for does not dead-lock. Raises EThread for a
  // thread that frees itself, one that was never started, and when called on the thread itself.
  int WaitFor();

  bool Started() const { return started_.load(); }
  bool Finished() const { return finished_.load(); }
  HANDLE Handle() const { return handle_; }
  DWORD ThreadID() const { return threadId_; }

  // Delete the object on its own thread once it has finished. Set before Start.
  bool FreeOnTerminate() const { return freeOnTerminate_.load(); }
  void SetFreeOnTerminate(bool value) { freeOnTerminate_.store(value); }
  // Runs on the window thread after Execute ended and every call the thread made has run.
  TThreadNotifyEvent OnTerminate;
  // What WaitFor returns; Execute sets it.
  int ReturnValue() const { return returnValue_; }
  // What escaped Execute (null when nothing did); final once the thread is terminating.
  std::exception_ptr FatalException() const { return fatalException_; }

  // Runs `method` on the window thread and waits until it ran. What it raises is raised again
  // here. On the window thread itself the call runs at once. Raises EThread when there is no
  // window thread.
  void Synchronize(TThreadMethod method) { Synchronize(this, std::move(method)); }
  // Hands `method` to the window thread and returns at once; on the window thread it runs at
  // once. The call keeps its place among every Synchronize and Queue call made after and before.
  void Queue(TThreadMethod method) { Queue(this, std::move(method)); }
  // The same from any thread, tied to `thread` (which may be null: a call tied to no thread).
  static void Synchronize(TThread* thread, TThreadMethod method);
  static void Queue(TThread* thread, TThreadMethod method);
  // Drops the queued calls tied to `thread` that have not run yet.
  static void RemoveQueuedEvents(TThread* thread);

  // The TThread whose Execute is running on the calling thread, or null.
  static TThread* CurrentThread();
  static bool IsWindowThread();
  // The window thread's id, 0 before InitThreadSynchronization.
  static DWORD WindowThreadID();

 protected:
  // The thread's work. Check Terminated() at every point where it may stop. What it raises is
  // kept in FatalException; the thread then finishes as usual.
  virtual void Execute() = 0;
  void SetReturnValue(int value) { returnValue_ = value; }

 private:
  static unsigned __stdcall ThreadProc(void* self);
  // Waits for the window thread to run every call this thread made that is still pending.
  void FlushPendingCalls();
  // Runs OnTerminate through the window thread; keeps the first failure in FatalException.
  void DoTerminate();
  // Waits for the platform thread to end, running handed-over calls on the window thread.
  void WaitForHandle();

  HANDLE handle_ = nullptr;
  DWORD threadId_ = 0;
  std::atomic<bool> started_{false};
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  std::atomic<bool> freeOnTerminate_{false};
  int returnValue_ = 0;
  std::exception_ptr fatalException_;
};

// TThread and the window thread's call queue. One process-wide FIFO holds every call handed to
// the window thread; it is taken one call at a time, so calls run in the order they were made
// even when a call runs a nested message loop that runs the calls behind it. A manual-reset event
// is signalled while the queue is not empty (for waits on the window thread), and one wake-up
// message at a time is posted to the hidden window (for message loops).
#include "toolkit/system/Thread.h"

#include <process.h>

#include <algorithm>
#include <cassert>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <string>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

namespace {

constexpr UINT kWakeMessage = WM_USER + 1;
constexpr wchar_t kWindowClass[] = L"VornakitThreadSyncWindow";

struct SyncCall {
  TThreadMethod method;
  TThread* thread = nullptr;  // the thread the call is tied to (may be null)
  DWORD madeBy = 0;           // the platform thread that made it
  bool synchronous = false;
  std::promise<void> done;    // synchronous calls: fulfilled once the call ran
};
using SyncCallPtr = std::shared_ptr<SyncCall>;

struct SyncState {
  std::mutex lock;
  std::deque<SyncCallPtr> calls;
  std::atomic<DWORD> windowThreadId{0};
  HWND window = nullptr;
  HANDLE pendingEvent = nullptr;  // created once, kept for the life of the process
  bool wakePosted = false;
  std::atomic<TSyncExceptionHandler> handler{nullptr};
};

SyncState& State() {
  static SyncState state;
  return state;
}

thread_local TThread* currentThread = nullptr;

// Posts the wake-up message unless one is on its way. Caller holds the lock.
void PostWakeLocked(SyncState& state) {
  if (!state.wakePosted && state.window != nullptr)
    state.wakePosted = PostMessageW(state.window, kWakeMessage, 0, 0) != FALSE;
}

void Enqueue(const SyncCallPtr& call) {
  SyncState& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  if (state.window == nullptr)
    throw EThread("No window thread to run the call: thread synchronisation is not initialised");
  state.calls.push_back(call);
  SetEvent(state.pendingEvent);
  PostWakeLocked(state);
}

// Takes the first pending call. When calls remain behind it, a wake-up is made sure of first,
// so a message loop run by the call itself runs them.
SyncCallPtr PopCall() {
  SyncState& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  if (state.calls.empty()) {
    if (state.pendingEvent != nullptr) ResetEvent(state.pendingEvent);
    return nullptr;
  }
  SyncCallPtr call = std::move(state.calls.front());
  state.calls.pop_front();
  if (state.calls.empty())
    ResetEvent(state.pendingEvent);
  else
    PostWakeLocked(state);
  return call;
}

// Runs one call on the window thread. A synchronous call's outcome goes back to its maker; a
// queued call's exception leaves through here.
void RunCall(SyncCall& call) {
  if (!call.synchronous) {
    call.method();
    return;
  }
  try {
    call.method();
  } catch (...) {
    call.done.set_exception(std::current_exception());
    return;
  }
  call.done.set_value();
}

void HandleQueuedError(std::exception_ptr error) {
  TSyncExceptionHandler handler = State().handler.load();
  try {
    if (handler != nullptr) {
      handler(error);
      return;
    }
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    OutputDebugStringW(Utf8ToWide(std::string("Unhandled exception in a queued call: ") + e.what()).c_str());
  } catch (...) {
    OutputDebugStringW(L"Unhandled exception in a queued call");
  }
}

// Runs the calls pending now. With `routeErrors` a queued call's exception goes to the handler
// and the next call runs; otherwise it propagates.
bool RunPending(bool routeErrors) {
  size_t budget;
  {
    SyncState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    budget = state.calls.size();
  }
  bool ran = false;
  for (; budget > 0; --budget) {
    SyncCallPtr call = PopCall();
    if (!call) break;
    ran = true;
    if (!routeErrors) {
      RunCall(*call);
      continue;
    }
    try {
      RunCall(*call);
    } catch (...) {
      HandleQueuedError(std::current_exception());
    }
  }
  return ran;
}

LRESULT CALLBACK SyncWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kWakeMessage) {
    {
      SyncState& state = State();
      std::lock_guard<std::mutex> guard(state.lock);
      state.wakePosted = false;
    }
    RunPending(true);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

// ---- The window thread's side -----------------------------------------------------------

void InitThreadSynchronization() {
  SyncState& state = State();
  const DWORD self = GetCurrentThreadId();
  const DWORD current = state.windowThreadId.load();
  if (current == self) return;
  if (current != 0)
    throw EThread("Thread synchronisation is already initialised by thread " + std::to_string(current));

  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &SyncWindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    RaiseLastOSError();
  if (state.pendingEvent == nullptr) {
    state.pendingEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (state.pendingEvent == nullptr) RaiseLastOSError();
  }
  // A message-only window: never shown, yet every message loop of this thread dispatches to it.
  HWND window = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                instance, nullptr);
  if (window == nullptr) RaiseLastOSError();

  std::lock_guard<std::mutex> guard(state.lock);
  state.window = window;
  state.wakePosted = false;
  state.windowThreadId.store(self);
}

void DoneThreadSynchronization() {
  SyncState& state = State();
  if (state.windowThreadId.load() != GetCurrentThreadId())
    throw EThread("Thread synchronisation can only be ended on the window thread");
  std::deque<SyncCallPtr> dropped;
  HWND window;
  {
    std::lock_guard<std::mutex> guard(state.lock);
    dropped.swap(state.calls);
    window = state.window;
    state.window = nullptr;
    state.wakePosted = false;
    state.windowThreadId.store(0);
    ResetEvent(state.pendingEvent);
  }
  DestroyWindow(window);
  for (const SyncCallPtr& call : dropped) {
    if (call->synchronous)
      call->done.set_exception(std::make_exception_ptr(
          EThread("The window thread stopped before the synchronised call ran")));
  }
}

bool CheckSynchronize(DWORD timeoutMs) {
  if (!TThread::IsWindowThread())
    throw EThread("CheckSynchronize called from thread " + std::to_string(GetCurrentThreadId()) +
                  ", which is not the window thread");
  SyncState& state = State();
  if (timeoutMs > 0) {
    bool empty;
    {
      std::lock_guard<std::mutex> guard(state.lock);
      empty = state.calls.empty();
    }
    if (empty) WaitForSingleObject(state.pendingEvent, timeoutMs);
  }
  return RunPending(false);
}

void SetSyncExceptionHandler(TSyncExceptionHandler handler) { State().handler.store(handler); }

// ---- TThread -----------------------------------------------------------------------------

TThread::TThread() {
  unsigned id = 0;
  const uintptr_t handle = _beginthreadex(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &id);
  if (handle == 0) throw EThread("Thread creation error: " + SysErrorMessage(GetLastError()));
  handle_ = reinterpret_cast<HANDLE>(handle);
  threadId_ = id;
}

TThread::~TThread() {
  // A started thread that frees itself is deleted by nobody else.
  assert(GetCurrentThreadId() == threadId_ || !started_.load() || !freeOnTerminate_.load());
  if (GetCurrentThreadId() == threadId_) {
    // Freeing itself: calls handed over by the subclass destructor must run before the object
    // they may refer to is gone.
    try {
      FlushPendingCalls();
    } catch (...) {
    }
  } else if (handle_ != nullptr) {
    if (!finished_.load()) {
      Terminate();
      bool expected = false;
      if (started_.compare_exchange_strong(expected, true)) {
        // Never started: run it only to end it; this destructor is the one that frees it.
        freeOnTerminate_.store(false);
        ResumeThread(handle_);
      }
    }
    WaitForHandle();
  }
  RemoveQueuedEvents(this);
  if (handle_ != nullptr) CloseHandle(handle_);
}

void TThread::Start() {
  bool expected = false;
  if (!started_.compare_exchange_strong(expected, true))
    throw EThread("Cannot call Start on a running or finished thread");
  // A thread that frees itself may be gone as soon as it runs: nothing of `this` after this call.
  if (ResumeThread(handle_) == static_cast<DWORD>(-1)) RaiseLastOSError();
}

int TThread::WaitFor() {
  if (FreeOnTerminate()) throw EThread("Cannot wait for a thread that frees itself on termination");
  if (GetCurrentThreadId() == threadId_) throw EThread("A thread cannot wait for itself");
  if (!Started()) throw EThread("Cannot wait for a thread that was not started");
  WaitForHandle();
  return returnValue_;
}

void TThread::WaitForHandle() {
  if (!IsWindowThread()) {
    WaitForSingleObject(handle_, INFINITE);
    return;
  }
  const HANDLE handles[2] = {handle_, State().pendingEvent};
  for (;;) {
    const DWORD result = MsgWaitForMultipleObjects(2, handles, FALSE, INFINITE, QS_SENDMESSAGE);
    if (result == WAIT_OBJECT_0) return;
    if (result == WAIT_OBJECT_0 + 1) {
      RunPending(true);
    } else if (result == WAIT_OBJECT_0 + 2) {
      MSG message;  // delivers messages sent from other threads; leaves posted ones alone
      PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    } else {
      WaitForSingleObject(handle_, INFINITE);
      return;
    }
  }
}

void TThread::Synchronize(TThread* thread, TThreadMethod method) {
  if (IsWindowThread()) {
    method();
    return;
  }
  auto call = std::make_shared<SyncCall>();
  call->method = std::move(method);
  call->thread = thread;
  call->madeBy = GetCurrentThreadId();
  call->synchronous = true;
  std::future<void> done = call->done.get_future();
  Enqueue(call);
  done.get();
}

void TThread::Queue(TThread* thread, TThreadMethod method) {
  if (IsWindowThread()) {
    method();
    return;
  }
  auto call = std::make_shared<SyncCall>();
  call->method = std::move(method);
  call->thread = thread;
  call->madeBy = GetCurrentThreadId();
  Enqueue(call);
}

void TThread::RemoveQueuedEvents(TThread* thread) {
  SyncState& state = State();
  std::lock_guard<std::mutex> guard(state.lock);
  std::erase_if(state.calls, [thread](const SyncCallPtr& call) {
    return !call->synchronous && call->thread == thread;
  });
  if (state.calls.empty() && state.pendingEvent != nullptr) ResetEvent(state.pendingEvent);
}

void TThread::FlushPendingCalls() {
  bool pending;
  {
    SyncState& state = State();
    const DWORD self = GetCurrentThreadId();
    std::lock_guard<std::mutex> guard(state.lock);
    pending = std::any_of(state.calls.begin(), state.calls.end(),
                          [self](const SyncCallPtr& call) { return call->madeBy == self; });
  }
  // The queue is first in, first out: once an empty call ran, every earlier one has.
  if (pending) Synchronize(this, [] {});
}

void TThread::DoTerminate() {
  try {
    if (OnTerminate)
      Synchronize(this, [this] { OnTerminate(this); });
    else
      FlushPendingCalls();
  } catch (...) {
    if (!fatalException_) fatalException_ = std::current_exception();
  }
}

unsigned __stdcall TThread::ThreadProc(void* self) {
  TThread* thread = static_cast<TThread*>(self);
  currentThread = thread;
  try {
    if (!thread->Terminated()) thread->Execute();
  } catch (...) {
    thread->fatalException_ = std::current_exception();
  }
  const bool freeIt = thread->FreeOnTerminate();
  const unsigned result = static_cast<unsigned>(thread->returnValue_);
  thread->DoTerminate();
  thread->finished_.store(true);
  if (freeIt) delete thread;
  currentThread = nullptr;
  return result;
}

TThread* TThread::CurrentThread() { return currentThread; }

bool TThread::IsWindowThread() {
  const DWORD id = State().windowThreadId.load();
  return id != 0 && id == GetCurrentThreadId();
}

DWORD TThread::WindowThreadID() { return State().windowThreadId.load(); }

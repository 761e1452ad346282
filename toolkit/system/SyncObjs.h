// Synchronisation objects shared between the window thread and workers: a critical section and
// waitable handles (events). Each object owns its platform handle for its whole life and closes
// it on destruction; none can be copied. Waits report how they ended instead of raising.
#pragma once

#include <string>

#include "toolkit/system/WinApi.h"

// How a wait on a handle ended.
enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError, wrIOCompletion };

// A critical section. Re-entrant on the owning thread; Enter/Leave must pair on one thread.
// lock/unlock/try_lock let std::lock_guard and std::scoped_lock hold it for a scope.
class TCriticalSection {
 public:
  TCriticalSection();
  ~TCriticalSection();
  TCriticalSection(const TCriticalSection&) = delete;
  TCriticalSection& operator=(const TCriticalSection&) = delete;

  void Acquire() { EnterCriticalSection(&section_); }
  void Release() { LeaveCriticalSection(&section_); }
  void Enter() { Acquire(); }
  void Leave() { Release(); }
  // Takes the section when nobody else holds it; never waits.
  bool TryEnter() { return TryEnterCriticalSection(&section_) != FALSE; }

  void lock() { Acquire(); }
  void unlock() { Release(); }
  bool try_lock() { return TryEnter(); }

 private:
  CRITICAL_SECTION section_;
};

// A waitable kernel object. Owns the handle given to it (closed on destruction).
class THandleObject {
 public:
  virtual ~THandleObject();
  THandleObject(const THandleObject&) = delete;
  THandleObject& operator=(const THandleObject&) = delete;

  HANDLE Handle() const { return handle_; }
  // The platform error code of the last wait that ended in wrError (0 otherwise).
  DWORD LastError() const { return lastError_; }
  // Waits up to `timeoutMs` milliseconds (INFINITE for no limit) for the object.
  TWaitResult WaitFor(DWORD timeoutMs = INFINITE);

 protected:
  // Takes ownership of `handle` (which may be null only when the creator raises right after).
  explicit THandleObject(HANDLE handle) : handle_(handle) {}

 private:
  HANDLE handle_;
  DWORD lastError_ = 0;
};

// An event. Manual reset: stays signalled until ResetEvent, releasing every waiter. Auto reset:
// one successful wait consumes the signal. A non-empty name opens or creates a named event.
// Raises EOSError when the platform refuses to create it.
class TEvent : public THandleObject {
 public:
  explicit TEvent(bool manualReset = true, bool initialState = false, const std::string& name = {});
  void SetEvent();
  void ResetEvent();
};

// A manual-reset event that starts unsignalled.
class TSimpleEvent : public TEvent {
 public:
  TSimpleEvent() : TEvent(true, false) {}
};

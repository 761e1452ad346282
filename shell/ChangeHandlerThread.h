// TChangeHandlerThread: a worker that waits on up to 63 file-system change notifications and
// posts (owner window, message, slot index, 0) whenever one fires. The window thread asks for
// watches to be added or removed through a request handed over under a lock and two events;
// only the worker changes the slot table. Every notification handle is closed exactly once:
// by a removal, when it can no longer be re-armed, or when the object is destroyed - a handle
// the table had no room for, or whose request was withdrawn after a time-out, never lingers.
//
// Request states (window thread side):
//   idle --AddWatch/RemoveAllWatches--> posted --worker performs--> done (result read)
//   posted --time-out--> withdrawn (an add's handle closed by the caller) or, when the worker
//   finished meanwhile, done.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "shell/KxShellIntf.h"
#include "toolkit/system/Thread.h"

// The notification calls, replaceable to count handles or to stall the worker in tests.
struct TKxChangeNotifyApi {
  HANDLE(WINAPI* First)(LPCWSTR path, BOOL subtree, DWORD filter) = FindFirstChangeNotificationW;
  BOOL(WINAPI* Next)(HANDLE handle) = FindNextChangeNotification;
  BOOL(WINAPI* Close)(HANDLE handle) = FindCloseChangeNotification;
};

constexpr UINT KX_SHELL_CHANGE_MESSAGE = 1125;

class TChangeHandlerThread : public TThread {
 public:
  static constexpr int kSlotCount = 63;

  // Makes the events and the 63 free slots and starts the worker. `owner` may be nil (nothing is
  // posted). Raises when the worker or its events cannot be made.
  TChangeHandlerThread(HWND owner, UINT message, TKxChangeNotifyApi api = {},
                       DWORD requestTimeout = 2000, DWORD quitTimeout = 30000);
  // Asks the worker to quit, waits for it, and closes every handle still held.
  virtual ~TChangeHandlerThread();

  // Watches `path` for the FILE_NOTIFY_CHANGE_ filter; `slot` receives the slot whose index
  // the change messages carry. False for an empty path, a path that cannot be watched, a full
  // table, or a worker that did not answer within the request time-out.
  bool AddWatch(const std::string& path, DWORD filter, int& slot, bool subtree);
  // Closes every watch (waits at most the request time-out).
  void RemoveAllWatches();
  // Closes the watch of one slot (waits at most the request time-out).
  void RemoveWatch(int slot);

  HWND OwnerWindow() const { return owner_; }
  UINT Message() const { return message_; }

 protected:
  void Execute() override;

 private:
  enum class Action : unsigned char { Add = 0, RemoveOne = 1, RemoveAll = 2, Quit = 3 };

  // Posts a request and waits for it; true when the worker performed it in time.
  bool Request(Action action, HANDLE pending, int removeIndex, int& newIndex);
  void Perform();
  void FreeSlot(int slot);

  TKxChangeNotifyApi api_;
  HWND owner_;
  UINT message_;
  DWORD requestTimeout_;
  DWORD quitTimeout_;
  // Auto-reset events, owned. (Raw handles: this header is included beside the toolkit's
  // event template, whose name the synchronisation objects' event class shares.)
  struct TCloseHandle {
    void operator()(void* h) const { CloseHandle(h); }
  };
  using TOwnedHandle = std::unique_ptr<void, TCloseHandle>;
  static TOwnedHandle MakeEvent();
  TOwnedHandle actionEvent_ = MakeEvent();
  TOwnedHandle processedEvent_ = MakeEvent();

  // Guarded by lock_: the request and its outcome.
  std::mutex lock_;
  Action action_ = Action::Add;
  HANDLE pendingHandle_ = INVALID_HANDLE_VALUE;
  int pendingRemoveIndex_ = -1;
  int newIndex_ = -1;
  unsigned requestSerial_ = 0;
  unsigned doneSerial_ = 0;

  // Owned by the worker while it runs.
  std::vector<HANDLE> slots_;
};

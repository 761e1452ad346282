// The change watcher's worker loop and its request hand-over.
#include "shell/ChangeHandlerThread.h"

#include <mutex>

#include "toolkit/rtl/TextConv.h"

using TLock = std::lock_guard<std::mutex>;

TChangeHandlerThread::TOwnedHandle TChangeHandlerThread::MakeEvent() {
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!event) RaiseLastOSError();
  return TOwnedHandle(event);
}

TChangeHandlerThread::TChangeHandlerThread(HWND owner, UINT message, TKxChangeNotifyApi api,
                                           DWORD requestTimeout, DWORD quitTimeout)
    : api_(api),
      owner_(owner),
      message_(message),
      requestTimeout_(requestTimeout),
      quitTimeout_(quitTimeout),
      slots_(kSlotCount, INVALID_HANDLE_VALUE) {
  Start();
}

TChangeHandlerThread::~TChangeHandlerThread() {
  Terminate();
  {
    TLock lock(lock_);
    action_ = Action::Quit;
    ++requestSerial_;
  }
  SetEvent(actionEvent_.get());
  WaitForSingleObject(Handle(), quitTimeout_);
  WaitFor();  // the handles below are the worker's until it has ended
  for (HANDLE h : slots_)
    if (h != INVALID_HANDLE_VALUE) api_.Close(h);
  if (pendingHandle_ != INVALID_HANDLE_VALUE) api_.Close(pendingHandle_);
}

bool TChangeHandlerThread::Request(Action action, HANDLE pending, int removeIndex,
                                   int& newIndex) {
  unsigned serial;
  {
    TLock lock(lock_);
    action_ = action;
    pendingHandle_ = pending;
    pendingRemoveIndex_ = removeIndex;
    serial = ++requestSerial_;
  }
  ResetEvent(processedEvent_.get());
  SetEvent(actionEvent_.get());
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD elapsed = GetTickCount() - start;
    const DWORD wait = elapsed >= requestTimeout_ ? 0 : requestTimeout_ - elapsed;
    const DWORD result = WaitForSingleObject(processedEvent_.get(), wait);
    TLock lock(lock_);
    if (doneSerial_ - serial < 0x80000000u) {  // performed (serials wrap)
      newIndex = newIndex_;
      return true;
    }
    if (result != WAIT_OBJECT_0) {
      // Withdraw: the worker will find no request, and a handle it never took is closed here.
      if (pendingHandle_ != INVALID_HANDLE_VALUE) api_.Close(pendingHandle_);
      pendingHandle_ = INVALID_HANDLE_VALUE;
      doneSerial_ = serial;
      newIndex = -1;
      return false;
    }
  }
}

bool TChangeHandlerThread::AddWatch(const std::string& path, DWORD filter, int& slot,
                                    bool subtree) {
  if (path.empty()) return false;
  const HANDLE handle = api_.First(Utf8ToWide(path).c_str(), subtree ? TRUE : FALSE, filter);
  if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return false;
  int newIndex = -1;
  if (!Request(Action::Add, handle, -1, newIndex)) return false;
  slot = newIndex;
  return newIndex != -1;
}

void TChangeHandlerThread::RemoveAllWatches() {
  int ignored;
  Request(Action::RemoveAll, INVALID_HANDLE_VALUE, -1, ignored);
}

void TChangeHandlerThread::RemoveWatch(int slot) {
  int ignored;
  Request(Action::RemoveOne, INVALID_HANDLE_VALUE, slot, ignored);
}

void TChangeHandlerThread::FreeSlot(int slot) {
  if (slot < 0 || slot >= kSlotCount || slots_[slot] == INVALID_HANDLE_VALUE) return;
  api_.Close(slots_[slot]);
  slots_[slot] = INVALID_HANDLE_VALUE;
}

void TChangeHandlerThread::Perform() {
  TLock lock(lock_);
  if (doneSerial_ == requestSerial_) return;  // withdrawn, or already performed
  switch (action_) {
    case Action::Add: {
      newIndex_ = -1;
      if (pendingHandle_ == INVALID_HANDLE_VALUE) break;
      for (int i = 0; i < kSlotCount; ++i) {
        if (slots_[i] == INVALID_HANDLE_VALUE) {
          slots_[i] = pendingHandle_;
          newIndex_ = i;
          break;
        }
      }
      // A full table refuses the handle; it is closed here rather than left pending.
      if (newIndex_ == -1) api_.Close(pendingHandle_);
      pendingHandle_ = INVALID_HANDLE_VALUE;
      break;
    }
    case Action::RemoveOne:
      FreeSlot(pendingRemoveIndex_);
      break;
    case Action::RemoveAll:
      for (int i = 0; i < kSlotCount; ++i) FreeSlot(i);
      break;
    case Action::Quit:
      return;
  }
  doneSerial_ = requestSerial_;
  SetEvent(processedEvent_.get());
}

void TChangeHandlerThread::Execute() {
  HANDLE waits[kSlotCount + 1];
  int slotOf[kSlotCount + 1];
  for (;;) {
    DWORD count = 0;
    waits[count++] = actionEvent_.get();
    for (int i = 0; i < kSlotCount; ++i) {
      if (slots_[i] == INVALID_HANDLE_VALUE) continue;
      slotOf[count] = i;
      waits[count++] = slots_[i];
    }
    const DWORD result = WaitForMultipleObjects(count, waits, FALSE, INFINITE);
    if (Terminated()) return;
    if (result == WAIT_OBJECT_0) {
      Perform();
    } else if (result > WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + count) {
      const int slot = slotOf[result - WAIT_OBJECT_0];
      if (owner_) PostMessageW(owner_, message_, static_cast<WPARAM>(slot), 0);
      if (!api_.Next(slots_[slot])) {
        TLock lock(lock_);
        FreeSlot(slot);
      }
    } else if (result > WAIT_ABANDONED_0 && result < WAIT_ABANDONED_0 + count) {
      TLock lock(lock_);
      FreeSlot(slotOf[result - WAIT_ABANDONED_0]);
    }
  }
}

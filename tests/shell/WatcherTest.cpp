// The change watcher: a change arrives as message 1125 with its slot, the table holds 63
// watches and refuses the 64th, and no notification handle outlives the watcher - whether the
// table was full, a request timed out, or a watch was being added at destruction.
#include <gtest/gtest.h>

#include <atomic>

#include "ShellTestSupport.h"
#include "shell/ChangeHandlerThread.h"
#include "toolkit/rtl/TextConv.h"

namespace {

// Counts the handles the watcher opens and closes; Next can be made to stall the worker.
std::atomic<int> opened{0}, closed{0};
HANDLE stallNext = nullptr;    // while set and unsignalled, Next waits on it
HANDLE insideNext = nullptr;   // signalled when the worker enters Next

HANDLE WINAPI CountingFirst(LPCWSTR path, BOOL subtree, DWORD filter) {
  HANDLE h = FindFirstChangeNotificationW(path, subtree, filter);
  if (h != INVALID_HANDLE_VALUE) ++opened;
  return h;
}
BOOL WINAPI StallingNext(HANDLE h) {
  if (stallNext) {
    SetEvent(insideNext);
    WaitForSingleObject(stallNext, INFINITE);
  }
  return FindNextChangeNotification(h);
}
BOOL WINAPI CountingClose(HANDLE h) {
  ++closed;
  return FindCloseChangeNotification(h);
}

TKxChangeNotifyApi CountingApi() {
  TKxChangeNotifyApi api;
  api.First = &CountingFirst;
  api.Next = &StallingNext;
  api.Close = &CountingClose;
  return api;
}

// A hidden window that the watcher posts to.
struct MessageWindow {
  HWND handle = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                nullptr, nullptr);
  ~MessageWindow() { DestroyWindow(handle); }
};

// Waits (bounded) for message 1125 on `window`; the slot it carries, or -1.
int WaitForChange(HWND window, DWORD timeoutMs = 10000) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, window, 0, 0, PM_REMOVE)) {
      if (msg.message == KX_SHELL_CHANGE_MESSAGE) return static_cast<int>(msg.wParam);
      DispatchMessageW(&msg);
    }
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return -1;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
  }
}

void Touch(const std::string& path) {
  HANDLE f = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                         nullptr);
  CloseHandle(f);
}

}  // namespace

class WatcherTest : public ShellFolderTest {
 protected:
  void SetUp() override {
    ShellFolderTest::SetUp();
    opened = 0;
    closed = 0;
  }
};

TEST_F(WatcherTest, AChangeArrivesWithItsSlot) {
  MessageWindow window;
  MakeFolder("one");
  MakeFolder("two");
  TChangeHandlerThread watcher(window.handle, KX_SHELL_CHANGE_MESSAGE, CountingApi());
  int slotOne = -1, slotTwo = -1;
  ASSERT_TRUE(watcher.AddWatch(root_ + "one", FILE_NOTIFY_CHANGE_FILE_NAME, slotOne, false));
  ASSERT_TRUE(watcher.AddWatch(root_ + "two", FILE_NOTIFY_CHANGE_FILE_NAME, slotTwo, false));
  EXPECT_EQ(slotOne, 0);
  EXPECT_EQ(slotTwo, 1);
  Touch(root_ + "two\\new.txt");
  EXPECT_EQ(WaitForChange(window.handle), slotTwo);
  Touch(root_ + "one\\new.txt");
  EXPECT_EQ(WaitForChange(window.handle), slotOne);
}

TEST_F(WatcherTest, RefusesWhatCannotBeWatched) {
  TChangeHandlerThread watcher(nullptr, KX_SHELL_CHANGE_MESSAGE, CountingApi());
  int slot = 7;
  EXPECT_FALSE(watcher.AddWatch("", FILE_NOTIFY_CHANGE_DIR_NAME, slot, true));
  EXPECT_FALSE(watcher.AddWatch(root_ + "absent", FILE_NOTIFY_CHANGE_DIR_NAME, slot, true));
  EXPECT_EQ(slot, 7);
}

TEST_F(WatcherTest, SixtyThreeWatchesWorkAndTheSixtyFourthIsRefused) {
  MessageWindow window;
  {
    TChangeHandlerThread watcher(window.handle, KX_SHELL_CHANGE_MESSAGE, CountingApi());
    for (int i = 0; i < 64; ++i) MakeFolder("w" + std::to_string(i));
    for (int i = 0; i < 63; ++i) {
      int slot = -1;
      ASSERT_TRUE(watcher.AddWatch(root_ + "w" + std::to_string(i), FILE_NOTIFY_CHANGE_FILE_NAME,
                                   slot, false));
      EXPECT_EQ(slot, i);
    }
    int slot = 99;
    EXPECT_FALSE(watcher.AddWatch(root_ + "w63", FILE_NOTIFY_CHANGE_FILE_NAME, slot, false));
    EXPECT_EQ(opened, 64);
    EXPECT_EQ(closed, 1);  // the refused handle is closed at once
    Touch(root_ + "w62\\f.txt");
    EXPECT_EQ(WaitForChange(window.handle), 62);
    Touch(root_ + "w0\\f.txt");
    EXPECT_EQ(WaitForChange(window.handle), 0);

    watcher.RemoveAllWatches();
    EXPECT_EQ(closed, 64);
    ASSERT_TRUE(watcher.AddWatch(root_ + "w5", FILE_NOTIFY_CHANGE_FILE_NAME, slot, false));
    EXPECT_EQ(slot, 0);  // the first free slot again
  }
  EXPECT_EQ(opened, 65);
  EXPECT_EQ(closed, 65);
}

TEST_F(WatcherTest, ATimedOutRequestLeavesNoHandleBehind) {
  MessageWindow window;
  MakeFolder("busy");
  MakeFolder("late");
  stallNext = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  insideNext = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  {
    // Long enough for a busy machine to answer the first request; the stalled worker lets the
    // second one time out all the same.
    TChangeHandlerThread watcher(window.handle, KX_SHELL_CHANGE_MESSAGE, CountingApi(),
                                 /*requestTimeout=*/1000);
    int slot = -1;
    ASSERT_TRUE(watcher.AddWatch(root_ + "busy", FILE_NOTIFY_CHANGE_FILE_NAME, slot, false));
    Touch(root_ + "busy\\f.txt");
    ASSERT_EQ(WaitForSingleObject(insideNext, 10000), WAIT_OBJECT_0);  // worker is stalled
    EXPECT_FALSE(watcher.AddWatch(root_ + "late", FILE_NOTIFY_CHANGE_FILE_NAME, slot, false));
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(closed, 1);  // the withdrawn request's handle
    SetEvent(stallNext);
    CloseHandle(stallNext);
    stallNext = nullptr;
    ASSERT_TRUE(watcher.AddWatch(root_ + "late", FILE_NOTIFY_CHANGE_FILE_NAME, slot, false));
    EXPECT_EQ(slot, 1);  // the withdrawn request took no slot
  }
  CloseHandle(insideNext);
  EXPECT_EQ(opened, 3);
  EXPECT_EQ(closed, 3);
}

TEST_F(WatcherTest, DestroyingClosesEveryHandle) {
  for (int i = 0; i < 5; ++i) MakeFolder("d" + std::to_string(i));
  {
    TChangeHandlerThread watcher(nullptr, KX_SHELL_CHANGE_MESSAGE, CountingApi());
    for (int i = 0; i < 5; ++i) {
      int slot;
      ASSERT_TRUE(watcher.AddWatch(root_ + "d" + std::to_string(i), FILE_NOTIFY_CHANGE_DIR_NAME,
                                   slot, true));
    }
    Touch(root_ + "d1\\x.txt");  // pending changes do not matter
  }
  EXPECT_EQ(opened, 5);
  EXPECT_EQ(closed, 5);
}

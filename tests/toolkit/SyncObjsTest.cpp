// Events and critical sections: how waits end (signalled, timed out, abandoned, failed) for
// manual- and auto-reset events, hand-over between threads, and mutual exclusion. Waits that
// must time out use a 0-5 ms limit; waits that must succeed are ended by the other thread.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>

#include "toolkit/system/SyncObjs.h"

namespace {

struct EventCase {
  const char* name;
  bool manualReset;
  bool initialState;
  bool setBeforeWaiting;
  TWaitResult firstWait;
  TWaitResult secondWait;
};

const EventCase kEventCases[] = {
    {"ManualUnsignalled", true, false, false, wrTimeout, wrTimeout},
    {"ManualCreatedSignalled", true, true, false, wrSignaled, wrSignaled},
    {"ManualSetStaysSignalled", true, false, true, wrSignaled, wrSignaled},
    {"AutoUnsignalled", false, false, false, wrTimeout, wrTimeout},
    {"AutoCreatedSignalledReleasesOneWait", false, true, false, wrSignaled, wrTimeout},
    {"AutoSetReleasesOneWait", false, false, true, wrSignaled, wrTimeout},
};

class EventWaits : public testing::TestWithParam<EventCase> {};

TEST_P(EventWaits, EndAsTheResetModeSays) {
  const EventCase& c = GetParam();
  TEvent event(c.manualReset, c.initialState);
  if (c.setBeforeWaiting) event.SetEvent();
  EXPECT_EQ(event.WaitFor(0), c.firstWait);
  EXPECT_EQ(event.WaitFor(5), c.secondWait);
  EXPECT_EQ(event.LastError(), 0u);
  event.ResetEvent();
  EXPECT_EQ(event.WaitFor(0), wrTimeout);
}

INSTANTIATE_TEST_SUITE_P(Event, EventWaits, testing::ValuesIn(kEventCases),
                         [](const testing::TestParamInfo<EventCase>& info) { return info.param.name; });

TEST(Event, ASimpleEventIsManualResetAndStartsUnsignalled) {
  TSimpleEvent event;
  EXPECT_EQ(event.WaitFor(0), wrTimeout);
  event.SetEvent();
  EXPECT_EQ(event.WaitFor(0), wrSignaled);
  EXPECT_EQ(event.WaitFor(0), wrSignaled);
}

TEST(Event, SettingFromAnotherThreadEndsAnUnlimitedWait) {
  TEvent request(false, false);
  TEvent answer(false, false);
  std::thread other([&] {
    if (request.WaitFor() == wrSignaled) answer.SetEvent();
  });
  request.SetEvent();
  EXPECT_EQ(answer.WaitFor(), wrSignaled);
  other.join();
}

TEST(Event, EventsOfOneNameShareTheirState) {
  const std::string name = "VornakitTestEvent" + std::to_string(GetCurrentProcessId());
  TEvent first(true, false, name);
  TEvent second(true, false, name);
  EXPECT_NE(first.Handle(), second.Handle());
  first.SetEvent();
  EXPECT_EQ(second.WaitFor(0), wrSignaled);
}

// Waitable objects that events cannot show: a mutex left by its owner, and a dead handle.
class OwnedMutex : public THandleObject {
 public:
  OwnedMutex() : THandleObject(CreateMutexW(nullptr, FALSE, nullptr)) {}
};

class DeadHandle : public THandleObject {
 public:
  DeadHandle() : THandleObject(ClosedHandle()) {}

 private:
  static HANDLE ClosedHandle() {
    HANDLE handle = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    CloseHandle(handle);
    return handle;
  }
};

TEST(HandleObject, AMutexLeftByAnEndedThreadIsAbandoned) {
  OwnedMutex mutex;
  std::thread owner([&] { WaitForSingleObject(mutex.Handle(), INFINITE); });
  owner.join();
  EXPECT_EQ(mutex.WaitFor(0), wrAbandoned);
  // The wait made this thread the owner: a second wait succeeds plainly.
  EXPECT_EQ(mutex.WaitFor(0), wrSignaled);
  ReleaseMutex(mutex.Handle());
  ReleaseMutex(mutex.Handle());
}

TEST(HandleObject, AWaitOnAClosedHandleIsAnErrorWithItsCode) {
  DeadHandle dead;
  EXPECT_EQ(dead.WaitFor(0), wrError);
  EXPECT_EQ(dead.LastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(CriticalSection, KeepsOtherThreadsOutWhileHeld) {
  TCriticalSection section;
  section.Enter();
  // Re-entrant for the owner.
  EXPECT_TRUE(section.TryEnter());
  section.Leave();

  bool otherGotIn = true;
  std::thread other([&] { otherGotIn = section.TryEnter(); });
  other.join();
  EXPECT_FALSE(otherGotIn);
  section.Leave();

  std::thread after([&] {
    otherGotIn = section.TryEnter();
    if (otherGotIn) section.Leave();
  });
  after.join();
  EXPECT_TRUE(otherGotIn);
}

TEST(CriticalSection, SerialisesUpdatesOfSharedData) {
  TCriticalSection section;
  long long counter = 0;  // not atomic: only the section protects it
  auto add = [&] {
    for (int i = 0; i < 20000; ++i) {
      std::lock_guard<TCriticalSection> hold(section);
      counter = counter + 1;
    }
  };
  std::thread a(add), b(add), c(add);
  a.join();
  b.join();
  c.join();
  EXPECT_EQ(counter, 60000);
}

}  // namespace

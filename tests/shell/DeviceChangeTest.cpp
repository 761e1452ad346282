// The device-change handler: a device message reaches every registered handler in order, after
// the system's message was answered, even when one handler raises; drive validation.
#include <gtest/gtest.h>

#include "ShellTestSupport.h"
#include "shell/KxDeviceChangeHandler.h"

#include <dbt.h>

namespace {

std::vector<std::string> calls;
std::vector<std::string> reported;

void Report(const Exception& e) { reported.push_back(e.Message()); }

struct Control {
  std::string name;
  bool raise = false;
  void DeviceChanged(TKxDeviceMessage& message) {
    calls.push_back(name + ":" + std::to_string(message.WParam));
    if (raise) throw EOSError(name + " failed");
  }
};

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace

class DeviceChangeTest : public testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    reported.clear();
    SetShellExceptionHandler(&Report);
  }
  void TearDown() override { SetShellExceptionHandler(nullptr); }
  TKxDeviceChangeHandler handler;
};

TEST_F(DeviceChangeTest, ReceiverIsAHiddenTopLevelWindow) {
  HWND window = handler.Handle();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());  // not message-only
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_TRUE(handler.Active());
}

TEST_F(DeviceChangeTest, HandlersRunInOrderAfterTheMessageWasAnsweredEvenWhenOneRaises) {
  Control tree{"tree"}, faulty{"faulty", true}, list{"list"};
  handler.Register(DeviceChangeMethod<&Control::DeviceChanged>(&tree));
  handler.Register(DeviceChangeMethod<&Control::DeviceChanged>(&faulty));
  handler.Register(DeviceChangeMethod<&Control::DeviceChanged>(&list));
  EXPECT_EQ(handler.Count(), 3);

  SendMessageW(handler.Handle(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
  EXPECT_TRUE(calls.empty());  // re-posted, not run inside the system's message
  PumpMessages();
  EXPECT_EQ(calls, (std::vector<std::string>{"tree:32768", "faulty:32768", "list:32768"}));
  EXPECT_EQ(reported, (std::vector<std::string>{"faulty failed"}));
}

TEST_F(DeviceChangeTest, UnregisterRemovesTheFirstMatchOnly) {
  Control a{"a"}, b{"b"};
  handler.Register(DeviceChangeMethod<&Control::DeviceChanged>(&a));
  handler.Register(DeviceChangeMethod<&Control::DeviceChanged>(&b));
  handler.Register(DeviceChangeMethod<&Control::DeviceChanged>(&a));
  handler.Unregister(DeviceChangeMethod<&Control::DeviceChanged>(&a));
  handler.Unregister(DeviceChangeMethod<&Control::DeviceChanged>(&a));
  handler.Unregister(DeviceChangeMethod<&Control::DeviceChanged>(&a));  // none left: nothing
  EXPECT_EQ(handler.Count(), 1);
  TKxDeviceMessage message{WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0, 0};
  handler.Dispatch(message);
  EXPECT_EQ(calls, (std::vector<std::string>{"b:32772"}));
}

namespace {
TKxDeviceChangeHandler* dispatching = nullptr;
Control* victim = nullptr;
struct Unregisterer {
  void DeviceChanged(TKxDeviceMessage&) {
    calls.push_back("unregisterer");
    dispatching->Unregister(DeviceChangeMethod<&Control::DeviceChanged>(victim));
  }
};
}  // namespace

TEST_F(DeviceChangeTest, AHandlerRemovedDuringDispatchIsNotCalled) {
  Unregisterer first;
  Control second{"second"};
  dispatching = &handler;
  victim = &second;
  handler.Register(DeviceChangeMethod<&Unregisterer::DeviceChanged>(&first));
  handler.Register(DeviceChangeMethod<&Control::DeviceChanged>(&second));
  TKxDeviceMessage message{WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0, 0};
  handler.Dispatch(message);
  EXPECT_EQ(calls, (std::vector<std::string>{"unregisterer"}));
  EXPECT_EQ(handler.Count(), 1);
}

TEST_F(DeviceChangeTest, InactiveHandlerCallsNobody) {
  Control a{"a"};
  handler.Register(DeviceChangeMethod<&Control::DeviceChanged>(&a));
  handler.SetActive(false);
  SendMessageW(handler.Handle(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
  PumpMessages();
  EXPECT_TRUE(calls.empty());
}

TEST(DeviceChangeShared, IsMadeOnceAndFreed) {
  TKxDeviceChangeHandler& first = SharedDeviceChangeHandler();
  EXPECT_EQ(&SharedDeviceChangeHandler(), &first);
  EXPECT_TRUE(IsWindow(first.Handle()));
  const HWND window = first.Handle();
  FreeSharedDeviceChangeHandler();
  EXPECT_FALSE(IsWindow(window));
}

class DriveValidation : public testing::Test {
 protected:
  void SetUp() override {
    SetDrivesFolderBinder([this](IShellFolder*& folder) {
      if (FAILED(bindResult)) return bindResult;
      folder = &computer;
      return S_OK;
    });
  }
  void TearDown() override { SetDrivesFolderBinder(nullptr); }
  TValidatedFolder computer;
  HRESULT bindResult = S_OK;
};

TEST_F(DriveValidation, AsksTheComputerFolderToValidateUnlessSuspended) {
  EXPECT_FALSE(DriveValidationSuspended());
  ValidateDrivesFolder();
  EXPECT_EQ(computer.validations, 1);
  SuspendDriveValidation();
  SuspendDriveValidation();
  ResumeDriveValidation();
  EXPECT_TRUE(DriveValidationSuspended()) << "nested suspensions count";
  ValidateDrivesFolder();
  EXPECT_EQ(computer.validations, 1) << "nothing while suspended";
  ResumeDriveValidation();
  EXPECT_FALSE(DriveValidationSuspended());
  ResumeDriveValidation();  // one too many changes nothing
  ValidateDrivesFolder();
  EXPECT_EQ(computer.validations, 2);
  // A computer folder that cannot be had raises the platform's error.
  bindResult = E_ACCESSDENIED;
  EXPECT_THROW(ValidateDrivesFolder(), Exception);
  EXPECT_EQ(computer.validations, 2);
}


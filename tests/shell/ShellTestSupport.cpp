// Shell test helpers and the process set-up every shell test needs (COM, allocator, versions).
#include "ShellTestSupport.h"

#include <cstring>

#include "shell/KxShellCtrls.h"
#include "shell/KxShellUtils.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Application.h"

namespace {

class ShellEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    ShellUtilsStartup();
    ShellCtrlsStartup();
  }
  void TearDown() override {
    ShellCtrlsShutdown();
    ShellUtilsShutdown();
  }
};

testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new ShellEnvironment);

}  // namespace

TIdListPtr MakeIdList(std::initializer_list<std::vector<unsigned char>> items) {
  std::vector<unsigned char> bytes;
  for (const auto& payload : items) {
    const unsigned count = static_cast<unsigned>(payload.size() + 2);
    bytes.push_back(count & 0xFF);
    bytes.push_back(count >> 8);
    bytes.insert(bytes.end(), payload.begin(), payload.end());
  }
  bytes.push_back(0);
  bytes.push_back(0);
  void* memory = ShellAlloc(bytes.size());
  std::memcpy(memory, bytes.data(), bytes.size());
  return TIdListPtr(static_cast<PIDL>(memory));
}

std::vector<unsigned char> IdListBytes(PCIDL list) {
  const auto* p = reinterpret_cast<const unsigned char*>(list);
  return std::vector<unsigned char>(p, p + IdListSize(list));
}

void RemoveTree(const std::string& path) {
  const std::string base = IncludeTrailingPathDelimiter(path);
  WIN32_FIND_DATAW found = {};
  HANDLE search = FindFirstFileW(Utf8ToWide(base + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = WideToUtf8(found.cFileName);
      if (name == "." || name == "..") continue;
      const std::string full = base + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        SetFileAttributesW(Utf8ToWide(full).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(Utf8ToWide(full).c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(Utf8ToWide(ExcludeTrailingPathDelimiter(path)).c_str());
}

void ShellFolderTest::SetUp() {
  root_ = "C:\\vk_shell_test_" + std::to_string(GetCurrentProcessId()) + "\\";
  RemoveTree(root_);
  ASSERT_TRUE(CreateDirectoryW(Utf8ToWide(root_).c_str(), nullptr)) << root_;
}

void ShellFolderTest::TearDown() { RemoveTree(root_); }

std::string ShellFolderTest::MakeFile(const std::string& name, size_t bytes) {
  const std::string path = root_ + name;
  HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE) << path;
  std::vector<char> data(bytes, 'x');
  DWORD written = 0;
  if (bytes) WriteFile(file, data.data(), static_cast<DWORD>(bytes), &written, nullptr);
  CloseHandle(file);
  return path;
}

std::string ShellFolderTest::MakeFolder(const std::string& name) {
  const std::string path = root_ + name;
  EXPECT_TRUE(CreateDirectoryW(Utf8ToWide(path).c_str(), nullptr)) << path;
  return path;
}

TIdListPtr ShellFolderTest::ListOf(const std::string& path) {
  PIDL list = nullptr;
  const HRESULT hr = IdListFromPath(path, list);
  EXPECT_TRUE(SUCCEEDED(hr)) << path << " " << std::hex << hr;
  return TIdListPtr(list);
}

HRESULT TRecordingDropTarget::QueryInterface(REFIID iid, void** out) {
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
    *out = this;
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT TRecordingDropTarget::DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) {
  *effect &= DROPEFFECT_COPY;
  return S_OK;
}

HRESULT TRecordingDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
  *effect &= DROPEFFECT_COPY;
  return S_OK;
}

HRESULT TRecordingDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
  ++drops;
  FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (SUCCEEDED(data->GetData(&format, &medium))) {
    auto drop = static_cast<HDROP>(medium.hGlobal);
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      wchar_t path[1024] = {};
      DragQueryFileW(drop, i, path, 1024);
      paths.emplace_back(path);
    }
    ReleaseStgMedium(&medium);
  }
  *effect = DROPEFFECT_COPY;
  return S_OK;
}

namespace {

void MoveMouseTo(POINT screen) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>(screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
  input.mi.dy = static_cast<LONG>(screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

void Button(DWORD flag) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flag;
  SendInput(1, &input, sizeof input);
}

// The drag's steps, one per timer tick inside the drag loop.
struct DragScript {
  POINT target{};
  int tick = 0;
  bool released = false;
};
DragScript* script = nullptr;

void CALLBACK DragTick(HWND, UINT, UINT_PTR, DWORD) {
  if (!script || script->released) return;
  ++script->tick;
  if (script->tick == 2) MoveMouseTo(POINT{script->target.x - 4, script->target.y - 4});
  else if (script->tick == 4) MoveMouseTo(script->target);
  else if (script->tick == 6 || script->tick > 40) {
    Button(MOUSEEVENTF_LEFTUP);
    script->released = true;
  }
}

}  // namespace

void DragWithMouse(POINT start, POINT end) {
  DragScript steps;
  steps.target = end;
  script = &steps;
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, DragTick);
  MoveMouseTo(start);
  Button(MOUSEEVENTF_LEFTDOWN);
  MoveMouseTo(POINT{start.x + 8, start.y + 8});
  MoveMouseTo(POINT{start.x + 16, start.y + 16});
  // The drag runs inside the control's handling of these messages; the script ends it.
  for (int i = 0; i < 400 && !steps.released; ++i) {
    Application->ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  if (!steps.released) Button(MOUSEEVENTF_LEFTUP);
  KillTimer(nullptr, timer);
  script = nullptr;
  Application->ProcessMessages();
}

void ParkMousePointer() {
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
  Application->ProcessMessages();
}

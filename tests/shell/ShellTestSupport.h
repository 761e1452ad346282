// Helpers of the shell tests: made-up item-id lists, a counting allocator that can refuse, and
// a fixture folder under C:\ (the shell namespace of the test prefix) removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "shell/KxIdList.h"

// A list of made-up items; each item is its payload bytes (the count is added). Shell allocator.
TIdListPtr MakeIdList(std::initializer_list<std::vector<unsigned char>> items);
// The bytes of a list including its terminator.
std::vector<unsigned char> IdListBytes(PCIDL list);

// An IMalloc that counts and can be told to refuse allocations.
class TCountingMalloc : public IMalloc {
 public:
  bool refuse = false;
  int allocations = 0;
  int frees = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  void* STDMETHODCALLTYPE Alloc(SIZE_T bytes) override {
    if (refuse) return nullptr;
    ++allocations;
    return CoTaskMemAlloc(bytes);
  }
  void* STDMETHODCALLTYPE Realloc(void* p, SIZE_T bytes) override {
    return CoTaskMemRealloc(p, bytes);
  }
  void STDMETHODCALLTYPE Free(void* p) override {
    if (p) ++frees;
    CoTaskMemFree(p);
  }
  SIZE_T STDMETHODCALLTYPE GetSize(void*) override { return SIZE_T(-1); }
  int STDMETHODCALLTYPE DidAlloc(void*) override { return -1; }
  void STDMETHODCALLTYPE HeapMinimize() override {}
};

// C:\vk_shell_test_<pid>\ (with a trailing backslash), made empty for the test and removed
// with everything in it afterwards.
class ShellFolderTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Creates a file of `bytes` bytes (or a folder) under the fixture; returns its full path.
  std::string MakeFile(const std::string& name, size_t bytes = 0);
  std::string MakeFolder(const std::string& name);
  // The item-id list of a path under the fixture (must exist).
  TIdListPtr ListOf(const std::string& path);

  std::string root_;
};

// Removes a folder and everything in it.
void RemoveTree(const std::string& path);

// A drop target that takes copies and records each Drop with the CF_HDROP paths it carried.
class TRecordingDropTarget : public IDropTarget {
 public:
  int drops = 0;
  std::vector<std::wstring> paths;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override;
};

// A real drag with the display's mouse (SendInput): the left button goes down at `start`, the
// mouse moves away to start the drag, and a thread timer running inside the drag loop carries
// it to `end` and lets go. Returns after the button is up and the messages have run.
void DragWithMouse(POINT start, POINT end);

// Moves the display's mouse pointer to the screen's bottom-right corner, away from the test
// windows, so that no real mouse move, hover or menu highlight reaches the controls under test.
void ParkMousePointer();

// A stand-in for the computer folder that counts validation requests.
class TValidatedFolder : public IShellFolder {
 public:
  int validations = 0;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IShellFolder)) *out = this;
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, IBindCtx*, LPWSTR, ULONG*, PIDLIST_RELATIVE*, ULONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM, PCUIDLIST_RELATIVE, PCUIDLIST_RELATIVE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT count, PCUITEMID_CHILD_ARRAY, SFGAOF* request) override {
    if (count == 0 && *request == SFGAO_VALIDATE) ++validations;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT, PCUITEMID_CHILD_ARRAY, REFIID, UINT*, void**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD, SHGDNF, STRRET*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetNameOf(HWND, PCUITEMID_CHILD, LPCWSTR, SHGDNF, PITEMID_CHILD*) override {
    return E_NOTIMPL;
  }
};

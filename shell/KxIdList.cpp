// Item-id list routines over the shell allocator and the desktop folder.
#include "shell/KxIdList.h"

#include <algorithm>
#include <cstring>

#include "toolkit/rtl/TextConv.h"

namespace {

IMalloc* allocator = nullptr;

const ITEMIDLIST kEmptyList = {};

// Bytes of the items without the terminator.
unsigned ItemBytes(PCIDL list) {
  const unsigned size = IdListSize(list);
  return size >= 2 ? size - 2 : 0;
}

void* AllocFrom(IMalloc* from, size_t bytes) {
  return from ? from->Alloc(bytes) : ShellAlloc(bytes);
}

}  // namespace

IMalloc* ShellAllocator() {
  if (!allocator && FAILED(SHGetMalloc(&allocator))) allocator = nullptr;
  return allocator;
}

void* ShellAlloc(size_t bytes) {
  IMalloc* m = ShellAllocator();
  return m ? m->Alloc(bytes) : nullptr;
}

void ShellFree(void* memory) {
  if (!memory) return;
  if (IMalloc* m = ShellAllocator()) m->Free(memory);
}

HRESULT DesktopFolder(IShellFolder*& folder) {
  folder = nullptr;
  HRESULT hr = SHGetDesktopFolder(&folder);
  if (FAILED(hr)) folder = nullptr;
  return hr;
}

HRESULT SpecialFolderIdList(HWND owner, int csidl, PIDL& list) {
  list = nullptr;
  HRESULT hr = SHGetSpecialFolderLocation(owner, csidl & 0x7F, &list);
  if (FAILED(hr)) list = nullptr;
  return hr;
}

unsigned IdListSize(PCIDL list) {
  if (!list) return 0;
  unsigned size = 2;
  for (PCIDL item = list; item->mkid.cb != 0; item = NextIdListItem(item)) size += item->mkid.cb;
  return size;
}

PIDL CopyIdList(IMalloc* from, PCIDL list) {
  const unsigned bytes = ItemBytes(list);
  auto* copy = static_cast<unsigned char*>(AllocFrom(from, bytes + 2));
  if (!copy) return nullptr;
  if (bytes) std::memcpy(copy, list, bytes);
  copy[bytes] = copy[bytes + 1] = 0;
  return reinterpret_cast<PIDL>(copy);
}

PIDL ConcatIdLists(IMalloc* from, PCIDL a, PCIDL b) {
  const unsigned bytesA = ItemBytes(a), bytesB = ItemBytes(b);
  auto* joined = static_cast<unsigned char*>(AllocFrom(from, bytesA + bytesB + 2));
  if (!joined) return nullptr;
  if (bytesA) std::memcpy(joined, a, bytesA);
  if (bytesB) std::memcpy(joined + bytesA, b, bytesB);
  joined[bytesA + bytesB] = joined[bytesA + bytesB + 1] = 0;
  return reinterpret_cast<PIDL>(joined);
}

int CompareIdLists(PCIDL a, PCIDL b) {
  if (!a || !b) return (!a && !b) ? 0 : -1;
  const bool emptyA = IsEmptyIdList(a), emptyB = IsEmptyIdList(b);
  if (emptyA || emptyB) return (emptyA && emptyB) ? 0 : -1;
  IShellFolder* desktop = nullptr;
  if (FAILED(DesktopFolder(desktop))) return kCompareFailed;
  TComRef<IShellFolder> hold(desktop);
  const HRESULT hr = desktop->CompareIDs(0, a, b);
  if (FAILED(hr)) return kCompareFailed;
  return static_cast<short>(HRESULT_CODE(hr) & 0xFFFF);
}

int CompareIdListBytes(PCIDL a, PCIDL b) {
  const unsigned sizeA = IdListSize(a), sizeB = IdListSize(b);
  const auto* pa = reinterpret_cast<const unsigned char*>(a);
  const auto* pb = reinterpret_cast<const unsigned char*>(b);
  for (unsigned i = 0, n = std::min(sizeA, sizeB); i < n; ++i)
    if (pa[i] != pb[i]) return int(pa[i]) - int(pb[i]);
  return int(sizeA) - int(sizeB);
}

HRESULT BindToFolderOfIdList(PCIDL list, IShellFolder*& folder) {
  folder = nullptr;
  IShellFolder* desktop = nullptr;
  HRESULT hr = DesktopFolder(desktop);
  if (FAILED(hr)) return hr;
  if (!list || IsEmptyIdList(list)) {
    folder = desktop;
    return hr;
  }
  TComRef<IShellFolder> hold(desktop);
  hr = desktop->BindToObject(list, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder));
  if (FAILED(hr)) folder = nullptr;
  return hr;
}

HRESULT IdListFromPath(const std::string& path, PIDL& list) {
  list = nullptr;
  IShellFolder* desktop = nullptr;
  HRESULT hr = DesktopFolder(desktop);
  if (FAILED(hr)) return hr;
  TComRef<IShellFolder> hold(desktop);
  std::wstring wide = Utf8ToWide(path);
  if (wide.size() > MAX_PATH) wide.resize(MAX_PATH);
  ULONG eaten = 0;
  hr = desktop->ParseDisplayName(nullptr, nullptr, wide.data(), &eaten, &list, nullptr);
  if (FAILED(hr)) {
    ShellFree(list);
    list = nullptr;
  }
  return hr;
}

std::string PathFromIdList(PCIDL list) {
  wchar_t buffer[MAX_PATH + 1] = {};
  if (!SHGetPathFromIDListW(list ? list : &kEmptyList, buffer)) return {};
  return WideToUtf8(buffer);
}

std::string SpecialFolderPath(HWND owner, int csidl) {
  PIDL list = nullptr;
  if (FAILED(SpecialFolderIdList(owner, csidl, list))) return {};
  TIdListPtr hold(list);
  return PathFromIdList(list);
}

int SpecialFolderIdOf(PCIDL list) {
  if (!list) list = &kEmptyList;  // nil is the desktop
  for (int csidl = 0; csidl <= kNoSpecialFolder; ++csidl) {
    PIDL special = nullptr;
    if (FAILED(SpecialFolderIdList(nullptr, csidl, special)) || !special) continue;
    TIdListPtr hold(special);
    if (CompareIdLists(special, list) == 0) return csidl;
  }
  return kNoSpecialFolder;
}

// Item-id list routines: the shell's identity of a namespace item (a run of items, each led by
// a 16-bit byte count that includes itself, ended by a zero count). Every list made here comes
// from the shell allocator unless an allocator is given, and its owner frees it through the same.
// nil stands for the desktop wherever a list is accepted, except where a routine says otherwise.
#pragma once

#include <memory>
#include <string>

#include "shell/KxShellIntf.h"

using PIDL = ITEMIDLIST*;
using PCIDL = const ITEMIDLIST*;

// The shell allocator (SHGetMalloc), taken once; ShellAlloc gives nil when allocation fails.
IMalloc* ShellAllocator();
void* ShellAlloc(size_t bytes);
void ShellFree(void* memory);  // nil is ignored

// Frees an item-id list through the shell allocator when it goes out of scope.
struct TShellFreeDeleter {
  void operator()(ITEMIDLIST* list) const { ShellFree(list); }
};
using TIdListPtr = std::unique_ptr<ITEMIDLIST, TShellFreeDeleter>;

// SHGetDesktopFolder; `folder` carries one reference for the caller (nil on failure).
HRESULT DesktopFolder(IShellFolder*& folder);
// SHGetSpecialFolderLocation with the CSIDL masked by $7F; `list` owned by the caller.
HRESULT SpecialFolderIdList(HWND owner, int csidl, PIDL& list);

// Bytes of the list including its terminator; 0 for nil.
unsigned IdListSize(PCIDL list);
// A copy (terminator added) from `allocator`, or the shell allocator for nil; nil on failure.
// A nil list gives the empty list.
PIDL CopyIdList(IMalloc* allocator, PCIDL list);
// A followed by B; nil lists count as empty; nil when allocation fails.
PIDL ConcatIdLists(IMalloc* allocator, PCIDL a, PCIDL b);

// The desktop's order of two absolute lists: negative, 0 or positive. Both nil or both empty
// give 0; exactly one nil or exactly one empty gives -1 (in either order). A failed comparison
// gives kCompareFailed, which callers treat as "not equal" and "not changed".
constexpr int kCompareFailed = 0x7FFFFFFF;
int CompareIdLists(PCIDL a, PCIDL b);
// Byte order over the smaller size, then the difference of sizes.
int CompareIdListBytes(PCIDL a, PCIDL b);

// The folder of an absolute list (nil or empty: the desktop itself); one reference for the
// caller, nil on failure (the failure is returned).
HRESULT BindToFolderOfIdList(PCIDL list, IShellFolder*& folder);
// The desktop's parse of a path (at most 260 characters); nil on failure.
HRESULT IdListFromPath(const std::string& path, PIDL& list);
// The item's file-system path; empty when it has none (nil is the desktop).
std::string PathFromIdList(PCIDL list);
// The file-system path of a special folder; empty on failure.
std::string SpecialFolderPath(HWND owner, int csidl);
// The first CSIDL (0..50) whose special folder equals the list; 50 when none does.
constexpr int kNoSpecialFolder = 50;
int SpecialFolderIdOf(PCIDL list);

// The next item of a list (no check for the terminator).
inline PCIDL NextIdListItem(PCIDL item) {
  return reinterpret_cast<PCIDL>(reinterpret_cast<const unsigned char*>(item) + item->mkid.cb);
}
// Whether the list is the terminator alone.
inline bool IsEmptyIdList(PCIDL list) { return list && list->mkid.cb == 0; }

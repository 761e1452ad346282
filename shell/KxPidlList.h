// TKxPidlList: item-id lists, each with an object, kept in the order a shell folder gives them
// (CompareIDs) or, without a folder, in byte order; searched by halving. Used to compare the
// old and new contents of a folder on refresh. Entries take over their list pointers; an
// allocator, when set, frees them as entries go.
#pragma once

#include <vector>

#include "shell/KxIdList.h"
#include "toolkit/classes/Object.h"
#include "toolkit/classes/StringList.h"  // TDuplicates

class TKxPidlList : public TObject {
 public:
  TKxPidlList() = default;
  ~TKxPidlList() override;

  // Adds (list, nil); see AddObject.
  virtual int Add(PIDL list);
  // Appends when not Sorted; otherwise inserts at Find's index. A duplicate under dupIgnore
  // returns the existing index and adds nothing; under dupError raises EListError
  // "TKxPidlList: Duplicate PIDL" (the list is not taken); under dupAccept goes before the
  // equal entries. Returns the new entry's index; the entry owns `list` from then on.
  virtual int AddObject(PIDL list, void* object);

  // Binary search; `index` is where the key is or would go. Meaningful when Sorted.
  bool Find(PCIDL list, int& index) const;
  // Find when Sorted, else the first entry comparing equal; -1 when absent.
  int IndexOf(PCIDL list) const;
  void Delete(int index);
  void Clear();
  void Sort();

  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);  // turning it on sorts at once
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates value) { duplicates_ = value; }
  int Count() const { return static_cast<int>(entries_.size()); }
  int Capacity() const { return static_cast<int>(entries_.capacity()); }
  void SetCapacity(int value);
  PIDL Items(int index) const;
  void* Objects(int index) const;
  // Borrowed; when set, entries are ordered by its CompareIDs.
  IShellFolder* ShellFolder() const { return folder_; }
  void SetShellFolder(IShellFolder* folder) { folder_ = folder; }
  // When set, entries' lists are freed through it as they are deleted.
  IMalloc* Allocator() const { return allocator_; }
  void SetAllocator(IMalloc* allocator) { allocator_ = allocator; }

 private:
  struct Entry {
    PIDL list;
    void* object;
  };
  int Compare(PCIDL entry, PCIDL key) const;
  void CheckIndex(int index) const;
  void FreeList(PIDL list) const;

  std::vector<Entry> entries_;
  IShellFolder* folder_ = nullptr;
  IMalloc* allocator_ = nullptr;
  bool sorted_ = false;
  TDuplicates duplicates_ = dupError;
};

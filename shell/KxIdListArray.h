// TKxIdListArray: a view of one absolute item-id list as an array of single items. The viewed
// list is borrowed; each result of Item or WithoutLast is owned by the view and lives only until
// the next such call or the view's end, so callers never free or keep it.
#pragma once

#include "shell/KxIdList.h"
#include "toolkit/classes/Object.h"

class TKxIdListArray : public TObject {
 public:
  explicit TKxIdListArray(PCIDL list) : list_(list) {}
  ~TKxIdListArray() override;

  // Number of items; 0 for nil.
  int Count() const;
  // A one-item list holding item n (zero-based); nil for a nil list, n < 0, or n >= Count when
  // Count > 0. For the empty list every n >= 0 gives the empty list.
  PCIDL Item(int n);
  // The first Count - n items: n = 0 copies the whole list, n = Count gives the empty list;
  // nil for n > Count, n < 0 or a nil list.
  PCIDL WithoutLast(int n);

 private:
  void Keep(PIDL result);

  PCIDL list_;
  PIDL last_ = nullptr;
};

// TKxIdListArray: items of an absolute list, each handed out as a fresh list the view owns.
#include "shell/KxIdListArray.h"

#include <cstring>

TKxIdListArray::~TKxIdListArray() { ShellFree(last_); }

void TKxIdListArray::Keep(PIDL result) {
  ShellFree(last_);
  last_ = result;
}

int TKxIdListArray::Count() const {
  if (!list_) return 0;
  int count = 0;
  for (PCIDL item = list_; item->mkid.cb != 0; item = NextIdListItem(item)) ++count;
  return count;
}

PCIDL TKxIdListArray::Item(int n) {
  Keep(nullptr);
  const int count = Count();
  if (!list_ || n < 0 || (count > 0 && n >= count)) return nullptr;
  PCIDL item = list_;
  for (int i = 0; i < n && item->mkid.cb != 0; ++i) item = NextIdListItem(item);
  const unsigned bytes = item->mkid.cb;
  auto* single = static_cast<unsigned char*>(ShellAlloc(bytes + 2));
  if (!single) return nullptr;
  if (bytes) std::memcpy(single, item, bytes);
  single[bytes] = single[bytes + 1] = 0;
  Keep(reinterpret_cast<PIDL>(single));
  return last_;
}

PCIDL TKxIdListArray::WithoutLast(int n) {
  Keep(nullptr);
  const int count = Count();
  if (!list_ || n < 0 || n > count) return nullptr;
  unsigned bytes = 0;
  PCIDL item = list_;
  for (int i = 0; i < count - n; ++i) {
    bytes += item->mkid.cb;
    item = NextIdListItem(item);
  }
  auto* head = static_cast<unsigned char*>(ShellAlloc(bytes + 2));
  if (!head) return nullptr;
  if (bytes) std::memcpy(head, list_, bytes);
  head[bytes] = head[bytes + 1] = 0;
  Keep(reinterpret_cast<PIDL>(head));
  return last_;
}

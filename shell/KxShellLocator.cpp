// TKxShellLocator: folder references and their "Pidl" layout entry.
#include "shell/KxShellLocator.h"

#include <cstdint>
#include <vector>

#include "toolkit/classes/Filer.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"

namespace {

// Whether `bytes` hold exactly one list: items whose counts walk onto a final terminator.
bool IsWellFormedList(const std::vector<unsigned char>& bytes) {
  if (bytes.size() < 2) return false;
  size_t at = 0;
  for (;;) {
    if (at + 2 > bytes.size()) return false;
    const unsigned count = bytes[at] | (bytes[at + 1] << 8);
    if (count == 0) return at + 2 == bytes.size();
    if (count < 2) return false;
    at += count;
  }
}

}  // namespace

const TClassInfo& TKxShellLocator::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKxShellLocator>("TKxShellLocator", &TPersistent::StaticClass()).Build();
  return info;
}

TKxShellLocator::~TKxShellLocator() { FreeList(); }

void TKxShellLocator::FreeList() {
  ShellFree(list_);
  list_ = nullptr;
}

void TKxShellLocator::Changed() { OnChange(this); }

PCIDL TKxShellLocator::IdList() {
  if (kind_ == kByIdList) return list_;
  if (kind_ != kBySpecialFolder) return nullptr;
  if (!list_) {
    // No application window exists at this level; the shell gets none as owner.
    PIDL special = nullptr;
    if (SUCCEEDED(SpecialFolderIdList(nullptr, csidl_, special))) list_ = special;
  }
  return list_;
}

void TKxShellLocator::SetIdList(PCIDL list) {
  const unsigned char oldKind = kind_;
  // Copied before the held list goes: the new list may be the held one.
  PIDL copy = (list && IdListSize(list) > 2) ? CopyIdList(nullptr, list) : nullptr;
  bool changed;
  if (list_) {
    const int order = CompareIdLists(list_, list);
    changed = oldKind != kByIdList || (order != 0 && order != kCompareFailed);
    FreeList();
  } else {
    changed = oldKind != kByIdList || (list && !IsEmptyIdList(list));
  }
  kind_ = kByIdList;
  list_ = copy;
  csidl_ = kNoSpecialFolder;
  if (changed) Changed();
}

bool TKxShellLocator::IsEqual(TKxShellLocator* other) {
  if (!other || other->kind_ != kind_) return false;
  if (other == this) return true;
  if (kind_ == kByIdList) return CompareIdLists(list_, other->list_) == 0;
  if (kind_ == kBySpecialFolder) return csidl_ == other->csidl_;
  return false;
}

std::string TKxShellLocator::PathName() { return PathFromIdList(IdList()); }

void TKxShellLocator::Assign(TPersistent* source) {
  if (!source) {
    // Also a special folder whose list was never fetched goes back to the desktop.
    if (!list_ && kind_ == kByIdList) return;
    FreeList();
    kind_ = kByIdList;
    csidl_ = kNoSpecialFolder;
    Changed();
    return;
  }
  if (auto* other = dynamic_cast<TKxShellLocator*>(source)) {
    if (IsEqual(other)) return;
    PIDL copy = (other->kind_ == kByIdList && other->list_) ? CopyIdList(nullptr, other->list_)
                                                             : nullptr;
    FreeList();
    kind_ = other->kind_;
    if (kind_ != kByIdList) {
      csidl_ = other->csidl_;
    } else {
      list_ = copy;
      csidl_ = kNoSpecialFolder;
    }
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TKxShellLocator::DefineProperties(TFiler& filer) {
  TPersistent::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "Pidl", [this](TStream& s) { ReadPidl(s); }, [this](TStream& s) { WritePidl(s); },
      HasPidlData());
}

void TKxShellLocator::ReadPidl(TStream& stream) {
  const auto kind = stream.ReadValue<unsigned char>();
  FreeList();  // a cached list belongs to the reference being replaced
  if (kind != kByIdList) {
    csidl_ = stream.ReadValue<unsigned char>();
    kind_ = kBySpecialFolder;
    return;
  }
  const auto count = stream.ReadValue<int32_t>();
  if (count == 0) {
    kind_ = kBySpecialFolder;
    csidl_ = CSIDL_DESKTOP;
    return;
  }
  kind_ = kByIdList;
  csidl_ = kNoSpecialFolder;
  if (count < 2 || count > stream.Size() - stream.Position())
    throw EReadError("Invalid Pidl data");
  std::vector<unsigned char> bytes(static_cast<size_t>(count));
  stream.ReadBuffer(bytes.data(), count);
  if (!IsWellFormedList(bytes)) throw EReadError("Invalid Pidl data");
  auto* list = static_cast<unsigned char*>(ShellAlloc(bytes.size()));
  if (!list) throw EOutOfMemory("Out of memory");
  std::copy(bytes.begin(), bytes.end(), list);
  list_ = reinterpret_cast<PIDL>(list);
}

void TKxShellLocator::WritePidl(TStream& stream) {
  stream.WriteValue<unsigned char>(kind_);
  if (kind_ != kByIdList) {
    stream.WriteValue<unsigned char>(csidl_);
    return;
  }
  const int32_t size = static_cast<int32_t>(IdListSize(list_));
  stream.WriteValue<int32_t>(size);
  if (list_) stream.WriteBuffer(list_, size);
}

// TKxShellLocator: a persistent reference to a shell folder, either by absolute item-id list
// (kind 0; no list = the desktop) or by special-folder id (kind 1; its list fetched and cached
// when first asked for). Stored in layouts as the binary entry "Pidl": a kind byte, then the
// CSIDL byte (kind 1) or a 32-bit byte count and the list with its terminator (kind 0).
#pragma once

#include <string>

#include "shell/KxIdList.h"
#include "toolkit/classes/Events.h"
#include "toolkit/classes/Persistent.h"

class TStream;

class TKxShellLocator : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  static constexpr unsigned char kByIdList = 0;
  static constexpr unsigned char kBySpecialFolder = 1;

  TKxShellLocator() = default;
  ~TKxShellLocator() override;

  // The absolute list (borrowed; valid until the locator changes): kind 0 the stored list
  // (nil = the desktop), kind 1 the special folder's list, fetched once and cached.
  PCIDL IdList();
  // Refers to a copy of `list` (nil or empty: the desktop); fires OnChange when the reference
  // changed (a failed shell comparison counts as unchanged).
  void SetIdList(PCIDL list);
  void Clear() { SetIdList(nullptr); }
  bool IsEqual(TKxShellLocator* other);
  std::string PathName();

  unsigned char Kind() const { return kind_; }
  // The CSIDL of kind 1; kNoSpecialFolder (50) once a list was set.
  unsigned char SpecialFolderId() const { return csidl_; }

  // nil: back to the desktop (OnChange when it was not already); another locator: its
  // reference copied unless equal; anything else: the conversion error.
  void Assign(TPersistent* source) override;
  void DefineProperties(TFiler& filer) override;

  // The "Pidl" entry's bytes. ReadPidl raises EReadError for a count that is negative or does
  // not hold exactly one well-formed list; the locator is then the desktop.
  void ReadPidl(TStream& stream);
  void WritePidl(TStream& stream);
  bool HasPidlData() const { return list_ != nullptr || kind_ == kBySpecialFolder; }

  TNotifyEvent OnChange;

 protected:
  virtual void Changed();

 private:
  void FreeList();

  unsigned char kind_ = kByIdList;
  PIDL list_ = nullptr;
  unsigned char csidl_ = kNoSpecialFolder;
};

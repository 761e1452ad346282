// Read-only access to the registry: open a key under a root key with read access, test for
// values, read strings, integers and binary data, list value and subkey names. The object owns
// at most one open key, closed by CloseKey, by opening another and on destruction. Names, paths
// and strings are UTF-8; the registry itself is reached through its wide-character interface.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "toolkit/system/WinApi.h"

class TRegistry {
 public:
  // Works under HKEY_CURRENT_USER until RootKey is changed.
  TRegistry() = default;
  ~TRegistry() { CloseKey(); }
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return rootKey_; }
  // Changing the root key closes the open key.
  void SetRootKey(HKEY root);
  // Always KEY_READ: this class never writes.
  REGSAM Access() const { return KEY_READ; }

  // Opens `key` for reading; a leading '\' makes the path start at the root key, otherwise it
  // starts at the open key (or the root key when none is open). On success the new key replaces
  // the open one; on failure (missing key, no access) the open key stays and false is returned.
  bool OpenKeyReadOnly(const std::string& key);
  // Whether a key exists (opened for reading and closed again), relative as in OpenKeyReadOnly.
  bool KeyExists(const std::string& key) const;
  void CloseKey();
  // The open key (null when none) and its path below the root key, without a leading '\'.
  HKEY CurrentKey() const { return currentKey_; }
  const std::string& CurrentPath() const { return currentPath_; }

  // An empty name is the key's default value. The functions below read the open key, or the
  // root key when none is open.
  bool ValueExists(const std::string& name) const;
  // Size of the value's data in bytes, -1 when it does not exist.
  int GetDataSize(const std::string& name) const;
  // A string value (REG_SZ or REG_EXPAND_SZ, not expanded), up to its first null character.
  // A missing value gives "". Raises ERegistryException for a value of another type.
  std::string ReadString(const std::string& name) const;
  // A REG_DWORD value. Raises ERegistryException when the value is missing or of another type.
  int ReadInteger(const std::string& name) const;
  // Copies up to `size` bytes of a REG_BINARY value into `buffer` and returns how many it copied.
  // Raises ERegistryException when it is missing, of another type or larger than `size`.
  int ReadBinaryData(const std::string& name, void* buffer, int size) const;
  // Names of the values and of the subkeys, in the order the registry lists them.
  std::vector<std::string> GetValueNames() const;
  std::vector<std::string> GetKeyNames() const;

 private:
  HKEY BaseKey() const { return currentKey_ != nullptr ? currentKey_ : rootKey_; }
  // Opens `key` as OpenKeyReadOnly would; returns null on failure and the resulting path.
  HKEY Open(const std::string& key, std::string& path) const;
  // Queries a value: its type and data. Returns false when it cannot be read.
  bool Query(const std::string& name, DWORD& type, std::vector<unsigned char>& data) const;

  HKEY rootKey_ = HKEY_CURRENT_USER;
  HKEY currentKey_ = nullptr;
  std::string currentPath_;
};

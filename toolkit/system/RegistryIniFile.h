// The registry read as an INI file: a key (the "file") whose subkeys are the sections and whose
// values are the entries. Read only, like TRegistry underneath; a missing key, section or entry
// gives the caller's default.
#pragma once

#include <string>

#include "toolkit/system/Registry.h"

class TRegistryIniFile {
 public:
  // `fileName` is the key path below `root` ("\Software\Microsoft\Windows\CurrentVersion").
  explicit TRegistryIniFile(std::string fileName, HKEY root = HKEY_CURRENT_USER);

  const std::string& FileName() const { return fileName_; }
  bool ValueExists(const std::string& section, const std::string& ident) const;
  // The entry's text, or `fallback` when it is missing or not a string.
  std::string ReadString(const std::string& section, const std::string& ident,
                         const std::string& fallback) const;

 private:
  // Opens `section` of the file in `registry`; false when it does not exist.
  bool OpenSection(TRegistry& registry, const std::string& section) const;

  std::string fileName_;
  HKEY root_;
};

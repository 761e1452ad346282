// Registry-as-INI reading over TRegistry; see RegistryIniFile.h.
#include "toolkit/system/RegistryIniFile.h"

#include "toolkit/rtl/SysUtils.h"

TRegistryIniFile::TRegistryIniFile(std::string fileName, HKEY root)
    : fileName_(std::move(fileName)), root_(root) {}

bool TRegistryIniFile::OpenSection(TRegistry& registry, const std::string& section) const {
  registry.SetRootKey(root_);
  std::string path = "\\" + fileName_;
  if (!section.empty()) path += "\\" + section;
  return registry.OpenKeyReadOnly(path);
}

bool TRegistryIniFile::ValueExists(const std::string& section, const std::string& ident) const {
  TRegistry registry;
  return OpenSection(registry, section) && registry.ValueExists(ident);
}

std::string TRegistryIniFile::ReadString(const std::string& section, const std::string& ident,
                                         const std::string& fallback) const {
  TRegistry registry;
  if (!OpenSection(registry, section) || !registry.ValueExists(ident)) return fallback;
  try {
    return registry.ReadString(ident);
  } catch (const ERegistryException&) {
    return fallback;
  }
}

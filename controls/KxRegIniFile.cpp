// The settings-store description component: properties only.
#include "controls/KxRegIniFile.h"

#include "toolkit/classes/TypInfo.h"

const TEnumInfo& EnumTypeInfo(TKxPathType) {
  static const TEnumInfo info("TKxPathType", {"ptIniFile", "ptRegistry"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TKxRegKey) {
  static const TEnumInfo info("TKxRegKey", {"hkeyClassesRoot", "hkeyCurrentUser", "hkeyLocalMachine", "hkeyUsers",
                                            "hkeyPerformanceData", "hkeyCurrentConfig", "hkeyDynData"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TKxRegAccessKey) {
  static const TEnumInfo info("TKxRegAccessKey",
                              {"keyQueryValue", "keySetValue", "keyCreateSubKey", "keyEnumerateSubKeys", "keyNotify",
                               "keyCreateLink", "keyRead", "keyWrite", "keyExecute", "keyAllAccess"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TKxSpecialFolder) {
  static const TEnumInfo info("TKxSpecialFolder", {"sfNone", "sfUserAppDataRoaming", "sfUserAppDataLocal",
                                                   "sfUserDocuments", "sfProgramData"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TKxIniFileEncoding) {
  static const TEnumInfo info("TKxIniFileEncoding", {"feDefault", "feUTF8", "feUnicode"});
  return info;
}

TKxRegIniFile::TKxRegIniFile(TComponent* owner) : TComponent(owner) {}

const TClassInfo& TKxRegIniFile::StaticClass() {
  using C = TKxRegIniFile;
  static const TClassInfo info =
      TClassBuilder<C>("TKxRegIniFile", &TComponent::StaticClass())
          .Property("FileEncoding", &C::FileEncoding, &C::SetFileEncoding)
          .Default(feDefault)
          .Property("Path", [](C& c) { return c.Path(); }, [](C& c, const std::string& v) { c.SetPath(v); })
          .Property("PathType", &C::PathType, &C::SetPathType)
          .Default(ptIniFile)
          .Property("RegAccess", &C::RegAccess, &C::SetRegAccess)
          .Default(TKxRegAccess{keyAllAccess})
          .Property("RegKey", &C::RegKey, &C::SetRegKey)
          .Default(hkeyCurrentUser)
          .Property("SpecialFolder", &C::SpecialFolder, &C::SetSpecialFolder)
          .Default(sfNone)
          .Build();
  return info;
}

void TKxRegIniFile::SetPath(const std::string& value) {
  if (value == path_) return;
  path_ = value;
  reopen_ = true;
}

void TKxRegIniFile::SetPathType(TKxPathType value) {
  if (value == pathType_) return;
  pathType_ = value;
  reopen_ = true;
}

void TKxRegIniFile::SetRegKey(TKxRegKey value) {
  if (value == regKey_) return;
  regKey_ = value;
  reopen_ = true;
}

void TKxRegIniFile::SetRegAccess(TKxRegAccess value) {
  if (value == regAccess_) return;
  regAccess_ = value;
  reopen_ = true;
}

void TKxRegIniFile::SetSpecialFolder(TKxSpecialFolder value) {
  if (value == specialFolder_) return;
  specialFolder_ = value;
  reopen_ = true;
}

void TKxRegIniFile::SetFileEncoding(TKxIniFileEncoding value) {
  if (value == fileEncoding_) return;
  fileEncoding_ = value;
  reopen_ = true;
}

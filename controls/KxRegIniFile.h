// TKxRegIniFile: the description of a settings store (path, registry or INI file, access,
// encoding) that a frame controller may refer to. In this program it only holds its
// properties; no settings are read or written through it.
#pragma once

#include <string>

#include "toolkit/classes/Component.h"
#include "toolkit/classes/Set.h"

class TEnumInfo;

enum TKxPathType { ptIniFile, ptRegistry };
enum TKxRegKey {
  hkeyClassesRoot,
  hkeyCurrentUser,
  hkeyLocalMachine,
  hkeyUsers,
  hkeyPerformanceData,
  hkeyCurrentConfig,
  hkeyDynData
};
enum TKxRegAccessKey {
  keyQueryValue,
  keySetValue,
  keyCreateSubKey,
  keyEnumerateSubKeys,
  keyNotify,
  keyCreateLink,
  keyRead,
  keyWrite,
  keyExecute,
  keyAllAccess
};
using TKxRegAccess = TSet<TKxRegAccessKey>;
enum TKxSpecialFolder { sfNone, sfUserAppDataRoaming, sfUserAppDataLocal, sfUserDocuments, sfProgramData };
enum TKxIniFileEncoding { feDefault, feUTF8, feUnicode };

const TEnumInfo& EnumTypeInfo(TKxPathType);
const TEnumInfo& EnumTypeInfo(TKxRegKey);
const TEnumInfo& EnumTypeInfo(TKxRegAccessKey);
const TEnumInfo& EnumTypeInfo(TKxSpecialFolder);
const TEnumInfo& EnumTypeInfo(TKxIniFileEncoding);

class TKxRegIniFile : public TComponent {
 public:
  explicit TKxRegIniFile(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  const std::string& Path() const { return path_; }
  virtual void SetPath(const std::string& value);
  TKxPathType PathType() const { return pathType_; }
  virtual void SetPathType(TKxPathType value);
  TKxRegKey RegKey() const { return regKey_; }
  virtual void SetRegKey(TKxRegKey value);
  TKxRegAccess RegAccess() const { return regAccess_; }
  virtual void SetRegAccess(TKxRegAccess value);
  TKxSpecialFolder SpecialFolder() const { return specialFolder_; }
  virtual void SetSpecialFolder(TKxSpecialFolder value);
  TKxIniFileEncoding FileEncoding() const { return fileEncoding_; }
  virtual void SetFileEncoding(TKxIniFileEncoding value);
  // Set at creation and by every change: the store would have to be opened again.
  bool ReopenNeeded() const { return reopen_; }

 private:
  std::string path_;
  TKxPathType pathType_ = ptIniFile;
  TKxRegKey regKey_ = hkeyCurrentUser;
  TKxRegAccess regAccess_{keyAllAccess};
  TKxSpecialFolder specialFolder_ = sfNone;
  TKxIniFileEncoding fileEncoding_ = feDefault;
  bool reopen_ = true;
};

// TPersistent: an object that can be copied from another (Assign/AssignTo) and streamed in a
// layout: its published properties through its class information, and extra entries through
// DefineProperties. Assigning an unrelated class raises EConvertError
// "Cannot assign a %s to a %s".
#pragma once

#include <string>

#include "toolkit/classes/Object.h"

class TFiler;

class TPersistent : public TObject {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // Copies `source` into this object. The base asks the source (AssignTo); a descendant that
  // knows the source's class copies it and otherwise calls the inherited Assign.
  virtual void Assign(TPersistent* source);
  // Copies this object into `dest`; the base raises the assignment error. Public so that a
  // descendant's Assign can ask a source of another branch.
  virtual void AssignTo(TPersistent* dest);
  // Declares entries streamed beside the published properties (DefineProperty,
  // DefineBinaryProperty on the filer).
  virtual void DefineProperties(TFiler& filer);
  // The object that owns this one for naming ("Form1.Chart1.Title"); null for none.
  virtual TPersistent* GetOwner() const { return nullptr; }
  virtual std::string GetNamePath() const;

 protected:
  [[noreturn]] void AssignError(const TPersistent* source) const;
};

// TPersistent: default assignment protocol and naming.
#include "toolkit/classes/Persistent.h"

#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/SysUtils.h"

const TClassInfo& TPersistent::StaticClass() {
  static const TClassInfo info = TClassBuilder<TPersistent>("TPersistent", &TObject::StaticClass()).Build();
  return info;
}

void TPersistent::Assign(TPersistent* source) {
  if (source != nullptr) {
    source->AssignTo(this);
  } else {
    AssignError(nullptr);
  }
}

void TPersistent::AssignTo(TPersistent* dest) { dest->AssignError(this); }

void TPersistent::DefineProperties(TFiler&) {}

std::string TPersistent::GetNamePath() const {
  std::string s = ClassName();
  if (TPersistent* owner = GetOwner()) {
    const std::string path = owner->GetNamePath();
    if (!path.empty()) s = path + "." + s;
  }
  return s;
}

void TPersistent::AssignError(const TPersistent* source) const {
  const std::string sourceName = source != nullptr ? source->ClassName() : "nil";
  throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

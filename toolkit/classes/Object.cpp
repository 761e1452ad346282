// TObject: the class information of the root class and the Free protocol.
#include "toolkit/classes/Object.h"

#include "toolkit/classes/TypInfo.h"

const TClassInfo& TObject::StaticClass() {
  static const TClassInfo info = TClassBuilder<TObject>("TObject", nullptr).Build();
  return info;
}

const std::string& TObject::ClassName() const { return ClassType().Name(); }

bool TObject::InheritsFrom(const TClassInfo& cls) const { return ClassType().InheritsFrom(cls); }

void TObject::Free() {
  BeforeDestruction();
  delete this;
}

// TObject: the root of every toolkit class that carries run-time class information (its
// TClassInfo: name, parent, factory, published properties, named handler methods).
// Each class that wants its own class information declares
//   static const TClassInfo& StaticClass();
//   const TClassInfo& ClassType() const override { return StaticClass(); }
// and builds the TClassInfo once with TClassBuilder (toolkit/classes/TypInfo.h).
#pragma once

#include <string>

class TClassInfo;

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const { return StaticClass(); }
  const std::string& ClassName() const;
  // True when this object's class is `cls` or descends from it.
  bool InheritsFrom(const TClassInfo& cls) const;

  // Called by Free before the destructor runs, while the object is still whole (virtual calls
  // reach the most derived class). Components mark themselves as being destroyed here.
  virtual void BeforeDestruction() {}
  // BeforeDestruction, then delete. The object must have been made with new.
  void Free();
};

// Frees *ref (when not null) after setting the reference to null, so that notifications sent
// during destruction never see a dangling pointer.
template <class T>
void FreeAndNil(T*& ref) {
  TObject* obj = ref;
  ref = nullptr;
  if (obj != nullptr) obj->Free();
}

// TGraphicsObject: the base of the pen, brush and font. Each keeps its attributes and makes
// its GDI handle on first use; a change of any attribute drops the handle and calls OnChange,
// which the owning canvas uses to deselect the object before the stale handle is deleted.
#pragma once

#include <string>
#include <string_view>

#include "toolkit/classes/Events.h"
#include "toolkit/classes/Persistent.h"
#include "toolkit/graphics/Color.h"

class TGraphicsObject : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // Called after every change of an attribute or handle, with the object as sender.
  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
};

// Colour properties stream as identifiers when the value has one (TClassBuilder::Idents).
bool ColorPropToIdent(long long value, std::string& ident);
bool ColorIdentToProp(std::string_view ident, long long& value);

// Change notification shared by the pen, brush and font.
#include "toolkit/graphics/GraphicsObject.h"

#include "toolkit/classes/TypInfo.h"

const TClassInfo& TGraphicsObject::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TGraphicsObject>("TGraphicsObject", &TPersistent::StaticClass()).Abstract().Build();
  return info;
}

void TGraphicsObject::Changed() { OnChange(this); }

bool ColorPropToIdent(long long value, std::string& ident) {
  return ColorToIdent(static_cast<TColor>(value), ident);
}

bool ColorIdentToProp(std::string_view ident, long long& value) {
  TColor color = 0;
  if (!IdentToColor(ident, color)) return false;
  value = color;
  return true;
}

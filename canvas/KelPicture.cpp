// TKelPicture (see KelPicture.h).
#include "canvas/KelPicture.h"

#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Graphic.h"

const TClassInfo& TKelPicture::StaticClass() {
  static const TClassInfo info = TClassBuilder<TKelPicture>("TKelPicture", &TPicture::StaticClass()).Build();
  return info;
}

bool TKelPicture::HasGraphic() const { return Graphic() != nullptr && !Graphic()->Empty(); }

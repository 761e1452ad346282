// TKelPicture: the picture of brushes, fonts and chart backgrounds. Canvases draw its filtered
// graphic; with no filters attached that is the held graphic itself.
#pragma once

#include "toolkit/graphics/Picture.h"

class TKelPicture : public TPicture {
 public:
  TKelPicture() = default;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // A graphic is held and it is not empty.
  bool HasGraphic() const;
  // The graphic as it is drawn (null when there is none).
  TGraphic* FilteredGraphic() const { return Graphic(); }
};

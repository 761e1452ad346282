// TGraphic: file loading and saving through streams, and the change notification.
#include "toolkit/graphics/Graphic.h"

#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"

const TClassInfo& TGraphic::StaticClass() {
  static const TClassInfo info = TClassBuilder<TGraphic>("TGraphic", &TPersistent::StaticClass()).Abstract().Build();
  return info;
}

void TGraphic::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Changed();
}

void TGraphic::SetModified(bool value) {
  if (value) {
    Changed();
  } else {
    modified_ = false;
  }
}

void TGraphic::Changed() {
  modified_ = true;
  OnChange(this);
}

void TGraphic::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& fileName) {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}

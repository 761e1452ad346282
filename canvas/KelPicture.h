// TKelPicture: the picture of brushes, fonts and chart backgrounds. It carries an ordered
// filter list; canvases draw its filtered graphic, which is the held graphic itself while no
// filter is attached, and otherwise a cached bitmap copy with every enabled filter applied
// (made afresh on every request). The list streams as the extra entry "FilterItems".
#pragma once

#include "toolkit/graphics/Picture.h"

class TBitmap;
class TFilterItems;
class TReader;
class TWriter;

class TKelPicture : public TPicture {
 public:
  TKelPicture() = default;
  ~TKelPicture() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // From another TKelPicture: its filters, then the graphic.
  void Assign(TPersistent* source) override;
  void DefineProperties(TFiler& filer) override;

  // A graphic is held and it is not empty.
  bool HasGraphic() const;
  // The graphic as it is drawn (null when there is none). Owned by the picture; a filtered
  // copy stays valid until the next request or a change of the picture.
  TGraphic* FilteredGraphic() const;

  // The filter list, made on first read; setting null frees it, setting a list copies it.
  TFilterItems* Filters();
  void SetFilters(TFilterItems* value);
  bool HasFilters() const;

 private:
  void ReadFilterItems(TReader& reader);
  void WriteFilterItems(TWriter& writer);

  TFilterItems* filters_ = nullptr;
  mutable TBitmap* filtered_ = nullptr;
};

// TPicture: a holder of one graphic of any kind (bitmap, icon, metafile), owned by the picture.
// Reads and writes files by extension through the registered file formats, and stores its
// graphic in a layout as the entry "Data": the graphic's class name, then the graphic's data.
#pragma once

#include <string>
#include <string_view>

#include "toolkit/classes/Events.h"
#include "toolkit/classes/Persistent.h"

class TGraphic;
class TBitmap;
class TIcon;
class TMetafile;
class TClassInfo;
class TFiler;
class TStream;

class TPicture : public TPersistent {
 public:
  TPicture() = default;
  ~TPicture() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // From a picture or a graphic: a copy of the graphic; null empties.
  void Assign(TPersistent* source) override;
  void AssignTo(TPersistent* dest) override;
  void DefineProperties(TFiler& filer) override;

  // The held graphic (null when empty). Setting keeps a copy of `value`.
  TGraphic* Graphic() const { return graphic_; }
  void SetGraphic(TGraphic* value);
  // The graphic as a bitmap / icon / metafile; an empty one of that kind replaces a graphic
  // of another kind.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* value);
  TIcon* Icon();
  void SetIcon(TIcon* value);
  TMetafile* Metafile();
  void SetMetafile(TMetafile* value);
  int Width() const;
  int Height() const;

  // The format follows the extension; EInvalidGraphic "Unknown picture file extension (.%s)".
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName);

  // File formats known to LoadFromFile: extension without dot, any case.
  static void RegisterFileFormat(std::string_view extension, std::string_view description,
                                 const TClassInfo& graphicClass);
  static void UnregisterGraphicClass(const TClassInfo& graphicClass);
  // The graphic class registered for an extension (with or without dot), or null.
  static const TClassInfo* GraphicClassOfExtension(std::string_view extension);

  TNotifyEvent OnChange;

 protected:
  virtual void Changed(TObject* sender);

 private:
  void ForceType(const TClassInfo& cls);
  void TakeGraphic(TGraphic* graphic);
  void ReadData(TStream& stream);
  void WriteData(TStream& stream);

  TGraphic* graphic_ = nullptr;
};

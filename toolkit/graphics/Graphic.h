// TGraphic: the abstract picture (bitmap, icon, metafile) a canvas can draw, a picture can
// hold and a layout can store. Descendants keep their image, report their size, draw into a
// rectangle of a canvas and read/write their file format; OnChange follows every change.
#pragma once

#include <string>

#include "toolkit/classes/Events.h"
#include "toolkit/classes/Persistent.h"
#include "toolkit/graphics/Types.h"

class TCanvas;
class TStream;

class TGraphic : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int value) = 0;
  virtual void SetHeight(int value) = 0;
  virtual void SetSize(int width, int height) {
    SetWidth(width);
    SetHeight(height);
  }
  virtual bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool value);
  // The colour palette of the image, for displays with a colour palette (owned by the
  // graphic, valid until its image changes); null when it has none.
  virtual HPALETTE Palette() { return nullptr; }
  bool Modified() const { return modified_; }
  void SetModified(bool value);

  // The file format (BMP, ICO, EMF): read from the stream's position / written at it.
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) = 0;
  // EFOpenError / EFCreateError for files that cannot be opened or made.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName);

  // How a picture stores this graphic in a layout (its "Data" entry): the file format by
  // default; a bitmap prefixes its size.
  virtual void ReadData(TStream& stream) { LoadFromStream(stream); }
  virtual void WriteData(TStream& stream) { SaveToStream(stream); }

  TNotifyEvent OnChange;

 protected:
  friend class TCanvas;
  // Draws the graphic scaled into `rect` of the canvas.
  virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;
  virtual void Changed();

 private:
  bool transparent_ = false;
  bool modified_ = false;
};

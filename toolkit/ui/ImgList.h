// TCustomImageList / TImageList: a list of equally sized images over the platform's image list
// (HIMAGELIST, 24-bit colour with a mask), drawn enabled or greyed. Controls that show its
// images register a TChangeLink to hear of every change. Layouts store the images as the
// binary entry "Bitmap": the image strip and its mask strip as two BMP files, each after its
// 32-bit byte count.
#pragma once

#include <vector>

#include "toolkit/classes/Component.h"
#include "toolkit/classes/Events.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/system/WinApi.h"

#include <commctrl.h>

class TBitmap;
class TStream;
class TCanvas;
class TCustomImageList;

class TChangeLink {
 public:
  TChangeLink() = default;
  TChangeLink(const TChangeLink&) = delete;
  TChangeLink& operator=(const TChangeLink&) = delete;
  ~TChangeLink();
  TCustomImageList* Sender() const { return sender_; }
  TNotifyEvent OnChange;

 private:
  friend class TCustomImageList;
  TCustomImageList* sender_ = nullptr;
};

class TCustomImageList : public TComponent {
 public:
  explicit TCustomImageList(TComponent* owner);
  ~TCustomImageList() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  int Width() const { return width_; }
  void SetWidth(int value);
  int Height() const { return height_; }
  void SetHeight(int value);
  int Count() const;
  HIMAGELIST Handle();

  // Adds an image (and its mask; null: none), answering its index.
  int Add(TBitmap* image, TBitmap* mask);
  // Adds an image whose pixels of `maskColor` are transparent.
  int AddMasked(TBitmap* image, TColor maskColor);
  void Delete(int index);
  void Clear();
  // Draws image `index` at (x, y); disabled images are drawn greyed. Nothing for a bad index.
  void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
  // Copies image `index` onto `image` (resized to the list's size, background white).
  void GetBitmap(int index, TBitmap* image);

  void RegisterChanges(TChangeLink* link);
  void UnRegisterChanges(TChangeLink* link);

  TNotifyEvent OnChange;

 protected:
  void DefineProperties(TFiler& filer) override;
  virtual void Change();

 private:
  void ReadImages(TStream& stream);
  void WriteImages(TStream& stream);
  void Recreate();

  int width_ = 16;
  int height_ = 16;
  HIMAGELIST handle_ = nullptr;
  std::vector<TChangeLink*> links_;
};

class TImageList : public TCustomImageList {
 public:
  explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
};

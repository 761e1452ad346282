// The image filter framework: TKelFilter (a collection item with an optional region that
// changes a bitmap in place through precomputed row addresses), TFilterItems (the ordered
// filter list of a picture), the 3 × 3 convolution base and the blur filter the smooth text
// and shape shadows use, and the texts the filters show (English until the chart library's
// text table assigns its own).
//
// Invariants: a filter only touches pixels inside its rectangle clipped to the bitmap (an
// empty intersection does nothing); a 24- or 32-bit bitmap is worked on in its own layout and
// never converted, so a bitmap a canvas is drawing into stays selected and valid; other pixel
// formats are made 24-bit first.
#pragma once

#include <string>
#include <vector>

#include "toolkit/classes/Collection.h"
#include "toolkit/classes/Events.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Types.h"

class TBitmap;
class TStream;
class TFilterItems;

// The filter names and editor captions; the chart library assigns its texts at start-up.
struct TKelFilterTexts {
  std::string Invert = "Invert", GrayScale = "Gray scale", Mosaic = "Mosaic", Flip = "Flip", Reverse = "Reverse",
              Brightness = "Brightness", Contrast = "Contrast", Color = "Color", ColorReplacer = "Color Replacer",
              HueLumSat = "Hue,Lum,Sat", Blur = "Blur", Sharpen = "Sharpen", Gamma = "Gamma correction",
              Emboss = "Emboss", Antialias = "Antialias", Crop = "Crop", Resize = "Resize", Rotate = "Rotate",
              Mirror = "Mirror", Tile = "Tile", Bevel = "Bevel", Equalize = "Equalize", Zoom = "Zoom",
              Sobel = "Sobel", Sepia = "Sepia", Percent = "Percent", Smooth = "Smooth", Width = "Width",
              Height = "Height", Left = "Left", Top = "Top", Back = "Back", Autosize = "Autosize",
              Columns = "Columns", Rows = "Rows";
};
extern TKelFilterTexts KelFilterTexts;

// What a filter declares to a filter editor: one entry per editable property. The editor
// itself is not part of the program; tests record the declarations.
class TFilterEditorBuilder {
 public:
  virtual ~TFilterEditorBuilder() = default;
  virtual void AddCheckBox(const std::string& property, const std::string& caption) = 0;
  virtual void AddColor(const std::string& property, const std::string& caption) = 0;
  virtual void AddCombo(const std::string& property, const std::string& caption) = 0;
  virtual void AddInteger(const std::string& property, const std::string& caption, int minimum, int maximum) = 0;
  virtual void AddScroll(const std::string& property, const std::string& caption, int minimum, int maximum) = 0;
};

// Left, Top, Width, Height: a width or height of 0 reaches the bitmap's right or bottom edge.
class TFilterRegion : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(TPersistent* source) override;

  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};

// Row access of one bitmap as a filter sees it: row addresses top to bottom and the bytes per
// pixel (3: blue, green, red; 4: blue, green, red, alpha).
struct TFilterRows {
  std::vector<unsigned char*> rows;
  int pixelBytes = 3;
  int width = 0;
  int height = 0;
  bool Empty() const { return rows.empty() || width <= 0; }
};
// Prepares the rows of `bitmap`: 24- and 32-bit bitmaps keep their layout; other formats
// become 32-bit when `want32` is set, else 24-bit.
TFilterRows FilterRowsOf(TBitmap& bitmap, bool want32 = false);

class TKelFilter : public TCollectionItem {
 public:
  explicit TKelFilter(TCollection* collection);
  ~TKelFilter() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // From another filter: every published value the two classes share (Enabled, Region and
  // the descendant's own settings).
  void Assign(TPersistent* source) override;

  bool Enabled() const { return enabled_; }
  void ChangeEnabled(bool value);
  // Made on first read; setting null frees it, setting a region copies its four values.
  TFilterRegion* ReadRegion();
  bool HasRegion() const { return region_ != nullptr; }
  void ChangeRegion(TFilterRegion* value);
  bool RegionAllowed() const { return regionAllowed_; }

  // Changes `bitmap` in place inside `rect` (inclusive pixel indices). The base clips the
  // rectangle to the bitmap, prepares the rows (unless reuse rows is set) and, when anything
  // is left, calls Process.
  virtual void Apply(TBitmap& bitmap, const TRect& rect);
  // Stores the change callback and declares the editable properties.
  virtual void SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback);
  // The name an editor shows: the class name unless a descendant has a text.
  virtual std::string FilterCaption() const;
  // Start values for a filter a user just added (none in the base).
  virtual void ResetToStartValues() {}

  // True when the current rows are empty (a bitmap of height 0) or the clipped rectangle is.
  bool HasNoScanLines() const { return rows_.Empty() || clipped_.Left > clipped_.Right || clipped_.Top > clipped_.Bottom; }
  const TFilterRows& Rows() const { return rows_; }

  bool ReuseRows = false;
  bool Use32BitRows = false;

 protected:
  // The pixels inside `r` (already clipped, rows prepared) are the filter's to change.
  virtual void Process(TBitmap&, const TRect&) {}
  void PrepareScanLines(TBitmap& bitmap);
  TRect ClipToBitmap(const TRect& rect) const;

  bool regionAllowed_ = true;
  TNotifyEvent onChange_;
  TFilterRows rows_;
  TRect clipped_;

 private:
  bool enabled_ = true;
  TFilterRegion* region_ = nullptr;
};

// The rectangle a filter works on: its region (width or height 0 reaching the far edge) or the
// whole bitmap; then Apply.
void ApplyFilterToBitmap(TKelFilter& filter, TBitmap& bitmap);
// A filter of the class made without a collection, applied to the whole bitmap and freed.
void ApplyFilterClass(const TClassInfo& filterClass, TBitmap& bitmap);

class TFilterItems : public TOwnedCollection {
 public:
  explicit TFilterItems(TPersistent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // From another filter list: a new filter of each source filter's class, assigned from it.
  void Assign(TPersistent* source) override;

  // A new filter of `filterClass` (a TKelFilter descendant) at the end of the list.
  TKelFilter* Add(const TClassInfo& filterClass);
  TKelFilter* FilterAt(int index) const;
  // Every enabled filter in list order.
  void ApplyAll(TBitmap& bitmap);

  TNotifyEvent OnChange;
  bool ChangedFlag = false;

 protected:
  void Update(TCollectionItem* item) override;
  void Notify(TCollectionItem* item, TCollectionNotification action) override;
};

// The 3 × 3 convolution: weights w0..w8 in row order (above, own row, below; left, centre,
// right). Interior pixels of the rectangle are computed from their unfiltered neighbours;
// the rectangle's border rows and columns keep their values. The alpha byte is not computed.
class TConvolveFilter : public TKelFilter {
 public:
  explicit TConvolveFilter(TCollection* collection) : TKelFilter(collection) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  float Weights[9] = {0, 0, 0, 0, 1, 0, 0, 0, 0};
  bool KeepBuffer = false;

 protected:
  void Process(TBitmap& bitmap, const TRect& r) override;
  void MakeConvolveBuffer(const TRect& r);
  void FreeConvolveBuffer();

 private:
  std::vector<unsigned char> buffer_;
  int bufferStride_ = 0;
};

class TBlurFilter : public TConvolveFilter {
 public:
  explicit TBlurFilter(TCollection* collection) : TConvolveFilter(collection) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  // Box weights with Amount at the centre, Steps passes over the same rectangle; 32-bit rows
  // when the bitmap's device has 32 bits per pixel.
  void Apply(TBitmap& bitmap, const TRect& rect) override;
  void SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) override;
  std::string FilterCaption() const override { return KelFilterTexts.Blur; }

  int Amount = 1;
  int Steps = 1;
};

// A stream over the RCDATA resource `name` of the program, the resource module or any loaded
// module, in that order; null when none has it. Owned by the caller.
TStream* FindResourceStream(const std::string& name);

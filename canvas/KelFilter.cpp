// The image filter framework (see KelFilter.h): regions, row preparation, the filter list and
// the convolution engine with the blur.
#include "canvas/KelFilter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <emmintrin.h>
#include <memory>

#include "canvas/BitmapUtils.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/rtl/SysUtils.h"

#include <tlhelp32.h>

TKelFilterTexts KelFilterTexts;

// ---- Rows ------------------------------------------------------------------------------------

TFilterRows FilterRowsOf(TBitmap& bitmap, bool want32) {
  TFilterRows result;
  if (bitmap.Width() <= 0 || bitmap.Height() <= 0) return result;
  const int bits = PixelFormatBits(bitmap.PixelFormat());
  if (bits != 24 && bits != 32) bitmap.SetPixelFormat(want32 ? pf32bit : pf24bit);
  result.pixelBytes = PixelFormatBits(bitmap.PixelFormat()) == 32 ? 4 : 3;
  result.width = bitmap.Width();
  result.height = bitmap.Height();
  result.rows.resize(static_cast<size_t>(result.height));
  result.rows[0] = static_cast<unsigned char*>(bitmap.ScanLine(0));
  if (result.height > 1) {
    const std::ptrdiff_t stride = static_cast<unsigned char*>(bitmap.ScanLine(1)) - result.rows[0];
    for (int i = 1; i < result.height; ++i) result.rows[i] = result.rows[i - 1] + stride;
  }
  return result;
}

// ---- TFilterRegion ---------------------------------------------------------------------------

const TClassInfo& TFilterRegion::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TFilterRegion>("TFilterRegion", &TPersistent::StaticClass())
          .Property("Left", [](TFilterRegion& r) { return r.Left; }, [](TFilterRegion& r, int v) { r.Left = v; })
          .Default(0)
          .Property("Top", [](TFilterRegion& r) { return r.Top; }, [](TFilterRegion& r, int v) { r.Top = v; })
          .Default(0)
          .Property("Width", [](TFilterRegion& r) { return r.Width; }, [](TFilterRegion& r, int v) { r.Width = v; })
          .Default(0)
          .Property("Height", [](TFilterRegion& r) { return r.Height; },
                    [](TFilterRegion& r, int v) { r.Height = v; })
          .Default(0)
          .Build();
  return info;
}

void TFilterRegion::Assign(TPersistent* source) {
  if (auto* region = dynamic_cast<TFilterRegion*>(source)) {
    Left = region->Left;
    Top = region->Top;
    Width = region->Width;
    Height = region->Height;
    return;
  }
  TPersistent::Assign(source);
}

// ---- TKelFilter ------------------------------------------------------------------------------

TKelFilter::TKelFilter(TCollection* collection) : TCollectionItem(collection) {}

TKelFilter::~TKelFilter() { delete region_; }

const TClassInfo& TKelFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TKelFilter>("TKelFilter", &TCollectionItem::StaticClass())
                                     .Property("Enabled", &TKelFilter::Enabled, &TKelFilter::ChangeEnabled)
                                     .Default(true)
                                     .Property("Region", &TKelFilter::ReadRegion, &TKelFilter::ChangeRegion)
                                     .Build();
  return info;
}

void TKelFilter::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TKelFilter*>(source);
  if (other == nullptr) {
    TCollectionItem::Assign(source);
    return;
  }
  // The settings both classes publish, then the base part through its setters.
  for (const TPropInfo* prop : ClassType().Properties()) {
    if (prop->name == "Enabled" || prop->name == "Region") continue;
    const TPropInfo* from = other->ClassType().FindProperty(prop->name);
    if (from == nullptr || from->kind != prop->kind) continue;
    switch (prop->kind) {
      case TTypeKind::tkInteger:
      case TTypeKind::tkInt64:
      case TTypeKind::tkBool:
      case TTypeKind::tkEnumeration:
      case TTypeKind::tkChar:
      case TTypeKind::tkSet:
        if (prop->setOrd && from->getOrd) prop->setOrd(*this, from->getOrd(*other));
        break;
      case TTypeKind::tkFloat:
        if (prop->setFloat && from->getFloat) prop->setFloat(*this, from->getFloat(*other));
        break;
      case TTypeKind::tkString:
        if (prop->setStr && from->getStr) prop->setStr(*this, from->getStr(*other));
        break;
      default:
        break;
    }
  }
  ChangeEnabled(other->Enabled());
  ChangeRegion(other->region_);
}

void TKelFilter::ChangeEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  onChange_(this);
}

TFilterRegion* TKelFilter::ReadRegion() {
  if (region_ == nullptr) region_ = new TFilterRegion();
  return region_;
}

void TKelFilter::ChangeRegion(TFilterRegion* value) {
  if (value == region_) return;
  if (value == nullptr) {
    delete region_;
    region_ = nullptr;
    return;
  }
  ReadRegion()->Assign(value);
}

TRect TKelFilter::ClipToBitmap(const TRect& rect) const {
  return TRect(std::max(rect.Left, 0), std::max(rect.Top, 0), std::min(rect.Right, rows_.width - 1),
               std::min(rect.Bottom, rows_.height - 1));
}

void TKelFilter::PrepareScanLines(TBitmap& bitmap) { rows_ = FilterRowsOf(bitmap, Use32BitRows); }

void TKelFilter::Apply(TBitmap& bitmap, const TRect& rect) {
  if (!ReuseRows) PrepareScanLines(bitmap);
  clipped_ = ClipToBitmap(rect);
  if (HasNoScanLines()) return;
  Process(bitmap, clipped_);
}

void TKelFilter::SetChangeHook(TFilterEditorBuilder*, TNotifyEvent callback) { onChange_ = callback; }

std::string TKelFilter::FilterCaption() const { return ClassName(); }

void ApplyFilterToBitmap(TKelFilter& filter, TBitmap& bitmap) {
  const int w = bitmap.Width();
  const int h = bitmap.Height();
  if (!filter.HasRegion()) {
    filter.Apply(bitmap, TRect(0, 0, w - 1, h - 1));
    return;
  }
  const TFilterRegion& region = *filter.ReadRegion();
  // 64-bit sums: a huge Width or Height must not wrap round into the bitmap.
  const long long left = region.Left;
  const long long top = region.Top;
  const long long right = region.Width != 0 ? std::min<long long>(w - 1, region.Width + left) : std::max<long long>(left, w - 1);
  const long long bottom =
      region.Height != 0 ? std::min<long long>(h - 1, region.Height + top) : std::max<long long>(top, h - 1);
  auto clampInt = [](long long v) { return static_cast<int>(std::clamp<long long>(v, -1000000000LL, 1000000000LL)); };
  filter.Apply(bitmap, TRect(clampInt(left), clampInt(top), clampInt(right), clampInt(bottom)));
}

void ApplyFilterClass(const TClassInfo& filterClass, TBitmap& bitmap) {
  std::unique_ptr<TObject> made(filterClass.CreateInstance(nullptr));
  auto* filter = dynamic_cast<TKelFilter*>(made.get());
  if (filter == nullptr) throw EInvalidCast("Invalid class typecast");
  ApplyFilterToBitmap(*filter, bitmap);
}

// ---- TFilterItems ----------------------------------------------------------------------------

TFilterItems::TFilterItems(TPersistent* owner) : TOwnedCollection(owner, TKelFilter::StaticClass()) {}

const TClassInfo& TFilterItems::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TFilterItems>("TFilterItems", &TOwnedCollection::StaticClass()).Abstract().Build();
  return info;
}

void TFilterItems::Assign(TPersistent* source) {
  auto* other = dynamic_cast<TFilterItems*>(source);
  if (other == nullptr) {
    TOwnedCollection::Assign(source);
    return;
  }
  if (other == this) return;
  Clear();
  BeginUpdate();
  try {
    for (int i = 0; i < other->Count(); ++i) {
      TKelFilter* from = other->FilterAt(i);
      Add(from->ClassType())->Assign(from);
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TKelFilter* TFilterItems::Add(const TClassInfo& filterClass) {
  if (!filterClass.InheritsFrom(TKelFilter::StaticClass())) throw EInvalidCast("Invalid class typecast");
  return static_cast<TKelFilter*>(filterClass.CreateInstance(this));
}

TKelFilter* TFilterItems::FilterAt(int index) const { return static_cast<TKelFilter*>(Items(index)); }

void TFilterItems::ApplyAll(TBitmap& bitmap) {
  for (int i = 0; i < Count(); ++i) {
    TKelFilter* filter = FilterAt(i);
    if (filter->Enabled()) ApplyFilterToBitmap(*filter, bitmap);
  }
}

void TFilterItems::Update(TCollectionItem* item) {
  TOwnedCollection::Update(item);
  ChangedFlag = true;
}

void TFilterItems::Notify(TCollectionItem* item, TCollectionNotification action) {
  TOwnedCollection::Notify(item, action);
  OnChange(this);
}

// ---- Convolution -----------------------------------------------------------------------------

const TClassInfo& TConvolveFilter::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TConvolveFilter>("TConvolveFilter", &TKelFilter::StaticClass()).Build();
  return info;
}

void TConvolveFilter::MakeConvolveBuffer(const TRect& r) {
  bufferStride_ = (r.Right - r.Left + 1) * rows_.pixelBytes;
  // Two rows are enough: a row is written back once the row below it has been computed, as
  // no later row reads it.
  buffer_.assign(static_cast<size_t>(bufferStride_) * 2, 0);
}

void TConvolveFilter::FreeConvolveBuffer() {
  buffer_.clear();
  buffer_.shrink_to_fit();
  bufferStride_ = 0;
}

namespace {

// Round to nearest with halves to even (the SSE default rounding), as the run-time library's
// Round does, without a library call per channel.
inline int RoundEven(double v) { return _mm_cvtsd_si32(_mm_set_sd(v)); }

inline unsigned char ToByte(double v) { return v <= 0 ? 0 : (v >= 255 ? 255 : static_cast<unsigned char>(RoundEven(v))); }

// Per row: the vertical sums of three rows for every byte from the pixel left of the first
// interior pixel to the one right of the last, so a 3 × 3 box sum is three additions.
void ColumnSums(const unsigned char* above, const unsigned char* row, const unsigned char* below, int from, int to,
                std::vector<int>& sums) {
  for (int i = from; i < to; ++i) sums[i - from] = above[i] + row[i] + below[i];
}

// One interior row of a convolution into `out` (its first interior pixel). P is the bytes per
// pixel; `sums` holds ColumnSums from byte (first - 1) * P.
template <int P>
void ConvolveBoxRow(const unsigned char* row, const int* sums, unsigned char* out, int first, int last) {
  for (int x = first; x <= last; ++x) {
    const int o = (x - first) * P;
    for (int c = 0; c < 3; ++c) {
      const int i = o + P + c;
      out[o + c] = static_cast<unsigned char>((sums[i - P] + sums[i] + sums[i + P]) / 9);
    }
    if constexpr (P == 4) out[o + 3] = row[x * P + 3];
  }
}

// Kernels whose eight neighbours share one weight (sharpen, blur with any Amount).
template <int P>
void ConvolveRingRow(const unsigned char* row, const int* sums, unsigned char* out, int first, int last,
                     double around, double centre, double divisor) {
  for (int x = first; x <= last; ++x) {
    const int o = (x - first) * P;
    for (int c = 0; c < 3; ++c) {
      const int i = o + P + c;
      const int own = row[x * P + c];
      const int box = sums[i - P] + sums[i] + sums[i + P];
      out[o + c] = ToByte((around * (box - own) + centre * own) / divisor);
    }
    if constexpr (P == 4) out[o + 3] = row[x * P + 3];
  }
}

template <int P>
void ConvolveRow(const unsigned char* above, const unsigned char* row, const unsigned char* below,
                 unsigned char* out, int first, int last, const double* w, double divisor) {
  for (int x = first; x <= last; ++x) {
    const int o = x * P;
    for (int c = 0; c < 3; ++c) {
      const int i = o + c;
      const double sum = w[0] * above[i - P] + w[1] * above[i] + w[2] * above[i + P] + w[3] * row[i - P] +
                         w[4] * row[i] + w[5] * row[i + P] + w[6] * below[i - P] + w[7] * below[i] +
                         w[8] * below[i + P];
      out[(x - first) * P + c] = ToByte(sum / divisor);
    }
    if constexpr (P == 4) out[(x - first) * P + 3] = row[o + 3];
  }
}

}  // namespace

void TConvolveFilter::Process(TBitmap&, const TRect& r) {
  if (r.Right - r.Left < 2 || r.Bottom - r.Top < 2) return;  // no interior pixel
  if (!KeepBuffer || buffer_.empty()) MakeConvolveBuffer(r);
  const int P = rows_.pixelBytes;
  double w[9];
  double divisor = 0;
  for (int k = 0; k < 9; ++k) {
    w[k] = Weights[k];
    divisor += w[k];
  }
  // Weights summing to 0 (a blur Amount of -8) divide by 1 and clamp.
  if (divisor == 0) divisor = 1;
  const bool ring = w[0] == w[1] && w[0] == w[2] && w[0] == w[3] && w[0] == w[5] && w[0] == w[6] && w[0] == w[7] &&
                    w[0] == w[8];
  const bool box = ring && w[0] == 1 && w[4] == 1;
  const int first = r.Left + 1;
  const int last = r.Right - 1;
  const int from = (first - 1) * P;
  const int to = (last + 2) * P;
  std::vector<int> sums(static_cast<size_t>(to - from));
  const size_t bytes = static_cast<size_t>(last - first + 1) * P;
  auto writeBack = [&](int y) {
    std::memcpy(rows_.rows[y] + first * P, buffer_.data() + static_cast<size_t>(y & 1) * bufferStride_ + P, bytes);
  };
  for (int y = r.Top + 1; y <= r.Bottom - 1; ++y) {
    unsigned char* out = buffer_.data() + static_cast<size_t>(y & 1) * bufferStride_ + P;
    const unsigned char* above = rows_.rows[y - 1];
    const unsigned char* row = rows_.rows[y];
    const unsigned char* below = rows_.rows[y + 1];
    if (ring) ColumnSums(above, row, below, from, to, sums);
    if (box) {
      if (P == 4) {
        ConvolveBoxRow<4>(row, sums.data(), out, first, last);
      } else {
        ConvolveBoxRow<3>(row, sums.data(), out, first, last);
      }
    } else if (ring) {
      if (P == 4) {
        ConvolveRingRow<4>(row, sums.data(), out, first, last, w[0], w[4], divisor);
      } else {
        ConvolveRingRow<3>(row, sums.data(), out, first, last, w[0], w[4], divisor);
      }
    } else if (P == 4) {
      ConvolveRow<4>(above, row, below, out, first, last, w, divisor);
    } else {
      ConvolveRow<3>(above, row, below, out, first, last, w, divisor);
    }
    if (y - 1 > r.Top) writeBack(y - 1);
  }
  writeBack(r.Bottom - 1);
  if (!KeepBuffer) FreeConvolveBuffer();
}

// ---- Blur ------------------------------------------------------------------------------------

const TClassInfo& TBlurFilter::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TBlurFilter>("TBlurFilter", &TConvolveFilter::StaticClass())
          .Property("Amount", [](TBlurFilter& f) { return f.Amount; }, [](TBlurFilter& f, int v) { f.Amount = v; })
          .Default(1)
          .Property("Steps", [](TBlurFilter& f) { return f.Steps; }, [](TBlurFilter& f, int v) { f.Steps = v; })
          .Default(1)
          .Build();
  return info;
}

void TBlurFilter::Apply(TBitmap& bitmap, const TRect& rect) {
  for (float& w : Weights) w = 1;
  Weights[4] = static_cast<float>(Amount);
  if (!bitmap.Empty()) Use32BitRows = BitsPerPixelOf(bitmap.Canvas()->Handle()) == 32;
  PrepareScanLines(bitmap);
  clipped_ = ClipToBitmap(rect);
  if (HasNoScanLines()) return;
  ReuseRows = true;
  KeepBuffer = true;
  try {
    MakeConvolveBuffer(clipped_);
    for (int i = 0; i < Steps; ++i) Process(bitmap, clipped_);
  } catch (...) {
    FreeConvolveBuffer();
    ReuseRows = false;
    KeepBuffer = false;
    throw;
  }
  FreeConvolveBuffer();
  ReuseRows = false;
  KeepBuffer = false;
}

void TBlurFilter::SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) {
  TConvolveFilter::SetChangeHook(builder, callback);
  if (builder == nullptr) return;
  builder->AddScroll("Steps", "Steps", 1, 20);
  builder->AddScroll("Amount", "Amount", 0, 50);
}

// ---- Resources -------------------------------------------------------------------------------

TStream* FindResourceStream(const std::string& name) {
  const std::wstring wide(name.begin(), name.end());
  auto has = [&](HMODULE module) {
    return module != nullptr && FindResourceW(module, wide.c_str(), MAKEINTRESOURCEW(10)) != nullptr;
  };
  HMODULE program = GetModuleHandleW(nullptr);
  if (has(program)) return new TResourceStream(program, name, MAKEINTRESOURCEW(10));
  // No separate resource module: every loaded module in turn.
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return nullptr;
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  TStream* found = nullptr;
  for (BOOL more = Module32FirstW(snapshot, &entry); more && found == nullptr; more = Module32NextW(snapshot, &entry)) {
    if (has(entry.hModule)) found = new TResourceStream(entry.hModule, name, MAKEINTRESOURCEW(10));
  }
  CloseHandle(snapshot);
  return found;
}

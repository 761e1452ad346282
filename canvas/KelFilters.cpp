// The image filter catalogue (see KelFilters.h): class information and editor declarations,
// the colour and neighbourhood operations, registration and the gradient rotation hook. The
// geometry operations are in KelFiltersGeometry.cpp.
#include "canvas/KelFilters.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "canvas/KelCanvasModule.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/ui/Control.h"

namespace {

template <class C, class V>
auto Get(V C::*member) {
  return [member](C& c) -> V { return c.*member; };
}
template <class C, class V>
auto Put(V C::*member) {
  return [member](C& c, V v) { c.*member = v; };
}

inline unsigned char Clamp255(long long v) { return static_cast<unsigned char>(v < 0 ? 0 : (v > 255 ? 255 : v)); }
// Halves to even, as the run-time library rounds.
inline long long RoundEven(double v) { return std::llrint(v); }

// Calls f(pixel) for every pixel of the inclusive rectangle r.
template <class F>
void ForEachPixel(const TFilterRows& rows, const TRect& r, F f) {
  const int p = rows.pixelBytes;
  for (int y = r.Top; y <= r.Bottom; ++y) {
    unsigned char* px = rows.rows[y] + r.Left * p;
    for (int x = r.Left; x <= r.Right; ++x, px += p) f(px);
  }
}

std::vector<std::string>* filterNames = nullptr;

}  // namespace

const TEnumInfo& EnumTypeInfo(TGrayMethod) {
  static const TEnumInfo info("TGrayMethod", {"gmSimple", "gmEye", "gmEye2", "gmLight"});
  return info;
}
const TEnumInfo& EnumTypeInfo(TColorMethod) {
  static const TEnumInfo info("TColorMethod", {"cmHue", "cmLum", "cmSat"});
  return info;
}
const TEnumInfo& EnumTypeInfo(TMirrorDirection) {
  static const TEnumInfo info("TMirrorDirection", {"mdDown", "mdUp", "mdRight", "mdLeft"});
  return info;
}

// ---- HLS -------------------------------------------------------------------------------------

void RgbToHls(int r, int g, int b, int& h, int& l, int& s) {
  const double mx = std::max({r, g, b});
  const double mn = std::min({r, g, b});
  l = static_cast<int>(std::clamp<long long>(RoundEven(((mx + mn) * 240 + 255) / 510), 0, 255));
  if (mx == mn) {
    h = 160;
    s = 0;
    return;
  }
  double sv;
  if (l <= 120) {
    sv = ((mx - mn) * 240 + (mx + mn) / 2) / (mx + mn);
  } else {
    sv = ((mx - mn) * 240 + (510 - mx - mn) / 2) / (510 - mx - mn);
  }
  s = static_cast<int>(std::clamp<long long>(RoundEven(sv), 0, 255));
  const double d = mx - mn;
  const double rd = ((mx - r) * 40 + d / 2) / d;
  const double gd = ((mx - g) * 40 + d / 2) / d;
  const double bd = ((mx - b) * 40 + d / 2) / d;
  double hv;
  if (r == mx) {
    hv = bd - gd;
  } else if (g == mx) {
    hv = 80 + rd - bd;
  } else {
    hv = 160 + gd - rd;
  }
  if (hv < 0) hv += 240;
  if (hv > 240) hv -= 240;
  h = static_cast<int>(std::clamp<long long>(RoundEven(hv), 0, 255));
}

namespace {
double HueValue(double m1, double m2, double hue) {
  if (hue < 0) hue += 240;
  if (hue > 240) hue -= 240;
  if (hue < 40) return m1 + ((m2 - m1) * hue + 20) / 40;
  if (hue < 120) return m2;
  if (hue < 160) return m1 + ((m2 - m1) * (160 - hue) + 20) / 40;
  return m1;
}
int HlsChannel(double m1, double m2, double hue) {
  const double v = static_cast<double>(RoundEven(HueValue(m1, m2, hue)));
  return static_cast<int>(std::clamp<long long>(RoundEven((v * 255 + 120) / 240), 0, 255));
}
}  // namespace

void HlsToRgb(int h, int l, int s, int& r, int& g, int& b) {
  if (s == 0) {
    r = g = b = static_cast<int>(std::clamp<long long>(RoundEven(l * 255.0 / 240), 0, 255));
    return;
  }
  const double m2 = l <= 120 ? (l * (240.0 + s) + 120) / 240 : l + s - (l * static_cast<double>(s) + 120) / 240;
  const double m1 = 2.0 * l - m2;
  r = HlsChannel(m1, m2, h + 80);
  g = HlsChannel(m1, m2, h);
  b = HlsChannel(m1, m2, h - 80);
}

// ---- Colour operations -----------------------------------------------------------------------

const TClassInfo& TInvertFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TInvertFilter>("TInvertFilter", &TKelFilter::StaticClass()).Build();
  return info;
}

void TInvertFilter::Process(TBitmap&, const TRect& r) {
  ForEachPixel(rows_, r, [](unsigned char* p) {
    p[0] = static_cast<unsigned char>(255 - p[0]);
    p[1] = static_cast<unsigned char>(255 - p[1]);
    p[2] = static_cast<unsigned char>(255 - p[2]);
  });
}

const TClassInfo& TGrayScaleFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TGrayScaleFilter>("TGrayScaleFilter", &TKelFilter::StaticClass())
                                     .Property("Method", Get(&TGrayScaleFilter::Method), Put(&TGrayScaleFilter::Method))
                                     .Default(gmSimple)
                                     .Build();
  return info;
}

void TGrayScaleFilter::SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) {
  TKelFilter::SetChangeHook(builder, callback);
  if (builder != nullptr) builder->AddCombo("Method", "Method");
}

void TGrayScaleFilter::Process(TBitmap&, const TRect& r) {
  const TGrayMethod method = Method;
  ForEachPixel(rows_, r, [method](unsigned char* p) {
    const int b = p[0], g = p[1], red = p[2];
    int v;
    switch (method) {
      case gmEye: v = static_cast<int>(RoundEven(0.299 * red + 0.587 * g + 0.114 * b)); break;
      case gmEye2: v = (11 * red + 16 * g + 5 * b) >> 5; break;
      case gmLight: v = (std::max({red, g, b}) + std::min({red, g, b})) >> 1; break;
      default: v = (red + g + b) / 3; break;
    }
    p[0] = p[1] = p[2] = Clamp255(v);
  });
}

const TClassInfo& TAmountFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TAmountFilter>("TAmountFilter", &TKelFilter::StaticClass())
                                     .Property("Amount", Get(&TAmountFilter::Amount), Put(&TAmountFilter::Amount))
                                     .Default(5)
                                     .Property("Percent", Get(&TAmountFilter::Percent), Put(&TAmountFilter::Percent))
                                     .Default(true)
                                     .Build();
  return info;
}

void TAmountFilter::ScrollRange(int& minimum, int& maximum) const {
  maximum = Percent ? 100 : 255;
  minimum = OnlyPositive ? 0 : -maximum;
}

void TAmountFilter::SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) {
  TKelFilter::SetChangeHook(builder, callback);
  if (builder == nullptr) return;
  int minimum, maximum;
  ScrollRange(minimum, maximum);
  builder->AddScroll("Amount", "Amount", minimum, maximum);
  builder->AddCheckBox("Percent", KelFilterTexts.Percent);
}

TMosaicFilter::TMosaicFilter(TCollection* collection) : TAmountFilter(collection) {
  Amount = 8;
  Percent = false;
  OnlyPositive = true;
}

const TClassInfo& TMosaicFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TMosaicFilter>("TMosaicFilter", &TAmountFilter::StaticClass())
                                     .Property("Amount", Get(&TMosaicFilter::Amount), Put(&TMosaicFilter::Amount))
                                     .Default(8)
                                     .Property("Percent", Get(&TMosaicFilter::Percent), Put(&TMosaicFilter::Percent))
                                     .Default(false)
                                     .Build();
  return info;
}

void TMosaicFilter::Process(TBitmap&, const TRect& r) {
  if (Amount < 1) return;
  int size = Amount;
  if (Percent) {
    size = static_cast<int>(std::max<long long>(1, RoundEven(std::min(r.Right - r.Left, r.Bottom - r.Top) * Amount * 0.01)));
  }
  const int p = rows_.pixelBytes;
  for (int top = r.Top; top <= r.Bottom; top += size) {
    const int bottom = std::min(r.Bottom, top + size - 1);
    for (int left = r.Left; left <= r.Right; left += size) {
      const int right = std::min(r.Right, left + size - 1);
      long long sum[3] = {0, 0, 0};
      for (int y = top; y <= bottom; ++y) {
        const unsigned char* px = rows_.rows[y] + left * p;
        for (int x = left; x <= right; ++x, px += p) {
          sum[0] += px[0];
          sum[1] += px[1];
          sum[2] += px[2];
        }
      }
      const double scale = 1.0 / ((bottom - top + 1) * static_cast<double>(right - left + 1));
      unsigned char mean[3];
      for (int c = 0; c < 3; ++c) mean[c] = Clamp255(RoundEven(sum[c] * scale));
      for (int y = top; y <= bottom; ++y) {
        unsigned char* px = rows_.rows[y] + left * p;
        for (int x = left; x <= right; ++x, px += p) {
          px[0] = mean[0];
          px[1] = mean[1];
          px[2] = mean[2];
        }
      }
    }
  }
}

const TClassInfo& TBrightnessFilter::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TBrightnessFilter>("TBrightnessFilter", &TAmountFilter::StaticClass()).Build();
  return info;
}

void TBrightnessFilter::Process(TBitmap&, const TRect& r) {
  if (Amount == 0) return;
  // The percentage is taken as a single first: 30 % is 0.3f × 255 = 76.50000304, so 77.
  const long long delta =
      Percent ? RoundEven(static_cast<double>(static_cast<float>(Amount * 0.01)) * 255) : Amount;
  ForEachPixel(rows_, r, [delta](unsigned char* p) {
    for (int c = 0; c < 3; ++c) p[c] = Clamp255(p[c] + delta);
  });
}

const TClassInfo& TContrastFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TContrastFilter>("TContrastFilter", &TAmountFilter::StaticClass()).Build();
  return info;
}

void TContrastFilter::Process(TBitmap&, const TRect& r) {
  unsigned char table[256];
  const double f = Amount * 0.01;
  for (int c = 0; c < 256; ++c) {
    const long long change = Percent ? RoundEven(c * f) * (c - 128) / 256 : static_cast<long long>(Amount) * (c - 128) / 256;
    table[c] = Clamp255(c + change);
  }
  ForEachPixel(rows_, r, [&table](unsigned char* p) {
    for (int c = 0; c < 3; ++c) p[c] = table[p[c]];
  });
}

const TClassInfo& TColorFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TColorFilter>("TColorFilter", &TKelFilter::StaticClass())
                                     .Property("Red", Get(&TColorFilter::Red), Put(&TColorFilter::Red))
                                     .Default(0)
                                     .Property("Green", Get(&TColorFilter::Green), Put(&TColorFilter::Green))
                                     .Default(0)
                                     .Property("Blue", Get(&TColorFilter::Blue), Put(&TColorFilter::Blue))
                                     .Default(0)
                                     .Build();
  return info;
}

void TColorFilter::SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) {
  TKelFilter::SetChangeHook(builder, callback);
  if (builder == nullptr) return;
  builder->AddScroll("Red", "Red", -255, 255);
  builder->AddScroll("Green", "Green", -255, 255);
  builder->AddScroll("Blue", "Blue", -255, 255);
}

void TColorFilter::Process(TBitmap&, const TRect& r) {
  if (Red == 0 && Green == 0 && Blue == 0) return;
  const int add[3] = {Blue, Green, Red};
  ForEachPixel(rows_, r, [&add](unsigned char* p) {
    for (int c = 0; c < 3; ++c) p[c] = Clamp255(p[c] + add[c]);
  });
}

const TClassInfo& TColorReplaceFilter::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TColorReplaceFilter>("TColorReplaceFilter", &TKelFilter::StaticClass())
          .Property("Color", Get(&TColorReplaceFilter::Color), Put(&TColorReplaceFilter::Color))
          .Default(clWhite)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("FromValue", Get(&TColorReplaceFilter::FromValue), Put(&TColorReplaceFilter::FromValue))
          .Default(0)
          .Property("ToValue", Get(&TColorReplaceFilter::ToValue), Put(&TColorReplaceFilter::ToValue))
          .Default(0)
          .Property("Method", Get(&TColorReplaceFilter::Method), Put(&TColorReplaceFilter::Method))
          .Default(cmHue)
          .Build();
  return info;
}

void TColorReplaceFilter::SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) {
  TKelFilter::SetChangeHook(builder, callback);
  if (builder == nullptr) return;
  builder->AddCombo("Method", "Method");
  builder->AddScroll("FromValue", "FromValue", 0, 255);
  builder->AddScroll("ToValue", "ToValue", 0, 255);
  builder->AddColor("Color", KelFilterTexts.Color);
}

void TColorReplaceFilter::Process(TBitmap&, const TRect& r) {
  // A system colour is resolved to its RGB value before its bytes are written.
  const COLORREF rgb = ColorToRGB(Color);
  const unsigned char to[3] = {GetBValue(rgb), GetGValue(rgb), GetRValue(rgb)};
  const int from = FromValue, upto = ToValue;
  const TColorMethod method = Method;
  ForEachPixel(rows_, r, [&](unsigned char* p) {
    int h, l, s;
    RgbToHls(p[2], p[1], p[0], h, l, s);
    const int v = method == cmHue ? h : (method == cmLum ? l : s);
    if (from <= v && v <= upto) {
      p[0] = to[0];
      p[1] = to[1];
      p[2] = to[2];
    }
  });
}

const TClassInfo& THueLumSatFilter::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<THueLumSatFilter>("THueLumSatFilter", &TKelFilter::StaticClass())
          .Property("Hue", Get(&THueLumSatFilter::Hue), Put(&THueLumSatFilter::Hue))
          .Default(0)
          .Property("Luminance", Get(&THueLumSatFilter::Luminance), Put(&THueLumSatFilter::Luminance))
          .Default(0)
          .Property("Saturation", Get(&THueLumSatFilter::Saturation), Put(&THueLumSatFilter::Saturation))
          .Default(0)
          .Build();
  return info;
}

void THueLumSatFilter::SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) {
  TKelFilter::SetChangeHook(builder, callback);
  if (builder == nullptr) return;
  builder->AddScroll("Hue", "Hue", -255, 255);
  builder->AddScroll("Luminance", "Luminance", -255, 255);
  builder->AddScroll("Saturation", "Saturation", -255, 255);
}

void THueLumSatFilter::Process(TBitmap&, const TRect& r) {
  if (Hue == 0 && Luminance == 0 && Saturation == 0) return;
  const int dh = Hue, dl = Luminance, ds = Saturation;
  ForEachPixel(rows_, r, [&](unsigned char* p) {
    int h, l, s;
    RgbToHls(p[2], p[1], p[0], h, l, s);
    if (dh != 0) h = std::clamp(h + dh, 0, 255);
    if (dl != 0) l = std::clamp(l + dl, 0, 255);
    if (ds != 0) s = std::clamp(s + ds, 0, 255);
    int red, g, b;
    HlsToRgb(h, l, s, red, g, b);
    p[0] = static_cast<unsigned char>(b);
    p[1] = static_cast<unsigned char>(g);
    p[2] = static_cast<unsigned char>(red);
  });
}

TGammaCorrectionFilter::TGammaCorrectionFilter(TCollection* collection) : TAmountFilter(collection) {
  Amount = 70;
  OnlyPositive = true;
}

const TClassInfo& TGammaCorrectionFilter::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TGammaCorrectionFilter>("TGammaCorrectionFilter", &TAmountFilter::StaticClass())
          .Property("Amount", Get(&TGammaCorrectionFilter::Amount), Put(&TGammaCorrectionFilter::Amount))
          .Default(70)
          .Build();
  return info;
}

void TGammaCorrectionFilter::Process(TBitmap&, const TRect& r) {
  const double gamma = std::max(0.001, std::abs(Amount) / (Percent ? 100.0 : 255.0));
  unsigned char table[256];
  table[0] = 0;
  for (int i = 1; i < 256; ++i) table[i] = Clamp255(RoundEven(255 * std::pow(i / 255.0, 1 / gamma)));
  ForEachPixel(rows_, r, [&table](unsigned char* p) {
    for (int c = 0; c < 3; ++c) p[c] = table[p[c]];
  });
}

const TClassInfo& TSepiaFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSepiaFilter>("TSepiaFilter", &TKelFilter::StaticClass()).Build();
  return info;
}

void TSepiaFilter::Process(TBitmap&, const TRect& r) {
  ForEachPixel(rows_, r, [](unsigned char* p) {
    const double b = p[0], g = p[1], red = p[2];
    p[2] = Clamp255(RoundEven(0.393 * red + 0.769 * g + 0.189 * b));
    p[1] = Clamp255(RoundEven(0.349 * red + 0.686 * g + 0.168 * b));
    p[0] = Clamp255(RoundEven(0.272 * red + 0.534 * g + 0.131 * b));
  });
}

const TClassInfo& TEqualizeFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TEqualizeFilter>("TEqualizeFilter", &TKelFilter::StaticClass()).Build();
  return info;
}

void TEqualizeFilter::Process(TBitmap&, const TRect& r) {
  const TRect inner(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
  if (inner.Left > inner.Right || inner.Top > inner.Bottom) return;
  int mn[3] = {255, 255, 255}, mx[3] = {0, 0, 0};
  ForEachPixel(rows_, inner, [&](unsigned char* p) {
    for (int c = 0; c < 3; ++c) {
      mn[c] = std::min<int>(mn[c], p[c]);
      mx[c] = std::max<int>(mx[c], p[c]);
    }
  });
  if (mn[0] == 0 && mn[1] == 0 && mn[2] == 0 && mx[0] == 255 && mx[1] == 255 && mx[2] == 255) return;
  unsigned char table[3][256];
  for (int c = 0; c < 3; ++c) {
    const double k = mx[c] == mn[c] ? 0 : 255.0 / (mx[c] - mn[c]);
    for (int v = 0; v < 256; ++v) table[c][v] = Clamp255(RoundEven((v - mn[c]) * k));
  }
  ForEachPixel(rows_, inner, [&table](unsigned char* p) {
    for (int c = 0; c < 3; ++c) p[c] = table[c][p[c]];
  });
}

// ---- Neighbourhood operations ----------------------------------------------------------------

TSharpenFilter::TSharpenFilter(TCollection* collection) : TConvolveFilter(collection) {
  for (float& w : Weights) w = -0.125f;
  Weights[4] = 2;
}
const TClassInfo& TSharpenFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSharpenFilter>("TSharpenFilter", &TConvolveFilter::StaticClass()).Build();
  return info;
}

TEmbossFilter::TEmbossFilter(TCollection* collection) : TConvolveFilter(collection) {
  const float k[9] = {0, -1, 0, -1, 1, 1, 0, -1, 0};
  std::copy(std::begin(k), std::end(k), Weights);
}
const TClassInfo& TEmbossFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TEmbossFilter>("TEmbossFilter", &TConvolveFilter::StaticClass()).Build();
  return info;
}

TSoftenFilter::TSoftenFilter(TCollection* collection) : TConvolveFilter(collection) {
  const float k[9] = {0, 0, 0, 0, 1, 1, 0, 1, 1};
  std::copy(std::begin(k), std::end(k), Weights);
}
const TClassInfo& TSoftenFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSoftenFilter>("TSoftenFilter", &TConvolveFilter::StaticClass()).Build();
  return info;
}

const TClassInfo& TSobelFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSobelFilter>("TSobelFilter", &TKelFilter::StaticClass()).Build();
  return info;
}

void TSobelFilter::Process(TBitmap&, const TRect& r) {
  const int w = r.Right - r.Left + 1;
  const int h = r.Bottom - r.Top + 1;
  if (w < 3 || h < 3) return;
  std::vector<int> grid(static_cast<size_t>(w) * h, 0);
  const int p = rows_.pixelBytes;
  for (int y = 1; y < h - 1; ++y) {
    const unsigned char* px = rows_.rows[r.Top + y] + (r.Left + 1) * p;
    for (int x = 1; x < w - 1; ++x, px += p) grid[static_cast<size_t>(y) * w + x] = (px[0] + px[1] + px[2]) / 3;
  }
  for (int y = 1; y < h - 1; ++y) {
    const int* above = &grid[static_cast<size_t>(y - 1) * w];
    const int* row = &grid[static_cast<size_t>(y) * w];
    const int* below = &grid[static_cast<size_t>(y + 1) * w];
    unsigned char* px = rows_.rows[r.Top + y] + (r.Left + 1) * p;
    for (int x = 1; x < w - 1; ++x, px += p) {
      const int gx = (above[x - 1] + 2 * row[x - 1] + below[x - 1]) - (above[x + 1] + 2 * row[x + 1] + below[x + 1]);
      const int gy = (above[x - 1] + 2 * above[x] + above[x + 1]) - (below[x - 1] + 2 * below[x] + below[x + 1]);
      px[0] = px[1] = px[2] = static_cast<unsigned char>(std::min(std::abs(gx) + std::abs(gy), 255));
    }
  }
}

const TClassInfo& TBevelFilter::StaticClass() {
  static const TClassInfo info = TClassBuilder<TBevelFilter>("TBevelFilter", &TKelFilter::StaticClass())
                                     .Property("Bright", Get(&TBevelFilter::Bright), Put(&TBevelFilter::Bright))
                                     .Default(64)
                                     .Property("Size", Get(&TBevelFilter::Size), Put(&TBevelFilter::Size))
                                     .Default(15)
                                     .Build();
  return info;
}

void TBevelFilter::SetChangeHook(TFilterEditorBuilder* builder, TNotifyEvent callback) {
  TKelFilter::SetChangeHook(builder, callback);
  if (builder == nullptr) return;
  builder->AddScroll("Bright", "Bright", 1, 255);
  builder->AddScroll("Size", "Size", 1, 1000);
}

void TBevelFilter::Process(TBitmap&, const TRect& r) {
  const int p = rows_.pixelBytes;
  const int bright = Bright;
  auto change = [bright](unsigned char* px, int sign) {
    for (int c = 0; c < 3; ++c) px[c] = Clamp255(px[c] + sign * bright);
  };
  for (int k = 0; k < Size; ++k) {
    const bool rowsLeft = k < (r.Bottom - r.Top) / 2;
    const bool columnsLeft = k < (r.Right - r.Left) / 2;
    if (!rowsLeft && !columnsLeft) break;
    if (rowsLeft) {
      for (int x = r.Left + k; x <= r.Right - k; ++x) {
        change(rows_.rows[r.Top + k] + x * p, 1);
        change(rows_.rows[r.Bottom - k] + x * p, -1);
      }
    }
    if (columnsLeft) {
      for (int y = r.Top + k + 1; y <= r.Bottom - k; ++y) {
        change(rows_.rows[y] + (r.Left + k) * p, 1);
        change(rows_.rows[y] + (r.Right - k) * p, -1);
      }
    }
  }
}

// ---- Registration ----------------------------------------------------------------------------

const std::vector<std::string>& FilterClassNames() {
  static const std::vector<std::string> none;
  return filterNames != nullptr ? *filterNames : none;
}

void RegisterFilterClasses(std::initializer_list<const TClassInfo*> classes) {
  ActivateControlClassGroup();
  GroupDescendentsWith(TKelFilter::StaticClass(), TControl::StaticClass());
  if (filterNames == nullptr) filterNames = new std::vector<std::string>();
  for (const TClassInfo* cls : classes) {
    if (std::find(filterNames->begin(), filterNames->end(), cls->Name()) != filterNames->end()) continue;
    filterNames->push_back(cls->Name());
    RegisterClass(*cls);
  }
}

const TClassInfo* FindFilterClass(const std::string& name) {
  if (std::find(FilterClassNames().begin(), FilterClassNames().end(), name) == FilterClassNames().end()) return nullptr;
  ActivateControlClassGroup();
  const TClassInfo* cls = GetClass(name);
  return cls != nullptr && cls->InheritsFrom(TKelFilter::StaticClass()) ? cls : nullptr;
}

void GradientRotateHook(TBitmap& bitmap, double angle) {
  if (static_cast<long long>(bitmap.Width()) * bitmap.Height() >= 16777216) return;
  TRotateFilter filter(nullptr);
  filter.SetAngle(angle);
  ApplyFilterToBitmap(filter, bitmap);
}

void KelFiltersStartup() {
  RegisterFilterClasses({&TInvertFilter::StaticClass(), &TGrayScaleFilter::StaticClass(),
                         &TMosaicFilter::StaticClass(), &TFlipFilter::StaticClass(), &TReverseFilter::StaticClass(),
                         &TBrightnessFilter::StaticClass(), &TContrastFilter::StaticClass(),
                         &TColorFilter::StaticClass(), &TColorReplaceFilter::StaticClass(),
                         &THueLumSatFilter::StaticClass(), &TBlurFilter::StaticClass(), &TSharpenFilter::StaticClass(),
                         &TGammaCorrectionFilter::StaticClass(), &TEmbossFilter::StaticClass(),
                         &TSoftenFilter::StaticClass(), &TCropFilter::StaticClass(), &TResizeFilter::StaticClass(),
                         &TRotateFilter::StaticClass(), &TMirrorFilter::StaticClass(), &TTileFilter::StaticClass(),
                         &TBevelFilter::StaticClass(), &TEqualizeFilter::StaticClass(), &TZoomFilter::StaticClass(),
                         &TSobelFilter::StaticClass(), &TSepiaFilter::StaticClass()});
  KelRotateBitmapHook = GradientRotateHook;
}

void KelFiltersShutdown() {
  KelRotateBitmapHook = nullptr;
  delete filterNames;
  filterNames = nullptr;
}

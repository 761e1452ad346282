// Bitmap routines (see BitmapUtils.h).
#include "canvas/BitmapUtils.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>

#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/rtl/Math.h"

void SetBitmapSize(TBitmap& bitmap, int width, int height) {
  if (bitmap.Width() != width || bitmap.Height() != height) bitmap.SetSize(width, height);
}

bool WriteBitmapDpi(TStream& stream, double dpi) {
  const auto value = static_cast<std::uint16_t>(Round(dpi * 39.370079));
  bool ok = true;
  for (long long offset : {38LL, 42LL}) {
    stream.SetPosition(offset);
    ok = ok && stream.Write(&value, 2) == 2;
  }
  return ok;
}

void SetBitmapDpi(TBitmap& bitmap, double dpi) {
  TMemoryStream stream;
  bitmap.SaveToStream(stream);
  if (!WriteBitmapDpi(stream, dpi)) return;
  stream.SetPosition(0);
  bitmap.LoadFromStream(stream);
}

namespace {
std::vector<unsigned char*> Rows(TBitmap& bitmap, TPixelFormat format) {
  if (bitmap.PixelFormat() != format) bitmap.SetPixelFormat(format);
  std::vector<unsigned char*> rows(std::max(bitmap.Height(), 0));
  if (rows.empty()) return rows;
  rows[0] = static_cast<unsigned char*>(bitmap.ScanLine(0));
  if (rows.size() > 1) {
    rows[1] = static_cast<unsigned char*>(bitmap.ScanLine(1));
    const std::ptrdiff_t stride = rows[1] - rows[0];
    for (size_t i = 2; i < rows.size(); ++i) rows[i] = rows[i - 1] + stride;
  }
  return rows;
}
}  // namespace

std::vector<unsigned char*> ScanLines24(TBitmap& bitmap) { return Rows(bitmap, pf24bit); }
std::vector<unsigned char*> ScanLines32(TBitmap& bitmap) { return Rows(bitmap, pf32bit); }

int BitsPerPixelOf(HDC dc) { return GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES); }

double LanczosFilter(double t) {
  if (t == 0) return 1;
  if (std::fabs(t) >= 3) return 0;
  const double p = std::numbers::pi * t;
  return (std::sin(p) / p) * (std::sin(p / 3) / (p / 3));
}

double TriangleWeight(double t) {
  t = std::fabs(t);
  return t < 1 ? 1 - t : 0;
}

std::vector<TResampleContribution> ResampleContributions(int sourceSize, int destSize, bool triangle) {
  std::vector<TResampleContribution> result(std::max(destSize, 0));
  if (sourceSize < 1 || destSize < 1) return result;
  if (sourceSize == 1 || destSize == 1) {
    // No scale between the edges: every destination pixel is the mean of the source.
    for (auto& c : result) {
      for (int j = 0; j < sourceSize; ++j) {
        c.index.push_back(j);
        c.weight.push_back(1024 / sourceSize + (j < 1024 % sourceSize ? 1 : 0));
      }
    }
    return result;
  }
  const double support = triangle ? 1 : 3;
  const double x = static_cast<double>(destSize - 1) / (sourceSize - 1);
  const double c = 1 / x;
  const double halfWidth = x >= 1 ? support : support * c;
  const double gain = x >= 1 ? 1024 : 1024 * x;
  for (int i = 0; i < destSize; ++i) {
    const double centre = c * i;
    const int from = static_cast<int>(std::floor(centre - halfWidth));
    const int to = static_cast<int>(std::ceil(centre + halfWidth));
    for (int j = from; j <= to; ++j) {
      const double t = x >= 1 ? centre - j : x * (centre - j);
      const int weight = static_cast<int>(Round(gain * (triangle ? TriangleWeight(t) : LanczosFilter(t))));
      if (weight == 0) continue;
      int k = j < 0 ? -j : (j >= sourceSize ? 2 * sourceSize - 1 - j : j);
      // Mirroring can still fall outside a short source: clamp so reads stay inside.
      k = std::clamp(k, 0, sourceSize - 1);
      result[i].index.push_back(k);
      result[i].weight.push_back(weight);
    }
  }
  return result;
}

namespace {
unsigned char Channel(int sum) {
  if (sum >= 261121) return 255;
  if (sum < 0) return 0;
  return static_cast<unsigned char>(sum >> 10);
}
}  // namespace

void ResampleBitmap(TBitmap& source, TBitmap& dest) {
  if (source.Empty() || dest.Empty()) return;
  const int sw = source.Width(), sh = source.Height();
  const int dw = dest.Width(), dh = dest.Height();
  TBitmap work;
  work.SetPixelFormat(pf24bit);
  work.SetSize(dw, sh);
  const auto srcRows = ScanLines24(source);
  const auto workRows = ScanLines24(work);
  const auto across = ResampleContributions(sw, dw);
  for (int y = 0; y < sh; ++y) {
    for (int x = 0; x < dw; ++x) {
      int sum[3] = {0, 0, 0};
      const auto& c = across[x];
      for (size_t n = 0; n < c.index.size(); ++n) {
        const unsigned char* p = srcRows[y] + c.index[n] * 3;
        for (int ch = 0; ch < 3; ++ch) sum[ch] += c.weight[n] * p[ch];
      }
      for (int ch = 0; ch < 3; ++ch) workRows[y][x * 3 + ch] = Channel(sum[ch]);
    }
  }
  const auto destRows = ScanLines24(dest);
  const auto down = ResampleContributions(sh, dh);
  for (int y = 0; y < dh; ++y) {
    const auto& c = down[y];
    for (int x = 0; x < dw; ++x) {
      int sum[3] = {0, 0, 0};
      for (size_t n = 0; n < c.index.size(); ++n) {
        const unsigned char* p = workRows[c.index[n]] + x * 3;
        for (int ch = 0; ch < 3; ++ch) sum[ch] += c.weight[n] * p[ch];
      }
      for (int ch = 0; ch < 3; ++ch) destRows[y][x * 3 + ch] = Channel(sum[ch]);
    }
  }
}

void TurnBitmap(TBitmap& bitmap, double angle) {
  const int w = bitmap.Width();
  const int h = bitmap.Height();
  if (w == 0 || h == 0) return;
  const double radians = angle * std::numbers::pi / 180;
  double c = std::cos(radians);
  double s = std::sin(radians);
  // Quarter turns are exact.
  if (std::fabs(c) < 1e-9) c = 0;
  if (std::fabs(s) < 1e-9) s = 0;
  const int nw = std::max(1, static_cast<int>(Round(std::fabs(w * c) + std::fabs(h * s))));
  const int nh = std::max(1, static_cast<int>(Round(std::fabs(w * s) + std::fabs(h * c))));
  const auto sourceRows = ScanLines32(bitmap);
  std::vector<std::uint32_t> source(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    std::memcpy(&source[static_cast<size_t>(y) * w], sourceRows[y], static_cast<size_t>(w) * 4);
  }
  bitmap.SetSize(nw, nh);
  const auto rows = ScanLines32(bitmap);
  for (int y = 0; y < nh; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(rows[y]);
    const double dy = y + 0.5 - nh / 2.0;
    for (int x = 0; x < nw; ++x) {
      const double dx = x + 0.5 - nw / 2.0;
      // Screen rows grow downwards: a clockwise turn maps source (sx, sy) to
      // (sx·c - sy·s, sx·s + sy·c); this is its inverse. Clockwise, as the rotate filter
      // turns, so an angled gradient looks the same with or without the filter hook.
      const int sx = std::clamp(static_cast<int>(std::floor(dx * c + dy * s + w / 2.0)), 0, w - 1);
      const int sy = std::clamp(static_cast<int>(std::floor(-dx * s + dy * c + h / 2.0)), 0, h - 1);
      row[x] = source[static_cast<size_t>(sy) * w + sx];
    }
  }
}

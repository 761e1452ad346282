// Bitmap files for the picture tests, made in memory: a 24-bit bottom-up DIB with a pattern
// that differs per seed, written with a 14-byte file header directly before the pixels' header.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "support/TestPaths.h"

inline std::vector<std::uint8_t> MakeBitmapFile(int width, int height, int seed = 0, int bits = 24) {
  const int stride = ((width * bits + 31) / 32) * 4;
  const std::uint32_t palette = bits <= 8 ? (4u << bits) : 0;
  const std::uint32_t offBits = 14 + 40 + palette;
  const std::uint32_t size = offBits + static_cast<std::uint32_t>(stride * height);
  std::vector<std::uint8_t> f;
  auto u16 = [&](unsigned v) { f.push_back(v & 0xFF); f.push_back((v >> 8) & 0xFF); };
  auto u32 = [&](std::uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
  f.push_back('B');
  f.push_back('M');
  u32(size);
  u32(0);
  u32(offBits);
  u32(40);
  u32(static_cast<std::uint32_t>(width));
  u32(static_cast<std::uint32_t>(height));
  u16(1);
  u16(static_cast<unsigned>(bits));
  u32(0);
  u32(static_cast<std::uint32_t>(stride * height));
  u32(2835);
  u32(2835);
  u32(0);
  u32(0);
  for (std::uint32_t i = 0; i < palette; ++i) f.push_back(static_cast<std::uint8_t>(i * 37));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < stride; ++x) f.push_back(static_cast<std::uint8_t>((x * 7 + y * 13 + seed * 101) & 0xFF));
  return f;
}

inline void WriteFile(const std::string& unixPath, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(WinPath(unixPath), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<std::uint8_t> ReadFile(const std::string& unixPath) {
  std::ifstream in(WinPath(unixPath), std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

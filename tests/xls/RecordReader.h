// Splits a BIFF byte stream into its records, for tests that check record framing.
#pragma once

#include <cstdint>
#include <vector>

#include "xls/ByteBuffer.h"

struct Record {
  unsigned id;
  std::vector<std::uint8_t> data;
};

inline std::vector<Record> Records(const ByteBuffer& b) {
  std::vector<Record> out;
  const auto& bytes = b.Bytes();
  for (std::size_t at = 0; at + 4 <= bytes.size();) {
    const unsigned id = bytes[at] | (bytes[at + 1] << 8);
    const std::size_t length = bytes[at + 2] | (bytes[at + 3] << 8);
    out.push_back({id, std::vector<std::uint8_t>(bytes.begin() + at + 4, bytes.begin() + at + 4 + length)});
    at += 4 + length;
  }
  return out;
}

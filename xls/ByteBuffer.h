// A growing little-endian byte buffer: every binary structure the writer produces (BIFF
// records, drawing records, the compound file) is assembled with it. Values are written in
// file order; Patch* rewrite a value already written, at a position taken from Size().
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

class ByteBuffer {
 public:
  std::size_t Size() const { return bytes_.size(); }
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  std::vector<std::uint8_t>& Bytes() { return bytes_; }

  void U8(unsigned v) { bytes_.push_back(static_cast<std::uint8_t>(v)); }
  void U16(unsigned v) {
    U8(v & 0xFF);
    U8((v >> 8) & 0xFF);
  }
  void U32(std::uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  void F64(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    U32(static_cast<std::uint32_t>(bits));
    U32(static_cast<std::uint32_t>(bits >> 32));
  }
  void Zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
  void Append(const void* data, std::size_t count) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + count);
  }
  void Append(const std::vector<std::uint8_t>& data) { Append(data.data(), data.size()); }
  void Append(const ByteBuffer& other) { Append(other.bytes_); }
  // UTF-16LE code units, without a length or terminator.
  void Utf16(std::wstring_view text) {
    for (wchar_t c : text) U16(static_cast<std::uint16_t>(c));
  }

  void Patch16(std::size_t at, unsigned v) {
    bytes_[at] = static_cast<std::uint8_t>(v & 0xFF);
    bytes_[at + 1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
  }
  void Patch32(std::size_t at, std::uint32_t v) {
    Patch16(at, v & 0xFFFF);
    Patch16(at + 2, v >> 16);
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

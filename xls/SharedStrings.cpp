// SST/CONTINUE/EXTSST writing. Records are framed here because a string's continuation in a
// CONTINUE record carries its own option byte.
#include "xls/SharedStrings.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kHighByte = 0x01;  // characters are 16-bit

// Builds the SST record and its CONTINUE records into a byte buffer and notes where each
// string starts, for EXTSST.
class SstBuilder {
 public:
  explicit SstBuilder(std::size_t streamBase) : base_(streamBase) {}

  void Begin(std::uint32_t total, std::uint32_t unique) {
    StartRecord(biff::kSst);
    out_.U32(total);
    out_.U32(unique);
  }

  // Writes one string; returns its stream position and its offset from its record's start.
  std::pair<std::uint32_t, std::uint16_t> String(const std::wstring& s) {
    const std::size_t need = s.empty() ? 3 : 5;  // header and one character stay together
    if (Space() < need) StartRecord(biff::kContinue);
    const auto where = std::make_pair(static_cast<std::uint32_t>(base_ + out_.Size()),
                                      static_cast<std::uint16_t>(out_.Size() - recordStart_));
    out_.U16(static_cast<unsigned>(s.size()));
    out_.U8(kHighByte);
    std::size_t at = 0;
    while (at < s.size()) {
      if (Space() < 2) {
        StartRecord(biff::kContinue);
        out_.U8(kHighByte);
      }
      const std::size_t n = std::min(s.size() - at, Space() / 2);
      out_.Utf16(std::wstring_view(s).substr(at, n));
      at += n;
    }
    return where;
  }

  ByteBuffer Finish() {
    EndRecord();
    return std::move(out_);
  }

 private:
  std::size_t Space() const { return biff::kMaxRecordData - (out_.Size() - recordStart_ - 4); }

  void StartRecord(std::uint16_t id) {
    EndRecord();
    recordStart_ = out_.Size();
    out_.U16(id);
    out_.U16(0);
    open_ = true;
  }

  void EndRecord() {
    if (open_) out_.Patch16(recordStart_ + 2, static_cast<unsigned>(out_.Size() - recordStart_ - 4));
    open_ = false;
  }

  ByteBuffer out_;
  std::size_t base_;
  std::size_t recordStart_ = 0;
  bool open_ = false;
};

}  // namespace

std::uint32_t SharedStringTable::Add(const std::wstring& text) {
  ++total_;
  auto [it, added] = index_.try_emplace(text, static_cast<std::uint32_t>(strings_.size()));
  if (added) strings_.push_back(text);
  return it->second;
}

void SharedStringTable::Write(biff::BiffStream& stream) const {
  const std::size_t unique = strings_.size();
  const std::size_t bucketSize = unique < 1024 ? 8 : unique / 128 + 1;

  SstBuilder sst(stream.Size());
  sst.Begin(total_, static_cast<std::uint32_t>(unique));
  ByteBuffer ext;
  ext.U16(static_cast<unsigned>(bucketSize));
  for (std::size_t i = 0; i < unique; ++i) {
    const auto where = sst.String(strings_[i]);
    if (i % bucketSize == 0) {
      ext.U32(where.first);
      ext.U16(where.second);
      ext.U16(0);
    }
  }
  stream.Raw(sst.Finish());
  stream.Record(biff::kExtSst, ext);
}

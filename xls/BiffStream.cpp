// BIFF8 record framing with CONTINUE records for data past the record limit.
#include "xls/BiffStream.h"

#include <algorithm>

namespace biff {

void BiffStream::Record(std::uint16_t id, const ByteBuffer& data) { Split(id, data); }

void BiffStream::Record(std::uint16_t id) {
  bytes_.U16(id);
  bytes_.U16(0);
}

void BiffStream::Bof(std::uint16_t type) {
  ByteBuffer r;
  r.U16(0x0600);  // BIFF8
  r.U16(type);
  r.U16(0x0DBB);  // build and year of the writing application
  r.U16(0x07CC);
  r.U32(0x00000041);  // file history flags
  r.U32(0x00000006);  // lowest version that can read all records
  Record(kBof, r);
}

void BiffStream::DrawingGroup(const ByteBuffer& data) { Split(kMsoDrawingGroup, data); }

void BiffStream::Split(std::uint16_t firstId, const ByteBuffer& data) {
  const auto& src = data.Bytes();
  std::size_t at = 0;
  std::uint16_t id = firstId;
  do {
    const std::size_t part = std::min(kMaxRecordData, src.size() - at);
    bytes_.U16(id);
    bytes_.U16(static_cast<unsigned>(part));
    bytes_.Append(src.data() + at, part);
    at += part;
    id = kContinue;
  } while (at < src.size());
}

}  // namespace biff

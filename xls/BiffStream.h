// A BIFF8 record stream (one workbook globals or worksheet substream): records of a 2-byte id
// and a 2-byte length. Data longer than the record limit continues in CONTINUE records, which
// is how readers expect long records (drawing data) to be split; the shared string table
// splits itself, because its continuation rules depend on the strings.
#pragma once

#include <cstdint>
#include <cstddef>

#include "xls/ByteBuffer.h"

namespace biff {

// Record ids the writer uses.
enum RecordId : std::uint16_t {
  kEof = 0x000A,
  kDateMode = 0x0022,
  kFont = 0x0031,
  kContinue = 0x003C,
  kWindow1 = 0x003D,
  kCodePage = 0x0042,
  kDefColWidth = 0x0055,
  kObj = 0x005D,
  kColInfo = 0x007D,
  kWsBool = 0x0081,
  kBoundSheet = 0x0085,
  kXf = 0x00E0,
  kMergedCells = 0x00E5,
  kMsoDrawingGroup = 0x00EB,
  kMsoDrawing = 0x00EC,
  kSst = 0x00FC,
  kLabelSst = 0x00FD,
  kExtSst = 0x00FF,
  kDimensions = 0x0200,
  kBlank = 0x0201,
  kDefaultRowHeight = 0x0225,
  kWindow2 = 0x023E,
  kStyle = 0x0293,
  kFormat = 0x041E,
  kBof = 0x0809,
};

// Most data bytes one record may hold.
constexpr std::size_t kMaxRecordData = 8224;

class BiffStream {
 public:
  // Writes one record; data beyond kMaxRecordData goes into CONTINUE records.
  void Record(std::uint16_t id, const ByteBuffer& data);
  // Writes a BIFF8 BOF record of the given substream type (5 globals, 0x10 worksheet).
  void Bof(std::uint16_t type);
  // Writes one record with no data.
  void Record(std::uint16_t id);
  // Writes the drawing group data: the first part as MSODRAWINGGROUP, the rest in CONTINUE
  // records.
  void DrawingGroup(const ByteBuffer& data);
  // Appends bytes already framed as records (the shared string table does its own framing).
  void Raw(const ByteBuffer& records) { bytes_.Append(records); }

  std::size_t Size() const { return bytes_.Size(); }
  ByteBuffer& Buffer() { return bytes_; }
  const ByteBuffer& Buffer() const { return bytes_; }

 private:
  void Split(std::uint16_t firstId, const ByteBuffer& data);

  ByteBuffer bytes_;
};

}  // namespace biff

// Worksheet substream: BOF, sheet defaults, COLINFO, DIMENSIONS, cells, drawing, WINDOW2,
// MERGEDCELLS, EOF, in the order readers expect.
#include "xls/Worksheet.h"

#include <algorithm>

#include "xls/CellFormats.h"
#include "xls/XlsException.h"

namespace {

constexpr std::size_t kMergesPerRecord = 1026;


bool Overlap(const Worksheet::Range& a, const Worksheet::Range& b) {
  return a.row1 <= b.row2 && b.row1 <= a.row2 && a.col1 <= b.col2 && b.col1 <= a.col2;
}

}  // namespace

void Worksheet::SetText(int row, int col, std::wstring text, int format) {
  if (text.size() > SharedStringTable::kMaxLength)
    throw XlsException(L"The text is longer than " + std::to_wstring(SharedStringTable::kMaxLength) +
                       L" characters.");
  Cell& cell = cells_[Key(row, col)];
  cell.text = std::move(text);
  if (format >= 0) cell.format = format;
}

void Worksheet::SetFormat(int row, int col, int format) { cells_[Key(row, col)].format = format; }

void Worksheet::Merge(const Range& range) {
  for (const Range& m : merges_) {
    if (m.row1 == range.row1 && m.col1 == range.col1 && m.row2 == range.row2 && m.col2 == range.col2) return;
    if (Overlap(m, range))
      throw XlsException(L"The merged range overlaps another merged range (rows " + std::to_wstring(m.row1 + 1) +
                         L" to " + std::to_wstring(m.row2 + 1) + L", columns " + std::to_wstring(m.col1 + 1) +
                         L" to " + std::to_wstring(m.col2 + 1) + L").");
  }
  merges_.push_back(range);
}

void Worksheet::SetColumnWidth(int col1, int col2, int width) {
  for (int c = col1; c <= col2; ++c) widths_[c] = width;
}

void Worksheet::AddPicture(PlacedPicture picture) {
  if (pictures_.size() >= drawing::kMaxPicturesPerSheet)
    throw XlsException(L"The sheet already holds the most pictures a sheet may hold.");
  pictures_.push_back(std::move(picture));
}

void Worksheet::WriteColumns(biff::BiffStream& stream) const {
  ByteBuffer def;
  def.U16(8);
  stream.Record(biff::kDefColWidth, def);
  for (auto it = widths_.begin(); it != widths_.end();) {
    auto last = it;
    while (std::next(last) != widths_.end() && std::next(last)->first == last->first + 1 &&
           std::next(last)->second == it->second)
      ++last;
    ByteBuffer r;
    r.U16(static_cast<unsigned>(it->first));
    r.U16(static_cast<unsigned>(last->first));
    r.U16(static_cast<unsigned>(it->second));
    r.U16(CellFormats::XfIndex(0));
    r.U16(0);  // visible, no outline
    r.U16(0);
    stream.Record(biff::kColInfo, r);
    it = std::next(last);
  }
}

void Worksheet::WriteDimensions(biff::BiffStream& stream) const {
  ByteBuffer r;
  if (cells_.empty()) {
    r.Zeros(14);
  } else {
    int firstCol = kMaxCols, lastCol = 0;
    for (const auto& [key, cell] : cells_) {
      firstCol = std::min<int>(firstCol, key % kMaxCols);
      lastCol = std::max<int>(lastCol, key % kMaxCols);
    }
    r.U32(cells_.begin()->first / kMaxCols);
    r.U32(cells_.rbegin()->first / kMaxCols + 1);
    r.U16(static_cast<unsigned>(firstCol));
    r.U16(static_cast<unsigned>(lastCol + 1));
    r.U16(0);
  }
  stream.Record(biff::kDimensions, r);
}

void Worksheet::WriteCells(biff::BiffStream& stream, SharedStringTable& strings) const {
  for (const auto& [key, cell] : cells_) {
    ByteBuffer r;
    r.U16(key / kMaxCols);
    r.U16(key % kMaxCols);
    r.U16(CellFormats::XfIndex(cell.format));
    if (cell.text) {
      r.U32(strings.Add(*cell.text));
      stream.Record(biff::kLabelSst, r);
    } else {
      stream.Record(biff::kBlank, r);
    }
  }
}

void Worksheet::WriteMerges(biff::BiffStream& stream) const {
  for (std::size_t at = 0; at < merges_.size(); at += kMergesPerRecord) {
    const std::size_t n = std::min(kMergesPerRecord, merges_.size() - at);
    ByteBuffer r;
    r.U16(static_cast<unsigned>(n));
    for (std::size_t i = at; i < at + n; ++i) {
      r.U16(static_cast<unsigned>(merges_[i].row1));
      r.U16(static_cast<unsigned>(merges_[i].row2));
      r.U16(static_cast<unsigned>(merges_[i].col1));
      r.U16(static_cast<unsigned>(merges_[i].col2));
    }
    stream.Record(biff::kMergedCells, r);
  }
}

void Worksheet::Write(biff::BiffStream& stream, SharedStringTable& strings, std::uint32_t drawingId,
                      bool active) const {
  stream.Bof(0x0010);
  ByteBuffer rowHeight;
  rowHeight.U16(0);
  rowHeight.U16(255);  // 12.75 points
  stream.Record(biff::kDefaultRowHeight, rowHeight);
  ByteBuffer wsBool;
  wsBool.U16(0x04C1);  // outline symbols shown, summary rows below and columns right
  stream.Record(biff::kWsBool, wsBool);
  WriteColumns(stream);
  WriteDimensions(stream);
  WriteCells(stream, strings);
  drawing::WriteSheetDrawing(stream, drawingId, pictures_);

  ByteBuffer window;
  window.U16(active ? 0x06B6 : 0x00B6);  // grid, headers, zeros, default colours (+selected)
  window.U16(0);
  window.U16(0);
  window.U32(0x40);
  window.U16(0);
  window.U16(0);
  window.U32(0);
  stream.Record(biff::kWindow2, window);
  WriteMerges(stream);
  stream.Record(biff::kEof);
}

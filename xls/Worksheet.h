// One sheet of the workbook: text and formatted blank cells, merged ranges, column widths and
// placed pictures, written as a BIFF8 worksheet substream. Coordinates here are zero-based and
// already checked against the file format's limits by the caller (Workbook).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "xls/BiffStream.h"
#include "xls/Drawing.h"
#include "xls/SharedStrings.h"

class Worksheet {
 public:
  static constexpr int kMaxRows = 65536;
  static constexpr int kMaxCols = 256;

  struct Range {
    int row1, col1, row2, col2;
  };

  explicit Worksheet(const std::wstring& name) : name_(name) {}
  const std::wstring& Name() const { return name_; }

  // Sets a cell's text; `format` < 0 keeps the cell's format (the default for a new cell).
  void SetText(int row, int col, std::wstring text, int format);
  void SetFormat(int row, int col, int format);
  // Merges a range; XlsException when it overlaps a merged range (an equal one is kept once).
  void Merge(const Range& range);
  void SetColumnWidth(int col1, int col2, int width);
  void AddPicture(PlacedPicture picture);
  const std::vector<PlacedPicture>& Pictures() const { return pictures_; }

  // Writes the substream; texts are added to `strings`, pictures use `drawingId`.
  void Write(biff::BiffStream& stream, SharedStringTable& strings, std::uint32_t drawingId,
             bool active) const;

 private:
  struct Cell {
    std::optional<std::wstring> text;  // none: a formatted blank cell
    int format = 0;
  };
  static std::uint32_t Key(int row, int col) { return static_cast<std::uint32_t>(row) * kMaxCols + col; }

  void WriteColumns(biff::BiffStream& stream) const;
  void WriteDimensions(biff::BiffStream& stream) const;
  void WriteCells(biff::BiffStream& stream, SharedStringTable& strings) const;
  void WriteMerges(biff::BiffStream& stream) const;

  std::wstring name_;
  std::map<std::uint32_t, Cell> cells_;  // by row, then column
  std::vector<Range> merges_;
  std::map<int, int> widths_;            // column → width in 1/256 of a character
  std::vector<PlacedPicture> pictures_;
};

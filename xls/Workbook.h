// A workbook as the C interface builds it: sheets, cell formats and a picture store, with the
// argument checks that keep every stored value inside the file format's limits (rows
// 1..65536, columns 1..256, 1-based at this level), and Save, which lays out the BIFF8
// workbook stream and wraps it in a compound file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "xls/CellFormats.h"
#include "xls/FlexCelDyn.h"
#include "xls/Picture.h"
#include "xls/Worksheet.h"

class Workbook {
 public:
  // Starts over with `sheetCount` empty sheets (1..255), the first one active, and only the
  // default format.
  void NewFile(int sheetCount);
  bool HasFile() const { return !sheets_.empty(); }
  int ActiveSheet() const { return active_ + 1; }

  static TFlxFormat DefaultFormat() { return CellFormats::DefaultFormat(); }
  int AddFormat(const TFlxFormat& format);

  // `sheet` is 1-based, or -1 for the active sheet; `format` -1 keeps the cell's format.
  void SetCellText(int sheet, int row, int col, std::wstring text, int format);
  void SetCellFormat(int row, int col, int format);
  void MergeCells(int row1, int col1, int row2, int col2);
  void SetColumnWidth(int col1, int col2, int width);
  // Reads a bitmap file and places it on the active sheet by the properties' anchor.
  void AddImage(const std::wstring& fileName, const IImageProperties& properties);

  // The whole .xls file.
  std::vector<std::uint8_t> Build() const;
  // Writes Build() to `fileName`; XlsException with the system's text on failure.
  void Save(const std::wstring& fileName) const;

 private:
  void RequireFile() const;
  Worksheet& Sheet(int sheet);
  void CheckFormat(int format) const;
  ByteBuffer Globals(const std::vector<ByteBuffer>& sheetStreams, const SharedStringTable& strings) const;

  std::vector<Worksheet> sheets_;
  int active_ = 0;
  CellFormats formats_;
  std::vector<Picture> pictures_;
};

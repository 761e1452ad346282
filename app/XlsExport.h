// Worksheet record files: a minimal stream of BIFF worksheet records (BOF, one LABEL, RK or
// NUMBER record per cell, EOF) that spreadsheet programs open, written from a data set with a
// header row of field names. Cells advance column by column and wrap to the next row after the
// last field. Row numbers are 16-bit: a data set with more rows continues in further files
// named "<name>_2<ext>", "<name>_3<ext>" ..., each starting again with the header row.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TDataSet;
class TFileStream;

class TXlsRecordFile {
 public:
  // Deletes `fileName` when it exists, creates it and writes BOF. Raises EFCreateError.
  TXlsRecordFile(const std::string& fileName, int columnCount);
  // Writes EOF and closes when Close was not called (errors are then swallowed).
  ~TXlsRecordFile();
  TXlsRecordFile(const TXlsRecordFile&) = delete;
  TXlsRecordFile& operator=(const TXlsRecordFile&) = delete;

  int Row() const { return row_; }
  int Col() const { return col_; }

  // The three cell records at the current position; each then moves on (XlsNextCell).
  // A LABEL holds the UTF-8 text converted to the system's ANSI code page.
  void XlsWriteLabel(std::string_view text);
  // An integer cell (RK: value * 4 + 2). A value outside RK's 30-bit range is written as a
  // NUMBER so that it is not cut.
  void XlsWriteRk(long long value);
  void XlsWriteNumber(double value);
  // Leaves the current cell empty.
  void XlsSkipCell() { XlsNextCell(); }
  // Next column; after the last column, the first column of the next row.
  void XlsNextCell();

  // Writes EOF and closes the file. Raises EWriteError when the data cannot be written.
  void Close();

 private:
  void Put(const void* data, size_t size);
  void PutU16(uint16_t value) { Put(&value, 2); }
  void CellHead(uint16_t type, uint16_t length);
  void Flush();

  std::unique_ptr<TFileStream> file_;
  std::string buffer_;
  int columns_;
  int row_ = 0;
  int col_ = 0;
};

// The name of part `part` (1-based) of an export: part 1 is `fileName` itself, later parts have
// "_<part>" before the extension.
std::string XlsPartFileName(const std::string& fileName, int part);

// Writes the data set to `fileName` (see above): header row of field names when withHeader,
// then every row from the first; integer fields as RK, float fields as NUMBER, NULL values as
// empty cells, every other field as a LABEL of its display text. The data set's controls are
// disabled for the walk and re-enabled in every case; pending window messages are processed
// after each row. Returns every file written, `fileName` first, then "_2", "_3" ... Raises the
// file errors (a partly written file may remain).
std::vector<std::string> DataSetToXls(const std::string& fileName, bool withHeader, TDataSet* query);

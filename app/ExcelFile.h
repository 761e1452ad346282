// The recorder's layer over FlexCelDyn.dll, the spreadsheet library the test report is written
// with: record helpers for what crosses the library boundary, the version check, the error
// convention (a library error text becomes an Exception carrying that text, and is released),
// the library's start and end, and TExcelFile, the workbook the report fills.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "xls/FlexCelDyn.h"

// The library version the program is built for: 6.21.0.
constexpr std::uint32_t kRequiredXlsVersion = 0x061500;

// Raises Exception with the library's error text after releasing the text with XLFreeError.
[[noreturn]] void RaiseXlsError(XlsError error);
// Does nothing for nullptr (success); otherwise RaiseXlsError.
void CheckXlsError(XlsError error);
// A version $00AABBCC as "AA.BB.CC", each part in decimal ("6.21.0").
std::string XlsVersionText(std::uint32_t version);

// Starts the library (XLInit) as the binding's module initialises; raises on failure, which
// stops the program from starting. FinalizeExcelFile ends it (XLShutdown).
void InitializeExcelFile();
void FinalizeExcelFile();

// A text without formatting runs; `text` must outlive the record's use.
void InitRichString(TRichStringDll& record, const wchar_t* text);
// The four reserved anchor values, each −1.0.
void DefaultAnchorOffsets(double (&offsets)[4]);
void InitAnchorOffsets(TClientAnchor& anchor);
// An anchor from the top-left corner of (row1, col1) to that of (row2, col2), 1-based, with
// offsets in 1/256 of the row's height (dy) and 1/1024 of the column's width (dx).
TClientAnchor MakeClientAnchorFull(TFlxAnchorType anchorType, int row1, int dy1, int col1, int dx1,
                                   int row2, int dy2, int col2, int dx2);
TClientAnchor MakeClientAnchor(TFlxAnchorType anchorType, int row1, int col1, int row2, int col2);
void InitCropArea(IImageProperties& properties);
// A picture's properties: the anchor, the file and shape names (both must outlive the
// record's use) and the library's fixed values.
IImageProperties MakeImageProperties(const TClientAnchor& anchor, const wchar_t* fileName,
                                     const wchar_t* shapeName);

// Base of the workbook class; holds nothing of its own.
class TCoreExcelFile {
 public:
  TCoreExcelFile() = default;
  TCoreExcelFile(const TCoreExcelFile&) = delete;
  TCoreExcelFile& operator=(const TCoreExcelFile&) = delete;
  virtual ~TCoreExcelFile() = default;
};

// The workbook's document properties; the recorder does not use them.
class TDocumentProperties {
 public:
  explicit TDocumentProperties(XlsHandle handle) : handle_(handle) {}
  XlsHandle Handle() const { return handle_; }

 private:
  XlsHandle handle_;
};

// The workbook's protection settings; the recorder does not use them. A second library handle
// of its own, when one was obtained, is released with the object.
class TProtection {
 public:
  explicit TProtection(XlsHandle handle) : handle_(handle) {}
  TProtection(const TProtection&) = delete;
  TProtection& operator=(const TProtection&) = delete;
  ~TProtection();
  XlsHandle Handle() const { return handle_; }

 private:
  XlsHandle handle_;
  XlsHandle protectionHandle_ = 0;
};

// One workbook of the library. Every operation raises Exception with the library's text when
// the library reports an error. Texts and file names are UTF-8.
class TExcelFile : public TCoreExcelFile {
 public:
  // Checks the library's version, then creates the workbook (XLCreate(value)).
  explicit TExcelFile(int value);
  // Frees the part objects and releases the workbook; a release error is dropped (released
  // text, no exception from a destructor).
  ~TExcelFile() override;

  // Raises when XLVersion is not 6.21.0, naming both versions.
  static void CheckDllVersion();

  XlsHandle Handle() const { return handle_; }
  TDocumentProperties& DocumentProperties() { return *documentProperties_; }
  TProtection& Protection() { return *protection_; }

  void NewFile(int sheetCount);
  void NewFileEx(int sheetCount, int value);
  void Save(const std::string& fileName);
  void SaveAs(const std::string& fileName, int fileFormat, std::uint16_t delimiter);
  void SaveEx(const std::string& fileName, int fileFormat, std::uint16_t delimiter,
              const std::string& encoding);
  // Writes a text cell of the active sheet; `format` -1 keeps the cell's format.
  void SetCellValue(int row, int col, const std::string& text, int format);
  int AddFormat(const TFlxFormat& format);
  void SetCellFormat(int row, int col, int format);
  void MergeCells(int row1, int col1, int row2, int col2);
  void SetColWidth(int col1, int col2, int width);
  void AddImage(const std::string& fileName, const IImageProperties& properties);
  // Clears `format`, then has the library fill it with the workbook's default format.
  void GetDefaultFormat(TFlxFormat& format);

 private:
  XlsHandle handle_ = 0;
  std::unique_ptr<TDocumentProperties> documentProperties_;
  std::unique_ptr<TProtection> protection_;
};

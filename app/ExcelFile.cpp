// FlexCelDyn.dll binding: error convention, version check and the workbook operations.
#include "app/ExcelFile.h"

#include <cstring>

#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

void RaiseXlsError(XlsError error) {
  std::string message = error ? WideToUtf8(error) : std::string();
  XLFreeError(error);
  throw Exception(std::move(message));
}

void CheckXlsError(XlsError error) {
  if (error) RaiseXlsError(error);
}

std::string XlsVersionText(std::uint32_t version) {
  return std::to_string((version >> 16) & 0xFF) + "." + std::to_string((version >> 8) & 0xFF) + "." +
         std::to_string(version & 0xFF);
}

void InitializeExcelFile() { CheckXlsError(XLInit()); }

void FinalizeExcelFile() { XLFreeError(XLShutdown()); }

void InitRichString(TRichStringDll& record, const wchar_t* text) {
  record.Text = text;
  record.RunCount = 0;
  record.Runs = nullptr;
}

void DefaultAnchorOffsets(double (&offsets)[4]) {
  for (double& d : offsets) d = -1.0;
}

void InitAnchorOffsets(TClientAnchor& anchor) { DefaultAnchorOffsets(anchor.Reserved); }

TClientAnchor MakeClientAnchorFull(TFlxAnchorType anchorType, int row1, int dy1, int col1, int dx1,
                                   int row2, int dy2, int col2, int dx2) {
  TClientAnchor a{};
  a.Flag = 0;
  a.AnchorType = anchorType;
  a.Col1 = col1;
  a.Dx1 = dx1;
  a.Row1 = row1;
  a.Dy1 = dy1;
  a.Col2 = col2;
  a.Dx2 = dx2;
  a.Row2 = row2;
  a.Dy2 = dy2;
  InitAnchorOffsets(a);
  return a;
}

TClientAnchor MakeClientAnchor(TFlxAnchorType anchorType, int row1, int col1, int row2, int col2) {
  return MakeClientAnchorFull(anchorType, row1, 0, col1, 0, row2, 0, col2, 0);
}

void InitCropArea(IImageProperties& properties) { std::memset(properties.Crop, 0, sizeof properties.Crop); }

IImageProperties MakeImageProperties(const TClientAnchor& anchor, const wchar_t* fileName,
                                     const wchar_t* shapeName) {
  IImageProperties p{};
  p.Version = 1;
  p.Anchor = anchor;
  p.ShapeName = shapeName;
  p.AltText = nullptr;
  p.Hyperlink = nullptr;
  p.FileName = fileName;
  InitCropArea(p);
  p.TransparentColor = -1;
  p.BackColor = -1;
  p.Contrast = 0x10000;
  p.Brightness = 0;
  p.Gamma = 0;
  p.LockAspect = 1;
  p.Print = 1;
  p.Macro = nullptr;
  p.Visible = 1;
  p.Locked = 1;
  p.Grayscale = 0;
  p.BiLevel = 0;
  return p;
}

TProtection::~TProtection() {
  if (protectionHandle_ != 0) XLFreeError(XLFree(protectionHandle_));
}

TExcelFile::TExcelFile(int value) {
  CheckDllVersion();
  CheckXlsError(XLCreate(value, &handle_));
  try {
    documentProperties_ = std::make_unique<TDocumentProperties>(handle_);
    protection_ = std::make_unique<TProtection>(handle_);
  } catch (...) {
    XLFreeError(XLFree(handle_));
    throw;
  }
}

TExcelFile::~TExcelFile() {
  protection_.reset();
  documentProperties_.reset();
  if (handle_ != 0) XLFreeError(XLFree(handle_));
}

void TExcelFile::CheckDllVersion() {
  const std::uint32_t version = XLVersion();
  if (version != kRequiredXlsVersion)
    throw Exception(
        "The version of FlexCelDyn.dll doesn't match the version used in the application. Make sure "
        "the correct dll is available. Application Version: " +
        XlsVersionText(kRequiredXlsVersion) + ". FlexCelDyn version: " + XlsVersionText(version));
}

void TExcelFile::NewFile(int sheetCount) { NewFileEx(sheetCount, 0); }

void TExcelFile::NewFileEx(int sheetCount, int value) { CheckXlsError(XLNewFile(handle_, sheetCount, value)); }

void TExcelFile::Save(const std::string& fileName) { SaveAs(fileName, 0, 9); }

void TExcelFile::SaveAs(const std::string& fileName, int fileFormat, std::uint16_t delimiter) {
  SaveEx(fileName, fileFormat, delimiter, "UTF8");
}

void TExcelFile::SaveEx(const std::string& fileName, int fileFormat, std::uint16_t delimiter,
                        const std::string& encoding) {
  const std::wstring name = Utf8ToWide(fileName), wideEncoding = Utf8ToWide(encoding);
  CheckXlsError(XLSave(handle_, name.c_str(), fileFormat, delimiter, wideEncoding.c_str()));
}

void TExcelFile::SetCellValue(int row, int col, const std::string& text, int format) {
  const std::wstring wide = Utf8ToWide(text);
  TRichStringDll value;
  InitRichString(value, wide.c_str());
  CheckXlsError(XLSetCellValueString(handle_, -1, row, col, &value, format));
}

int TExcelFile::AddFormat(const TFlxFormat& format) {
  std::int32_t index = 0;
  CheckXlsError(XLAddFormat(handle_, &format, &index));
  return index;
}

void TExcelFile::SetCellFormat(int row, int col, int format) {
  CheckXlsError(XLSetCellFormat(handle_, row, col, format));
}

void TExcelFile::MergeCells(int row1, int col1, int row2, int col2) {
  CheckXlsError(XLMergeCells(handle_, row1, col1, row2, col2));
}

void TExcelFile::SetColWidth(int col1, int col2, int width) { CheckXlsError(XLSetColWidth(handle_, col1, col2, width)); }

void TExcelFile::AddImage(const std::string& fileName, const IImageProperties& properties) {
  const std::wstring name = Utf8ToWide(fileName);
  CheckXlsError(XLAddImageFromFile(handle_, name.c_str(), properties));
}

void TExcelFile::GetDefaultFormat(TFlxFormat& format) {
  std::memset(&format, 0, sizeof format);
  CheckXlsError(XLGet_GetDefaultFormat(handle_, &format));
}

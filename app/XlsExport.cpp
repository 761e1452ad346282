// BIFF worksheet records: buffered writing and the data set walk.
#include "app/XlsExport.h"

#include <cstring>
#include <variant>

#include "toolkit/classes/Streams.h"
#include "toolkit/data/DataSet.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Application.h"

namespace {

constexpr uint16_t kBof = 0x0809;
constexpr uint16_t kEof = 0x000A;
constexpr uint16_t kLabel = 0x0204;
constexpr uint16_t kRk = 0x027E;
constexpr uint16_t kNumber = 0x0203;
constexpr size_t kFlushAt = 64 * 1024;
// Row numbers are 16-bit.
constexpr int kRowsPerFile = 65536;
// RK integers keep 30 bits.
constexpr long long kRkMin = -(1LL << 29);
constexpr long long kRkMax = (1LL << 29) - 1;

}  // namespace

TXlsRecordFile::TXlsRecordFile(const std::string& fileName, int columnCount)
    : columns_(columnCount > 0 ? columnCount : 1) {
  if (FileExists(fileName)) DeleteFile(fileName);
  file_ = std::make_unique<TFileStream>(fileName, fmCreate);
  buffer_.reserve(kFlushAt + 512);
  static const unsigned char bof[] = {0x09, 0x08, 0x08, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00};
  Put(bof, sizeof bof);
}

TXlsRecordFile::~TXlsRecordFile() {
  if (!file_) return;
  try {
    Close();
  } catch (...) {
    // Destruction during another failure: that failure is what the caller reports.
  }
}

void TXlsRecordFile::Put(const void* data, size_t size) {
  buffer_.append(static_cast<const char*>(data), size);
  if (buffer_.size() >= kFlushAt) Flush();
}

void TXlsRecordFile::Flush() {
  if (!buffer_.empty()) file_->WriteBuffer(buffer_.data(), static_cast<long long>(buffer_.size()));
  buffer_.clear();
}

void TXlsRecordFile::CellHead(uint16_t type, uint16_t length) {
  const uint16_t head[5] = {type, length, static_cast<uint16_t>(row_), static_cast<uint16_t>(col_), 0};
  Put(head, sizeof head);
}

void TXlsRecordFile::XlsNextCell() {
  if (++col_ >= columns_) {
    col_ = 0;
    ++row_;
  }
}

void TXlsRecordFile::XlsWriteLabel(std::string_view text) {
  std::string ansi = Utf8ToAnsi(text);
  if (ansi.size() > 0xFFFF - 8) ansi.resize(0xFFFF - 8);
  const uint16_t n = static_cast<uint16_t>(ansi.size());
  CellHead(kLabel, static_cast<uint16_t>(8 + n));
  PutU16(n);
  Put(ansi.data(), ansi.size());
  XlsNextCell();
}

void TXlsRecordFile::XlsWriteRk(long long value) {
  if (value < kRkMin || value > kRkMax) {
    XlsWriteNumber(static_cast<double>(value));
    return;
  }
  CellHead(kRk, 10);
  const uint32_t rk = static_cast<uint32_t>(static_cast<int32_t>(value) * 4 + 2);
  Put(&rk, 4);
  XlsNextCell();
}

void TXlsRecordFile::XlsWriteNumber(double value) {
  CellHead(kNumber, 14);
  Put(&value, 8);
  XlsNextCell();
}

void TXlsRecordFile::Close() {
  if (!file_) return;
  const uint16_t eof[2] = {kEof, 0};
  Put(eof, sizeof eof);
  Flush();
  file_.reset();
}

std::string XlsPartFileName(const std::string& fileName, int part) {
  if (part <= 1) return fileName;
  const std::string ext = ExtractFileExt(fileName);
  return fileName.substr(0, fileName.size() - ext.size()) + "_" + IntToStr(part) + ext;
}

namespace {

void WriteHeader(TXlsRecordFile& out, const TDataSet& query) {
  for (int i = 0; i < query.FieldCount(); ++i) out.XlsWriteLabel(query.Fields(i)->FieldName());
}

void WriteCell(TXlsRecordFile& out, const TField& field) {
  const TFieldValue& value = field.Value();
  if (std::holds_alternative<std::monostate>(value)) {
    out.XlsSkipCell();
    return;
  }
  switch (field.DataType()) {
    case ftInteger:
      if (const long long* i = std::get_if<long long>(&value)) {
        out.XlsWriteRk(*i);
      } else {
        out.XlsWriteRk(field.AsLargeInt());
      }
      break;
    case ftFloat:
      if (const double* d = std::get_if<double>(&value)) {
        out.XlsWriteNumber(*d);
      } else {
        out.XlsWriteNumber(field.AsFloat());
      }
      break;
    default:
      out.XlsWriteLabel(field.DisplayText());
      break;
  }
}

// Re-enables the data set's controls however the walk ends.
class ControlsDisabled {
 public:
  explicit ControlsDisabled(TDataSet* dataSet) : dataSet_(dataSet) { dataSet_->DisableControls(); }
  ~ControlsDisabled() { dataSet_->EnableControls(); }
  ControlsDisabled(const ControlsDisabled&) = delete;
  ControlsDisabled& operator=(const ControlsDisabled&) = delete;

 private:
  TDataSet* dataSet_;
};

}  // namespace

std::vector<std::string> DataSetToXls(const std::string& fileName, bool withHeader, TDataSet* query) {
  const int columns = query->FieldCount();
  std::vector<std::string> files = {fileName};
  auto out = std::make_unique<TXlsRecordFile>(fileName, columns);
  if (withHeader) WriteHeader(*out, *query);
  ControlsDisabled disabled(query);
  query->First();
  while (!query->Eof()) {
    if (out->Row() >= kRowsPerFile) {
      out->Close();
      files.push_back(XlsPartFileName(fileName, static_cast<int>(files.size()) + 1));
      out = std::make_unique<TXlsRecordFile>(files.back(), columns);
      if (withHeader) WriteHeader(*out, *query);
    }
    for (int i = 0; i < columns; ++i) WriteCell(*out, *query->Fields(i));
    query->Next();
    if (Application) Application->ProcessMessages();
  }
  out->Close();
  return files;
}

// Workbook argument checks, the workbook globals substream and saving.
#include "xls/Workbook.h"

#include <algorithm>

#include "toolkit/system/WinApi.h"
#include "xls/CompoundFile.h"
#include "xls/XlsException.h"

namespace {

void CheckRow(int row) {
  if (row < 1 || row > Worksheet::kMaxRows)
    throw XlsException(L"Row " + std::to_wstring(row) + L" is outside the range 1 to " +
                       std::to_wstring(Worksheet::kMaxRows) + L".");
}

void CheckCol(int col) {
  if (col < 1 || col > Worksheet::kMaxCols)
    throw XlsException(L"Column " + std::to_wstring(col) + L" is outside the range 1 to " +
                       std::to_wstring(Worksheet::kMaxCols) + L".");
}

void CheckOrder(int first, int last, const wchar_t* what) {
  if (last < first)
    throw XlsException(std::wstring(L"The last ") + what + L" (" + std::to_wstring(last) +
                       L") comes before the first (" + std::to_wstring(first) + L").");
}


void U16Record(biff::BiffStream& stream, std::uint16_t id, unsigned value) {
  ByteBuffer r;
  r.U16(value);
  stream.Record(id, r);
}

// A client anchor, checked, as zero-based cells.
CellAnchor ToCellAnchor(const TClientAnchor& a) {
  CheckCol(a.Col1);
  CheckRow(a.Row1);
  CheckCol(a.Col2);
  CheckRow(a.Row2);
  const auto offset = [](int v, int limit, const wchar_t* what) {
    if (v < 0 || v >= limit)
      throw XlsException(std::wstring(L"The ") + what + L" offset " + std::to_wstring(v) +
                         L" is outside the range 0 to " + std::to_wstring(limit - 1) + L".");
    return static_cast<std::uint16_t>(v);
  };
  CellAnchor c;
  c.dx1 = offset(a.Dx1, 1024, L"column");
  c.dy1 = offset(a.Dy1, 256, L"row");
  c.dx2 = offset(a.Dx2, 1024, L"column");
  c.dy2 = offset(a.Dy2, 256, L"row");
  if (a.Row2 < a.Row1 || (a.Row2 == a.Row1 && a.Dy2 < a.Dy1) || a.Col2 < a.Col1 ||
      (a.Col2 == a.Col1 && a.Dx2 < a.Dx1))
    throw XlsException(L"The picture's bottom-right corner lies above or left of its top-left corner.");
  static const std::uint16_t flags[] = {0, 2, 3};
  if (a.AnchorType < atMoveAndResize || a.AnchorType > atDontMoveAndDontResize)
    throw XlsException(L"The anchor type " + std::to_wstring(a.AnchorType) + L" is outside the range 0 to 2.");
  c.flag = flags[a.AnchorType];
  c.col1 = static_cast<std::uint16_t>(a.Col1 - 1);
  c.row1 = static_cast<std::uint16_t>(a.Row1 - 1);
  c.col2 = static_cast<std::uint16_t>(a.Col2 - 1);
  c.row2 = static_cast<std::uint16_t>(a.Row2 - 1);
  return c;
}

}  // namespace

void Workbook::NewFile(int sheetCount) {
  if (sheetCount < 1 || sheetCount > 255)
    throw XlsException(L"The sheet count " + std::to_wstring(sheetCount) + L" is outside the range 1 to 255.");
  sheets_.clear();
  for (int i = 1; i <= sheetCount; ++i) sheets_.emplace_back(L"Sheet" + std::to_wstring(i));
  active_ = 0;
  formats_ = CellFormats();
  pictures_.clear();
}

void Workbook::RequireFile() const {
  if (!HasFile()) throw XlsException(L"The workbook has no file yet: call NewFile first.");
}

Worksheet& Workbook::Sheet(int sheet) {
  RequireFile();
  if (sheet == -1) return sheets_[static_cast<std::size_t>(active_)];
  if (sheet < 1 || sheet > static_cast<int>(sheets_.size()))
    throw XlsException(L"Sheet " + std::to_wstring(sheet) + L" does not exist.");
  return sheets_[static_cast<std::size_t>(sheet - 1)];
}

void Workbook::CheckFormat(int format) const {
  if (format < 0 || format >= formats_.Count())
    throw XlsException(L"The format index " + std::to_wstring(format) + L" is not a registered format.");
}

int Workbook::AddFormat(const TFlxFormat& format) {
  RequireFile();
  return formats_.Add(format);
}

void Workbook::SetCellText(int sheet, int row, int col, std::wstring text, int format) {
  Worksheet& ws = Sheet(sheet);
  CheckRow(row);
  CheckCol(col);
  if (format != -1) CheckFormat(format);
  ws.SetText(row - 1, col - 1, std::move(text), format);
}

void Workbook::SetCellFormat(int row, int col, int format) {
  Worksheet& ws = Sheet(-1);
  CheckRow(row);
  CheckCol(col);
  CheckFormat(format);
  ws.SetFormat(row - 1, col - 1, format);
}

void Workbook::MergeCells(int row1, int col1, int row2, int col2) {
  Worksheet& ws = Sheet(-1);
  CheckRow(row1);
  CheckCol(col1);
  CheckRow(row2);
  CheckCol(col2);
  CheckOrder(row1, row2, L"row");
  CheckOrder(col1, col2, L"column");
  ws.Merge({row1 - 1, col1 - 1, row2 - 1, col2 - 1});
}

void Workbook::SetColumnWidth(int col1, int col2, int width) {
  Worksheet& ws = Sheet(-1);
  CheckCol(col1);
  CheckCol(col2);
  CheckOrder(col1, col2, L"column");
  if (width < 0 || width > 65535)
    throw XlsException(L"The column width " + std::to_wstring(width) + L" is outside the range 0 to 65535.");
  ws.SetColumnWidth(col1 - 1, col2 - 1, width);
}

void Workbook::AddImage(const std::wstring& fileName, const IImageProperties& properties) {
  Worksheet& ws = Sheet(-1);
  PlacedPicture placed;
  placed.anchor = ToCellAnchor(properties.Anchor);
  if (properties.ShapeName) placed.name = properties.ShapeName;
  if (placed.name.size() > 255) throw XlsException(L"The shape name is longer than 255 characters.");
  if (fileName.empty()) throw XlsException(L"The picture file name is empty.");
  Picture picture = LoadBitmapPicture(fileName);
  const auto same = std::find_if(pictures_.begin(), pictures_.end(), [&](const Picture& p) {
    return p.uid == picture.uid && p.dib == picture.dib;
  });
  placed.blip = static_cast<std::size_t>(same - pictures_.begin());
  ws.AddPicture(std::move(placed));
  if (same == pictures_.end()) pictures_.push_back(std::move(picture));
}

ByteBuffer Workbook::Globals(const std::vector<ByteBuffer>& sheetStreams, const SharedStringTable& strings) const {
  biff::BiffStream s;
  s.Bof(0x0005);
  U16Record(s, biff::kCodePage, 1200);  // UTF-16
  ByteBuffer window;
  window.U16(0);       // position
  window.U16(0);
  window.U16(0x355C);  // size in twips
  window.U16(0x30ED);
  window.U16(0x0038);  // horizontal and vertical scroll bars, sheet tabs
  window.U16(static_cast<unsigned>(active_));
  window.U16(0);       // first visible tab
  window.U16(1);       // selected tabs
  window.U16(0x0258);  // tab bar width ratio
  s.Record(biff::kWindow1, window);
  U16Record(s, biff::kDateMode, 0);  // 1900 date system
  formats_.Write(s);

  std::vector<std::size_t> offsetAt;
  for (const Worksheet& ws : sheets_) {
    ByteBuffer r;
    offsetAt.push_back(s.Size() + 4);
    r.U32(0);  // patched below
    r.U16(0);  // visible worksheet
    r.U8(static_cast<unsigned>(ws.Name().size()));
    r.U8(1);
    r.Utf16(ws.Name());
    s.Record(biff::kBoundSheet, r);
  }

  std::vector<std::uint32_t> references(pictures_.size(), 0);
  std::vector<std::size_t> pictureCounts;
  for (const Worksheet& ws : sheets_) {
    if (ws.Pictures().empty()) continue;
    pictureCounts.push_back(ws.Pictures().size());
    for (const PlacedPicture& p : ws.Pictures()) ++references[p.blip];
  }
  if (!pictureCounts.empty()) s.DrawingGroup(drawing::DrawingGroupData(pictures_, references, pictureCounts));
  strings.Write(s);
  s.Record(biff::kEof);

  std::size_t offset = s.Size();
  for (std::size_t i = 0; i < sheets_.size(); ++i) {
    s.Buffer().Patch32(offsetAt[i], static_cast<std::uint32_t>(offset));
    offset += sheetStreams[i].Size();
  }
  return std::move(s.Buffer());
}

std::vector<std::uint8_t> Workbook::Build() const {
  RequireFile();
  SharedStringTable strings;
  std::vector<ByteBuffer> sheetStreams;
  std::uint32_t drawingId = 0;
  for (std::size_t i = 0; i < sheets_.size(); ++i) {
    biff::BiffStream s;
    if (!sheets_[i].Pictures().empty()) ++drawingId;
    sheets_[i].Write(s, strings, drawingId, static_cast<int>(i) == active_);
    sheetStreams.push_back(std::move(s.Buffer()));
  }
  ByteBuffer book = Globals(sheetStreams, strings);
  for (const ByteBuffer& s : sheetStreams) book.Append(s);
  CompoundFileWriter file;
  file.AddStream(L"Workbook", std::move(book.Bytes()));
  return file.Build();
}

void Workbook::Save(const std::wstring& fileName) const {
  if (fileName.empty()) throw XlsException(L"The file name is empty.");
  const std::vector<std::uint8_t> bytes = Build();
  const auto fail = [&](unsigned long code) {
    throw XlsException(L"Cannot write the file \"" + fileName + L"\": " + SystemErrorText(code));
  };
  HANDLE file = CreateFileW(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) fail(GetLastError());
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  const DWORD error = GetLastError();
  if (!CloseHandle(file) && ok) fail(GetLastError());
  if (!ok || written != bytes.size()) fail(ok ? ERROR_WRITE_FAULT : error);
}

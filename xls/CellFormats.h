// The workbook's cell formats: each registered TFlxFormat becomes a cell XF record with its
// font (FONT) and number format (FORMAT). Format 0 is the workbook's default format; equal
// formats share one index. Invalid field values are rejected when a format is added, so what
// is stored always writes a valid record.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "xls/BiffStream.h"
#include "xls/FlexCelDyn.h"

class CellFormats {
 public:
  CellFormats();

  // The default format, its texts pointing to constants of the library.
  static TFlxFormat DefaultFormat();

  // Registers `format` (validated; XlsException when a field is out of range) and returns
  // its index; an equal format already registered returns that one's index.
  int Add(const TFlxFormat& format);
  int Count() const { return static_cast<int>(formats_.size()); }
  // The XF record index of a registered format.
  static std::uint16_t XfIndex(int format) { return static_cast<std::uint16_t>(kFirstCellXf + format); }

  // Appends FONT, FORMAT, XF and STYLE records to the globals stream.
  void Write(biff::BiffStream& stream) const;

 private:
  static constexpr int kFirstCellXf = 15;

  struct Font {
    std::wstring name;
    int size20 = 200;
    int color = 0x7FFF;
    int style = 0;
    int underline = 0;
    int family = 0;
    int charSet = 0;
    bool operator==(const Font&) const = default;
  };
  struct Format {
    Font font;
    std::wstring numberFormat;  // empty for General
    int hAlign = 0;
    int vAlign = 2;
    bool wrap = false;
    bool locked = true;
    bool hidden = false;
    bool operator==(const Format&) const = default;
  };

  static Format FromRecord(const TFlxFormat& record);
  static void WriteFont(biff::BiffStream& stream, const Font& font);
  // The FONT index an XF uses for `font` (index 4 does not exist in the file format).
  int FontIndex(const Font& font) const;
  int NumberFormatIndex(const std::wstring& numberFormat) const;

  std::vector<Format> formats_;
  std::vector<Font> fonts_;                // fonts other than the default, in first-use order
  std::vector<std::wstring> numberFormats_;  // custom number formats, in first-use order
};

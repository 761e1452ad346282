// FONT/FORMAT/XF/STYLE records from the registered cell formats.
#include "xls/CellFormats.h"

#include <algorithm>

#include "xls/XlsException.h"

namespace {

constexpr wchar_t kDefaultFontName[] = L"Arial";
constexpr wchar_t kGeneral[] = L"General";
constexpr wchar_t kNormalStyle[] = L"Normal";
constexpr int kFirstCustomNumberFormat = 164;
constexpr int kStyleXfCount = 15;

std::wstring Text(const wchar_t* p) { return p ? std::wstring(p) : std::wstring(); }

void Check(bool ok, const std::wstring& message) {
  if (!ok) throw XlsException(message);
}

void CheckRange(int value, int low, int high, const wchar_t* what) {
  Check(value >= low && value <= high,
        std::wstring(L"The ") + what + L" " + std::to_wstring(value) + L" is outside the range " +
            std::to_wstring(low) + L" to " + std::to_wstring(high) + L".");
}

// Underline kinds as the FONT record codes them.
unsigned UnderlineCode(int underline) {
  static const unsigned codes[] = {0x00, 0x01, 0x02, 0x21, 0x22};
  return codes[underline];
}

}  // namespace

CellFormats::CellFormats() { formats_.push_back(FromRecord(DefaultFormat())); }

TFlxFormat CellFormats::DefaultFormat() {
  TFlxFormat f{};
  f.Font.Name = kDefaultFontName;
  f.Font.Size20 = 200;
  f.Font.ColorIndex = 0x7FFF;
  f.Format = kGeneral;
  f.HAlignment = fhaGeneral;
  f.VAlignment = fvaBottom;
  f.Locked = 1;
  f.ParentStyle = kNormalStyle;
  return f;
}

CellFormats::Format CellFormats::FromRecord(const TFlxFormat& r) {
  Format f;
  f.font.name = Text(r.Font.Name);
  Check(!f.font.name.empty(), L"The font name is empty.");
  Check(f.font.name.size() <= 255, L"The font name is longer than 255 characters.");
  CheckRange(r.Font.Size20, 20, 8180, L"font size (in twentieths of a point)");
  Check(r.Font.ColorIndex == 0x7FFF || (r.Font.ColorIndex >= 8 && r.Font.ColorIndex <= 63),
        L"The font colour index " + std::to_wstring(r.Font.ColorIndex) +
            L" is neither a palette index (8 to 63) nor automatic (32767).");
  CheckRange(r.Font.Style, 0, 31, L"font style");
  CheckRange(r.Font.Underline, 0, 4, L"underline kind");
  CheckRange(r.Font.Family, 0, 5, L"font family");
  CheckRange(r.Font.CharSet, 0, 255, L"character set");
  f.font.size20 = r.Font.Size20;
  f.font.color = r.Font.ColorIndex;
  f.font.style = r.Font.Style;
  f.font.underline = r.Font.Underline;
  f.font.family = r.Font.Family;
  f.font.charSet = r.Font.CharSet;

  f.numberFormat = Text(r.Format);
  if (f.numberFormat == kGeneral) f.numberFormat.clear();
  Check(f.numberFormat.size() <= 255, L"The number format is longer than 255 characters.");
  const std::wstring style = Text(r.ParentStyle);
  Check(style.empty() || style == kNormalStyle, L"The cell style \"" + style + L"\" does not exist.");
  CheckRange(r.HAlignment, fhaGeneral, fhaCenterAcrossSelection, L"horizontal alignment");
  CheckRange(r.VAlignment, fvaTop, fvaDistributed, L"vertical alignment");
  f.hAlign = r.HAlignment;
  f.vAlign = r.VAlignment;
  f.wrap = r.WrapText != 0;
  f.locked = r.Locked != 0;
  f.hidden = r.Hidden != 0;
  return f;
}

int CellFormats::Add(const TFlxFormat& record) {
  const Format f = FromRecord(record);
  const auto found = std::find(formats_.begin(), formats_.end(), f);
  if (found != formats_.end()) return static_cast<int>(found - formats_.begin());
  Check(formats_.size() < 4000, L"The workbook holds too many cell formats.");
  if (!(f.font == formats_[0].font) && std::find(fonts_.begin(), fonts_.end(), f.font) == fonts_.end())
    fonts_.push_back(f.font);
  if (!f.numberFormat.empty() &&
      std::find(numberFormats_.begin(), numberFormats_.end(), f.numberFormat) == numberFormats_.end())
    numberFormats_.push_back(f.numberFormat);
  formats_.push_back(f);
  return static_cast<int>(formats_.size() - 1);
}

int CellFormats::FontIndex(const Font& font) const {
  if (font == formats_[0].font) return 0;
  const auto at = std::find(fonts_.begin(), fonts_.end(), font) - fonts_.begin();
  return static_cast<int>(at) + 5;  // four copies of the default come first; 4 is skipped
}

int CellFormats::NumberFormatIndex(const std::wstring& numberFormat) const {
  if (numberFormat.empty()) return 0;
  const auto at = std::find(numberFormats_.begin(), numberFormats_.end(), numberFormat) -
                  numberFormats_.begin();
  return kFirstCustomNumberFormat + static_cast<int>(at);
}

void CellFormats::WriteFont(biff::BiffStream& stream, const Font& font) {
  ByteBuffer r;
  r.U16(static_cast<unsigned>(font.size20));
  unsigned flags = 0;
  if (font.style & flsItalic) flags |= 0x02;
  if (font.style & flsStrikeOut) flags |= 0x08;
  r.U16(flags);
  r.U16(static_cast<unsigned>(font.color));
  r.U16((font.style & flsBold) ? 700 : 400);
  r.U16((font.style & flsSuperscript) ? 1 : (font.style & flsSubscript) ? 2 : 0);
  r.U8(UnderlineCode(font.underline));
  r.U8(static_cast<unsigned>(font.family));
  r.U8(static_cast<unsigned>(font.charSet));
  r.U8(0);
  r.U8(static_cast<unsigned>(font.name.size()));
  r.U8(1);  // UTF-16 characters
  r.Utf16(font.name);
  stream.Record(biff::kFont, r);
}

void CellFormats::Write(biff::BiffStream& stream) const {
  for (int i = 0; i < 4; ++i) WriteFont(stream, formats_[0].font);
  for (const Font& font : fonts_) WriteFont(stream, font);

  for (std::size_t i = 0; i < numberFormats_.size(); ++i) {
    ByteBuffer r;
    r.U16(static_cast<unsigned>(kFirstCustomNumberFormat + i));
    r.U16(static_cast<unsigned>(numberFormats_[i].size()));
    r.U8(1);
    r.Utf16(numberFormats_[i]);
    stream.Record(biff::kFormat, r);
  }

  // Style XFs: the Normal style and the built-in slots readers expect before the cell XFs.
  for (int i = 0; i < kStyleXfCount; ++i) {
    ByteBuffer r;
    r.U16(0);                // font
    r.U16(0);                // number format
    r.U16(0xFFF5);           // locked, style XF, no parent
    r.U8(0x20);              // bottom aligned
    r.U8(0);                 // rotation
    r.U8(0);                 // indent, shrink, reading order
    r.U8(i == 0 ? 0x00 : 0xF4);  // in style XFs a cleared bit means "attribute used"
    r.U16(0);                // border lines
    r.U16(0);                // border colours
    r.U32(0);                // border colours, fill pattern
    r.U16(0x40 | (0x41 << 7));  // pattern colours: system window text and background
    stream.Record(biff::kXf, r);
  }
  for (const Format& f : formats_) {
    ByteBuffer r;
    r.U16(static_cast<unsigned>(FontIndex(f.font)));
    r.U16(static_cast<unsigned>(NumberFormatIndex(f.numberFormat)));
    r.U16((f.locked ? 0x0001 : 0) | (f.hidden ? 0x0002 : 0));  // parent: the Normal style
    r.U8(static_cast<unsigned>(f.hAlign) | (f.wrap ? 0x08 : 0) | (static_cast<unsigned>(f.vAlign) << 4));
    r.U8(0);
    r.U8(0);
    r.U8(0xFC);  // in cell XFs a set bit means "attribute used": all are given here
    r.U16(0);
    r.U16(0);
    r.U32(0);
    r.U16(0x40 | (0x41 << 7));
    stream.Record(biff::kXf, r);
  }

  ByteBuffer normal;
  normal.U16(0x8000);  // built-in style on XF 0
  normal.U8(0);        // Normal
  normal.U8(0xFF);
  stream.Record(biff::kStyle, normal);
}

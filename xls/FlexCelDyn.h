// The C interface of FlexCelDyn.dll, our .xls workbook writer: the records that cross the
// library boundary and the 15 functions the report binding imports. Every function is
// __stdcall and exported under its plain name; each returns nullptr on success or an error
// text (UTF-16, owned by the caller until it is handed back to XLFreeError). XLVersion is the
// one function without an error text.
#pragma once

#include <cstddef>
#include <cstdint>

#ifdef FLEXCELDYN_BUILD
#define FLEXCELDYN_API extern "C" __declspec(dllexport)
#else
#define FLEXCELDYN_API extern "C" __declspec(dllimport)
#endif

// A workbook (or other library object); 0 is no object.
using XlsHandle = std::uint32_t;
// An error text returned by the library, or nullptr for success.
using XlsError = wchar_t*;

#pragma pack(push, 1)

// A cell text; formatting runs are not supported (RunCount 0, Runs nullptr).
struct TRichStringDll {
  const wchar_t* Text;
  std::int32_t RunCount;
  const void* Runs;
};

// Font of a cell format.
struct TFlxFont {
  const wchar_t* Name;
  std::int32_t Size20;      // twentieths of a point
  std::int32_t ColorIndex;  // palette index 8..63, or 0x7FFF for the automatic colour
  std::int32_t Style;       // TFlxFontStyle bits
  std::int32_t Underline;   // TFlxUnderline
  std::int32_t Family;      // 0..5, as the platform's font families
  std::int32_t CharSet;     // the platform's character set number, 0..255
  std::uint8_t Reserved[20];
};

enum TFlxFontStyle : std::int32_t {
  flsBold = 1,
  flsItalic = 2,
  flsStrikeOut = 4,
  flsSuperscript = 8,
  flsSubscript = 16,
};

enum TFlxUnderline : std::int32_t {
  fuNone = 0,
  fuSingle = 1,
  fuDouble = 2,
  fuSingleAccounting = 3,
  fuDoubleAccounting = 4,
};

enum THFlxAlignment : std::int32_t {
  fhaGeneral = 0,
  fhaLeft = 1,
  fhaCenter = 2,
  fhaRight = 3,
  fhaFill = 4,
  fhaJustify = 5,
  fhaCenterAcrossSelection = 6,
};

enum TVFlxAlignment : std::int32_t {
  fvaTop = 0,
  fvaCenter = 1,
  fvaBottom = 2,
  fvaJustify = 3,
  fvaDistributed = 4,
};

// A cell format. Obtain the workbook's default with XLGet_GetDefaultFormat and change fields;
// the reserved areas (borders and fills, which this writer does not support) are ignored.
struct TFlxFormat {
  TFlxFont Font;                 // 0
  std::uint8_t Reserved1[164];   // 48
  const wchar_t* Format;         // 212 number format; nullptr, "" or "General" for general
  std::int32_t HAlignment;       // 216 THFlxAlignment
  std::int32_t VAlignment;       // 220 TVFlxAlignment
  std::uint8_t WrapText;         // 224
  std::uint8_t Locked;           // 225
  std::uint8_t Hidden;           // 226
  std::uint8_t Reserved2[7];     // 227
  const wchar_t* ParentStyle;    // 234 name of the cell style; only "Normal" exists
  std::uint8_t Reserved3[69];    // 238
};

// How a picture follows the cells it is anchored to.
enum TFlxAnchorType : std::int32_t {
  atMoveAndResize = 0,
  atMoveAndDontResize = 1,
  atDontMoveAndDontResize = 2,
};

// Where a picture is placed: its top-left and bottom-right corners as a cell (1-based) and an
// offset into it, in 1/1024 of the column's width and 1/256 of the row's height.
struct TClientAnchor {
  std::uint8_t Flag;            // 0
  std::int32_t AnchorType;      // 1 TFlxAnchorType
  std::int32_t Col1;            // 5
  std::int32_t Dx1;             // 9
  std::int32_t Row1;            // 13
  std::int32_t Dy1;             // 17
  std::int32_t Col2;            // 21
  std::int32_t Dx2;             // 25
  std::int32_t Row2;            // 29
  std::int32_t Dy2;             // 33
  double Reserved[4];           // 37 −1.0 each; the writer places pictures by cells only
};

// A picture's properties. The writer uses the anchor and the shape name; the other fields
// (crop area, colours, flags) are accepted and ignored.
struct IImageProperties {
  std::uint8_t Version;         // 0
  TClientAnchor Anchor;         // 1
  const wchar_t* ShapeName;     // 70
  const wchar_t* AltText;       // 74
  const wchar_t* Hyperlink;     // 78
  const wchar_t* FileName;      // 82
  std::int32_t Crop[4];         // 86
  std::int32_t TransparentColor;  // 102
  std::int32_t BackColor;       // 106
  std::int32_t Contrast;        // 110 16.16 fixed point
  std::int32_t Brightness;      // 114
  std::int32_t Gamma;           // 118
  std::uint8_t LockAspect;      // 122
  std::uint8_t Print;           // 123
  std::uint8_t Reserved1[6];    // 124
  const wchar_t* Macro;         // 130
  std::uint8_t Visible;         // 134
  std::uint8_t Locked;          // 135
  std::uint8_t Grayscale;       // 136
  std::uint8_t BiLevel;         // 137
};

// The 32-bit program has the library's record layout byte for byte. The 64-bit build keeps the
// same packed field order with 8-byte pointers: the writer and the binding are built together,
// so they share that layout.
#if INTPTR_MAX == INT32_MAX
static_assert(sizeof(TRichStringDll) == 12);
static_assert(sizeof(TFlxFont) == 48);
static_assert(sizeof(TFlxFormat) == 307);
static_assert(offsetof(TFlxFormat, Format) == 212);
static_assert(offsetof(TFlxFormat, HAlignment) == 216);
static_assert(offsetof(TFlxFormat, ParentStyle) == 234);
static_assert(sizeof(TClientAnchor) == 69);
static_assert(sizeof(IImageProperties) == 138);
static_assert(offsetof(IImageProperties, ShapeName) == 70);
static_assert(offsetof(IImageProperties, FileName) == 82);
static_assert(offsetof(IImageProperties, Macro) == 130);
#else
static_assert(sizeof(TRichStringDll) == 20);
static_assert(sizeof(TFlxFont) == 52);
static_assert(sizeof(TFlxFormat) == 319);
static_assert(offsetof(TFlxFormat, Format) == 216);
static_assert(offsetof(TFlxFormat, HAlignment) == 224);
static_assert(offsetof(TFlxFormat, ParentStyle) == 242);
static_assert(sizeof(TClientAnchor) == 69);
static_assert(sizeof(IImageProperties) == 158);
static_assert(offsetof(IImageProperties, ShapeName) == 70);
static_assert(offsetof(IImageProperties, FileName) == 94);
static_assert(offsetof(IImageProperties, Macro) == 146);
#endif

#pragma pack(pop)

// Starts the library; every other call but XLVersion and XLFreeError needs it.
FLEXCELDYN_API XlsError __stdcall XLInit();
// Ends the library, releasing every handle still open.
FLEXCELDYN_API XlsError __stdcall XLShutdown();
// The library's version as $00AABBCC (version AA.BB.CC).
FLEXCELDYN_API std::uint32_t __stdcall XLVersion();
// Creates a workbook object; `options` is reserved (0 or 1). Stores its handle in *handle.
FLEXCELDYN_API XlsError __stdcall XLCreate(std::int32_t options, XlsHandle* handle);
// Releases a handle returned by XLCreate.
FLEXCELDYN_API XlsError __stdcall XLFree(XlsHandle handle);
// Releases an error text; nullptr is allowed.
FLEXCELDYN_API XlsError __stdcall XLFreeError(XlsError text);
// Starts a new empty workbook with `sheetCount` sheets (1..255) named Sheet1...; the first
// sheet becomes active. `fileFormat` must be 0 (Excel 97-2003).
FLEXCELDYN_API XlsError __stdcall XLNewFile(XlsHandle handle, std::int32_t sheetCount,
                                            std::int32_t fileFormat);
// Writes the workbook to `fileName` as an .xls file. `fileFormat` 0 (automatic) or 1 (Excel
// 97-2003); `delimiter` and `encoding` apply to text formats only and are ignored here.
FLEXCELDYN_API XlsError __stdcall XLSave(XlsHandle handle, const wchar_t* fileName,
                                         std::int32_t fileFormat, std::uint16_t delimiter,
                                         const wchar_t* encoding);
// Writes a text cell on `sheet` (1-based, or -1 for the active sheet); rows 1..65536 and
// columns 1..256. `formatIndex` -1 keeps the cell's format.
FLEXCELDYN_API XlsError __stdcall XLSetCellValueString(XlsHandle handle, std::int32_t sheet,
                                                       std::int32_t row, std::int32_t col,
                                                       const TRichStringDll* value,
                                                       std::int32_t formatIndex);
// Registers a cell format (an equal one is shared) and stores its index in *index.
FLEXCELDYN_API XlsError __stdcall XLAddFormat(XlsHandle handle, const TFlxFormat* format,
                                              std::int32_t* index);
// Applies a registered format to a cell of the active sheet.
FLEXCELDYN_API XlsError __stdcall XLSetCellFormat(XlsHandle handle, std::int32_t row,
                                                  std::int32_t col, std::int32_t formatIndex);
// Merges a cell range of the active sheet; it may not overlap another merged range.
FLEXCELDYN_API XlsError __stdcall XLMergeCells(XlsHandle handle, std::int32_t row1,
                                               std::int32_t col1, std::int32_t row2,
                                               std::int32_t col2);
// Sets the widths of columns col1..col2 of the active sheet, in 1/256 of a character (0..65535).
FLEXCELDYN_API XlsError __stdcall XLSetColWidth(XlsHandle handle, std::int32_t col1,
                                                std::int32_t col2, std::int32_t width);
// Places a Windows bitmap file (whatever its name) on the active sheet at properties.Anchor.
FLEXCELDYN_API XlsError __stdcall XLAddImageFromFile(XlsHandle handle, const wchar_t* fileName,
                                                     IImageProperties properties);
// Fills *format with the workbook's default format; its texts stay owned by the library.
FLEXCELDYN_API XlsError __stdcall XLGet_GetDefaultFormat(XlsHandle handle, TFlxFormat* format);

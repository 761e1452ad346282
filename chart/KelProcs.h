// Free procedures and process-wide values the chart panel, axes and series share: the
// date-time step table with its calendar stepping, the default colour table, per-user defaults,
// field and line routines, point and polygon tests and the index sort. KelProcsStartup fills
// the process-wide values and KelProcsShutdown releases them; nothing else here holds state.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/system/WinApi.h"

// ---- Process-wide values --------------------------------------------------------------------

// Canvas class a new panel uses unless the user's editor settings name another.
extern std::string KelDefaultCanvasName;
// Line separator inside multi-line chart texts (a carriage return; a following line feed is
// dropped) and the separator of field lists ("Field1;Field2").
extern char KelLineSeparator;
extern std::string KelFieldSeparator;
// Clipping and background switches for printing and metafiles; always on.
extern const bool KelClipWhenPrinting;
extern const bool KelClipWhenMetafiling;
extern const bool KelPrintPanelBackground;

// Units of positions and margins given either in percent of a size or in pixels.
enum TKelUnits { muPercent, muPixels };
const TEnumInfo& EnumTypeInfo(TKelUnits);

// ---- Date-time steps ---------------------------------------------------------------------

// Indexes of the date-time step table; dtNone stands for "no table step".
enum TDateTimeStep {
  dtOneMicroSecond, dtOneMillisecond, dtOneSecond, dtFiveSeconds, dtTenSeconds,
  dtFifteenSeconds, dtThirtySeconds, dtOneMinute, dtFiveMinutes, dtTenMinutes,
  dtFifteenMinutes, dtThirtyMinutes, dtOneHour, dtTwoHours, dtSixHours, dtTwelveHours,
  dtOneDay, dtTwoDays, dtThreeDays, dtOneWeek, dtHalfMonth, dtOneMonth, dtTwoMonths,
  dtThreeMonths, dtFourMonths, dtSixMonths, dtOneYear, dtNone
};

// The step table in days, indexed by TDateTimeStep (dtOneMicroSecond .. dtOneYear).
extern const double DateTimeStep[dtNone];

// The process-wide short date format for a range above one day, else the short time format.
std::string RangeDateTimeFormat(double range);

// The table entry after the largest entry not above `step` (searching from the six-month entry
// down); a step below every entry gives the smallest entry.
double NextDateTimeStep(double step);

// The highest index whose entry lies within one microsecond of `value`; dtNone when none does.
int FindDateTimeStep(double value);

// Aligns `value` to the calendar for a step index: half months to the 1st or 15th, months to
// the 1st, years to 1 January (all at midnight), days to whole multiples of 1, 2 or 3 days and
// weeks to Mondays, rounding halves to even. A value of exactly 0, and other indexes, come back
// unchanged. Dates outside the calendar raise EConvertError.
double AlignDateTimeToStep(int stepIndex, double value);

// Moves `value` one step of `increment` days forward or backward. Calendar indexes move by
// calendar units to midnight: half months (1st/15th), 1, 2, 3, 4 or 6 months to the 1st, and
// whole years until the target value + or - increment has been passed. Other indexes add or
// subtract the increment. A zero move leaves the value alone.
void StepDateTime(bool forward, double& value, int stepIndex, double increment);

// ---- Default colours -----------------------------------------------------------------------

// Colours are 32-bit $00BBGGRR values (a high byte of $FF marks a system colour index).
// Entry (index mod table length) of the default colour table that series take their colours
// from when their chart has no palette of its own.
std::int32_t DefaultPaletteColor(int index);
// Replaces the default colour table by colors[0..highestIndex]; -1 restores the 20 built-in
// colours.
void SetDefaultPalette(const std::vector<std::int32_t>& colors, int highestIndex);
// The current default colour table.
const std::vector<std::int32_t>& DefaultPalette();

// ---- Per-user defaults -------------------------------------------------------------------

// The chart editor's per-user key below HKEY_CURRENT_USER.
extern const char* const KelEditorKey;
// A per-user editor value ("DefaultCanvas", "DefaultPalette"); `fallback` when the key or the
// value is missing or unreadable.
int ReadDefaultInteger(const std::string& name, int fallback);
std::string ReadDefaultString(const std::string& name, const std::string& fallback);

// ---- Texts ----------------------------------------------------------------------------------

// Lines of a chart text: 1 without separator, else the separators plus 1 when text follows the
// last one.
int TextLineCount(std::string_view text);

// Number of fields separated by KelFieldSeparator: 0 for an empty text, a trailing separator
// adds none.
int FieldCount(std::string_view text);
int FieldCountSep(std::string_view text, std::string_view separator);
// The n-th field (from 1); empty for an empty text, n <= 0 or n past the last field.
std::string FieldAt(std::string_view text, int n);
std::string FieldAtSep(std::string_view text, int n, std::string_view separator);

// Every `c` replaced by `replacement`, or removed when the replacement is '\0'.
std::string ReplaceChar(std::string_view text, char c, char replacement);

// ---- Geometry ------------------------------------------------------------------------------

// (x - halfWidth, y - halfHeight, x + halfWidth, y + halfHeight); a half height of 0 takes the
// half width.
RECT RectAroundPoint(int x, int y, int halfWidth, int halfHeight = 0);
// Distance from p to the segment a-b, in single precision.
float DistanceToSegment(POINT p, POINT a, POINT b);
// Whether p is either end or lies within tolerance + 1 pixels of the segment a-b.
bool PointNearLine(POINT p, POINT a, POINT b, int tolerance);
// Even-odd test of p against the polygon points[0..highest]; false for fewer than two points.
bool PointInPolygon(POINT p, const POINT* points, int highest);
// Whether the rectangles overlap; the overlap goes to `intersection` when given.
bool RectsIntersect(const RECT& a, const RECT& b, RECT* intersection = nullptr);

// ---- Sorting ---------------------------------------------------------------------------------

// Quicksort over positions first..last of the caller's data: `compare(a, b)` answers <0, 0 or
// >0, `exchange(a, b)` swaps two positions. Positions only, so several parallel arrays can move
// together. Equal elements keep no particular order.
void SortByIndex(int first, int last, const std::function<int(int, int)>& compare,
                 const std::function<void(int, int)>& exchange);

// ---- Unit start-up -------------------------------------------------------------------------

// The screen cursor index of the chart's hand cursor.
constexpr short crKelHand = 2020;

// Fills the process-wide values (default canvas name, colour table) and puts the hand cursor
// "KEL_CURSOR_HAND" of the program's resources into the screen's cursor table at crKelHand
// (when the module has that resource and the screen exists); called once at start.
void KelProcsStartup();
// Releases them again and removes the hand cursor from the screen's table.
void KelProcsShutdown();

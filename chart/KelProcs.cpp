// Shared chart procedures: date-time steps, field and line routines, the index sort and the
// unit's process-wide values.
#include "chart/KelProcs.h"

#include <algorithm>
#include <cmath>

#include "chart/SeriesDetail.h"
#include "chart/SeriesMarks.h"
#include "toolkit/rtl/Math.h"
#include "toolkit/system/Registry.h"
#include "toolkit/ui/Screen.h"

namespace {

// The 20 built-in colours: red, green, yellow, blue, white, gray, fuchsia, teal, navy, maroon,
// lime, olive, purple, silver, aqua, black and four pale tones.
const std::int32_t kBuiltInColors[] = {
    0x0000FF, 0x008000, 0x00FFFF, 0xFF0000, 0xFFFFFF, 0x808080, 0xFF00FF,
    0x808000, 0x800000, 0x000080, 0x00FF00, 0x008080, 0x800080, 0xC0C0C0,
    0xFFFF00, 0x000000, 0xC0DCC0, 0xF0CAA6, 0xF0FBFF, 0xA4A0A0};

std::vector<std::int32_t> gDefaultPalette;

}  // namespace

std::string KelDefaultCanvasName;
char KelLineSeparator = '\r';
std::string KelFieldSeparator;
const bool KelClipWhenPrinting = true;
const bool KelClipWhenMetafiling = true;
const bool KelPrintPanelBackground = true;

const char* const KelEditorKey = "SOFTWARE\\Kelvane\\Quilvane\\Editor";

// Each entry is one correctly rounded division, so that 1.0 / 24 finds the one-hour entry.
const double DateTimeStep[dtNone] = {
    1.0 / 86400e6, 1.0 / 86400e3, 1.0 / 86400, 5.0 / 86400, 10.0 / 86400,
    15.0 / 86400, 30.0 / 86400, 1.0 / 1440, 5.0 / 1440, 10.0 / 1440,
    15.0 / 1440, 30.0 / 1440, 1.0 / 24, 2.0 / 24, 6.0 / 24, 12.0 / 24,
    1, 2, 3, 7, 15, 30, 60,
    90, 120, 182, 365};

const TEnumInfo& EnumTypeInfo(TKelUnits) {
  static const TEnumInfo info("TKelUnits", {"muPercent", "muPixels"});
  return info;
}

// ---- Date-time steps ---------------------------------------------------------------------

std::string RangeDateTimeFormat(double range) {
  return range > 1.0 ? FormatSettings().ShortDateFormat : FormatSettings().ShortTimeFormat;
}

double NextDateTimeStep(double step) {
  for (int i = dtSixMonths; i >= dtOneMicroSecond; --i)
    if (step >= DateTimeStep[i]) return DateTimeStep[i + 1];
  return DateTimeStep[dtOneMicroSecond];
}

int FindDateTimeStep(double value) {
  for (int i = dtOneYear; i >= dtOneMicroSecond; --i)
    if (std::fabs(DateTimeStep[i] - value) < DateTimeStep[dtOneMicroSecond]) return i;
  return dtNone;
}

double AlignDateTimeToStep(int stepIndex, double value) {
  if (value == 0) return value;
  int year, month, day;
  switch (stepIndex) {
    case dtHalfMonth:
      DecodeDate(value, year, month, day);
      return EncodeDate(year, month, day < 15 ? 1 : 15);
    case dtOneMonth:
    case dtTwoMonths:
    case dtThreeMonths:
    case dtFourMonths:
    case dtSixMonths:
      DecodeDate(value, year, month, day);
      return EncodeDate(year, month, 1);
    case dtOneYear:
      DecodeDate(value, year, month, day);
      return EncodeDate(year, 1, 1);
    case dtOneDay:
      return static_cast<double>(Round(value));
    case dtTwoDays:
      return 2.0 * static_cast<double>(Round(value / 2));
    case dtThreeDays:
      return 3.0 * static_cast<double>(Round(value / 3));
    case dtOneWeek:
      // Day 2 of the day count is a Monday.
      return 7.0 * static_cast<double>(Round((value - 2) / 7)) + 2;
    default:
      return value;
  }
}

namespace {

// Months to move for the month steps.
int MonthsOfStep(int stepIndex) {
  switch (stepIndex) {
    case dtOneMonth: return 1;
    case dtTwoMonths: return 2;
    case dtThreeMonths: return 3;
    case dtFourMonths: return 4;
    default: return 6;
  }
}

// The date `months` months from year/month (either sign), on the 1st.
double FirstOfMonthFrom(int year, int month, int months) {
  int index = year * 12 + (month - 1) + months;
  int newYear = index / 12;
  int newMonth = index % 12;
  if (newMonth < 0) {
    newMonth += 12;
    --newYear;
  }
  return EncodeDate(newYear, newMonth + 1, 1);
}

// The same month and day in another year; 29 February becomes the 28th in a common year.
double SameDayInYear(int year, int month, int day) {
  const int last = DaysInAMonth(year, month);
  return EncodeDate(year, month, day > last ? last : day);
}

}  // namespace

void StepDateTime(bool forward, double& value, int stepIndex, double increment) {
  const double target = forward ? value + increment : value - increment;
  if (target == value) return;
  int year, month, day;
  switch (stepIndex) {
    case dtHalfMonth:
      DecodeDate(value, year, month, day);
      if (!forward) {
        if (day == 1)
          value = SameDayInYear(month == 1 ? year - 1 : year, month == 1 ? 12 : month - 1, 15);
        else if (day <= 15)
          value = EncodeDate(year, month, 1);
        else
          value = EncodeDate(year, month, 15);
      } else {
        value = day < 15 ? EncodeDate(year, month, 15) : FirstOfMonthFrom(year, month, 1);
      }
      return;
    case dtOneMonth:
    case dtTwoMonths:
    case dtThreeMonths:
    case dtFourMonths:
    case dtSixMonths: {
      const int months = MonthsOfStep(stepIndex);
      DecodeDate(value, year, month, day);
      value = FirstOfMonthFrom(year, month, forward ? months : -months);
      return;
    }
    case dtOneYear:
      DecodeDate(value, year, month, day);
      do {
        year += forward ? 1 : -1;
        value = SameDayInYear(year, month, day);
      } while (forward ? value < target : value > target);
      return;
    default:
      value = target;
  }
}

// ---- Default colours -----------------------------------------------------------------------

std::int32_t DefaultPaletteColor(int index) {
  if (gDefaultPalette.empty()) return kBuiltInColors[0];
  const int count = static_cast<int>(gDefaultPalette.size());
  int slot = index % count;
  if (slot < 0) slot += count;
  return gDefaultPalette[slot];
}

void SetDefaultPalette(const std::vector<std::int32_t>& colors, int highestIndex) {
  if (highestIndex < 0) {
    gDefaultPalette.assign(std::begin(kBuiltInColors), std::end(kBuiltInColors));
    return;
  }
  const size_t count = std::min(colors.size(), static_cast<size_t>(highestIndex) + 1);
  gDefaultPalette.assign(colors.begin(), colors.begin() + count);
}

const std::vector<std::int32_t>& DefaultPalette() { return gDefaultPalette; }

// ---- Per-user defaults -------------------------------------------------------------------

int ReadDefaultInteger(const std::string& name, int fallback) {
  try {
    TRegistry registry;
    registry.SetRootKey(HKEY_CURRENT_USER);
    if (registry.OpenKeyReadOnly(KelEditorKey) && registry.ValueExists(name))
      return registry.ReadInteger(name);
  } catch (const ERegistryException&) {
    // A value of another type counts as missing.
  }
  return fallback;
}

std::string ReadDefaultString(const std::string& name, const std::string& fallback) {
  try {
    TRegistry registry;
    registry.SetRootKey(HKEY_CURRENT_USER);
    if (registry.OpenKeyReadOnly(KelEditorKey) && registry.ValueExists(name))
      return registry.ReadString(name);
  } catch (const ERegistryException&) {
  }
  return fallback;
}

// ---- Texts ----------------------------------------------------------------------------------

int TextLineCount(std::string_view text) {
  int separators = 0;
  size_t afterLast = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != KelLineSeparator) continue;
    ++separators;
    if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    afterLast = i + 1;
  }
  if (separators == 0) return 1;
  return afterLast < text.size() ? separators + 1 : separators;
}

int FieldCountSep(std::string_view text, std::string_view separator) {
  if (text.empty()) return 0;
  if (separator.empty()) return 1;
  int count = 1;
  size_t from = 0;
  for (;;) {
    const size_t at = text.find(separator, from);
    if (at == std::string_view::npos) break;
    from = at + separator.size();
    if (from < text.size()) ++count;  // a separator at the very end starts no field
  }
  return count;
}

int FieldCount(std::string_view text) { return FieldCountSep(text, KelFieldSeparator); }

std::string FieldAtSep(std::string_view text, int n, std::string_view separator) {
  if (text.empty() || n <= 0) return {};
  size_t from = 0;
  for (int field = 1;; ++field) {
    const size_t at = separator.empty() ? std::string_view::npos : text.find(separator, from);
    if (field == n)
      return std::string(text.substr(from, at == std::string_view::npos ? text.npos : at - from));
    if (at == std::string_view::npos) return {};
    from = at + separator.size();
    if (from >= text.size()) return {};
  }
}

std::string FieldAt(std::string_view text, int n) {
  return FieldAtSep(text, n, KelFieldSeparator);
}

std::string ReplaceChar(std::string_view text, char c, char replacement) {
  std::string result;
  result.reserve(text.size());
  for (char ch : text) {
    if (ch != c)
      result += ch;
    else if (replacement != '\0')
      result += replacement;
  }
  return result;
}

// ---- Geometry ------------------------------------------------------------------------------

RECT RectAroundPoint(int x, int y, int halfWidth, int halfHeight) {
  if (halfHeight == 0) halfHeight = halfWidth;
  return RECT{x - halfWidth, y - halfHeight, x + halfWidth, y + halfHeight};
}

float DistanceToSegment(POINT p, POINT a, POINT b) {
  const float px = static_cast<float>(p.x), py = static_cast<float>(p.y);
  const float ax = static_cast<float>(a.x), ay = static_cast<float>(a.y);
  const float dx = static_cast<float>(b.x) - ax, dy = static_cast<float>(b.y) - ay;
  if (dx == 0 && dy == 0) return std::hypot(px - ax, py - ay);
  const float t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
  if (t < 0) return std::hypot(px - ax, py - ay);
  if (t > 1) return std::hypot(px - static_cast<float>(b.x), py - static_cast<float>(b.y));
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

bool PointNearLine(POINT p, POINT a, POINT b, int tolerance) {
  if ((p.x == a.x && p.y == a.y) || (p.x == b.x && p.y == b.y)) return true;
  return DistanceToSegment(p, a, b) <= static_cast<float>(tolerance + 1);
}

bool PointInPolygon(POINT p, const POINT* points, int highest) {
  if (highest < 1) return false;
  bool inside = false;
  int previous = highest;
  for (int i = 0; i <= highest; previous = i++) {
    const POINT& c = points[i];
    const POINT& d = points[previous];
    const bool within = (c.y <= p.y && p.y < d.y) || (d.y <= p.y && p.y < c.y);
    if (within &&
        p.x < static_cast<double>(d.x - c.x) * (p.y - c.y) / static_cast<double>(d.y - c.y) + c.x)
      inside = !inside;
  }
  return inside;
}

bool RectsIntersect(const RECT& a, const RECT& b, RECT* intersection) {
  const RECT overlap{std::max(a.left, b.left), std::max(a.top, b.top),
                     std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  const bool overlaps = overlap.left < overlap.right && overlap.top < overlap.bottom;
  if (intersection) *intersection = overlaps ? overlap : RECT{0, 0, 0, 0};
  return overlaps;
}

// ---- Sorting ---------------------------------------------------------------------------------

void SortByIndex(int first, int last, const std::function<int(int, int)>& compare,
                 const std::function<void(int, int)>& exchange) {
  int i = first;
  int j = last;
  int pivot = (first + last) / 2;
  while (i < j) {
    while (compare(i, pivot) < 0) ++i;
    while (compare(pivot, j) < 0) --j;
    if (i < j) {
      exchange(i, j);
      // The pivot position follows the element it referred to.
      if (pivot == i)
        pivot = j;
      else if (pivot == j)
        pivot = i;
    }
    if (j >= i) {
      ++i;
      --j;
    }
  }
  if (first < j) SortByIndex(first, j, compare, exchange);
  if (i < last) SortByIndex(i, last, compare, exchange);
}

// ---- Unit start-up -------------------------------------------------------------------------

void KelProcsStartup() {
  KelDefaultCanvasName = "TGDIPlusCanvas";
  SetDefaultPalette({}, -1);
  KelFieldSeparator = ";";
  KelLineSeparator = '\r';
  KelEngineStartup();
  if (Screen) {
    if (HCURSOR hand = LoadCursorW(GetModuleHandleW(nullptr), L"KEL_CURSOR_HAND"))
      Screen->SetCursors(crKelHand, hand);
  }
}

void KelProcsShutdown() {
  KelEngineShutdown();
  if (Screen) Screen->SetCursors(crKelHand, nullptr);
  KelDefaultCanvasName.clear();
  std::vector<std::int32_t>().swap(gDefaultPalette);
  KelFieldSeparator.clear();
}

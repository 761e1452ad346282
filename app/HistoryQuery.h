// The history query behind the "History queries" dialog: the time range the history covers,
// the range the user picked, and the data grid filled from the records of that range. The
// dialog (TFrmselect) only moves values between its pickers and these routines.
#pragma once

#include <functional>
#include <string>

#include "toolkit/rtl/SysUtils.h"

class TZQuery;
class TStringGrid;

// The first and last record times of olddata (select min/max(dtime) as dtime1). False, with
// both untouched, when there is no history or the query fails.
bool LoadHistoryTimeRange(TZQuery* query, TDateTime& first, TDateTime& last);

// "yyyy-mm-dd hh:mm:ss" from a date picker's date and a time picker's time.
std::string HistoryRangeText(TDateTime date, TDateTime time);

// The query of the range: rebuilds the chart's curves for 8 x ModuleCount channels through
// `rebuildCurves(start, end)` (false stops here), opens "select * from olddata where dtime
// between '<start>' and '<end>'" on `query` and writes its records into `grid`: row count =
// records + 1, row r holds id, dtime and val1.. (8 x ModuleCount values) as display texts.
// An end earlier than the start says "The start time cannot be less than the end time。"
// (titled "prompt") and changes nothing. Answers whether the grid was filled.
bool RunHistoryQuery(const std::string& start, const std::string& end,
                     const std::function<bool(const std::string& start, const std::string& end)>& rebuildCurves,
                     TZQuery* query, TStringGrid* grid);

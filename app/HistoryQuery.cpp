// History range lookup and the range query into the data grid.
#include "app/HistoryQuery.h"

#include "app/AppGlobals.h"
#include "app/Database.h"
#include "toolkit/data/Field.h"
#include "toolkit/data/ZQuery.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/Grids.h"

namespace {

bool ReadBound(TZQuery* query, const char* sql, TDateTime& value) {
  if (!OpenSqlQuery(sql, query)) return false;
  const std::string text = query->FieldByName("dtime1")->AsString();
  if (text.empty()) return false;
  return TryParseSqlDateTime(text, value);
}

}  // namespace

bool LoadHistoryTimeRange(TZQuery* query, TDateTime& first, TDateTime& last) {
  TDateTime low = 0, high = 0;
  if (!ReadBound(query, "select min(dtime) as dtime1 from olddata", low)) return false;
  if (!ReadBound(query, "select max(dtime) as dtime1 from olddata", high)) return false;
  first = low;
  last = high;
  return true;
}

std::string HistoryRangeText(TDateTime date, TDateTime time) {
  return FormatDateTime("yyyy-mm-dd", date) + " " + FormatDateTime("hh:nn:ss", time);
}

bool RunHistoryQuery(const std::string& start, const std::string& end,
                     const std::function<bool(const std::string& start, const std::string& end)>& rebuildCurves,
                     TZQuery* query, TStringGrid* grid) {
  TDateTime from = 0, to = 0;
  if (TryParseSqlDateTime(start, from) && TryParseSqlDateTime(end, to) && to < from) {
    Application->MessageBox("The start time cannot be less than the end time。", "prompt",
                            MB_OK | MB_ICONWARNING);
    return false;
  }
  if (rebuildCurves && !rebuildCurves(start, end)) return false;
  if (!OpenSqlQuery("select * from olddata where dtime between '" + start + "' and '" + end + "'", query))
    return false;
  const int channels = 8 * ModuleCount;
  grid->SetRowCount(query->RecordCount() + 1);
  TField* id = query->FieldByName("id");
  TField* dtime = query->FieldByName("dtime");
  std::vector<TField*> values;
  for (int c = 1; c <= channels; ++c) values.push_back(query->FieldByName("val" + IntToStr(c)));
  int row = 1;
  for (query->First(); !query->Eof(); query->Next(), ++row) {
    grid->SetCells(0, row, id->DisplayText());
    grid->SetCells(1, row, dtime->DisplayText());
    for (int c = 0; c < channels; ++c) grid->SetCells(2 + c, row, values[static_cast<size_t>(c)]->DisplayText());
  }
  return true;
}

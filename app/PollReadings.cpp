// Poll reply decoding and the insert statements of the reading tables.
#include "app/PollReadings.h"

#include "app/InstrumentFrames.h"
#include "toolkit/rtl/SysUtils.h"

TPollReadings DecodePollReadings(std::string_view replyHex, int channelCount, int pointMode) {
  TPollReadings r;
  r.texts.resize(channelCount > 0 ? static_cast<size_t>(channelCount) : 0);
  r.columnList.reserve(static_cast<size_t>(channelCount) * 7);
  r.valueList.reserve(static_cast<size_t>(channelCount) * 8);
  constexpr size_t kFirstReading = 5 * 2;  // digits before channel 1
  for (int c = 0; c < channelCount; ++c) {
    const size_t at = kFirstReading + static_cast<size_t>(c) * 8;
    const std::string_view bytes = at < replyHex.size() ? replyHex.substr(at, 8) : std::string_view();
    try {
      std::string text = ReadingText(bytes, pointMode);
      r.columnList += "val" + IntToStr(c + 1) + ",";
      r.valueList += text + ",";
      r.texts[static_cast<size_t>(c)] = std::move(text);
    } catch (const Exception&) {
      r.failures.push_back({c, std::string(at < replyHex.size() ? replyHex.substr(at) : "")});
    }
  }
  return r;
}

std::string NewDataInsertSql(const TPollReadings& readings, std::string_view now) {
  std::string sql = " insert into newdata(";
  sql += readings.columnList;
  sql += "dtime2) values (";
  sql += readings.valueList;
  sql += "'";
  sql += now;
  sql += "')";
  return sql;
}

std::string OldDataInsertSql(std::string_view columnList, std::string_view valueList,
                             std::string_view recordTime, std::string_view now) {
  std::string sql = " insert into olddata(dtime,";
  sql += columnList;
  sql += "dtime2) values ('";
  sql += recordTime;
  sql += "',";
  sql += valueList;
  sql += "'";
  sql += now;
  sql += "')";
  return sql;
}

// One poll reply taken apart: the reading text of every channel and the live-table insert
// statement built from them. Pure text work, shared by the acquisition thread (which adds the
// statistics, grids and log lines) and the benchmark.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct TPollReadings {
  // Per channel (0-based): the reading text ("0.0" or "0.00" form), empty when it failed.
  std::vector<std::string> texts;
  // "val<c+1>," for each decoded channel, in channel order.
  std::string columnList;
  // The decoded texts, each followed by a comma, in the same order.
  std::string valueList;
  struct Failure {
    int channel;          // 0-based
    std::string restHex;  // the reply text from this channel's 4 bytes on
  };
  // Channels whose 4 bytes could not be decoded (missing or not hex), in channel order.
  std::vector<Failure> failures;
};

// Decodes `channelCount` readings of a poll reply (hex text; readings start at byte 5, 4 bytes
// each, channel 1 first), formatting each with "0.00" when pointMode is 2, else "0.0". A channel
// that fails is recorded in `failures` and left out of both lists; the next channel continues
// with the following 4 bytes. Short or garbage replies never raise.
TPollReadings DecodePollReadings(std::string_view replyHex, int channelCount, int pointMode);

// " insert into newdata(" + column list + "dtime2)" + " values (" + value list + "'" + now + "')"
std::string NewDataInsertSql(const TPollReadings& readings, std::string_view now);

// " insert into olddata(dtime," + column list + "dtime2)" + " values ('" + record time + "'," +
// value list + "'" + now + "')"
std::string OldDataInsertSql(std::string_view columnList, std::string_view valueList,
                             std::string_view recordTime, std::string_view now);

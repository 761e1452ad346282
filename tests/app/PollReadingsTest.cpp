// Poll replies taken apart into reading texts and the live and history insert statements.
#include <gtest/gtest.h>

#include <cstring>

#include "app/Crc.h"
#include "app/InstrumentFrames.h"
#include "app/PollReadings.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

// A poll reply as the instrument sends it for `values`.
std::string PollReply(const std::vector<float>& values) {
  std::string data = "60" + IntToHex(static_cast<long long>(values.size()), 2);
  for (float v : values) {
    unsigned char b[4];
    std::memcpy(b, &v, 4);
    AppendHex(data, b, 4);
  }
  const std::string body = "00" + IntToHex(static_cast<long long>(data.size() / 2), 2) + data;
  return "FE" + body + CrcModbusHex(body);
}

TEST(DecodePollReadings, FormatsEveryChannelAndBuildsTheInsert) {
  const std::string reply = PollReply({25.0f, -10.0f, 0.123456f, 1234.5f, 0, 0, 0, 99.96f});
  const TPollReadings one = DecodePollReadings(reply, 8, 1);
  EXPECT_EQ(one.texts, (std::vector<std::string>{"25.0", "-10.0", "0.1", "1234.5", "0.0", "0.0",
                                                 "0.0", "100.0"}));
  EXPECT_TRUE(one.failures.empty());
  EXPECT_EQ(NewDataInsertSql(one, "2024-03-05 08:07:06"),
            " insert into newdata(val1,val2,val3,val4,val5,val6,val7,val8,dtime2) values "
            "(25.0,-10.0,0.1,1234.5,0.0,0.0,0.0,100.0,'2024-03-05 08:07:06')");

  const TPollReadings two = DecodePollReadings(reply, 8, 2);
  EXPECT_EQ(two.texts[2], "0.12");
  EXPECT_EQ(two.texts[7], "99.96");
}

TEST(DecodePollReadings, ShortReplySkipsTheMissingChannels) {
  const std::string reply = PollReply({21.5f, 22.5f});
  // Asked for 8 channels: channels 1-2 decode, channel 3 meets the CRC digits (4 of 8), the
  // rest meet nothing.
  const TPollReadings r = DecodePollReadings(reply, 8, 1);
  EXPECT_EQ(r.texts[0], "21.5");
  EXPECT_EQ(r.texts[1], "22.5");
  ASSERT_EQ(r.failures.size(), 6u);
  EXPECT_EQ(r.failures[0].channel, 2);
  EXPECT_EQ(r.failures[0].restHex, reply.substr(reply.size() - 4));
  EXPECT_EQ(r.failures[1].restHex, "");
  EXPECT_EQ(r.columnList, "val1,val2,");
  EXPECT_EQ(r.valueList, "21.5,22.5,");
}

TEST(DecodePollReadings, GarbageChannelIsLeftOutAndTheNextContinues) {
  std::string reply = PollReply({1.0f, 2.0f, 3.0f});
  reply.replace(10 + 8, 8, "ZZZZZZZZ");  // channel 2's bytes are not hex
  const TPollReadings r = DecodePollReadings(reply, 3, 1);
  EXPECT_EQ(r.texts, (std::vector<std::string>{"1.0", "", "3.0"}));
  ASSERT_EQ(r.failures.size(), 1u);
  EXPECT_EQ(r.failures[0].restHex, reply.substr(18));
  EXPECT_EQ(r.columnList, "val1,val3,");
  EXPECT_EQ(DecodePollReadings("", 4, 1).failures.size(), 4u);
  EXPECT_TRUE(DecodePollReadings("FE", 0, 1).texts.empty());
}

TEST(OldDataInsertSql, PutsTheRecordTimeFirst) {
  EXPECT_EQ(OldDataInsertSql("val1,val2,", "20.0,21.0,", "2024-01-02 03:04:05", "2024-03-05 08:07:06"),
            " insert into olddata(dtime,val1,val2,dtime2) values ('2024-01-02 03:04:05',20.0,21.0,"
            "'2024-03-05 08:07:06')");
}

}  // namespace

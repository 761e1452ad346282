// Per-channel test statistics in 1/10000 units.
#include "app/ChannelStatistics.h"

#include "toolkit/rtl/Math.h"
#include "toolkit/rtl/SysUtils.h"

void TChannelStatistics::Add(std::string_view readingText) {
  const long double x = StrToFloat(readingText) * 10000.0L;
  if (count_ == 0) {
    maximum_ = minimum_ = sum_ = average_ = Round(x);
  } else {
    if (x > maximum_) maximum_ = Round(x);
    if (x < minimum_) minimum_ = Round(x);
    sum_ = Round(x + sum_);
    average_ = Round(static_cast<long double>(sum_) / (count_ + 1));
  }
  ++count_;
}

std::string TChannelStatistics::Text() const {
  return FormatFloat("0.00", maximum_ / 10000.0L) + "," + FormatFloat("0.00", minimum_ / 10000.0L) +
         "," + FormatFloat("0.00", average_ / 10000.0L);
}

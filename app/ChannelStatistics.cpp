// Per-channel test statistics in 1/10000 units.
#include "app/ChannelStatistics.h"

#include "toolkit/rtl/Math.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

// True when `units` rounds to a signed 64-bit integer.
bool FitsInUnits(long double units) {
  constexpr long double kLimit = 9223372036854775808.0L;  // 2^63
  return units > -kLimit && units < kLimit;  // false for NaN too
}

}  // namespace

bool TChannelStatistics::Add(std::string_view readingText) {
  const long double x = StrToFloat(readingText) * 10000.0L;
  // A reading too large for the units (a float's largest values reach 3.4e38) cannot be counted.
  if (!FitsInUnits(x)) return false;
  if (count_ == 0) {
    maximum_ = minimum_ = sum_ = average_ = Round(x);
  } else {
    if (!FitsInUnits(x + sum_)) return false;
    if (x > maximum_) maximum_ = Round(x);
    if (x < minimum_) minimum_ = Round(x);
    sum_ = Round(x + sum_);
    average_ = Round(static_cast<long double>(sum_) / (count_ + 1));
  }
  ++count_;
  return true;
}

std::string TChannelStatistics::Text() const {
  return FormatFloat("0.00", maximum_ / 10000.0L) + "," + FormatFloat("0.00", minimum_ / 10000.0L) +
         "," + FormatFloat("0.00", average_ / 10000.0L);
}

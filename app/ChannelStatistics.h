// The running maximum, minimum, sum and average of one channel during a test, kept as integers
// in units of 1/10000 of a reading so that repeated additions never drift; every step takes the
// value to the nearest unit with halves to even.
#pragma once

#include <string>
#include <string_view>

class TChannelStatistics {
 public:
  // Adds one reading given as its display text ("25.0", "-10.05"); raises EConvertError when the
  // text is not a number (the statistics stay as they were). The first reading sets all four
  // values; later ones raise the maximum, lower the minimum, add to the sum and set the average
  // to sum / readings so far. A reading whose units (or the sum with it) do not fit in 64 bits
  // is left out: false, and nothing changes.
  bool Add(std::string_view readingText);

  // "max,min,ave", each divided by 10000 and formatted "0.00".
  std::string Text() const;

  int Count() const { return count_; }
  long long Maximum() const { return maximum_; }
  long long Minimum() const { return minimum_; }
  long long Sum() const { return sum_; }
  long long Average() const { return average_; }

 private:
  int count_ = 0;
  long long maximum_ = 0;
  long long minimum_ = 0;
  long long sum_ = 0;
  long long average_ = 0;
};

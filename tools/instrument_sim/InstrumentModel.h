// The instrument as the simulator plays it: takes complete request frames and decides the
// reply bytes (and their delay), including the injected faults. No I/O here, so the behaviour
// is the same whatever carries the bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/instrument_sim/SimOptions.h"

using Bytes = std::vector<uint8_t>;

// CRC-16/MODBUS (init $FFFF, reflected polynomial $A001), computed bit by bit.
uint16_t SimCrc16(const uint8_t* data, size_t size);

struct SimReply {
  bool send = false;   // false: the request goes unanswered
  int delayMs = 0;     // wait before sending
  Bytes bytes;
  std::string note;    // what happened, for the verbose trace
};

class InstrumentModel {
 public:
  explicit InstrumentModel(const SimOptions& options);

  // Finds complete request frames in `input` (leading garbage and broken frames are dropped,
  // an incomplete tail is kept) and returns one reply per frame, in order.
  std::vector<SimReply> Feed(Bytes& input);

  // The reply to one request frame (FE 00 LEN CMD [PARAM] CRC CRC 0A, already checked).
  SimReply Answer(uint8_t command, const Bytes& params);

  int modules() const { return modules_; }

 private:
  Bytes Frame(uint8_t echo, const Bytes& data) const;
  float Reading(int channel) const;
  bool FaultApplies(uint8_t command);

  SimOptions o_;
  int modules_;
  int polls_ = 0;          // poll replies sent so far
  int matching_ = 0;       // requests seen that the fault's command filter matches
  mutable unsigned rng_;
};

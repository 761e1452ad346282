// Reply rules of the simulated instrument. Reply frames are FE, length (two bytes, high first;
// the high byte is $00 for every reply shorter than 256 bytes), command echo, data, CRC low
// byte, CRC high byte; no end byte.
#include "tools/instrument_sim/InstrumentModel.h"

#include <algorithm>
#include <cmath>
#include <cstring>

uint16_t SimCrc16(const uint8_t* data, size_t size) {
  uint16_t crc = 0xFFFF;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int b = 0; b < 8; ++b) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
  }
  return crc;
}

namespace {

uint8_t TypeCode(char letter) {
  static const char kLetters[] = "KJTESNBR";
  const char* at = std::strchr(kLetters, letter);
  return at ? static_cast<uint8_t>(at - kLetters) : 0;
}

}  // namespace

InstrumentModel::InstrumentModel(const SimOptions& options)
    : o_(options), modules_(options.modules), rng_(options.seed ? options.seed : 1) {}

Bytes InstrumentModel::Frame(uint8_t echo, const Bytes& data) const {
  const size_t len = data.size() + 1;
  Bytes f;
  f.reserve(len + 5);
  f.push_back(0xFE);
  f.push_back(static_cast<uint8_t>(len >> 8));
  f.push_back(static_cast<uint8_t>(len & 0xFF));
  f.push_back(echo);
  f.insert(f.end(), data.begin(), data.end());
  const uint16_t crc = SimCrc16(f.data() + 1, f.size() - 1);
  f.push_back(static_cast<uint8_t>(crc & 0xFF));
  f.push_back(static_cast<uint8_t>(crc >> 8));
  return f;
}

float InstrumentModel::Reading(int channel) const {
  double v = o_.base + o_.channelStep * channel;
  switch (o_.readings) {
    case ReadingKind::Constant:
      break;
    case ReadingKind::Ramp:
      v += o_.step * polls_;
      break;
    case ReadingKind::Noise: {
      rng_ = rng_ * 1103515245u + 12345u;
      const double unit = ((rng_ >> 8) & 0xFFFF) / 65535.0;  // 0..1
      v += (unit * 2 - 1) * o_.step;
      break;
    }
    case ReadingKind::Sequence:
      v = o_.sequence[static_cast<size_t>(polls_) % o_.sequence.size()] + o_.channelStep * channel;
      break;
  }
  const double scale = o_.decimals == 2 ? 100.0 : 10.0;
  return static_cast<float>(std::nearbyint(v * scale) / scale);
}

bool InstrumentModel::FaultApplies(uint8_t command) {
  if (o_.fault == FaultKind::None) return false;
  if (o_.faultCommand >= 0 && command != o_.faultCommand) return false;
  const int index = matching_++;
  if (index < o_.faultAfter) return false;
  return o_.faultCount < 0 || index < o_.faultAfter + o_.faultCount;
}

SimReply InstrumentModel::Answer(uint8_t command, const Bytes& params) {
  SimReply r;
  const bool fault = FaultApplies(command);
  if (fault && o_.fault == FaultKind::NoReply) {
    r.note = "fault: no reply";
    return r;
  }
  if (fault && o_.fault == FaultKind::Flood) {
    r.send = true;
    r.bytes.assign(3000, 0xA5);
    r.note = "fault: flood of 3000 bytes";
    return r;
  }
  if (fault && o_.fault == FaultKind::Raw) {
    r.send = true;
    r.bytes.assign(o_.raw.begin(), o_.raw.end());
    r.note = "fault: raw bytes";
    return r;
  }
  if (fault && o_.fault == FaultKind::Garbage) {
    r.send = true;
    r.bytes = {0x13, 0x37, 0x00, 0xFF, 0x7E, 0x0A, 0x55};
    r.note = "fault: garbage";
    return r;
  }
  if (fault && o_.fault == FaultKind::ModuleChange && modules_ != o_.newModules) {
    modules_ = o_.newModules;
    r.note = "fault: module count now " + std::to_string(modules_) + "; ";
  }

  const int channels = 8 * modules_;
  const int param = params.empty() ? -1 : params[0];
  Bytes data;
  switch (command) {
    case 0x22:
      data = {static_cast<uint8_t>(o_.reportedModules >= 0 ? o_.reportedModules : modules_)};
      break;
    case 0x21:
      data.assign(o_.productNumber.begin(), o_.productNumber.end());
      break;
    case 0x20:
      data.assign(o_.productModel.begin(), o_.productModel.end());
      break;
    case 0x23:
      data = {static_cast<uint8_t>(o_.decimals == 2 ? 1 : 0)};
      break;
    case 0x61: {
      if (param < 1 || param > modules_) {
        r.note += "module out of range";
        return r;
      }
      const size_t m = static_cast<size_t>(param - 1);
      const uint8_t code = param == o_.typeCodeModule ? static_cast<uint8_t>(o_.typeCode)
                                            : TypeCode(m < o_.types.size() ? o_.types[m] : 'K');
      data = {static_cast<uint8_t>(param), code};
      break;
    }
    case 0x62: {
      if (param < 1 || param > channels) {
        r.note += "channel out of range";
        return r;
      }
      std::string label = static_cast<size_t>(param - 1) < o_.labels.size() && !o_.labels[param - 1].empty()
                              ? o_.labels[param - 1]
                              : "CH" + std::to_string(param);
      label.resize(13, ' ');
      data.assign(26, 0);
      data[0] = static_cast<uint8_t>(param);
      data.insert(data.end(), label.begin(), label.end());  // reply bytes 30..42
      break;
    }
    case 0x60: {
      if (param != channels) {
        r.note += "poll for " + std::to_string(param) + " channels, have " + std::to_string(channels);
        return r;
      }
      data.push_back(static_cast<uint8_t>(param));
      for (int c = 0; c < channels; ++c) {
        const float v = Reading(c);
        uint8_t b[4];
        std::memcpy(b, &v, 4);  // little-endian IEEE single, as the instrument sends it
        if (c + 1 == o_.rawChannel) std::memcpy(b, o_.rawReading.data(), 4);
        data.insert(data.end(), b, b + 4);
      }
      ++polls_;
      break;
    }
    default:
      r.note += "unknown command";
      return r;
  }

  uint8_t echo = command;
  if (fault && o_.fault == FaultKind::WrongEcho) {
    echo = static_cast<uint8_t>(command ^ 0x01);
    r.note += "fault: wrong echo; ";
  }
  r.send = true;
  r.bytes = Frame(echo, data);
  if (fault && o_.fault == FaultKind::WrongCrc) {
    r.bytes[r.bytes.size() - 2] ^= 0x01;
    r.note += "fault: wrong CRC; ";
  }
  if (fault && o_.fault == FaultKind::Short) {
    r.bytes.resize(std::min<size_t>(r.bytes.size(), 5));
    r.note += "fault: cut to 5 bytes; ";
  }
  if (fault && o_.fault == FaultKind::Late) {
    r.delayMs = o_.lateMs;
    r.note += "fault: late by " + std::to_string(o_.lateMs) + " ms; ";
  }
  return r;
}

std::vector<SimReply> InstrumentModel::Feed(Bytes& in) {
  std::vector<SimReply> replies;
  size_t pos = 0;
  for (;;) {
    while (pos < in.size() && in[pos] != 0xFE) ++pos;
    if (in.size() - pos < 3) break;
    const size_t len = in[pos + 2];
    const size_t total = len + 6;  // FE 00 LEN, LEN bytes, CRC, 0A
    if (in.size() - pos < total) break;
    const uint8_t* f = in.data() + pos;
    const uint16_t crc = SimCrc16(f + 1, len + 2);
    const bool ok = len >= 1 && f[total - 1] == 0x0A && f[len + 3] == (crc & 0xFF) &&
                    f[len + 4] == (crc >> 8);
    if (!ok) {
      ++pos;  // not a frame start after all: resynchronise on the next FE
      continue;
    }
    replies.push_back(Answer(f[3], Bytes(f + 4, f + 3 + len)));
    pos += total;
  }
  in.erase(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(pos));
  return replies;
}

// Writes the instrument's own files for the import and alarm tests: data records (267 bytes),
// information records (2584 bytes) and alarm records (43 bytes) in the instrument's layouts,
// with helpers for truncated tails and odd sizes. Readings are IEEE singles, little-endian.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "toolkit/rtl/TextConv.h"
#include "toolkit/system/WinApi.h"

namespace fixtures {

using Bytes = std::vector<unsigned char>;

struct Stamp {
  int year = 2024, month = 3, day = 5, hour = 8, minute = 7, second = 6;
};

inline void PutStamp(Bytes& record, const Stamp& t) {
  record[4] = static_cast<unsigned char>(t.year >> 8);  // big-endian year
  record[5] = static_cast<unsigned char>(t.year & 0xFF);
  record[6] = static_cast<unsigned char>(t.month);
  record[7] = static_cast<unsigned char>(t.day);
  record[8] = static_cast<unsigned char>(t.hour);
  record[9] = static_cast<unsigned char>(t.minute);
  record[10] = static_cast<unsigned char>(t.second);
}

// One data record; readings[c] goes to channel c + 1, the rest of the 64 stay 0.
inline Bytes DataRecord(const Stamp& t, const std::vector<float>& readings) {
  Bytes r(267, 0);
  r[0] = 0xAA;  // the unused head is not zero in the instrument's files either
  PutStamp(r, t);
  for (size_t c = 0; c < readings.size() && c < 64; ++c) std::memcpy(&r[11 + 4 * c], &readings[c], 4);
  return r;
}

// The information record: module count at byte 13, decimal mode at byte 14 (1 = two decimals).
inline Bytes InfoRecord(int moduleCount, int decimalMode) {
  Bytes r(2584, 0x5A);
  r[13] = static_cast<unsigned char>(moduleCount);
  r[14] = static_cast<unsigned char>(decimalMode);
  return r;
}

// The high 16 bits of a single, as the alarm record's settings carry it (little-endian pair).
inline void PutSetting(Bytes& record, int index, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, 4);
  const uint16_t high = static_cast<uint16_t>(bits >> 16);
  record[15 + 2 * index] = static_cast<unsigned char>(high & 0xFF);
  record[16 + 2 * index] = static_cast<unsigned char>(high >> 8);
}

// One alarm record: channel byte (0-based), state byte (before << 4 | after), type and
// reference codes, and the seven settings.
inline Bytes AlarmRecord(const Stamp& t, int channel, int state, int type, int reference,
                         const std::vector<float>& settings) {
  Bytes r(43, 0);
  PutStamp(r, t);
  r[11] = static_cast<unsigned char>(channel);
  r[12] = static_cast<unsigned char>(state);
  r[13] = static_cast<unsigned char>(type);
  r[14] = static_cast<unsigned char>(reference);
  for (size_t i = 0; i < settings.size() && i < 7; ++i) PutSetting(r, static_cast<int>(i), settings[i]);
  return r;
}

inline void Append(Bytes& file, const Bytes& part) { file.insert(file.end(), part.begin(), part.end()); }

// `count` data records one second apart from `first`, channel c of record i reading
// 20 + c + i / 10 (so every value has one exact decimal).
inline Bytes DataFile(int count, int channels, Stamp first = {}) {
  Bytes file;
  for (int i = 0; i < count; ++i) {
    Stamp t = first;
    t.second = (first.second + i) % 60;
    t.minute = (first.minute + (first.second + i) / 60) % 60;
    std::vector<float> readings;
    for (int c = 0; c < channels; ++c) readings.push_back(20.0f + static_cast<float>(c) + static_cast<float>(i) / 10.0f);
    Append(file, DataRecord(t, readings));
  }
  return file;
}

inline void WriteFileBytes(const std::string& path, const Bytes& data) {
  HANDLE h = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  if (!data.empty()) WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  CloseHandle(h);
}

inline Bytes ReadFileBytes(const std::string& path) {
  Bytes data;
  HANDLE h = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return data;
  unsigned char buffer[65536];
  DWORD n = 0;
  while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) data.insert(data.end(), buffer, buffer + n);
  CloseHandle(h);
  return data;
}

// A data file and its information file beside it ("x_data.bin" and "x_information.bin").
inline void WritePair(const std::string& folder, const std::string& stem, const Bytes& data,
                      int moduleCount, int decimalMode) {
  WriteFileBytes(folder + stem + "_data.bin", data);
  WriteFileBytes(folder + stem + "_information.bin", InfoRecord(moduleCount, decimalMode));
}

}  // namespace fixtures

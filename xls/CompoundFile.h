// An OLE2 compound file (version 3, 512-byte sectors) holding streams in its root storage:
// streams under 4096 bytes live in the mini stream (64-byte sectors, miniFAT), larger ones in
// regular sectors; the FAT grows DIFAT sectors past 109 FAT sectors. The writer lays out the
// whole file in memory: streams, mini stream, miniFAT, directory, FAT, DIFAT.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CompoundFileWriter {
 public:
  // Adds a stream to the root storage; names are 1..31 characters and unique.
  void AddStream(std::wstring name, std::vector<std::uint8_t> data);
  // The complete file.
  std::vector<std::uint8_t> Build() const;

 private:
  struct Stream {
    std::wstring name;
    std::vector<std::uint8_t> data;
  };
  std::vector<Stream> streams_;
};

// The workbook's shared string table: every cell text is stored once, in UTF-16, and cells
// refer to it by index. Written as SST with CONTINUE records (a string never splits inside its
// header or a character; a continued string's part starts with its option byte) and EXTSST,
// the readers' index into it.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "xls/BiffStream.h"

class SharedStringTable {
 public:
  // Longest text a cell may hold.
  static constexpr std::size_t kMaxLength = 32767;

  // Counts one use of `text` and returns its index; equal texts share one index.
  std::uint32_t Add(const std::wstring& text);
  std::uint32_t UniqueCount() const { return static_cast<std::uint32_t>(strings_.size()); }
  std::uint32_t TotalCount() const { return total_; }

  // Appends SST, its CONTINUE records and EXTSST to the globals stream.
  void Write(biff::BiffStream& stream) const;

 private:
  std::vector<std::wstring> strings_;
  std::unordered_map<std::wstring, std::uint32_t> index_;
  std::uint32_t total_ = 0;
};

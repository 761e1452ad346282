// A picture for the sheet's drawing layer: a Windows bitmap file (whatever its name says),
// checked and kept as the packed device-independent bitmap that a DIB blip stores.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct Picture {
  std::vector<std::uint8_t> dib;   // info header, masks, colour table and pixels, contiguous
  std::array<std::uint8_t, 16> uid{};  // identifies equal pictures inside one workbook
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// Parses a bitmap file's bytes; XlsException (naming `source`) when they are no bitmap this
// writer can store.
Picture PictureFromBitmap(const std::vector<std::uint8_t>& file, const std::wstring& source);

// Reads and parses a bitmap file; XlsException with the system's text when it cannot be read.
Picture LoadBitmapPicture(const std::wstring& fileName);

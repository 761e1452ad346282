// Bitmap file checks and the packed DIB a drawing blip holds.
#include "xls/Picture.h"

#include <cstdlib>

#include "toolkit/system/WinApi.h"
#include "xls/XlsException.h"

namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::uint64_t kMaxFileSize = 64u * 1024 * 1024;

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

// A 128-bit FNV-1a style digest; only equality matters.
std::array<std::uint8_t, 16> Digest(const std::vector<std::uint8_t>& data) {
  std::uint64_t a = 0xcbf29ce484222325ull, b = 0x84222325cbf29ce4ull;
  for (std::uint8_t c : data) {
    a = (a ^ c) * 0x100000001b3ull;
    b = (b ^ c) * 0x100000001b3ull + 0x9e3779b97f4a7c15ull;
  }
  std::array<std::uint8_t, 16> out{};
  for (int i = 0; i < 8; ++i) {
    out[i] = static_cast<std::uint8_t>(a >> (8 * i));
    out[8 + i] = static_cast<std::uint8_t>(b >> (8 * i));
  }
  return out;
}

}  // namespace

Picture PictureFromBitmap(const std::vector<std::uint8_t>& f, const std::wstring& source) {
  const auto fail = [&](const wchar_t* why) {
    throw XlsException(L"The picture \"" + source + L"\" is not a supported Windows bitmap: " + why);
  };
  if (f.size() < kFileHeader + 40 || f[0] != 'B' || f[1] != 'M') fail(L"no bitmap file header.");
  const std::uint32_t offBits = U32(f, 10);
  const std::uint32_t infoSize = U32(f, 14);
  if (infoSize < 40 || infoSize > 124 || kFileHeader + infoSize > f.size())
    fail(L"unknown information header.");
  const auto width = static_cast<std::int32_t>(U32(f, 18));
  const auto height = static_cast<std::int32_t>(U32(f, 22));
  const std::uint16_t planes = U16(f, 26);
  const std::uint16_t bits = U16(f, 28);
  const std::uint32_t compression = U32(f, 30);
  const std::uint32_t colorsUsed = U32(f, 46);
  if (width <= 0 || width > 65535 || height == 0 || height < -65535 || height > 65535)
    fail(L"bad dimensions.");
  if (planes != 1) fail(L"more than one plane.");
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    fail(L"unsupported colour depth.");
  if (compression != BI_RGB && !(compression == BI_BITFIELDS && (bits == 16 || bits == 32)))
    fail(L"compressed pixels.");
  const std::uint32_t maxColors = bits <= 8 ? (1u << bits) : 256u;
  if (colorsUsed > maxColors) fail(L"bad colour table.");
  const std::uint32_t colors = bits <= 8 && colorsUsed == 0 ? maxColors : colorsUsed;
  const std::uint32_t masks = compression == BI_BITFIELDS && infoSize == 40 ? 12 : 0;
  const std::uint64_t headerEnd = kFileHeader + infoSize + masks + 4ull * colors;
  const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bits + 31) / 32) * 4;
  const std::uint64_t pixels = stride * static_cast<std::uint64_t>(std::abs(height));
  if (offBits < headerEnd || offBits + pixels > f.size()) fail(L"the file is truncated.");

  Picture p;
  p.width = width;
  p.height = std::abs(height);
  p.dib.assign(f.begin() + kFileHeader, f.begin() + static_cast<std::ptrdiff_t>(headerEnd));
  p.dib.insert(p.dib.end(), f.begin() + offBits, f.begin() + static_cast<std::ptrdiff_t>(offBits + pixels));
  p.uid = Digest(p.dib);
  return p;
}

Picture LoadBitmapPicture(const std::wstring& fileName) {
  const auto fail = [&](unsigned long code) {
    throw XlsException(L"Cannot read the picture file \"" + fileName + L"\": " + SystemErrorText(code));
  };
  HANDLE file = CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) fail(GetLastError());
  struct Closer {
    HANDLE h;
    ~Closer() { CloseHandle(h); }
  } closer{file};
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) fail(GetLastError());
  if (static_cast<std::uint64_t>(size.QuadPart) > kMaxFileSize)
    throw XlsException(L"The picture file \"" + fileName + L"\" is larger than 64 MB.");
  std::vector<std::uint8_t> data(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!data.empty() && (!ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &read, nullptr) ||
                        read != data.size()))
    fail(GetLastError());
  return PictureFromBitmap(data, fileName);
}

// Compound file layout: sector allocation, FAT/miniFAT/DIFAT chains and the directory tree.
#include "xls/CompoundFile.h"

#include <algorithm>
#include <cwctype>

#include "xls/ByteBuffer.h"
#include "xls/XlsException.h"

namespace {

constexpr std::uint32_t kSector = 512;
constexpr std::uint32_t kMiniSector = 64;
constexpr std::uint32_t kMiniCutoff = 4096;
constexpr std::uint32_t kFree = 0xFFFFFFFF;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFatSector = 0xFFFFFFFD;
constexpr std::uint32_t kDifatSector = 0xFFFFFFFC;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::uint32_t kHeaderDifat = 109;
constexpr std::uint32_t kPerSector = kSector / 4;

std::uint32_t SectorsFor(std::size_t bytes, std::uint32_t sector) {
  return static_cast<std::uint32_t>((bytes + sector - 1) / sector);
}

// Appends a chain of `count` consecutive sectors starting at `first` to a FAT.
void Chain(std::vector<std::uint32_t>& fat, std::uint32_t first, std::uint32_t count) {
  for (std::uint32_t i = 0; i < count; ++i) fat[first + i] = i + 1 < count ? first + i + 1 : kEndOfChain;
}

// Directory order of sibling names: shorter first, then by upper-cased characters.
bool DirectoryLess(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return a.size() < b.size();
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = std::towupper(a[i]), y = std::towupper(b[i]);
    if (x != y) return x < y;
  }
  return false;
}

struct Entry {
  std::wstring name;
  std::uint8_t type = 0;  // 2 stream, 5 root
  std::uint32_t left = kNoStream, right = kNoStream, child = kNoStream;
  std::uint32_t start = kEndOfChain;
  std::uint32_t size = 0;
};

// Links entries[ids[lo..hi)] as a balanced binary tree; returns its root id.
std::uint32_t Tree(std::vector<Entry>& entries, const std::vector<std::uint32_t>& ids, std::size_t lo,
                   std::size_t hi) {
  if (lo >= hi) return kNoStream;
  const std::size_t mid = (lo + hi) / 2;
  Entry& e = entries[ids[mid]];
  e.left = Tree(entries, ids, lo, mid);
  e.right = Tree(entries, ids, mid + 1, hi);
  return ids[mid];
}

void WriteEntry(ByteBuffer& out, const Entry& e) {
  out.Utf16(e.name);
  out.Zeros(64 - e.name.size() * 2);
  out.U16(e.type ? static_cast<unsigned>((e.name.size() + 1) * 2) : 0);
  out.U8(e.type);
  out.U8(1);  // black
  out.U32(e.left);
  out.U32(e.right);
  out.U32(e.child);
  out.Zeros(16 + 4 + 8 + 8);  // class id, state bits, times
  out.U32(e.type ? e.start : 0);
  out.U32(e.size);
  out.U32(0);
}

}  // namespace

void CompoundFileWriter::AddStream(std::wstring name, std::vector<std::uint8_t> data) {
  if (name.empty() || name.size() > 31) throw XlsException(L"Bad stream name.");
  for (const Stream& s : streams_)
    if (!DirectoryLess(s.name, name) && !DirectoryLess(name, s.name)) throw XlsException(L"Duplicate stream name.");
  if (data.size() >= 0x7FFFFFFF) throw XlsException(L"The stream is too large.");
  streams_.push_back({std::move(name), std::move(data)});
}

std::vector<std::uint8_t> CompoundFileWriter::Build() const {
  // Directory entries: the root, then the streams in insertion order.
  std::vector<Entry> entries(1 + streams_.size());
  entries[0].name = L"Root Entry";
  entries[0].type = 5;
  for (std::size_t i = 0; i < streams_.size(); ++i) {
    entries[i + 1].name = streams_[i].name;
    entries[i + 1].type = 2;
    entries[i + 1].size = static_cast<std::uint32_t>(streams_[i].data.size());
  }

  // Mini stream: small streams, each on whole mini sectors.
  ByteBuffer mini;
  std::vector<std::uint32_t> miniFat;
  for (std::size_t i = 0; i < streams_.size(); ++i) {
    const auto& data = streams_[i].data;
    if (data.size() >= kMiniCutoff || data.empty()) continue;
    const auto first = static_cast<std::uint32_t>(miniFat.size());
    const std::uint32_t count = SectorsFor(data.size(), kMiniSector);
    miniFat.resize(first + count);
    Chain(miniFat, first, count);
    entries[i + 1].start = first;
    mini.Append(data);
    mini.Zeros(count * kMiniSector - data.size());
  }

  // Regular sectors: big streams, mini stream, miniFAT, directory; then FAT and DIFAT.
  std::uint32_t next = 0;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> chains;  // first, count
  for (std::size_t i = 0; i < streams_.size(); ++i) {
    const auto& data = streams_[i].data;
    if (data.size() < kMiniCutoff) continue;
    entries[i + 1].start = next;
    chains.emplace_back(next, SectorsFor(data.size(), kSector));
    next += chains.back().second;
  }
  const std::uint32_t miniStart = next, miniCount = SectorsFor(mini.Size(), kSector);
  next += miniCount;
  const std::uint32_t miniFatStart = next, miniFatCount = SectorsFor(miniFat.size() * 4, kSector);
  next += miniFatCount;
  const std::uint32_t dirStart = next, dirCount = SectorsFor(entries.size() * 128, kSector);
  next += dirCount;
  std::uint32_t fatCount = 0, difatCount = 0;
  for (;;) {
    const std::uint32_t total = next + fatCount + difatCount;
    const std::uint32_t needFat = SectorsFor(total * 4ull, kSector);
    const std::uint32_t needDifat = needFat > kHeaderDifat ? SectorsFor((needFat - kHeaderDifat) * 4ull, kSector - 4) : 0;
    if (needFat == fatCount && needDifat == difatCount) break;
    fatCount = needFat;
    difatCount = needDifat;
  }
  const std::uint32_t fatStart = next, difatStart = next + fatCount;

  std::vector<std::uint32_t> fat(static_cast<std::size_t>(fatCount) * kPerSector, kFree);
  for (auto [first, count] : chains) Chain(fat, first, count);
  Chain(fat, miniStart, miniCount);
  Chain(fat, miniFatStart, miniFatCount);
  Chain(fat, dirStart, dirCount);
  for (std::uint32_t i = 0; i < fatCount; ++i) fat[fatStart + i] = kFatSector;
  for (std::uint32_t i = 0; i < difatCount; ++i) fat[difatStart + i] = kDifatSector;

  entries[0].start = miniCount ? miniStart : kEndOfChain;
  entries[0].size = static_cast<std::uint32_t>(mini.Size());
  std::vector<std::uint32_t> children;
  for (std::uint32_t i = 1; i < entries.size(); ++i) children.push_back(i);
  std::sort(children.begin(), children.end(),
            [&](std::uint32_t a, std::uint32_t b) { return DirectoryLess(entries[a].name, entries[b].name); });
  entries[0].child = Tree(entries, children, 0, children.size());

  ByteBuffer out;
  // Header.
  out.U32(0xE011CFD0);
  out.U32(0xE11AB1A1);
  out.Zeros(16);
  out.U16(0x003E);  // minor version
  out.U16(0x0003);  // major version 3: 512-byte sectors
  out.U16(0xFFFE);  // little-endian
  out.U16(9);       // sector size 2^9
  out.U16(6);       // mini sector size 2^6
  out.Zeros(6);
  out.U32(0);  // directory sectors (always 0 in version 3)
  out.U32(fatCount);
  out.U32(dirStart);
  out.U32(0);  // transactions
  out.U32(kMiniCutoff);
  out.U32(miniFatCount ? miniFatStart : kEndOfChain);
  out.U32(miniFatCount);
  out.U32(difatCount ? difatStart : kEndOfChain);
  out.U32(difatCount);
  for (std::uint32_t i = 0; i < kHeaderDifat; ++i) out.U32(i < fatCount ? fatStart + i : kFree);

  for (const Stream& s : streams_) {
    if (s.data.size() < kMiniCutoff) continue;
    out.Append(s.data);
    out.Zeros(SectorsFor(s.data.size(), kSector) * kSector - s.data.size());
  }
  out.Append(mini);
  out.Zeros(miniCount * kSector - mini.Size());
  for (std::uint32_t v : miniFat) out.U32(v);
  for (std::size_t i = miniFat.size(); i < static_cast<std::size_t>(miniFatCount) * kPerSector; ++i) out.U32(kFree);
  for (const Entry& e : entries) WriteEntry(out, e);
  for (std::size_t i = entries.size(); i < static_cast<std::size_t>(dirCount) * 4; ++i) WriteEntry(out, Entry{});
  for (std::uint32_t v : fat) out.U32(v);
  // DIFAT sectors: 127 FAT sector numbers and the next DIFAT sector.
  std::uint32_t listed = kHeaderDifat;
  for (std::uint32_t d = 0; d < difatCount; ++d) {
    for (std::uint32_t i = 0; i < kPerSector - 1; ++i, ++listed) out.U32(listed < fatCount ? fatStart + listed : kFree);
    out.U32(d + 1 < difatCount ? difatStart + d + 1 : kEndOfChain);
  }
  return std::move(out.Bytes());
}

// The per-device-context clip stack (see ClipStack.h). A saved entry is the region that was in
// force before a push, or null when the device was not clipped then, with the pushing canvas.
#include "canvas/ClipStack.h"

#include <iterator>
#include <map>
#include <vector>

namespace {
struct TSavedClip {
  HRGN region;
  const void* owner;
};

std::map<HDC, std::vector<TSavedClip>>& Stacks() {
  static auto* stacks = new std::map<HDC, std::vector<TSavedClip>>();
  return *stacks;
}
}  // namespace

void PushClipRegion(HDC dc, HRGN region, int mode, const void* owner) {
  HRGN saved = CreateRectRgn(0, 0, 0, 0);
  if (saved != nullptr && GetClipRgn(dc, saved) != 1) {
    DeleteObject(saved);
    saved = nullptr;
  }
  Stacks()[dc].push_back({saved, owner});
  if (region == nullptr) return;  // the clip stays; the matching pop restores the same state
  ExtSelectClipRgn(dc, region, mode);
  DeleteObject(region);
}

void PopClipRegion(HDC dc) {
  auto& stacks = Stacks();
  auto it = stacks.find(dc);
  if (it == stacks.end() || it->second.empty()) {
    SelectClipRgn(dc, nullptr);
    return;
  }
  HRGN saved = it->second.back().region;
  it->second.pop_back();
  if (it->second.empty()) stacks.erase(it);
  SelectClipRgn(dc, saved);  // null removes clipping, as before the push
  if (saved != nullptr) DeleteObject(saved);
}

int ClipStackDepth(HDC dc) {
  auto& stacks = Stacks();
  auto it = stacks.find(dc);
  return it == stacks.end() ? 0 : static_cast<int>(it->second.size());
}

void DropClipEntries(const void* owner) {
  if (owner == nullptr) return;
  auto& stacks = Stacks();
  for (auto it = stacks.begin(); it != stacks.end();) {
    std::erase_if(it->second, [owner](const TSavedClip& entry) {
      if (entry.owner != owner) return false;
      if (entry.region != nullptr) DeleteObject(entry.region);
      return true;
    });
    it = it->second.empty() ? stacks.erase(it) : std::next(it);
  }
}

void ClearClipStack() {
  for (auto& [dc, entries] : Stacks()) {
    for (const TSavedClip& entry : entries) {
      if (entry.region != nullptr) DeleteObject(entry.region);
    }
  }
  Stacks().clear();
}

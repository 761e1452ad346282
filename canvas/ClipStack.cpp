// The per-device-context clip stack (see ClipStack.h). A saved entry is the region that was in
// force before a push, or null when the device was not clipped then.
#include "canvas/ClipStack.h"

#include <map>
#include <vector>

namespace {
std::map<HDC, std::vector<HRGN>>& Stacks() {
  static auto* stacks = new std::map<HDC, std::vector<HRGN>>();
  return *stacks;
}
}  // namespace

void PushClipRegion(HDC dc, HRGN region, int mode) {
  HRGN saved = CreateRectRgn(0, 0, 0, 0);
  if (saved != nullptr && GetClipRgn(dc, saved) != 1) {
    DeleteObject(saved);
    saved = nullptr;
  }
  Stacks()[dc].push_back(saved);
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
  HRGN saved = it->second.back();
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

void ClearClipStack() {
  for (auto& [dc, regions] : Stacks()) {
    for (HRGN r : regions) {
      if (r != nullptr) DeleteObject(r);
    }
  }
  Stacks().clear();
}

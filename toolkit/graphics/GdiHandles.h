// Move-only owners of GDI handles and a scoped select guard. Every pen, brush, font, bitmap,
// region and device context the toolkit creates is held by one of these, so a handle is
// deleted exactly once, and an object selected into a DC through TSelectGuard is deselected
// before its owner can delete it. Creators that fail raise EOutOfResources (CheckGdi).
#pragma once

#include <utility>

#include "toolkit/system/WinApi.h"

// Raises EOutOfResources "Out of system resources" when `handle` is null; answers it.
template <class H>
H CheckGdi(H handle);
[[noreturn]] void RaiseOutOfResources();

template <class H>
H CheckGdi(H handle) {
  if (handle == nullptr) RaiseOutOfResources();
  return handle;
}

// Owner of one GDI object (pen, brush, font, bitmap, region, palette): DeleteObject on reset.
template <class H>
class TGdiObject {
 public:
  TGdiObject() = default;
  explicit TGdiObject(H handle) : handle_(handle) {}
  ~TGdiObject() { Reset(); }
  TGdiObject(TGdiObject&& other) noexcept : handle_(other.Release()) {}
  TGdiObject& operator=(TGdiObject&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;

  H Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Gives the handle up without deleting it.
  H Release() { return std::exchange(handle_, nullptr); }
  void Reset(H handle = nullptr) {
    if (handle_ != nullptr && handle_ != handle) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  H handle_ = nullptr;
};

using TPenHandle = TGdiObject<HPEN>;
using TBrushHandle = TGdiObject<HBRUSH>;
using TFontHandle = TGdiObject<HFONT>;
using TBitmapHandle = TGdiObject<HBITMAP>;
using TRegionHandle = TGdiObject<HRGN>;
using TPaletteHandle = TGdiObject<HPALETTE>;

// Owner of a memory device context (CreateCompatibleDC): DeleteDC on reset.
class TMemoryDC {
 public:
  TMemoryDC() = default;
  // A memory DC compatible with `reference` (the screen when null); raises on failure.
  static TMemoryDC Create(HDC reference = nullptr) { return TMemoryDC(CheckGdi(CreateCompatibleDC(reference))); }
  ~TMemoryDC() { Reset(); }
  TMemoryDC(TMemoryDC&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
  TMemoryDC& operator=(TMemoryDC&& other) noexcept {
    if (this != &other) {
      Reset();
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;

  HDC Get() const { return dc_; }
  void Reset() {
    if (dc_ != nullptr) DeleteDC(dc_);
    dc_ = nullptr;
  }

 private:
  explicit TMemoryDC(HDC dc) : dc_(dc) {}
  HDC dc_ = nullptr;
};

// A window's (or the screen's, for a null window) DC from GetDC, released on destruction.
class TWindowDC {
 public:
  explicit TWindowDC(HWND window = nullptr) : window_(window), dc_(CheckGdi(GetDC(window))) {}
  ~TWindowDC() { ReleaseDC(window_, dc_); }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a DC for the guard's lifetime and puts the previous one back.
class TSelectGuard {
 public:
  TSelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~TSelectGuard() {
    if (old_ != nullptr && old_ != HGDI_ERROR) SelectObject(dc_, old_);
  }
  TSelectGuard(const TSelectGuard&) = delete;
  TSelectGuard& operator=(const TSelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// SaveDC on construction, RestoreDC on destruction: state changes made while painting stay local.
class TSavedDC {
 public:
  explicit TSavedDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~TSavedDC() {
    if (saved_ != 0) RestoreDC(dc_, saved_);
  }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;

 private:
  HDC dc_;
  int saved_;
};

// Plays a system whose GDI+ lacks font families, as a Wine prefix without font set-up does:
// the generic sans-serif family and every family named in the list answer FontFamilyNotFound.
// Installed for the object's lifetime through the fonts' family look-up.
#pragma once

#include <set>
#include <string>
#include <utility>

#include "canvas/KelGDIPOBJ.h"

class MissingFontFamilies : public TGPFontFamilyLookup {
 public:
  static constexpr TGpStatus kFontFamilyNotFound = 14;

  // `everything`: no family is found by name either (not even the substitute face).
  explicit MissingFontFamilies(std::set<std::wstring> names, bool everything = false)
      : names_(std::move(names)), everything_(everything) {
    previous_ = SetFontFamilyLookup(this);
  }
  ~MissingFontFamilies() override { SetFontFamilyLookup(previous_); }
  MissingFontFamilies(const MissingFontFamilies&) = delete;
  MissingFontFamilies& operator=(const MissingFontFamilies&) = delete;

  TGpStatus FromName(const std::wstring& name, gp::FontCollection* collection, gp::FontFamily** family) override {
    if (everything_ || names_.count(name) != 0) return kFontFamilyNotFound;
    return TGPFontFamilyLookup::FromName(name, collection, family);
  }
  TGpStatus GenericSansSerif(gp::FontFamily**) override { return kFontFamilyNotFound; }

 private:
  std::set<std::wstring> names_;
  bool everything_;
  TGPFontFamilyLookup* previous_ = nullptr;
};

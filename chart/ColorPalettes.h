// Named colour palettes: the process-wide registry with its 22 built-in palettes (created on
// first use, released by ColorPalettesShutdown), and the operations that put a palette into a
// chart's own colour list and recolour its default-coloured series.
#pragma once

#include <string>
#include <vector>

#include "toolkit/graphics/Color.h"

class TCustomAxisPanel;

using TColorArray = std::vector<TColor>;

class TColorPalettes {
 public:
  struct Palette {
    std::string Name;
    TColorArray Colors;
  };
  int Count() const { return static_cast<int>(palettes_.size()); }
  // First palette whose name equals `name` ignoring case; -1 when none.
  int IndexOfName(const std::string& name) const;
  const Palette& At(int index) const { return palettes_[index]; }
  void Add(const std::string& name, const TColorArray& colors) { palettes_.push_back({name, colors}); }
  void Replace(int index, const TColorArray& colors) { palettes_[index].Colors = colors; }

 private:
  std::vector<Palette> palettes_;
};

// The registry, made with the built-in palettes on first use.
TColorPalettes& ColorPaletteList();
// Frees the registry (palettes stored since are lost); the next use builds it afresh.
void ColorPalettesShutdown();
// The first `highestIndex` + 1 colours of `colors` (never more than it holds).
TColorArray PaletteSlice(const TColorArray& colors, int highestIndex);
// Replaces the colours of the palette named `name` (case-insensitive) or appends a new one.
void StorePalette(const std::string& name, const TColorArray& colors, int highestIndex);
// A copy of the palette's colours; empty for an index outside the registry.
TColorArray PaletteColors(int index);
// Highest index -1 empties the panel's colour list, else it becomes a copy; then the panel's
// default-coloured series are recoloured.
void SetChartColors(TCustomAxisPanel& panel, const TColorArray& colors, int highestIndex);
// SetChartColors with the palette's colours; a TCustomChart records the index (not through
// its setter); the panel is invalidated.
void ApplyPaletteToChart(TCustomAxisPanel& panel, int index);

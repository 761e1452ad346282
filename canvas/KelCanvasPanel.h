// IKelCanvasPanel: the narrow part of a chart panel that a component swapping the panel's
// canvas needs (the GDI+ switch component). Kept apart from the switch so the chart panel
// implements it without reading the GDI+ headers.
#pragma once

class TCanvas3D;

class IKelCanvasPanel {
 public:
  virtual ~IKelCanvasPanel() = default;
  // The panel's canvas (owned by the panel).
  virtual TCanvas3D* PanelCanvas() = 0;
  // Takes `canvas` over, copies the old canvas's settings into it and frees the old one.
  virtual void ChangeCanvas(TCanvas3D* canvas) = 0;
};

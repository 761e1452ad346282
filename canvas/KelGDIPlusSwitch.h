// TKelGDIPlus: the non-visual component that puts a GDI+ canvas on a chart panel while it is
// Active and a GDI canvas back when it is deactivated or detached, passing its antialias, text
// quality and scale settings on. It reaches the panel through IKelCanvasPanel, the narrow part
// of a chart panel it needs, and never owns a canvas (the panel does).
//
// States: no panel (does nothing; Active drops to False when the panel goes) / panel, inactive
// (the panel keeps whatever canvas it has) / panel, active (the panel's canvas is a
// TGDIPlusCanvas whose InstalledBy is this component). A panel being freed is only forgotten:
// its canvas is never swapped on the way out. A component being freed gives its live panel a
// GDI canvas back.
#pragma once

#include "canvas/KelCanvasPanel.h"
#include "canvas/KelGDIPlus.h"
#include "toolkit/classes/Component.h"

const TEnumInfo& EnumTypeInfo(TGDIPlusFontQuality);

class TKelGDIPlus : public TComponent {
 public:
  explicit TKelGDIPlus(TComponent* owner);
  ~TKelGDIPlus() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  bool Active() const { return active_; }
  void ChangeActive(bool value);
  bool Antialias() const { return antialias_; }
  void ChangeAntialias(bool value);
  TGDIPlusFontQuality AntiAliasText() const { return antiAliasText_; }
  void ChangeAntiAliasText(TGDIPlusFontQuality value);
  float Scale() const { return scale_; }
  void ChangeScale(float value);
  bool ScaleNotOne() const { return scale_ != 1; }
  // The panel: a component that implements IKelCanvasPanel (any other is taken as none).
  TComponent* KelPanel() const { return panel_; }
  void ChangeKelPanel(TComponent* panel);
  // The panel's canvas when it is a TGDIPlusCanvas; else nullptr.
  TGDIPlusCanvas* FindCanvas() const;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  IKelCanvasPanel* Panel() const { return dynamic_cast<IKelCanvasPanel*>(panel_); }
  void ApplyActive();
  void PushSettings();
  void Detach();
  // Gives a live panel a GDI canvas when it has a GDI+ one.
  void RestoreGdiCanvas();

  bool active_ = false;
  bool antialias_ = true;
  TGDIPlusFontQuality antiAliasText_ = gpfDefault;
  float scale_ = 1.0f;
  TComponent* panel_ = nullptr;
};

// Registers TKelGDIPlus for layouts (grouped with TControl); the shut-down unregisters it.
void KelGDIPlusSwitchStartup();
void KelGDIPlusSwitchShutdown();

// TKelGDIPlus (see KelGDIPlusSwitch.h).
#include "canvas/KelGDIPlusSwitch.h"

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/ui/Control.h"

const TEnumInfo& EnumTypeInfo(TGDIPlusFontQuality) {
  static const TEnumInfo info("TGDIPlusFontQuality", {"gpfBest", "gpfDefault", "gpfClearType", "gpfNormal"});
  return info;
}

TKelGDIPlus::TKelGDIPlus(TComponent* owner) : TComponent(owner) {}

TKelGDIPlus::~TKelGDIPlus() {
  Detach();
  // A live panel gets a GDI canvas back (a panel already being freed was forgotten by the
  // notification).
  ChangeKelPanel(nullptr);
}

const TClassInfo& TKelGDIPlus::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TKelGDIPlus>("TKelGDIPlus", &TComponent::StaticClass())
          .Property("Active", &TKelGDIPlus::Active, &TKelGDIPlus::ChangeActive)
          .Default(false)
          .Property("Antialias", &TKelGDIPlus::Antialias, &TKelGDIPlus::ChangeAntialias)
          .Default(true)
          .Property("AntiAliasText", &TKelGDIPlus::AntiAliasText, &TKelGDIPlus::ChangeAntiAliasText)
          .Default(static_cast<int>(gpfDefault))
          .Property("KelPanel", &TKelGDIPlus::KelPanel, &TKelGDIPlus::ChangeKelPanel)
          .Property("Scale", &TKelGDIPlus::Scale, &TKelGDIPlus::ChangeScale)
          .Stored(&TKelGDIPlus::ScaleNotOne)
          .Build();
  return info;
}

TGDIPlusCanvas* TKelGDIPlus::FindCanvas() const {
  IKelCanvasPanel* panel = Panel();
  return panel != nullptr ? dynamic_cast<TGDIPlusCanvas*>(panel->PanelCanvas()) : nullptr;
}

void TKelGDIPlus::ChangeActive(bool value) {
  if (value == active_) return;
  active_ = value;
  ApplyActive();
}

void TKelGDIPlus::ChangeAntialias(bool value) {
  if (value == antialias_) return;
  antialias_ = value;
  PushSettings();
}

void TKelGDIPlus::ChangeAntiAliasText(TGDIPlusFontQuality value) {
  if (value == antiAliasText_) return;
  antiAliasText_ = value;
  PushSettings();
}

void TKelGDIPlus::ChangeScale(float value) {
  if (value == scale_) return;
  scale_ = value;
  PushSettings();
}

void TKelGDIPlus::PushSettings() {
  TGDIPlusCanvas* canvas = FindCanvas();
  if (canvas == nullptr) return;
  canvas->ChangeAntialias(antialias_);
  canvas->ChangeAntiAliasText(antiAliasText_);
  canvas->ChangeScale(scale_);
}

void TKelGDIPlus::Detach() {
  TGDIPlusCanvas* canvas = FindCanvas();
  if (canvas != nullptr && canvas->InstalledBy == this) canvas->InstalledBy = nullptr;
}

void TKelGDIPlus::RestoreGdiCanvas() {
  IKelCanvasPanel* panel = Panel();
  if (panel != nullptr && dynamic_cast<TGDIPlusCanvas*>(panel->PanelCanvas()) != nullptr) {
    panel->ChangeCanvas(new TKelCanvas3D());
  }
}

void TKelGDIPlus::ApplyActive() {
  IKelCanvasPanel* panel = Panel();
  if (panel == nullptr) return;
  if (active_) {
    auto* canvas = new TGDIPlusCanvas();
    if (TCanvas3D* old = panel->PanelCanvas()) canvas->SetBuffered(old->GetBuffered());
    panel->ChangeCanvas(canvas);
    PushSettings();
    canvas->InstalledBy = this;
    canvas->EnsureGraphics();
  } else {
    Detach();
    RestoreGdiCanvas();
  }
}

void TKelGDIPlus::ChangeKelPanel(TComponent* panel) {
  if (panel != nullptr && dynamic_cast<IKelCanvasPanel*>(panel) == nullptr) panel = nullptr;
  if (panel == panel_) return;
  if (panel_ != nullptr) {
    panel_->RemoveFreeNotification(this);
    Detach();
    RestoreGdiCanvas();
  }
  panel_ = panel;
  if (panel_ != nullptr) {
    panel_->FreeNotification(this);
  } else {
    active_ = false;
  }
  ApplyActive();
}

void TKelGDIPlus::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component != nullptr && component == panel_) {
    // The panel is going: forget it without touching its canvas.
    panel_ = nullptr;
    active_ = false;
  }
}

namespace {
bool registered = false;
}

void KelGDIPlusSwitchStartup() {
  if (registered) return;
  StartClassGroup(TControl::StaticClass());
  GroupDescendentsWith(TKelGDIPlus::StaticClass(), TControl::StaticClass());
  RegisterClass(TKelGDIPlus::StaticClass());
  registered = true;
}

void KelGDIPlusSwitchShutdown() {
  if (!registered) return;
  UnRegisterClass(TKelGDIPlus::StaticClass());
  registered = false;
}

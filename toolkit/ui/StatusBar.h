// TStatusBar over the platform's msctls_statusbar32: a bottom-aligned bar of panels (a
// collection of TStatusPanel with text, width, alignment and bevel) or, with SimplePanel, one
// simple text. Panel texts reach the window as soon as they change.
#pragma once

#include <string>

#include "toolkit/classes/Collection.h"
#include "toolkit/ui/WinControl.h"

class TEnumInfo;
class TStatusBar;
class TCanvas;

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
enum TStatusPanelStyle { psText, psOwnerDraw };
const TEnumInfo& EnumTypeInfo(TStatusPanelBevel);
const TEnumInfo& EnumTypeInfo(TStatusPanelStyle);

class TStatusPanel : public TCollectionItem {
 public:
  explicit TStatusPanel(TCollection* collection);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  const std::string& Text() const { return text_; }
  void SetText(const std::string& value);
  int Width() const { return width_; }
  void SetWidth(int value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TStatusPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TStatusPanelBevel value);
  TStatusPanelStyle Style() const { return style_; }
  void SetStyle(TStatusPanelStyle value);
  void Assign(TPersistent* source) override;

 private:
  std::string text_;
  int width_ = 50;
  TAlignment alignment_ = taLeftJustify;
  TStatusPanelBevel bevel_ = pbLowered;
  TStatusPanelStyle style_ = psText;
};

class TStatusPanels : public TCollection {
 public:
  explicit TStatusPanels(TStatusBar* bar);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  TStatusPanel* Items(int index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }
  // Adds a panel and shows it at once.
  TStatusPanel* Add();
  TPersistent* GetOwner() const override;

 protected:
  void Update(TCollectionItem* item) override;
  void Notify(TCollectionItem* item, TCollectionNotification action) override;

 private:
  friend class TStatusBar;
  TStatusBar* bar_;
  // An item announced as added may still be under construction: the window is updated later.
  bool adding_ = false;
};

using TDrawPanelEvent = TMethodEvent<TStatusBar*, TStatusPanel*, TRect>;

class TStatusBar : public TWinControl {
 public:
  explicit TStatusBar(TComponent* owner);
  ~TStatusBar() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TStatusPanels* Panels() const { return panels_; }
  void SetPanels(TStatusPanels* value) { panels_->Assign(value); }
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool value);
  const std::string& SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::string& value);
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool value);
  // The canvas OnDrawPanel draws on (valid during the event).
  TCanvas* Canvas() const { return canvas_; }
  // The text the window shows in a panel (for checks of what reached the platform).
  std::string WindowPanelText(int index);

  TDrawPanelEvent OnDrawPanel;

 protected:
  friend class TStatusPanels;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  // Sends the panel layout and texts to the window.
  void UpdatePanels();
  void UpdatePanel(int index);
  // Updates the panels from the message loop (after a panel finished construction).
  void DeferUpdatePanels();

 private:
  TStatusPanels* panels_;
  TCanvas* canvas_;
  bool simplePanel_ = false;
  std::string simpleText_;
  bool sizeGrip_ = true;
  bool updatePending_ = false;
};

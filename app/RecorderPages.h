// The main window's tabbed pages until the control set's page control takes their place: the
// platform's tab control with one tab per sheet (the sheet's caption). Choosing a tab shows its
// sheet in the tab control's display area, hides the others and fires OnChange; setting the
// active page from code does not fire it. Sheets are the control's windowed children, in order.
#pragma once

#include <string>
#include <vector>

#include "toolkit/ui/WinControl.h"

class TRecorderPageControl;

class TRecorderTabSheet : public TWinControl {
 public:
  explicit TRecorderTabSheet(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value) { imageIndex_ = value; }
  // Its position among the page control's sheets, -1 without one.
  int PageIndex() const;

 protected:
  void CMTextChanged(TMessage& message) override;

 private:
  int imageIndex_ = -1;
};

class TRecorderPageControl : public TWinControl {
 public:
  explicit TRecorderPageControl(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  int PageCount() const { return static_cast<int>(Sheets().size()); }
  TRecorderTabSheet* Pages(int index) const;
  TRecorderTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TRecorderTabSheet* page);
  // -1 without an active page.
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  int TabHeight() const { return tabHeight_; }
  void SetTabHeight(int value);

  // A sheet's caption changed: its tab follows.
  void UpdateTab(TRecorderTabSheet* sheet);

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;
  void AdjustClientRect(TRect& rect) override;
  void Loaded() override;

 private:
  std::vector<TRecorderTabSheet*> Sheets() const;
  // Shows the active sheet only and selects its tab.
  void ShowActive();
  void FillTabs();

  TRecorderTabSheet* activePage_ = nullptr;
  int tabHeight_ = 0;
};

// Registers both classes for layouts.
void RegisterRecorderPages();

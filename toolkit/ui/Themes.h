// Theme services: drawing with the platform's visual styles when they are active, and telling
// callers when they are not (under Wine with themes off, ThemesEnabled is false and callers
// draw their classic look). Theme data handles are opened per element class on first use and
// closed again when the desktop theme changes (UpdateThemes, on WM_THEMECHANGED).
#pragma once

#include <array>
#include <functional>
#include <string>

#include "toolkit/graphics/Types.h"
#include "toolkit/system/WinApi.h"

enum TThemedElement {
  teButton, teClock, teComboBox, teEdit, teExplorerBar, teHeader, teListView, teMenu, tePage, teProgress,
  teRebar, teScrollBar, teSpin, teStartPanel, teStatus, teTab, teTaskBand, teTaskBar, teToolBar, teToolTip,
  teTrackBar, teTrayNotify, teTreeview, teWindow
};

// One part of an element in one state, as the platform's theme data names them (the part and
// state numbers of the platform's visual style tables, e.g. BP_PUSHBUTTON / PBS_HOT).
struct TThemedElementDetails {
  TThemedElement Element = teButton;
  int Part = 0;
  int State = 0;
};

class TThemeServices {
 public:
  TThemeServices();
  ~TThemeServices();
  TThemeServices(const TThemeServices&) = delete;
  TThemeServices& operator=(const TThemeServices&) = delete;

  // The platform offers visual styles at all / they are on for this program now.
  bool ThemesAvailable() const { return available_; }
  bool ThemesEnabled() const;

  TThemedElementDetails GetElementDetails(TThemedElement element, int part, int state) const {
    return {element, part, state};
  }
  // The theme data of an element class (null when themes are off).
  HANDLE Theme(TThemedElement element);

  // Each does nothing (and answers false where it answers) while themes are off.
  void DrawElement(HDC dc, const TThemedElementDetails& details, const TRect& rect, const TRect* clip = nullptr);
  void DrawEdge(HDC dc, const TThemedElementDetails& details, const TRect& rect, UINT edge, UINT flags,
                TRect* contentRect = nullptr);
  void DrawText(HDC dc, const TThemedElementDetails& details, const std::wstring& text, const TRect& rect,
                DWORD flags, DWORD flags2 = 0);
  TRect ContentRect(HDC dc, const TThemedElementDetails& details, const TRect& bounds);
  bool HasTransparentParts(const TThemedElementDetails& details);
  // Paints the part of `window`'s parent that lies under `rect` into `dc`.
  void DrawParentBackground(HWND window, HDC dc, const TRect* rect);
  // Closes the theme data so the next use opens the current theme's.
  void UpdateThemes();
  // The desktop theme changed (a form received WM_THEMECHANGED): UpdateThemes, then this.
  void ApplyThemeChange();
  std::function<void()> OnThemeChange;

 private:
  bool available_ = false;
  std::array<HANDLE, teWindow + 1> themes_{};
};

// The program's theme services (made by InitControls).
TThemeServices* ThemeServices();

// Theme services over uxtheme.
#include "toolkit/ui/Themes.h"

#include "toolkit/system/WinApi.h"

#include <uxtheme.h>

namespace {
TThemeServices* g_themes = nullptr;

const wchar_t* ElementClass(TThemedElement element) {
  static const wchar_t* const kClasses[] = {
      L"BUTTON",  L"CLOCK",    L"COMBOBOX", L"EDIT",     L"EXPLORERBAR", L"HEADER",   L"LISTVIEW", L"MENU",
      L"PAGE",    L"PROGRESS", L"REBAR",    L"SCROLLBAR", L"SPIN",       L"STARTPANEL", L"STATUS", L"TAB",
      L"TASKBAND", L"TASKBAR", L"TOOLBAR",  L"TOOLTIP",  L"TRACKBAR",    L"TRAYNOTIFY", L"TREEVIEW", L"WINDOW"};
  return kClasses[element];
}
}  // namespace

TThemeServices* ThemeServices() {
  if (g_themes == nullptr) g_themes = new TThemeServices();
  return g_themes;
}

void DoneThemeServices();
void DoneThemeServices() {
  delete g_themes;
  g_themes = nullptr;
}

TThemeServices::TThemeServices() { available_ = GetModuleHandleW(L"uxtheme.dll") != nullptr || LoadLibraryW(L"uxtheme.dll") != nullptr; }

TThemeServices::~TThemeServices() { UpdateThemes(); }

bool TThemeServices::ThemesEnabled() const { return available_ && IsThemeActive() && IsAppThemed(); }

HANDLE TThemeServices::Theme(TThemedElement element) {
  if (!ThemesEnabled()) return nullptr;
  if (themes_[element] == nullptr) themes_[element] = OpenThemeData(nullptr, ElementClass(element));
  return themes_[element];
}

void TThemeServices::UpdateThemes() {
  for (HANDLE& theme : themes_) {
    if (theme != nullptr) CloseThemeData(theme);
    theme = nullptr;
  }
}

void TThemeServices::ApplyThemeChange() {
  UpdateThemes();
  if (OnThemeChange) OnThemeChange();
}

void TThemeServices::DrawElement(HDC dc, const TThemedElementDetails& details, const TRect& rect, const TRect* clip) {
  HANDLE theme = Theme(details.Element);
  if (theme == nullptr) return;
  const RECT r = rect;
  RECT c{};
  if (clip != nullptr) c = *clip;
  DrawThemeBackground(theme, dc, details.Part, details.State, &r, clip != nullptr ? &c : nullptr);
}

void TThemeServices::DrawEdge(HDC dc, const TThemedElementDetails& details, const TRect& rect, UINT edge, UINT flags,
                              TRect* contentRect) {
  HANDLE theme = Theme(details.Element);
  if (theme == nullptr) return;
  const RECT r = rect;
  RECT content{};
  DrawThemeEdge(theme, dc, details.Part, details.State, &r, edge, flags, &content);
  if (contentRect != nullptr) *contentRect = content;
}

void TThemeServices::DrawText(HDC dc, const TThemedElementDetails& details, const std::wstring& text,
                              const TRect& rect, DWORD flags, DWORD flags2) {
  HANDLE theme = Theme(details.Element);
  if (theme == nullptr) return;
  const RECT r = rect;
  DrawThemeText(theme, dc, details.Part, details.State, text.c_str(), static_cast<int>(text.size()), flags, flags2, &r);
}

TRect TThemeServices::ContentRect(HDC dc, const TThemedElementDetails& details, const TRect& bounds) {
  HANDLE theme = Theme(details.Element);
  if (theme == nullptr) return bounds;
  const RECT b = bounds;
  RECT content = b;
  GetThemeBackgroundContentRect(theme, dc, details.Part, details.State, &b, &content);
  return content;
}

bool TThemeServices::HasTransparentParts(const TThemedElementDetails& details) {
  HANDLE theme = Theme(details.Element);
  return theme != nullptr && IsThemeBackgroundPartiallyTransparent(theme, details.Part, details.State);
}

void TThemeServices::DrawParentBackground(HWND window, HDC dc, const TRect* rect) {
  if (!ThemesEnabled()) return;
  RECT r{};
  if (rect != nullptr) r = *rect;
  DrawThemeParentBackground(window, dc, rect != nullptr ? &r : nullptr);
}

// TScreen: cursor table, font list, system fonts and the form list.
#include "toolkit/ui/Screen.h"

#include <algorithm>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/GraphicsModule.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

TScreen* Screen = nullptr;

namespace {

const wchar_t* StandardCursor(TCursor index) {
  switch (index) {
    case crArrow: return MAKEINTRESOURCEW(32512);
    case crCross: return MAKEINTRESOURCEW(32515);
    case crIBeam: return MAKEINTRESOURCEW(32513);
    case crSizeNESW: return MAKEINTRESOURCEW(32643);
    case crSizeNS: return MAKEINTRESOURCEW(32645);
    case crSizeNWSE: return MAKEINTRESOURCEW(32642);
    case crSizeWE: return MAKEINTRESOURCEW(32644);
    case crUpArrow: return MAKEINTRESOURCEW(32516);
    case crHourGlass:
    case crSQLWait: return MAKEINTRESOURCEW(32514);
    case crNo:
    case crNoDrop: return MAKEINTRESOURCEW(32648);
    case crHSplit: return MAKEINTRESOURCEW(32644);
    case crVSplit: return MAKEINTRESOURCEW(32645);
    case crAppStart: return MAKEINTRESOURCEW(32650);
    case crHelp: return MAKEINTRESOURCEW(32651);
    case crHandPoint: return MAKEINTRESOURCEW(32649);
    case crSizeAll: return MAKEINTRESOURCEW(32646);
    default: return MAKEINTRESOURCEW(32512);
  }
}

void FontFromLogFont(TFont* font, const LOGFONTW& lf) { font->SetHandle(CreateFontIndirectW(&lf)); }

int CALLBACK CollectFont(const LOGFONTW* lf, const TEXTMETRICW*, DWORD, LPARAM param) {
  auto* names = reinterpret_cast<std::vector<std::string>*>(param);
  if (lf->lfFaceName[0] != L'@') names->push_back(WideToUtf8(lf->lfFaceName));
  return 1;
}

}  // namespace

const TClassInfo& TScreen::StaticClass() {
  static const TClassInfo info = TClassBuilder<TScreen>("TScreen", &TComponent::StaticClass()).Build();
  return info;
}

TScreen::TScreen(TComponent* owner)
    : TComponent(owner), hintFont_(new TFont()), iconFont_(new TFont()), menuFont_(new TFont()) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    FontFromLogFont(hintFont_, metrics.lfStatusFont);
    FontFromLogFont(menuFont_, metrics.lfMenuFont);
  }
  LOGFONTW icon{};
  if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(icon), &icon, 0)) FontFromLogFont(iconFont_, icon);
  hintFont_->SetColor(clInfoText);
}

TScreen::~TScreen() {
  for (auto& entry : custom_) DestroyCursor(entry.second);
  delete hintFont_;
  delete iconFont_;
  delete menuFont_;
}

HCURSOR TScreen::Cursors(TCursor index) const {
  if (const auto it = custom_.find(index); it != custom_.end()) return it->second;
  if (index == crNone) return nullptr;
  return LoadCursorW(nullptr, StandardCursor(index));
}

void TScreen::SetCursors(TCursor index, HCURSOR cursor) {
  if (const auto it = custom_.find(index); it != custom_.end()) {
    if (it->second == cursor) return;
    DestroyCursor(it->second);
    custom_.erase(it);
  }
  if (cursor != nullptr) custom_[index] = cursor;
}

void TScreen::SetCursor(TCursor value) {
  if (value == cursor_) return;
  cursor_ = value;
  if (value != crDefault) {
    ::SetCursor(Cursors(value));
  } else {
    POINT p{};
    GetCursorPos(&p);
    SetCursorPos(p.x, p.y);  // lets the window under the mouse set its own cursor again
  }
}

const std::vector<std::string>& TScreen::Fonts() {
  if (!fontsRead_) {
    fontsRead_ = true;
    HDC dc = GetDC(nullptr);
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(dc, &lf, CollectFont, reinterpret_cast<LPARAM>(&fonts_), 0);
    ReleaseDC(nullptr, dc);
    std::sort(fonts_.begin(), fonts_.end(), [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    fonts_.erase(std::unique(fonts_.begin(), fonts_.end(), [](const std::string& a, const std::string& b) { return SameText(a, b); }),
                 fonts_.end());
  }
  return fonts_;
}

int TScreen::PixelsPerInch() const { return ScreenPixelsPerInch(); }

TRect TScreen::WorkAreaRect() const {
  RECT r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

void TScreen::AddForm(TCustomForm* form) { forms_.push_back(form); }

void TScreen::RemoveForm(TCustomForm* form) {
  std::erase(forms_, form);
  if (activeForm_ == form) activeForm_ = nullptr;
}

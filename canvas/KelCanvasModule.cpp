// Start-up and shut-down of the drawing surface and its process-wide state (see
// KelCanvasModule.h). The clip stack's own state lives in ClipStack.cpp.
#include "canvas/KelCanvasModule.h"

#include <algorithm>
#include <cstring>

#include "canvas/ClipStack.h"
#include "canvas/KelCanvas3D.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Control.h"

std::string KelDefaultFontNameText = "Arial";
std::string KelDefaultFontSizeText = "8";
std::string KelDefaultFontName = "Arial";
int KelDefaultFontSize = 8;

std::function<void(std::vector<std::string>&)> StoredFontNames;
const char* const KelLcdFontFamily = "Dovudad LCD";
const char* const KelLedFontFamily = "Dovudad";
std::function<void(TBitmap&, double)> KelRotateBitmapHook;

namespace {

bool started = false;
bool ntPlatform = true;
HMODULE gdiModule = nullptr;
HMODULE msimgModule = nullptr;
bool alphaBlendLooked = false;
TAlphaBlendProc alphaBlend = nullptr;
TSetDCColorProc setDCBrushColor = nullptr;
TSetDCColorProc setDCPenColor = nullptr;
HANDLE storedFonts[2] = {nullptr, nullptr};
std::vector<const TClassInfo*>* canvasClasses = nullptr;

using TAddFontMemProc = HANDLE(WINAPI*)(PVOID, DWORD, PVOID, DWORD*);
using TRemoveFontMemProc = BOOL(WINAPI*)(HANDLE);

template <class F>
F Entry(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Registers one RCDATA font resource of the program for this process; nullptr when absent.
HANDLE RegisterStoredFont(TAddFontMemProc add, const wchar_t* resourceName) {
  HMODULE exe = GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(exe, resourceName, MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (res == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(exe, res);
  const DWORD size = SizeofResource(exe, res);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr || size == 0) return nullptr;
  // The whole resource is read into memory and handed over; the system keeps its own copy.
  std::vector<unsigned char> data(static_cast<const unsigned char*>(bytes),
                                  static_cast<const unsigned char*>(bytes) + size);
  DWORD count = 1;
  return add(data.data(), size, nullptr, &count);
}

}  // namespace

bool KelIsNTPlatform() { return ntPlatform; }

HMODULE LoadLibraryQuietly(const char* name) { return static_cast<HMODULE>(SafeLoadLibrary(name, 0x8000)); }

void FreeLibraryChecked(HMODULE module) {
  if (module == nullptr) return;
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExW(&info);
#pragma GCC diagnostic pop
  if (info.dwPlatformId == 1 && info.dwMinorVersion == 0) return;
  FreeLibrary(module);
}

HMODULE LoadGdiModule() {
  if (gdiModule == nullptr) gdiModule = LoadLibraryQuietly("gdi32.dll");
  return gdiModule;
}

void LoadDCColorFunctions() {
  HMODULE gdi = LoadGdiModule();
  setDCBrushColor = Entry<TSetDCColorProc>(gdi, "SetDCBrushColor");
  setDCPenColor = Entry<TSetDCColorProc>(gdi, "SetDCPenColor");
}

TSetDCColorProc KelSetDCBrushColor() { return setDCBrushColor; }
TSetDCColorProc KelSetDCPenColor() { return setDCPenColor; }

TAlphaBlendProc LoadAlphaBlend() {
  if (!alphaBlendLooked) {
    alphaBlendLooked = true;
    if (ntPlatform) {
      msimgModule = LoadLibraryQuietly("msimg32.dll");
      alphaBlend = Entry<TAlphaBlendProc>(msimgModule, "AlphaBlend");
    }
  }
  return alphaBlend;
}

void InitDefaultFont() {
  KelDefaultFontName = KelDefaultFontNameText;
  KelDefaultFontSize = StrToIntDef(KelDefaultFontSizeText, 8);
  if (PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE) {
    if (KelDefaultFontSize == 8) KelDefaultFontSize = 9;
    // "MS PGothic" as the Japanese system names it.
    if (KelDefaultFontName == "Arial") KelDefaultFontName = "\xEF\xBC\xAD\xEF\xBC\xB3 \xEF\xBC\xB0\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF";
  }
}

void LoadEmbeddedFonts() {
  StoredFontNames = nullptr;
  auto add = Entry<TAddFontMemProc>(LoadGdiModule(), "AddFontMemResourceEx");
  if (add == nullptr) return;
  storedFonts[0] = RegisterStoredFont(add, L"KELLCDFONT");
  storedFonts[1] = RegisterStoredFont(add, L"KELLEDFONT");
  StoredFontNames = [](std::vector<std::string>& names) {
    names.push_back(KelLedFontFamily);
    names.push_back(KelLcdFontFamily);
  };
}

void UnloadEmbeddedFonts() {
  StoredFontNames = nullptr;
  auto remove = Entry<TRemoveFontMemProc>(gdiModule, "RemoveFontMemResourceEx");
  for (HANDLE& font : storedFonts) {
    if (font != nullptr && remove != nullptr) remove(font);
    font = nullptr;
  }
}

HANDLE StoredFontHandle(int index) { return index >= 0 && index < 2 ? storedFonts[index] : nullptr; }

std::vector<const TClassInfo*>& CanvasClassList() {
  if (canvasClasses == nullptr) canvasClasses = new std::vector<const TClassInfo*>();
  return *canvasClasses;
}

void RemoveCanvasClass(const TClassInfo& cls) {
  if (canvasClasses == nullptr) return;
  auto& list = *canvasClasses;
  list.erase(std::remove(list.begin(), list.end(), &cls), list.end());
}

const TClassInfo& FindCanvasClass(const std::string& name) {
  if (!name.empty()) {
    for (const TClassInfo* cls : CanvasClassList()) {
      if (cls->Name() == name) return *cls;
    }
  }
  return TKelCanvas3D::StaticClass();
}

void ActivateControlClassGroup() {
  StartClassGroup(TControl::StaticClass());
  ActivateClassGroup(TControl::StaticClass());
}

void KelCanvasStartup() {
  if (started) return;
  started = true;
  ntPlatform = Win32Platform() == VER_PLATFORM_WIN32_NT;
  InitDefaultFont();
  LoadEmbeddedFonts();
  LoadDCColorFunctions();
  CanvasClassList().push_back(&TKelCanvas3D::StaticClass());
}

void KelCanvasShutdown() {
  if (!started) return;
  started = false;
  UnloadEmbeddedFonts();
  if (canvasClasses != nullptr) {
    auto& list = *canvasClasses;
    list.erase(std::remove(list.begin(), list.end(), &TKelCanvas3D::StaticClass()), list.end());
    delete canvasClasses;
    canvasClasses = nullptr;
  }
  FreeLibraryChecked(gdiModule);
  gdiModule = nullptr;
  setDCBrushColor = nullptr;
  setDCPenColor = nullptr;
  FreeLibraryChecked(msimgModule);
  msimgModule = nullptr;
  alphaBlend = nullptr;
  alphaBlendLooked = false;
  ClearClipStack();
  KelDefaultFontName.clear();
}

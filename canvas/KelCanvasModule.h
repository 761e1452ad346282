// Process-wide state of the drawing surface and its start-up and shut-down: the two stored
// TrueType fonts registered from the program's RCDATA resources, the optional gdi32 entry
// points (DC brush and pen colours, font memory resources), msimg32's AlphaBlend, the default
// font, the canvas class registry and the hook through which angled gradients turn bitmaps.
// Everything here runs on the window thread; nothing is locked.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "toolkit/system/WinApi.h"

class TClassInfo;
class TBitmap;

// The library texts the default font comes from; the chart library's text set-up may assign
// them before the drawing surface starts.
extern std::string KelDefaultFontNameText;  // "Arial"
extern std::string KelDefaultFontSizeText;  // "8"

// The default font of every TKelFont (set by KelCanvasStartup through InitDefaultFont).
extern std::string KelDefaultFontName;
extern int KelDefaultFontSize;

// lfQuality of antialiased text (ANTIALIASED_QUALITY).
constexpr BYTE BestFontQuality = 4;

// Start-up, in order: platform family, default font, stored fonts, DC colour functions, the
// canvas class list with TKelCanvas3D. Shut-down undoes it (fonts, list, libraries, clip stack,
// default font name). Both are idempotent.
void KelCanvasStartup();
void KelCanvasShutdown();

// True on the NT family (every current Windows); remembered by the start-up.
bool KelIsNTPlatform();

// InitDefaultFont: "Arial" 8 from the library texts; on a Japanese user interface 9 points and
// the face "MS PGothic" in its Japanese spelling.
void InitDefaultFont();

// LoadLibrary with the "missing file" box suppressed; nullptr on failure.
HMODULE LoadLibraryQuietly(const char* name);
// FreeLibrary, except on the one old platform (identifier 1, minor version 0) where freeing
// is not safe.
void FreeLibraryChecked(HMODULE module);

// gdi32 (loaded once) and the optional entry points looked up in it.
HMODULE LoadGdiModule();
void LoadDCColorFunctions();
using TSetDCColorProc = COLORREF(WINAPI*)(HDC, COLORREF);
TSetDCColorProc KelSetDCBrushColor();  // nullptr when gdi32 lacks it
TSetDCColorProc KelSetDCPenColor();

// msimg32's AlphaBlend, looked up once (nullptr when missing or not on the NT family).
using TAlphaBlendProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
TAlphaBlendProc LoadAlphaBlend();

// Registers KELLCDFONT and KELLEDFONT from the program's resources for this process (when
// gdi32 exports AddFontMemResourceEx); a missing resource gives handle 0. Unload removes them.
void LoadEmbeddedFonts();
void UnloadEmbeddedFonts();
// Handle of a registered stored font: 0 the LCD font, 1 the LED font (nullptr when absent).
HANDLE StoredFontHandle(int index);
// The stored-font name routine: adds "Dovudad" and the LCD font's family name; empty while the
// fonts are not registered.
extern std::function<void(std::vector<std::string>& names)> StoredFontNames;
// Family name recorded inside the LCD font resource.
extern const char* const KelLcdFontFamily;
extern const char* const KelLedFontFamily;  // "Dovudad"

// The canvas class registry: classes derived from TCanvas3D, TKelCanvas3D first. Modules
// append theirs in their start-up and remove them in their shut-down.
std::vector<const TClassInfo*>& CanvasClassList();
// Takes a class out of the list (nothing when the list is already gone).
void RemoveCanvasClass(const TClassInfo& cls);
// The first registered class whose name equals `name` exactly; TKelCanvas3D when none does.
const TClassInfo& FindCanvasClass(const std::string& name);

// Starts and activates the layout class group of the toolkit's TControl, so that the chart and
// filter modules can group their classes with it for streaming.
void ActivateControlClassGroup();

// Turns a bitmap in place by an angle in degrees (installed by the image filter module); while
// it is empty, angled gradients use the drawing surface's own TurnBitmap.
extern std::function<void(TBitmap& bitmap, double angle)> KelRotateBitmapHook;

// TCustomKelPanel: the windowed control at the root of every chart. It owns the one drawing
// canvas (chosen by class name, the GDI canvas as fallback), runs the paint cycle, derives the
// chart rectangle from the margins, exports the chart as a bitmap and fans events out to
// listeners. Subclasses paint in PaintChartArea.
//
// Paint cycle (window thread only):
//   state          entered when                         left when
//   idle           construction, end of a paint         WM_PAINT / DrawToCanvas
//   restoring      Paint: canvas pointed at the window  buffer valid: copied, back to idle;
//                                                       stale: drawing
//   drawing        DrawTo: PrepareFrame .. FinishFrame  FinishFrame or an exception (passed on)
// Invariant: every place that switches RepaintEnabled off restores the remembered value on
// every exit, exceptions included (TRepaintGuard); DrawToCanvas puts the canvas's target,
// buffering and keep-buffer mark back on every exit.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "canvas/KelCanvasPanel.h"
#include "chart/KelProcs.h"
#include "chart/KelShapes.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/ui/Panel.h"

class TCanvas3D;
class TKelBrush;
class TKelEmboss;
class TKelFont;
class TKelHiddenPen;
class TKelPen;
class TKelShadow;
class TView3DOptions;
class TCustomKelPanel;

// Drag state of zoom and panning: an active flag and the rectangle X0, Y0, X1, Y1 in pixels.
class TZoomPanning : public TPersistent {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void StartAt(int x, int y) {
    X0 = X1 = x;
    Y0 = Y1 = y;
    Active = true;
  }
  // Exchanges the corners so that X0 <= X1 and Y0 <= Y1.
  void Normalize();
  bool Active = false;
  int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
};

enum TMouseWheelStyle { pmwNormal, pmwInverted, pmwNone };
const TEnumInfo& EnumTypeInfo(TMouseWheelStyle);

class TKelPanning : public TZoomPanning {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(TPersistent* source) override;
  bool InsideBounds() const { return insideBounds_; }
  void SetInsideBounds(bool value) { insideBounds_ = value; }
  TMouseWheelStyle MouseWheel() const { return mouseWheel_; }
  void SetMouseWheel(TMouseWheelStyle value) { mouseWheel_ = value; }

 private:
  bool insideBounds_ = false;
  TMouseWheelStyle mouseWheel_ = pmwNormal;
};

// Something that receives the panel's events (mouse, series, view changes).
class TKelEvent : public TObject {
 public:
  TCustomKelPanel* Sender = nullptr;
};
class TKelMouseEvent : public TKelEvent {
 public:
  int Kind = 0;  // 0 down, 1 up, 2 move
  TMouseButton Button = mbLeft;
  TShiftState Shift;
  int X = 0, Y = 0;
};
// The panel's View3D changed.
class TKelView3DEvent : public TKelEvent {};
// The mouse left the panel.
class TMouseLeaveEvent : public TKelEvent {};
class IKelEventListener {
 public:
  virtual ~IKelEventListener() = default;
  virtual void ChartEvent(TKelEvent& event) = 0;
};

// The panel's listeners in the order they were added; the panel does not own them.
class TKelEventListeners {
 public:
  void Add(IKelEventListener* listener) { items_.push_back(listener); }
  void Remove(IKelEventListener* listener);
  bool Empty() const { return items_.empty(); }
  int Count() const { return static_cast<int>(items_.size()); }
  // A copy: a listener may add or remove listeners while an event is being sent.
  std::vector<IKelEventListener*> Snapshot() const { return items_; }

 private:
  std::vector<IKelEventListener*> items_;
};

// Switches a panel's repainting off for its lifetime and restores the remembered value on
// every exit.
class TRepaintGuard {
 public:
  explicit TRepaintGuard(TCustomKelPanel& panel);
  ~TRepaintGuard();
  TRepaintGuard(const TRepaintGuard&) = delete;
  TRepaintGuard& operator=(const TRepaintGuard&) = delete;

 private:
  TCustomKelPanel& panel_;
  bool saved_;
};

class TCustomPanelNoCaption : public TCustomPanel {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TCustomPanelNoCaption(TComponent* owner);
};

class TCustomKelPanel : public TCustomPanelNoCaption, public IShapePanel, public IKelCanvasPanel {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  explicit TCustomKelPanel(TComponent* owner);
  ~TCustomKelPanel() override;

  // ---- Canvas ------------------------------------------------------------------------------
  TCanvas3D* Canvas3D() const { return canvas_.get(); }
  const std::string& CanvasClassName() const { return canvasClassName_; }
  void SetCanvasClassName(const std::string& name) { canvasClassName_ = name; }
  // Makes the canvas match the class name (the GDI canvas when no registered class bears it).
  void CreateCanvasFromName();
  // Replaces the canvas by `canvas` (taking ownership); null is ignored.
  void ChangeCanvas(TCanvas3D* canvas) override;
  // The GDI+ switch component reaches the canvas through these two.
  TCanvas3D* PanelCanvas() override { return canvas_.get(); }
  void Loaded() override;
  // "DefaultCanvas" (the canvas class name) and the read-only legacy "BorderStyle".
  void DefineProperties(TFiler& filer) override;
  // Repainting is off while the layout is read (also after a failure), then the panel
  // invalidates.
  void ReadState(TReader& reader) override;

  // ---- Paint cycle -------------------------------------------------------------------------
  bool RepaintEnabled() const { return repaintEnabled_; }
  void SetRepaintEnabled(bool value) { repaintEnabled_ = value; }
  // Nothing while RepaintEnabled is off; otherwise marks the buffer stale and the window dirty.
  void Invalidate() override;
  // Draws the whole chart onto `device` within `rect`. Exceptions pass on unchanged.
  virtual void DrawTo(TCanvas* device, const TRect& rect);
  // The client rectangle; (0, 0, Width, Height) without a window.
  virtual TRect GetPanelRect();
  void ApplyMargins();
  void ClampChartRect();
  int BorderSize() const;
  // The colour painted behind the chart.
  virtual TColor BackgroundColor();
  // A hook for subclasses before painting (nothing here).
  virtual void BeforePaintHook() {}
  // Whether series and pictures may clip (not on a canvas that draws full 3D itself in 3D).
  bool CanClip();
  // Gives the canvas `brush` in `fore` on `back`; a hatched or clear brush whose fore colour
  // equals the back colour is drawn in black (white on black) so that it stays visible.
  void UseBrushContrast(TColor fore, TKelBrush* brush, TColor back);

  // ---- Layers that change only with size or settings -------------------------------------
  // Paints layer `slot` (0 the panel background, 1 the back wall) into r through `paint`, or,
  // when the last paint of that layer had the same rectangle and key on this canvas, copies
  // the pixels that paint left there. Only a canvas drawing untransformed into a memory bitmap
  // keeps layers; `key` must hold every setting the painting reads besides the rectangle.
  void PaintLayer(int slot, const TRect& r, const std::string& key, const std::function<void()>& paint);
  // Forgets every kept layer and picture.
  void DropLayers();
  // The stored settings of an attribute object as bytes, for a layer key.
  static std::string SettingsKey(TPersistent* object);

  // ---- Pictures kept over what lies under them -----------------------------------------------
  // Slots of PaintKept.
  enum { kKeptLegend = 0, kKeptSlots = 1 };
  // Paints through `paint`, or, when the last paint in `slot` had the same key and rectangle
  // and found the very pixels that lie under r now, puts back the pixels it left in r. `key`
  // must hold everything the painting reads besides what lies under it; everything it draws
  // must fall inside r (a painting that changed a pixel near r but outside it is not kept).
  // Only a canvas drawing untransformed into a memory bitmap keeps pictures. Answers whether
  // kept pixels were used.
  bool PaintKept(int slot, const TRect& r, const std::string& key, const std::function<void()>& paint);
  // How many paints used kept pictures so far.
  unsigned KeptPictureUses() const { return keptPaints_; }

  // ---- Export ------------------------------------------------------------------------------
  // A new bitmap of the chart within `rect` (owned by the caller). White means no pre-fill.
  std::unique_ptr<TBitmap> RenderToBitmap(TColor color, const TRect& rect, TPixelFormat format = pfDevice);
  // Paints the chart onto `target` within `rect` without buffering; restores the canvas on
  // every exit.
  void DrawToCanvas(TCanvas* target, const TRect& rect);
  std::unique_ptr<TBitmap> PanelBitmap() { return RenderToBitmap(Color(), GetPanelRect()); }
  // A picture or a graphic takes the panel's bitmap; anything else goes to the toolkit.
  void AssignTo(TPersistent* dest) override;
  // Writes a Windows bitmap whatever the extension.
  void WriteBitmapFile(const std::string& fileName) { WriteBitmapFileRect(fileName, GetPanelRect()); }
  void WriteBitmapFileRect(const std::string& fileName, const TRect& rect);

  // From another chart panel: bevels, border, corner rounding, the canvas's buffering, colour,
  // emboss, margins and their units, panning, print margins, PrintProportional, shadow and the 3D
  // view; from anything else the toolkit's Assign.
  void Assign(TPersistent* source) override;

  // ---- Text --------------------------------------------------------------------------------
  // Gives the canvas a font: a default-marked font becomes the panel font; 3D-zoomed in 3D.
  void AssignCanvasFont(TKelFont* font);
  // The parent panel's default font when a parent panel is set, else the panel font.
  TKelFont* DefaultFont();
  // Another panel whose default font this one shares (none by default).
  TCustomKelPanel* ParentPanel = nullptr;
  // Width and height of a multi-line text in the canvas font.
  void TextLinesExtent(const std::string& text, bool markUp, int& width, int& height);
  // The same, answering the width and handing back the height.
  int TextWidthLines(const std::string& text, bool markUp, int& height) {
    int width = 0;
    TextLinesExtent(text, markUp, width, height);
    return width;
  }

  // ---- IShapePanel -------------------------------------------------------------------------
  TCanvas3D* ShapeCanvas() override { return canvas_.get(); }
  void AssignShapeFont(TKelFont* font) override { AssignCanvasFont(font); }
  void AssignShapeFontFlat(TKelFont* font) override;
  void ShapeTextExtent(const std::string& text, bool markUp, int& width, int& height) override {
    TextLinesExtent(text, markUp, width, height);
  }
  void ShapeChanged() override { Invalidate(); }

  // The text zoom follows a change of scale (m/d), then the toolkit rescales.
  void ChangeScale(int m, int d) override;

  // ---- Listeners ---------------------------------------------------------------------------
  void AddListener(IKelEventListener* listener) { listeners_.Add(listener); }
  void RemoveListener(IKelEventListener* listener);
  // Sends the event to every listener in order; a mouse event stops once a listener set the
  // mouse-handled flag.
  void Broadcast(TKelEvent& event);
  void BroadcastMouse(int kind, TMouseButton button, TShiftState shift, int x, int y);
  // A fresh event of class E, sent when anyone listens.
  template <class E>
  void BroadcastNew() {
    if (listeners_.Empty()) return;
    E event;
    Broadcast(event);
  }
  bool MouseHandled = false;
  // The cursor the panel had when its layout was loaded (the mouse's resting cursor).
  TCursor SavedCursor() const { return savedCursor_; }

  // ---- Properties --------------------------------------------------------------------------
  TKelHiddenPen* Border() const { return border_.get(); }
  int BorderRound() const { return borderRound_; }
  void SetBorderRound(int value);
  TKelShadow* Shadow() const { return shadow_.get(); }
  TKelEmboss* Emboss() const { return emboss_.get(); }
  int Margin(int index) const { return margins_[index]; }
  void SetMargin(int index, int value);
  int MarginLeft() const { return margins_[0]; }
  int MarginTop() const { return margins_[1]; }
  int MarginRight() const { return margins_[2]; }
  int MarginBottom() const { return margins_[3]; }
  void SetMarginLeft(int v) { SetMargin(0, v); }
  void SetMarginTop(int v) { SetMargin(1, v); }
  void SetMarginRight(int v) { SetMargin(2, v); }
  void SetMarginBottom(int v) { SetMargin(3, v); }
  TKelUnits MarginUnits() const { return marginUnits_; }
  void SetMarginUnits(TKelUnits value);
  bool View3D() const { return view3D_; }
  void SetView3D(bool value);
  TView3DOptions* View3DOptions() const { return view3DOptions_.get(); }
  TKelPanning* Panning() const { return panning_.get(); }
  bool PrintProportional() const { return printProportional_; }
  void SetPrintProportional(bool value);
  // Border, Emboss, Shadow, Panning and View3DOptions always exist: another object is copied
  // into the panel's own, null is ignored.
  void SetBorder(TKelPen* value);
  void SetEmboss(TKelEmboss* value);
  void SetShadow(TKelShadow* value);
  void SetPanning(TKelPanning* value);
  void SetView3DOptions(TView3DOptions* value);
  // Kept by the canvas (carried over when the canvas class changes).
  bool Monochrome() const;
  void SetMonochrome(bool value);

  // ---- Layout of the current paint ---------------------------------------------------------
  const TRect& PanelRect() const { return panelRect_; }
  const TRect& ChartBounds() const { return chartRect_; }
  void SetChartBounds(const TRect& r) { chartRect_ = r; }
  int ChartWidth() const { return chartWidth_; }
  int ChartHeight() const { return chartHeight_; }
  int ChartXCenter() const { return chartXCenter_; }
  int ChartYCenter() const { return chartYCenter_; }
  int ChartDepthPixels() const { return chartDepth_; }
  int Chart3DHeight() const { return chart3DHeight_; }
  // The change callback every attribute object of the chart gets: invalidates.
  void ElementChanged(TObject*) {
    ++elementChanges_;
    Invalidate();
  }
  TNotifyEvent ChangeCallback() {
    return [this](TObject* sender) { ElementChanged(sender); };
  }

 protected:
  void Paint() override;
  void DrawOnDevice();
  // Everything inside the panel rectangle; the axis panel paints the chart here.
  virtual void PaintChartArea(const TRect&) {}
  void WndProc(TMessage& message) override;
  void Resize() override;
  // Mouse rules: the handled flag is cleared, the toolkit's handling runs, and unless a handler
  // set the flag the event goes to the listeners.
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseLeave() override;
  // A listener that handled the double click ends it silently (EAbort).
  void DblClick() override;
  // Own device context; see-through when the colour is clNone.
  void CreateParams(TCreateParams& params) override;
  // A new window: the canvas links its 3D options again at the next frame.
  void CreateWnd() override;

  int chartDepth_ = 0;
  int chart3DHeight_ = 0;

 private:
  void SetRegion();
  // An export in clNone or $FF000000 is transparent in that colour.
  static void MakeExportTransparent(TBitmap& bitmap, TColor color);

  bool repaintEnabled_ = false;
  std::unique_ptr<TKelHiddenPen> border_;
  int borderRound_ = 0;
  TRect panelRect_;
  int chartWidth_ = 0, chartHeight_ = 0, chartXCenter_ = 0, chartYCenter_ = 0;
  TCanvas* deviceCanvas_ = nullptr;
  std::unique_ptr<TKelEmboss> emboss_;
  std::unique_ptr<TKelFont> panelFont_;
  int margins_[4] = {3, 4, 3, 4};
  TKelUnits marginUnits_ = muPercent;
  std::unique_ptr<TKelPanning> panning_;
  bool printProportional_ = true;
  std::unique_ptr<TKelShadow> shadow_;
  bool view3D_ = true;
  std::unique_ptr<TView3DOptions> view3DOptions_;
  TKelEventListeners listeners_;
  int baseWidth_ = 0, baseHeight_ = 0;
  std::string canvasClassName_;
  TCursor savedCursor_ = 0;
  std::unique_ptr<TCanvas3D> canvas_;
  TRect chartRect_;
  int printMargins_[4] = {15, 15, 15, 15};
  bool destroying_ = false;
  // The device context layers are kept from and restored to; null when it cannot keep them.
  HDC LayerDC();
  struct TLayer {
    std::string key;
    TRect rect;
    std::unique_ptr<TBitmap> pixels;
  };
  TLayer layers_[2];
  struct TKept {
    std::string key;
    TRect rect;
    // The pixels under the rectangle before the last paint and after it, row by row.
    std::vector<unsigned char> under, over;
    // The last paint drew outside its rectangle: painted anew while the key stays.
    bool refused = false;
  };
  TKept kept_[kKeptSlots];
  unsigned keptPaints_ = 0;
  // The key of a layer or kept picture: `key`, the canvas object, its way of drawing and the
  // count of attribute changes.
  std::string FullLayerKey(const std::string& key);
  // Counts paints of the lowest layer anew: the back wall's kept pixels include what lay under it.
  unsigned layerEpoch_ = 0;
  // Counts changes of the attribute objects: kept layers never outlive one.
  unsigned elementChanges_ = 0;
  // Set while the window region is being changed: SetWindowRgn resizes and re-enters.
  bool settingRegion_ = false;
};

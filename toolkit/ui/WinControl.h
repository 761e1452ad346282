// TWinControl: a control with a platform window. It describes its window in CreateParams
// (class, styles, a standard class to subclass), makes it on demand (HandleNeeded; the parent's
// window first, its own children's after), receives the window's messages through one window
// procedure that hands them to WindowProc, lays out its children (Align, then anchors),
// paints its non-windowed children, and takes part in focus and keyboard handling: key
// messages come first as CN_KEYDOWN/CN_CHAR from the application's loop, where dialog keys
// (Tab, arrows, Enter, Esc) the control does not want go to the form as CM_DIALOGKEY.
// Notifications a child window sends its parent (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM ...) are
// reflected back to that child as CN_xxx.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolkit/ui/Control.h"

class TBrush;
class TDockTree;

// Sender, the docked client, x, y.
using TDockDropEvent = TMethodEvent<TObject*, TControl*, int, int>;
// Sender, client, new target (null: floating), allow.
using TUnDockEvent = TMethodEvent<TObject*, TControl*, TWinControl*, bool&>;
// Sender, client, influence rectangle (screen), mouse position (screen), can dock.
using TGetSiteInfoEvent = TMethodEvent<TObject*, TControl*, TRect&, TPoint, bool&>;

struct TCreateParams {
  std::wstring Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASSW WindowClass{};
  std::wstring WinClassName;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // The window, made now (with the parents' windows) when it does not exist yet.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded();
  // A window to act as parent for a control without a TWinControl parent (hosting).
  HWND ParentWindow() const { return parentWindow_; }
  void SetParentWindow(HWND value);
  // Destroys the window and makes it again (after a style change).
  void RecreateWnd();

  // ---- Children ----------------------------------------------------------------------
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
  bool ContainsControl(TControl* control) const;
  // The visible, enabled child under `pos` (client coordinates); windowed children only when
  // `allowWinControls`. Later children lie on top.
  TControl* ControlAtPos(TPoint pos, bool allowDisabled = false, bool allowWinControls = false);
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  // Sends `message` to every child until one answers non-zero.
  void Broadcast(TMessage& message);
  // Sends a message to every child (NotifyControls: the parent-changed messages).
  void NotifyControls(UINT msg);
  void DisableAlign() { ++alignLevel_; }
  void EnableAlign();
  // Lays the children out again (Align, then anchors).
  void Realign();
  bool AlignDisabled() const { return alignLevel_ > 0; }

  // ---- Focus and keyboard ------------------------------------------------------------
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value);
  int TabOrder() const;
  void SetTabOrder(int value);
  virtual bool CanFocus();
  bool Focused() const;
  virtual void SetFocus();
  // The tab order of this control's windowed children.
  std::vector<TWinControl*> TabList() const;
  // The next control in tab order after `current` inside this control (wrapping), or null.
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent);
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

  // The brush of the window's background, in Color.
  TBrush* Brush() const { return brush_; }
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool value) { doubleBuffered_ = value; }

  TRect ClientRect() override;
  // The client rectangle less what the control keeps for itself (borders): where aligned
  // children and docked clients go.
  TRect AlignedClientRect();
  void SetClientSize(int width, int height) override;
  TPoint ClientOrigin() override;
  void SetBounds(int left, int top, int width, int height) override;
  bool Showing() const override;
  std::string GetText() override;
  void SetText(const std::string& value) override;
  void Invalidate() override;
  // The children first, the last one first; in the foreground the first child with a palette
  // ends the walk; without one among them, the control's own.
  bool PaletteChanged(bool foreground) override;
  // The window's own context (its window in `window`).
  HDC GetDeviceContext(HWND& window) override;
  void Update() override;
  void Repaint() override;
  void DefaultHandler(TMessage& message) override;
  void WndProc(TMessage& message) override;
  void SetVisible(bool value) override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void BeforeDestruction() override;
  // "DesignSize": the client size the layout's anchored children were placed in.
  void DefineProperties(TFiler& filer) override;

  // A child asks to be shown (TControl::Show): the default passes the request on to the
  // parent, so that a container that shows one child at a time (a page control) can bring
  // the right one forward.
  virtual void ShowControl(TControl* control);

  // Paints the non-windowed children into `dc` (origin at this control's client origin).
  void PaintControls(HDC dc, TControl* first);
  // Paints the control with everything on it into `dc` with its top-left corner at (x, y):
  // background, own painting, non-windowed children, then the windowed children the same way.
  // Works without the window being on screen (tests paint into bitmaps with it).
  void PaintTo(HDC dc, int x, int y);
  void ChangeScale(int m, int d) override;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  // The control that owns a window, or null for windows that are not controls'.
  static TWinControl* FindControl(HWND window);

  // ---- Dock site -----------------------------------------------------------------------
  bool DockSite() const { return dockSite_; }
  void SetDockSite(bool value);
  // A dock site that uses a dock manager lets it lay out, paint and grab its clients.
  bool UseDockManager() const { return useDockManager_; }
  void SetUseDockManager(bool value);
  // The site's dock manager (made by CreateDockManager while DockSite and UseDockManager are
  // both set), or null.
  TDockTree* DockManager() const { return dockManager_.get(); }
  int DockClientCount() const { return static_cast<int>(dockClients_.size()); }
  TControl* DockClients(int index) const { return dockClients_.at(static_cast<size_t>(index)); }
  // A client docks here: the default makes it a child (keeping its alignment) and fires
  // OnDockDrop. Called by TControl::ManualDock after the client joined the list.
  virtual void DockDrop(TControl* client, int x, int y);
  // Whether `client` may leave for `newTarget` (null: floating): OnUnDock decides.
  virtual bool DoUnDock(TWinControl* newTarget, TControl* client);
  // The client has left (already out of this control's windows).
  virtual void DockClientRemoved(TControl*) {}
  // A docked client's text or visibility changed (CM_TEXTCHANGED, CM_VISIBLECHANGED); the
  // default lays the dock manager's clients out again.
  virtual void DockClientChanged(TControl* client, UINT what);
  // Where a dragged client may dock here: the influence rectangle (screen; default the whole
  // control) and whether it can (default: DockSite); OnGetSiteInfo may change both.
  virtual void GetSiteInfo(TControl* client, TRect& influence, TPoint mousePos, bool& canDock);

  TDockDropEvent OnDockDrop;
  TUnDockEvent OnUnDock;
  TGetSiteInfoEvent OnGetSiteInfo;

 protected:
  virtual void CreateParams(TCreateParams& params);
  // Uses a standard window class ("BUTTON", "EDIT" ...) under this control's class name; the
  // standard class's window procedure becomes the default handler.
  void CreateSubClass(TCreateParams& params, const wchar_t* className);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& params);
  virtual void DestroyWnd();
  virtual void DestroyHandle();
  // Makes the window: CreateWnd, then the windows of the visible children; then aligns.
  virtual void CreateHandle();
  void Loaded() override;
  // Lays out `rect` (the client area) among the aligned children, then the anchored ones.
  virtual void AlignControls(TControl* control, TRect& rect);
  virtual void AdjustClientRect(TRect&) {}
  // The dock manager for this site (the caller owns it); the default is a TDockTree.
  virtual TDockTree* CreateDockManager();
  // Whether the window will have a menu bar (for the client size before the window exists).
  virtual bool WindowHasMenu() const { return false; }
  // Paints the window's own content into `dc` (default: the platform's painting).
  virtual void PaintWindow(HDC dc);
  void PaintHandler(TMessage& message);
  void Dispatch(TMessage& message) override;

  virtual bool DoKeyDown(TMessage& message);
  virtual bool DoKeyPress(TMessage& message);
  virtual bool DoKeyUp(TMessage& message);
  virtual void KeyDown(WORD& key, TShiftState shift);
  virtual void KeyUp(WORD& key, TShiftState shift);
  virtual void KeyPress(wchar_t& key);
  virtual void DoEnter() { OnEnter(this); }
  virtual void DoExit() { OnExit(this); }

  // ---- Handlers ----------------------------------------------------------------------
  virtual void WMPaint(TMessage& message);
  virtual void WMEraseBkgnd(TMessage& message);
  virtual void WMWindowPosChanged(TMessage& message);
  virtual void WMSize(TMessage& message);
  virtual void WMSetFocus(TMessage& message);
  virtual void WMKillFocus(TMessage& message);
  virtual void WMSetCursor(TMessage& message);
  virtual void WMMouseLeave(TMessage& message);
  virtual void WMKeyDown(TMessage& message);
  virtual void WMKeyUp(TMessage& message);
  virtual void WMChar(TMessage& message);
  virtual void WMCommandReflect(TMessage& message);
  virtual void WMCtlColor(TMessage& message);
  virtual void CNKeyDown(TMessage& message);
  virtual void CNChar(TMessage& message);
  virtual void CMDialogKey(TMessage& message) { Broadcast(message); }
  virtual void CMDialogChar(TMessage& message) { Broadcast(message); }
  virtual void CMEnter(TMessage&) { DoEnter(); }
  virtual void CMExit(TMessage&) { DoExit(); }
  virtual void CMFocusChanged(TMessage& message) { Broadcast(message); }
  virtual void CMShowingChanged(TMessage& message);
  void CMEnabledChanged(TMessage& message) override;
  void CMColorChanged(TMessage& message) override;
  void CMFontChanged(TMessage& message) override;
  void CMVisibleChanged(TMessage& message) override;

  // The window's default window procedure (the standard class's for subclassed controls).
  WNDPROC defWndProc_ = nullptr;

 private:
  friend class TControl;
  static LRESULT CALLBACK InitWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  void DoAlign(TAlign align, TRect& rect);
  void UpdateChildrenShowing();
  void DestroyChildHandles();

  HWND handle_ = nullptr;
  HWND parentWindow_ = nullptr;
  std::vector<TControl*> controls_;  // every child, in z-order (first = bottom)
  std::vector<TWinControl*> tabList_;
  int alignLevel_ = 0;
  bool tabStop_ = false;
  bool doubleBuffered_ = false;
  bool realigning_ = false;
  TBrush* brush_;
  TControl* captureControl_ = nullptr;  // non-windowed child that holds the mouse capture
  TSize designSize_;                    // from the layout; 0 when it gave none
  bool dockSite_ = false;
  bool useDockManager_ = false;
  std::unique_ptr<TDockTree> dockManager_;
  // Where the client being docked goes (ManualDock's drop control and side).
  TControl* dropControl_ = nullptr;
  TAlign dropAlign_ = alNone;
  std::vector<TControl*> dockClients_;
  void UpdateDockManager();
  friend void DockClientGone(TControl* client);
};

// The form a control is on, or null.
TCustomForm* GetParentForm(TControl* control);

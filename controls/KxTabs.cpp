// TKxCustomTabControl: tab records, region cache, measuring and layout, off-screen painting,
// selection, keys and mouse.
#include "controls/KxTabs.h"

#include <algorithm>

#include "controls/KxCommonColors.h"
#include "controls/KxCommonGlyphs.h"
#include "controls/KxCommonText.h"
#include "controls/KxGraphics.h"
#include "controls/KxTabButtons.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/ui/Application.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Form.h"

const TEnumInfo& EnumTypeInfo(TKxImagePosition) {
  static const TEnumInfo info("TKxImagePosition", {"ipLeft", "ipRight", "ipTop", "ipBottom", "ipBack", "ipStretch"});
  return info;
}
const TEnumInfo& EnumTypeInfo(TKxHorizontalAlignment) {
  static const TEnumInfo info("TKxHorizontalAlignment", {"haLeft", "haCenter", "haRight"});
  return info;
}
const TEnumInfo& EnumTypeInfo(TKxVerticalAlignment) {
  static const TEnumInfo info("TKxVerticalAlignment", {"vaTop", "vaCenter", "vaBottom"});
  return info;
}
const TEnumInfo& EnumTypeInfo(TKxTabHotTrackColorSource) {
  static const TEnumInfo info("TKxTabHotTrackColorSource", {"htcsTabColor", "htcsHotTrackColor"});
  return info;
}
const TEnumInfo& EnumTypeInfo(TKxTabHotTrackStyle) {
  static const TEnumInfo info("TKxTabHotTrackStyle", {"htsTab", "htsText", "htsTabBar"});
  return info;
}
const TEnumInfo& EnumTypeInfo(TOrientation) {
  static const TEnumInfo info("TOrientation", {"orHorizontal", "orVertical"});
  return info;
}

namespace {

constexpr UINT_PTR kHotTimer = 1;
constexpr UINT_PTR kDragScrollTimer = 2;
constexpr int kCloseRoom = 20;  // room of the active tab's close button along the caption

TColor Rgb(TColor color) { return static_cast<TColor>(KxColorToRGB(color)); }

bool Intersects(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

int Wrap(int value, int count) { return ((value % count) + count) % count; }

}  // namespace

// ---- Tab records --------------------------------------------------------------------------

void TKxTabData::Assign(const TKxTabData& s) {
  Caption = s.Caption;
  Color = s.Color;
  DisabledIndex = s.DisabledIndex;
  Enabled = s.Enabled;
  Hint = s.Hint;
  ImageIndex = s.ImageIndex;
  Visible = s.Visible;
}

TKxTabData* TKxTabDataList::Add() {
  items_.push_back(std::make_unique<TKxTabData>());
  return items_.back().get();
}

void TKxTabDataList::Replace(int index, TKxTabData* item) { items_.at(static_cast<size_t>(index)).reset(item); }

void TKxTabDataList::Assign(const TKxTabDataList& source) {
  if (&source == this) return;
  items_.clear();
  for (const auto& item : source.items_) Add()->Assign(*item);
}

// ---- Region cache -------------------------------------------------------------------------

void TKxTabRegionCache::SetCapacity(int value) {
  if (value == 0 || value < -1) throw EKxTabControlError("Capacity must be -1 (to cache all regions) or > 0");
  capacity_ = value;
  Trim();
}

TKxTabRegionCacheItem::~TKxTabRegionCacheItem() {
  if (region_ != nullptr) DeleteObject(region_);
}

HRGN TKxTabRegionCache::Find(const TRect& rect) {
  for (auto it = items_.begin(); it != items_.end(); ++it) {
    if (it->Rect() == rect) {
      items_.splice(items_.begin(), items_, it);
      return items_.front().Region();
    }
  }
  return nullptr;
}

void TKxTabRegionCache::Add(const TRect& rect, HRGN region) {
  items_.emplace_front(rect, region);
  Trim();
}

void TKxTabRegionCache::Trim() {
  while (capacity_ > 0 && static_cast<int>(items_.size()) > capacity_) items_.pop_back();
}

// ---- Class information --------------------------------------------------------------------

// ---- Colour sets ----------------------------------------------------------------------------

TKxTabColors& TKxTabColors::operator=(const TKxTabColors& other) {
  HighlightBar = other.HighlightBar;
  Shadow = other.Shadow;
  Unselected = other.Unselected;
  return *this;
}

void TKxTabColors::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TKxTabColors*>(source)) {
    *this = *other;
    if (OnChange) OnChange();
    return;
  }
  TPersistent::Assign(source);
}

void TKxTabColors::Set(TColor TKxTabColors::*field, TColor value) {
  if (this->*field == value) return;
  this->*field = value;
  if (OnChange) OnChange();
}

const TClassInfo& TKxTabColors::StaticClass() {
  using C = TKxTabColors;
  static const TClassInfo info =
      TClassBuilder<C>("TKxTabColors", &TPersistent::StaticClass())
          .Property("HighlightBar", [](C& c) { return c.HighlightBar; }, [](C& c, TColor v) { c.Set(&C::HighlightBar, v); })
          .Default(clHighlight)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("Shadow", [](C& c) { return c.Shadow; }, [](C& c, TColor v) { c.Set(&C::Shadow, v); })
          .Default(clBtnFace)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("Unselected", [](C& c) { return c.Unselected; }, [](C& c, TColor v) { c.Set(&C::Unselected, v); })
          .Default(clWindow)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Build();
  return info;
}

TKxTextColors& TKxTextColors::operator=(const TKxTextColors& other) {
  Disabled = other.Disabled;
  Selected = other.Selected;
  Unselected = other.Unselected;
  return *this;
}

void TKxTextColors::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TKxTextColors*>(source)) {
    *this = *other;
    if (OnChange) OnChange();
    return;
  }
  TPersistent::Assign(source);
}

void TKxTextColors::Set(TColor TKxTextColors::*field, TColor value) {
  if (this->*field == value) return;
  this->*field = value;
  if (OnChange) OnChange();
}

const TClassInfo& TKxTextColors::StaticClass() {
  using C = TKxTextColors;
  static const TClassInfo info =
      TClassBuilder<C>("TKxTextColors", &TPersistent::StaticClass())
          .Property("Disabled", [](C& c) { return c.Disabled; }, [](C& c, TColor v) { c.Set(&C::Disabled, v); })
          .Default(clGrayText)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("Selected", [](C& c) { return c.Selected; }, [](C& c, TColor v) { c.Set(&C::Selected, v); })
          .Default(clBtnText)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("Unselected", [](C& c) { return c.Unselected; }, [](C& c, TColor v) { c.Set(&C::Unselected, v); })
          .Default(clBtnText)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Build();
  return info;
}

const TClassInfo& TKxCustomTabControl::StaticClass() {
  using C = TKxCustomTabControl;
  static const TClassInfo info =
      TClassBuilder<C>("TKxCustomTabControl", &TCustomControl::StaticClass())
          .Abstract()
          .Property("TabStyle", &C::TabStyle, &C::SetTabStyle)
          .Default(tsSingleSlant)
          .Property("TabOrientation", &C::TabOrientation, &C::SetTabOrientation)
          .Default(toTop)
          .Property("TabSequence", &C::TabSequence, &C::SetTabSequence)
          .Default(tsStandard)
          .Property("TextOrientation", &C::TextOrientation, &C::SetTextOrientation)
          .Default(orHorizontal)
          .Property("TabHeight", &C::TabHeight, &C::SetTabHeight)
          .Default(0)
          .Property("TabWidth", &C::TabWidth, &C::SetTabWidth)
          .Default(0)
          .Property("CutCornerSize", &C::CutCornerSize, &C::SetCutCornerSize)
          .Default(6)
          .Property("SoftCorners", &C::SoftCorners, &C::SetSoftCorners)
          .Default(false)
          .Property("TabOverlap", &C::TabOverlap, &C::SetTabOverlap)
          .Default(-1)
          .Property("MultiLine", &C::MultiLine, &C::SetMultiLine)
          .Default(false)
          .Property("RowIndent", &C::RowIndent, &C::SetRowIndent)
          .Default(5)
          .Property("RowOverlap", &C::RowOverlap, &C::SetRowOverlap)
          .Default(5)
          .Property("AlignTabs", &C::AlignTabs, &C::SetAlignTabs)
          .Default(false)
          .Property("Margin", &C::Margin, &C::SetMargin)
          .Default(0)
          .Property("ImagePosition", &C::ImagePosition, &C::SetImagePosition)
          .Default(ipLeft)
          .Property("ImageMargin", &C::ImageMargin, &C::SetImageMargin)
          .Default(2)
          .Property("ImageAlignment", &C::ImageAlignment, &C::SetImageAlignment)
          .Default(haCenter)
          .Property("ImageAlignmentVertical", &C::ImageAlignmentVertical, &C::SetImageAlignmentVertical)
          .Default(vaCenter)
          .Property("TextAlignment", &C::TextAlignment, &C::SetTextAlignment)
          .Default(haCenter)
          .Property("TextAlignmentVertical", &C::TextAlignmentVertical, &C::SetTextAlignmentVertical)
          .Default(vaCenter)
          .Property("Images", &C::Images, &C::SetImages)
          .Property("BoldCurrentTab", &C::BoldCurrentTab, &C::SetBoldCurrentTab)
          .Default(false)
          .Property("ShowCloseButton", &C::ShowCloseButton, &C::SetShowCloseButton)
          .Default(false)
          .Property("ShowMenuButton", &C::ShowMenuButton, &C::SetShowMenuButton)
          .Default(false)
          .Property("ShowCloseButtonOnActiveTab", &C::ShowCloseButtonOnActiveTab, &C::SetShowCloseButtonOnActiveTab)
          .Default(false)
          .Property("BackgroundColor", &C::BackgroundColor, &C::SetBackgroundColor)
          .Stored([](C& c) { return !c.ParentBackgroundColor(); })
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("ParentBackgroundColor", &C::ParentBackgroundColor, &C::SetParentBackgroundColor)
          .Default(true)
          .Property("ButtonColor", &C::ButtonColor, &C::SetButtonColor)
          .Default(clBtnFace)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("FlatColor", &C::FlatColor, &C::SetFlatColor)
          .Default(clBtnShadow)
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("FlatColorAdjustment", &C::FlatColorAdjustment, &C::SetFlatColorAdjustment)
          .Default(0)
          .Property("UseColoredTabs", &C::UseColoredTabs, &C::SetUseColoredTabs)
          .Default(false)
          .Property("UseGradients", &C::UseGradients, &C::SetUseGradients)
          .Default(true)
          .Property("Transparent", &C::Transparent, &C::SetTransparent)
          .Default(false)
          .Property("ShowCardFrame", &C::ShowCardFrame, &C::SetShowCardFrame)
          .Default(true)
          .Property("ShowFullFrame", &C::ShowFullFrame, &C::SetShowFullFrame)
          .Default(true)
          .Property("ShowShadow", &C::ShowShadow, &C::SetShowShadow)
          .Default(true)
          .Property("ShowFocusRect", &C::ShowFocusRect, &C::SetShowFocusRect)
          .Default(true)
          .Property("HotTrack", &C::HotTrack, &C::SetHotTrack)
          .Default(true)
          .Property("HotTrackColor", &C::HotTrackColor, &C::SetHotTrackColor)
          .Default(static_cast<TColor>(0x149BF0))
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("HotTrackColorSource", &C::HotTrackColorSource, &C::SetHotTrackColorSource)
          .Default(htcsTabColor)
          .Property("HotTrackColorType", &C::HotTrackColorType, &C::SetHotTrackColorType)
          .Default(htctActual)
          .Property("HotTrackStyle", &C::HotTrackStyle, &C::SetHotTrackStyle)
          .Default(htsTab)
          .Property("TabHints", &C::TabHints, &C::SetTabHints)
          .Default(false)
          .Property("AllowTabDragging", &C::AllowTabDragging, &C::SetAllowTabDragging)
          .Default(false)
          .Property("DragIndicatorColor", &C::DragIndicatorColor, &C::SetDragIndicatorColor)
          .Default(static_cast<TColor>(0x505050))
          .Idents(ColorPropToIdent, ColorIdentToProp)
          .Property("SortTabMenu", &C::SortTabMenu, &C::SetSortTabMenu)
          .Default(true)
          .Property("TabIndex", &C::TabIndex, &C::SetTabIndex)
          .Default(-1)
          .Property("OnChanging", [](C& c) { return c.OnChanging; }, [](C& c, TKxTabChangingEvent e) { c.OnChanging = e; })
          .Property("OnChange", [](C& c) { return c.OnChange; }, [](C& c, TNotifyEvent e) { c.OnChange = e; })
          .Property("OnTabClick", [](C& c) { return c.OnTabClick; }, [](C& c, TNotifyEvent e) { c.OnTabClick = e; })
          .Property("OnClose", [](C& c) { return c.OnClose; }, [](C& c, TKxTabCloseEvent e) { c.OnClose = e; })
          .Property("OnScrolledTabs", [](C& c) { return c.OnScrolledTabs; },
                    [](C& c, TNotifyEvent e) { c.OnScrolledTabs = e; })
          .Property("TabColors", [](C& c) { return &c.TabColors(); }, nullptr)
          .Property("TextColors", [](C& c) { return &c.TextColors(); }, nullptr)
          .Property("OnTabDragging", [](C& c) { return c.OnTabDragging; },
                    [](C& c, TKxTabDraggingEvent e) { c.OnTabDragging = e; })
          .Property("OnTabOrderChange", [](C& c) { return c.OnTabOrderChange; },
                    [](C& c, TKxTabOrderChangeEvent e) { c.OnTabOrderChange = e; })
          .Property("OnGetTextColor", [](C& c) { return c.OnGetTextColor; },
                    [](C& c, TKxGetTextColorEvent e) { c.OnGetTextColor = e; })
          .Property("OnPaintBackground", [](C& c) { return c.OnPaintBackground; },
                    [](C& c, TKxPaintBackgroundEvent e) { c.OnPaintBackground = e; })
          .Property("OnPaintTabBackground", [](C& c) { return c.OnPaintTabBackground; },
                    [](C& c, TKxPaintTabBackgroundEvent e) { c.OnPaintTabBackground = e; })
          .Property("OnPaintCardBackground", [](C& c) { return c.OnPaintCardBackground; },
                    [](C& c, TKxPaintTabBackgroundEvent e) { c.OnPaintCardBackground = e; })
          .Property("OnAlignControls", [](C& c) { return c.OnAlignControls; },
                    [](C& c, TNotifyEvent e) { c.OnAlignControls = e; })
          .Build();
  return info;
}

TKxCustomTabControl::TKxCustomTabControl(TComponent* owner) : TCustomControl(owner) {
  tabColors_.OnChange = [this] { ClearHotAndRepaint(); };
  textColors_.OnChange = [this] { ClearHotAndRepaint(); };
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csOpaque});
  SetBounds(0, 0, 300, 100);
  SetTabStop(true);
  SetColor(clBtnFace);
  SetParentColor(true);
  imageLink_.OnChange = TNotifyEvent(this, &TKxCustomTabControl::ImagesChanged);
}

TKxCustomTabControl::~TKxCustomTabControl() {
  if (images_ != nullptr) images_->UnRegisterChanges(&imageLink_);
}

bool TKxCustomTabControl::Loading() const { return ComponentState().Contains(csLoading); }

int TKxCustomTabControl::AddTab(const std::string& caption) {
  tabs_.Add()->Caption = caption;
  InvalidateLayout();
  return tabs_.Count() - 1;
}

// ---- Setters ------------------------------------------------------------------------------

namespace {
void RefuseNegative(int value) {
  if (value < 0) throw EKxTabControlError("Value must not be negative");
}
}  // namespace

#define KX_TAB_LAYOUT_SETTER(Name, Type, field) \
  void TKxCustomTabControl::Set##Name(Type value) { \
    if (value == field) return;                     \
    field = value;                                  \
    InvalidateLayout();                             \
  }
#define KX_TAB_LAYOUT_SETTER_NN(Name, field)         \
  void TKxCustomTabControl::Set##Name(int value) {   \
    RefuseNegative(value);                           \
    if (value == field) return;                      \
    field = value;                                   \
    InvalidateLayout();                              \
  }
#define KX_TAB_COLOR_SETTER(Name, Type, field)      \
  void TKxCustomTabControl::Set##Name(Type value) { \
    if (value == field) return;                     \
    field = value;                                  \
    ClearHotAndRepaint();                           \
  }

KX_TAB_LAYOUT_SETTER(TabStyle, TKxTabStyle, tabStyle_)
KX_TAB_LAYOUT_SETTER(TabSequence, TKxTabSequence, tabSequence_)
KX_TAB_LAYOUT_SETTER_NN(TabHeight, tabHeight_)
KX_TAB_LAYOUT_SETTER_NN(TabWidth, tabWidth_)
KX_TAB_LAYOUT_SETTER_NN(CutCornerSize, cutCornerSize_)
KX_TAB_LAYOUT_SETTER(SoftCorners, bool, softCorners_)
KX_TAB_LAYOUT_SETTER(TabOverlap, int, tabOverlap_)
KX_TAB_LAYOUT_SETTER(MultiLine, bool, multiLine_)
KX_TAB_LAYOUT_SETTER_NN(RowIndent, rowIndent_)
KX_TAB_LAYOUT_SETTER_NN(RowOverlap, rowOverlap_)
KX_TAB_LAYOUT_SETTER(AlignTabs, bool, alignTabs_)
KX_TAB_LAYOUT_SETTER_NN(Margin, margin_)
KX_TAB_LAYOUT_SETTER(ImagePosition, TKxImagePosition, imagePosition_)
KX_TAB_LAYOUT_SETTER(ImageMargin, int, imageMargin_)
KX_TAB_LAYOUT_SETTER(ImageAlignment, TKxHorizontalAlignment, imageAlignment_)
KX_TAB_LAYOUT_SETTER(ImageAlignmentVertical, TKxVerticalAlignment, imageAlignmentVertical_)
KX_TAB_LAYOUT_SETTER(TextAlignment, TKxHorizontalAlignment, textAlignment_)
KX_TAB_LAYOUT_SETTER(TextAlignmentVertical, TKxVerticalAlignment, textAlignmentVertical_)
KX_TAB_LAYOUT_SETTER(BoldCurrentTab, bool, boldCurrentTab_)
KX_TAB_LAYOUT_SETTER(ShowCardFrame, bool, showCardFrame_)
KX_TAB_LAYOUT_SETTER(Transparent, bool, transparent_)

KX_TAB_COLOR_SETTER(ButtonColor, TColor, buttonColor_)
KX_TAB_COLOR_SETTER(UseGradients, bool, useGradients_)
KX_TAB_COLOR_SETTER(ShowFocusRect, bool, showFocusRect_)
KX_TAB_COLOR_SETTER(HotTrack, bool, hotTrack_)
KX_TAB_COLOR_SETTER(HotTrackColor, TColor, hotTrackColor_)
KX_TAB_COLOR_SETTER(HotTrackColorSource, TKxTabHotTrackColorSource, hotTrackColorSource_)
KX_TAB_COLOR_SETTER(HotTrackColorType, TKxHotTrackColorType, hotTrackColorType_)
KX_TAB_COLOR_SETTER(HotTrackStyle, TKxTabHotTrackStyle, hotTrackStyle_)

void TKxCustomTabControl::SetTabOrientation(TKxTabOrientation value) {
  if (value == tabOrientation_) return;
  tabOrientation_ = value;
  if (!Loading()) InvalidateLayout();
}

void TKxCustomTabControl::SetTextOrientation(TOrientation value) {
  if (value == textOrientation_) return;
  textOrientation_ = value;
  if (value == orVertical && !Loading() && !FontIsTrueType(*Font())) Font()->SetName("Verdana");
  InvalidateLayout();
}

void TKxCustomTabControl::SetShowFullFrame(bool value) {
  if (value == showFullFrame_) return;
  showFullFrame_ = value;
  if (!value) showShadow_ = false;
  InvalidateLayout();
}

void TKxCustomTabControl::SetShowShadow(bool value) {
  if (value == showShadow_) return;
  showShadow_ = value;
  if (value) showFullFrame_ = true;
  InvalidateLayout();
}

void TKxCustomTabControl::SetImages(TCustomImageList* value) {
  if (value == images_) return;
  if (images_ != nullptr) {
    images_->UnRegisterChanges(&imageLink_);
    images_->RemoveFreeNotification(this);
  }
  images_ = value;
  if (images_ != nullptr) {
    images_->RegisterChanges(&imageLink_);
    images_->FreeNotification(this);
  }
  InvalidateLayout();
}

void TKxCustomTabControl::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == images_) {
    images_ = nullptr;
    InvalidateLayout();
  }
}

void TKxCustomTabControl::SetShowCloseButton(bool value) {
  if (value == showCloseButton_) return;
  showCloseButton_ = value;
  EnsureStripButtons();
  InvalidateLayout();
}

void TKxCustomTabControl::SetShowMenuButton(bool value) {
  if (value == showMenuButton_) return;
  showMenuButton_ = value;
  EnsureStripButtons();
  InvalidateLayout();
}

void TKxCustomTabControl::SetShowCloseButtonOnActiveTab(bool value) {
  if (value == showCloseButtonOnActiveTab_) return;
  showCloseButtonOnActiveTab_ = value;
  EnsureStripButtons();
  InvalidateLayout();
}

void TKxCustomTabControl::SetRegionCacheCapacity(int value) {
  if (value == -1 || (value > 0 && value != regionCache_.Capacity())) regionCache_.SetCapacity(value);
}

TColor TKxCustomTabControl::BackgroundColor() const {
  if (parentBackgroundColor_ && Parent() != nullptr) return Parent()->Color();
  return backgroundColor_;
}

void TKxCustomTabControl::SetBackgroundColor(TColor value) {
  backgroundColor_ = value;
  parentBackgroundColor_ = false;
  ClearHotAndRepaint();
}

void TKxCustomTabControl::SetParentBackgroundColor(bool value) {
  if (value == parentBackgroundColor_) return;
  if (!value) backgroundColor_ = BackgroundColor();
  parentBackgroundColor_ = value;
  ClearHotAndRepaint();
}

void TKxCustomTabControl::SetDragIndicatorColor(TColor value) {
  if (value == dragIndicatorColor_) return;
  dragIndicatorColor_ = value;
  ClearHotAndRepaint();
}

void TKxCustomTabControl::SetFlatColor(TColor value) {
  if (value == flatColor_) return;
  flatColor_ = value;
  for (TKxTabStripButton* b : std::initializer_list<TKxTabStripButton*>{scroller_, closeButton_, activeCloseButton_,
                                                                         menuButton_})
    if (b != nullptr) b->SetFrameColor(FrameColor());
  ClearHotAndRepaint();
}

void TKxCustomTabControl::SetFlatColorAdjustment(int value) {
  if (value == flatColorAdjustment_) return;
  flatColorAdjustment_ = value;
  for (TKxTabStripButton* b : std::initializer_list<TKxTabStripButton*>{scroller_, closeButton_, activeCloseButton_,
                                                                         menuButton_})
    if (b != nullptr) b->SetFrameColor(FrameColor());
  ClearHotAndRepaint();
}

TColor TKxCustomTabControl::FrameColor() const { return ShiftColorLightness(flatColor_, flatColorAdjustment_); }

void TKxCustomTabControl::SetTabColors(const TKxTabColors& value) {
  tabColors_ = value;
  ClearHotAndRepaint();
}

void TKxCustomTabControl::SetTextColors(const TKxTextColors& value) {
  textColors_ = value;
  ClearHotAndRepaint();
}

void TKxCustomTabControl::SetUseColoredTabs(bool value) {
  if (value == useColoredTabs_) return;
  useColoredTabs_ = value;
  ClearHotAndRepaint();
}

void TKxCustomTabControl::ClearHotAndRepaint() {
  hotTab_ = -1;
  Invalidate();
}

void TKxCustomTabControl::InvalidateLayout() {
  layoutDirty_ = true;
  Invalidate();
}

void TKxCustomTabControl::Resize() {
  layoutDirty_ = true;
  TCustomControl::Resize();
}

void TKxCustomTabControl::CMColorChanged(TMessage& message) {
  TCustomControl::CMColorChanged(message);
  Invalidate();
}

void TKxCustomTabControl::CMParentColorChanged(TMessage& message) {
  TCustomControl::CMParentColorChanged(message);
  Invalidate();
}

void TKxCustomTabControl::DefineProperties(TFiler& filer) {
  TCustomControl::DefineProperties(filer);
  filer.DefineProperty(
      "FixedDimension", [this](TReader& reader) { fixedDimension_ = reader.ReadInteger(); },
      [this](TWriter& writer) { writer.WriteInteger(fixedDimension_); }, fixedDimension_ != 0);
}

void TKxCustomTabControl::Loaded() {
  TCustomControl::Loaded();
  // Only TrueType fonts turn; vertical captions need one.
  if (textOrientation_ == orVertical && !FontIsTrueType(*Font())) Font()->SetName("Verdana");
  const int stored = tabIndex_;
  tabIndex_ = -1;
  InvalidateLayout();
  if (stored >= 0) ChangeTabIndex(stored, TKxTabChangeSource::Layout);
}

// ---- Measuring and layout -----------------------------------------------------------------

void TKxCustomTabControl::SelectTabFont(TCanvas& canvas, bool bold) {
  canvas.SetFont(Font());
  if (bold) canvas.Font()->SetStyle(canvas.Font()->Style() + TFontStyles{fsBold});
}

TSize TKxCustomTabControl::MeasureTabText(const std::string& caption, TCanvas& canvas, bool bold) {
  SelectTabFont(canvas, bold);
  // Shown or hidden, an accelerator mark takes no room: one "&" disappears, "&&" is one "&".
  const std::string text = StripAccelerators(caption);
  TSize size{0, 0};
  size_t start = 0;
  while (true) {
    const size_t end = text.find("\r\n", start);
    const std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const TSize e = canvas.TextExtent(line.empty() ? " " : line);
    size.cx = std::max(size.cx, line.empty() ? 0 : e.cx);
    size.cy += e.cy;
    if (end == std::string::npos) break;
    start = end + 2;
  }
  if (textOrientation_ == orVertical) std::swap(size.cx, size.cy);
  return size;
}

TSize TKxCustomTabControl::MeasureTabContent(int index, TCanvas& canvas) {
  const TKxTabData& tab = *tabs_.Items(index);
  const TSize text = MeasureTabText(tab.Caption, canvas, boldCurrentTab_);
  TSize image{0, 0};
  if (images_ != nullptr && tab.ImageIndex != -1) image = TSize{images_->Width(), images_->Height()};
  TSize c{};
  switch (imagePosition_) {
    case ipLeft:
    case ipRight: c = TSize{image.cx + imageMargin_ + text.cx, std::max(image.cy, text.cy)}; break;
    case ipTop:
    case ipBottom: c = TSize{std::max(image.cx, text.cx), image.cy + imageMargin_ + text.cy}; break;
    case ipBack: c = TSize{std::max(image.cx, text.cx), std::max(image.cy, text.cy)}; break;
    case ipStretch: c = text; break;
  }
  SelectTabFont(canvas, boldCurrentTab_);
  TSize minimum = canvas.TextExtent(RoundOrSquare() ? "AAA" : "A");
  if (textOrientation_ == orVertical) minimum = TSize{canvas.TextHeight("A"), minimum.cx};
  if (tabWidth_ == 0) c.cx = std::max(c.cx, minimum.cx);
  if (tabHeight_ == 0) c.cy = std::max(c.cy, minimum.cy);
  if (showCloseButtonOnActiveTab_) {
    if (!Vertical() && textOrientation_ == orHorizontal) c.cx += kCloseRoom;
    if (Vertical() && textOrientation_ == orVertical) c.cy += kCloseRoom;
  }
  return c;
}

int TKxCustomTabControl::StripLengthAlong(const TRect& strip) const {
  return Vertical() ? strip.Height() : strip.Width();
}

int TKxCustomTabControl::StripButtonSize() {
  TBitmap measure;
  measure.SetSize(1, 1);
  SelectTabFont(*measure.Canvas(), false);
  int s = measure.Canvas()->TextHeight("A") + 4 + (textOrientation_ == orVertical ? 2 : 0);
  const bool fixed = Vertical() ? tabWidth_ > 0 : tabHeight_ > 0;
  if (fixed) s = std::max(s, fixedDimension_ - 2);
  return s;
}

void TKxCustomTabControl::MeasureAndPlace() {
  TBitmap measure;
  measure.SetSize(1, 1);
  TCanvas& canvas = *measure.Canvas();
  std::vector<int> visible;
  for (int i = 0; i < tabs_.Count(); ++i)
    if (tabs_.Items(i)->Visible) visible.push_back(i);

  std::vector<TSize> content;
  int across = 0;
  for (int i : visible) {
    content.push_back(MeasureTabContent(i, canvas));
    across = std::max(across, Vertical() ? content.back().cx : content.back().cy);
  }
  TKxTabSizeRule rule;
  rule.Style = tabStyle_;
  rule.Side = Vertical();
  rule.VerticalText = textOrientation_ == orVertical;
  rule.TabWidth = tabWidth_;
  rule.TabHeight = tabHeight_;
  rule.CutCornerSize = cutCornerSize_;
  rule.TabOverlap = tabOverlap_;
  TKxStripInput in;
  int thickness = 0;
  for (TSize& c : content) {
    (Vertical() ? c.cx : c.cy) = across;
    const TSize size = KxTabSize(rule, c.cx, c.cy);
    in.Lengths.push_back(Vertical() ? size.cy : size.cx);
    thickness = std::max(thickness, Vertical() ? size.cx : size.cy);
  }
  if (visible.empty()) thickness = Vertical() ? tabWidth_ : tabHeight_;
  fixedDimension_ = thickness;

  const TRect strip = KxStripRect(tabOrientation_, Width(), Height(), thickness, ShadowApplies());
  int length = StripLengthAlong(strip) - 2 * margin_;
  const int buttonSize = (!multiLine_ && (showCloseButton_ || showMenuButton_)) ? StripButtonSize() : 0;
  if (!multiLine_) {
    if (showCloseButton_) length -= buttonSize + 2;
    if (showMenuButton_) length -= buttonSize + 2;
  }
  in.Thickness = thickness;
  in.Overlap = KxTabStyleOverlap(tabStyle_, thickness, tabOverlap_);
  in.Margin = margin_;
  in.Length = std::max(0, length);
  in.LengthCut = RoundOrSquare() ? 4 : 0;
  in.MultiLine = multiLine_;
  in.RowIndent = rowIndent_;
  in.RowOverlap = rowOverlap_;
  in.RowBase = RoundOrSquare() ? 3 : 0;
  in.Sequence = tabSequence_;
  in.ControlLength = Vertical() ? Height() : Width();
  in.AlignTabs = alignTabs_ && (Vertical() ? tabHeight_ == 0 : tabWidth_ == 0);
  TKxStripLayout layout = KxArrangeTabs(in);

  scrollNeeded_ = false;
  if (!multiLine_ && !layout.Tabs.empty()) {
    int lo = layout.Tabs.front().Rect.Left;
    int hi = layout.Tabs.front().Rect.Right;
    for (const TKxPlacedTab& t : layout.Tabs) {
      lo = std::min(lo, t.Rect.Left);
      hi = std::max(hi, t.Rect.Right);
    }
    scrollNeeded_ = hi - lo + margin_ > in.Length;
    if (scrollNeeded_) {
      const int scrollSize = StripButtonSize();
      in.Length = std::max(0, in.Length - (2 * scrollSize + 2));
      layout = KxArrangeTabs(in);
    }
  }
  stripLength_ = layout.RowLength;
  rows_ = layout.Rows;
  for (size_t k = 0; k < visible.size(); ++k) {
    TKxTabData& tab = *tabs_.Items(visible[k]);
    tab.Rect = layout.Tabs[k].Rect;
    tab.Row = layout.Tabs[k].Row;
  }
}

bool TKxCustomTabControl::ShadowApplies() const {
  return tabOrientation_ == toTop && tabSequence_ == tsStandard && showShadow_ && showCardFrame_;
}

void TKxCustomTabControl::KeepFirstShown() {
  const int n = tabs_.Count();
  auto visible = [&](int i) { return i >= 0 && i < n && tabs_.Items(i)->Visible; };
  if (!scrollNeeded_) {
    firstShown_ = -1;
    for (int i = 0; i < n && firstShown_ < 0; ++i)
      if (visible(i)) firstShown_ = i;
    return;
  }
  const int old = std::clamp(firstShown_, 0, std::max(0, n - 1));
  for (int i = old; i < n; ++i)
    if (visible(i)) {
      firstShown_ = i;
      return;
    }
  for (int i = old; i >= 0; --i)
    if (visible(i)) {
      firstShown_ = i;
      return;
    }
  firstShown_ = -1;
}

void TKxCustomTabControl::RebuildLayoutIfDirty() {
  if (!layoutDirty_ || rebuilding_) return;
  rebuilding_ = true;
  layoutDirty_ = false;
  try {
    MeasureAndPlace();
    regionCache_.Clear();
    KeepFirstShown();
    if (tabIndex_ >= 0 && !Loading()) {
      const int n = tabs_.Count();
      int found = -1;
      if (tabIndex_ < n && CanSelectTab(tabIndex_)) found = tabIndex_;
      for (int i = tabIndex_ + 1; found < 0 && i < n; ++i)
        if (CanSelectTab(i)) found = i;
      for (int i = std::min(tabIndex_, n) - 1; found < 0 && i >= 0; --i)
        if (CanSelectTab(i)) found = i;
      ChangeTabIndex(found, TKxTabChangeSource::Layout);
    }
  } catch (...) {
    rebuilding_ = false;
    throw;
  }
  rebuilding_ = false;
  const TRect card = CardRect();
  if (!(card == lastCard_)) {
    lastCard_ = card;
    if (!Loading()) Realign();
  }
  PlaceStripButtons();
}

int TKxCustomTabControl::ScrollOffset() const {
  if (firstShown_ < 0 || firstShown_ >= tabs_.Count()) return 0;
  const TKxTabData& first = *tabs_.Items(firstShown_);
  const int extra = RoundOrSquare() ? 2 : 0;
  if (tabSequence_ == tsReverse) return first.Rect.Right + margin_ + extra;
  return first.Rect.Left - margin_ - extra;
}

bool TKxCustomTabControl::IsTabShown(int index) const {
  if (index < 0 || index >= tabs_.Count() || !tabs_.Items(index)->Visible) return false;
  if (multiLine_ || !scrollNeeded_) return true;
  if (firstShown_ < 0) return false;
  const TRect& first = tabs_.Items(firstShown_)->Rect;
  const TRect& r = tabs_.Items(index)->Rect;
  if (tabSequence_ == tsReverse) return r.Right <= first.Right && r.Left >= first.Right - stripLength_;
  return r.Left >= first.Left && r.Right <= first.Left + stripLength_;
}

TRect TKxCustomTabControl::StripRect() {
  const int d = (RoundOrSquare() ? 3 : 0) + fixedDimension_ + (fixedDimension_ - rowOverlap_) * (rows_ - 1);
  return KxStripRect(tabOrientation_, Width(), Height(), d, ShadowApplies());
}

TRect TKxCustomTabControl::CardRect() {
  if (!rebuilding_) RebuildLayoutIfDirty();
  const TRect s = StripRect();
  TRect k(0, 0, Width(), Height());
  switch (tabOrientation_) {
    case toTop: k.Top = std::min(s.Bottom, Height()); break;
    case toBottom: k.Bottom = std::max(s.Top + 1, 0); break;
    case toLeft: k.Left = std::min(s.Right, Width()); break;
    case toRight: k.Right = std::max(s.Left + 1, 0); break;
  }
  IndentCard(k, 0);
  if (!showCardFrame_) return k;
  TRect f = k;
  if (ShadowApplies()) {
    f.Right -= 2;
    f.Bottom -= 2;
  }
  TRect inner = f;
  const bool full = showFullFrame_;
  if (full || tabOrientation_ == toLeft) ++inner.Left;
  if (full || tabOrientation_ == toTop) ++inner.Top;
  if (full || tabOrientation_ == toRight) --inner.Right;
  if (full || tabOrientation_ == toBottom) --inner.Bottom;
  inner.Right = std::max(inner.Left, inner.Right);
  inner.Bottom = std::max(inner.Top, inner.Bottom);
  return inner;
}

void TKxCustomTabControl::IndentCard(TRect& card, int row) const {
  if (!multiLine_ || rows_ <= 1) return;
  // Each row's tabs are drawn RowIndent further along the strip; the card of row k moves with
  // them, so every card is shorter by the indents of all rows but the first.
  const int narrowing = (rows_ - 1) * rowIndent_;
  const int shift = row * rowIndent_;
  // Which way the drawn tabs move along the client axis.
  const bool towardsLarger = (tabOrientation_ == toLeft) == (tabSequence_ == tsReverse);
  int& lo = Vertical() ? card.Top : card.Left;
  int& hi = Vertical() ? card.Bottom : card.Right;
  if (towardsLarger) {
    hi -= narrowing;
    lo += shift;
    hi += shift;
  } else {
    lo += narrowing;
    lo -= shift;
    hi -= shift;
  }
  hi = std::max(lo, hi);
}

void TKxCustomTabControl::AdjustClientRect(TRect& rect) { rect = CardRect(); }

void TKxCustomTabControl::AlignControls(TControl* control, TRect& rect) {
  TCustomControl::AlignControls(control, rect);
  OnAlignControls(this);
}

TRect TKxCustomTabControl::DrawnStripRect(int index) const {
  const TKxTabData& tab = *tabs_.Items(index);
  TRect r = tab.Rect;
  const int shift = tab.Row * rowIndent_ * (tabSequence_ == tsReverse ? -1 : 1);
  r.Left += shift;
  r.Right += shift;
  if (RoundOrSquare() && index == tabIndex_) {
    r.Left -= 2;
    r.Right += 2;
    r.Top -= 2;
  }
  return r;
}

std::vector<TPoint> TKxCustomTabControl::StripPolygon(int index) const {
  return BuildTabShape(tabStyle_, softCorners_, DrawnStripRect(index), cutCornerSize_);
}

std::vector<TPoint> TKxCustomTabControl::TabPolygon(int index) {
  RebuildLayoutIfDirty();
  if (!IsTabShown(index)) return {};
  const TRect s = StripRect();
  const int scroll = ScrollOffset();
  std::vector<TPoint> points = StripPolygon(index);
  for (TPoint& p : points) p = KxMapStripPoint(tabOrientation_, tabSequence_, s, scroll, p);
  return points;
}

TRect TKxCustomTabControl::TabRect(int index) {
  RebuildLayoutIfDirty();
  if (!IsTabShown(index)) return TRect();
  return KxMapStripRect(tabOrientation_, tabSequence_, StripRect(), ScrollOffset(), DrawnStripRect(index));
}

HRGN TKxCustomTabControl::TabRegionOf(int index) {
  const TRect rect = TabRect(index);
  if (HRGN cached = regionCache_.Find(rect)) return cached;
  const std::vector<TPoint> points = TabPolygon(index);
  if (points.size() < 3) return nullptr;
  std::vector<POINT> pts;
  for (const TPoint& p : points) pts.push_back(POINT{p.X, p.Y});
  HRGN region = CreatePolygonRgn(pts.data(), static_cast<int>(pts.size()), ALTERNATE);
  if (region == nullptr) throw EKxTabControlError("Error creating region");
  regionCache_.Add(rect, region);
  return region;
}

int TKxCustomTabControl::TabIndexAt(TPoint point) {
  RebuildLayoutIfDirty();
  const int n = tabs_.Count();
  auto hit = [&](int i) {
    if (!IsTabShown(i)) return false;
    const TRect r = TabRect(i);
    if (point.X < r.Left || point.X > r.Right || point.Y < r.Top || point.Y > r.Bottom) return false;
    HRGN region = TabRegionOf(i);
    return region != nullptr && PtInRegion(region, point.X, point.Y);
  };
  if (tabIndex_ >= 0 && hit(tabIndex_)) return tabIndex_;
  if (n == 0) return -1;
  const int start = firstShown_ >= 0 ? firstShown_ : 0;
  for (int k = 0; k < n; ++k) {
    const int i = (start + k) % n;
    if (i != tabIndex_ && hit(i)) return i;
  }
  return -1;
}

void TKxCustomTabControl::RotateToActive() {
  if (!multiLine_ || rows_ <= 1 || tabIndex_ < 0 || !tabs_.Items(tabIndex_)->Visible) return;
  const int activeRow = tabs_.Items(tabIndex_)->Row;
  if (activeRow == 0) return;
  std::vector<TKxPlacedTab> placed;
  std::vector<int> owners;
  for (int i = 0; i < tabs_.Count(); ++i) {
    if (!tabs_.Items(i)->Visible) continue;
    placed.push_back({tabs_.Items(i)->Rect, tabs_.Items(i)->Row});
    owners.push_back(i);
  }
  KxRotateRows(placed, activeRow, rows_, fixedDimension_, rowOverlap_, RoundOrSquare() ? 3 : 0);
  for (size_t k = 0; k < owners.size(); ++k) {
    tabs_.Items(owners[k])->Rect = placed[k].Rect;
    tabs_.Items(owners[k])->Row = placed[k].Row;
  }
  regionCache_.Clear();
}

// ---- Scrolling ----------------------------------------------------------------------------

bool TKxCustomTabControl::CanScrollBack() const {
  if (!scrollNeeded_ || firstShown_ < 0) return false;
  for (int i = firstShown_ - 1; i >= 0; --i)
    if (tabs_.Items(i)->Visible) return true;
  return false;
}

bool TKxCustomTabControl::CanScrollForward() const {
  if (!scrollNeeded_ || firstShown_ < 0) return false;
  for (int i = tabs_.Count() - 1; i >= 0; --i)
    if (tabs_.Items(i)->Visible) return !IsTabShown(i);
  return false;
}

void TKxCustomTabControl::ScrollTabsBy(int step) {
  RebuildLayoutIfDirty();
  const int old = firstShown_;
  for (int k = 0; k < std::abs(step); ++k) {
    if (step > 0 ? !CanScrollForward() : !CanScrollBack()) break;
    int i = firstShown_ + (step > 0 ? 1 : -1);
    while (i >= 0 && i < tabs_.Count() && !tabs_.Items(i)->Visible) i += step > 0 ? 1 : -1;
    if (i < 0 || i >= tabs_.Count()) break;
    firstShown_ = i;
  }
  if (firstShown_ != old) {
    regionCache_.Clear();
    Invalidate();
    if (scroller_ != nullptr) scroller_->Invalidate();
  }
  if (activeCloseButton_ != nullptr) activeCloseButton_->SetVisible(tabIndex_ >= 0 && IsTabShown(tabIndex_));
  OnScrolledTabs(this);
}

void TKxCustomTabControl::ScrollIntoView(int index) {
  if (!scrollNeeded_ || index < 0) return;
  if (index < firstShown_) {
    firstShown_ = index;
  } else {
    while (!IsTabShown(index) && CanScrollForward()) {
      int i = firstShown_ + 1;
      while (i < tabs_.Count() && !tabs_.Items(i)->Visible) ++i;
      if (i >= tabs_.Count()) break;
      firstShown_ = i;
    }
  }
  regionCache_.Clear();
}

// ---- Selecting ----------------------------------------------------------------------------

bool TKxCustomTabControl::CanSelectTab(int index) {
  if (index < 0 || index >= tabs_.Count()) return false;
  const TKxTabData& tab = *tabs_.Items(index);
  if (!tab.Visible) return false;
  if (!tab.Enabled && !ComponentState().Contains(csDesigning)) return false;
  if (index == tabIndex_) return true;
  bool allow = true;
  OnChanging(this, index, allow);
  return allow;
}

void TKxCustomTabControl::ChangeTabIndex(int value, TKxTabChangeSource source) {
  if (Loading() || suppressChecks_) {
    tabIndex_ = value;
    return;
  }
  if (value < 0 || value >= tabs_.Count()) {
    if (tabIndex_ != -1) {
      tabIndex_ = -1;
      Invalidate();
    }
    if (activeCloseButton_ != nullptr) activeCloseButton_->SetVisible(false);
    return;
  }
  const bool allowed = value == tabIndex_ || source == TKxTabChangeSource::Keyboard ||
                       source == TKxTabChangeSource::Layout || CanSelectTab(value);
  if (!allowed) return;
  const int oldIndex = tabIndex_;
  const int oldFirst = firstShown_;
  tabIndex_ = value;
  if (!layoutDirty_) {
    if (multiLine_) RotateToActive();
    else ScrollIntoView(value);
  }
  if (tabIndex_ != oldIndex || firstShown_ != oldFirst) {
    Invalidate();
    if (scroller_ != nullptr) scroller_->Invalidate();
  }
  if (tabIndex_ != oldIndex) {
    TabSelected(tabIndex_);
    OnChange(this);
    OnPageChange(this);
  }
  if (closeButton_ != nullptr) closeButton_->Invalidate();
  if (menuButton_ != nullptr) menuButton_->Invalidate();
  if (activeCloseButton_ != nullptr) activeCloseButton_->SetVisible(tabIndex_ >= 0 && showCloseButtonOnActiveTab_);
}

void TKxCustomTabControl::CloseRequest() {
  bool allow = false;
  OnClose(this, allow);
  if (allow) CloseCurrentTab();
}

void TKxCustomTabControl::HideAllTabs() {
  for (int i = 0; i < tabs_.Count(); ++i) tabs_.Items(i)->Visible = false;
  InvalidateLayout();
}

void TKxCustomTabControl::ShowAllTabs() {
  for (int i = 0; i < tabs_.Count(); ++i) tabs_.Items(i)->Visible = true;
  InvalidateLayout();
}

// ---- Keys ---------------------------------------------------------------------------------

int TKxCustomTabControl::FindSelectable(int from, int step, bool includeStart) {
  const int n = tabs_.Count();
  for (int k = includeStart ? 0 : 1; k <= n; ++k) {
    const int i = Wrap(from + step * k, n);
    if (!includeStart && i == tabIndex_) return -1;  // back at the current tab
    if (CanSelectTab(i)) return i;
    if (includeStart && k == n - 1) break;
  }
  return -1;
}

void TKxCustomTabControl::SelectByKey(int index) {
  if (index < 0) return;
  ChangeTabIndex(index, TKxTabChangeSource::Keyboard);
  OnTabClick(this);
}

void TKxCustomTabControl::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  const int n = tabs_.Count();
  if (key == 0 || n == 0) return;
  RebuildLayoutIfDirty();
  const bool reverse = tabSequence_ == tsReverse;
  const bool swapEnds = (tabOrientation_ == toLeft) != reverse;
  bool forward = false;
  switch (key) {
    case VK_HOME:
    case VK_END: {
      const bool first = (key == VK_HOME) != swapEnds;
      int found = -1;
      for (int k = 0; k < n && found < 0; ++k) {
        const int i = first ? k : n - 1 - k;
        if (CanSelectTab(i)) found = i;
      }
      SelectByKey(found);
      key = 0;
      return;
    }
    case VK_RIGHT:
    case VK_DOWN: forward = true; break;
    case VK_LEFT:
    case VK_UP: forward = false; break;
    default: return;
  }
  if (tabOrientation_ == toLeft) forward = !forward;
  if (reverse) forward = !forward;
  const int from = tabIndex_ >= 0 ? tabIndex_ : (forward ? -1 : n);
  SelectByKey(FindSelectable(from, forward ? 1 : -1, false));
  key = 0;
}

// ---- Mouse --------------------------------------------------------------------------------

void TKxCustomTabControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  const bool designing = ComponentState().Contains(csDesigning);
  if (!Enabled() && !(designing && button == mbLeft)) return;
  const int index = TabIndexAt({x, y});
  pressedTab_ = index;
  if (index < 0 || !tabs_.Items(index)->Enabled) return;
  if (index == tabIndex_ && TabStop() && CanFocus()) {
    SetFocus();
    if (!Focused()) return;
  } else if (index != tabIndex_) {
    ChangeTabIndex(index, TKxTabChangeSource::Mouse);
  }
  if (index == tabIndex_) OnTabClick(this);
}

void TKxCustomTabControl::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (ComponentState().Contains(csDesigning)) return;
  // A drag starts only from the active tab, pressed and still under the held button.
  if (allowTabDragging_ && shift.Contains(ssLeft) && pressedTab_ >= 0 && pressedTab_ == tabIndex_ &&
      tabs_.Items(pressedTab_)->Enabled && !Dragging()) {
    bool allow = true;
    OnTabDragging(this, pressedTab_, allow);
    if (allow) {
      BeginDrag(true);
      return;
    }
  }
  if (!hotTrack_ && !tabHints_) return;
  const int over = TabIndexAt({x, y});
  if (over < 0) {
    if (hintSaved_) {
      if (Application != nullptr) Application->CancelHint();
      SetHint(ownHint_);
      hintSaved_ = false;
    }
    SetHot(-1);
    return;
  }
  if (over == hotTab_) return;
  if (tabHints_) {
    if (!hintSaved_) {
      ownHint_ = Hint();
      hintSaved_ = true;
    }
    SetHint(tabs_.Items(over)->Hint);
    RestartHint();
  }
  SetHot(over);
  if (HandleAllocated() && !hotTimer_) {
    SetTimer(Handle(), kHotTimer, 60, nullptr);
    hotTimer_ = true;
  }
}

void TKxCustomTabControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  // The pressed tab is kept: a double click that follows acts on it.
  TCustomControl::MouseUp(button, shift, x, y);
}

// ---- Dragging a tab -----------------------------------------------------------------------

TRect TKxCustomTabControl::DropIndicatorRectFor(int target) {
  const TRect tab = TabRect(target);
  // At the edge of the target that the active tab would take: before it when moving back.
  const bool before = target < tabIndex_;
  const bool reverse = tabSequence_ == tsReverse;
  switch (tabOrientation_) {
    case toTop:
    case toBottom: {
      const int x = (before != reverse) ? tab.Left : tab.Right;
      const int y = tabOrientation_ == toTop ? tab.Top : tab.Bottom - 8;
      return TRect(x - 1, y, x + 2, y + 8);
    }
    case toLeft:
    case toRight: {
      const bool up = tabOrientation_ == toLeft ? (before == reverse) : (before != reverse);
      const int y = up ? tab.Top : tab.Bottom;
      const int x = tabOrientation_ == toLeft ? tab.Left : tab.Right - 8;
      return TRect(x, y - 1, x + 8, y + 2);
    }
  }
  return TRect();
}

void TKxCustomTabControl::ToggleDragIndicator(const TRect& rect) {
  TWinControl* parent = Parent();
  if (parent == nullptr || !parent->HandleAllocated()) return;
  HDC dc = GetDC(parent->Handle());
  if (dc == nullptr) return;
  TBrushHandle brush(CreateSolidBrush(KxColorToRGB(dragIndicatorColor_)));
  {
    TSelectGuard select(dc, brush.Get());
    PatBlt(dc, Left() + rect.Left, Top() + rect.Top, rect.Width(), rect.Height(), PATINVERT);
  }
  ReleaseDC(parent->Handle(), dc);
}

void TKxCustomTabControl::ShowDropIndicator(int target) {
  if (indicatorShown_ && target == indicatorTarget_) return;
  HideDropIndicator();
  if (target < 0) return;
  indicatorRect_ = DropIndicatorRectFor(target);
  indicatorTarget_ = target;
  indicatorShown_ = true;
  ToggleDragIndicator(indicatorRect_);
}

void TKxCustomTabControl::HideDropIndicator() {
  if (!indicatorShown_) return;
  ToggleDragIndicator(indicatorRect_);
  indicatorShown_ = false;
  indicatorTarget_ = -1;
}

void TKxCustomTabControl::StopDragScroll() {
  if (dragScrollTimer_ && HandleAllocated()) KillTimer(Handle(), kDragScrollTimer);
  dragScrollTimer_ = false;
}

void TKxCustomTabControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
  if (source != this) {
    TCustomControl::DragOver(source, x, y, state, accept);
    return;
  }
  dragPoint_ = {x, y};
  if (state == dsDragLeave) {
    HideDropIndicator();
    StopDragScroll();
    accept = false;
    return;
  }
  const int over = TabIndexAt({x, y});
  accept = over >= 0 && over != tabIndex_;
  ShowDropIndicator(accept ? over : -1);
  if (over < 0 && scrollNeeded_) {
    if (!dragScrollTimer_ && HandleAllocated()) {
      SetTimer(Handle(), kDragScrollTimer, 400, nullptr);
      dragScrollTimer_ = true;
    }
  } else {
    StopDragScroll();
  }
}

void TKxCustomTabControl::DragDrop(TObject* source, int x, int y) {
  if (source != this) {
    TCustomControl::DragDrop(source, x, y);
    return;
  }
  HideDropIndicator();
  StopDragScroll();
  const int target = TabIndexAt({x, y});
  if (target >= 0 && target != tabIndex_ && tabIndex_ >= 0) RepositionCurrentTab(target);
}

void TKxCustomTabControl::DoEndDrag(TObject* target, int x, int y) {
  HideDropIndicator();
  StopDragScroll();
  pressedTab_ = -1;
  TCustomControl::DoEndDrag(target, x, y);
}

void TKxCustomTabControl::DragScrollStep() {
  if (dragScrollTimer_ && HandleAllocated()) SetTimer(Handle(), kDragScrollTimer, 300, nullptr);
  // Towards the pointer: before the strip's middle scrolls back, beyond it forwards.
  const TRect strip = StripRect();
  const bool vertical = Vertical();
  const int pos = vertical ? dragPoint_.Y : dragPoint_.X;
  const int middle = vertical ? (strip.Top + strip.Bottom) / 2 : (strip.Left + strip.Right) / 2;
  bool forward = pos >= middle;
  if (tabOrientation_ == toLeft) forward = !forward;
  if (tabSequence_ == tsReverse) forward = !forward;
  ScrollTabsBy(forward ? 1 : -1);
}

void TKxCustomTabControl::RepositionCurrentTab(int newIndex) {
  const int old = tabIndex_;
  if (old < 0 || newIndex < 0 || newIndex >= tabs_.Count() || newIndex == old) return;
  auto* moved = new TKxTabData;
  moved->Assign(*tabs_.Items(old));
  std::vector<TKxTabData*> order;
  TKxTabDataList copy;
  copy.Assign(tabs_);
  tabs_.Clear();
  for (int i = 0; i < copy.Count(); ++i) {
    if (i == old) continue;
    order.push_back(copy.Items(i));
  }
  order.insert(order.begin() + newIndex, moved);
  for (TKxTabData* t : order) tabs_.Add()->Assign(*t);
  delete moved;
  tabIndex_ = newIndex;
  InvalidateLayout();
  OnTabOrderChange(this, old, newIndex);
}

void TKxCustomTabControl::RestartHint() {
  // The application shows a control's hint once per entry: the hint of the tab before goes
  // and the new one waits its pause, as if the pointer had just come in. The leave and entry
  // this takes are not the user's.
  if (Application == nullptr || Application->MouseControl() != this) return;
  restartingHint_ = true;
  try {
    Application->SetMouseControl(nullptr);
    Application->SetMouseControl(this);
  } catch (...) {
    restartingHint_ = false;
    throw;
  }
  restartingHint_ = false;
}

void TKxCustomTabControl::MouseEnter() {
  if (!restartingHint_) TCustomControl::MouseEnter();
}

void TKxCustomTabControl::MouseLeave() {
  if (restartingHint_) return;
  TCustomControl::MouseLeave();
  if (hintSaved_) {
    SetHint(ownHint_);
    hintSaved_ = false;
  }
  SetHot(-1);
}

void TKxCustomTabControl::InvalidateStrip() {
  if (!HandleAllocated()) return;
  // Only the strip: the card and its shadows stay as they are.
  const TRect strip = StripRect();
  const RECT r{strip.Left, strip.Top, strip.Right, strip.Bottom};
  InvalidateRect(Handle(), &r, FALSE);
}

void TKxCustomTabControl::SetHot(int index) {
  const bool repaint = hotTrack_ && index != hotTab_;
  hotTab_ = index;
  if (index < 0 && hotTimer_) {
    if (HandleAllocated()) KillTimer(Handle(), kHotTimer);
    hotTimer_ = false;
  }
  if (repaint) InvalidateStrip();
}

void TKxCustomTabControl::CreateWnd() {
  TCustomControl::CreateWnd();
  if (IsWindowsVersionAtLeast(4)) SendMessageW(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
}

void TKxCustomTabControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_GETDLGCODE: message.Result = DLGC_WANTARROWS; return;
    case WM_ERASEBKGND: message.Result = 1; return;
    case WM_TIMER:
      if (message.WParam == kDragScrollTimer) {
        if (Dragging()) DragScrollStep(); else StopDragScroll();
        message.Result = 0;
        return;
      }
      if (message.WParam == kHotTimer) {
        POINT p{};
        GetCursorPos(&p);
        const TPoint local = ScreenToClient({p.x, p.y});
        if (TabIndexAt(local) < 0) SetHot(-1);
        message.Result = 0;
        return;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TCustomControl::WndProc(message);
      Invalidate();
      return;
    case CM_DIALOGCHAR: {
      const auto ch = static_cast<wchar_t>(message.WParam);
      for (int i = 0; i < tabs_.Count(); ++i) {
        const TKxTabData& tab = *tabs_.Items(i);
        if (!tab.Enabled || !tab.Visible || !IsAccel(ch, tab.Caption)) continue;
        if (CanFocus()) SetFocus();
        if (Focused()) {
          ChangeTabIndex(i, TKxTabChangeSource::Keyboard);
          OnTabClick(this);
        }
        message.Result = 1;
        return;
      }
      break;
    }
    default: break;
  }
  TCustomControl::WndProc(message);
}

// ---- Painting -----------------------------------------------------------------------------

void TKxCustomTabControl::Paint() {
  RebuildLayoutIfDirty();
  const int w = std::max(1, Width());
  const int h = std::max(1, Height());
  if (!buffer_) {
    buffer_ = std::make_unique<TBitmap>();
    buffer_->SetPixelFormat(pf32bit);
  }
  if (buffer_->Width() != w || buffer_->Height() != h) buffer_->SetSize(w, h);
  TCanvas& c = *buffer_->Canvas();
  const TRect all(0, 0, w, h);
  bool handled = false;
  OnPaintBackground(this, &c, all, handled);
  if (!handled) {
    if (transparent_) {
      c.Refresh();
      CopyParentImageToDC(this, c.Handle(), false);
    } else {
      c.Brush()->SetStyle(bsSolid);
      c.Brush()->SetColor(Rgb(BackgroundColor()));
      c.FillRect(all);
    }
  }
  PlaceStripButtons();
  PaintTabStrip(c);
  BitBlt(Canvas()->Handle(), 0, 0, w, h, c.Handle(), 0, 0, SRCCOPY);
}

TColor TKxCustomTabControl::ActiveFillColor(int index) {
  return useColoredTabs_ ? tabs_.Items(index)->Color : Color();
}

void TKxCustomTabControl::PaintTabStrip(TCanvas& canvas) {
  const int n = tabs_.Count();
  int layer = rows_ - 1;
  if (n > 0) {
    // Back to front: from the tab before the first visible tab of row 0, backwards.
    int start = -1;
    for (int i = 0; i < n && start < 0; ++i)
      if (tabs_.Items(i)->Visible && tabs_.Items(i)->Row == 0) start = i;
    if (start < 0) start = 0;
    std::vector<int> order;
    for (int k = 1; k <= n; ++k) order.push_back(Wrap(start - k, n));
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return tabs_.Items(a)->Row > tabs_.Items(b)->Row; });
    for (int i : order) {
      if (!IsTabShown(i) || i == tabIndex_) continue;
      while (layer > tabs_.Items(i)->Row) {
        PaintCardLayer(canvas, layer);
        --layer;
      }
      PaintTab(canvas, i);
    }
  }
  while (layer > 0) {
    PaintCardLayer(canvas, layer);
    --layer;
  }
  if (tabIndex_ >= 0 && IsTabShown(tabIndex_)) PaintTab(canvas, tabIndex_);
  PaintCardLayer(canvas, 0);
}

void TKxCustomTabControl::PaintCardBackground(TCanvas& canvas, int row, const TRect& rect) {
  bool handled = false;
  OnPaintCardBackground(this, &canvas, row, rect, handled);
  if (handled) return;
  const TColor color = (useColoredTabs_ && tabIndex_ >= 0) ? tabs_.Items(tabIndex_)->Color : Color();
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(Rgb(color));
  canvas.FillRect(rect);
}

void TKxCustomTabControl::PaintCardLayer(TCanvas& canvas, int row) {
  const TRect s = StripRect();
  TRect k(0, 0, Width(), Height());
  const int step = (fixedDimension_ - rowOverlap_) * row;
  switch (tabOrientation_) {
    case toTop: k.Top = s.Bottom - step; break;
    case toBottom: k.Bottom = s.Top + 1 + step; break;
    case toLeft: k.Left = s.Right - step; break;
    case toRight: k.Right = s.Left + 1 + step; break;
  }
  IndentCard(k, row);
  TRect f = k;
  if (ShadowApplies()) {
    f.Right -= 2;
    f.Bottom -= 2;
  }
  if (f.Right <= f.Left || f.Bottom <= f.Top) return;
  PaintCardBackground(canvas, row, f);
  if (!showCardFrame_) return;
  outline_.clear();
  // Corners (inclusive), starting with the strip edge.
  const TPoint tl{f.Left, f.Top}, tr{f.Right - 1, f.Top}, br{f.Right - 1, f.Bottom - 1}, bl{f.Left, f.Bottom - 1};
  std::vector<TPoint> loop;
  switch (tabOrientation_) {
    case toTop: loop = {tl, tr, br, bl, tl}; break;
    case toBottom: loop = {bl, br, tr, tl, bl}; break;
    case toLeft: loop = {tl, bl, br, tr, tl}; break;
    case toRight: loop = {tr, br, bl, tl, tr}; break;
  }
  outline_.push_back(0);
  outline_.insert(outline_.end(), {3, loop[0].X, loop[0].Y});
  // The strip edge, open under the active tab's base on row 0.
  if (row == 0 && tabIndex_ >= 0 && IsTabShown(tabIndex_)) {
    std::vector<TPoint> poly = TabPolygon(tabIndex_);
    TPoint a = poly.front();
    TPoint b = poly.back();
    const bool alongX = !Vertical();
    const int dir = alongX ? (loop[1].X >= loop[0].X ? 1 : -1) : (loop[1].Y >= loop[0].Y ? 1 : -1);
    auto pos = [&](TPoint p) { return alongX ? p.X : p.Y; };
    if ((pos(b) - pos(a)) * dir < 0) std::swap(a, b);
    auto onEdge = [&](TPoint p) { return alongX ? TPoint{p.X, loop[0].Y} : TPoint{loop[0].X, p.Y}; };
    const TPoint a2 = onEdge(a);
    const TPoint b2 = onEdge(b);
    outline_.insert(outline_.end(), {4, a2.X, a2.Y, 3, b2.X, b2.Y});
  }
  outline_.insert(outline_.end(), {4, loop[1].X, loop[1].Y});
  if (showFullFrame_) {
    for (size_t i = 2; i < loop.size(); ++i) outline_.insert(outline_.end(), {4, loop[i].X, loop[i].Y});
  } else {
    // One pixel on, so that the strip edge includes its end pixel.
    const int dx = loop[1].X > loop[0].X ? 1 : (loop[1].X < loop[0].X ? -1 : 0);
    const int dy = loop[1].Y > loop[0].Y ? 1 : (loop[1].Y < loop[0].Y ? -1 : 0);
    outline_.insert(outline_.end(), {4, loop[1].X + dx, loop[1].Y + dy});
  }
  if (row == 0 && ShadowApplies()) {
    // Two shadow lines outside the frame's right and bottom edges.
    const int r = f.Right;
    const int b = f.Bottom;
    outline_.insert(outline_.end(), {3, r, f.Top + 2, 5, r, b, 3, f.Left + 2, b, 5, r, b});
    outline_.insert(outline_.end(), {3, r + 1, f.Top + 3, 6, r + 1, b + 1, 3, f.Left + 3, b + 1, 6, r + 1, b + 1});
  }
  PlayOutlineCommands(canvas);
}

void TKxCustomTabControl::PlayOutlineCommands(TCanvas& canvas) {
  bool hasShadow = false;
  for (size_t i = 0; i < outline_.size();) {
    const int code = outline_[i];
    if (code == 5 || code == 6) hasShadow = true;
    i += code >= 2 ? 3 : 1;
  }
  if (hasShadow) {
    if (!parentImage_) parentImage_ = std::make_unique<TBitmap>();
    parentImage_->SetPixelFormat(pf32bit);
    parentImage_->SetSize(std::max(1, Width()), std::max(1, Height()));
    TCanvas& pc = *parentImage_->Canvas();
    pc.Brush()->SetStyle(bsSolid);
    pc.Brush()->SetColor(Rgb(BackgroundColor()));
    pc.FillRect(TRect(0, 0, parentImage_->Width(), parentImage_->Height()));
    if (Parent() != nullptr) {
      pc.Refresh();
      CopyParentImageToDC(this, pc.Handle(), false);
    }
  }
  TColor frame = Rgb(FrameColor());
  canvas.Pen()->SetStyle(psSolid);
  canvas.Pen()->SetWidth(1);
  TPoint pen{0, 0};
  for (size_t i = 0; i < outline_.size();) {
    const int code = outline_[i];
    if (code < 2) {
      if (code == 0) canvas.Pen()->SetColor(frame);
      ++i;
      continue;
    }
    const TPoint p{outline_[i + 1], outline_[i + 2]};
    i += 3;
    switch (code) {
      case 2:
        frame = Rgb(FrameColor());
        canvas.Pen()->SetColor(frame);
        break;
      case 3: canvas.MoveTo(p.X, p.Y); break;
      case 4:
        canvas.MoveTo(pen.X, pen.Y);
        canvas.LineTo(p.X, p.Y);
        break;
      case 5:
      case 6: {
        const unsigned char strength = code == 5 ? 30 : 15;
        const int dx = p.X > pen.X ? 1 : (p.X < pen.X ? -1 : 0);
        const int dy = p.Y > pen.Y ? 1 : (p.Y < pen.Y ? -1 : 0);
        TPoint q = pen;
        while (true) {
          if (q.X >= 0 && q.Y >= 0 && q.X < Width() && q.Y < Height()) {
            const TColor under = parentImage_->Canvas()->Pixel(q.X, q.Y);
            canvas.SetPixel(q.X, q.Y, MixColors(clBlack, under, strength));
          }
          if (q.X == p.X && q.Y == p.Y) break;
          q.X += dx;
          q.Y += dy;
        }
        break;
      }
      default: break;
    }
    pen = p;
  }
  outline_.clear();
}

void TKxCustomTabControl::PaintTab(TCanvas& canvas, int index) {
  const TRect rect = TabRect(index);
  if (!Intersects(TRect(rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1), TRect(0, 0, Width(), Height())))
    return;
  HRGN region = TabRegionOf(index);
  canvas.Refresh();
  {
    HDC dc = canvas.Handle();
    const int saved = SaveDC(dc);
    if (saved == 0) throw EKxTabControlError("Error saving device context");
    SelectClipRgn(dc, region);
    try {
      FillTabBackground(canvas, index, rect);
      PaintTabFace(canvas, index, rect);
    } catch (...) {
      canvas.Refresh();
      RestoreDC(dc, saved);
      throw;
    }
    canvas.Refresh();
    RestoreDC(dc, saved);
  }
  PaintTabOutline(index);
  PlayOutlineCommands(canvas);
}

void TKxCustomTabControl::PaintTabOutline(int index) {
  const std::vector<TPoint> poly = TabPolygon(index);
  if (static_cast<int>(poly.size()) != KxTabShapePointCount(tabStyle_, softCorners_))
    throw EKxTabControlError("Incorrect number of points in tab shape");
  outline_.clear();
  outline_.push_back(0);
  outline_.insert(outline_.end(), {3, poly[0].X, poly[0].Y});
  for (size_t i = 1; i < poly.size(); ++i) outline_.insert(outline_.end(), {4, poly[i].X, poly[i].Y});
}

void TKxCustomTabControl::FillTabBackground(TCanvas& canvas, int index, const TRect& rect) {
  TRect area(rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1);
  bool handled = false;
  OnPaintTabBackground(this, &canvas, index, area, handled);
  if (handled) return;
  const TKxTabData& tab = *tabs_.Items(index);
  TColor base, light, dark;
  if (useColoredTabs_) {
    base = tab.Color;
    light = LightenColor(base, 20);
    dark = ColorsAreClose(light, clWhite) ? clBtnFace : DarkenColor(base, 40);
  } else {
    base = Color();
    light = tabColors_.Unselected;
    dark = tabColors_.Shadow;
  }
  if (index == hotTab_ && hotTrack_ && hotTrackStyle_ == htsTab) {
    if (hotTrackColorSource_ == htcsTabColor) {
      dark = DarkenColor(dark, 30);
    } else if (hotTrackColorType_ == htctActual) {
      light = LightenColor(hotTrackColor_, 60);
      dark = hotTrackColor_;
    } else {
      dark = OppositeHueColor(hotTrackColor_, 140);
      light = LightenColor(dark, 60);
    }
  }
  canvas.Brush()->SetStyle(bsSolid);
  if (index == tabIndex_) {
    canvas.Brush()->SetColor(Rgb(index == tabIndex_ ? ActiveFillColor(index) : base));
    canvas.FillRect(area);
    return;
  }
  if (useGradients_ && KxFullColorDevice()) {
    const bool tipFirst = tabOrientation_ == toTop || tabOrientation_ == toLeft;
    const auto direction = Vertical() ? KxCommon::gdVerticalEnd : KxCommon::gdHorizontalEnd;
    canvas.Refresh();
    DrawGradientArea(canvas, area, direction, Rgb(tipFirst ? light : dark), Rgb(tipFirst ? dark : light), 1);
    canvas.Refresh();
  } else {
    canvas.Brush()->SetColor(Rgb(light));
    canvas.FillRect(area);
  }
}

TRect TKxCustomTabControl::CaptionStripRect(int index) const {
  TRect r = DrawnStripRect(index);
  const int h = r.Height();
  int inLeft = 1, inRight = 1, inTop = 1, inBottom = 1;
  switch (tabStyle_) {
    case tsSingleSlant: inRight = h; break;
    case tsBackSlant: inLeft = h; break;
    case tsDoubleSlant: inLeft = inRight = h; break;
    case tsCutCorner: inRight = cutCornerSize_ + 3; break;
    case tsRoundCorners:
    case tsSquareCorners:
      inLeft = inRight = 4;
      inTop = inBottom = 2;
      break;
  }
  if (showFocusRect_) {
    ++inLeft;
    ++inRight;
    ++inTop;
    ++inBottom;
  }
  return TRect(r.Left + inLeft, r.Top + inTop, std::max(r.Left + inLeft, r.Right - inRight),
               std::max(r.Top + inTop, r.Bottom - inBottom));
}

bool TKxCustomTabControl::CloseRoomApplies() const {
  return showCloseButtonOnActiveTab_ && (Vertical() ? textOrientation_ == orVertical : textOrientation_ == orHorizontal);
}

TRect TKxCustomTabControl::ActiveCloseRoom() {
  if (tabIndex_ < 0 || tabIndex_ >= tabs_.Count()) return TRect();
  TRect r = CaptionStripRect(tabIndex_);
  // The end where the caption ends: the far end along the strip, the near one in reverse.
  if (tabSequence_ == tsReverse) r.Right = std::min(r.Right, r.Left + kCloseRoom);
  else r.Left = std::max(r.Left, r.Right - kCloseRoom);
  return KxMapStripRect(tabOrientation_, tabSequence_, StripRect(), ScrollOffset(), r);
}

void TKxCustomTabControl::DrawStretchedImage(TCanvas& canvas, int imageIndex, bool enabled, const TRect& area) {
  if (area.Width() <= 0 || area.Height() <= 0) return;
  const int iw = images_->Width();
  const int ih = images_->Height();
  // The image at its own size on a key colour, then stretched over the area without the key.
  constexpr COLORREF kKey = RGB(255, 0, 255);
  TBitmap one;
  one.SetPixelFormat(pf32bit);
  one.SetSize(iw, ih);
  one.Canvas()->Brush()->SetStyle(bsSolid);
  one.Canvas()->Brush()->SetColor(static_cast<TColor>(kKey));
  one.Canvas()->FillRect(TRect(0, 0, iw, ih));
  images_->Draw(one.Canvas(), 0, 0, imageIndex, enabled);
  GdiTransparentBlt(canvas.Handle(), area.Left, area.Top, area.Width(), area.Height(), one.Canvas()->Handle(), 0, 0, iw,
                    ih, kKey);
}

void TKxCustomTabControl::DrawVerticalCaption(TCanvas& canvas, const std::string& caption, const TRect& area,
                                              TColor color, bool hideAccel) {
  // Turned text: 90 degrees (reading upwards) except on the right edge (270, downwards). Lines
  // stack sideways, away from the text's top; each is placed along the area by
  // TextAlignmentVertical, the block across it by TextAlignment.
  const bool down = tabOrientation_ == toRight;
  TFontHandle rotated(CreateRotatedFont(*canvas.Font(), down ? 270 : 90));
  TFont underlinedFont;
  underlinedFont.Assign(canvas.Font());
  underlinedFont.SetStyle(underlinedFont.Style() + TFontStyles{fsUnderline});
  TFontHandle underlined(CreateRotatedFont(underlinedFont, down ? 270 : 90));
  HDC dc = canvas.Handle();
  TSelectGuard select(dc, rotated.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, KxColorToRGB(color));
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, area.Left, area.Top, area.Right, area.Bottom);
  std::vector<std::string> lines;
  for (size_t start = 0;;) {
    const size_t end = caption.find("\r\n", start);
    lines.push_back(caption.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int lineHeight = metrics.tmHeight;
  const int block = lineHeight * static_cast<int>(lines.size());
  // The left edge of the block; a 90-degree line's top is at its left, a 270-degree one's at
  // its right.
  const int blockLeft = textAlignment_ == haLeft    ? area.Left
                        : textAlignment_ == haRight ? area.Right - block
                                                    : area.Left + (area.Width() - block) / 2;
  auto extentOf = [dc](const std::wstring& text) {
    SIZE e{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &e);
    return static_cast<int>(e.cx);
  };
  for (size_t k = 0; k < lines.size(); ++k) {
    // The pieces: before the mark, the accelerator character, the rest ("&&" shows one "&").
    std::wstring before, accel, after;
    const std::wstring wide = Utf8ToWide(lines[k]);
    bool marked = false;
    for (size_t i = 0; i < wide.size(); ++i) {
      if (wide[i] == L'&' && i + 1 < wide.size()) {
        ++i;
        if (wide[i] != L'&' && !marked && !hideAccel) {
          marked = true;
          accel = wide.substr(i, 1);
          continue;
        }
      }
      (marked ? after : before) += wide[i];
    }
    const int length = extentOf(before) + extentOf(accel) + extentOf(after);
    // Position along the area: vaTop puts the line's start at the area's top end.
    const int lineStart = down ? (textAlignmentVertical_ == vaTop      ? area.Top
                                  : textAlignmentVertical_ == vaBottom ? area.Bottom - length
                                                                       : area.Top + (area.Height() - length) / 2)
                               : (textAlignmentVertical_ == vaTop      ? area.Top + length
                                  : textAlignmentVertical_ == vaBottom ? area.Bottom
                                                                       : area.Bottom - (area.Height() - length) / 2);
    const int lineIndex = down ? static_cast<int>(lines.size() - 1 - k) : static_cast<int>(k);
    const int x = down ? blockLeft + (lineIndex + 1) * lineHeight : blockLeft + lineIndex * lineHeight;
    int along = lineStart;
    auto piece = [&](const std::wstring& text, HFONT font) {
      if (text.empty()) return;
      SelectObject(dc, font);
      ExtTextOutW(dc, x, along, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
      along += down ? extentOf(text) : -extentOf(text);
    };
    piece(before, rotated.Get());
    piece(accel, underlined.Get());
    piece(after, rotated.Get());
    SelectObject(dc, rotated.Get());
  }
  RestoreDC(dc, saved);
}

void TKxCustomTabControl::PaintTabFace(TCanvas& canvas, int index, const TRect&) {
  const TKxTabData& tab = *tabs_.Items(index);
  // Caption area in strip coordinates, less the close room of the active tab, then mapped.
  TRect r = CaptionStripRect(index);
  if (index == tabIndex_ && CloseRoomApplies()) {
    if (tabSequence_ == tsReverse) r.Left = std::min(r.Right, r.Left + kCloseRoom);
    else r.Right = std::max(r.Left, r.Right - kCloseRoom);
  }
  TRect area = KxMapStripRect(tabOrientation_, tabSequence_, StripRect(), ScrollOffset(), r);

  // Image: its area is a side of the caption area (or all of it), the rest is the caption's.
  if (images_ != nullptr) {
    const int imageIndex = (!tab.Enabled && tab.DisabledIndex != -1) ? tab.DisabledIndex : tab.ImageIndex;
    if (imageIndex >= 0) {
      const int iw = images_->Width();
      const int ih = images_->Height();
      TRect imageArea = area;
      switch (imagePosition_) {
        case ipLeft:
          imageArea.Right = std::min(area.Right, area.Left + iw);
          area.Left = std::min(area.Right, area.Left + iw + imageMargin_);
          break;
        case ipRight:
          imageArea.Left = std::max(area.Left, area.Right - iw);
          area.Right = std::max(area.Left, area.Right - iw - imageMargin_);
          break;
        case ipTop:
          imageArea.Bottom = std::min(area.Bottom, area.Top + ih);
          area.Top = std::min(area.Bottom, area.Top + ih + imageMargin_);
          break;
        case ipBottom:
          imageArea.Top = std::max(area.Top, area.Bottom - ih);
          area.Bottom = std::max(area.Top, area.Bottom - ih - imageMargin_);
          break;
        case ipBack:
        case ipStretch: break;
      }
      canvas.Refresh();
      if (imagePosition_ == ipStretch) {
        DrawStretchedImage(canvas, imageIndex, tab.Enabled, imageArea);
      } else {
        const int x = imageAlignment_ == haLeft    ? imageArea.Left
                      : imageAlignment_ == haRight ? imageArea.Right - iw
                                                   : imageArea.Left + (imageArea.Width() - iw) / 2;
        const int y = imageAlignmentVertical_ == vaTop      ? imageArea.Top
                      : imageAlignmentVertical_ == vaBottom ? imageArea.Bottom - ih
                                                            : imageArea.Top + (imageArea.Height() - ih) / 2;
        images_->Draw(&canvas, x, y, imageIndex, tab.Enabled);
      }
    }
  }

  if (index == tabIndex_) PlaceActiveCloseButton();

  // Caption colour.
  TColor color;
  bool handled = false;
  TKxTextStyle style;
  if (!tab.Enabled) {
    style = tsDisabled;
    color = textColors_.Disabled;
  } else if (index == hotTab_ && hotTrack_) {
    style = tsHotTrack;
    color = textColors_.Selected;
    if (hotTrackStyle_ == htsText)
      color = hotTrackColorType_ == htctActual ? hotTrackColor_ : OppositeHueColor(hotTrackColor_, 140);
  } else if (index == tabIndex_) {
    style = tsSelected;
    color = textColors_.Selected;
  } else {
    style = tsUnselected;
    color = textColors_.Unselected;
  }
  TColor custom = color;
  OnGetTextColor(this, index, style, custom, handled);
  if (handled) color = custom;

  if (hotTrackStyle_ == htsTabBar && (index == hotTab_ || index == tabIndex_)) {
    TRect tip = TabRect(index);
    const int depth = (tabOrientation_ == toTop || tabOrientation_ == toLeft) ? 6 : 4;
    switch (tabOrientation_) {
      case toTop: tip.Bottom = tip.Top + depth; break;
      case toBottom: tip.Top = tip.Bottom - depth; break;
      case toLeft: tip.Right = tip.Left + depth; break;
      case toRight: tip.Left = tip.Right - depth; break;
    }
    TColor bar = tabColors_.HighlightBar;
    if (index == hotTab_ && index != tabIndex_) {
      bar = hotTrackColorSource_ == htcsTabColor ? DarkenColor(tab.Color, 40)
            : hotTrackColorType_ == htctActual   ? hotTrackColor_
                                                 : OppositeHueColor(hotTrackColor_, 140);
    }
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(Rgb(bar));
    canvas.FillRect(tip);
  }

  SelectTabFont(canvas, boldCurrentTab_ && index == tabIndex_);
  canvas.Font()->SetColor(Rgb(color));
  canvas.Brush()->SetStyle(bsClear);
  const bool hideAccel =
      HandleAllocated() && (SendMessageW(Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0;
  if (textOrientation_ == orHorizontal) {
    UINT flags = DT_SINGLELINE | DT_VCENTER | (hideAccel ? DT_HIDEPREFIX : 0);
    flags |= textAlignment_ == haLeft ? DT_LEFT : textAlignment_ == haRight ? DT_RIGHT : DT_CENTER;
    std::vector<std::string> lines;
    size_t start = 0;
    while (true) {
      const size_t end = tab.Caption.find("\r\n", start);
      lines.push_back(tab.Caption.substr(start, end == std::string::npos ? std::string::npos : end - start));
      if (end == std::string::npos) break;
      start = end + 2;
    }
    const int lineHeight = canvas.TextHeight("Ag");
    const int total = lineHeight * static_cast<int>(lines.size());
    int y = textAlignmentVertical_ == vaTop      ? area.Top
            : textAlignmentVertical_ == vaBottom ? area.Bottom - total
                                                 : area.Top + (area.Height() - total) / 2;
    for (const std::string& line : lines) {
      TRect lr(area.Left, y, area.Right, y + lineHeight);
      DrawTextInRect(canvas, line, lr, flags);
      y += lineHeight;
    }
  } else {
    DrawVerticalCaption(canvas, tab.Caption, area, color, hideAccel);
  }
  canvas.Brush()->SetStyle(bsSolid);

  if (index == tabIndex_ && Focused() && showFocusRect_) {
    const bool hideFocus =
        HandleAllocated() && (SendMessageW(Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
    if (!hideFocus) {
      canvas.Font()->SetColor(clBlack);
      canvas.Brush()->SetColor(clWhite);
      canvas.DrawFocusRect(area);
    }
  }
}

// ---- Strip buttons ------------------------------------------------------------------------

void TKxCustomTabControl::EnsureStripButtons() {
  if (ComponentState().Contains(csDestroying)) return;
  auto make = [this](auto*& button) {
    using B = std::remove_reference_t<decltype(*button)>;
    if (button == nullptr) {
      button = new B(this);
      button->SetTabControl(this);
      button->SetVisible(false);
      button->SetParent(this);
      button->SetFrameColor(FrameColor());
    }
  };
  if (showCloseButton_ && closeButton_ == nullptr) {
    make(closeButton_);
    closeButton_->OnCloseClick = [this] { CloseRequest(); };
  }
  if (showMenuButton_) make(menuButton_);
  if (showCloseButtonOnActiveTab_ && activeCloseButton_ == nullptr) {
    make(activeCloseButton_);
    activeCloseButton_->OnCloseClick = [this] { CloseRequest(); };
  }
  if (scrollNeeded_ && scroller_ == nullptr) {
    make(scroller_);
    for (int half = 0; half < 2; ++half) {
      scroller_->HalfAction[half] = [this, half] { ScrollTabsBy(scroller_->HalfScrollsForward(half) ? 1 : -1); };
    }
  }
}

// Where the strip buttons go: the end of the strip where the tab sequence ends, 2 pixels from
// the edge next to the card, one after the other from that end with 2 pixels between them.
struct TKxCustomTabControl::StripButtonPlacement {
  TRect strip;
  int size = 0;       // s: a button's length along the strip
  int thickness = 0;  // across the strip
  bool atFarEnd = false;  // the right or bottom end
  int along = 0;      // the next free position, measured from the chosen end
};

TKxCustomTabControl::StripButtonPlacement TKxCustomTabControl::StartStripButtonPlacement() {
  StripButtonPlacement p;
  p.size = StripButtonSize();
  const int t = fixedDimension_ - 2;
  const bool fixed = Vertical() ? tabWidth_ > 0 : tabHeight_ > 0;
  p.thickness = std::max(1, fixed ? std::max(p.size, t) : std::min(p.size, t));
  p.strip = StripRect();
  const bool standard = tabSequence_ == tsStandard;
  p.atFarEnd = tabOrientation_ == toLeft ? !standard : standard;
  p.along = margin_;
  if (tabOrientation_ == toTop) p.along += showShadow_ ? 1 : -1;
  return p;
}

void TKxCustomTabControl::PlaceStripButton(StripButtonPlacement& p, TControl* button, int length) {
  TRect r;
  if (!Vertical()) {
    const int x = p.atFarEnd ? p.strip.Right - p.along - length : p.strip.Left + p.along;
    const int y = tabOrientation_ == toTop ? p.strip.Bottom - 2 - p.thickness : p.strip.Top + 2;
    r = TRect(x, y, x + length, y + p.thickness);
  } else {
    const int y = p.atFarEnd ? p.strip.Bottom - p.along - length : p.strip.Top + p.along;
    const int x = tabOrientation_ == toLeft ? p.strip.Right - 2 - p.thickness : p.strip.Left + 2;
    r = TRect(x, y, x + p.thickness, y + length);
  }
  button->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  p.along += length + 2;
}

void TKxCustomTabControl::PlaceCloseButton(StripButtonPlacement& p) {
  if (closeButton_ == nullptr) return;
  closeButton_->SetVisible(showCloseButton_);
  if (showCloseButton_ && !multiLine_) PlaceStripButton(p, closeButton_, p.size);
}

void TKxCustomTabControl::PlaceMenuButton(StripButtonPlacement& p) {
  if (menuButton_ == nullptr) return;
  menuButton_->SetVisible(showMenuButton_);
  if (showMenuButton_ && !multiLine_) PlaceStripButton(p, menuButton_, p.size);
}

void TKxCustomTabControl::PlaceScroller(StripButtonPlacement& p) {
  if (scroller_ == nullptr) return;
  scroller_->SetOrientation(Vertical() ? 1 : 0);
  if (scrollNeeded_ && !multiLine_) {
    // Two halves of s, sharing one pixel.
    PlaceStripButton(p, scroller_, 2 * p.size - 1);
    scroller_->SetVisible(true);
  } else {
    // Without scroll need it goes out of sight.
    scroller_->SetBounds(-100, -100, scroller_->Width(), scroller_->Height());
    scroller_->SetVisible(false);
  }
}

void TKxCustomTabControl::PlaceStripButtons() {
  if (Loading()) return;
  EnsureStripButtons();
  if (!closeButton_ && !menuButton_ && !scroller_ && !activeCloseButton_) return;
  StripButtonPlacement placement = StartStripButtonPlacement();
  PlaceCloseButton(placement);
  PlaceMenuButton(placement);
  PlaceScroller(placement);
  PlaceActiveCloseButton();
}

void TKxCustomTabControl::PlaceActiveCloseButton() {
  if (activeCloseButton_ == nullptr || Loading()) return;
  const bool show = showCloseButtonOnActiveTab_ && tabIndex_ >= 0 && IsTabShown(tabIndex_);
  if (show) {
    // Centred in the room the caption left for it at its end.
    const TRect room = ActiveCloseRoom();
    const int t = fixedDimension_ - 2;
    const bool fixed = Vertical() ? tabWidth_ > 0 : tabHeight_ > 0;
    const int thick = std::max(1, fixed ? std::max(StripButtonSize(), t) : std::min(StripButtonSize(), t));
    const int size = std::min(16, std::max(8, thick - 4));
    activeCloseButton_->SetBounds(room.Left + (room.Width() - size) / 2, room.Top + (room.Height() - size) / 2, size,
                                  size);
  }
  activeCloseButton_->SetVisible(show);
}

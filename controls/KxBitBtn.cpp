// TKxBitBtn: the glyph (its state images and placement beside the caption) or an image-list
// image, the standard button kinds with their shared glyph resources, and the action link.
#include <array>
#include <memory>

#include "controls/KxButton.h"
#include "controls/KxCommonGlyphs.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/GraphicsObject.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/ActnList.h"
#include "toolkit/ui/Form.h"

namespace {

struct TKindRow {
  const char* caption;
  int modalResult;
  bool isDefault;
  bool isCancel;
  const char* resource;
};

constexpr std::array<TKindRow, 11> kKinds = {{
    {"", 0, false, false, nullptr},
    {"OK", mrOk, true, false, "KXCOMMON_OK"},
    {"Cancel", mrCancel, false, true, "KXCOMMON_CANCEL"},
    {"&Help", 0, false, false, "KXCOMMON_HELP"},
    {"&Yes", mrYes, true, false, "KXCOMMON_YES"},
    {"&No", mrNo, false, true, "KXCOMMON_NO"},
    {"&Close", 0, false, false, "KXCOMMON_CLOSE"},
    {"Abort", mrAbort, false, false, "KXCOMMON_ABORT"},
    {"&Retry", mrRetry, false, false, "KXCOMMON_RETRY"},
    {"&Ignore", mrIgnore, false, false, "KXCOMMON_IGNORE"},
    {"&All", 8, false, false, "KXCOMMON_ALL"},
}};

std::array<std::unique_ptr<TBitmap>, 11>& KindGlyphs() {
  static std::array<std::unique_ptr<TBitmap>, 11> glyphs;
  return glyphs;
}

}  // namespace

TBitmap* KxBitBtnKindGlyph(TBitBtnKind kind) {
  if (kind == bkCustom) return nullptr;
  std::unique_ptr<TBitmap>& slot = KindGlyphs()[static_cast<std::size_t>(kind)];
  if (!slot) {
    auto bitmap = std::make_unique<TBitmap>();
    try {
      bitmap->LoadFromResourceName(GetModuleHandleW(nullptr), kKinds[static_cast<std::size_t>(kind)].resource);
    } catch (const Exception&) {
      return nullptr;  // a program built without the glyphs shows kinds without images
    }
    slot = std::move(bitmap);
  }
  return slot.get();
}

void FreeKxBitBtnGlyphs() {
  for (auto& glyph : KindGlyphs()) glyph.reset();
}

std::string TKxBitBtn::KindCaption(TBitBtnKind kind) { return kKinds[static_cast<std::size_t>(kind)].caption; }

const TClassInfo& TKxBitBtn::StaticClass() {
  using C = TKxBitBtn;
  static const TClassInfo info =
      TClassBuilder<C>("TKxBitBtn", &TKxButton::StaticClass())
          .Property("Caption", [](C& c) { return c.Caption(); }, [](C& c, const std::string& v) { c.SetCaption(v); })
          .Stored([](C& c) { return c.Caption() != KindCaption(c.Kind()); })
          .Property("Cancel", &C::Cancel, &C::SetCancel)
          .Stored([](C& c) { return c.Kind() == bkCustom && c.Cancel(); })
          .Property("Default", &C::Default, &C::SetDefault)
          .Stored([](C& c) { return c.Kind() == bkCustom && c.Default(); })
          .Property("ModalResult", &C::ModalResult, &C::SetModalResult)
          .Stored([](C& c) { return c.Kind() == bkCustom && c.ModalResult() != 0; })
          .Property("Glyph", &C::Glyph, &C::SetGlyph)
          .Stored([](C& c) { return c.Kind() == bkCustom && !c.Glyph()->Empty(); })
          .Property("Kind", &C::Kind, &C::SetKind)
          .Default(bkCustom)
          .Property("Layout", &C::Layout, &C::SetLayout)
          .Default(blGlyphLeft)
          .Property("Margin", &C::Margin, &C::SetMargin)
          .Default(2)
          .Property("NumGlyphs", &C::NumGlyphs, &C::SetNumGlyphs)
          .Stored([](C& c) { return c.Kind() == bkCustom && c.NumGlyphs() != 1; })
          .Property("Spacing", &C::Spacing, &C::SetSpacing)
          .Default(4)
          .Property("Images", &C::Images, &C::SetImages)
          .Property("ImageIndex", &C::ImageIndex, &C::SetImageIndex)
          .Default(-1)
          .Property("DisabledIndex", &C::DisabledIndex, &C::SetDisabledIndex)
          .Default(-1)
          .Build();
  return info;
}

TKxBitBtn::TKxBitBtn(TComponent* owner) : TKxButton(owner), glyph_(new TBitmap()) {
  glyph_->OnChange = [this](TObject* sender) { GlyphChanged(sender); };
  imageChangeLink_.OnChange = [this](TObject* sender) { ImagesChanged(sender); };
}

TKxBitBtn::~TKxBitBtn() {
  if (images_ != nullptr) images_->UnRegisterChanges(&imageChangeLink_);
  delete glyph_;
}

void TKxBitBtn::SetImages(TCustomImageList* value) {
  if (value == images_) return;
  if (images_ != nullptr) images_->UnRegisterChanges(&imageChangeLink_);
  images_ = value;
  if (images_ != nullptr) {
    images_->RegisterChanges(&imageChangeLink_);
    images_->FreeNotification(this);
  }
  Invalidate();
}

void TKxBitBtn::ImagesChanged(TObject*) {
  // The list's images are drawn straight from it: show the change now.
  if (HandleAllocated()) Repaint();
}

void TKxBitBtn::SetImageIndex(int value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  Invalidate();
}

void TKxBitBtn::SetDisabledIndex(int value) {
  if (value == disabledIndex_) return;
  disabledIndex_ = value;
  Invalidate();
}

void TKxBitBtn::Notification(TComponent* component, TOperation operation) {
  TKxButton::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == images_) {
    images_->UnRegisterChanges(&imageChangeLink_);
    images_ = nullptr;
    Invalidate();
  }
  if (actionLink_ && component == actionLink_->Action()) actionLink_.reset();
}

TAction* TKxBitBtn::Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }

void TKxBitBtn::SetAction(TAction* value) {
  if (value == nullptr) {
    actionLink_.reset();
    return;
  }
  if (!actionLink_) {
    actionLink_ = std::make_unique<TActionLink>(this);
    actionLink_->OnChange = [this](TAction* action) { ActionChanged(action); };
  }
  value->FreeNotification(this);
  actionLink_->SetAction(value);
}

void TKxBitBtn::ActionChanged(TAction* action) {
  if (action == nullptr) return;
  SetCaption(action->Caption());
  SetHint(action->Hint());
  SetEnabled(action->Enabled());
  SetVisible(action->Visible());
  // While a layout is read the link only fills in defaults: an image index of the button's own stays.
  if (!(ComponentState().Contains(csLoading) && imageIndex_ != -1)) SetImageIndex(action->ImageIndex());
}

void TKxBitBtn::Click() {
  TKxButton::Click();
  if (!OnClick && actionLink_) actionLink_->Execute();
}

void TKxBitBtn::GlyphChanged(TObject*) {
  const int h = glyph_->Height();
  const int w = glyph_->Width();
  if (h != 0 && w % h == 0) {
    const int n = w / h;
    numGlyphs_ = n >= 1 && n <= 4 ? n : 1;
  }
  if (!settingKind_) glyphReplaced_ = true;
  Invalidate();
}

void TKxBitBtn::SetGlyph(TBitmap* value) {
  glyph_->Assign(value);
  glyphReplaced_ = !settingKind_;
}

void TKxBitBtn::SetNumGlyphs(int value) {
  value = value < 1 ? 1 : value > 4 ? 4 : value;
  if (value == numGlyphs_) return;
  numGlyphs_ = value;
  Invalidate();
}

TBitBtnKind TKxBitBtn::Kind() const {
  if (kind_ == bkCustom) return bkCustom;
  const TKindRow& row = kKinds[static_cast<std::size_t>(kind_)];
  if (Default() != row.isDefault || Cancel() != row.isCancel || ModalResult() != row.modalResult || glyphReplaced_) {
    return bkCustom;
  }
  return kind_;
}

void TKxBitBtn::SetKind(TBitBtnKind value) {
  if (value == bkCustom) {
    kind_ = value;
    Invalidate();
    return;
  }
  const TKindRow& row = kKinds[static_cast<std::size_t>(value)];
  SetDefault(row.isDefault);
  SetCancel(row.isCancel);
  if (!ComponentState().Contains(csLoading) || Caption().empty()) SetCaption(row.caption);
  SetModalResult(row.modalResult);
  settingKind_ = true;
  if (TBitmap* glyph = KxBitBtnKindGlyph(value)) {
    glyph_->Assign(glyph);
  } else {
    glyph_->SetSize(0, 0);
  }
  settingKind_ = false;
  numGlyphs_ = 2;
  glyphReplaced_ = false;
  kind_ = value;
  Invalidate();
}

void TKxBitBtn::SetLayout(TButtonLayout value) {
  if (value == layout_) return;
  layout_ = value;
  Invalidate();
}

void TKxBitBtn::SetSpacing(int value) {
  if (value == spacing_) return;
  spacing_ = value;
  Invalidate();
}

void TKxBitBtn::SetMargin(int value) {
  if (value < -1) value = -1;
  if (value == margin_) return;
  margin_ = value;
  Invalidate();
}

void TKxBitBtn::ChangeScale(int m, int d) {
  TKxButton::ChangeScale(m, d);
  if (d != 0 && m != d) {
    if (margin_ > 0) margin_ = MulDiv(margin_, m, d);
    spacing_ = MulDiv(spacing_, m, d);
  }
}

bool TKxBitBtn::ShowsListImage() const { return images_ != nullptr && imageIndex_ != -1; }

TSize TKxBitBtn::GetGlyphSize() {
  if (ShowsListImage()) return {images_->Width(), images_->Height()};
  if (glyph_->Empty()) return {0, 0};
  return {glyph_->Width() / numGlyphs_, glyph_->Height()};
}

TButtonLayout TKxBitBtn::EffectiveLayout() const {
  return UseRightToLeftAlignment() && layout_ == blGlyphLeft ? blGlyphRight : layout_;
}

int TKxBitBtn::MeasureCaptionHeight(const TRect& area) {
  TCanvas& canvas = *Canvas();
  canvas.SetFont(Font());
  TRect r = area;
  return DrawTextInRect(canvas, Caption(), r, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_CENTER);
}

TRect TKxBitBtn::GetCaptionArea() {
  TRect r = TKxButton::GetCaptionArea();
  const TSize g = GetGlyphSize();
  if (g.cx == 0 || g.cy == 0) return r;
  const TButtonLayout layout = EffectiveLayout();
  const int h = margin_ < 0 ? MeasureCaptionHeight(r) : 0;
  switch (layout) {
    case blGlyphLeft: r.Left += margin_ + g.cx + spacing_; break;
    case blGlyphRight: r.Right -= margin_ + g.cx + spacing_; break;
    case blGlyphTop:
      if (margin_ >= 0) {
        r.Top += margin_ + g.cy + spacing_;
      } else {
        r.Top = (Height() - h - g.cy - spacing_) / 2 + g.cy + r.Top;
        r.Bottom = r.Top + h;
      }
      break;
    case blGlyphBottom:
      if (margin_ >= 0) {
        r.Bottom -= margin_ + g.cy + spacing_;
      } else {
        r.Top = (Height() - h - g.cy - spacing_) / 2 + r.Top;
        r.Bottom = r.Top + h;
      }
      break;
  }
  return r;
}

TRect TKxBitBtn::GetGlyphArea() {
  TRect r = TKxButton::GetCaptionArea();
  const bool pressed = showDown_ || GroupPressed();
  const bool themed = UsesThemes();
  if (pressed) {
    r.Left -= 1;
    r.Right -= 1;
    if (!themed) {
      r.Top -= 1;
      r.Bottom -= 1;
    }
  }
  const TSize g = GetGlyphSize();
  const TButtonLayout layout = EffectiveLayout();
  if (margin_ >= 0) {
    switch (layout) {
      case blGlyphLeft: r.Left += margin_; break;
      case blGlyphRight: r.Left = r.Right - margin_ - g.cx; break;
      case blGlyphTop: r.Top += margin_; break;
      case blGlyphBottom: r.Top = r.Bottom - margin_ - g.cy; break;
    }
  } else {
    const int h = MeasureCaptionHeight(r);
    switch (layout) {
      case blGlyphLeft: break;
      case blGlyphRight: r.Left = r.Right - g.cx; break;
      case blGlyphTop: r.Top = (Height() - h - g.cy - spacing_) / 2; break;
      case blGlyphBottom: r.Top += h + (Height() - h - g.cy - spacing_) / 2; break;
    }
  }
  if (layout == blGlyphTop || layout == blGlyphBottom) {
    r.Left += (r.Right - r.Left - g.cx + 1) / 2;
  } else {
    r.Top += (r.Bottom - r.Top - g.cy + 1) / 2;
  }
  r.Right = r.Left + g.cx;
  r.Bottom = r.Top + g.cy;
  if (pressed) {
    r.Left += themed ? 2 : 1;
    r.Right += themed ? 2 : 1;
    if (!themed) {
      r.Top += 1;
      r.Bottom += 1;
    }
  }
  return r;
}

void TKxBitBtn::PaintGlyph(const TRect& rect) {
  if (glyph_->Empty()) return;
  const TSize g{glyph_->Width() / numGlyphs_, glyph_->Height()};
  if (g.cx <= 0 || g.cy <= 0) return;
  int image = 0;
  if (numGlyphs_ == 4 && State() == 3) {
    image = 3;
  } else if (numGlyphs_ >= 3 && (State() == 2 || showDown_)) {
    image = 2;
  } else if (numGlyphs_ >= 2 && !Enabled()) {
    image = 1;
  }
  TCanvas& canvas = *Canvas();
  TBitmap cell(g.cx, g.cy);
  cell.Canvas()->CopyRect({0, 0, g.cx, g.cy}, &canvas, rect);
  StretchBitmapTransparent(*cell.Canvas(), *glyph_, {0, 0, g.cx, g.cy}, glyph_->TransparentColor(),
                           {image * g.cx, 0, (image + 1) * g.cx, g.cy});
  canvas.Draw(rect.Left, rect.Top, &cell);
}

void TKxBitBtn::PaintListImage(const TRect& rect) {
  if (images_ == nullptr) return;
  TCanvas* canvas = Canvas();
  if (disabledIndex_ == -1) {
    if (imageIndex_ != -1) images_->Draw(canvas, rect.Left, rect.Top, imageIndex_, Enabled());
  } else {
    const int index = Enabled() ? imageIndex_ : disabledIndex_;
    if (index != -1) images_->Draw(canvas, rect.Left, rect.Top, index, true);
  }
}

void TKxBitBtn::PaintCaptionText() {
  TKxButton::PaintCaptionText();
  if (Kind() == bkCustom && ShowsListImage()) {
    PaintListImage(GetGlyphArea());
  } else if (!glyph_->Empty()) {
    PaintGlyph(GetGlyphArea());
  }
}

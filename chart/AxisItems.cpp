// Custom axis labels and the axis back shape.
#include "chart/AxisItems.h"

#include "canvas/KelBrush.h"
#include "canvas/KelCorners.h"
#include "canvas/KelFont.h"
#include "canvas/KelGradient.h"
#include "canvas/KelPen.h"
#include "canvas/KelPicture.h"
#include "canvas/KelShadow.h"
#include "chart/BackImage.h"
#include "chart/SeriesSelection.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"

const TClassInfo& TAxisLabelsFormat::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TAxisLabelsFormat> b("TAxisLabelsFormat", &TCustomTextShape::StaticClass());
    PublishTextShapeProperties(b);
    return b.Build();
  }();
  return info;
}

TAxisLabelsFormat::TAxisLabelsFormat(IShapePanel* panel) : TCustomTextShape(panel) {
  SetTransparentDefault(true);
  SetTextAlignmentDefault(taCenter);
}

const TClassInfo& TAxisItem::StaticClass() {
  using I = TAxisItem;
  static const TClassInfo info =
      TClassBuilder<I>("TAxisItem", &TPersistent::StaticClass())
          .Property("Format", [](I& i) { return i.Format(); }, nullptr)
          .Stored([](I& i) { return i.format_ != nullptr; })
          .Property("Picture", [](I& i) { return i.Picture(); }, nullptr)
          .Stored([](I& i) { return i.picture_ && i.picture_->HasGraphic(); })
          .Property("Text", &I::Text, &I::SetText)
          .Stored([](I& i) { return !i.text_.empty(); })
          .Property("Value", &I::Value, &I::SetValue)
          .Build();
  return info;
}

TAxisItem::TAxisItem(TAxisItems* owner, double value, const std::string& text)
    : owner_(owner), text_(text), value_(value) {}

TAxisItem::~TAxisItem() = default;

void TAxisItem::SetText(const std::string& value) {
  if (value == text_) return;
  text_ = value;
  owner_->Changed();
}

void TAxisItem::SetValue(double value) {
  if (value == value_) return;
  value_ = value;
  owner_->Changed();
}

TCustomTextShape* TAxisItem::Format() {
  if (!format_) {
    format_ = std::make_unique<TAxisLabelsFormat>(owner_->Panel());
    // The item's box starts as the list's common format.
    format_->Assign(owner_->Format());
  }
  return format_.get();
}

TKelPicture* TAxisItem::Picture() {
  if (!picture_) {
    picture_ = std::make_unique<TKelPicture>();
    picture_->OnChange = [this](TObject*) { owner_->Changed(); };
  }
  return picture_.get();
}

TAxisItems::TAxisItems(IShapePanel* panel, std::function<void()> changed)
    : panel_(panel), changed_(std::move(changed)) {
  format_ = std::make_unique<TAxisLabelsFormat>(panel);
}

TAxisItems::~TAxisItems() = default;

TAxisItem& TAxisItems::Add(double value, const std::string& text) {
  automatic_ = false;
  items_.push_back(std::make_unique<TAxisItem>(this, value, text));
  Changed();
  return *items_.back();
}

void TAxisItems::Delete(int index) {
  items_.erase(items_.begin() + index);
  Changed();
}

void TAxisItems::Clear() {
  items_.clear();
  Changed();
}

void TAxisItems::Assign(const TAxisItems& source) {
  if (&source == this) return;
  format_->Assign(source.format_.get());
  if (source.selected_) Selected()->Assign(source.selected_.get());
  if (!source.automatic_) {
    items_.clear();
    for (const auto& item : source.items_) items_.push_back(std::make_unique<TAxisItem>(this, item->Value(), item->Text()));
    automatic_ = false;
  }
  Changed();
}

TKelSelected* TAxisItems::Selected() {
  if (!selected_) {
    // A change of the hovered label repaints through the label format's panel.
    selected_ = std::make_unique<TKelSelected>(panel_, format_.get());
    TKelHover* hover = selected_->Hover();
    hover->Assign(format_.get());
    TFontStyles style = hover->Font()->Style();
    style.Include(fsBold);
    hover->Font()->SetStyle(style);
  }
  return selected_.get();
}

void TAxisItems::WriteItems(TStream& stream) {
  const std::int32_t count = Count();
  stream.WriteValue<std::int32_t>(count);
  TWriter writer(stream);
  for (int i = 0; i < count; ++i) {
    writer.WritePropertyList(items_[i].get());
  }
}

void TAxisItems::ReadItems(TStream& stream) {
  const std::int32_t count = stream.ReadValue<std::int32_t>();
  if (count <= 0) return;
  items_.clear();
  automatic_ = false;
  TReader reader(stream);
  for (int i = 0; i < count; ++i) {
    items_.push_back(std::make_unique<TAxisItem>(this, 0, std::string()));
    reader.ReadPropertyList(items_.back().get());
  }
  Changed();
}

const TEnumInfo& EnumTypeInfo(TAxisTitlePosition) {
  static const TEnumInfo info("TAxisTitlePosition", {"tpStart", "tpCenter", "tpEnd"});
  return info;
}

const TClassInfo& TChartAxisTitle::StaticClass() {
  using T = TChartAxisTitle;
  static const TClassInfo info = [] {
    TClassBuilder<T> b("TChartAxisTitle", &TCustomTextShape::StaticClass());
    PublishTextShapeProperties(b);
    b.Property("Caption", &T::Caption, &T::SetCaption)
        .Stored(false)  // the text holds it
        .Property("Position", &T::Position, &T::SetPosition)
        .Default(tpCenter);
    return b.Build();
  }();
  return info;
}

TChartAxisTitle::TChartAxisTitle(IShapePanel* panel) : TCustomTextShape(panel) {
  SetTransparentDefault(true);
  SetTextAlignmentDefault(taCenter);
}

void TChartAxisTitle::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TChartAxisTitle*>(source)) position_ = other->position_;
  TCustomTextShape::Assign(source);
}

void TChartAxisTitle::SetPosition(TAxisTitlePosition value) {
  if (value == position_) return;
  position_ = value;
  Repaint();
}

std::string TChartAxisTitle::Caption() const {
  const std::string& text = Text();
  return text.substr(0, text.find('\r'));
}

const TClassInfo& TAxisBackShape::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TAxisBackShape> b("TAxisBackShape", &TKelCustomShape::StaticClass());
    PublishPlainShapeProperties(b);
    return b.Build();
  }();
  return info;
}

TAxisBackShape::TAxisBackShape(IShapePanel* panel) : TKelCustomShape(panel) {
  SetVisibleDefault(false);
  Shadow()->SetDefaults(false, Shadow()->Color(), Shadow()->HorizSize());
  DrawAtDepth = true;
}

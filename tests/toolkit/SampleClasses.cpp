// Class information and behaviour of the sample classes used by the layout tests.
#include "SampleClasses.h"

#include <algorithm>

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Streams.h"

const TEnumInfo& EnumTypeInfo(TSampleShape) {
  static const TEnumInfo info("TSampleShape", {"shCircle", "shSquare", "shTriangle"});
  return info;
}

const TEnumInfo& EnumTypeInfo(TSampleStyle) {
  static const TEnumInfo info("TSampleStyle", {"ssBold", "ssItalic", "ssUnderline"});
  return info;
}

bool SampleColorToIdent(long long value, std::string& ident) {
  if (value == 0) ident = "clBlack";
  else if (value == 255) ident = "clRed";
  else return false;
  return true;
}

bool SampleIdentToColor(std::string_view ident, long long& value) {
  if (ident == "clBlack") value = 0;
  else if (ident == "clRed") value = 255;
  else return false;
  return true;
}

// ---- TSampleFont ---------------------------------------------------------------------------

const TClassInfo& TSampleFont::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TSampleFont>("TSampleFont", &TPersistent::StaticClass())
          .Property("Color", &TSampleFont::Color, &TSampleFont::SetColor)
          .Default(0)
          .Idents(SampleColorToIdent, SampleIdentToColor)
          .Property("Name", &TSampleFont::Name, &TSampleFont::SetName)
          .Stored([](TSampleFont& f) { return f.Name() != "Arial"; })
          .Property("Size", &TSampleFont::Size, &TSampleFont::SetSize)
          .Default(8)
          .Property("Style", &TSampleFont::Style, &TSampleFont::SetStyle)
          .Default(TSampleStyles{})
          .Build();
  return info;
}

void TSampleFont::Assign(TPersistent* source) {
  if (auto* f = dynamic_cast<TSampleFont*>(source)) {
    name_ = f->name_;
    size_ = f->size_;
    style_ = f->style_;
    color_ = f->color_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

// ---- TSampleItem ---------------------------------------------------------------------------

const TClassInfo& TSampleItem::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSampleItem>("TSampleItem", &TCollectionItem::StaticClass())
                                     .Property("Caption", &TSampleItem::Caption, &TSampleItem::SetCaption)
                                     .Property("Value", &TSampleItem::Value, &TSampleItem::SetValue)
                                     .Default(0)
                                     .Property("Weight", &TSampleItem::Weight, &TSampleItem::SetWeight)
                                     .Build();
  return info;
}

void TSampleItem::Assign(TPersistent* source) {
  if (auto* item = dynamic_cast<TSampleItem*>(source)) {
    caption_ = item->caption_;
    value_ = item->value_;
    weight_ = item->weight_;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(source);
}

// ---- TSampleControl ------------------------------------------------------------------------

const TClassInfo& TSampleControl::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TSampleControl>("TSampleControl", &TComponent::StaticClass())
          .Property("Left", &TSampleControl::Left, &TSampleControl::SetLeft)
          .Property("Width", &TSampleControl::Width, &TSampleControl::SetWidth)
          .Default(100)
          .Property("Visible", &TSampleControl::Visible, &TSampleControl::SetVisible)
          .Default(true)
          .Property("Shape", &TSampleControl::Shape, &TSampleControl::SetShape)
          .Default(shCircle)
          .Property("Styles", &TSampleControl::Styles, &TSampleControl::SetStyles)
          .Default(TSampleStyles{})
          .Property("Ratio", &TSampleControl::Ratio, &TSampleControl::SetRatio)
          .Property("Scale", &TSampleControl::Scale, &TSampleControl::SetScale)
          .Property("Stamp", &TSampleControl::Stamp, &TSampleControl::SetStamp)
          .Float(TFloatType::ftDateTime)
          .Property("Price", &TSampleControl::Price, &TSampleControl::SetPrice)
          .Float(TFloatType::ftCurrency)
          .Property("Caption", &TSampleControl::Caption, &TSampleControl::SetCaption)
          .Property("Accel", &TSampleControl::Accel, &TSampleControl::SetAccel)
          .Default('A')
          .Property("Big", &TSampleControl::Big, &TSampleControl::SetBig)
          .Default(0)
          .Property("Color", &TSampleControl::Color, &TSampleControl::SetColor)
          .Default(0)
          .Idents(SampleColorToIdent, SampleIdentToColor)
          .Property("Font", &TSampleControl::Font, &TSampleControl::SetFont)
          .Property("Items", &TSampleControl::Items, nullptr)
          .Property("Lines", &TSampleControl::Lines, &TSampleControl::SetLines)
          .Property("Buddy", &TSampleControl::Buddy, &TSampleControl::SetBuddy)
          .Property("OnClick", &TSampleControl::OnClick, &TSampleControl::SetOnClick)
          .Build();
  return info;
}

TSampleControl::TSampleControl(TComponent* owner)
    : TComponent(owner),
      font_(std::make_unique<TSampleFont>()),
      items_(std::make_unique<TSampleItems>(this)),
      lines_(std::make_unique<TStringList>()) {
  items_->SetPropName("Items");
}

TSampleControl::~TSampleControl() {
  // Children go before their parent, as windows do.
  while (!controls_.empty()) delete controls_.back();
  SetParentControl(nullptr);
}

void TSampleControl::SetBuddy(TSampleControl* v) {
  if (buddy_ == v) return;
  if (buddy_ != nullptr) buddy_->RemoveFreeNotification(this);
  buddy_ = v;
  if (buddy_ != nullptr) buddy_->FreeNotification(this);
}

void TSampleControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == buddy_) buddy_ = nullptr;
}

void TSampleControl::SetParentControl(TSampleControl* parent) {
  if (parent_ == parent) return;
  if (parent_ != nullptr) {
    auto& v = parent_->controls_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
  parent_ = parent;
  if (parent_ != nullptr) parent_->controls_.push_back(this);
}

void TSampleControl::SetParentComponent(TComponent* parent) {
  SetParentControl(dynamic_cast<TSampleControl*>(parent));
}

void TSampleControl::GetChildren(const TGetChildProc& proc, TComponent*) {
  for (TSampleControl* c : controls_) proc(c);
}

void TSampleControl::ReadState(TReader& reader) {
  if (auto* p = dynamic_cast<TSampleControl*>(reader.Parent())) SetParentControl(p);
  TComponent::ReadState(reader);
}

void TSampleControl::Loaded() {
  TComponent::Loaded();
  loadedCalled = true;
  buddyAtLoaded = buddy_ != nullptr;
}

void TSampleControl::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  bool hasData = !data.empty();
  if (auto* ancestor = dynamic_cast<TSampleControl*>(filer.Ancestor())) hasData = data != ancestor->data;
  filer.DefineBinaryProperty(
      "Data",
      [this](TStream& s) {
        data.resize(static_cast<size_t>(s.Size()));
        if (!data.empty()) s.ReadBuffer(data.data(), static_cast<long long>(data.size()));
      },
      [this](TStream& s) {
        if (!data.empty()) s.WriteBuffer(data.data(), static_cast<long long>(data.size()));
      },
      hasData);
  // Older layouts stored the visibility under another name; read only.
  filer.DefineProperty("OldVisible", [this](TReader& r) { visible_ = r.ReadBoolean(); }, nullptr, false);
}

// ---- TSampleTimer / TSampleForm ------------------------------------------------------------

const TClassInfo& TSampleTimer::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSampleTimer>("TSampleTimer", &TComponent::StaticClass())
                                     .Property("Enabled", &TSampleTimer::Enabled, &TSampleTimer::SetEnabled)
                                     .Default(true)
                                     .Property("Interval", &TSampleTimer::Interval, &TSampleTimer::SetInterval)
                                     .Default(1000)
                                     .Property("OnTimer", &TSampleTimer::OnTimer, &TSampleTimer::SetOnTimer)
                                     .Build();
  return info;
}

const TClassInfo& TSampleForm::StaticClass() {
  static const TClassInfo info = TClassBuilder<TSampleForm>("TSampleForm", &TSampleControl::StaticClass())
                                     .Method("ButtonClick", &TSampleForm::ButtonClick)
                                     .Method("TimerTick", &TSampleForm::TimerTick)
                                     .Build();
  return info;
}

void TSampleForm::GetChildren(const TGetChildProc& proc, TComponent* root) {
  TComponent::GetChildren(proc, root);    // non-visual components
  TSampleControl::GetChildren(proc, root);  // controls
}

void RegisterSampleClasses() {
  RegisterClasses({&TSampleControl::StaticClass(), &TSampleTimer::StaticClass(), &TSampleForm::StaticClass()});
}

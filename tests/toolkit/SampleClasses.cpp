// Class information and behaviour of the sample classes used by the layout tests.
#include "SampleClasses.h"

#include <algorithm>
#include <sstream>

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

TSampleFont::TSampleFont() = default;

TSampleFont::~TSampleFont() = default;

TSampleItems* TSampleFont::Extras() {
  if (!extras_) extras_ = std::make_unique<TSampleItems>(this);
  return extras_.get();
}

bool TSampleFont::HasExtras() const { return extras_ && extras_->Count() > 0; }

void TSampleFont::DefineProperties(TFiler& filer) {
  TPersistent::DefineProperties(filer);
  filer.DefineProperty(
      "Extras", [this](TReader& r) { ReadExtras(r); }, [this](TWriter& w) { WriteExtras(w); }, HasExtras());
}

void TSampleFont::WriteExtras(TWriter& writer) {
  writer.WriteValue(vaCollection);
  for (int i = 0; i < extras_->Count(); ++i) {
    writer.WriteListBegin();
    writer.WriteStr("ItemClass");
    writer.WriteString(extras_->Items(i)->ClassName());
    writer.WriteProperties(extras_->Items(i));
    writer.WriteListEnd();
  }
  writer.WriteListEnd();
}

void TSampleFont::ReadExtras(TReader& reader) {
  TSampleItems* items = Extras();
  items->BeginUpdate();
  try {
    reader.CheckValue(vaCollection);
    if (!reader.EndOfList()) items->Clear();
    while (!reader.EndOfList()) {
      const TValueType v = reader.NextValue();
      if (v == vaInt8 || v == vaInt16 || v == vaInt32) reader.ReadInteger();
      reader.ReadListBegin();
      reader.ReadStr();  // "ItemClass"
      TObject* item = FindClass(reader.ReadString()).CreateInstance(items);
      while (!reader.EndOfList()) reader.ReadProperty(static_cast<TPersistent*>(item));
      reader.ReadListEnd();
    }
    reader.ReadListEnd();
  } catch (...) {
    items->EndUpdate();
    throw;
  }
  items->EndUpdate();
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
                                     .Property("Partner", &TSampleItem::Partner, &TSampleItem::SetPartner)
                                     .Reference()
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
  RegisterClasses({&TSampleControl::StaticClass(), &TSampleTimer::StaticClass(), &TSampleForm::StaticClass(),
                   &TSampleItem::StaticClass()});
}

// ---- Test trees ------------------------------------------------------------------------------

static std::string DescribeChildren(TSampleControl& c, const TSampleForm& form) {
  std::string out;
  for (int i = 0; i < c.ControlCount(); ++i) out += Describe(*c.Controls(i), form);
  return out;
}

// Every observable setting of a control and its children, with references by name and the
// handler by the method it reaches.
std::string Describe(TSampleControl& c, const TSampleForm& form) {
  std::ostringstream o;
  o.precision(21);
  o << c.ClassName() << " " << c.Name() << " owner=" << (c.Owner() ? c.Owner()->Name() : "-")
    << " parent=" << (c.ParentControl() ? c.ParentControl()->Name() : "-") << " tag=" << c.Tag()
    << " left=" << c.Left() << " width=" << c.Width() << " visible=" << c.Visible() << " shape=" << c.Shape()
    << " styles=" << c.Styles().Bits() << " ratio=" << c.Ratio() << " scale=" << c.Scale()
    << " stamp=" << c.Stamp() << " price=" << c.Price() << " caption=[" << c.Caption() << "] accel=" << c.Accel()
    << " big=" << c.Big() << " color=" << c.Color() << " font=" << c.Font()->Name() << "/" << c.Font()->Size()
    << "/" << c.Font()->Style().Bits() << "/" << c.Font()->Color() << " buddy="
    << (c.Buddy() ? c.Buddy()->Name() : "-") << " lines=[" << c.Lines()->CommaText() << "] data=";
  for (unsigned char b : c.data) o << static_cast<int>(b) << ",";
  o << " items=";
  for (int i = 0; i < c.Items()->Count(); ++i) {
    const TSampleItem* item = c.Items()->Item(i);
    o << "{" << item->Caption() << "," << item->Value() << "," << item->Weight() << "}";
  }
  o << " onclick=" << c.ClassType().FindProperty("OnClick")->methodName(c, &form);
  o << " loaded=" << c.loadedCalled << "\n";
  return o.str() + DescribeChildren(c, form);
}

// A window with a nested control tree, a non-visual component and settings of every kind.
TSampleForm* BuildForm() {
  auto* form = new TSampleForm(nullptr);
  form->SetName("MainForm");
  form->SetCaption("Recorder \xE2\x84\x83");  // non-ASCII text
  form->SetLeft(0);
  form->SetWidth(640);
  auto* panel = new TSampleControl(form);
  panel->SetName("Panel1");
  panel->SetParentControl(form);
  panel->SetShape(shSquare);
  panel->SetStyles({ssBold, ssUnderline});
  panel->Font()->SetName("Verdana");
  panel->Font()->SetSize(12);
  panel->Font()->SetColor(255);
  panel->Items()->BeginUpdate();
  auto* i1 = static_cast<TSampleItem*>(panel->Items()->Add());
  i1->SetCaption("first");
  i1->SetValue(-70000);
  auto* i2 = static_cast<TSampleItem*>(panel->Items()->Add());
  i2->SetWeight(0.1);
  panel->Items()->EndUpdate();
  auto* button = new TSampleControl(form);
  button->SetName("btn_start");
  button->SetParentControl(panel);
  button->SetLeft(-5);
  button->SetVisible(false);
  button->SetRatio(1.0L / 3.0L);
  button->SetScale(0.75f);
  button->SetStamp(45000.25);
  button->SetPrice(12.3456L);
  button->SetAccel('&');
  button->SetBig(1LL << 40);
  button->SetTag(300);
  button->SetColor(77);
  button->Lines()->Add("one");
  button->Lines()->Add("two, three");
  button->Lines()->Add("");
  button->data = {0, 1, 2, 254, 255};
  button->SetOnClick(TNotifyEvent(form, &TSampleForm::ButtonClick));
  auto* label = new TSampleControl(form);
  label->SetName("Label1");
  label->SetParentControl(panel);
  label->SetBuddy(button);
  label->SetCaption(std::string(300, 'L'));
  auto* timer = new TSampleTimer(form);
  timer->SetName("Timer1");
  timer->SetInterval(250);
  timer->SetOnTimer(TNotifyEvent(form, &TSampleForm::TimerTick));
  return form;
}


// Sample classes for the class-information and layout tests: a window-like root with
// parented controls, a non-visual component, a persistent sub-object with defaults, a
// collection, a string list, a binary entry, an obsolete entry, references and events.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/classes/Collection.h"
#include "toolkit/classes/Component.h"
#include "toolkit/classes/Events.h"
#include "toolkit/classes/Filer.h"
#include "toolkit/classes/StringList.h"
#include "toolkit/classes/TypInfo.h"

enum TSampleShape { shCircle, shSquare, shTriangle };
enum TSampleStyle { ssBold, ssItalic, ssUnderline };
using TSampleStyles = TSet<TSampleStyle>;
const TEnumInfo& EnumTypeInfo(TSampleShape);
const TEnumInfo& EnumTypeInfo(TSampleStyle);

// Colour-like named integers: 0 = "clBlack", 255 = "clRed".
bool SampleColorToIdent(long long value, std::string& ident);
bool SampleIdentToColor(std::string_view ident, long long& value);

class TSampleItems;

// A font-like sub-object with defaults and an extra entry "Extras": a list of items of
// registered classes, streamed by class name as a picture streams its filters.
class TSampleFont : public TPersistent {
 public:
  TSampleFont();
  ~TSampleFont() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(TPersistent* source) override;

  std::string Name() const { return name_; }
  void SetName(std::string v) { name_ = std::move(v); Changed(); }
  int Size() const { return size_; }
  void SetSize(int v) { size_ = v; Changed(); }
  TSampleStyles Style() const { return style_; }
  void SetStyle(TSampleStyles v) { style_ = v; Changed(); }
  int Color() const { return color_; }
  void SetColor(int v) { color_ = v; Changed(); }
  int changes = 0;
  TSampleItems* Extras();  // made on first use
  bool HasExtras() const;
  void DefineProperties(TFiler& filer) override;

 private:
  void Changed() { ++changes; }
  void ReadExtras(TReader& reader);
  void WriteExtras(TWriter& writer);
  std::unique_ptr<TSampleItems> extras_;
  std::string name_ = "Arial";
  int size_ = 8;
  TSampleStyles style_;
  int color_ = 0;
};

class TSampleItem : public TCollectionItem {
 public:
  explicit TSampleItem(TCollection* collection) : TCollectionItem(collection) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void Assign(TPersistent* source) override;
  std::string Caption() const { return caption_; }
  void SetCaption(std::string v) { caption_ = std::move(v); Changed(false); }
  int Value() const { return value_; }
  void SetValue(int v) { value_ = v; Changed(false); }
  double Weight() const { return weight_; }
  void SetWeight(double v) { weight_ = v; Changed(false); }
  // Another item (of any collection of the tree) referred to, not held: streamed by name path.
  TSampleItem* Partner() const { return partner_; }
  void SetPartner(TSampleItem* v) { partner_ = v; }

 private:
  std::string caption_;
  int value_ = 0;
  double weight_ = 0;
  TSampleItem* partner_ = nullptr;
};

class TSampleItems : public TOwnedCollection {
 public:
  explicit TSampleItems(TPersistent* owner) : TOwnedCollection(owner, TSampleItem::StaticClass()) {}
  TSampleItem* Item(int i) const { return static_cast<TSampleItem*>(Items(i)); }
  int updates = 0;
  TCollectionItem* lastUpdated = nullptr;

 protected:
  void Update(TCollectionItem* item) override {
    ++updates;
    lastUpdated = item;
  }
};

class TSampleControl : public TComponent {
 public:
  explicit TSampleControl(TComponent* owner);
  ~TSampleControl() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  int Left() const { return left_; }
  void SetLeft(int v) { left_ = v; }
  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  TSampleShape Shape() const { return shape_; }
  void SetShape(TSampleShape v) { shape_ = v; }
  TSampleStyles Styles() const { return styles_; }
  void SetStyles(TSampleStyles v) { styles_ = v; }
  long double Ratio() const { return ratio_; }
  void SetRatio(long double v) { ratio_ = v; }
  float Scale() const { return scale_; }
  void SetScale(float v) { scale_ = v; }
  double Stamp() const { return stamp_; }
  void SetStamp(double v) { stamp_ = v; }
  long double Price() const { return price_; }
  void SetPrice(long double v) { price_ = v; }
  std::string Caption() const { return caption_; }
  void SetCaption(std::string v) { caption_ = std::move(v); }
  char Accel() const { return accel_; }
  void SetAccel(char v) { accel_ = v; }
  long long Big() const { return big_; }
  void SetBig(long long v) { big_ = v; }
  int Color() const { return color_; }
  void SetColor(int v) { color_ = v; }
  TSampleFont* Font() const { return font_.get(); }
  void SetFont(TSampleFont* v) { font_->Assign(v); }
  TSampleItems* Items() const { return items_.get(); }
  TStringList* Lines() const { return lines_.get(); }
  void SetLines(TStringList* v) { lines_->Assign(v); }
  TSampleControl* Buddy() const { return buddy_; }
  void SetBuddy(TSampleControl* v);
  TNotifyEvent OnClick() const { return onClick_; }
  void SetOnClick(TNotifyEvent v) { onClick_ = std::move(v); }

  std::vector<unsigned char> data;
  bool loadedCalled = false;
  bool buddyAtLoaded = false;

  TSampleControl* ParentControl() const { return parent_; }
  void SetParentControl(TSampleControl* parent);
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TSampleControl* Controls(int i) const { return controls_[static_cast<size_t>(i)]; }

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return parent_; }
  void SetParentComponent(TComponent* parent) override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void ReadState(TReader& reader) override;
  void Loaded() override;
  void DefineProperties(TFiler& filer) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  int left_ = 0;
  int width_ = 100;
  bool visible_ = true;
  TSampleShape shape_ = shCircle;
  TSampleStyles styles_;
  long double ratio_ = 0;
  float scale_ = 0;
  double stamp_ = 0;
  long double price_ = 0;
  std::string caption_;
  char accel_ = 'A';
  long long big_ = 0;
  int color_ = 0;
  std::unique_ptr<TSampleFont> font_;
  std::unique_ptr<TSampleItems> items_;
  std::unique_ptr<TStringList> lines_;
  TSampleControl* buddy_ = nullptr;
  TNotifyEvent onClick_;
  TSampleControl* parent_ = nullptr;
  std::vector<TSampleControl*> controls_;
};

// A non-visual component (no parent): streamed among the root's owned components.
class TSampleTimer : public TComponent {
 public:
  explicit TSampleTimer(TComponent* owner) : TComponent(owner) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  int Interval() const { return interval_; }
  void SetInterval(int v) { interval_ = v; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  TNotifyEvent OnTimer() const { return onTimer_; }
  void SetOnTimer(TNotifyEvent v) { onTimer_ = std::move(v); }

 private:
  int interval_ = 1000;
  bool enabled_ = true;
  TNotifyEvent onTimer_;
};

// The root: a control that also lists its non-visual components, with named handlers.
class TSampleForm : public TSampleControl {
 public:
  explicit TSampleForm(TComponent* owner) : TSampleControl(owner) {}
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;

  void ButtonClick(TObject* sender) { clicks.push_back(sender); }
  void TimerTick(TObject* sender) { ticks.push_back(sender); }
  std::vector<TObject*> clicks;
  std::vector<TObject*> ticks;
};

// Registers the sample classes (once).
void RegisterSampleClasses();

// A window with a nested control tree, a non-visual component and settings of every kind
// (owned by the caller).
TSampleForm* BuildForm();
// Every observable setting of a control and its children, references by name and handlers by
// the name of the method of `form` they reach.
std::string Describe(TSampleControl& c, const TSampleForm& form);

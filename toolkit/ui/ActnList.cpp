// Action lists, actions and the links of their clients.
#include "toolkit/ui/ActnList.h"

#include <algorithm>

#include "toolkit/classes/Filer.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/ui/ImgList.h"

// ---- TActionLink -------------------------------------------------------------------------------

TActionLink::~TActionLink() { SetAction(nullptr); }

void TActionLink::SetAction(TAction* action) {
  if (action == action_) return;
  if (action_ != nullptr) {
    auto& links = action_->links_;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
  }
  action_ = action;
  if (action_ != nullptr) {
    action_->links_.push_back(this);
    OnChange(action_);
  }
}

bool TActionLink::Execute() { return action_ != nullptr && action_->Execute(); }

// ---- TAction -----------------------------------------------------------------------------------

const TClassInfo& TAction::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TAction>("TAction", &TComponent::StaticClass())
          .Property("Caption", &TAction::Caption, &TAction::SetCaption)
          .Property("Category", &TAction::Category, &TAction::SetCategory)
          .Property("Checked", &TAction::Checked, &TAction::SetChecked)
          .Default(false)
          .Property("Enabled", &TAction::Enabled, &TAction::SetEnabled)
          .Default(true)
          .Property("Hint", &TAction::Hint, &TAction::SetHint)
          .Property("ImageIndex", &TAction::ImageIndex, &TAction::SetImageIndex)
          .Default(-1)
          .Property("Visible", &TAction::Visible, &TAction::SetVisible)
          .Default(true)
          .Property("OnExecute", [](TAction& a) { return a.OnExecute; }, [](TAction& a, TNotifyEvent e) { a.OnExecute = e; })
          .Property("OnUpdate", [](TAction& a) { return a.OnUpdate; }, [](TAction& a, TNotifyEvent e) { a.OnUpdate = e; })
          .Build();
  return info;
}

TAction::TAction(TComponent* owner) : TComponent(owner) {}

TAction::~TAction() {
  const std::vector<TActionLink*> links = links_;
  for (TActionLink* link : links) link->SetAction(nullptr);
  SetActionList(nullptr);
}

void TAction::SetActionList(TActionList* value) {
  if (value == actionList_) return;
  if (actionList_ != nullptr) {
    auto& list = actionList_->actions_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  actionList_ = value;
  if (actionList_ != nullptr) actionList_->actions_.push_back(this);
}

int TAction::Index() const {
  if (actionList_ == nullptr) return -1;
  const auto& list = actionList_->actions_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

TComponent* TAction::GetParentComponent() const { return actionList_; }

void TAction::SetParentComponent(TComponent* value) { SetActionList(dynamic_cast<TActionList*>(value)); }

void TAction::Changed() {
  const std::vector<TActionLink*> links = links_;
  for (TActionLink* link : links) link->OnChange(this);
}

void TAction::SetCaption(const std::string& value) {
  if (value == caption_) return;
  caption_ = value;
  Changed();
}

void TAction::SetHint(const std::string& value) {
  if (value == hint_) return;
  hint_ = value;
  Changed();
}

void TAction::SetImageIndex(int value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  Changed();
}

void TAction::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Changed();
}

void TAction::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  Changed();
}

void TAction::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Changed();
}

bool TAction::Execute() {
  Update();
  if (!enabled_) return false;
  bool handled = false;
  if (actionList_ != nullptr) actionList_->OnExecute(this, handled);
  if (handled) return true;
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

// ---- TActionList -------------------------------------------------------------------------------

const TClassInfo& TActionList::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TActionList>("TActionList", &TComponent::StaticClass())
          .Property("Images", &TActionList::Images, &TActionList::SetImages)
          .Property("OnExecute", [](TActionList& l) { return l.OnExecute; },
                    [](TActionList& l, TMethodEvent<TAction*, bool&> e) { l.OnExecute = e; })
          .Build();
  return info;
}

TActionList::TActionList(TComponent* owner) : TComponent(owner) {}

TActionList::~TActionList() {
  const std::vector<TAction*> actions = actions_;
  for (TAction* action : actions) action->actionList_ = nullptr;
}

void TActionList::SetImages(TCustomImageList* value) {
  if (value == images_) return;
  images_ = value;
  if (value != nullptr) value->FreeNotification(this);
}

void TActionList::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == images_) images_ = nullptr;
}

void TActionList::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TAction* action : actions_) {
    if (action->Owner() == root) proc(action);
  }
}

void TAction::ReadState(TReader& reader) {
  if (reader.Parent() != nullptr) SetParentComponent(reader.Parent());
  TComponent::ReadState(reader);
}

// Actions: TActionList (a component holding actions and the images they name) and TAction (a
// command with a caption, hint, image, enabled/checked/visible state and OnExecute). Menu
// items and tool buttons link to an action through TActionLink: they take the action's
// properties when linked and whenever one changes, and a click executes the action.
#pragma once

#include <string>
#include <vector>

#include "toolkit/classes/Component.h"
#include "toolkit/classes/Events.h"

class TActionList;
class TCustomImageList;
class TAction;

// The client's side of a link: told of every change of the linked action.
class TActionLink {
 public:
  explicit TActionLink(TObject* client) : client_(client) {}
  TActionLink(const TActionLink&) = delete;
  TActionLink& operator=(const TActionLink&) = delete;
  virtual ~TActionLink();
  TObject* Client() const { return client_; }
  TAction* Action() const { return action_; }
  // Links to `action` (null: unlinks) and copies its properties to the client.
  void SetAction(TAction* action);
  // Runs the action; false when there is none or it is disabled.
  bool Execute();

  // Called with the whole action when linked and after any change of it.
  TMethodEvent<TAction*> OnChange;

 private:
  friend class TAction;
  TObject* client_;
  TAction* action_ = nullptr;
};

class TAction : public TComponent {
 public:
  explicit TAction(TComponent* owner);
  ~TAction() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  TActionList* ActionList() const { return actionList_; }
  void SetActionList(TActionList* value);
  int Index() const;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value);
  const std::string& Category() const { return category_; }
  void SetCategory(const std::string& value) { category_ = value; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);

  // Fires OnExecute (when enabled); true when a handler ran.
  virtual bool Execute();
  // Fires OnUpdate, where a handler can refresh Enabled and the other states.
  bool Update();

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;
  // Joins the parent the layout nests it in before reading its properties.
  void ReadState(TReader& reader) override;

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

 private:
  friend class TActionLink;
  friend class TActionList;
  void Changed();
  TActionList* actionList_ = nullptr;
  std::string caption_;
  std::string hint_;
  std::string category_;
  int imageIndex_ = -1;
  bool enabled_ = true;
  bool checked_ = false;
  bool visible_ = true;
  std::vector<TActionLink*> links_;
};

class TActionList : public TComponent {
 public:
  explicit TActionList(TComponent* owner);
  ~TActionList() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  int ActionCount() const { return static_cast<int>(actions_.size()); }
  TAction* Actions(int index) const { return actions_.at(static_cast<size_t>(index)); }
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* value);
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  void Notification(TComponent* component, TOperation operation) override;

  TMethodEvent<TAction*, bool&> OnExecute;

 private:
  friend class TAction;
  std::vector<TAction*> actions_;
  TCustomImageList* images_ = nullptr;
};

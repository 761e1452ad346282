// Cursor, fields, bookmarks and notifications of TDataSet, and the data-source link.
#include "toolkit/data/DataSet.h"

#include <algorithm>
#include <cstring>

#include "toolkit/classes/TypInfo.h"
#include "toolkit/data/DataSource.h"

// ---- TDataSet ----------------------------------------------------------------------------

const TClassInfo& TDataSet::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TDataSet>("TDataSet", &TComponent::StaticClass()).Build();
  return info;
}

TDataSet::TDataSet(TComponent* owner) : TComponent(owner) {}

TDataSet::~TDataSet() {
  // Subclasses close themselves; here only the links go.
  for (TDataSource* source : std::vector<TDataSource*>(sources_)) source->DataSetDestroyed();
}

void TDataSet::SetActive(bool value) {
  if (value == Active()) return;
  if (value) {
    try {
      InternalOpen();
    } catch (...) {
      fields_.clear();
      try {
        InternalClose();
      } catch (...) {
      }
      throw;
    }
    state_ = dsBrowse;
    UpdateFieldDefs();
    SetCursor(0);
    bof_ = true;
    Notify(Event::StateChange);
    Notify(Event::DataChange);
  } else {
    InternalClose();
    fields_.clear();
    state_ = dsInactive;
    cursor_ = 0;
    eof_ = bof_ = true;
    Notify(Event::StateChange);
  }
}

void TDataSet::InternalRefresh() {
  InternalClose();
  fields_.clear();
  InternalOpen();
}

void TDataSet::Refresh() {
  if (!Active()) throw EDatabaseError("Cannot perform this operation on a closed dataset");
  const int keep = cursor_;
  try {
    InternalRefresh();
  } catch (...) {
    fields_.clear();
    try {
      InternalClose();
    } catch (...) {
    }
    state_ = dsInactive;
    cursor_ = 0;
    eof_ = bof_ = true;
    Notify(Event::StateChange);
    throw;
  }
  SetCursor(std::min(keep, std::max(RecordCount() - 1, 0)));
  Notify(Event::DataChange);
}

void TDataSet::SetCursor(int record) {
  const int count = RecordCount();
  cursor_ = std::clamp(record, 0, std::max(count - 1, 0));
  eof_ = bof_ = count == 0;
}

void TDataSet::First() {
  if (!Active()) throw EDatabaseError("Cannot perform this operation on a closed dataset");
  SetCursor(0);
  bof_ = true;
  Notify(Event::DataChange);
}

void TDataSet::Last() {
  if (!Active()) throw EDatabaseError("Cannot perform this operation on a closed dataset");
  SetCursor(RecordCount() - 1);
  eof_ = true;
  Notify(Event::DataChange);
}

void TDataSet::Next() {
  if (!Active()) throw EDatabaseError("Cannot perform this operation on a closed dataset");
  if (RecordCount() == 0) return;  // Bof and Eof stay true
  bof_ = false;
  if (cursor_ + 1 < RecordCount()) {
    ++cursor_;
    Notify(Event::DataChange);
  } else {
    eof_ = true;
  }
}

void TDataSet::Prior() {
  if (!Active()) throw EDatabaseError("Cannot perform this operation on a closed dataset");
  if (RecordCount() == 0) return;
  eof_ = false;
  if (cursor_ > 0) {
    --cursor_;
    Notify(Event::DataChange);
  } else {
    bof_ = true;
  }
}

void TDataSet::DisableControls() {
  if (disableCount_++ == 0) {
    stateAtDisable_ = state_;
    dataChangedWhileDisabled_ = false;
  }
}

void TDataSet::EnableControls() {
  if (disableCount_ == 0 || --disableCount_ > 0) return;
  if (state_ != stateAtDisable_) Notify(Event::StateChange);
  if (dataChangedWhileDisabled_ && Active()) Notify(Event::DataChange);
  dataChangedWhileDisabled_ = false;
}

TBookmark TDataSet::GetBookmark() const {
  if (!Active() || RecordCount() == 0) return {};
  TBookmark b(sizeof(int));
  std::memcpy(b.data(), &cursor_, sizeof(int));
  return b;
}

bool TDataSet::BookmarkValid(const TBookmark& bookmark) const {
  if (bookmark.size() != sizeof(int) || !Active()) return false;
  int record = 0;
  std::memcpy(&record, bookmark.data(), sizeof(int));
  return record >= 0 && record < RecordCount();
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
  if (bookmark.empty()) return;
  if (!BookmarkValid(bookmark)) throw EDatabaseError("Record not found");
  int record = 0;
  std::memcpy(&record, bookmark.data(), sizeof(int));
  cursor_ = record;
  eof_ = bof_ = false;
  Notify(Event::DataChange);
}

TField* TDataSet::FindField(std::string_view fieldName) const {
  for (const auto& f : fields_)
    if (SameText(f->FieldName(), fieldName)) return f.get();
  return nullptr;
}

TField* TDataSet::FieldByName(std::string_view fieldName) const {
  if (TField* f = FindField(fieldName)) return f;
  std::string message = "Field '" + std::string(fieldName) + "' not found";
  if (!Name().empty()) message = Name() + ": " + message;
  throw EDatabaseError(message);
}

std::vector<std::string> TDataSet::GetFieldNames() const {
  std::vector<std::string> names;
  for (const auto& f : fields_) names.push_back(f->FieldName());
  return names;
}

void TDataSet::UpdateFieldDefs() {
  if (Active()) {
    fieldDefs_.clear();
    for (const auto& f : fields_) fieldDefs_.push_back({f->FieldName(), f->DataType()});
  } else {
    fieldDefs_ = InternalInitFieldDefs();
  }
}

void TDataSet::UpdateRecord() {
  if (!Active()) throw EDatabaseError("Cannot perform this operation on a closed dataset");
  Notify(Event::UpdateData);
}

const TFieldValue* TDataSet::CurrentValue(int index) const {
  if (!Active() || index < 0 || index >= FieldCount() || RecordCount() == 0) return nullptr;
  return &InternalValue(cursor_, index);
}

TFieldCell TDataSet::CurrentCell(int index) const {
  if (!Active() || index < 0 || index >= FieldCount() || RecordCount() == 0) return {};
  return InternalCell(cursor_, index);
}

TFieldCell TDataSet::InternalCell(int record, int field) const {
  return TFieldCell::Of(InternalValue(record, field));
}

void TDataSet::AddField(const std::string& fieldName, TFieldType dataType) {
  fields_.push_back(std::make_unique<TField>(this, fieldName, dataType, FieldCount()));
}

void TDataSet::Notify(Event event) {
  if (disableCount_ > 0) {
    if (event == Event::DataChange) dataChangedWhileDisabled_ = true;
    return;
  }
  // A handler may attach or detach sources: walk a copy, skipping those gone meanwhile.
  const std::vector<TDataSource*> sources = sources_;
  for (TDataSource* source : sources) {
    if (std::find(sources_.begin(), sources_.end(), source) == sources_.end()) continue;
    if (!source->Enabled()) continue;
    switch (event) {
      case Event::StateChange:
        source->UpdateState();
        break;
      case Event::DataChange:
        if (source->OnDataChange) source->OnDataChange(source, nullptr);
        break;
      case Event::UpdateData:
        if (source->OnUpdateData) source->OnUpdateData(source);
        break;
    }
  }
}

void TDataSet::Attach(TDataSource* source) {
  if (std::find(sources_.begin(), sources_.end(), source) == sources_.end())
    sources_.push_back(source);
}

void TDataSet::Detach(TDataSource* source) {
  sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

// ---- TDataSource -------------------------------------------------------------------------

const TClassInfo& TDataSource::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TDataSource>("TDataSource", &TComponent::StaticClass())
          .Property("Enabled", &TDataSource::Enabled, &TDataSource::SetEnabled)
          .Default(true)
          .Property("OnStateChange", [](TDataSource& d) { return d.OnStateChange; },
                    [](TDataSource& d, const TNotifyEvent& e) { d.OnStateChange = e; })
          .Property("OnUpdateData", [](TDataSource& d) { return d.OnUpdateData; },
                    [](TDataSource& d, const TNotifyEvent& e) { d.OnUpdateData = e; })
          .Build();
  return info;
}

TDataSource::~TDataSource() {
  if (dataSet_) dataSet_->Detach(this);
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  if (dataSet_) dataSet_->Detach(this);
  dataSet_ = dataSet;
  if (dataSet_) dataSet_->Attach(this);
  UpdateState();
}

void TDataSource::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  UpdateState();
}

void TDataSource::UpdateState() {
  const TDataSetState now = dataSet_ && enabled_ ? dataSet_->State() : dsInactive;
  if (now == state_) return;
  state_ = now;
  if (OnStateChange) OnStateChange(this);
}

void TDataSource::DataSetDestroyed() {
  dataSet_ = nullptr;
  UpdateState();
}

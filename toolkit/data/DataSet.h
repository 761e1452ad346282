// TDataSet: the read-only record cursor through which grids and the database-bound chart read
// query results. It keeps the field list and the current record, and tells its data sources of
// state changes (open/close), data changes (open, scroll, refresh) and update requests; while
// controls are disabled those notifications wait and one summary follows EnableControls.
// Subclasses supply the records (InternalOpen/InternalClose and the value access).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/classes/Component.h"
#include "toolkit/data/Field.h"
#include "toolkit/rtl/SysUtils.h"

class TDataSource;

VK_DECLARE_EXCEPTION(EDatabaseError, Exception);

enum TDataSetState { dsInactive, dsBrowse };

// A saved cursor position; empty means none. Free it with FreeBookmark (or let it go).
using TBookmark = std::vector<unsigned char>;

// A field's name and kind as the data set declares them, known without opening it.
struct TFieldDef {
  std::string Name;
  TFieldType DataType = ftUnknown;
};

class TDataSet : public TComponent {
 public:
  explicit TDataSet(TComponent* owner = nullptr);
  ~TDataSet() override;

  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // Opening runs InternalOpen, builds the fields and moves to the first record; state becomes
  // dsBrowse and the data sources hear a state change and then a data change. Errors of
  // InternalOpen propagate and leave the data set closed. Closing frees the fields.
  bool Active() const { return state_ != dsInactive; }
  void SetActive(bool value);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  TDataSetState State() const { return state_; }
  // Re-reads the records (InternalRefresh), keeps the record number where it still exists and
  // sends a data change. Raises EDatabaseError on a closed data set.
  void Refresh();

  // Cursor. Eof is true after Next moves past the last record, and on an empty or closed data
  // set; Bof likewise before the first.
  void First();
  void Next();
  void Prior();
  void Last();
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  // 1-based number of the current record; 0 without one.
  int RecNo() const { return Active() && RecordCount() > 0 ? cursor_ + 1 : 0; }
  int RecordCount() const { return Active() ? InternalRecordCount() : 0; }
  bool IsEmpty() const { return RecordCount() == 0; }

  // Nesting counter: data-source notifications wait until the outermost EnableControls, which
  // sends the state change (when the state differs) and one data change (when anything moved).
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }

  TBookmark GetBookmark() const;
  // Moves to the bookmarked record. An empty bookmark (what GetBookmark gives on an empty data
  // set) does nothing; a stale one raises EDatabaseError "Record not found".
  void GotoBookmark(const TBookmark& bookmark);
  void FreeBookmark(TBookmark& bookmark) const { bookmark.clear(); }
  bool BookmarkValid(const TBookmark& bookmark) const;

  // Fields of the open data set, in column order.
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  TField* Fields(int index) const { return fields_.at(static_cast<size_t>(index)).get(); }
  // Case-insensitive lookup; null when there is no such field.
  TField* FindField(std::string_view fieldName) const;
  // Raises EDatabaseError "Field 'x' not found" (prefixed by the data set's name and ": "
  // when it has one).
  TField* FieldByName(std::string_view fieldName) const;
  std::vector<std::string> GetFieldNames() const;
  // The field definitions last read by UpdateFieldDefs (or by opening).
  const std::vector<TFieldDef>& FieldDefs() const { return fieldDefs_; }
  // Reads the field definitions: from the fields when open, else from InternalInitFieldDefs.
  // Errors of the latter propagate.
  void UpdateFieldDefs();

  // Asks the data sources to write pending edits (their update-data notification).
  void UpdateRecord();

  // The current record's value of field `index`; null without a current record.
  const TFieldValue* CurrentValue(int index) const;
  // The same value read in place; a Null cell without a current record.
  TFieldCell CurrentCell(int index) const;

 protected:
  // Loads the records and declares the fields (AddField) in column order. Raise on failure.
  virtual void InternalOpen() = 0;
  // Drops the records.
  virtual void InternalClose() = 0;
  // Reloads the records of an open data set (default: close and open again internally).
  virtual void InternalRefresh();
  virtual int InternalRecordCount() const = 0;
  virtual const TFieldValue& InternalValue(int record, int field) const = 0;
  // A value read in place (default: through InternalValue). Stores that keep their rows in
  // another form answer here without building a TFieldValue.
  virtual TFieldCell InternalCell(int record, int field) const;
  // The field definitions of the closed data set (default: none known).
  virtual std::vector<TFieldDef> InternalInitFieldDefs() { return {}; }

  void AddField(const std::string& fieldName, TFieldType dataType);

 private:
  friend class TDataSource;
  enum class Event { StateChange, DataChange, UpdateData };
  void Notify(Event event);
  void SetCursor(int record);
  void Attach(TDataSource* source);
  void Detach(TDataSource* source);

  TDataSetState state_ = dsInactive;
  std::vector<std::unique_ptr<TField>> fields_;
  std::vector<TFieldDef> fieldDefs_;
  std::vector<TDataSource*> sources_;
  int cursor_ = 0;
  bool eof_ = true;
  bool bof_ = true;
  int disableCount_ = 0;
  TDataSetState stateAtDisable_ = dsInactive;
  bool dataChangedWhileDisabled_ = false;
};

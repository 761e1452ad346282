// TCustomListView: a thin wrapper over the platform's list view (SysListView32). Each item of the
// window carries its TListItem as item data and lives exactly as long as the item (the delete
// notification frees it). Captions, sub-item texts and images are answered on demand (GetItemText
// / GetImageIndex), image lists are borrowed handles the view never destroys, and the
// notifications the shell list needs arrive as virtual operations.
#pragma once

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "toolkit/ui/WinControl.h"

#include <commctrl.h>

class TCustomListView;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

class TListItem {
 public:
  TListItem(const TListItem&) = delete;
  TListItem& operator=(const TListItem&) = delete;

  TCustomListView* Owner() const { return owner_; }
  // The item's current position in the view; -1 once it is gone.
  int Index() const;
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  // Sub-item texts: column k > 0 shows SubItems[k - 1].
  std::vector<std::string>& SubItems() { return subItems_; }
  void* Data() const { return data_; }
  void SetData(void* value) { data_ = value; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value) { imageIndex_ = value; }
  void SetOverlayIndex(int value);
  bool Selected() const;
  void SetSelected(bool value);
  bool Focused() const;
  void SetFocused(bool value);
  // The check box (with Checkboxes on).
  bool Checked() const;
  void SetChecked(bool value);
  TRect DisplayRect(int code) const;  // LVIR_BOUNDS, LVIR_ICON, LVIR_LABEL
  bool EditCaption();
  void Delete();

 private:
  friend class TCustomListView;
  explicit TListItem(TCustomListView* owner) : owner_(owner) {}
  TCustomListView* owner_;
  std::string caption_;
  std::vector<std::string> subItems_;
  void* data_ = nullptr;
  int imageIndex_ = -1;
};

// Negative, 0 or positive, as the first item sorts before, with or after the second.
using TLVCompare = std::function<int(TListItem*, TListItem*)>;

class TCustomListView : public TWinControl {
 public:
  explicit TCustomListView(TComponent* owner);
  ~TCustomListView() override;
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }

  // ---- Columns -----------------------------------------------------------------------
  int AddColumn(const std::string& caption, int width, TAlignment alignment = taLeftJustify);
  void ClearColumns();
  int ColumnCount();
  int ColumnWidth(int index);
  void SetColumnWidth(int index, int width);
  std::string ColumnCaption(int index);
  HWND HeaderHandle();

  // ---- Items -------------------------------------------------------------------------
  TListItem* AddItem(const std::string& caption, void* data = nullptr);
  void ClearItems();
  int ItemCount();
  TListItem* Item(int index);
  TListItem* ItemFromParam(LPARAM param);
  TListItem* Selected();
  int SelCount();
  std::vector<TListItem*> SelectedItems();
  TListItem* ItemFocused();
  TListItem* GetItemAt(int x, int y);
  bool CustomSort(const TLVCompare& compare);
  void BeginUpdate();
  void EndUpdate();
  bool IsEditing();

  TViewStyle ViewStyle() const { return viewStyle_; }
  virtual void SetViewStyle(TViewStyle value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool value);
  bool Checkboxes() const { return checkboxes_; }
  void SetCheckboxes(bool value);
  HIMAGELIST SmallImages() const { return smallImages_; }
  void SetSmallImages(HIMAGELIST value);
  HIMAGELIST LargeImages() const { return largeImages_; }
  void SetLargeImages(HIMAGELIST value);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& message) override;

  // The text of column `column` (0: the caption).
  virtual std::string GetItemText(TListItem* item, int column);
  virtual void GetImageIndex(TListItem*) {}
  virtual void Delete(TListItem*) {}
  virtual void ColumnClick(int) {}
  virtual bool CanEdit(TListItem*) { return !readOnly_; }
  // End of label editing: `text` nil when cancelled; the base sets the caption.
  virtual void Edit(TListItem* item, const std::string* text);
  virtual std::string EditorText(TListItem* item) { return item->Caption(); }
  virtual void BeginDragNotify(TListItem*, bool /*rightButton*/) {}
  virtual bool ListNotify(NMHDR* header, LRESULT& result);
  // True while an item's EditCaption (not the user) starts label editing.
  bool EditStartedByCode() const { return editByCode_; }

 private:
  friend class TListItem;
  void ForgetItem(TListItem* item);
  void UpdateStyle();

  std::unordered_set<TListItem*> items_;
  TViewStyle viewStyle_ = vsReport;
  bool readOnly_ = false;
  bool rowSelect_ = false;
  bool checkboxes_ = false;
  bool editByCode_ = false;
  HIMAGELIST smallImages_ = nullptr;
  HIMAGELIST largeImages_ = nullptr;
  int updateCount_ = 0;
};

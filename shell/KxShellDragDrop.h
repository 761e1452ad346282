// OLE drag and drop of shell objects between the shell controls, the desktop and other
// programs: the two data blocks ("Shell IDList Array" and CF_HDROP), the format list and its
// enumerator, the data objects of a tree node and of list items, the drop source, the drop-
// target forwarder a control registers for its window, and the routines that find the drop
// target of an item and the effects a drop may have. Every COM object here counts its own
// references from 0 and frees itself when the count returns to 0; no exception leaves one of
// their methods. Blocks that come from other programs are validated before they are read.
#pragma once

#include <string>
#include <vector>

#include "shell/KxIdList.h"

#include <ole2.h>

// ---- Blocks ---------------------------------------------------------------------------------

// A movable, zero-filled global block holding a CIDA: the count, N + 1 offsets, the parent's
// absolute list (nil: the desktop's empty list) and the N relative lists. E_OUTOFMEMORY when it
// cannot be allocated.
HRESULT BuildIdListArrayBlock(PCIDL parent, const std::vector<PCIDL>& items, HGLOBAL& block);

// A CIDA read back: copies of the parent list and the items (shell allocator, owned here).
struct TKxIdListArrayData {
  TIdListPtr Parent;
  std::vector<TIdListPtr> Items;
};
// Reads `size` bytes of a CIDA: the count, every offset and every list with its terminator must
// lie inside them and every item count must be at least 2. False (nothing read outside the
// bytes) for a malformed block.
bool ParseIdListArray(const void* bytes, size_t size, TKxIdListArrayData& data);

// A movable global DROPFILES block of wide paths, each ended by a zero, the list by one more
// zero: exactly 20 + 2 * (sum of (length + 1)) + 2 bytes. E_OUTOFMEMORY when it cannot be made,
// E_INVALIDARG for no paths or an empty path.
HRESULT BuildHDropBlock(const std::vector<std::wstring>& paths, HGLOBAL& block);

// A new movable block with the same bytes; nil when it cannot be made.
HGLOBAL CopyGlobalBlock(HGLOBAL block);

// ---- Formats --------------------------------------------------------------------------------

// FORMATETC records, each owning a deep copy of its target device.
class TKxFormatEtcList {
 public:
  TKxFormatEtcList() = default;
  TKxFormatEtcList(const TKxFormatEtcList&) = delete;
  TKxFormatEtcList& operator=(const TKxFormatEtcList&) = delete;
  ~TKxFormatEtcList();

  // Appends one record per format: DVASPECT_CONTENT, lindex -1, TYMED_HGLOBAL.
  void Add(const CLIPFORMAT* formats, int count);
  void AddRecord(const FORMATETC& record);
  // S_OK for an offered format with a common medium; DV_E_TYMED for an offered format without
  // one; DV_E_FORMATETC otherwise (also for an aspect other than DVASPECT_CONTENT).
  HRESULT QueryGetData(const FORMATETC& format) const;
  int Count() const { return static_cast<int>(records_.size()); }
  const FORMATETC& Record(int index) const { return records_[static_cast<size_t>(index)]; }

  // Reference count of the list itself: enumerators keep it alive after its data object went.
  void AddRef() { ++refs_; }
  void Release();

 private:
  std::vector<FORMATETC> records_;
  long refs_ = 1;
};

// Copies a FORMATETC and its target device (CoTaskMemAlloc); nil device stays nil.
FORMATETC CopyFormatEtc(const FORMATETC& source);

// IEnumFORMATETC over a format list (which it holds a reference of).
class TKxFormatEtcList_IEnumFormatEtc final : public IEnumFORMATETC {
 public:
  TKxFormatEtcList_IEnumFormatEtc(TKxFormatEtcList* list, int index);
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* records, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** out) override;

 private:
  ~TKxFormatEtcList_IEnumFormatEtc();
  TKxFormatEtcList* list_;
  int index_;
  ULONG refs_ = 0;
};

// ---- Data objects ---------------------------------------------------------------------------

// IDataObject over a "Shell IDList Array" block and a CF_HDROP block (each offered only when it
// exists, the ID list array first). GetData hands out copies.
class TKxShellDataObject : public IDataObject {
 public:
  // Takes over both blocks (either may be nil).
  TKxShellDataObject(HGLOBAL idListArray, HGLOBAL hdrop);
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 protected:
  virtual ~TKxShellDataObject();

 private:
  HGLOBAL idListArray_;
  HGLOBAL hdrop_;
  TKxFormatEtcList* formats_;
  ULONG refs_ = 0;
};

// The data object of items of one folder: `parent` the folder's absolute list (nil: the
// desktop), `items` relative lists in it. The CF_HDROP block lists the items' file-system paths
// and is left out when any item has none. Nil when no item is given.
TKxShellDataObject* MakeShellDataObject(PCIDL parent, const std::vector<PCIDL>& items);

// The data object of one tree node (parent's absolute list, the node's relative list).
class TDataObject_shtv : public TKxShellDataObject {
 public:
  using TKxShellDataObject::TKxShellDataObject;
};
TDataObject_shtv* MakeTreeNodeDataObject(PCIDL parentAbsolute, PCIDL relative);

// ---- Drop source ----------------------------------------------------------------------------

enum class TKxDragButton : int { Left = 0, Right = 1, Middle = 2 };

class TDropSource_shlvtv final : public IDropSource {
 public:
  explicit TDropSource_shlvtv(TKxDragButton button);
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // Escape or another mouse button cancels; the drag button still down goes on; else drop.
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

 private:
  DWORD button_;
  ULONG refs_ = 0;
};

// ---- Drop targets ---------------------------------------------------------------------------

// What a control does with a drop over its window; positions in screen coordinates.
class IKxDropTargetOwner {
 public:
  virtual void DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) = 0;
  virtual void DragOver(DWORD keyState, POINTL point, DWORD& effect) = 0;
  virtual void DragLeave() = 0;
  virtual void Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) = 0;

 protected:
  ~IKxDropTargetOwner() = default;
};

// The registered IDropTarget of a control's window: passes the four calls to the control until
// the control forgets it (Forget), after which every call answers no effect. A failure inside
// the control gives no effect, never an exception.
class TKxDropTargetForwarder final : public IDropTarget {
 public:
  explicit TKxDropTargetForwarder(IKxDropTargetOwner* owner) : owner_(owner) {}
  void Forget() { owner_ = nullptr; }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;

 private:
  IKxDropTargetOwner* owner_;
  ULONG refs_ = 0;
};
using TDropTarget_shtv = TKxDropTargetForwarder;
using TDropTarget_shlv = TKxDropTargetForwarder;

// Splits an absolute list into its containing folder (one reference), a copy of the list
// without its last item (nil for a one-item list) and a copy of the last item. The empty list
// (the desktop) stands for the desktop's file-system directory. A failure is returned with all
// three nil.
HRESULT SplitIdList(PCIDL absolute, IShellFolder*& folder, PIDL& parent, PIDL& last);
// The UI object `iid` of an absolute item (its containing folder's GetUIObjectOf).
HRESULT DropTargetOfIdList(PCIDL absolute, REFIID iid, void** object);
// The drop target of the desktop's file-system directory (one reference, nil on failure).
IDropTarget* DesktopDropTarget();
// The parent list and last item of the desktop directory's list (both owned by the caller).
HRESULT DesktopDirectoryParts(PIDL& parent, PIDL& last);
// The effects a drop of `data` may have: 7 unless it carries a valid "Shell IDList Array"; then
// the copy, move and link bits its items allow in their parent; 0 for a malformed array.
DWORD AllowedDropEffects(IDataObject* data);
// Drops `data` on a shell target as the shell tree and list do: DragEnter and DragOver with the
// keys, then, under the hourglass, Drop with `effect` narrowed to AllowedDropEffects. A target
// that was entered always hears the end: when the effects check raises it gets DragLeave and
// the exception goes on (effect none).
void DropOnShellTarget(IDropTarget* target, IDataObject* data, DWORD keyState, POINTL point, DWORD& effect);

// Shell drag and drop: blocks, formats, data objects, drop source, drop-target forwarder.
#include "shell/KxShellDragDrop.h"

#include <cstring>
#include <limits>

#include "shell/KxIdListArray.h"
#include "shell/KxShellCtrls.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Screen.h"

namespace {

const ITEMIDLIST kEmptyList = {};

// The size of a list that must end inside [list, end): 0 when it does not.
size_t BoundedListSize(const unsigned char* list, const unsigned char* end) {
  const unsigned char* p = list;
  for (;;) {
    if (end - p < 2) return 0;
    const unsigned cb = static_cast<unsigned>(p[0]) | (static_cast<unsigned>(p[1]) << 8);
    if (cb == 0) return static_cast<size_t>(p - list) + 2;
    if (cb < 2 || static_cast<size_t>(end - p) < cb) return 0;
    p += cb;
  }
}

TIdListPtr CopyBytesAsList(const unsigned char* bytes, size_t size) {
  auto* copy = static_cast<ITEMIDLIST*>(ShellAlloc(size));
  if (!copy) return nullptr;
  std::memcpy(copy, bytes, size);
  return TIdListPtr(copy);
}

// Locks a global block for reading; unlocks on every path.
class TGlobalLock {
 public:
  explicit TGlobalLock(HGLOBAL block) : block_(block), p_(block ? GlobalLock(block) : nullptr) {}
  ~TGlobalLock() {
    if (p_) GlobalUnlock(block_);
  }
  TGlobalLock(const TGlobalLock&) = delete;
  TGlobalLock& operator=(const TGlobalLock&) = delete;
  void* Get() const { return p_; }

 private:
  HGLOBAL block_;
  void* p_;
};

}  // namespace

// ---- Blocks ---------------------------------------------------------------------------------

HRESULT BuildIdListArrayBlock(PCIDL parent, const std::vector<PCIDL>& items, HGLOBAL& block) {
  block = nullptr;
  if (!parent) parent = &kEmptyList;
  const size_t count = items.size();
  size_t total = 4 + 4 * (count + 1) + IdListSize(parent);
  for (PCIDL item : items) total += IdListSize(item ? item : &kEmptyList);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, total);
  if (!memory) return E_OUTOFMEMORY;
  auto* bytes = static_cast<unsigned char*>(GlobalLock(memory));
  if (!bytes) {
    GlobalFree(memory);
    return E_OUTOFMEMORY;
  }
  auto put32 = [&](size_t at, uint32_t value) { std::memcpy(bytes + at, &value, 4); };
  put32(0, static_cast<uint32_t>(count));
  size_t offset = 4 + 4 * (count + 1);
  auto place = [&](size_t slot, PCIDL list) {
    const size_t size = IdListSize(list);
    put32(4 + 4 * slot, static_cast<uint32_t>(offset));
    std::memcpy(bytes + offset, list, size);
    offset += size;
  };
  place(0, parent);
  for (size_t i = 0; i < count; ++i) place(i + 1, items[i] ? items[i] : &kEmptyList);
  GlobalUnlock(memory);
  block = memory;
  return S_OK;
}

bool ParseIdListArray(const void* data, size_t size, TKxIdListArrayData& out) {
  out.Parent.reset();
  out.Items.clear();
  const auto* bytes = static_cast<const unsigned char*>(data);
  if (!bytes || size < 4) return false;
  uint32_t count = 0;
  std::memcpy(&count, bytes, 4);
  // The count and its N + 1 offsets must fit.
  if (static_cast<uint64_t>((size - 4) / 4) < static_cast<uint64_t>(count) + 1) return false;
  const unsigned char* end = bytes + size;
  std::vector<TIdListPtr> lists;
  for (uint32_t i = 0; i <= count; ++i) {
    uint32_t offset = 0;
    std::memcpy(&offset, bytes + 4 + 4 * static_cast<size_t>(i), 4);
    if (offset >= size) return false;
    const size_t listSize = BoundedListSize(bytes + offset, end);
    if (listSize == 0) return false;
    TIdListPtr copy = CopyBytesAsList(bytes + offset, listSize);
    if (!copy) return false;
    lists.push_back(std::move(copy));
  }
  out.Parent = std::move(lists[0]);
  for (size_t i = 1; i < lists.size(); ++i) out.Items.push_back(std::move(lists[i]));
  return true;
}

HRESULT BuildHDropBlock(const std::vector<std::wstring>& paths, HGLOBAL& block) {
  block = nullptr;
  if (paths.empty()) return E_INVALIDARG;
  size_t chars = 1;  // the list's closing zero
  for (const std::wstring& path : paths) {
    if (path.empty()) return E_INVALIDARG;
    chars += path.size() + 1;
  }
  const size_t total = sizeof(DROPFILES) + chars * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, total);
  if (!memory) return E_OUTOFMEMORY;
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  if (!header) {
    GlobalFree(memory);
    return E_OUTOFMEMORY;
  }
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  auto* text = reinterpret_cast<wchar_t*>(reinterpret_cast<unsigned char*>(header) + sizeof(DROPFILES));
  for (const std::wstring& path : paths) {
    std::memcpy(text, path.data(), path.size() * sizeof(wchar_t));
    text += path.size() + 1;
  }
  GlobalUnlock(memory);
  block = memory;
  return S_OK;
}

HGLOBAL CopyGlobalBlock(HGLOBAL block) {
  if (!block) return nullptr;
  const SIZE_T size = GlobalSize(block);
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!copy) return nullptr;
  TGlobalLock from(block);
  void* to = GlobalLock(copy);
  if (!from.Get() || !to) {
    if (to) GlobalUnlock(copy);
    GlobalFree(copy);
    return nullptr;
  }
  std::memcpy(to, from.Get(), size);
  GlobalUnlock(copy);
  return copy;
}

// ---- Formats --------------------------------------------------------------------------------

FORMATETC CopyFormatEtc(const FORMATETC& source) {
  FORMATETC copy = source;
  copy.ptd = nullptr;
  if (source.ptd) {
    const DWORD size = source.ptd->tdSize;
    copy.ptd = static_cast<DVTARGETDEVICE*>(CoTaskMemAlloc(size));
    if (copy.ptd) std::memcpy(copy.ptd, source.ptd, size);
  }
  return copy;
}

TKxFormatEtcList::~TKxFormatEtcList() {
  for (FORMATETC& record : records_) CoTaskMemFree(record.ptd);
}

void TKxFormatEtcList::Release() {
  if (--refs_ == 0) delete this;
}

void TKxFormatEtcList::Add(const CLIPFORMAT* formats, int count) {
  for (int i = 0; i < count; ++i) {
    FORMATETC record{};
    record.cfFormat = formats[i];
    record.dwAspect = DVASPECT_CONTENT;
    record.lindex = -1;
    record.tymed = TYMED_HGLOBAL;
    records_.push_back(record);
  }
}

void TKxFormatEtcList::AddRecord(const FORMATETC& record) { records_.push_back(CopyFormatEtc(record)); }

HRESULT TKxFormatEtcList::QueryGetData(const FORMATETC& format) const {
  if (format.dwAspect != DVASPECT_CONTENT) return DV_E_FORMATETC;
  HRESULT result = DV_E_FORMATETC;
  for (const FORMATETC& record : records_) {
    if (record.cfFormat != format.cfFormat) continue;
    if (record.tymed & format.tymed) return S_OK;
    result = DV_E_TYMED;
  }
  return result;
}

TKxFormatEtcList_IEnumFormatEtc::TKxFormatEtcList_IEnumFormatEtc(TKxFormatEtcList* list, int index)
    : list_(list), index_(index) {
  list_->AddRef();
}

TKxFormatEtcList_IEnumFormatEtc::~TKxFormatEtcList_IEnumFormatEtc() { list_->Release(); }

HRESULT TKxFormatEtcList_IEnumFormatEtc::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumFORMATETC)) {
    *out = static_cast<IEnumFORMATETC*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG TKxFormatEtcList_IEnumFormatEtc::AddRef() { return ++refs_; }

ULONG TKxFormatEtcList_IEnumFormatEtc::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT TKxFormatEtcList_IEnumFormatEtc::Next(ULONG count, FORMATETC* records, ULONG* fetched) {
  if (!records) return E_POINTER;
  ULONG given = 0;
  while (given < count && index_ < list_->Count()) records[given++] = CopyFormatEtc(list_->Record(index_++));
  if (fetched) *fetched = given;
  return given == count ? S_OK : S_FALSE;
}

HRESULT TKxFormatEtcList_IEnumFormatEtc::Skip(ULONG count) {
  const ULONG left = static_cast<ULONG>(list_->Count() - index_);
  if (left < count) {
    index_ = list_->Count();
    return S_FALSE;
  }
  index_ += static_cast<int>(count);
  return S_OK;
}

HRESULT TKxFormatEtcList_IEnumFormatEtc::Reset() {
  index_ = 0;
  return S_OK;
}

HRESULT TKxFormatEtcList_IEnumFormatEtc::Clone(IEnumFORMATETC** out) {
  if (!out) return E_POINTER;
  auto* clone = new (std::nothrow) TKxFormatEtcList_IEnumFormatEtc(list_, index_);
  if (!clone) return E_OUTOFMEMORY;
  clone->AddRef();
  *out = clone;
  return S_OK;
}

// ---- Data objects ---------------------------------------------------------------------------

TKxShellDataObject::TKxShellDataObject(HGLOBAL idListArray, HGLOBAL hdrop)
    : idListArray_(idListArray), hdrop_(hdrop), formats_(new TKxFormatEtcList) {
  if (idListArray_) {
    const CLIPFORMAT format = static_cast<CLIPFORMAT>(ShellIdListFormat());
    formats_->Add(&format, 1);
  }
  if (hdrop_) {
    const CLIPFORMAT format = CF_HDROP;
    formats_->Add(&format, 1);
  }
}

TKxShellDataObject::~TKxShellDataObject() {
  if (idListArray_) GlobalFree(idListArray_);
  if (hdrop_) GlobalFree(hdrop_);
  formats_->Release();
}

HRESULT TKxShellDataObject::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
    *out = static_cast<IDataObject*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG TKxShellDataObject::AddRef() { return ++refs_; }

ULONG TKxShellDataObject::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT TKxShellDataObject::QueryGetData(FORMATETC* format) {
  if (!format) return E_INVALIDARG;
  return formats_->QueryGetData(*format);
}

HRESULT TKxShellDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (!format || !medium) return E_INVALIDARG;
  const HRESULT query = formats_->QueryGetData(*format);
  if (FAILED(query)) return query;
  HGLOBAL source = nullptr;
  if (format->cfFormat == ShellIdListFormat() && idListArray_) source = idListArray_;
  else if (format->cfFormat == CF_HDROP && hdrop_) source = hdrop_;
  else return DV_E_FORMATETC;
  HGLOBAL copy = CopyGlobalBlock(source);
  if (!copy) return E_OUTOFMEMORY;
  medium->tymed = TYMED_HGLOBAL;
  medium->hGlobal = copy;
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

HRESULT TKxShellDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
  if (out) out->ptd = nullptr;
  return E_NOTIMPL;
}

HRESULT TKxShellDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (direction != DATADIR_GET) return E_NOTIMPL;
  auto* enumerator = new (std::nothrow) TKxFormatEtcList_IEnumFormatEtc(formats_, 0);
  if (!enumerator) return E_OUTOFMEMORY;
  enumerator->AddRef();
  *out = enumerator;
  return S_OK;
}

namespace {

// The blocks of items of one folder; the CF_HDROP block only when every item has a path.
void BuildBlocks(PCIDL parent, const std::vector<PCIDL>& items, HGLOBAL& idListArray, HGLOBAL& hdrop) {
  idListArray = nullptr;
  hdrop = nullptr;
  BuildIdListArrayBlock(parent, items, idListArray);
  std::vector<std::wstring> paths;
  for (PCIDL item : items) {
    TIdListPtr absolute(ConcatIdLists(nullptr, parent, item));
    wchar_t buffer[MAX_PATH + 1] = {};
    if (!absolute || !SHGetPathFromIDListW(absolute.get(), buffer) || buffer[0] == 0) return;
    paths.emplace_back(buffer);
  }
  BuildHDropBlock(paths, hdrop);
}

}  // namespace

TKxShellDataObject* MakeShellDataObject(PCIDL parent, const std::vector<PCIDL>& items) {
  if (items.empty()) return nullptr;
  HGLOBAL idListArray, hdrop;
  BuildBlocks(parent, items, idListArray, hdrop);
  return new TKxShellDataObject(idListArray, hdrop);
}

TDataObject_shtv* MakeTreeNodeDataObject(PCIDL parentAbsolute, PCIDL relative) {
  HGLOBAL idListArray, hdrop;
  BuildBlocks(parentAbsolute, {relative}, idListArray, hdrop);
  return new TDataObject_shtv(idListArray, hdrop);
}

// ---- Drop source ----------------------------------------------------------------------------

TDropSource_shlvtv::TDropSource_shlvtv(TKxDragButton button) {
  switch (button) {
    case TKxDragButton::Right: button_ = MK_RBUTTON; break;
    case TKxDragButton::Middle: button_ = MK_MBUTTON; break;
    default: button_ = MK_LBUTTON; break;
  }
}

HRESULT TDropSource_shlvtv::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
    *out = static_cast<IDropSource*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG TDropSource_shlvtv::AddRef() { return ++refs_; }

ULONG TDropSource_shlvtv::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT TDropSource_shlvtv::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
  const DWORD others = (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON) & ~button_;
  if (escapePressed || (keyState & others)) return DRAGDROP_S_CANCEL;
  if (keyState & button_) return S_OK;
  return DRAGDROP_S_DROP;
}

// ---- Drop-target forwarder ------------------------------------------------------------------

HRESULT TKxDropTargetForwarder::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
    *out = static_cast<IDropTarget*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG TKxDropTargetForwarder::AddRef() { return ++refs_; }

ULONG TKxDropTargetForwarder::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT TKxDropTargetForwarder::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  try {
    if (owner_) owner_->DragEnter(data, keyState, point, *effect);
    else *effect = DROPEFFECT_NONE;
  } catch (...) {
    *effect = DROPEFFECT_NONE;
  }
  return S_OK;
}

HRESULT TKxDropTargetForwarder::DragOver(DWORD keyState, POINTL point, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  try {
    if (owner_) owner_->DragOver(keyState, point, *effect);
    else *effect = DROPEFFECT_NONE;
  } catch (...) {
    *effect = DROPEFFECT_NONE;
  }
  return S_OK;
}

HRESULT TKxDropTargetForwarder::DragLeave() {
  try {
    if (owner_) owner_->DragLeave();
  } catch (...) {
  }
  return S_OK;
}

HRESULT TKxDropTargetForwarder::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  try {
    if (owner_) owner_->Drop(data, keyState, point, *effect);
    else *effect = DROPEFFECT_NONE;
  } catch (...) {
    *effect = DROPEFFECT_NONE;
  }
  return S_OK;
}

// ---- Drop targets of items ------------------------------------------------------------------

HRESULT SplitIdList(PCIDL absolute, IShellFolder*& folder, PIDL& parent, PIDL& last) {
  folder = nullptr;
  parent = nullptr;
  last = nullptr;
  TIdListPtr desktopDirectory;
  if (!absolute || IsEmptyIdList(absolute)) {
    PIDL list = nullptr;
    const HRESULT hr = IdListFromPath(SpecialFolderPath(nullptr, CSIDL_DESKTOP), list);
    if (FAILED(hr)) return hr;
    desktopDirectory.reset(list);
    absolute = list;
  }
  TKxIdListArray items(absolute);
  const int count = items.Count();
  if (count == 0) return E_INVALIDARG;
  TIdListPtr lastCopy(CopyIdList(nullptr, items.Item(count - 1)));
  if (!lastCopy) return E_OUTOFMEMORY;
  if (count == 1) {
    const HRESULT hr = DesktopFolder(folder);
    if (FAILED(hr)) return hr;
    last = lastCopy.release();
    return S_OK;
  }
  TIdListPtr parentCopy(CopyIdList(nullptr, items.WithoutLast(1)));
  if (!parentCopy) return E_OUTOFMEMORY;
  const HRESULT hr = BindToFolderOfIdList(parentCopy.get(), folder);
  if (FAILED(hr)) return hr;
  parent = parentCopy.release();
  last = lastCopy.release();
  return hr;
}

HRESULT DropTargetOfIdList(PCIDL absolute, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  IShellFolder* folder = nullptr;
  PIDL parent = nullptr;
  PIDL last = nullptr;
  HRESULT hr = SplitIdList(absolute, folder, parent, last);
  TComRef<IShellFolder> holdFolder(folder);
  TIdListPtr holdParent(parent), holdLast(last);
  if (FAILED(hr)) return hr;
  PCIDL one = last;
  return folder->GetUIObjectOf(nullptr, 1, &one, iid, nullptr, object);
}

IDropTarget* DesktopDropTarget() {
  void* target = nullptr;
  if (FAILED(DropTargetOfIdList(nullptr, IID_IDropTarget, &target))) return nullptr;
  return static_cast<IDropTarget*>(target);
}

HRESULT DesktopDirectoryParts(PIDL& parent, PIDL& last) {
  IShellFolder* folder = nullptr;
  const HRESULT hr = SplitIdList(nullptr, folder, parent, last);
  if (folder) folder->Release();
  return hr;
}

DWORD AllowedDropEffects(IDataObject* data) {
  constexpr DWORD kAll = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  if (!data) return kAll;
  FORMATETC format{};
  format.cfFormat = static_cast<CLIPFORMAT>(ShellIdListFormat());
  format.dwAspect = DVASPECT_CONTENT;
  format.lindex = -1;
  format.tymed = TYMED_HGLOBAL;
  if (data->QueryGetData(&format) != S_OK) return kAll;
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&format, &medium))) return kAll;
  TKxIdListArrayData parsed;
  bool valid = false;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
    TGlobalLock lock(medium.hGlobal);
    if (lock.Get()) valid = ParseIdListArray(lock.Get(), GlobalSize(medium.hGlobal), parsed);
  }
  ReleaseStgMedium(&medium);
  if (!valid) return DROPEFFECT_NONE;
  if (parsed.Items.empty()) return DROPEFFECT_NONE;
  TComRef<IShellFolder> parent;
  OleCheck(BindToFolderOfIdList(parsed.Parent.get(), *parent.Put()));
  std::vector<PCIDL> items;
  for (const TIdListPtr& item : parsed.Items) items.push_back(item.get());
  SFGAOF attributes = kAll;
  OleCheck(parent->GetAttributesOf(static_cast<UINT>(items.size()), items.data(), &attributes));
  return attributes & kAll;
}

void DropOnShellTarget(IDropTarget* target, IDataObject* data, DWORD keyState, POINTL point, DWORD& effect) {
  DWORD offered = effect;
  target->DragEnter(data, keyState, point, &offered);
  target->DragOver(keyState, point, &offered);
  try {
    effect &= AllowedDropEffects(data);
  } catch (...) {
    effect = DROPEFFECT_NONE;
    target->DragLeave();
    throw;
  }
  THourGlass hourglass;
  target->Drop(data, keyState, point, &effect);
}

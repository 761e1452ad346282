// Drag-and-drop blocks and objects: the ID list array built and read back, malformed foreign
// arrays, CF_HDROP read back by the platform, the format list, enumerator, data object and drop
// source answers, and the forwarder after its control went.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "shell/KxShellCtrls.h"
#include "shell/KxShellDragDrop.h"
#include "toolkit/rtl/TextConv.h"

namespace {

std::vector<unsigned char> BlockBytes(HGLOBAL block) {
  const auto* p = static_cast<const unsigned char*>(GlobalLock(block));
  std::vector<unsigned char> bytes(p, p + GlobalSize(block));
  GlobalUnlock(block);
  return bytes;
}

FORMATETC Format(CLIPFORMAT format, DWORD tymed = TYMED_HGLOBAL, DWORD aspect = DVASPECT_CONTENT) {
  FORMATETC f{};
  f.cfFormat = format;
  f.dwAspect = aspect;
  f.lindex = -1;
  f.tymed = tymed;
  return f;
}

TEST(IdListArrayBlock, IsBuiltExactlyAndReadBack) {
  TIdListPtr parent = MakeIdList({{1, 2, 3}, {4}});
  TIdListPtr a = MakeIdList({{9, 9}});
  TIdListPtr b = MakeIdList({{7}});
  HGLOBAL block = nullptr;
  ASSERT_EQ(BuildIdListArrayBlock(parent.get(), {a.get(), b.get()}, block), S_OK);
  const std::vector<unsigned char> bytes = BlockBytes(block);
  GlobalFree(block);
  const size_t expected = 4 + 4 * 3 + IdListSize(parent.get()) + IdListSize(a.get()) + IdListSize(b.get());
  ASSERT_EQ(bytes.size(), expected);
  uint32_t count = 0, first = 0;
  std::memcpy(&count, bytes.data(), 4);
  std::memcpy(&first, bytes.data() + 4, 4);
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(first, 16u) << "the parent follows the offsets";
  TKxIdListArrayData data;
  ASSERT_TRUE(ParseIdListArray(bytes.data(), bytes.size(), data));
  EXPECT_EQ(IdListBytes(data.Parent.get()), IdListBytes(parent.get()));
  ASSERT_EQ(data.Items.size(), 2u);
  EXPECT_EQ(IdListBytes(data.Items[0].get()), IdListBytes(a.get()));
  EXPECT_EQ(IdListBytes(data.Items[1].get()), IdListBytes(b.get()));
}

TEST(IdListArrayBlock, TheDesktopParentIsTheEmptyList) {
  TIdListPtr item = MakeIdList({{5, 5}});
  HGLOBAL block = nullptr;
  ASSERT_EQ(BuildIdListArrayBlock(nullptr, {item.get()}, block), S_OK);
  const std::vector<unsigned char> bytes = BlockBytes(block);
  GlobalFree(block);
  ASSERT_GE(bytes.size(), 14u);
  EXPECT_EQ(bytes[12], 0);
  EXPECT_EQ(bytes[13], 0);
}

// Malformed arrays from other programs are refused; every case is handed over in a vector of
// exactly its bytes.
TEST(IdListArrayBlock, MalformedArraysAreRefused) {
  TIdListPtr item = MakeIdList({{5, 5}});
  HGLOBAL block = nullptr;
  ASSERT_EQ(BuildIdListArrayBlock(nullptr, {item.get()}, block), S_OK);
  const std::vector<unsigned char> good = BlockBytes(block);
  GlobalFree(block);
  auto with = [&](size_t at, uint32_t value) {
    std::vector<unsigned char> bytes = good;
    std::memcpy(bytes.data() + at, &value, 4);
    return bytes;
  };
  struct Case {
    const char* name;
    std::vector<unsigned char> bytes;
  } cases[] = {
      {"empty", {}},
      {"count only", {1, 0, 0}},
      {"huge count", with(0, 0xFFFFFFFFu)},
      {"offsets beyond the block", with(0, 1000)},
      {"parent offset outside", with(4, static_cast<uint32_t>(good.size()))},
      {"item offset outside", with(8, 0x7FFFFFF0u)},
      {"item without terminator", std::vector<unsigned char>(good.begin(), good.end() - 2)},
      {"item count running past the end", with(good.size() - 6, 0x0000FF00u)},
      {"item count of one", with(14, 0x00000001u)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Each case in its own exact-size heap block, so a read past it is a read past the block.
    std::vector<unsigned char> exact(c.bytes);
    TKxIdListArrayData data;
    EXPECT_FALSE(ParseIdListArray(exact.empty() ? nullptr : exact.data(), exact.size(), data));
    EXPECT_EQ(data.Parent, nullptr);
    EXPECT_TRUE(data.Items.empty());
  }
}

TEST(HDropBlock, NonAnsiAndLongPathsReadBackExactly) {
  std::wstring longPath = L"C:\\";
  while (longPath.size() < 310) longPath += L"abcdefghij\\";
  longPath.resize(310);
  const std::vector<std::wstring> paths = {L"C:\\温度\\données.bin", longPath, L"C:\\x"};
  HGLOBAL block = nullptr;
  ASSERT_EQ(BuildHDropBlock(paths, block), S_OK);
  size_t chars = 1;
  for (const auto& p : paths) chars += p.size() + 1;
  EXPECT_EQ(GlobalSize(block), sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto drop = static_cast<HDROP>(block);
  ASSERT_EQ(DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0), paths.size());
  for (UINT i = 0; i < paths.size(); ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    EXPECT_EQ(length, paths[i].size());
    std::wstring text(length + 1, L'\0');
    DragQueryFileW(drop, i, text.data(), length + 1);
    text.resize(length);
    EXPECT_EQ(text, paths[i]);
  }
  GlobalFree(block);
  EXPECT_EQ(BuildHDropBlock({}, block), E_INVALIDARG);
}

TEST(FormatList, AnswersQueriesByFormatMediumAndAspect) {
  TKxFormatEtcList* list = new TKxFormatEtcList;
  const CLIPFORMAT formats[] = {static_cast<CLIPFORMAT>(ShellIdListFormat()), CF_HDROP};
  list->Add(formats, 2);
  struct Case {
    const char* name;
    FORMATETC format;
    HRESULT expected;
  } cases[] = {
      {"offered", Format(CF_HDROP), S_OK},
      {"offered among others", Format(CF_HDROP, TYMED_HGLOBAL | TYMED_ISTREAM), S_OK},
      {"other medium", Format(CF_HDROP, TYMED_ISTREAM), DV_E_TYMED},
      {"not offered", Format(CF_TEXT), DV_E_FORMATETC},
      {"other aspect", Format(CF_HDROP, TYMED_HGLOBAL, DVASPECT_ICON), DV_E_FORMATETC},
  };
  for (const Case& c : cases) EXPECT_EQ(list->QueryGetData(c.format), c.expected) << c.name;
  list->Release();
}

class DataObjectTest : public ShellFolderTest {
 protected:
  // A data object of two files of the fixture.
  IDataObject* MakeObject() {
    MakeFile("one.txt", 3);
    MakeFile("twö.txt", 4);
    root_list_ = ListOf(root_);
    one_ = ListOf(root_ + "one.txt");
    two_ = ListOf(root_ + "twö.txt");
    const size_t rootSize = IdListSize(root_list_.get()) - 2;
    items_ = {reinterpret_cast<PCIDL>(reinterpret_cast<const char*>(one_.get()) + rootSize),
              reinterpret_cast<PCIDL>(reinterpret_cast<const char*>(two_.get()) + rootSize)};
    TKxShellDataObject* object = MakeShellDataObject(root_list_.get(), items_);
    IDataObject* data = nullptr;
    object->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data));
    return data;
  }
  TIdListPtr root_list_, one_, two_;
  std::vector<PCIDL> items_;
};

TEST_F(DataObjectTest, HandsOutCopiesOfBothBlocksInOrder) {
  IDataObject* data = MakeObject();
  IEnumFORMATETC* formats = nullptr;
  ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &formats), S_OK);
  FORMATETC got[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(formats->Next(3, got, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(got[0].cfFormat, ShellIdListFormat());
  EXPECT_EQ(got[1].cfFormat, CF_HDROP);
  formats->Release();
  EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &formats), E_NOTIMPL);

  FORMATETC hdrop = Format(CF_HDROP);
  STGMEDIUM first{}, second{};
  ASSERT_EQ(data->GetData(&hdrop, &first), S_OK);
  ASSERT_EQ(data->GetData(&hdrop, &second), S_OK);
  EXPECT_NE(first.hGlobal, second.hGlobal) << "each caller gets its own copy";
  wchar_t name[MAX_PATH] = {};
  ASSERT_EQ(DragQueryFileW(static_cast<HDROP>(first.hGlobal), 0xFFFFFFFF, nullptr, 0), 2u);
  DragQueryFileW(static_cast<HDROP>(first.hGlobal), 1, name, MAX_PATH);
  EXPECT_EQ(WideToUtf8(name), root_ + "twö.txt");
  ReleaseStgMedium(&first);
  ReleaseStgMedium(&second);

  FORMATETC ids = Format(static_cast<CLIPFORMAT>(ShellIdListFormat()));
  STGMEDIUM medium{};
  ASSERT_EQ(data->GetData(&ids, &medium), S_OK);
  TKxIdListArrayData parsed;
  ASSERT_TRUE(ParseIdListArray(GlobalLock(medium.hGlobal), GlobalSize(medium.hGlobal), parsed));
  GlobalUnlock(medium.hGlobal);
  ReleaseStgMedium(&medium);
  EXPECT_EQ(CompareIdLists(parsed.Parent.get(), root_list_.get()), 0);
  ASSERT_EQ(parsed.Items.size(), 2u);

  FORMATETC stream = Format(CF_HDROP, TYMED_ISTREAM);
  EXPECT_EQ(data->GetData(&stream, &medium), DV_E_TYMED);
  FORMATETC text = Format(CF_TEXT);
  EXPECT_EQ(data->QueryGetData(&text), DV_E_FORMATETC);
  EXPECT_EQ(data->SetData(&text, &medium, FALSE), E_NOTIMPL);
  DWORD connection = 0;
  EXPECT_EQ(data->DAdvise(&text, 0, nullptr, &connection), OLE_E_ADVISENOTSUPPORTED);
  data->Release();
}

TEST_F(DataObjectTest, AnEnumeratorOutlivesItsDataObject) {
  IDataObject* data = MakeObject();
  IEnumFORMATETC* formats = nullptr;
  ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &formats), S_OK);
  EXPECT_EQ(formats->Skip(1), S_OK);
  IEnumFORMATETC* clone = nullptr;
  ASSERT_EQ(formats->Clone(&clone), S_OK);
  data->Release();  // the last reference of the data object
  FORMATETC got{};
  EXPECT_EQ(clone->Next(1, &got, nullptr), S_OK);
  EXPECT_EQ(got.cfFormat, CF_HDROP);
  EXPECT_EQ(clone->Skip(1), S_FALSE);
  EXPECT_EQ(formats->Reset(), S_OK);
  EXPECT_EQ(formats->Next(1, &got, nullptr), S_OK);
  EXPECT_EQ(got.cfFormat, ShellIdListFormat());
  clone->Release();
  formats->Release();
}

TEST_F(DataObjectTest, ItemsWithoutAPathOfferNoFileList) {
  PIDL drives = nullptr;
  ASSERT_TRUE(SUCCEEDED(SpecialFolderIdList(nullptr, CSIDL_DRIVES, drives)));
  TIdListPtr hold(drives);
  TKxShellDataObject* object = MakeShellDataObject(nullptr, {drives});
  object->AddRef();
  FORMATETC hdrop = Format(CF_HDROP);
  FORMATETC ids = Format(static_cast<CLIPFORMAT>(ShellIdListFormat()));
  EXPECT_EQ(object->QueryGetData(&hdrop), DV_E_FORMATETC);
  EXPECT_EQ(object->QueryGetData(&ids), S_OK);
  object->Release();
}

TEST_F(DataObjectTest, AllowedEffectsComeFromTheItemsAndAMalformedArrayGivesNone) {
  IDataObject* data = MakeObject();
  const DWORD effects = AllowedDropEffects(data);
  EXPECT_NE(effects & DROPEFFECT_COPY, 0u);
  data->Release();

  // A foreign object whose array claims more items than it holds.
  HGLOBAL block = nullptr;
  TIdListPtr item = MakeIdList({{1}});
  ASSERT_EQ(BuildIdListArrayBlock(nullptr, {item.get()}, block), S_OK);
  auto* bytes = static_cast<uint32_t*>(GlobalLock(block));
  bytes[0] = 40;
  GlobalUnlock(block);
  TKxShellDataObject* bad = new TKxShellDataObject(block, nullptr);
  bad->AddRef();
  EXPECT_EQ(AllowedDropEffects(bad), static_cast<DWORD>(DROPEFFECT_NONE));
  bad->Release();
}

// A drop target that writes down the calls it gets.
class TCallLogTarget : public IDropTarget {
 public:
  std::string log;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) *out = this;
    return *out ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD*) override { return log += "enter ", S_OK; }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD*) override { return log += "over ", S_OK; }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return log += "leave ", S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD* effect) override {
    log += "drop(" + std::to_string(*effect) + ") ";
    return S_OK;
  }
};

TEST_F(DataObjectTest, ADropTargetThatWasEnteredHearsTheEndEvenWhenTheEffectsCheckRaises) {
  // Items whose parent the desktop cannot bind (a class nobody registered): the effects check
  // raises.
  HGLOBAL block = nullptr;
  TIdListPtr parent = MakeIdList({{0x1F, 0x50, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC,
                                   0xDD, 0xEE, 0xF0, 0x0F}});
  TIdListPtr item = MakeIdList({{1}});
  ASSERT_EQ(BuildIdListArrayBlock(parent.get(), {item.get()}, block), S_OK);
  TKxShellDataObject* unbindable = new TKxShellDataObject(block, nullptr);
  unbindable->AddRef();
  ASSERT_THROW(AllowedDropEffects(unbindable), Exception) << "the fixture must make the check raise";
  IDataObject* good = MakeObject();
  struct TCase {
    IDataObject* data;
    bool raises;
    const char* log;
  } cases[] = {
      {unbindable, true, "enter over leave "},
      {good, false, "enter over drop(1) "},
  };
  for (const TCase& c : cases) {
    TCallLogTarget target;
    DWORD effect = DROPEFFECT_COPY;
    bool raised = false;
    try {
      DropOnShellTarget(&target, c.data, MK_LBUTTON, POINTL{5, 5}, effect);
    } catch (const Exception&) {
      raised = true;
    }
    EXPECT_EQ(raised, c.raises);
    EXPECT_EQ(target.log, c.log);
    if (c.raises) {
      EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    }
  }
  good->Release();
  unbindable->Release();
}

TEST(DropSource, EscapeOrAnotherButtonCancelsAndReleasingDrops) {
  struct Case {
    const char* name;
    TKxDragButton button;
    BOOL escape;
    DWORD keys;
    HRESULT expected;
  } cases[] = {
      {"left held", TKxDragButton::Left, FALSE, MK_LBUTTON, S_OK},
      {"left released", TKxDragButton::Left, FALSE, 0, DRAGDROP_S_DROP},
      {"escape", TKxDragButton::Left, TRUE, MK_LBUTTON, DRAGDROP_S_CANCEL},
      {"right joins a left drag", TKxDragButton::Left, FALSE, MK_LBUTTON | MK_RBUTTON, DRAGDROP_S_CANCEL},
      {"middle joins a right drag", TKxDragButton::Right, FALSE, MK_RBUTTON | MK_MBUTTON, DRAGDROP_S_CANCEL},
      {"right held", TKxDragButton::Right, FALSE, MK_RBUTTON | MK_SHIFT, S_OK},
  };
  for (const Case& c : cases) {
    auto* source = new TDropSource_shlvtv(c.button);
    source->AddRef();
    EXPECT_EQ(source->QueryContinueDrag(c.escape, c.keys), c.expected) << c.name;
    EXPECT_EQ(source->GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
    source->Release();
  }
}

class RecordingOwner : public IKxDropTargetOwner {
 public:
  void DragEnter(IDataObject*, DWORD, POINTL, DWORD& effect) override { effect = DROPEFFECT_COPY; }
  void DragOver(DWORD, POINTL, DWORD&) override { throw Exception("inside the control"); }
  void DragLeave() override {}
  void Drop(IDataObject*, DWORD, POINTL, DWORD& effect) override { effect = DROPEFFECT_MOVE; }
};

TEST(DropTargetForwarder, PassesCallsUntilForgottenAndKeepsExceptionsInside) {
  RecordingOwner owner;
  auto* target = new TKxDropTargetForwarder(&owner);
  target->AddRef();
  DWORD effect = DROPEFFECT_LINK;
  EXPECT_EQ(target->DragEnter(nullptr, 0, POINTL{}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
  effect = DROPEFFECT_COPY;
  EXPECT_EQ(target->DragOver(0, POINTL{}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE)) << "a failure inside gives no effect";
  target->Forget();
  effect = DROPEFFECT_COPY;
  EXPECT_EQ(target->Drop(nullptr, 0, POINTL{}, &effect), S_OK);
  EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
  target->Release();
}

TEST_F(ShellFolderTest, SplittingAListGivesItsFolderParentAndLastItem) {
  MakeFolder("A");
  TIdListPtr list = ListOf(root_ + "A");
  IShellFolder* folder = nullptr;
  PIDL parent = nullptr;
  PIDL last = nullptr;
  ASSERT_EQ(SplitIdList(list.get(), folder, parent, last), S_OK);
  TIdListPtr holdParent(parent), holdLast(last);
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(PathFromIdList(parent), root_.substr(0, root_.size() - 1));
  TIdListPtr joined(ConcatIdLists(nullptr, parent, last));
  EXPECT_EQ(CompareIdLists(joined.get(), list.get()), 0);
  folder->Release();
  void* target = nullptr;
  ASSERT_EQ(DropTargetOfIdList(list.get(), IID_IDropTarget, &target), S_OK);
  static_cast<IDropTarget*>(target)->Release();
}

}  // namespace

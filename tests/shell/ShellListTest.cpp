// The framed list view's sort table and arrow rule, the "DirectoryCols" rule, and the shell list
// on a fixture folder: items, columns and size texts, and refreshes after files come and go.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ShellTestSupport.h"
#include "shell/ChangeHandlerThread.h"
#include "shell/KxShellList.h"
#include "tests/toolkit/FormFixture.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/Timer.h"

namespace {

class FramedListViewTest : public FormFixture {};

std::vector<std::string> Captions(TCustomListView* list) {
  std::vector<std::string> captions;
  for (int i = 0; i < list->ItemCount(); ++i) captions.push_back(list->Item(i)->Caption());
  return captions;
}

TEST_F(FramedListViewTest, ClickingAColumnSortsUpThenDownWithEmptyTextsLastWhenAscending) {
  auto* list = Add<TKxCustomListView>(10, 10, 300, 200);
  list->SetSortOnClick(true);
  list->AddColumn("Name", 100);
  list->AddColumn("Kind", 100);
  const char* rows[][2] = {{"b", "Zeta"}, {"A", ""}, {"c", "alpha"}};
  for (const auto& row : rows) list->AddItem(row[0])->SubItems().push_back(row[1]);
  auto click = [&](int column) {
    NMLISTVIEW note{};
    note.hdr.hwndFrom = list->Handle();
    note.hdr.code = LVN_COLUMNCLICK;
    note.iSubItem = column;
    list->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
  };
  click(1);
  EXPECT_EQ(Captions(list), (std::vector<std::string>{"c", "b", "A"}));
  EXPECT_EQ(list->SortColumn(), 1);
  EXPECT_EQ(list->SortDirection(), 0);
  click(1);
  EXPECT_EQ(Captions(list), (std::vector<std::string>{"A", "b", "c"}));
  EXPECT_EQ(list->SortDirection(), 1);
  click(1);
  EXPECT_EQ(Captions(list), (std::vector<std::string>{"c", "b", "A"}));
  click(0);
  EXPECT_EQ(Captions(list), (std::vector<std::string>{"A", "b", "c"}));
  EXPECT_EQ(CompareListItems(list->Item(0), list->Item(1), -1), 0);
}

TEST(SortArrow, IsPlacedFromTheTextRectAndHiddenInNarrowColumns) {
  const TRect arrow = SortArrowRect(TRect(10, 0, 90, 20));
  EXPECT_EQ(arrow, TRect(10, 4, 20, 13));  // s = 9: top (20 - 9) div 2 - 1
  EXPECT_TRUE(SortArrowShown(arrow, 21));
  EXPECT_FALSE(SortArrowShown(arrow, 20));
}

TEST(DirectoryCols, IsUsedOnlyWithSixteenToTwentyTwoBytes) {
  int widths[4] = {0, 0, 0, 0};
  std::vector<unsigned char> value(16, 0);
  value[0] = 150;
  value[12] = 90;
  EXPECT_TRUE(DirectoryColsWidths(value, widths));
  EXPECT_EQ(widths[0], 150);
  EXPECT_EQ(widths[3], 90);
  EXPECT_FALSE(DirectoryColsWidths(std::vector<unsigned char>(15, 1), widths));
  EXPECT_FALSE(DirectoryColsWidths(std::vector<unsigned char>(23, 1), widths));
  EXPECT_TRUE(DirectoryColsWidths(std::vector<unsigned char>(22, 1), widths));
}

class ShellListTest : public ShellFolderTest {
 protected:
  void SetUp() override {
    ShellFolderTest::SetUp();
    MakeFolder("Sub");
    MakeFile("empty.txt", 0);
    MakeFile("small.txt", 1025);
    form_ = new TForm(nullptr);
    form_->SetBounds(20, 20, 600, 400);
    form_->Show();
    list_ = new TKxShellList(form_);
    list_->SetParent(form_);
    list_->SetBounds(0, 0, 580, 360);
    list_->SetOptions(list_->Options() - TKxShellListOptions{sloAutoFill, sloDynamicRefresh});
    list_->HandleNeeded();
    TIdListPtr folder = ListOf(root_);
    list_->Folder()->SetIdList(folder.get());
    Application->ProcessMessages();
  }
  void TearDown() override {
    form_->Free();
    Application->ProcessMessages();
    ShellFolderTest::TearDown();
  }
  TListItem* Find(const std::string& caption) {
    for (int i = 0; i < list_->ItemCount(); ++i) {
      TListItem* item = list_->Item(i);
      if (list_->ShellData(item)->DisplayName() == caption) return item;
    }
    return nullptr;
  }
  std::string Text(TListItem* item, int column) {
    wchar_t buffer[260] = {};
    LVITEMW lv{};
    lv.iSubItem = column;
    lv.pszText = buffer;
    lv.cchTextMax = 260;
    SendMessageW(list_->Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(item->Index()), reinterpret_cast<LPARAM>(&lv));
    return WideToUtf8(buffer);
  }

  TForm* form_ = nullptr;
  TKxShellList* list_ = nullptr;
};

TEST_F(ShellListTest, ListsTheFolderWithItsColumnsAndSizeTexts) {
  std::vector<std::string> names;
  for (int i = 0; i < list_->ItemCount(); ++i) names.push_back(list_->ShellData(list_->Item(i))->DisplayName());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Sub", "empty.txt", "small.txt"}));
  ASSERT_GE(list_->ColumnCount(), 4);
  if (list_->HasShellDetails()) {
    EXPECT_EQ(list_->ColumnCaption(1), "Size");
    EXPECT_GT(list_->ColumnWidth(0), 0);
    TListItem* small = Find("small.txt");
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(Text(small, 1), "2 KB");
    EXPECT_EQ(Text(small, 0), "small.txt");
  } else {
    EXPECT_EQ(list_->ColumnCaption(0), "Name");
    EXPECT_EQ(Text(Find("small.txt"), 1), "2KB");
  }
  EXPECT_EQ(Text(Find("Sub"), 1), "") << "a folder has no size";
}

TEST_F(ShellListTest, RememberedWidthsApplyToTheNextFileSystemFolder) {
  list_->SetColumnWidth(0, 211);
  MakeFolder("Sub\\Inner");
  TIdListPtr sub = ListOf(root_ + "Sub");
  list_->Folder()->SetIdList(sub.get());
  EXPECT_EQ(list_->ColumnWidth(0), 211);
  ASSERT_EQ(list_->ItemCount(), 1);
}

TEST_F(ShellListTest, ACreatedFileAppearsAndADeletedOneGoes) {
  std::vector<std::string> deleted;
  list_->OnDeleteItem = [&](TObject*, TListItem* item, TKxShellListData* data) {
    EXPECT_EQ(list_->ShellData(item), data);
    deleted.push_back(data->DisplayName());
  };
  MakeFile("new.bin", 5);
  ASSERT_TRUE(DeleteFileW(Utf8ToWide(root_ + "empty.txt").c_str()));
  SendMessageW(list_->Handle(), KX_SHELL_CHANGE_MESSAGE, 0, 0);
  ASSERT_TRUE(list_->RefreshTimer()->Enabled());
  SendMessageW(list_->RefreshTimer()->Handle(), WM_TIMER, 1, 0);
  EXPECT_NE(Find("new.bin"), nullptr);
  EXPECT_EQ(Find("empty.txt"), nullptr);
  EXPECT_EQ(list_->ItemCount(), 3);
  // An item whose list bytes changed (the shell keeps times in them) may be replaced too.
  EXPECT_EQ(std::count(deleted.begin(), deleted.end(), "empty.txt"), 1);
  list_->OnDeleteItem = nullptr;
}

TEST_F(ShellListTest, OpeningAFolderShowsItAndGoingUpReturns) {
  MakeFile("Sub\\inside.txt", 1);
  TListItem* sub = Find("Sub");
  ASSERT_NE(sub, nullptr);
  list_->OpenItem(sub);
  EXPECT_EQ(list_->Folder()->PathName(), root_ + "Sub");
  ASSERT_EQ(list_->ItemCount(), 1);
  list_->GoUp(1);
  EXPECT_EQ(list_->Folder()->PathName(), root_.substr(0, root_.size() - 1));
  EXPECT_EQ(list_->ItemCount(), 3);
}

}  // namespace

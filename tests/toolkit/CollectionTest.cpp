// TCollection: items belong to their collection, changes end in Update (once per update
// bracket), and assignment copies items of the item class.
#include <gtest/gtest.h>

#include "SampleClasses.h"
#include "toolkit/rtl/SysUtils.h"

namespace {

TEST(Collection, ItemChangesReachUpdate) {
  TSampleItems items(nullptr);
  auto* first = static_cast<TSampleItem*>(items.Add());
  EXPECT_EQ(items.updates, 1);
  EXPECT_EQ(items.lastUpdated, nullptr);  // an addition changes the whole collection
  first->SetCaption("x");
  EXPECT_EQ(items.updates, 2);
  EXPECT_EQ(items.lastUpdated, first);
  items.BeginUpdate();
  items.Add();
  first->SetValue(3);
  items.Delete(1);
  EXPECT_EQ(items.updates, 2);
  items.EndUpdate();
  EXPECT_EQ(items.updates, 3);
  EXPECT_EQ(items.lastUpdated, nullptr);
}

TEST(Collection, FreeingAnItemRemovesItAndIdsStayUnique) {
  TSampleItems items(nullptr);
  TCollectionItem* a = items.Add();
  TCollectionItem* b = items.Add();
  TCollectionItem* c = items.Add();
  EXPECT_EQ(b->Index(), 1);
  delete b;
  EXPECT_EQ(items.Count(), 2);
  EXPECT_EQ(c->Index(), 1);
  TCollectionItem* d = items.Add();
  EXPECT_NE(d->ID(), a->ID());
  EXPECT_NE(d->ID(), c->ID());
  EXPECT_EQ(items.FindItemID(c->ID()), c);
  c->SetIndex(0);
  EXPECT_EQ(items.Items(0), c);
  EXPECT_THROW(items.Items(3), EListError);
}

TEST(Collection, ItemMovesBetweenCollections) {
  TSampleItems one(nullptr), two(nullptr);
  TCollectionItem* item = one.Add();
  item->SetCollection(&two);
  EXPECT_EQ(one.Count(), 0);
  EXPECT_EQ(two.Items(0), item);
  EXPECT_EQ(item->Collection(), &two);
}

TEST(Collection, AssignCopiesItemsInOneUpdate) {
  TSampleItems source(nullptr), dest(nullptr);
  static_cast<TSampleItem*>(source.Add())->SetCaption("a");
  auto* b = static_cast<TSampleItem*>(source.Add());
  b->SetCaption("b");
  b->SetWeight(0.5);
  dest.Add();
  dest.Add();
  dest.Add();
  dest.updates = 0;
  dest.Assign(&source);
  EXPECT_EQ(dest.updates, 1);
  ASSERT_EQ(dest.Count(), 2);
  EXPECT_EQ(dest.Item(1)->Caption(), "b");
  EXPECT_EQ(dest.Item(1)->Weight(), 0.5);
  TSampleFont font;
  try {
    dest.Assign(&font);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TSampleFont to a TOwnedCollection");
  }
}

TEST(Collection, NamePathFollowsOwner) {
  TSampleControl control(nullptr);
  control.SetName("Chart1");
  TCollectionItem* item = control.Items()->Add();
  control.Items()->Add();
  EXPECT_EQ(control.Items()->GetNamePath(), "Chart1.Items");
  EXPECT_EQ(control.Items()->Items(1)->GetNamePath(), "Chart1.Items[1]");
  EXPECT_EQ(item->GetOwner(), control.Items());
}

}  // namespace

// TKxShellLocator: each "Pidl" stream case round-trips, corrupt entries are refused, change
// notification follows the reference, equality and assignment, and a layout round trip.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "ShellTestSupport.h"
#include "shell/KxShellLocator.h"
#include "toolkit/classes/Component.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TypInfo.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes StreamBytes(TMemoryStream& stream) {
  const auto* p = static_cast<const unsigned char*>(stream.Memory());
  return Bytes(p, p + stream.Size());
}

void Load(TKxShellLocator& locator, const Bytes& bytes) {
  TMemoryStream stream;
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<long long>(bytes.size()));
  stream.SetPosition(0);
  locator.ReadPidl(stream);
}

Bytes Save(TKxShellLocator& locator) {
  TMemoryStream stream;
  locator.WritePidl(stream);
  return StreamBytes(stream);
}

Bytes CountBytes(int32_t count) {
  Bytes b(4);
  std::memcpy(b.data(), &count, 4);
  return b;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

}  // namespace

TEST(ShellLocatorStream, EachCaseRoundTrips) {
  TIdListPtr list = MakeIdList({{1, 2, 3}, {4}});
  const Bytes listBytes = IdListBytes(list.get());
  struct Case {
    const char* name;
    Bytes stored;
    unsigned char kind, csidl;
    Bytes rewritten;  // what writing it back gives
  } cases[] = {
      {"by list", Cat({{0}, CountBytes(static_cast<int32_t>(listBytes.size())), listBytes}), 0, 50,
       Cat({{0}, CountBytes(static_cast<int32_t>(listBytes.size())), listBytes})},
      {"the empty list", Cat({{0}, CountBytes(2), {0, 0}}), 0, 50,
       Cat({{0}, CountBytes(2), {0, 0}})},
      {"by special folder", {1, CSIDL_PERSONAL}, 1, CSIDL_PERSONAL, {1, CSIDL_PERSONAL}},
      {"any other kind is a special folder", {7, CSIDL_DRIVES}, 1, CSIDL_DRIVES, {1, CSIDL_DRIVES}},
      {"count 0 is the desktop by id", Cat({{0}, CountBytes(0)}), 1, 0, {1, 0}},
  };
  for (const Case& c : cases) {
    TKxShellLocator locator;
    Load(locator, c.stored);
    EXPECT_EQ(locator.Kind(), c.kind) << c.name;
    EXPECT_EQ(locator.SpecialFolderId(), c.csidl) << c.name;
    EXPECT_TRUE(locator.HasPidlData()) << c.name;
    EXPECT_EQ(Save(locator), c.rewritten) << c.name;
    TKxShellLocator again;
    Load(again, Save(locator));
    EXPECT_EQ(Save(again), c.rewritten) << c.name;
  }
}

TEST(ShellLocatorStream, RefusesCorruptLists) {
  struct Case {
    const char* name;
    Bytes stored;
  } cases[] = {
      {"negative count", Cat({{0}, CountBytes(-4)})},
      {"count beyond the data", Cat({{0}, CountBytes(40), {3, 0, 9, 0, 0}})},
      {"no terminator", Cat({{0}, CountBytes(4), {4, 0, 9, 9}})},
      {"item runs past the end", Cat({{0}, CountBytes(5), {9, 0, 1, 0, 0}})},
      {"item count of one", Cat({{0}, CountBytes(4), {1, 0, 0, 0}})},
  };
  for (const Case& c : cases) {
    TKxShellLocator locator;
    EXPECT_THROW(Load(locator, c.stored), EReadError) << c.name;
    EXPECT_EQ(locator.IdList(), nullptr) << c.name;  // left as the desktop
  }
}

TEST(ShellLocator, StartsAsTheDesktopWithNothingToStore) {
  TKxShellLocator locator;
  EXPECT_EQ(locator.Kind(), TKxShellLocator::kByIdList);
  EXPECT_EQ(locator.IdList(), nullptr);
  EXPECT_FALSE(locator.HasPidlData());
  EXPECT_EQ(Save(locator), Cat({{0}, CountBytes(0)}));
}

TEST(ShellLocator, ReadingASpecialFolderDropsTheListHeldBefore) {
  TKxShellLocator locator;
  TIdListPtr list = MakeIdList({{5, 5}});
  locator.SetIdList(list.get());
  Load(locator, {1, CSIDL_DRIVES});
  PIDL drives = nullptr;
  ASSERT_TRUE(SUCCEEDED(SpecialFolderIdList(nullptr, CSIDL_DRIVES, drives)));
  TIdListPtr hold(drives);
  EXPECT_EQ(IdListBytes(locator.IdList()), IdListBytes(drives));  // fetched, not the old list
  EXPECT_EQ(SpecialFolderIdOf(locator.IdList()), CSIDL_DRIVES);
}

class ShellLocatorTest : public ShellFolderTest {
 protected:
  void Watch(TKxShellLocator& locator) {
    locator.OnChange = [this](TObject* sender) {
      EXPECT_NE(sender, nullptr);
      ++changes;
    };
  }
  int changes = 0;
};

TEST_F(ShellLocatorTest, ChangesFireOnlyWhenTheReferenceChanges) {
  MakeFolder("A");
  MakeFolder("B");
  TIdListPtr a = ListOf(root_ + "A"), a2 = ListOf(root_ + "A"), b = ListOf(root_ + "B");
  TKxShellLocator locator;
  Watch(locator);
  locator.SetIdList(nullptr);
  EXPECT_EQ(changes, 0);  // already the desktop
  locator.SetIdList(a.get());
  EXPECT_EQ(changes, 1);
  locator.SetIdList(a2.get());
  EXPECT_EQ(changes, 1);  // the same folder
  locator.SetIdList(locator.IdList());
  EXPECT_EQ(changes, 1);  // its own list (copied before the old one goes)
  EXPECT_TRUE(SameText(locator.PathName(), root_ + "A"));
  locator.SetIdList(b.get());
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(SameText(locator.PathName(), root_ + "B"));
  locator.Clear();
  EXPECT_EQ(changes, 3);
  EXPECT_FALSE(locator.HasPidlData());

  Load(locator, {1, CSIDL_PERSONAL});
  TIdListPtr empty = MakeIdList({});
  locator.SetIdList(empty.get());
  EXPECT_EQ(changes, 4);  // from a special folder to the desktop
  EXPECT_EQ(locator.Kind(), TKxShellLocator::kByIdList);
  EXPECT_EQ(locator.SpecialFolderId(), kNoSpecialFolder);
}

TEST_F(ShellLocatorTest, EqualityAndAssignment) {
  MakeFolder("A");
  TIdListPtr a = ListOf(root_ + "A");
  TKxShellLocator first, second, special, otherSpecial;
  first.SetIdList(a.get());
  EXPECT_FALSE(first.IsEqual(&second));
  EXPECT_TRUE(first.IsEqual(&first));
  Load(special, {1, CSIDL_PERSONAL});
  Load(otherSpecial, {1, CSIDL_PERSONAL});
  EXPECT_TRUE(special.IsEqual(&otherSpecial));
  EXPECT_FALSE(special.IsEqual(&first));

  Watch(second);
  second.Assign(&first);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(second.IsEqual(&first));
  EXPECT_NE(second.IdList(), first.IdList());  // a copy
  second.Assign(&first);
  EXPECT_EQ(changes, 1);  // equal: nothing
  second.Assign(&special);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(second.Kind(), TKxShellLocator::kBySpecialFolder);
  EXPECT_EQ(second.SpecialFolderId(), CSIDL_PERSONAL);
  second.Assign(nullptr);  // a special folder never fetched still goes back to the desktop
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(second.Kind(), TKxShellLocator::kByIdList);
  EXPECT_EQ(second.IdList(), nullptr);
  second.Assign(nullptr);
  EXPECT_EQ(changes, 3);

  TPersistent notALocator;
  EXPECT_THROW(second.Assign(&notALocator), EConvertError);
}

namespace {

// A component publishing a folder reference, as the shell tree publishes BaseFolder.
class TLocatorHolder : public TComponent {
 public:
  explicit TLocatorHolder(TComponent* owner) : TComponent(owner) {}
  static const TClassInfo& StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TLocatorHolder>("TLocatorHolder", &TComponent::StaticClass())
            .Property("BaseFolder", &TLocatorHolder::BaseFolder, nullptr)
            .Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }
  TKxShellLocator* BaseFolder() const { return folder_.get(); }

 private:
  std::unique_ptr<TKxShellLocator> folder_ = std::make_unique<TKxShellLocator>();
};

}  // namespace

TEST_F(ShellLocatorTest, TravelsThroughALayoutAsPidl) {
  MakeFolder("Stored");
  TIdListPtr stored = ListOf(root_ + "Stored");
  TLocatorHolder source(nullptr), target(nullptr), special(nullptr), plain(nullptr);
  source.SetName("Holder");
  source.BaseFolder()->SetIdList(stored.get());
  TMemoryStream layout;
  layout.WriteComponent(&source);
  const Bytes bytes = StreamBytes(layout);
  const std::string text(bytes.begin(), bytes.end());
  EXPECT_NE(text.find("BaseFolder.Pidl"), std::string::npos);
  layout.SetPosition(0);
  layout.ReadComponent(&target);
  EXPECT_EQ(IdListBytes(target.BaseFolder()->IdList()), IdListBytes(stored.get()));
  EXPECT_TRUE(SameText(target.BaseFolder()->PathName(), root_ + "Stored"));

  Load(*special.BaseFolder(), {1, CSIDL_DRIVES});
  TMemoryStream specialLayout;
  specialLayout.WriteComponent(&special);
  specialLayout.SetPosition(0);
  TLocatorHolder specialTarget(nullptr);
  specialLayout.ReadComponent(&specialTarget);
  EXPECT_EQ(specialTarget.BaseFolder()->Kind(), TKxShellLocator::kBySpecialFolder);
  EXPECT_EQ(specialTarget.BaseFolder()->SpecialFolderId(), CSIDL_DRIVES);

  TMemoryStream nothing;  // the desktop by list stores no entry
  nothing.WriteComponent(&plain);
  const Bytes plainBytes = StreamBytes(nothing);
  EXPECT_EQ(std::string(plainBytes.begin(), plainBytes.end()).find("Pidl"), std::string::npos);
}

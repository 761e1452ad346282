// Control drag-and-drop and docking on their own: a drag's threshold, enter/move/leave over
// targets, drop and cancel with OnEndDrag, automatic drag mode, docking by code and by drag,
// refusals, floating where no site takes a dock drag, the drag cursors, and a dock site
// hearing of its clients' changes. Targets under the pointer come
// from an injected finder (screen point -> control), so nothing depends on window positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/classes/ObjectText.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/ui/DragDock.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/Panel.h"
#include "toolkit/ui/Screen.h"

namespace {

// A dock site that records what its clients tell it.
class TRecordingSite : public TPanel {
 public:
  using TPanel::TPanel;
  std::vector<std::string> log;
  void DockClientRemoved(TControl* client) override { log.push_back("removed " + client->Name()); }
  void DockClientChanged(TControl* client, UINT what) override {
    log.push_back(std::string(what == CM_TEXTCHANGED ? "text " : "visible ") + client->Name());
  }
};

class DragDockTest : public testing::Test {
 protected:
  DragDockTest() : form_(nullptr) {
    form_.SetBounds(0, 0, 400, 300);
    source_ = Add<TPanel>("source", 0);
    accepting_ = Add<TPanel>("accepting", 100);
    refusing_ = Add<TPanel>("refusing", 200);
    site_ = Add<TRecordingSite>("site", 300);
    site_->SetDockSite(true);
    // The site's influence in the finder's screen terms.
    site_->OnGetSiteInfo = [](TObject*, TControl*, TRect& influence, TPoint, bool&) {
      influence = TRect(300, 0, 400, 100);
    };
    inner_ = new TPanel(&form_);
    inner_->SetName("inner");
    inner_->SetParent(site_);
    inner_->SetBounds(10, 10, 20, 20);
    accepting_->OnDragOver = [this](TObject*, TObject* source, int x, int y, TDragState state, bool& accept) {
      const char* names[] = {"enter", "leave", "move"};
      log_.push_back(std::string(names[state]) + " " + std::to_string(x) + "," + std::to_string(y));
      accept = source == source_ && state != dsDragLeave;
    };
    accepting_->OnDragDrop = [this](TObject*, TObject*, int x, int y) {
      log_.push_back("drop " + std::to_string(x) + "," + std::to_string(y));
    };
    source_->OnStartDrag = [this](TObject*) { log_.push_back("start"); };
    source_->OnEndDrag = [this](TObject*, TObject* target, int, int) {
      const auto* c = dynamic_cast<TControl*>(target);
      log_.push_back("end " + (c != nullptr ? c->Name() : std::string("none")));
    };
    // Screen x / 100 picks the control: 0 source, 1 accepting, 2 refusing, 3 the site's inner
    // panel; beyond that nothing.
    SetDragTargetFinder([this](TPoint p) -> TControl* {
      switch (p.X / 100) {
        case 0: return source_;
        case 1: return accepting_;
        case 2: return refusing_;
        case 3: return inner_;
        default: return nullptr;
      }
    });
  }
  ~DragDockTest() override {
    EndDragging(false);
    SetDragTargetFinder(nullptr);
  }
  template <class T>
  T* Add(const char* name, int left) {
    auto* c = new T(&form_);
    c->SetName(name);
    c->SetParent(&form_);
    c->SetBounds(left, 0, 100, 100);
    return c;
  }
  // Screen points whose local coordinates on the target are known: the targets' screen
  // origins are wherever the platform put them, so only the finder's x / 100 matters.
  TPoint Over(int slot, int dx = 5, int dy = 5) { return {slot * 100 + dx, dy}; }
  std::string Log() {
    std::string s;
    for (const std::string& e : log_) s += e + "; ";
    return s;
  }

  TForm form_;
  TPanel* source_;
  TPanel* accepting_;
  TPanel* refusing_;
  TRecordingSite* site_;
  TPanel* inner_;
  std::vector<std::string> log_;
};

TEST_F(DragDockTest, PendingDragStartsOnlyBeyondTheThreshold) {
  source_->BeginDrag(false, 10);
  EXPECT_TRUE(source_->Dragging());
  EXPECT_FALSE(DragStarted());
  const TPoint start = DragStartPoint();
  DragToPoint({start.X + 3, start.Y + 3});
  EXPECT_FALSE(DragStarted());
  EXPECT_EQ(Log(), "");
  DragToPoint({start.X + 12, start.Y});
  EXPECT_TRUE(DragStarted());
  EXPECT_EQ(log_.front(), "start");
  // A pending drag that ends fires no OnEndDrag.
  source_->EndDrag(false);
  source_->BeginDrag(false, 10);
  source_->EndDrag(true);
  EXPECT_EQ(log_.back(), "end none");
  EXPECT_EQ(std::count(log_.begin(), log_.end(), "end none"), 1);
}

TEST_F(DragDockTest, TargetsHearEnterMoveLeaveAndTheAcceptingOneTakesTheDrop) {
  source_->BeginDrag(true);
  DragToPoint(Over(1));
  EXPECT_EQ(DragTarget(), accepting_);
  EXPECT_TRUE(DragAccepted());
  DragToPoint(Over(1, 7, 6));
  DragToPoint(Over(2));
  EXPECT_EQ(DragTarget(), refusing_);
  EXPECT_FALSE(DragAccepted()) << "no OnDragOver: refused";
  DragToPoint(Over(1, 9, 9));
  EndDragging(true);
  EXPECT_FALSE(source_->Dragging());
  const TPoint local = accepting_->ScreenToClient(Over(1, 9, 9));
  const std::string at = std::to_string(local.X) + "," + std::to_string(local.Y);
  EXPECT_NE(Log().find("start; enter "), std::string::npos) << Log();
  EXPECT_NE(Log().find("; move "), std::string::npos) << Log();
  EXPECT_NE(Log().find("; leave "), std::string::npos) << Log();
  EXPECT_NE(Log().find("drop " + at + "; end accepting; "), std::string::npos) << Log();
}

TEST_F(DragDockTest, DropOnARefusingTargetOrNothingEndsWithoutTarget) {
  source_->BeginDrag(true);
  DragToPoint(Over(2));
  EndDragging(true);
  EXPECT_EQ(log_.back(), "end none");
  source_->BeginDrag(true);
  DragToPoint(Over(9));
  EXPECT_EQ(DragTarget(), nullptr);
  EndDragging(true);
  EXPECT_EQ(log_.back(), "end none");
  EXPECT_EQ(Log().find("drop"), std::string::npos);
}

TEST_F(DragDockTest, EscapeAndMouseMessagesOfTheSourceDriveTheDrag) {
  source_->BeginDrag(true);
  DragToPoint(Over(1));
  source_->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(source_->Dragging());
  EXPECT_EQ(log_[log_.size() - 2].substr(0, 5), "leave");
  EXPECT_EQ(log_.back(), "end none");
  // Mouse messages to the source move the drag (in the source's client coordinates).
  int downs = 0;
  source_->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  source_->SetDragMode(dmAutomatic);
  source_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(source_->Dragging()) << "automatic mode starts a drag on the press";
  EXPECT_EQ(downs, 0);
  source_->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  EXPECT_FALSE(source_->Dragging());
}

TEST_F(DragDockTest, ManualDockMovesTheClientAndTheOldSiteMayRefuse) {
  auto* client = Add<TPanel>("client", 0);
  auto* other = Add<TPanel>("other", 0);
  other->SetDockSite(true);
  client->ManualDock(site_);
  EXPECT_EQ(client->HostDockSite(), site_);
  EXPECT_EQ(client->Parent(), site_);
  ASSERT_EQ(site_->DockClientCount(), 1);
  EXPECT_EQ(site_->DockClients(0), client);
  // Changes of a docked client reach its site.
  client->SetCaption("renamed");
  client->SetVisible(false);
  EXPECT_EQ(site_->log, (std::vector<std::string>{"text client", "visible client"}));
  bool allow = false;
  site_->OnUnDock = [&](TObject*, TControl*, TWinControl*, bool& a) { a = allow; };
  client->ManualDock(other);
  EXPECT_EQ(client->HostDockSite(), site_) << "refused";
  allow = true;
  client->ManualDock(other);
  EXPECT_EQ(client->HostDockSite(), other);
  EXPECT_EQ(client->Parent(), other);
  EXPECT_EQ(site_->DockClientCount(), 0);
  EXPECT_EQ(site_->log.back(), "removed client");
  client->ManualDock(nullptr);
  EXPECT_EQ(client->Parent(), nullptr);
  EXPECT_EQ(other->DockClientCount(), 0);
  delete client;
}

TEST_F(DragDockTest, DraggedClientDocksIntoTheNearestSiteThatTakesIt) {
  auto* client = Add<TPanel>("client", 0);
  client->SetDragKind(dkDock);
  client->BeginDrag(true);
  DragToPoint(Over(1));
  EXPECT_EQ(DragTarget(), nullptr) << "no dock site there";
  DragToPoint(Over(3));
  EXPECT_EQ(DragTarget(), site_) << "the inner panel's dock site";
  EndDragging(true);
  EXPECT_EQ(client->HostDockSite(), site_);
  // A site whose information refuses is passed over.
  auto* second = Add<TPanel>("second", 0);
  second->SetDragKind(dkDock);
  site_->OnGetSiteInfo = [](TObject*, TControl*, TRect&, TPoint, bool& canDock) { canDock = false; };
  second->BeginDrag(true);
  DragToPoint(Over(3, 7, 9));
  EXPECT_EQ(DragTarget(), nullptr);
  EndDragging(true);
  // Dropped where no site takes it: it floats in a host of its own at the drop point.
  auto* host = dynamic_cast<TFloatingDockHost*>(second->HostDockSite());
  ASSERT_NE(host, nullptr);
  EXPECT_TRUE(second->Floating());
  EXPECT_EQ(host->ClientToScreen(TPoint{0, 0}), Over(3, 7, 9));
  EXPECT_GE(host->ClientWidth(), 100) << "at the control's size, or the smallest a window can be";
  EXPECT_EQ(second->Width(), host->ClientWidth()) << "the control fills its host";
  EXPECT_TRUE(second->Showing());
  // ... and docks back into a site.
  site_->OnGetSiteInfo = [](TObject*, TControl*, TRect& influence, TPoint, bool&) {
    influence = TRect(300, 0, 400, 100);
  };
  second->BeginDrag(true);
  DragToPoint(Over(3));
  EXPECT_EQ(DragTarget(), site_);
  EndDragging(true);
  EXPECT_EQ(second->HostDockSite(), site_);
  EXPECT_EQ(second->Parent(), site_);
  EXPECT_EQ(second->Align(), alNone) << "its own alignment comes back";
  EXPECT_FALSE(second->Floating());
}

TEST_F(DragDockTest, ARunningDragShowsTheDragAndNoDropCursors) {
  ASSERT_NE(Screen, nullptr);
  const TCursor before = Screen->Cursor();
  source_->BeginDrag(false, 10);
  const TPoint start = DragStartPoint();
  DragToPoint({start.X + 2, start.Y});
  EXPECT_EQ(Screen->Cursor(), before) << "a pending drag leaves the cursor alone";
  struct TStep {
    TPoint at;
    TCursor cursor;
  } steps[] = {{Over(1), crDrag}, {Over(2), crNoDrop}, {Over(9), crNoDrop}, {Over(1, 8, 8), crDrag}};
  for (const TStep& step : steps) {
    DragToPoint(step.at);
    EXPECT_EQ(Screen->Cursor(), step.cursor) << step.at.X;
    EXPECT_EQ(GetCursor(), Screen->Cursors(step.cursor)) << step.at.X;
  }
  EXPECT_NE(Screen->Cursors(crDrag), Screen->Cursors(crArrow)) << "the drag cursor is a cursor of its own";
  source_->EndDrag(true);
  EXPECT_EQ(Screen->Cursor(), before);
  // Cancelled drags give the cursor back too.
  source_->BeginDrag(true);
  DragToPoint(Over(2));
  EXPECT_EQ(Screen->Cursor(), crNoDrop);
  source_->Perform(WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(Screen->Cursor(), before);
}

TEST_F(DragDockTest, FreedClientLeavesItsSite) {
  auto* client = Add<TPanel>("client", 0);
  client->ManualDock(site_);
  ASSERT_EQ(site_->DockClientCount(), 1);
  delete client;
  EXPECT_EQ(site_->DockClientCount(), 0);
}

// DragMode is a published property: a layout holds it only when automatic and sets it when read.
TEST(DragModeLayoutTest, WrittenOnlyWhenAutomaticAndReadFromALayout) {
  auto layoutText = [](TComponent& component) {
    TMemoryStream stream;
    stream.WriteComponent(&component);
    return ObjectBinaryToText(
        std::string_view(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size())));
  };
  TPanel manual(nullptr);
  manual.SetName("manual");
  EXPECT_EQ(layoutText(manual).find("DragMode"), std::string::npos);
  TPanel automatic(nullptr);
  automatic.SetName("automatic");
  automatic.SetDragMode(dmAutomatic);
  EXPECT_NE(layoutText(automatic).find("DragMode = dmAutomatic"), std::string::npos);

  const std::string binary = ObjectTextToBinary("object automatic: TPanel\n  DragMode = dmAutomatic\nend\n");
  TMemoryStream stream;
  stream.Write(binary.data(), static_cast<long long>(binary.size()));
  stream.SetPosition(0);
  TPanel read(nullptr);
  stream.ReadComponent(&read);
  EXPECT_EQ(read.DragMode(), dmAutomatic);
}

}  // namespace

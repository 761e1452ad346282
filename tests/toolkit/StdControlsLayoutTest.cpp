// The standard controls read from a text layout shaped like the main window's: every class is
// found by name, properties (including collections, string lists, the grid's column widths and
// component references) are set, and events are bound to the form's named handlers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/classes/Streams.h"
#include "toolkit/classes/Strings.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/ui/ActnList.h"
#include "toolkit/ui/Application.h"
#include "toolkit/ui/ComboBox.h"
#include "toolkit/ui/Edit.h"
#include "toolkit/ui/Form.h"
#include "toolkit/ui/FormLayout.h"
#include "toolkit/ui/Grids.h"
#include "toolkit/ui/ImgList.h"
#include "toolkit/ui/Menus.h"
#include "toolkit/ui/StatusBar.h"
#include "toolkit/ui/ToolBar.h"

namespace {

class TStdLayoutForm : public TForm {
 public:
  explicit TStdLayoutForm(TComponent* owner) : TForm(owner) {}
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassBuilder<TStdLayoutForm>("TStdLayoutForm", &TForm::StaticClass())
                                       .Method("N50Click", &TStdLayoutForm::N50Click)
                                       .Method("act1Execute", &TStdLayoutForm::act1Execute)
                                       .Method("edt1KeyPress", &TStdLayoutForm::edt1KeyPress)
                                       .Method("std1DrawCell", &TStdLayoutForm::std1DrawCell)
                                       .Method("std1SelectCell", &TStdLayoutForm::std1SelectCell)
                                       .Build();
    return info;
  }
  const TClassInfo& ClassType() const override { return StaticClass(); }

  std::vector<std::string> log;
  void N50Click(TObject*) { log.push_back("quit"); }
  void act1Execute(TObject*) { log.push_back("report settings"); }
  void edt1KeyPress(TObject*, wchar_t& key) {
    if (!(key >= L'0' && key <= L'9') && key != 8) key = 0;
  }
  void std1DrawCell(TObject*, int col, int row, TRect, TGridDrawState) {
    if (col == 1 && row == 0) log.push_back("draw");
  }
  void std1SelectCell(TObject*, int col, int, bool& canSelect) { canSelect = col >= 1; }
};

const char kLayout[] = R"(object FrmMain: TStdLayoutForm
  ClientHeight = 400
  ClientWidth = 600
  Menu = mm1
  object mm1: TMainMenu
    object N1: TMenuItem
      Caption = 'System'
      object N2: TMenuItem
        Action = act1
      end
      object N3: TMenuItem
        Caption = '-'
      end
      object N50: TMenuItem
        Caption = 'Quit'
        OnClick = N50Click
      end
    end
  end
  object ilTray: TImageList
  end
  object actlst1: TActionList
    Images = ilTray
    object act1: TAction
      Caption = 'Report settings'
      Hint = 'Report settings'
      OnExecute = act1Execute
    end
  end
  object tlb1: TToolBar
    Flat = True
    Images = ilTray
    object TB1: TToolButton
      Action = act1
    end
  end
  object stat1: TStatusBar
    Panels = <
      item
        Width = 200
      end
      item
        Width = 200
      end
      item
        Width = 200
      end>
  end
  object edt1: TEdit
    Left = 10
    Top = 40
    Width = 50
    Height = 21
    MaxLength = 3
    Text = '1'
    OnKeyPress = edt1KeyPress
  end
  object cbb_show1: TComboBox
    Left = 70
    Top = 40
    Style = csDropDownList
    Items.Strings = (
      'second'
      'minute')
    ItemIndex = 0
  end
  object std1: TStringGrid
    Left = 0
    Top = 70
    Width = 320
    Height = 300
    ColCount = 2
    RowCount = 80
    FixedCols = 0
    FixedRows = 0
    DefaultRowHeight = 25
    Options = [goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing]
    OnDrawCell = std1DrawCell
    OnSelectCell = std1SelectCell
    ColWidths = (
      150
      150)
  end
end
)";

TEST(StdControlsLayout, MainWindowShapedLayoutLoadsAndBindsEvents) {
  TStdLayoutForm form(nullptr);
  TMemoryStream stream;
  stream.WriteBuffer(kLayout, static_cast<long long>(sizeof(kLayout) - 1));
  stream.SetPosition(0);
  ReadFormLayout(&form, stream);
  form.Show();
  Application->ProcessMessages();

  auto* grid = dynamic_cast<TStringGrid*>(form.FindComponent("std1"));
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->ColCount(), 2);
  EXPECT_EQ(grid->RowCount(), 80);
  EXPECT_EQ(grid->FixedCols(), 0);
  EXPECT_EQ(grid->ColWidths(0), 150);
  EXPECT_EQ(grid->RowHeights(79), 25);
  EXPECT_TRUE(grid->Options().Contains(goEditing));
  EXPECT_EQ(grid->TopRow(), 0) << "no fixed rows: the view starts at row 0";
  EXPECT_EQ(grid->Col(), 0);
  bool canSelect = true;
  grid->OnSelectCell(grid, 0, 3, canSelect);
  EXPECT_FALSE(canSelect) << "bound to std1SelectCell";
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(grid->ClientWidth(), grid->ClientHeight());
  grid->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bitmap.Canvas()->Handle()), 0);
  EXPECT_NE(std::find(form.log.begin(), form.log.end(), "draw"), form.log.end()) << "bound to std1DrawCell";

  auto* edit = dynamic_cast<TEdit*>(form.FindComponent("edt1"));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->Text(), "1");
  SendMessageW(edit->Handle(), EM_SETSEL, 1, 1);
  for (wchar_t c : std::wstring(L"2x345")) SendMessageW(edit->Handle(), WM_CHAR, c, 0);
  EXPECT_EQ(edit->Text(), "123") << "key filter and maximum length from the layout";

  auto* unit = dynamic_cast<TComboBox*>(form.FindComponent("cbb_show1"));
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(unit->Items()->Count(), 2);
  EXPECT_EQ(unit->ItemIndex(), 0);
  EXPECT_EQ(unit->Text(), "second");

  auto* bar = dynamic_cast<TStatusBar*>(form.FindComponent("stat1"));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->Panels()->Count(), 3);
  EXPECT_EQ(bar->Panels()->Items(1)->Width(), 200);

  auto* button = dynamic_cast<TToolButton*>(form.FindComponent("TB1"));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->ToolBar(), form.FindComponent("tlb1"));
  EXPECT_EQ(button->Hint(), "Report settings") << "taken from the action";

  auto* quit = dynamic_cast<TMenuItem*>(form.FindComponent("N50"));
  auto* report = dynamic_cast<TMenuItem*>(form.FindComponent("N2"));
  ASSERT_NE(quit, nullptr);
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(report->Caption(), "Report settings");
  ASSERT_NE(GetMenu(form.Handle()), nullptr) << "the main menu is the form's menu bar";
  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(report->Command(), 0), 0);
  SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(quit->Command(), 0), 0);
  button->Click();
  const std::vector<std::string> commands(form.log.end() - 3, form.log.end());
  EXPECT_EQ(commands, (std::vector<std::string>{"report settings", "quit", "report settings"}));
}

}  // namespace

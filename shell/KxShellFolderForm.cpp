// TKxSelectFolderForm: controls, option handling, resizing, the status path and the buttons.
#include "shell/KxShellFolderForm.h"

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/TypInfo.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Brush.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/Pen.h"
#include "toolkit/ui/ImgList.h"
#include "toolkit/ui/Panel.h"

const TEnumInfo& EnumTypeInfo(TKxSelectFolderDialogOption) {
  static const TEnumInfo info("TKxSelectFolderDialogOption",
                              {"sfdoCreateDeleteButtons", "sfdoContextMenus", "sfdoReadOnly", "sfdoIncludeNonFolders",
                               "sfdoOleDrag", "sfdoOleDrop", "sfdoCreateFolderIcon", "sfdoDeleteFolderIcon",
                               "sfdoVirtualFolders", "sfdoShowHidden"});
  return info;
}

// ---- Path shortening ------------------------------------------------------------------------

std::string DropFirstDirectory(const std::string& directory) {
  if (directory == "\\") return {};
  std::string rest = directory;
  bool leading = false;
  if (!rest.empty() && rest[0] == '\\') {
    rest.erase(0, 1);
    leading = true;
  }
  if (!rest.empty() && rest[0] == '.') rest.erase(0, std::min<size_t>(4, rest.size()));
  const size_t slash = rest.find('\\');
  rest = slash == std::string::npos ? std::string() : "...\\" + rest.substr(slash + 1);
  return leading ? "\\" + rest : rest;
}

std::string ShortenPathToWidth(const std::string& path, const std::function<int(const std::string&)>& measure,
                               int width) {
  std::string result = path;
  std::string directory = ExtractFilePath(path);
  const std::string name = ExtractFileName(path);
  std::string drive;
  if (directory.size() >= 2 && directory[1] == ':') {
    drive = directory.substr(0, 2);
    directory.erase(0, 2);
  }
  while ((!drive.empty() || !directory.empty()) && measure(result) > width) {
    if (directory == "\\...\\") {
      drive.clear();
      directory = "...\\";
    } else if (!directory.empty()) {
      directory = DropFirstDirectory(directory);
    } else {
      drive.clear();
    }
    result = drive + directory + name;
  }
  return result;
}

std::string ShortenPathToWidth(const std::string& path, TCanvas* canvas, int width) {
  return ShortenPathToWidth(path, [canvas](const std::string& text) { return canvas->TextWidth(text); }, width);
}

// ---- Images ---------------------------------------------------------------------------------

namespace {

// The four 16 x 16 glyphs: create folder, its disabled face, delete, its disabled face.
void DrawFolderGlyph(TCanvas& c, bool enabled) {
  const TColor body = enabled ? TColor(0x4AC8F0) : clGray;
  const TColor edge = enabled ? TColor(0x1A7AA0) : clDkGray;
  c.Brush()->SetColor(body);
  c.Pen()->SetColor(edge);
  c.Rectangle(1, 5, 13, 14);
  c.Rectangle(1, 3, 6, 6);
  c.Pen()->SetColor(enabled ? clGreen : clDkGray);
  c.Pen()->SetWidth(2);
  c.MoveTo(12, 2);
  c.LineTo(12, 9);
  c.MoveTo(9, 5);
  c.LineTo(16, 5);
  c.Pen()->SetWidth(1);
}

void DrawDeleteGlyph(TCanvas& c, bool enabled) {
  c.Pen()->SetColor(enabled ? clRed : clDkGray);
  c.Pen()->SetWidth(2);
  c.MoveTo(3, 3);
  c.LineTo(13, 13);
  c.MoveTo(13, 3);
  c.LineTo(3, 13);
  c.Pen()->SetWidth(1);
}

void AddGlyph(TImageList* list, void (*draw)(TCanvas&, bool), bool enabled) {
  TBitmap bitmap;
  bitmap.SetSize(16, 16);
  bitmap.Canvas()->Brush()->SetColor(clFuchsia);
  bitmap.Canvas()->FillRect(TRect(0, 0, 16, 16));
  draw(*bitmap.Canvas(), enabled);
  list->AddMasked(&bitmap, clFuchsia);
}

}  // namespace

// ---- Form -----------------------------------------------------------------------------------

const TClassInfo& TKxSelectFolderForm::StaticClass() {
  static const TClassInfo info = TClassBuilder<TKxSelectFolderForm>("TKxSelectFolderForm", &TForm::StaticClass())
                                     .Method("FormCreate", &TKxSelectFolderForm::FormCreate)
                                     .Method("FormResize", &TKxSelectFolderForm::FormResize)
                                     .Method("ShellTreeChange", &TKxSelectFolderForm::ShellTreeChange)
                                     .Method("CreateBtnClick", &TKxSelectFolderForm::CreateBtnClick)
                                     .Method("DeleteBtnClick", &TKxSelectFolderForm::DeleteBtnClick)
                                     .Build();
  return info;
}

TKxSelectFolderForm::TKxSelectFolderForm(TComponent* owner) : TForm(owner) {
  // The layout names these; the control set registers its own at its start-up, which a program
  // using only the shell library may not have run.
  RegisterClasses({&TKxToolButton::StaticClass(), &TKxShellTree::StaticClass(), &TPanel::StaticClass(),
                   &TKxBitBtn::StaticClass(), &TKxStatusBar::StaticClass(), &TImageList::StaticClass()});
}

// The controls come from the layout resource (read by the form when it is made); the tool
// buttons' glyphs are drawn here.
void TKxSelectFolderForm::Loaded() {
  TForm::Loaded();
  Bind(btnNewFolder, "btnNewFolder");
  Bind(btnDeleteFolder, "btnDeleteFolder");
  Bind(ShellTree, "ShellTree");
  Bind(ButtonPanel, "ButtonPanel");
  Bind(btnOk, "btnOk");
  Bind(btnCancel, "btnCancel");
  Bind(KxStatusBar1, "KxStatusBar1");
  Bind(ImageList1, "ImageList1");
  ImageList1->Clear();
  AddGlyph(ImageList1, DrawFolderGlyph, true);
  AddGlyph(ImageList1, DrawFolderGlyph, false);
  AddGlyph(ImageList1, DrawDeleteGlyph, true);
  AddGlyph(ImageList1, DrawDeleteGlyph, false);
  ApplyDialogOptions(options_);
}

void TKxSelectFolderForm::AfterConstruction() {
  TForm::AfterConstruction();
  // A program built without the layout resource fails here rather than on a missing control.
  if (ShellTree == nullptr) Bind(ShellTree, "ShellTree");
}

void TKxSelectFolderForm::FormCreate(TObject*) {
  ShellTree->SetShowRoot(true);
  // The status bar stays below the button panel.
  KxStatusBar1->SetTop(Height());
  KxStatusBar1->SetAlign(alBottom);
}

std::string TKxSelectFolderForm::StatusText() const { return KxStatusBar1->SimpleCaption(); }
void TKxSelectFolderForm::SetStatusText(const std::string& text) { KxStatusBar1->SetSimpleCaption(text); }

void TKxSelectFolderForm::ApplyDialogOptions(TKxSelectFolderDialogOptions options) {
  options_ = options;
  TKxShellTreeOptions tree = ShellTree->Options();
  auto apply = [&](TKxSelectFolderDialogOption from, TKxShellTreeOption to) {
    if (options.Contains(from)) tree.Include(to);
    else tree = tree - TKxShellTreeOptions{to};
  };
  apply(sfdoOleDrag, stoOleDrag);
  apply(sfdoOleDrop, stoOleDrop);
  apply(sfdoIncludeNonFolders, stoIncludeNonFolders);
  apply(sfdoVirtualFolders, stoVirtualFolders);
  apply(sfdoContextMenus, stoContextMenus);
  apply(sfdoShowHidden, stoShowHidden);
  ShellTree->ChangeOptions(tree);
  const bool buttons = options.Contains(sfdoCreateDeleteButtons);
  btnNewFolder->SetVisible(buttons);
  btnDeleteFolder->SetVisible(buttons);
  const bool createIcon = options.Contains(sfdoCreateFolderIcon);
  const bool deleteIcon = options.Contains(sfdoDeleteFolderIcon);
  btnNewFolder->SetImageIndex(createIcon ? 0 : -1);
  btnDeleteFolder->SetImageIndex(deleteIcon ? 2 : -1);
  // A button without its image looks wrong flat beside one with it.
  btnNewFolder->SetFlat(createIcon && deleteIcon);
  btnDeleteFolder->SetFlat(createIcon && deleteIcon);
  ShellTree->SetReadOnly(options.Contains(sfdoReadOnly));
  FormResize(this);
}

void TKxSelectFolderForm::ShowPath(const std::string& path) {
  Canvas()->Font()->Assign(Font());
  SetStatusText(ShortenPathToWidth(path, Canvas(), KxStatusBar1->Width() - 20));
}

void TKxSelectFolderForm::FormResize(TObject*) {
  if (!ShellTree || !ButtonPanel) return;
  int top = 8;
  if (btnNewFolder->Visible()) top = btnNewFolder->Top() + btnNewFolder->Height() + 4;
  else if (btnDeleteFolder->Visible()) top = btnDeleteFolder->Top() + btnDeleteFolder->Height() + 4;
  const int left = ShellTree->Left();
  const int right = left + Width() - 24;
  const int bottom = ButtonPanel->Top() - 4;
  ShellTree->SetBounds(left, top, right - left, std::max(0, bottom - top));
  btnCancel->SetLeft(ClientWidth() - btnCancel->Width() - 8);
  btnOk->SetLeft(btnCancel->Left() - btnOk->Width() - 8);
  if (TKxShellTreeData* data = ShellTree->ShellData(ShellTree->Selected())) ShowPath(data->PathName());
}

void TKxSelectFolderForm::ShellTreeChange(TObject*, TTreeNode* node) {
  TKxShellTreeData* data = ShellTree->ShellData(node);
  if (!data) return;
  const std::string path = data->PathName();
  ShowPath(path);
  btnNewFolder->SetEnabled(!path.empty());
  btnDeleteFolder->SetEnabled(!path.empty() && node->AbsoluteIndex() != 0);
  OnSelChange(this, data->AbsIdList());
}

void TKxSelectFolderForm::CreateBtnClick(TObject*) { ShellTree->CreateFolderUnderSelection(); }

void TKxSelectFolderForm::DeleteBtnClick(TObject*) {
  ShellTree->InvokeVerbOnNode(ShellTree->Selected(), "delete");
  ShellTree->RefreshTree();
}

void TKxSelectFolderForm::DoShow() {
  TForm::DoShow();
  Font()->SetName("MS Sans Serif");
  ShellTree->ChangeOptions(ShellTree->Options() + TKxShellTreeOptions{stoAutoFill});
  ShellTree->FillTree();
  btnOk->SetCaption("OK");
  btnCancel->SetCaption("Cancel");
  btnNewFolder->SetCaption("Create Folder");
  btnDeleteFolder->SetCaption("Delete");
  if (Caption().empty()) SetCaption("Browse for Folder");
  OnFormShow(this);
}

void TKxSelectFolderForm::DoHide() {
  TForm::DoHide();
  OnFormClose(this);
}

void TKxSelectFolderForm::WndProc(TMessage& message) {
  if (message.Msg == WM_GETMINMAXINFO) {
    TForm::WndProc(message);
    auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
    info->ptMinTrackSize.x = kSelectFolderFormMinWidth;
    info->ptMinTrackSize.y = kSelectFolderFormMinHeight;
    message.Result = 0;
    return;
  }
  TForm::WndProc(message);
}

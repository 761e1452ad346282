// TFrmSelectFile: the history import's choice of one data file or a folder of them. Each mode
// has its edit and choose button, enabled only while the mode is selected; OK is refused while
// the selected mode's edit is empty. The file must be an instrument data file ("_data.bin").
#pragma once

#include <functional>
#include <string>

#include "app/HistoryImport.h"
#include "toolkit/ui/Form.h"

class TButton;
class TKxButton;
class TKxSelectFolderDialog;
class TEdit;
class TLabel;
class TRadioButton;

class TFrmSelectFile : public TForm {
 public:
  explicit TFrmSelectFile(TComponent* owner);
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassType() const override { return StaticClass(); }
  void AfterConstruction() override;

  TRadioButton* rb1 = nullptr;
  TRadioButton* rb2 = nullptr;
  TEdit* x_1 = nullptr;
  TEdit* x_2 = nullptr;
  TButton* btn_1 = nullptr;
  TButton* btn_2 = nullptr;
  TLabel* Show1 = nullptr;
  TKxButton* btn1 = nullptr;
  TKxButton* btn2 = nullptr;
  // The folder selection dialog of "Select Directory" (owned by the form; it remembers the
  // folder chosen last).
  TKxSelectFolderDialog* kx1 = nullptr;

  THistoryImportMode Mode() const;
  std::string FileName();
  std::string Folder();

  // How a file is asked for: true with the chosen path, false when cancelled. The default
  // shows the open-file dialog; tests replace it.
  std::function<bool(std::string& path)> ChooseFile;

  void FormCreate(TObject* sender);
  void FormShow(TObject* sender);
  void rb1Click(TObject* sender);
  void rb2Click(TObject* sender);
  void btn_1Click(TObject* sender);
  void btn_2Click(TObject* sender);
  void btn1Click(TObject* sender);

 private:
  void SelectMode(bool fileMode);
};

// What the operator chose in the import dialog.
struct THistoryImportChoice {
  THistoryImportMode mode = THistoryImportMode::File;
  std::string fileName;
  std::string folder;
};
// Asks for the file or folder; false when the dialog was cancelled.
using THistoryImportChooser = std::function<bool(THistoryImportChoice&)>;
// The modal TFrmSelectFile.
bool ChooseHistoryImport(THistoryImportChoice& choice);

// The "Import history" command: refused while a test thread exists (also while it connects);
// offers to clear an existing history (a failing count query or delete ends the command); asks
// for the file or folder (`choose`, the dialog unless a test gives another) and imports it
// (ImportHistory).
void ImportHistoryCommand(const THistoryImportChooser& choose = ChooseHistoryImport);

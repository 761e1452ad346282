// The open-file dialog as the history import uses it: title, filter and hidden read-only box
// reach the platform's dialog, the typed name comes back on OK, Cancel returns false.
// Driven from OnShow (the dialog is up and modal) by the dialog's own messages.
#include <gtest/gtest.h>

#include "toolkit/system/WinApi.h"

#include <commdlg.h>
#include <dlgs.h>

#include <string>

#include "toolkit/classes/Strings.h"
#include "toolkit/rtl/TextConv.h"
#include "toolkit/ui/FileDialogs.h"

namespace {

std::string WindowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return WideToUtf8(text);
}

std::string ComboItem(HWND combo, int index) {
  wchar_t text[256] = {};
  SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return WideToUtf8(text);
}

TEST(OpenDialog, ShowsTitleFilterAndReturnsTypedName) {
  TOpenDialog dialog(nullptr);
  dialog.SetTitle("History file import");
  dialog.SetFilter("Bin file(*.bin)|*.bin");
  dialog.SetOptions(dialog.Options() + TOpenOptions{ofHideReadOnly, ofEnableSizing});
  std::string shownTitle, firstFilter;
  bool readOnlyBoxVisible = true;
  int shows = 0;
  const std::string typed = "C:\\some\\where\\20240305_100000_data.bin";
  dialog.OnShow = [&](TObject*) {
    ++shows;
    HWND window = dialog.Handle();
    shownTitle = WindowText(window);
    firstFilter = ComboItem(GetDlgItem(window, cmb1), 0);
    readOnlyBoxVisible = IsWindowVisible(GetDlgItem(window, chx1)) != FALSE;
    const std::wstring name = Utf8ToWide(typed);
    SendMessageW(window, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageW(window, CDM_SETCONTROLTEXT, edt1, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  };
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(shows, 1);
  EXPECT_EQ(shownTitle, "History file import");
  EXPECT_EQ(firstFilter, "Bin file(*.bin)");
  EXPECT_FALSE(readOnlyBoxVisible);
  EXPECT_EQ(dialog.FileName(), typed);
  ASSERT_EQ(dialog.Files()->Count(), 1);
  EXPECT_EQ(dialog.Files()->Get(0), typed);
  EXPECT_EQ(dialog.Handle(), nullptr) << "no window once closed";
}

TEST(OpenDialog, CancelReturnsFalseAndKeepsFileName) {
  TOpenDialog dialog(nullptr);
  dialog.SetFileName("before.bin");
  int closes = 0;
  dialog.OnShow = [&](TObject*) { PostMessageW(dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); };
  dialog.OnClose = [&](TObject*) { ++closes; };
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.FileName(), "before.bin");
  EXPECT_EQ(closes, 1);
}

}  // namespace

// The shell's context menus for items of a folder: making and filling one, finding a verb's
// command, invoking a verb, and the message handling of an open menu - including the send-to
// submenu, which the shell leaves as a grayed placeholder and these routines fill with
// owner-drawn entries (command ids 1, 2 ..., item data = entry index) from the send-to folder.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "shell/KxIdList.h"
#include "toolkit/ui/Messages.h"

#include <commctrl.h>

// Command ids from kShellCommandFirst up are the shell's; below it, the send-to entries.
constexpr UINT kShellCommandFirst = 1000;

// Makes the folder's context menu for `count` relative items and a popup menu filled by
// QueryContextMenu (ids firstId..$7FFF). On success `menu` (one reference) and `popup` belong
// to the caller (Release, DestroyMenu). A failure to get the menu is returned with both nil;
// a failure to fill it raises EOleSysError, the popup destroyed and the menu released.
HRESULT ShellContextMenuFor(HWND owner, IShellFolder* folder, UINT count, PCIDL* items,
                            UINT flags, UINT firstId, IContextMenu*& menu, HMENU& popup);

// The command offset of `verb` (compared case-insensitively with the menu's GCS_VERB strings);
// -1 when the menu does not offer it.
int FindVerbCommand(IContextMenu* menu, const std::string& verb);
// Invokes a verb; a verb the menu does not offer runs nothing and gives
// HRESULT_FROM_WIN32(ERROR_NOT_FOUND).
HRESULT InvokeShellVerb(HWND owner, IContextMenu* menu, const std::string& verb);
// Invokes the command at `offset` (shown normally).
HRESULT InvokeShellVerb(HWND owner, IContextMenu* menu, int offset);

// One entry of the send-to folder: its file name and system small icon index (-1 when its
// item-id list cannot be made).
struct TKxSendToEntry {
  std::string Name;
  int IconIndex = -1;
};
// The process-wide send-to list, sorted by name (case-insensitive); made empty on first use.
std::vector<TKxSendToEntry>& SendToList();
// Refills the send-to list from the send-to folder: files that are neither directories nor
// hidden.
void FillSendToMenu();
// Frees the send-to list (shell shut-down).
void FreeSendToList();
// The entry name as the menu shows it (without its extension).
std::string SendToCaption(const TKxSendToEntry& entry);

// The answer to WM_MENUCHAR over the send-to entries: the typed character is compared,
// upper-cased, with the entries' first characters, starting after `highlighted` (-1: from the
// first) and wrapping around. Returns MAKELRESULT(index, MNC_SELECT) when more than one entry
// starts with it, MAKELRESULT(index, MNC_EXECUTE) when exactly one does, MNC_CLOSE << 16
// when none does.
LRESULT SendToMenuChar(const std::vector<TKxSendToEntry>& entries, wchar_t typed,
                       int highlighted);

// Receives the shell's help text of the menu item under the mouse (empty for none).
using TKxPopupHintFn = void (*)(void* data, const std::string& hint);

// Handles WM_INITMENUPOPUP, WM_MEASUREITEM, WM_DRAWITEM, WM_MENUCHAR and WM_MENUSELECT for an
// open shell context menu. Returns true when the message was taken, with `result` to answer.
// `images` is the small image list the send-to icons are drawn from. Failures are swallowed.
bool HandleShellMenuMessage(IContextMenu* menu, HIMAGELIST images, UINT msg, WPARAM wParam,
                            LPARAM lParam, LRESULT& result, TKxPopupHintFn hint = nullptr,
                            void* hintData = nullptr);

// The window procedure's filter while a shell context menu is open (`activeMenu` not nil): the
// five menu messages go to HandleShellMenuMessage; `hint` (may be empty) gets the help texts.
// True when the message was taken, its answer in `message.Result`.
bool RouteShellMenuMessage(IContextMenu* activeMenu, HIMAGELIST images, TMessage& message,
                           const std::function<void(const std::string&)>& hint);

// Sends `data` to the send-to entry `name` as a copy drop at (0, 0) with the left button.
// Raises EOleSysError when the send-to folder, the entry or its drop target cannot be had.
void SendDataToTarget(const std::string& name, IDataObject* data);

// System image lists and shell overlays through SHGetFileInfo.
#include "shell/KxSystemImages.h"

#include "shell/KxShellUtils.h"

namespace {

bool overlaysInstalled = false;
const ITEMIDLIST kEmptyList = {};

HIMAGELIST ImageListOf(UINT sizeFlag) {
  SHFILEINFOW info = {};
  DWORD_PTR handle = SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, sizeFlag | SHGFI_SYSICONINDEX);
  if (!handle)
    handle = SHGetFileInfoW(reinterpret_cast<LPCWSTR>(&kEmptyList), 0, &info, sizeof info,
                            sizeFlag | SHGFI_SYSICONINDEX | SHGFI_PIDL);
  return reinterpret_cast<HIMAGELIST>(handle);
}

void AddOverlay(HMODULE shell32, int icon, int pixels, HIMAGELIST list, int overlay) {
  if (!list) return;
  // Not shared: a shared icon must not be destroyed, this one is once it is in the list.
  HICON handle = static_cast<HICON>(
      LoadImageW(shell32, MAKEINTRESOURCEW(icon), IMAGE_ICON, pixels, pixels, 0));
  if (!handle) return;
  const int index = ImageList_ReplaceIcon(list, -1, handle);
  if (index >= 0) ImageList_SetOverlayImage(list, index, overlay);
  DestroyIcon(handle);
}

}  // namespace

int SystemIconIndexOf(PCIDL list, UINT flags) {
  SHFILEINFOW info = {};
  if (!SHGetFileInfoW(reinterpret_cast<LPCWSTR>(list ? list : &kEmptyList), 0, &info,
                      sizeof info, flags | SHGFI_SYSICONINDEX | SHGFI_PIDL))
    return 0;
  return info.iIcon;
}

HIMAGELIST SystemImageListHandle(TKxIconSize size) {
  const TKxShellVersions& v = ShellVersions();
  if (IsNtPlatform() && v.ComCtl32.MostSignificant >= 0x40047 && !overlaysInstalled)
    InstallShellOverlays();
  const int kind = static_cast<int>(size) & 0x7F;
  return ImageListOf(kind == 0 ? SHGFI_SMALLICON : SHGFI_LARGEICON);
}

void InstallShellOverlays() {
  if (overlaysInstalled) return;
  HMODULE shell32 = LoadLibraryW(L"shell32.dll");
  if (!shell32) return;
  HIMAGELIST small = ImageListOf(SHGFI_SMALLICON);
  HIMAGELIST large = ImageListOf(SHGFI_LARGEICON);
  AddOverlay(shell32, 29, 16, small, 1);
  AddOverlay(shell32, 29, 32, large, 1);
  AddOverlay(shell32, 30, 16, small, 2);
  AddOverlay(shell32, 30, 32, large, 2);
  overlaysInstalled = true;
  FreeLibrary(shell32);
}

bool ShellOverlaysInstalled() { return overlaysInstalled; }

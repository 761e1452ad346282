// Shortcut reading, the network-drive test with played libraries, module versions and the
// system image lists with their overlays.
#include <gtest/gtest.h>

#include <cstring>

#include "ShellTestSupport.h"

#include <lmuse.h>
#include "shell/KxNetDrive.h"
#include "shell/KxShellUtils.h"
#include "shell/KxShortcut.h"
#include "shell/KxSystemImages.h"
#include "toolkit/rtl/TextConv.h"

class ShortcutTest : public ShellFolderTest {};

TEST_F(ShortcutTest, ReadsEveryFieldOfAShortcut) {
  const std::string target = MakeFile("target.txt", 5);
  const std::string linkPath = root_ + "target.lnk";
  {
    TComRef<IShellLinkW> link;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IShellLinkW, link.PutVoid())));
    link->SetPath(Utf8ToWide(target).c_str());
    link->SetArguments(L"--fast");
    link->SetDescription(L"The target");
    link->SetWorkingDirectory(Utf8ToWide(root_).c_str());
    link->SetIconLocation(L"C:\\windows\\system32\\shell32.dll", 3);
    link->SetShowCmd(SW_SHOWNORMAL);  // the prefix's link object keeps no other
    link->SetHotkey(MAKEWORD('K', HOTKEYF_CONTROL));
    TComRef<IPersistFile> file;
    ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.PutVoid())));
    ASSERT_TRUE(SUCCEEDED(file->Save(Utf8ToWide(linkPath).c_str(), TRUE)));
  }
  TLinkData data;
  data.NoUI = true;
  ASSERT_TRUE(SUCCEEDED(ReadShortcut(linkPath, data, true)));
  EXPECT_TRUE(SameText(data.Path, target)) << data.Path;
  EXPECT_EQ(data.ValidFields, 63);
  EXPECT_EQ(data.Arguments, "--fast");
  EXPECT_EQ(data.Description, "The target");
  EXPECT_TRUE(SameText(ExcludeTrailingPathDelimiter(data.WorkingDirectory),
                       ExcludeTrailingPathDelimiter(root_)));
  EXPECT_TRUE(SameText(data.IconPath, "C:\\windows\\system32\\shell32.dll")) << data.IconPath;
  EXPECT_EQ(data.IconIndex, 3);
  EXPECT_EQ(data.ShowCommand, SW_SHOWNORMAL);
  EXPECT_EQ(data.HotKey, MAKEWORD('K', HOTKEYF_CONTROL));
  ASSERT_NE(data.IdList, nullptr);
  EXPECT_TRUE(SameText(PathFromIdList(data.IdList), target));
  ShellFree(data.IdList);

  TLinkData none;
  none.NoUI = true;
  EXPECT_TRUE(FAILED(ReadShortcut(root_ + "absent.lnk", none, false)));
  EXPECT_EQ(none.ValidFields, 0);
}

namespace {

struct PlayedNetApi {
  int binds = 0;
  DWORD status = 0;            // NetUseGetInfo's result
  DWORD useStatus = USE_OK;    // ui1_status of the answer
  std::wstring askedFor;
  int frees = 0;
  USE_INFO_1 answer = {};
} played;

DWORD WINAPI PlayedGetInfo(LPCWSTR, LPCWSTR useName, DWORD level, BYTE** buffer) {
  played.askedFor = useName;
  EXPECT_EQ(level, 1u);
  played.answer.ui1_status = played.useStatus;
  *buffer = played.status == 0 ? reinterpret_cast<BYTE*>(&played.answer) : nullptr;
  return played.status;
}
DWORD WINAPI PlayedFree(void*) {
  ++played.frees;
  return 0;
}
bool BindPlayed(TKxNetApi& api) {
  ++played.binds;
  api.NetUseGetInfo = &PlayedGetInfo;
  api.NetApiBufferFree = &PlayedFree;
  return true;
}
bool BindNothing(TKxNetApi&) {
  ++played.binds;
  return false;
}

}  // namespace

TEST(NetDrive, AsksForTheLetterAndReadsTheUseStatus) {
  played = {};
  SetNetApiBinder(&BindPlayed);
  struct Case {
    const char* name;
    DWORD status, useStatus;
    bool expected;
  } cases[] = {
      {"connected", 0, USE_OK, true},
      {"disconnected", 0, USE_DISCONN, false},
      {"unknown drive", ERROR_NOT_CONNECTED, USE_OK, false},
  };
  for (const Case& c : cases) {
    played.status = c.status;
    played.useStatus = c.useStatus;
    EXPECT_EQ(IsNetDriveConnected('N'), c.expected) << c.name;
    EXPECT_EQ(played.askedFor, L"N:") << c.name;
  }
  EXPECT_EQ(played.binds, 1);  // bound once
  EXPECT_EQ(played.frees, 2);  // every answer's buffer freed
  SetNetApiBinder(nullptr);
}

TEST(NetDrive, AMissingLibraryCountsAsConnectedAndIsNotRetried) {
  played = {};
  SetNetApiBinder(&BindNothing);
  EXPECT_TRUE(IsNetDriveConnected('X'));
  EXPECT_TRUE(IsNetDriveConnected('Y'));
  EXPECT_EQ(played.binds, 1);
  SetNetApiBinder(nullptr);
}

// The file version words of a module read straight from its version resource: the fixed
// file information is found by its signature, without the version routines.
bool FixedFileVersion(const wchar_t* module, TKxModuleVersion& version) {
  HMODULE data = LoadLibraryExW(module, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!data) return false;
  bool found = false;
  if (HRSRC info = FindResourceW(data, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16))) {
    const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(data, info)));
    const DWORD size = SizeofResource(data, info);
    for (DWORD at = 0; bytes && !found && at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
      VS_FIXEDFILEINFO fixed;
      std::memcpy(&fixed, bytes + at, sizeof fixed);
      if (fixed.dwSignature != 0xFEEF04BD) continue;
      version.MostSignificant = fixed.dwFileVersionMS;
      version.LeastSignificant = fixed.dwFileVersionLS;
      found = true;
    }
  }
  FreeLibrary(data);
  return found;
}

TEST(ShellVersions, AreTheModulesFileVersionWords) {
  struct TCase {
    const char* name;
    const wchar_t* wide;
    TKxModuleVersion TKxShellVersions::*recorded;
  } cases[] = {{"shell32.dll", L"shell32.dll", &TKxShellVersions::Shell32},
               {"comctl32.dll", L"comctl32.dll", &TKxShellVersions::ComCtl32}};
  for (const TCase& c : cases) {
    TKxModuleVersion expected;
    ASSERT_TRUE(FixedFileVersion(c.wide, expected)) << c.name;
    ASSERT_NE(expected.MostSignificant, expected.LeastSignificant) << c.name << ": the words must tell apart";
    TKxModuleVersion read;
    ASSERT_TRUE(ReadModuleVersion(c.name, read)) << c.name;
    EXPECT_EQ(read.MostSignificant, expected.MostSignificant) << c.name;
    EXPECT_EQ(read.LeastSignificant, expected.LeastSignificant) << c.name;
    // What start-up recorded is the same pair.
    EXPECT_EQ((ShellVersions().*c.recorded).MostSignificant, expected.MostSignificant) << c.name;
    EXPECT_EQ((ShellVersions().*c.recorded).LeastSignificant, expected.LeastSignificant) << c.name;
  }
  TKxModuleVersion missing{1, 2};
  EXPECT_FALSE(ReadModuleVersion("C:\\no\\such.dll", missing));
  EXPECT_EQ(missing.MostSignificant, 0u);
  EXPECT_EQ(missing.LeastSignificant, 0u);
}

TEST(SystemImages, OverlaysComeOnlyWithNtAndComctl471) {
  const TKxShellVersions real = ShellVersions();
  ASSERT_FALSE(ShellOverlaysInstalled());

  TKxShellVersions old = real;
  old.ComCtl32.MostSignificant = 0x40046;  // 4.70
  old.PlatformId = VER_PLATFORM_WIN32_NT;
  SetShellVersions(old);
  HIMAGELIST small = SystemImageListHandle(TKxIconSize::Small);
  ASSERT_NE(small, nullptr);
  EXPECT_FALSE(ShellOverlaysInstalled());
  const int before = ImageList_GetImageCount(small);

  TKxShellVersions nt471 = old;
  nt471.ComCtl32.MostSignificant = 0x40047;
  SetShellVersions(nt471);
  EXPECT_EQ(SystemImageListHandle(TKxIconSize::Small), small);
  EXPECT_TRUE(ShellOverlaysInstalled());
  EXPECT_EQ(ImageList_GetImageCount(small), before + 2);  // shared and shortcut overlays
  HIMAGELIST large = SystemImageListHandle(TKxIconSize::Large);
  ASSERT_NE(large, nullptr);
  EXPECT_NE(large, small);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(large, &cx, &cy);
  EXPECT_GT(cx, 16);
  SetShellVersions(real);
}

class SystemIconTest : public ShellFolderTest {};

TEST_F(SystemIconTest, FoldersAndFilesGetIconIndexes) {
  MakeFolder("Folder");
  TIdListPtr folder = ListOf(root_ + "Folder");
  const int closed = SystemIconIndexOf(folder.get(), SHGFI_SMALLICON);
  const int open = SystemIconIndexOf(folder.get(), SHGFI_SMALLICON | SHGFI_OPENICON);
  EXPECT_GT(closed, 0);
  EXPECT_GT(open, 0);
  EXPECT_GE(SystemIconIndexOf(nullptr, SHGFI_SMALLICON), 0);
}

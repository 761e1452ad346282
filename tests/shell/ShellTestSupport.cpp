// Shell test helpers and the process set-up every shell test needs (COM, allocator, versions).
#include "ShellTestSupport.h"

#include <cstring>

#include "shell/KxShellCtrls.h"
#include "shell/KxShellUtils.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

namespace {

class ShellEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    ShellUtilsStartup();
    ShellCtrlsStartup();
  }
  void TearDown() override {
    ShellCtrlsShutdown();
    ShellUtilsShutdown();
  }
};

testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new ShellEnvironment);

}  // namespace

TIdListPtr MakeIdList(std::initializer_list<std::vector<unsigned char>> items) {
  std::vector<unsigned char> bytes;
  for (const auto& payload : items) {
    const unsigned count = static_cast<unsigned>(payload.size() + 2);
    bytes.push_back(count & 0xFF);
    bytes.push_back(count >> 8);
    bytes.insert(bytes.end(), payload.begin(), payload.end());
  }
  bytes.push_back(0);
  bytes.push_back(0);
  void* memory = ShellAlloc(bytes.size());
  std::memcpy(memory, bytes.data(), bytes.size());
  return TIdListPtr(static_cast<PIDL>(memory));
}

std::vector<unsigned char> IdListBytes(PCIDL list) {
  const auto* p = reinterpret_cast<const unsigned char*>(list);
  return std::vector<unsigned char>(p, p + IdListSize(list));
}

void RemoveTree(const std::string& path) {
  const std::string base = IncludeTrailingPathDelimiter(path);
  WIN32_FIND_DATAW found = {};
  HANDLE search = FindFirstFileW(Utf8ToWide(base + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = WideToUtf8(found.cFileName);
      if (name == "." || name == "..") continue;
      const std::string full = base + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        SetFileAttributesW(Utf8ToWide(full).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(Utf8ToWide(full).c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(Utf8ToWide(ExcludeTrailingPathDelimiter(path)).c_str());
}

void ShellFolderTest::SetUp() {
  root_ = "C:\\vk_shell_test_" + std::to_string(GetCurrentProcessId()) + "\\";
  RemoveTree(root_);
  ASSERT_TRUE(CreateDirectoryW(Utf8ToWide(root_).c_str(), nullptr)) << root_;
}

void ShellFolderTest::TearDown() { RemoveTree(root_); }

std::string ShellFolderTest::MakeFile(const std::string& name, size_t bytes) {
  const std::string path = root_ + name;
  HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE) << path;
  std::vector<char> data(bytes, 'x');
  DWORD written = 0;
  if (bytes) WriteFile(file, data.data(), static_cast<DWORD>(bytes), &written, nullptr);
  CloseHandle(file);
  return path;
}

std::string ShellFolderTest::MakeFolder(const std::string& name) {
  const std::string path = root_ + name;
  EXPECT_TRUE(CreateDirectoryW(Utf8ToWide(path).c_str(), nullptr)) << path;
  return path;
}

TIdListPtr ShellFolderTest::ListOf(const std::string& path) {
  PIDL list = nullptr;
  const HRESULT hr = IdListFromPath(path, list);
  EXPECT_TRUE(SUCCEEDED(hr)) << path << " " << std::hex << hr;
  return TIdListPtr(list);
}

// Streams: memory growth and seeking, exact reads raising the read error, files (creation,
// opening errors) and resources of the test program.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "toolkit/classes/Streams.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/rtl/TextConv.h"

namespace {

std::string TempPath(const std::string& name) {
  wchar_t dir[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, dir);
  return WideToUtf8(dir) + name;
}

TEST(MemoryStream, WritesGrowAndSeekBack) {
  TMemoryStream s;
  const std::string text(20000, 'x');
  s.WriteBuffer(text.data(), static_cast<long long>(text.size()));
  s.WriteValue<int>(0x01020304);
  EXPECT_EQ(s.Size(), 20004);
  EXPECT_EQ(s.Position(), 20004);
  s.SetPosition(20000);
  EXPECT_EQ(s.ReadValue<int>(), 0x01020304);
  EXPECT_EQ(s.Read(nullptr, 5), 0);  // at the end
  s.Seek(-4, soEnd);
  unsigned char b = 0;
  s.ReadBuffer(&b, 1);
  EXPECT_EQ(b, 4);
  s.SetSize(2);
  EXPECT_EQ(s.Position(), 2);
  EXPECT_EQ(std::string(static_cast<char*>(s.Memory()), 2), "xx");
}

TEST(MemoryStream, ShortReadRaisesTheReadError) {
  TMemoryStream s;
  s.WriteValue<short>(7);
  s.SetPosition(0);
  int v = 0;
  try {
    s.ReadBuffer(&v, 4);
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Stream read error");
  }
}

TEST(MemoryStream, CopyFromWholeSource) {
  TMemoryStream a, b;
  a.WriteBuffer("hello", 5);
  b.WriteBuffer(">", 1);
  EXPECT_EQ(b.CopyFrom(a, 0), 5);
  EXPECT_EQ(std::string(static_cast<char*>(b.Memory()), 6), ">hello");
}

TEST(FileStream, CreateWriteAndReadBack) {
  const std::string path = TempPath("classes_filestream.bin");
  {
    TFileStream out(path, fmCreate);
    out.WriteBuffer("abc", 3);
  }
  TMemoryStream m;
  m.LoadFromFile(path);
  EXPECT_EQ(std::string(static_cast<char*>(m.Memory()), 3), "abc");
  {
    TFileStream in(path, fmOpenReadWrite);
    EXPECT_EQ(in.Size(), 3);
    in.Seek(0, soEnd);
    in.WriteBuffer("d", 1);
    EXPECT_EQ(in.Size(), 4);
  }
  DeleteFileW(Utf8ToWide(path).c_str());
}

TEST(FileStream, MissingFileRaisesTheOpenError) {
  const std::string path = TempPath("no_such_dir_xyz/none.bin");
  try {
    TFileStream in(path, fmOpenRead);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message().rfind("Cannot open file \"" + path + "\". ", 0), 0u) << e.Message();
  }
  EXPECT_THROW(TFileStream(path, fmCreate), EFCreateError);
}

TEST(ResourceStream, MissingResourceRaises) {
  try {
    TResourceStream r(nullptr, "NO_SUCH_LAYOUT", MAKEINTRESOURCEW(10));
    FAIL();
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), "Resource NO_SUCH_LAYOUT not found");
  }
}

TEST(ResourceStream, ReadsTheProgramsVersionResourceReadOnly) {
  // kernel32 carries a version resource (type 16, id 1): a resource of another module.
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  ASSERT_NE(kernel, nullptr);
  TResourceStream r(kernel, 1, MAKEINTRESOURCEW(16));
  ASSERT_GT(r.Size(), 6);
  unsigned short length = r.ReadValue<unsigned short>();
  EXPECT_LE(length, r.Size());
  EXPECT_THROW(r.WriteBuffer("x", 1), EStreamError);
}

}  // namespace

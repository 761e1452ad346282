// The progress window's animation: an AVI clip opens and plays, a missing file raises (the
// window ignores that and shows without animation), stopping stops.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "FormFixture.h"
#include "toolkit/rtl/SysUtils.h"
#include "toolkit/ui/Animate.h"

namespace {

// A silent uncompressed AVI of `frames` 8 x 8 frames at 10 frames a second.
std::vector<std::uint8_t> MakeAvi(int frames) {
  std::vector<std::uint8_t> out;
  auto u32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i))); };
  auto u16 = [&](std::uint16_t v) { out.push_back(static_cast<std::uint8_t>(v)); out.push_back(static_cast<std::uint8_t>(v >> 8)); };
  auto fourcc = [&](const char* c) { for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(c[i])); };
  auto patch = [&](size_t at, std::uint32_t v) { for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i)); };
  const int w = 8, h = 8, frameBytes = w * h * 3;
  fourcc("RIFF"); const size_t riffSize = out.size(); u32(0); fourcc("AVI ");
  fourcc("LIST"); const size_t hdrlSize = out.size(); u32(0); fourcc("hdrl");
  fourcc("avih"); u32(56);
  u32(100000); u32(frameBytes * 10); u32(0); u32(0x10); u32(frames); u32(0); u32(1); u32(frameBytes);
  u32(w); u32(h); u32(0); u32(0); u32(0); u32(0);
  fourcc("LIST"); const size_t strlSize = out.size(); u32(0); fourcc("strl");
  fourcc("strh"); u32(56);
  fourcc("vids"); fourcc("DIB "); u32(0); u16(0); u16(0); u32(0); u32(1); u32(10); u32(0); u32(frames);
  u32(frameBytes); u32(0xFFFFFFFF); u32(0); u16(0); u16(0); u16(w); u16(h);
  fourcc("strf"); u32(40);
  u32(40); u32(w); u32(h); u16(1); u16(24); u32(0); u32(frameBytes); u32(0); u32(0); u32(0); u32(0);
  patch(strlSize, static_cast<std::uint32_t>(out.size() - strlSize - 4));
  patch(hdrlSize, static_cast<std::uint32_t>(out.size() - hdrlSize - 4));
  fourcc("LIST"); const size_t moviSize = out.size(); u32(0); const size_t moviStart = out.size(); fourcc("movi");
  std::vector<std::uint32_t> offsets;
  for (int f = 0; f < frames; ++f) {
    offsets.push_back(static_cast<std::uint32_t>(out.size() - moviStart));
    fourcc("00db"); u32(frameBytes);
    for (int i = 0; i < frameBytes; ++i) out.push_back(static_cast<std::uint8_t>(f % 2 == 0 ? 0x20 : 0xE0));
  }
  patch(moviSize, static_cast<std::uint32_t>(out.size() - moviSize - 4));
  fourcc("idx1"); u32(static_cast<std::uint32_t>(16 * frames));
  for (int f = 0; f < frames; ++f) {
    fourcc("00db"); u32(0x10); u32(offsets[static_cast<size_t>(f)]); u32(frameBytes);
  }
  patch(riffSize, static_cast<std::uint32_t>(out.size() - 8));
  return out;
}

class AnimateTest : public FormFixture {};

TEST_F(AnimateTest, ClipOpensPlaysAndStops) {
  char dir[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, dir);
  const std::string file = std::string(dir) + "vk_animate_test.avi";
  const std::vector<std::uint8_t> avi = MakeAvi(4);
  FILE* f = std::fopen(file.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(avi.data(), 1, avi.size(), f);
  std::fclose(f);

  auto* animation = Add<TAnimate>(10, 10, 50, 42);
  int opens = 0;
  animation->OnOpen = [&](TObject*) { ++opens; };
  animation->SetFileName(file);
  EXPECT_EQ(opens, 1);
  int starts = 0, stops = 0;
  animation->OnStart = [&](TObject*) { ++starts; };
  animation->OnStop = [&](TObject*) { ++stops; };
  animation->SetActive(true);
  Application->ProcessMessages();
  EXPECT_TRUE(animation->Active());
  EXPECT_EQ(starts, 1) << "the control reports that it started playing";
  animation->SetActive(false);
  Application->ProcessMessages();
  EXPECT_FALSE(animation->Active());
  EXPECT_EQ(stops, 1);
  std::remove(file.c_str());
}

TEST_F(AnimateTest, MissingFileRaisesAndLeavesNoClip) {
  auto* animation = Add<TAnimate>(10, 10, 50, 42);
  animation->HandleNeeded();
  EXPECT_THROW(animation->SetFileName("C:\\no\\such\\FINDCOMP.AVI"), EInvalidOperation);
  EXPECT_EQ(animation->FileName(), "");
  animation->SetActive(true);
  EXPECT_FALSE(animation->Active()) << "nothing to play";
}

}  // namespace

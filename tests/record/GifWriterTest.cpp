// The GIF as a standard decoder (giflib's) reads it back: every frame's picture, its delay and
// the loop flag.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "cli/record/GifWriter.h"
#include "ui/Palette.h"

namespace mtd::cli::record {
namespace {

constexpr int W = 40;
constexpr int H = 30;

std::uint32_t word(Rgb c) { return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b; }

struct Picture {
  std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(W * H, 0);
  Frame frame() const { return Frame{pixels, W, W, H}; }
  void fill(int left, int top, int right, int bottom, Rgb colour) {
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) pixels[y * W + x] = word(colour);
    }
  }
};

struct Decoded {
  std::vector<std::vector<std::uint32_t>> pictures;  // composed as a viewer shows them
  std::vector<int> delays;
  bool loops = false;
};

Decoded decode(const std::filesystem::path& path) {
  int error = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
  EXPECT_NE(gif, nullptr);
  Decoded decoded;
  if (gif == nullptr) return decoded;
  EXPECT_EQ(DGifSlurp(gif), GIF_OK);
  EXPECT_EQ(gif->SWidth, W);
  EXPECT_EQ(gif->SHeight, H);
  std::vector<std::uint32_t> screen(W * H, 0);
  const ColorMapObject* map = gif->SColorMap;
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    const GifImageDesc& d = image.ImageDesc;
    for (int y = 0; y < d.Height; ++y) {
      for (int x = 0; x < d.Width; ++x) {
        const GifColorType c = map->Colors[image.RasterBits[y * d.Width + x]];
        screen[(d.Top + y) * W + d.Left + x] = word(Rgb{c.Red, c.Green, c.Blue});
      }
    }
    GraphicsControlBlock control;
    DGifSavedExtensionToGCB(gif, i, &control);
    decoded.pictures.push_back(screen);
    decoded.delays.push_back(control.DelayTime);
  }
  // The decoder files the extensions before the first image with that image.
  if (gif->ImageCount > 0) {
    const SavedImage& first = gif->SavedImages[0];
    for (int i = 0; i < first.ExtensionBlockCount; ++i) {
      if (first.ExtensionBlocks[i].Function == APPLICATION_EXT_FUNC_CODE) decoded.loops = true;
    }
  }
  DGifCloseFile(gif, &error);
  return decoded;
}

class GifWriterTest : public ::testing::Test {
 protected:
  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("mtd-gif-test-" + std::to_string(::getpid()) + ".gif");
  void TearDown() override { std::filesystem::remove(path); }

  Decoded write(const std::vector<std::pair<Picture, int>>& frames, int fps, bool loop) {
    std::FILE* stream = std::fopen(path.c_str(), "wb");
    GifWriter writer(stream, fps, loop);
    for (const auto& [picture, periods] : frames)
      EXPECT_TRUE(writer.addFrame(picture.frame(), periods));
    EXPECT_TRUE(writer.finish()) << writer.error();
    std::fclose(stream);
    return decode(path);
  }
};

TEST_F(GifWriterTest, PicturesComeBackExactlyWithTheirDelays) {
  Picture a;
  a.fill(0, 0, W, H, paletteColour(Brush::SyndromeEmpty));
  a.fill(2, 2, 10, 8, paletteColour(Brush::InfoError));
  Picture b = a;
  b.fill(20, 10, 25, 14, paletteColour(Brush::DifferenceCorrect));
  Picture c = b;
  c.fill(5, 20, 6, 21, paletteColour(Brush::SyndromeCheckError));
  // b is held for three periods (a wait); a repeated c lengthens c.
  const Decoded d = write({{a, 1}, {b, 3}, {c, 1}, {c, 1}}, 25, true);
  ASSERT_EQ(d.pictures.size(), 3u);
  EXPECT_EQ(d.pictures[0], a.pixels);
  EXPECT_EQ(d.pictures[1], b.pixels);
  EXPECT_EQ(d.pictures[2], c.pixels);
  EXPECT_EQ(d.delays, (std::vector<int>{4, 12, 8}));  // 25 fps: 4 cs a period
  EXPECT_TRUE(d.loops);
}

TEST_F(GifWriterTest, DelaysAddUpToTheFramePeriodsAtAnyRate) {
  std::vector<std::pair<Picture, int>> frames;
  for (int i = 0; i < 7; ++i) {
    Picture p;
    p.fill(i, 0, i + 1, 1, paletteColour(Brush::InfoCorrect));
    frames.push_back({p, 1});
  }
  const Decoded d = write(frames, 3, false);  // a third of a second does not divide into cs
  ASSERT_EQ(d.delays.size(), 7u);
  int total = 0;
  for (int delay : d.delays) {
    EXPECT_TRUE(delay == 33 || delay == 34) << delay;
    total += delay;
  }
  EXPECT_EQ(total, 233);  // 7/3 s, rounded
  EXPECT_FALSE(d.loops);
}

TEST_F(GifWriterTest, TextShadesOverBlackTakeTheirNearestRampColour) {
  Picture p;
  p.fill(0, 0, 1, 1, Rgb{0, 100, 0});      // anti-aliased green text
  p.fill(1, 0, 2, 1, Rgb{90, 90, 0});      // anti-aliased yellow text
  p.fill(2, 0, 3, 1, Rgb{200, 201, 199});  // near white
  const Decoded d = write({{p, 1}}, 25, true);
  ASSERT_EQ(d.pictures.size(), 1u);
  auto channel = [&](int x, int shift) {
    return static_cast<int>((d.pictures[0][x] >> shift) & 0xFF);
  };
  EXPECT_EQ(channel(0, 16), 0);
  EXPECT_NEAR(channel(0, 8), 100, 3);
  EXPECT_EQ(channel(0, 0), 0);
  EXPECT_NEAR(channel(1, 16), 90, 3);
  EXPECT_NEAR(channel(1, 8), 90, 3);
  EXPECT_NEAR(channel(2, 8), 200, 4);
}

}  // namespace
}  // namespace mtd::cli::record

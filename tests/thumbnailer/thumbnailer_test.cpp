// SPDX-License-Identifier: MIT
#include "tests/support/clip_builder.h"
#include "tests/support/files.h"
#include "tests/support/jpeg_pictures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace reelcraft {
namespace {

namespace fs = std::filesystem;

struct Pixels {
  int width = 0, height = 0;
  std::string rgb;
};

// A picture file decoded by ffmpeg, scaled to `width` x `height` when they are given.
Pixels Decode(const std::string &path, int width = 0, int height = 0) {
  std::string size = test::RunCommand(test::ToolCommand(test::Tool::Ffprobe) +
                                      " -v error -show_entries stream=width,height -of csv=p=0 " +
                                      test::ShellQuote(path))
                         .output;
  Pixels pixels;
  std::sscanf(size.c_str(), "%d,%d", &pixels.width, &pixels.height);
  std::string scale;
  if (width) {
    scale = " -vf scale=" + std::to_string(width) + ":" + std::to_string(height) + ":flags=area";
    pixels.width = width;
    pixels.height = height;
  }
  pixels.rgb =
      test::RunCommand(test::ToolCommand(test::Tool::Ffmpeg) + " -nostdin -v error -i " +
                       test::ShellQuote(path) + scale +
                       " -sws_flags accurate_rnd+full_chroma_int -f rawvideo -pix_fmt rgb24 -")
          .output;
  return pixels;
}

double MeanDifference(const Pixels &a, const Pixels &b) {
  if (a.rgb.size() != b.rgb.size() || a.rgb.empty())
    return 255;
  double sum = 0;
  for (size_t i = 0; i < a.rgb.size(); ++i)
    sum += std::abs(uint8_t(a.rgb[i]) - uint8_t(b.rgb[i]));
  return sum / double(a.rgb.size());
}

class ThumbnailerTest : public testing::Test {
protected:
  void SetUp() override { REELCRAFT_NEEDS_PICTURE_TOOLS(); }

  int Run(const test::Bytes &clip, int size) {
    test::WriteFileBytes(dir / "clip.qvj", clip);
    std::string command = std::string(THUMBNAILER_PATH) + " -s " + std::to_string(size) + " " +
                          test::ShellQuote(dir / "clip.qvj") + " " + test::ShellQuote(png);
    return test::RunCommand(command + " 2>/dev/null").status;
  }

  // Everything in the thumbnail's folder but the clip.
  std::vector<std::string> Written() const {
    std::set<std::string> names = test::FolderHolds(dir.path());
    names.erase("clip.qvj");
    return {names.begin(), names.end()};
  }

  test::TempDir dir;
  std::string png = dir / "thumb.png";
};

TEST_F(ThumbnailerTest, TheFirstPictureScaledToTheSizeKeepingItsShape) {
  struct Case {
    const char *what;
    int width, height, size;
    bool sound;
    int thumbWidth, thumbHeight;
  };
  const Case cases[] = {
      {"landscape", 320, 240, 128, false, 128, 96},
      {"portrait, with sound", 240, 320, 100, true, 75, 100},
      {"smaller than the size: as it is", 160, 120, 256, true, 160, 120},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    test::ClipSpec spec;
    spec.pictures = test::MakePictures(3, c.width, c.height, 7);
    spec.gaps = {test::Bytes(700, 0x11)};
    if (c.sound)
      spec.audio = test::ClipAudio{test::Bytes(3000, 0x80)};
    ASSERT_EQ(Run(test::BuildClip(spec).file, c.size), 0);
    EXPECT_EQ(Written(), std::vector<std::string>{"thumb.png"});

    test::WriteFileBytes(dir / "first.jpg", spec.pictures[0]);
    Pixels expected = Decode(dir / "first.jpg", c.thumbWidth, c.thumbHeight);
    Pixels thumbnail = Decode(png);
    EXPECT_EQ(thumbnail.width, c.thumbWidth);
    EXPECT_EQ(thumbnail.height, c.thumbHeight);
    // Decoders upsample the colour of the pictures' sharp checks differently, and scalers
    // differ; another picture of the clip differs by far more.
    EXPECT_LT(MeanDifference(thumbnail, expected), 12);
    test::WriteFileBytes(dir / "second.jpg", spec.pictures[1]);
    EXPECT_GT(MeanDifference(thumbnail, Decode(dir / "second.jpg", c.thumbWidth, c.thumbHeight)),
              40);
    fs::remove(dir / "first.jpg");
    fs::remove(dir / "second.jpg");
    fs::remove(png);
  }
}

TEST_F(ThumbnailerTest, AClipWithoutAWholeFirstPictureGivesExitOneAndNoFile) {
  test::ClipSpec spec;
  spec.pictures = test::MakePictures(2);
  test::Bytes good = test::BuildClip(spec).file;

  test::Bytes lowerCase = good;
  lowerCase[0] = 'q';
  test::Bytes truncated(good.begin(), good.begin() + 512 + spec.pictures[0].size() - 2);
  test::ClipSpec noPicture = spec;
  noPicture.pictures = {test::Bytes(5000, 0x20)};
  test::ClipSpec notJpeg = spec;
  notJpeg.pictures = {{0xFF, 0xD8, 1, 2, 3, 4, 0xFF, 0xD9}};
  test::ClipSpec soundOnly = spec;
  soundOnly.pictures = {};
  soundOnly.audio = test::ClipAudio{test::Bytes(5000, 0x80)};

  const std::pair<const char *, test::Bytes> clips[] = {
      {"bad header", lowerCase},
      {"short header", test::Bytes(good.begin(), good.begin() + 20)},
      {"first picture cut off", truncated},
      {"no picture", test::BuildClip(noPicture).file},
      {"sound and no picture", test::BuildClip(soundOnly).file},
      {"markers around no picture", test::BuildClip(notJpeg).file},
  };
  for (const auto &[what, clip] : clips) {
    SCOPED_TRACE(what);
    EXPECT_EQ(Run(clip, 128), 1);
    EXPECT_TRUE(Written().empty());
  }
  EXPECT_EQ(Run(good, 0), 2);
  EXPECT_TRUE(Written().empty());
}

// A file manager runs the thumbnailer on whatever arrives: only pictures laid out as cameras
// write them are decoded (their time and memory: bench/thumbnailer_bench.sh).
TEST_F(ThumbnailerTest, OnlyPicturesLaidOutAsCamerasWriteThemAreDecoded) {
  for (const test::NamedPicture &picture : test::ThumbnailerPictures()) {
    SCOPED_TRACE(picture.name);
    test::ClipSpec spec;
    spec.pictures = {picture.jpeg};
    if (!picture.cameraLike) {
      EXPECT_EQ(Run(test::BuildClip(spec).file, 128), 1);
      EXPECT_TRUE(Written().empty());
      continue;
    }
    EXPECT_EQ(Run(test::BuildClip(spec).file, 128), 0);
    Pixels thumbnail = Decode(png);
    EXPECT_EQ(thumbnail.width, 128); // every one is 4:3
    EXPECT_EQ(thumbnail.height, 96);
    fs::remove(png);
  }
}

} // namespace
} // namespace reelcraft

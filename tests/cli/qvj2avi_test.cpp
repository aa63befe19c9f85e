#include "tests/support/avi_probe.h"
#include "tests/support/clip_builder.h"
#include "tests/support/md5.h"
#include "tests/support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

namespace reelcraft {
namespace {

using test::Bytes;

// Runs the real qvj2avi, as a script would.
class Qvj2aviTest : public ::testing::Test {
protected:
  struct Run {
    int status;
    std::string errors;
    std::string output;
  };

  Run Qvj2avi(const std::string &arguments) {
    std::string errorsFile = dir / "stderr.txt";
    test::CommandResult result = test::RunCommand(test::ShellQuote(QVJ2AVI_PATH) + " " +
                                                  arguments + " 2>" + test::ShellQuote(errorsFile));
    Bytes errors = test::ReadFileBytes(errorsFile);
    std::filesystem::remove(errorsFile);
    return {result.status, std::string(errors.begin(), errors.end()), result.output};
  }

  std::set<std::string> FolderHolds() const {
    std::set<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(dir.path()))
      names.insert(entry.path().filename().string());
    return names;
  }

  static test::ClipSpec Clip(int pictures) {
    test::ClipSpec spec;
    spec.pictures = test::MakePictures(pictures);
    return spec;
  }

  void ExpectFrames(const std::string &avi, const std::vector<Bytes> &pictures) {
    EXPECT_EQ(test::ProbeFile(avi).streams.at(0).rFrameRate, "15/1");
    EXPECT_EQ(test::PacketMd5s(avi, "0:v"), test::Md5Hexes(pictures));
  }

  test::TempDir dir;
  std::string clip = dir / "clip.qvj";
  std::string avi = dir / "clip.avi";
};

TEST_F(Qvj2aviTest, ConvertsBesideTheClip) {
  test::ClipSpec spec = Clip(4);
  test::WriteClip(clip, spec);
  Run run = Qvj2avi(test::ShellQuote(clip));
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "");
  ExpectFrames(avi, spec.pictures);
  EXPECT_EQ(FolderHolds(), (std::set<std::string>{"clip.qvj", "clip.avi"}));
  EXPECT_EQ(std::filesystem::status(avi).permissions() & std::filesystem::perms::others_read,
            std::filesystem::status(clip).permissions() & std::filesystem::perms::others_read)
      << "the output gets the usual permissions, not those of a private temporary file";
}

TEST_F(Qvj2aviTest, ExistingOutputIsKeptUnlessForced) {
  test::ClipSpec spec = Clip(2);
  test::WriteClip(clip, spec);
  std::string out = dir / "elsewhere.avi";
  test::WriteFileBytes(out, {'o', 'l', 'd'});
  Run run = Qvj2avi(test::ShellQuote(clip) + " -o " + test::ShellQuote(out));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, clip + ": " + out + " already exists; use -f to replace it\n");
  EXPECT_EQ(test::ReadFileBytes(out), (Bytes{'o', 'l', 'd'}));

  run = Qvj2avi("-f -o " + test::ShellQuote(out) + " " + test::ShellQuote(clip));
  EXPECT_EQ(run.status, 0) << run.errors;
  ExpectFrames(out, spec.pictures);
  EXPECT_EQ(FolderHolds(), (std::set<std::string>{"clip.qvj", "elsewhere.avi"}));
}

TEST_F(Qvj2aviTest, BadClipsFailWithTheirMessageAndLeaveNothing) {
  test::ClipSpec good = Clip(5);
  Bytes whole = test::BuildClip(good).file;
  test::ClipSpec noPicture;
  noPicture.pictures = {Bytes(3000, 0x20)};
  struct Case {
    std::string name;
    Bytes file;
    std::string message;
  };
  std::vector<Case> cases = {
      {"short", Bytes(whole.begin(), whole.begin() + 34), "Failed to read file header"},
      {"foreign", Bytes{'R', 'I', 'F', 'F', 'x', 'y', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                        0,   0,   0,   0,   0,   0,   0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       "Unrecgonised file format: RIFFxy"},
      {"no picture", test::BuildClip(noPicture).file, "Failed to find first JPEG"},
      {"truncated", Bytes(whole.begin(), whole.end() - long(good.pictures[4].size() / 2)),
       "Failed to find JPEG"},
  };
  for (const Case &c : cases) {
    test::WriteFileBytes(clip, c.file);
    Run run = Qvj2avi(test::ShellQuote(clip));
    EXPECT_EQ(run.status, 1) << c.name;
    EXPECT_EQ(run.errors, clip + ": " + c.message + "\n") << c.name;
    EXPECT_EQ(FolderHolds(), std::set<std::string>{"clip.qvj"}) << c.name;
  }
  Run run = Qvj2avi(test::ShellQuote(dir / "missing.qvj"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, dir / "missing.qvj" + ": Could not open source file:\n" +
                            (dir / "missing.qvj") + " was not found.\n");
}

TEST_F(Qvj2aviTest, RefusesClipsWithSoundForNow) {
  test::ClipSpec spec = Clip(2);
  spec.audio = test::ClipAudio{Bytes(2048, 0x80)};
  test::WriteClip(clip, spec);
  Run run = Qvj2avi(test::ShellQuote(clip));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, clip + ": Clips with sound are not supported yet; nothing written\n");
  EXPECT_EQ(FolderHolds(), std::set<std::string>{"clip.qvj"});
}

TEST_F(Qvj2aviTest, OutputFolderThatDoesNotExist) {
  test::WriteClip(clip, Clip(2));
  std::string out = dir / "missing/out.avi";
  Run run = Qvj2avi(test::ShellQuote(clip) + " -o " + test::ShellQuote(out));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, clip + ": Could not create a temporary file beside the output:\n" + out +
                            " was not found.\n");
}

TEST_F(Qvj2aviTest, UsageErrorsAndHelp) {
  Run run = Qvj2avi("");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.errors, "qvj2avi: no clip given\nTry 'qvj2avi --help'.\n");
  EXPECT_EQ(Qvj2avi("a.qvj --bogus").status, 2);
  run = Qvj2avi("--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.output.find("Usage: qvj2avi CLIP"), std::string::npos);
}

} // namespace
} // namespace reelcraft

// SPDX-License-Identifier: MIT
#include "cli/output_plan.h"
#include "sys/file_identity.h"
#include "tests/support/avi_probe.h"
#include "tests/support/clip_builder.h"
#include "tests/support/environment.h"
#include "tests/support/files.h"
#include "tests/support/md5.h"
#include "tests/support/scoped_mount.h"
#include "tests/support/temp_dir.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#ifndef _WIN32
#include <pty.h>
#endif
#include <set>
#include <signal.h>
#include <sstream>
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#endif
#include <thread>
#include <unistd.h>

namespace reelcraft {
namespace {

using test::Bytes;
using test::FolderHolds;
// The line that follows the message about a file that is no clip.
const std::string kHint = "\nIts pictures may still be found: qvj2avi --salvage (with --like "
                          "OTHER.qvj, a clip of the same camera, for the size, rate and sound).";
namespace fs = std::filesystem;

// Message groups of standard error: a group begins with a line "PATH: " (PATH without
// blanks) or with the summary, and takes the lines that follow it (the rest of its message).
std::multiset<std::string> MessageGroups(const std::string &errors) {
  std::multiset<std::string> groups;
  std::istringstream lines(errors);
  std::string line, group;
  while (std::getline(lines, line)) {
    auto colon = line.find(": ");
    bool starts = (colon != std::string::npos && line.find(' ') == colon + 1) ||
                  line.find(" converted, ") != std::string::npos;
    if (starts && !group.empty()) {
      groups.insert(group);
      group.clear();
    }
    group += line + "\n";
  }
  if (!group.empty())
    groups.insert(group);
  return groups;
}

// Runs the real qvj2avi, as a script would.
class Qvj2aviTest : public ::testing::Test {
protected:
  // The cases that read the AVI files back with ffprobe and ffmpeg say so themselves.
  void SetUp() override { REELCRAFT_NEEDS_TOOLS(test::Tool::Cjpeg); }

  struct Run {
    int status;
    std::string errors;
    std::string output;
  };

#ifndef _WIN32
  // Preloads the fault shim (tests/cli/fault_shim.cpp) with its `settings`.
  static std::string Faults(const std::string &settings) {
    return "ASAN_OPTIONS=verify_asan_link_order=0 LD_PRELOAD=" + test::ShellQuote(FAULT_SHIM_PATH) +
           " " + settings + " ";
  }
#endif

  // `wrapper` goes before the program: "timeout 20 ", or Faults(…).
  Run Qvj2avi(const std::string &arguments, const std::string &wrapper = "") {
    std::string errorsFile = work / "stderr.txt";
    test::CommandResult result = test::RunCommand(wrapper + test::ShellQuote(QVJ2AVI_PATH) + " " +
                                                  arguments + " 2>" + test::ShellQuote(errorsFile));
    Bytes errors = test::ReadFileBytes(errorsFile);
    return {result.status, std::string(errors.begin(), errors.end()), result.output};
  }

  static test::ClipSpec Clip(int pictures, int firstSeed = 1) {
    test::ClipSpec spec;
    spec.pictures = test::MakePictures(pictures, 320, 240, firstSeed);
    return spec;
  }

  // `count` pictures of 640x480 that repeat `distinct` different ones.
  static test::ClipSpec LargeClip(int distinctCount, int count) {
    test::ClipSpec spec;
    std::vector<Bytes> distinct = test::MakePictures(distinctCount, 640, 480);
    for (int i = 0; i < count; ++i)
      spec.pictures.push_back(distinct[size_t(i) % distinct.size()]);
    spec.width = 640;
    spec.height = 480;
    return spec;
  }

  static void ExpectFrames(const std::string &avi, const std::vector<Bytes> &pictures,
                           const std::string &rate = "15/1", size_t streams = 1) {
    test::ProbedFile probed = test::ProbeFile(avi);
    EXPECT_TRUE(probed.ok) << avi;
    ASSERT_EQ(probed.streams.size(), streams) << avi;
    EXPECT_EQ(probed.streams[0].rFrameRate, rate) << avi;
    EXPECT_EQ(test::PacketMd5s(avi, "0:v"), test::Md5Hexes(pictures)) << avi;
  }

  test::TempDir dir;  // clips and outputs
  test::TempDir work; // what the test itself keeps
  std::string clip = dir / "clip.qvj";
  std::string avi = dir / "clip.avi";
};

TEST_F(Qvj2aviTest, ConvertsBesideTheClip) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec = Clip(4);
  test::WriteClip(clip, spec);
  Run run = Qvj2avi(test::ShellQuote(clip));
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "1 converted, 0 incomplete, 0 failed, 0 skipped\n");
  ExpectFrames(avi, spec.pictures);
  EXPECT_EQ(FolderHolds(dir.path()), (std::set<std::string>{"clip.qvj", "clip.avi"}));
  EXPECT_EQ(fs::status(avi).permissions() & fs::perms::others_read,
            fs::status(clip).permissions() & fs::perms::others_read)
      << "the output gets the usual permissions, not those of a private temporary file";
}

TEST_F(Qvj2aviTest, SeveralClipsIntoAFolderWithTwoJobs) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  fs::create_directory(dir / "out");
  std::vector<test::ClipSpec> specs;
  std::string clips;
  for (int i = 0; i < 4; ++i) {
    specs.push_back(Clip(3 + i, 10 * i + 1));
    specs.back().frameRate = uint16_t(25 + i);
    std::string path = dir / ("clip" + std::to_string(i) + ".qvj");
    test::WriteClip(path, specs.back());
    clips += " " + test::ShellQuote(path);
  }
  Run run = Qvj2avi("-j2 --output=" + test::ShellQuote(dir / "out") + clips);
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "4 converted, 0 incomplete, 0 failed, 0 skipped\n");
  EXPECT_EQ(FolderHolds(dir / "out"),
            (std::set<std::string>{"clip0.avi", "clip1.avi", "clip2.avi", "clip3.avi"}));
  const char *rates[] = {"25/2", "13/1", "27/2", "14/1"};
  for (int i = 0; i < 4; ++i)
    ExpectFrames(dir / ("out/clip" + std::to_string(i) + ".avi"), specs[size_t(i)].pictures,
                 rates[i]);
}

TEST_F(Qvj2aviTest, ExistingOutputIsKeptUnlessForced) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec = Clip(2);
  test::WriteClip(clip, spec);
  test::ClipSpec other = Clip(3, 7);
  test::WriteClip(dir / "other.qvj", other);
  test::WriteFileBytes(avi, {'o', 'l', 'd'});
  std::string both = test::ShellQuote(clip) + " " + test::ShellQuote(dir / "other.qvj");
  Run run = Qvj2avi(both);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, clip + ": " + avi +
                            " already exists; use -f to replace it\n"
                            "1 converted, 0 incomplete, 0 failed, 1 skipped\n");
  EXPECT_EQ(test::ReadFileBytes(avi), (Bytes{'o', 'l', 'd'}));
  ExpectFrames(dir / "other.avi", other.pictures);

  run = Qvj2avi("-fq " + both);
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "");
  ExpectFrames(avi, spec.pictures);
  EXPECT_EQ(FolderHolds(dir.path()),
            (std::set<std::string>{"clip.qvj", "clip.avi", "other.qvj", "other.avi"}));
}

TEST_F(Qvj2aviTest, ClipsWithSoundGetTheirAudioStreamAndLeaveNoTemporaryFile) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ScopedEnvironment tmp("TMPDIR", work.path().string());
  struct Sound {
    std::string name;
    uint16_t channels, bitsPerSample;
    std::string codec;
  };
  std::vector<Sound> sounds = {{"mono8", 1, 8, "pcm_u8"}, {"stereo16", 2, 16, "pcm_s16le"}};
  std::vector<test::BuiltClip> built;
  std::string clips;
  for (const Sound &sound : sounds) {
    test::ClipSpec spec = Clip(6);
    Bytes pcm;
    for (int i = 0; i < 5000; ++i)
      pcm.push_back(uint8_t(i * 7 + sound.channels));
    spec.audio = test::ClipAudio{pcm, 1, 11025, sound.channels, sound.bitsPerSample};
    built.push_back(test::WriteClip(dir / (sound.name + ".qvj"), spec));
    clips += " " + test::ShellQuote(dir / (sound.name + ".qvj"));
  }
  Run run = Qvj2avi("-j 2" + clips);
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "2 converted, 0 incomplete, 0 failed, 0 skipped\n");
  for (size_t i = 0; i < sounds.size(); ++i) {
    std::string out = dir / (sounds[i].name + ".avi");
    test::ProbedFile probed = test::ProbeFile(out);
    EXPECT_TRUE(probed.ok);
    ASSERT_EQ(probed.streams.size(), 2u);
    EXPECT_EQ(probed.streams[0].codecType, "video");
    EXPECT_EQ(probed.streams[1].codecName, sounds[i].codec);
    EXPECT_EQ(probed.streams[1].sampleRate, 11025);
    EXPECT_EQ(probed.streams[1].channels, sounds[i].channels);
    EXPECT_EQ(test::PacketMd5s(out, "0:v"), test::Md5Hexes(Clip(6).pictures));
    EXPECT_EQ(test::StreamBytes(out, "0:a"), built[i].sound);
  }
  EXPECT_EQ(FolderHolds(work.path()), std::set<std::string>{"stderr.txt"})
      << "the separation files are gone";
}

#ifndef _WIN32 // faults are injected through LD_PRELOAD
// A bad sector of a worn card: the clip fails, with its name and the system's reason, and
// nothing is kept; nothing read before the sector passes for the whole clip.
TEST_F(Qvj2aviTest, ReadErrorFailsTheClipAndKeepsNothing) {
  test::ScopedEnvironment tmp("TMPDIR", work.path().string());
  test::ClipSpec plain = Clip(40);
  test::ClipSpec sound = Clip(40);
  sound.audio = test::ClipAudio{Bytes(40000, 0x80)};
  struct Case {
    test::ClipSpec spec;
    size_t failFrom;
  } cases[] = {{plain, 250000}, {sound, 250000}, {plain, 20}};
  for (const Case &fault : cases) {
    test::WriteClip(clip, fault.spec);
    ASSERT_GT(fs::file_size(clip), fault.failFrom);
    Run run = Qvj2avi(test::ShellQuote(clip),
                      Faults("REELCRAFT_FAIL_READ=" +
                             test::ShellQuote(std::to_string(fault.failFrom) + ":" + clip)));
    EXPECT_EQ(run.status, 1) << run.errors;
    EXPECT_NE(run.errors.find("Could not read " + clip + ":\nInput/output error\n"),
              std::string::npos)
        << run.errors;
    EXPECT_NE(run.errors.find("0 converted, 0 incomplete, 1 failed"), std::string::npos)
        << run.errors;
    EXPECT_EQ(FolderHolds(dir.path()), std::set<std::string>{"clip.qvj"});
    EXPECT_EQ(FolderHolds(work.path()), std::set<std::string>{"stderr.txt"});
  }
}

// Another user of a folder without the sticky bit swaps each new temporary name for a link to
// a file of ours the moment it is made: nothing is written through it. (Files without a name
// give nothing to swap: here the file system cannot make them.)
TEST_F(Qvj2aviTest, TemporaryNameSwappedForALinkIsNeverWrittenThrough) {
  fs::create_directory(work / "tmp");
  test::ScopedEnvironment tmp("TMPDIR", work / "tmp");
  std::string victim = work / "victim.txt";
  test::WriteFileBytes(victim, Bytes(100, 'v'));
  test::ClipSpec sound = Clip(3);
  sound.audio = test::ClipAudio{Bytes(5 << 20, 0x80)}; // more than memory holds of it
  // The hidden AVI beside the output, then the scratch file of the sound.
  struct Case {
    test::ClipSpec spec;
    std::string folder;
  } cases[] = {{Clip(3), dir.path().string()}, {sound, work / "tmp"}};
  for (const Case &swap : cases) {
    test::WriteClip(clip, swap.spec);
    Run run = Qvj2avi(test::ShellQuote(clip),
                      Faults("REELCRAFT_SWAP_DIR=" + test::ShellQuote(swap.folder) +
                             " REELCRAFT_SWAP_TO=" + test::ShellQuote(victim) +
                             " REELCRAFT_NO_UNNAMED=1"));
    EXPECT_EQ(run.status, 1) << run.errors;
    EXPECT_EQ(test::ReadFileBytes(victim), Bytes(100, 'v')) << run.errors;
    EXPECT_FALSE(fs::exists(avi));
  }
}

#endif

// However long a name the folder takes, the hidden name beside it fits too.
TEST_F(Qvj2aviTest, OutputNameOfTheLongestLength) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec = Clip(2);
  test::WriteClip(clip, spec);
  std::string name = std::string(251, 'n') + ".avi";
  Run run = Qvj2avi("-q -o " + test::ShellQuote(dir / name) + " " + test::ShellQuote(clip));
  EXPECT_EQ(run.status, 0) << run.errors;
  ExpectFrames(dir / name, spec.pictures);
  EXPECT_EQ(FolderHolds(dir.path()), (std::set<std::string>{"clip.qvj", name}));
}

TEST_F(Qvj2aviTest, OutputsThatCollideAreRefusedEvenWithForce) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  fs::create_directories(dir / "a");
  fs::create_directories(dir / "b");
  fs::create_directories(dir / "out");
  test::ClipSpec first = Clip(2), second = Clip(3, 5);
  test::WriteClip(dir / "a/clip.qvj", first);
  test::WriteClip(dir / "b/clip.qvj", second);
  Run run =
      Qvj2avi("-f -j 2 -o " + test::ShellQuote(dir / "out") + " " +
              test::ShellQuote(dir / "a/clip.qvj") + " " + test::ShellQuote(dir / "b/clip.qvj"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, dir / "b/clip.qvj" + ": " + (dir / "out/clip.avi") +
                            " is also the output of " + (dir / "a/clip.qvj") +
                            "; skipped\n1 converted, 0 incomplete, 0 failed, 1 skipped\n");
  EXPECT_EQ(FolderHolds(dir / "out"), std::set<std::string>{"clip.avi"});
  ExpectFrames(dir / "out/clip.avi", first.pictures);
}

TEST_F(Qvj2aviTest, BadClipsFailWithTheirMessageAndLeaveNothing) {
  test::ClipSpec good = Clip(5);
  Bytes whole = test::BuildClip(good).file;
  test::ClipSpec noPicture;
  noPicture.pictures = {Bytes(3000, 0x20)};
  std::string missing = dir / "missing.qvj";
  struct Case {
    std::string name;
    Bytes file;
    std::string message;
  };
  std::vector<Case> cases = {
      {"short.qvj", Bytes(whole.begin(), whole.begin() + 34), "Failed to read file header"},
      {"foreign.qvj", Bytes{'R', 'I', 'F', 'F', 'x', 'y', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                            0,   0,   0,   0,   0,   0,   0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       "Unrecgonised file format: RIFFxy" + kHint},
      {"lower.qvj", Bytes{'q', 'v', 'a', 'v', '0', '1', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                          0,   0,   0,   0,   0,   0,   0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       "Unrecgonised file format: qvav01" + kHint},
      {"nopicture.qvj", test::BuildClip(noPicture).file, "Failed to find first JPEG"},
  };
  std::set<std::string> clipsLeft;
  std::multiset<std::string> expected = {missing + ": Could not open source file:\n" + missing +
                                         " was not found.\n"};
  std::string arguments = "-j 2 " + test::ShellQuote(missing);
  for (const Case &c : cases) {
    test::WriteFileBytes(dir / c.name, c.file);
    clipsLeft.insert(c.name);
    expected.insert(dir / c.name + ": " + c.message + "\n");
    arguments += " " + test::ShellQuote(dir / c.name);
  }
  expected.insert("0 converted, 0 incomplete, 5 failed, 0 skipped\n");
  // Several clips at once: every message arrives whole, its lines together.
  Run run = Qvj2avi(arguments);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(MessageGroups(run.errors), expected) << run.errors;
  EXPECT_EQ(FolderHolds(dir.path()), clipsLeft);

  for (const Case &c : cases) {
    run = Qvj2avi("-q " + test::ShellQuote(dir / c.name));
    EXPECT_EQ(run.status, 1) << c.name;
    EXPECT_EQ(run.errors, dir / c.name + ": " + c.message + "\n") << c.name;
  }
  EXPECT_EQ(FolderHolds(dir.path()), clipsLeft);
}

// A clip that ends early is kept as far as it goes but is no success: a script must see it.
TEST_F(Qvj2aviTest, ClipEndingEarlyIsKeptAsIncompleteAndCountsAsAFailure) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec = Clip(5);
  spec.frameCount = 40;
  Bytes whole = test::BuildClip(spec).file;
  test::WriteFileBytes(clip, Bytes(whole.begin(), whole.end() - long(spec.pictures[4].size() / 2)));
  test::WriteClip(dir / "whole.qvj", Clip(2));
  fs::last_write_time(clip, std::chrono::file_clock::from_sys(
                                std::chrono::sys_seconds(std::chrono::seconds(1400000000))));
  Run run = Qvj2avi("-j1 --progress=json " + test::ShellQuote(clip) + " " +
                    test::ShellQuote(dir / "whole.qvj"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, clip + ": Failed to find JPEG\n" + clip +
                            ": incomplete, 4 of 40 pictures\n"
                            "1 converted, 1 incomplete, 0 failed, 0 skipped\n");
  ExpectFrames(avi, std::vector<Bytes>(spec.pictures.begin(), spec.pictures.begin() + 4));
  EXPECT_EQ(fs::last_write_time(avi), fs::last_write_time(clip)) << "the AVI keeps the clip's date";
  std::map<std::string, std::pair<int, int>> counts;
  std::istringstream lines(run.output);
  for (std::string line; std::getline(lines, line);) {
    nlohmann::json event = nlohmann::json::parse(line);
    if (event.contains("picturesWritten"))
      counts[event.at("state")] = {event.at("picturesWritten"), event.at("picturesExpected")};
  }
  EXPECT_EQ(counts, (std::map<std::string, std::pair<int, int>>{{"incomplete", {4, 40}},
                                                                {"converted", {2, 2}}}));
}

// Salvage passes over damage that stops a plain conversion, says so, and counts the clip as
// incomplete; --scan tells the same without writing; a clip without damage gives the same AVI.
TEST_F(Qvj2aviTest, SalvagePassesOverDamageAndScanTellsWhereItLies) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec spec = Clip(5);
  Bytes whole = test::BuildClip(spec).file;
  test::WriteFileBytes(dir / "whole.qvj", whole);
  Bytes broken = spec.pictures[1];
  std::fill(broken.begin() + 700, broken.begin() + 900, 0xD8); // start markers in its data
  broken[700] = 0xFF;
  spec.pictures[1] = broken;
  test::WriteClip(clip, spec);
  Run scan =
      Qvj2avi("--scan " + test::ShellQuote(clip) + " " + test::ShellQuote(dir / "whole.qvj"));
  EXPECT_EQ(scan.status, 0);
  EXPECT_FALSE(fs::exists(avi)) << "a scan writes nothing";
  nlohmann::json found = nlohmann::json::parse(scan.output);
  EXPECT_EQ(found[0].at("picturesRecovered"), 4);
  ASSERT_EQ(found[0].at("damagedStretches").size(), 1u);
  uint64_t begin = found[0]["damagedStretches"][0].at("begin");
  EXPECT_EQ(found[1].at("picturesRecovered"), 5);
  EXPECT_TRUE(found[1].at("damagedStretches").empty());

  Run run = Qvj2avi("-s -j1 --progress=json " + test::ShellQuote(clip) + " " +
                    test::ShellQuote(dir / "whole.qvj"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, clip + ": salvaged 4 of 5 pictures; 1 damaged stretch (first at byte " +
                            std::to_string(begin) +
                            ")\n1 converted, 1 incomplete, 0 failed, 0 skipped\n");
  ExpectFrames(avi, {spec.pictures[0], spec.pictures[2], spec.pictures[3], spec.pictures[4]});
  EXPECT_NE(run.output.find(
                "\"state\":\"incomplete\",\"bytesDone\":" + std::to_string(fs::file_size(clip)) +
                ",\"bytesTotal\":" + std::to_string(fs::file_size(clip)) +
                ",\"picturesWritten\":4,\"picturesExpected\":5,\"damagedStretches\":1,"
                "\"picturesLeftOut\":0,\"picturesForeign\":0,\"headerGuessed\":[]}"),
            std::string::npos)
      << run.output;
  Bytes salvaged = test::ReadFileBytes(dir / "whole.avi");
  EXPECT_EQ(Qvj2avi("-f " + test::ShellQuote(dir / "whole.qvj")).status, 0);
  EXPECT_EQ(test::ReadFileBytes(dir / "whole.avi"), salvaged) << "no damage, no difference";
}

TEST_F(Qvj2aviTest, InfoPrintsEveryHeaderFieldAndConvertsNothing) {
  test::ClipSpec plain = Clip(2);
  plain.frameRate = 25;
  plain.width = 640;
  plain.height = 480;
  test::WriteClip(dir / "plain.qvj", plain);
  test::ClipSpec sound = Clip(2);
  sound.audio = test::ClipAudio{Bytes(2048, 0x40), 0x00000100, 8000, 2, 16};
  test::WriteClip(dir / "sound.qvj", sound);
  uint32_t plainSize = uint32_t(test::BuildClip(plain).pictureStream.size());
  uint32_t soundSize = uint32_t(test::BuildClip(sound).pictureStream.size());
  test::WriteFileBytes(dir / "short.qvj", {'Q', 'V', 'A', 'V', '0', '1'});

  Run run =
      Qvj2avi("--info " + test::ShellQuote(dir / "plain.qvj") + " " +
              test::ShellQuote(dir / "short.qvj") + " " + test::ShellQuote(dir / "sound.qvj"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, dir / "short.qvj" + ": Failed to read file header\n");
  EXPECT_EQ(run.output, dir / "plain.qvj" + ":\n" +
                            "  dataOffset: 512\n"
                            "  dataSize: " +
                            std::to_string(plainSize) +
                            "\n"
                            "  width: 640\n"
                            "  height: 480\n"
                            "  frameCount: 2\n"
                            "  frameRate: 25 (12.5 pictures per second)\n"
                            "  spare: 0\n"
                            "  audioPresent: 0 (no sound)\n"
                            "  sampleRate: 8000\n"
                            "  channels: 1\n"
                            "  bitsPerSample: 8\n" +
                            (dir / "sound.qvj") + ":\n" +
                            "  dataOffset: 512\n"
                            "  dataSize: " +
                            std::to_string(soundSize) +
                            "\n"
                            "  width: 320\n"
                            "  height: 240\n"
                            "  frameCount: 2\n"
                            "  frameRate: 30 (15 pictures per second)\n"
                            "  spare: 0\n"
                            "  audioPresent: 256 (sound)\n"
                            "  sampleRate: 8000\n"
                            "  channels: 2\n"
                            "  bitsPerSample: 16\n"
                            "  blockAlign: 4\n"
                            "  byteRate: 32000\n");

  run = Qvj2avi("--info --json " + test::ShellQuote(dir / "plain.qvj") + " " +
                test::ShellQuote(dir / "short.qvj") + " " + test::ShellQuote(dir / "sound.qvj"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, "");
  nlohmann::json infos = nlohmann::json::parse(run.output);
  nlohmann::json header = {{"dataOffset", 512},       {"width", 320},
                           {"height", 240},           {"frameCount", 2},
                           {"frameRate", 30},         {"spare", 0},
                           {"sampleRate", 8000},      {"bitsPerSample", 16},
                           {"picturesPerSecond", 15}, {"durationSeconds", 2.0 / 15}};
  nlohmann::json plainHeader = header;
  plainHeader.update({{"path", dir / "plain.qvj"},
                      {"dataSize", plainSize},
                      {"width", 640},
                      {"height", 480},
                      {"frameRate", 25},
                      {"audioPresent", 0},
                      {"channels", 1},
                      {"bitsPerSample", 8},
                      {"picturesPerSecond", 12.5},
                      {"durationSeconds", 2 / 12.5}});
  nlohmann::json soundHeader = header;
  soundHeader.update({{"path", dir / "sound.qvj"},
                      {"dataSize", soundSize},
                      {"audioPresent", 256},
                      {"channels", 2},
                      {"blockAlign", 4},
                      {"byteRate", 32000}});
  EXPECT_EQ(infos, nlohmann::json::array(
                       {plainHeader,
                        {{"path", dir / "short.qvj"}, {"error", "Failed to read file header"}},
                        soundHeader}))
      << run.output;
  EXPECT_EQ(FolderHolds(dir.path()),
            (std::set<std::string>{"plain.qvj", "short.qvj", "sound.qvj"}));
}

// A card's tree: equal names in two folders, extensions in any case, a link to a folder
// elsewhere that must not be followed, a file that is no clip.
TEST_F(Qvj2aviTest, RecursiveMirrorsTheTreeAndReportsInJsonLines) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  fs::create_directories(dir / "card/a");
  fs::create_directories(dir / "card/b/deeper");
  fs::create_directories(dir / "elsewhere");
  fs::create_directory(dir / "out");
  std::vector<std::string> clips = {"card/a/clip.qvj", "card/b/clip.QVJ", "card/b/deeper/late.qVj",
                                    "card/top.Qvj"};
  std::vector<test::ClipSpec> specs;
  for (size_t i = 0; i < clips.size(); ++i) {
    specs.push_back(Clip(2 + int(i), 10 * int(i) + 1));
    test::WriteClip(dir / clips[i], specs.back());
  }
  test::WriteClip(dir / "elsewhere/away.qvj", Clip(1));
  fs::create_directory_symlink(dir / "elsewhere", dir / "card/link");
  test::WriteFileBytes(dir / "card/notes.txt", {'n'});

  Run run = Qvj2avi("-r -j1 --progress=json -o " + test::ShellQuote(dir / "out") + " " +
                    test::ShellQuote(dir / "card"));
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "4 converted, 0 incomplete, 0 failed, 0 skipped\n");
  std::vector<std::string> outputs = {"out/a/clip.avi", "out/b/clip.avi", "out/b/deeper/late.avi",
                                      "out/top.avi"};
  for (size_t i = 0; i < clips.size(); ++i)
    ExpectFrames(dir / outputs[i], specs[i].pictures);
  EXPECT_EQ(FolderHolds(dir / "out"), (std::set<std::string>{"a", "b", "top.avi"}));
  EXPECT_FALSE(fs::exists(dir / "elsewhere/away.avi"));

  // Each clip in name order: started, perhaps converting, converted with all its bytes.
  std::vector<std::string> started, converted;
  std::istringstream lines(run.output);
  for (std::string line; std::getline(lines, line);) {
    nlohmann::json event = nlohmann::json::parse(line);
    std::string path = event.at("clip");
    uint64_t total = event.at("bytesTotal"), done = event.at("bytesDone");
    EXPECT_EQ(total, fs::file_size(path)) << line;
    EXPECT_LE(done, total) << line;
    if (event.at("state") == "started")
      started.push_back(path);
    else if (event.at("state") == "converted" && done == total)
      converted.push_back(path);
    else
      EXPECT_EQ(event.at("state"), "converting") << line;
  }
  std::vector<std::string> expected;
  for (const std::string &path : clips)
    expected.push_back(dir / path);
  EXPECT_EQ(started, expected);
  EXPECT_EQ(converted, expected);

  // Without -o, beside each clip; a folder without -r is refused for itself alone.
  test::WriteClip(dir / "single.qvj", specs[0]);
  run =
      Qvj2avi("-q " + test::ShellQuote(dir / "card") + " " + test::ShellQuote(dir / "single.qvj"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, dir / "card" + ": is a folder (use -r to convert the clips in it)\n");
  ExpectFrames(dir / "single.avi", specs[0].pictures);
  run = Qvj2avi("-rq " + test::ShellQuote(dir / "card"));
  EXPECT_EQ(run.status, 0) << run.errors;
  for (size_t i = 0; i < clips.size(); ++i)
    ExpectFrames(DefaultOutputPath(dir / clips[i]), specs[i].pictures);
  EXPECT_EQ(FolderHolds(dir / "card/a"), (std::set<std::string>{"clip.qvj", "clip.avi"}));
}

#ifndef _WIN32 // paths of PATH_MAX bytes, ulimit, pseudo-terminals
// Below a folder argument a clip is found however deep it lies. A clip whose path, or whose
// output's path, is too long for the system to open is named and skipped, and so is a folder
// that cannot be opened (here for want of descriptors).
TEST_F(Qvj2aviTest, DeepTreesAreSearchedWholeAndWhatCannotBeDoneIsSaid) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  std::string card = dir / "card", longOut = dir / std::string(250, 'o');
  fs::create_directories(card);
  fs::create_directory(longOut);
  // Folders of 200-byte names: "mid" as deep as its path still fits, "far" one deeper.
  const size_t kLongest = PATH_MAX - 1, midDepth = (kLongest - card.size() - 8) / 201;
  std::map<std::string, std::string> below; // each clip's path below `card`, without extension
  test::ClipSpec spec = Clip(2);
  std::string relative;
  int folder = open(card.c_str(), O_RDONLY | O_DIRECTORY);
  auto in = [&](const std::string &name) { return DescriptorPath(folder) + "/" + name; };
  for (size_t depth = 1; depth <= midDepth + 1; ++depth) {
    std::string name(200, char('a' + depth % 26));
    relative += "/" + name;
    fs::create_directory(in(name));
    close(std::exchange(folder, open(in(name).c_str(), O_RDONLY | O_DIRECTORY)));
    std::string clipName = depth == 3 ? "near" : depth == midDepth ? "mid" : "far";
    if (depth == 3 || depth >= midDepth) {
      test::WriteClip(in(clipName + ".qvj"), spec);
      below[clipName] = relative + "/" + clipName;
    }
  }
  close(folder);
  std::string tooLong =
      " is longer than the " + std::to_string(kLongest) + " bytes a path may have";
  struct Case {
    std::string options, wrapper;
    std::vector<std::string> outputs, messages;
  } cases[] = {
      {"-r",
       "",
       {card + below["near"], card + below["mid"]},
       {card + below["far"] + ".qvj:" + tooLong + "\n",
        "2 converted, 0 incomplete, 0 failed, 1 skipped\n"}},
      {"-r -o " + test::ShellQuote(longOut),
       "",
       {longOut + below["near"]},
       {card + below["mid"] + ".qvj: " + longOut + below["mid"] + ".avi" + tooLong + "; skipped\n",
        card + below["far"] + ".qvj:" + tooLong + "\n",
        "1 converted, 0 incomplete, 0 failed, 2 skipped\n"}},
      {"-r", "ulimit -n 16; ", {}, {":\nToo many open files\n"}}};
  for (const Case &deep : cases) {
    Run run = Qvj2avi(deep.options + " " + test::ShellQuote(card), deep.wrapper);
    EXPECT_EQ(run.status, 1);
    for (const std::string &message : deep.messages)
      EXPECT_NE(run.errors.find(message), std::string::npos) << message << "\n" << run.errors;
    for (const std::string &output : deep.outputs)
      ExpectFrames(output + ".avi", spec.pictures);
  }
}

// On a terminal that takes no escape sequences (TERM=dumb), the progress comes as plain lines.
TEST_F(Qvj2aviTest, ProgressOnADumbTerminalHasNoEscapeSequence) {
  test::WriteClip(clip, LargeClip(8, 200));
  fs::create_hard_link(clip, dir / "second.qvj");
  int terminal = -1;
  pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    setenv("TERM", "dumb", 1);
    std::string second = dir / "second.qvj";
    execl(QVJ2AVI_PATH, QVJ2AVI_PATH, "-j1", clip.c_str(), second.c_str(), nullptr);
    _exit(127);
  }
  std::string shown;
  char buffer[4096];
  for (ssize_t got; (got = read(terminal, buffer, sizeof buffer)) > 0;)
    shown.append(buffer, size_t(got));
  close(terminal);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_EQ(WEXITSTATUS(status), 0) << shown;
  EXPECT_EQ(shown.find('\x1b'), std::string::npos) << shown;
  EXPECT_NE(shown.find("2/2 clips  100%  "), std::string::npos) << shown;
  EXPECT_TRUE(shown.ends_with("2 converted, 0 incomplete, 0 failed, 0 skipped\r\n")) << shown;
}

#endif

TEST_F(Qvj2aviTest, OutputFolderThatDoesNotExist) {
  test::WriteClip(clip, Clip(2));
  std::string out = dir / "missing/out.avi";
  Run run = Qvj2avi("-q " + test::ShellQuote(clip) + " -o " + test::ShellQuote(out));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, clip + ": Could not create a temporary file beside the output:\n" + out +
                            " was not found.\n");
}

TEST_F(Qvj2aviTest, UsageErrorsAndHelp) {
  Run run = Qvj2avi("");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.errors, "qvj2avi: no clip given\nTry 'qvj2avi --help'.\n");
  EXPECT_EQ(Qvj2avi("a.qvj --bogus").status, 2);
  EXPECT_EQ(Qvj2avi("a.qvj -j 0").status, 2);
  run = Qvj2avi("a.qvj b.qvj -o " + test::ShellQuote(dir / "nowhere"));
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.errors, "qvj2avi: with several clips, -o must name an existing folder: " +
                            (dir / "nowhere") + "\nTry 'qvj2avi --help'.\n");
  run = Qvj2avi("a.qvj -fqx");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.errors, "qvj2avi: unknown option -x\nTry 'qvj2avi --help'.\n");
  run = Qvj2avi("--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.output.starts_with("Usage: qvj2avi [options] CLIP...")) << run.output;
  for (const char *version : {"--version", "-V"}) {
    run = Qvj2avi(version);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "qvj2avi 1.5\n");
    EXPECT_EQ(run.errors, "");
  }
}

#ifndef _WIN32 // fork, signals, file size limits, mounts
// Starts qvj2avi with standard error into a file; gives its process id. With `fileSizeLimit`,
// no file of the process may grow past that many bytes, as with `ulimit -f`.
pid_t Spawn(const std::vector<std::string> &arguments, const std::string &errorsFile,
            std::optional<rlim_t> fileSizeLimit = std::nullopt) {
  std::vector<char *> argv;
  std::string program = QVJ2AVI_PATH;
  argv.push_back(program.data());
  std::vector<std::string> copies = arguments;
  for (std::string &argument : copies)
    argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = fork();
  if (pid != 0)
    return pid;
  int errors = open(errorsFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  dup2(errors, 2);
  if (fileSizeLimit) {
    struct rlimit limit = {*fileSizeLimit, *fileSizeLimit};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  execv(program.c_str(), argv.data());
  _exit(127);
}

int ExitStatusOf(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid)
    return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Killed outright in the middle of a clip (kill -9, the out-of-memory killer), or past the file
// size limit of `ulimit -f`, a run leaves nothing half-made beside its output or in $TMPDIR.
TEST_F(Qvj2aviTest, ARunEndedFromOutsideLeavesNothingHalfMade) {
  fs::create_directory(dir / "out");
  fs::create_directory(dir / "tmp");
  test::ScopedEnvironment tmp("TMPDIR", dir / "tmp");
  test::ClipSpec plain = LargeClip(16, 700), sound = plain;
  sound.audio = test::ClipAudio{Bytes(5 << 20, 0x80)}; // more than memory holds of it
  struct Case {
    const test::ClipSpec &spec;
    std::string killedHolding; // killed once it holds a file open there
    std::optional<rlim_t> fileSizeLimit;
    int status;
  } cases[] = {{plain, dir / "out", {}, 128 + SIGKILL},
               {sound, dir / "tmp", {}, 128 + SIGKILL},
               {sound, "", 256 * 1024, 1}};
  for (const Case &end : cases) {
    test::WriteClip(clip, end.spec);
    pid_t pid = Spawn({"-q", "-o", dir / "out", clip}, work / "stderr.txt", end.fileSizeLimit);
    // Stopped and let go again until it holds a file there; then killed.
    for (int stopped = 0; !end.killedHolding.empty(); kill(pid, SIGCONT)) {
      kill(pid, SIGSTOP);
      ASSERT_TRUE(waitpid(pid, &stopped, WUNTRACED) == pid && WIFSTOPPED(stopped));
      if (!test::FilesOpenIn(pid, end.killedHolding).empty()) {
        kill(pid, SIGKILL);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(ExitStatusOf(pid), end.status);
    EXPECT_TRUE(fs::is_empty(dir / "out"));
    EXPECT_TRUE(fs::is_empty(dir / "tmp"));
  }
  Bytes errors = test::ReadFileBytes(work / "stderr.txt");
  EXPECT_TRUE(std::string(errors.begin(), errors.end()).ends_with(": File too large\n"));
}

TEST_F(Qvj2aviTest, FailuresNameTheirPlaceAndTheSystemsReason) {
  // The disk fills up under the AVI file, past what the writer holds back in memory.
  test::WriteClip(clip, LargeClip(8, 80));
  EXPECT_EQ(ExitStatusOf(Spawn({"-q", clip}, work / "stderr.txt", 256 * 1024)), 1);
  Bytes errors = test::ReadFileBytes(work / "stderr.txt");
  // A write that fails is the output's failure, never a picture missing from the clip.
  EXPECT_EQ(std::string(errors.begin(), errors.end()),
            clip + ": Could not write the AVI file " + avi + ": File too large\n");
  EXPECT_EQ(FolderHolds(dir.path()), std::set<std::string>{"clip.qvj"});

  // A temporary folder that is not there, for more sound than memory holds.
  test::ClipSpec sound = Clip(2);
  sound.audio = test::ClipAudio{Bytes(5 << 20, 0x80)};
  test::WriteClip(clip, sound);
  test::ScopedEnvironment tmp("TMPDIR", dir / "missing");
  Run run = Qvj2avi("-q " + test::ShellQuote(clip));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, clip + ": Could not write the AVI file " + avi + ":\n" + (dir / "missing") +
                            ": No such file or directory\n");
  EXPECT_EQ(FolderHolds(dir.path()), std::set<std::string>{"clip.qvj"});
}

// Cards as desktops mount them, and what befalls them: a run killed outright leaves nothing
// after the next run into the same folder, and a card that is full, write-protected or pulled
// out is named as the cause, never the clip, which stays as it was.
TEST_F(Qvj2aviTest, CardFaultsLeaveNothingAndNameTheirCause) {
  using Kind = test::ScopedMount::Kind;
  enum class Fault { Killed, Full, ReadOnly, Pulled };
  struct Case {
    const char *card;
    Kind kind;
    uint64_t bytes;
    Fault fault;
    std::string cause; // in the run's messages
    std::string orCause = "\x01";
  } cases[] = {
      {"FAT, killed", Kind::FuseFat, 64 << 20, Fault::Killed, ""},
      {"exFAT, killed", Kind::FuseExfat, 64 << 20, Fault::Killed, ""},
      {"ext4, killed", Kind::LoopExt4, 64 << 20, Fault::Killed, ""},
      {"ext4, full", Kind::LoopExt4, 8 << 20, Fault::Full, "No space left on device"},
      {"tmpfs, read-only", Kind::Tmpfs, 8 << 20, Fault::ReadOnly, "Read-only file system"},
      // A write in flight when the card goes is aborted; the ones after it find no card.
      {"FAT, pulled", Kind::FuseFat, 64 << 20, Fault::Pulled, "Transport endpoint is not connected",
       "Software caused connection abort"},
      {"exFAT, pulled", Kind::FuseExfat, 64 << 20, Fault::Pulled,
       "Transport endpoint is not connected", "Software caused connection abort"},
  };
  test::ClipSpec large = LargeClip(16, 700);
  test::WriteClip(clip, large);
  std::string before = test::Md5Hex(test::ReadFileBytes(clip));
  std::string small = dir / "small.qvj";
  test::WriteClip(small, Clip(3));
  for (const Case &c : cases) {
    SCOPED_TRACE(c.card);
    std::string card = work / "card";
    test::ScopedMount mount(c.kind, card, c.bytes);
    if (!mount.ok()) {
      std::cout << "[  SKIPPED ] " << c.card << ": cannot mount one here\n";
      continue;
    }
    if (c.fault == Fault::ReadOnly) {
      ASSERT_TRUE(mount.MakeReadOnly());
    }
    pid_t pid = Spawn({"-q", "-o", card + "/", clip}, work / "stderr.txt");
    // Stopped and let go again until it writes on the card; then the fault strikes.
    for (int stopped = 0; c.fault == Fault::Killed || c.fault == Fault::Pulled;
         kill(pid, SIGCONT)) {
      kill(pid, SIGSTOP);
      ASSERT_TRUE(waitpid(pid, &stopped, WUNTRACED) == pid && WIFSTOPPED(stopped));
      if (!test::FilesOpenIn(pid, card).empty()) {
        if (c.fault == Fault::Killed)
          kill(pid, SIGKILL);
        else if (!mount.Pull()) {
          ADD_FAILURE() << "the card could not be pulled";
          kill(pid, SIGKILL);
        }
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    kill(pid, SIGCONT); // a pulled card's run goes on to meet it
    int status = ExitStatusOf(pid);
    Bytes errors = test::ReadFileBytes(work / "stderr.txt");
    std::string text(errors.begin(), errors.end());
    EXPECT_EQ(test::Md5Hex(test::ReadFileBytes(clip)), before);
    if (c.fault == Fault::Killed) {
      EXPECT_EQ(status, 128 + SIGKILL);
      Run next = Qvj2avi("-q -o " + test::ShellQuote(card + "/") + " " + test::ShellQuote(small));
      EXPECT_EQ(next.status, 0) << next.errors;
      std::set<std::string> held = FolderHolds(card);
      held.erase("lost+found");
      EXPECT_EQ(held, std::set<std::string>{"small.avi"});
      continue;
    }
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(text.find(c.cause) != std::string::npos ||
                text.find(c.orCause) != std::string::npos)
        << text;
    EXPECT_EQ(text.find("JPEG"), std::string::npos) << text;
    if (c.fault != Fault::Pulled) {
      std::set<std::string> held = FolderHolds(card);
      held.erase("lost+found");
      EXPECT_TRUE(held.empty()) << *held.begin();
    }
  }
}

// On a card that takes "Clip.avi" and "clip.avi" for one name, the second clip of that name is
// skipped, naming the first, and the first one's AVI stays.
TEST_F(Qvj2aviTest, ACaseInsensitiveCardNeverTakesOneClipsAviForAnothers) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ClipSpec first = Clip(3, 1), second = Clip(4, 10);
  fs::create_directories(dir / "a");
  fs::create_directories(dir / "b");
  std::string upper = dir / "a/Clip.qvj", lower = dir / "b/clip.qvj";
  test::WriteClip(upper, first);
  test::WriteClip(lower, second);
  for (auto kind : {test::ScopedMount::Kind::FuseFat, test::ScopedMount::Kind::FuseExfat}) {
    std::string card = work / "card";
    test::ScopedMount mount(kind, card, 64 << 20);
    if (!mount.ok()) {
      std::cout << "[  SKIPPED ] cannot mount a FUSE card here\n";
      continue;
    }
    for (std::string force : {"", "-f "}) {
      Run run = Qvj2avi(force + "-j1 -o " + test::ShellQuote(card + "/") + " " +
                        test::ShellQuote(upper) + " " + test::ShellQuote(lower));
      EXPECT_EQ(run.status, 1);
      EXPECT_NE(run.errors.find(lower + ": its AVI would replace the AVI of " + upper + "\n"),
                std::string::npos)
          << run.errors;
      EXPECT_EQ(FolderHolds(card), std::set<std::string>{"Clip.avi"});
      ExpectFrames(card + "/Clip.avi", first.pictures);
      fs::remove(card + "/Clip.avi");
    }
  }
}

#endif

// A card's Trash holds clips the user deleted, and hidden folders hold other programs' files:
// -r passes over them, unless one is named.
TEST_F(Qvj2aviTest, RecursionPassesOverTrashAndHiddenFolders) {
  for (const char *folder : {"card/DCIM", "card/.Trash-1000/files", "card/.thumbnails"})
    fs::create_directories(dir / folder);
  for (const char *name :
       {"card/DCIM/a.qvj", "card/.Trash-1000/files/deleted.qvj", "card/.thumbnails/b.qvj"})
    test::WriteClip(dir / name, Clip(2));
  fs::create_directories(dir / "out");
  fs::create_directories(dir / "restored");
  Run run =
      Qvj2avi("-q -r -o " + test::ShellQuote(dir / "out") + " " + test::ShellQuote(dir / "card"));
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(FolderHolds(dir / "out"), std::set<std::string>{"DCIM"});
  EXPECT_EQ(FolderHolds(dir / "out/DCIM"), std::set<std::string>{"a.avi"});
  run = Qvj2avi("-q -r -o " + test::ShellQuote(dir / "restored") + " " +
                test::ShellQuote(dir / "card/.Trash-1000"));
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(FolderHolds(dir / "restored/files"), std::set<std::string>{"deleted.avi"});
}

#ifndef _WIN32 // FIFOs and device nodes
TEST_F(Qvj2aviTest, ClipsAndOutputsThatAreNoRegularFileAreRefusedUntouched) {
  test::WriteClip(clip, Clip(2));
  std::vector<std::string> outputs = {dir / "fifo.avi"};
  ASSERT_EQ(mkfifo(outputs[0].c_str(), 0600), 0);
  // As root, a node like /dev/null: replacing it would take it from everyone.
  std::string device = dir / "null.avi";
  if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
    outputs.push_back(device);
  for (const std::string &output : outputs) {
    Run run = Qvj2avi("-f -o " + test::ShellQuote(output) + " " + test::ShellQuote(clip));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors, clip + ": " + output +
                              " exists and is not a regular file; skipped\n"
                              "0 converted, 0 incomplete, 0 failed, 1 skipped\n");
    EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(output))) << output;
  }
  // A FIFO as the clip would wait for a writer that never comes.
  std::string fifoClip = dir / "fifo.qvj";
  ASSERT_EQ(mkfifo(fifoClip.c_str(), 0600), 0);
  Run run = Qvj2avi("-q " + test::ShellQuote(fifoClip), "timeout 20 ");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, fifoClip + ": " + fifoClip + " is not a regular file; skipped\n");
}

#endif

TEST_F(Qvj2aviTest, ClosedStandardStreamsNeverReachTheAvi) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  // The engine says that a picture is missing while the AVI file is open and partly written.
  // More than the writer holds back in memory: part of the file is on disk by then.
  test::ClipSpec spec = LargeClip(8, 80);
  spec.frameCount = uint16_t(spec.pictures.size() + 1);
  test::WriteClip(clip, spec);
  test::CommandResult result = test::RunCommand(test::ShellQuote(QVJ2AVI_PATH) + " " +
                                                test::ShellQuote(clip) + " </dev/null >&- 2>&-");
  EXPECT_EQ(result.status, 1) << "incomplete";
  Bytes written = test::ReadFileBytes(avi);
  ASSERT_GE(written.size(), 4u);
  EXPECT_EQ(std::string(written.begin(), written.begin() + 4), "RIFF");
  ExpectFrames(avi, spec.pictures);
}

TEST_F(Qvj2aviTest, AReaderOfTheMessagesThatGoesAwayStopsNothing) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ScopedEnvironment tmp("TMPDIR", work.path().string());
  // Each clip says that a picture is missing while its separation files and partial AVI file
  // are in hand.
  test::ClipSpec spec = Clip(3);
  spec.frameCount = 4;
  spec.audio = test::ClipAudio{Bytes(20000, 0x80)};
  test::WriteClip(clip, spec);
  std::set<std::string> expected;
  std::string clips;
  for (int i = 0; i < 8; ++i) {
    std::string name = "clip" + std::to_string(i);
    fs::create_hard_link(clip, dir / (name + ".qvj"));
    clips += " " + test::ShellQuote(dir / (name + ".qvj"));
    expected.insert({name + ".qvj", name + ".avi"});
  }
  fs::remove(clip);
  std::string status = work / "status";
  test::CommandResult result = test::RunCommand("{ " + test::ShellQuote(QVJ2AVI_PATH) + " -j 1" +
                                                clips + " 2>&1 >/dev/null; echo $? >" +
                                                test::ShellQuote(status) + "; } | head -n 1");
  EXPECT_EQ(result.output, dir / "clip0.qvj" + ": Failed to find JPEG\n");
  Bytes exitStatus = test::ReadFileBytes(status);
  EXPECT_EQ(std::string(exitStatus.begin(), exitStatus.end()), "1\n") << "each is incomplete";
  EXPECT_EQ(FolderHolds(dir.path()), expected);
  for (int i = 0; i < 8; ++i)
    ExpectFrames(dir / ("clip" + std::to_string(i) + ".avi"), spec.pictures, "15/1", 2);
  EXPECT_EQ(FolderHolds(work.path()), std::set<std::string>{"status"});
}

TEST_F(Qvj2aviTest, BytesThatCouldSteerTheTerminalAreShownEscaped) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows file names take no control characters";
#endif
  std::string foreign = dir / "bad\x1b]0;owned\a.qvj";
  const uint8_t steering[] = {0x1b, '[', '2', 'J', 0x9b, 'x'};
  Bytes bytes(35, 0);
  std::copy(std::begin(steering), std::end(steering), bytes.begin());
  test::WriteFileBytes(foreign, bytes);
  std::string named = dir / "\xc3\xa9t\xc3\xa9\x1b[1m.qvj";
  test::WriteClip(named, Clip(1));
  Run run = Qvj2avi("--info " + test::ShellQuote(foreign) + " " + test::ShellQuote(named));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.errors, dir / "bad\\x1b]0;owned\\x07.qvj: Unrecgonised file format: "
                              "\\x1b[2J\\x9bx" +
                            kHint + "\n");
  EXPECT_TRUE(run.output.starts_with(dir / "\xc3\xa9t\xc3\xa9\\x1b[1m.qvj:\n")) << run.output;
}

// A name that is not valid UTF-8 shows U+FFFD in JSON, and comes with its exact bytes in base64
// too, so that a front-end can still tell it from another and open it.
TEST_F(Qvj2aviTest, JsonGivesTheExactBytesOfANameThatIsNotUtf8) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows file names are Unicode: none is not UTF-8";
#endif
  std::string latin1 = dir / "caf\xe9.qvj", utf8 = dir / "caf\xc3\xa9.qvj";
  test::WriteClip(latin1, Clip(1));
  test::WriteClip(utf8, Clip(1));
  std::string bytes =
      test::RunCommand("printf %s " + test::ShellQuote(latin1) + " | base64 -w0").output;
  std::string clips = " " + test::ShellQuote(latin1) + " " + test::ShellQuote(utf8);
  for (std::string key : {"path", "clip"}) {
    Run run = Qvj2avi((key == "path" ? "--info --json" : "--progress=json") + clips);
    EXPECT_EQ(run.status, 0) << run.errors;
    std::set<std::pair<std::string, std::string>> named; // the path shown, and its bytes if given
    std::istringstream lines(run.output);
    for (std::string line; std::getline(lines, line);) {
      nlohmann::json parsed = nlohmann::json::parse(line);
      for (const nlohmann::json &object : parsed.is_array() ? parsed : nlohmann::json{parsed})
        named.emplace(object.at(key), object.value(key + "Bytes", ""));
    }
    EXPECT_EQ(named, (std::set<std::pair<std::string, std::string>>{
                         {dir / "caf\xef\xbf\xbd.qvj", bytes}, {utf8, ""}}));
  }
}

#ifndef _WIN32 // POSIX signals
struct Interrupt {
  bool sound;
  int signal;
};

void PrintTo(const Interrupt &interrupt, std::ostream *out) {
  *out << "SIG" << sigabbrev_np(interrupt.signal) << (interrupt.sound ? "+sound" : "");
}

class Qvj2aviInterruptTest : public Qvj2aviTest, public ::testing::WithParamInterface<Interrupt> {};

TEST_P(Qvj2aviInterruptTest, StopsEveryConversionAndLeavesNoPartialFile) {
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  test::ScopedEnvironment tmp("TMPDIR", work.path().string());
  // Ten names of one clip of some 20 MB, converted one after another: however the machine is
  // loaded, the interrupt lands while the run is in hand.
  test::ClipSpec spec = LargeClip(16, 700);
  if (GetParam().sound)
    spec.audio = test::ClipAudio{Bytes(1 << 20, 0x80)};
  test::WriteClip(clip, spec);
  std::vector<std::string> arguments = {"-j", "1", "-o", dir / "out"};
  const int kClips = 10;
  for (int i = 0; i < kClips; ++i) {
    std::string name = dir / ("clip" + std::to_string(i) + ".qvj");
    fs::create_hard_link(clip, name);
    arguments.push_back(name);
  }
  fs::create_directory(dir / "out");

  pid_t pid = Spawn(arguments, work / "stderr.txt");
  ASSERT_GT(pid, 0);
  // The first output in hand shows the signal handler is set and a conversion runs.
  while (test::FilesOpenIn(pid, dir / "out").empty())
    std::this_thread::yield();
  // Ctrl-C held down (or a signal sent again and again) while the first is acted on changes
  // nothing.
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    kill(pid, GetParam().signal);
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  ASSERT_TRUE(WIFEXITED(status)) << "signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 128 + GetParam().signal);

  std::set<std::string> written = FolderHolds(dir / "out");
  EXPECT_LT(written.size(), size_t(kClips));
  for (const std::string &name : written) {
    EXPECT_TRUE(name.starts_with("clip") && name.ends_with(".avi")) << name;
    ExpectFrames(dir / ("out/" + name), spec.pictures, "15/1", spec.audio ? 2 : 1);
  }
  Bytes errors = test::ReadFileBytes(work / "stderr.txt");
  std::string text(errors.begin(), errors.end());
  std::string summary = "Interrupted: " + std::to_string(written.size()) +
                        " converted, 0 incomplete, 0 failed, 0 skipped, " +
                        std::to_string(kClips - written.size()) + " interrupted\n";
  ASSERT_TRUE(text.ends_with(summary)) << text;
  std::string messages = text.substr(0, text.size() - summary.size());
  EXPECT_TRUE(messages.empty() || messages.ends_with(": Interrupted; nothing written\n")) << text;
  EXPECT_LE(std::count(messages.begin(), messages.end(), '\n'), 1) << text;
  EXPECT_EQ(FolderHolds(work.path()), std::set<std::string>{"stderr.txt"})
      << "the separation files are gone";
}

// Ctrl-C 130, SIGTERM 143, SIGHUP 129.
INSTANTIATE_TEST_SUITE_P(CtrlCTermAndHangUp, Qvj2aviInterruptTest,
                         ::testing::Values(Interrupt{false, SIGINT}, Interrupt{true, SIGTERM},
                                           Interrupt{false, SIGHUP}),
                         [](const ::testing::TestParamInfo<Interrupt> &info) {
                           return std::string(sigabbrev_np(info.param.signal)) +
                                  (info.param.sound ? "WithSound" : "");
                         });

#endif

} // namespace
} // namespace reelcraft

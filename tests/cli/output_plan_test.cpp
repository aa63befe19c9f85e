// SPDX-License-Identifier: MIT
#include "cli/output_plan.h"

#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace reelcraft {
namespace {

// Clips named on the command line, none of them a folder.
OutputPlan Plan(const std::vector<std::string> &clips, const std::string &output) {
  std::vector<FoundClip> found;
  for (const std::string &clip : clips)
    found.push_back({clip, std::nullopt, {}});
  return PlanOutputs(found, output);
}

std::vector<std::string> Outputs(const OutputPlan &plan) {
  std::vector<std::string> outputs;
  for (const ClipJob &job : plan.jobs)
    outputs.push_back(job.output);
  return outputs;
}

TEST(OutputPlanTest, DefaultOutputReplacesTheExtension) {
  EXPECT_EQ(DefaultOutputPath("clips/day one.qvj"), "clips/day one.avi");
  EXPECT_EQ(DefaultOutputPath("clip.QVJ"), "clip.avi");
  EXPECT_EQ(DefaultOutputPath("clip"), "clip.avi");
  EXPECT_EQ(DefaultOutputPath("my.clips/clip"), "my.clips/clip.avi");
  EXPECT_EQ(DefaultOutputPath("/a/b.c.qvj"), "/a/b.c.avi");
}

TEST(OutputPlanTest, BesideEachClipOrIntoAFolder) {
  test::TempDir dir;
  std::filesystem::create_directory(dir / "out");
  OutputPlan plan = Plan({"a/one.qvj", "b/two.QVJ"}, "");
  EXPECT_EQ(plan.error, "");
  EXPECT_EQ(Outputs(plan), (std::vector<std::string>{"a/one.avi", "b/two.avi"}));

  plan = Plan({"a/one.qvj", "b/two.qvj"}, dir / "out");
  EXPECT_EQ(Outputs(plan), (std::vector<std::string>{dir / "out/one.avi", dir / "out/two.avi"}));
  EXPECT_EQ(plan.jobs[1].clip, "b/two.qvj");
  EXPECT_EQ(plan.jobs[1].refusal, "");

  // One clip: a file path is the output itself; a folder is written into.
  EXPECT_EQ(Outputs(Plan({"a/one.qvj"}, dir / "x.avi")), std::vector<std::string>{dir / "x.avi"});
  EXPECT_EQ(Outputs(Plan({"a/one.qvj"}, dir / "out")),
            std::vector<std::string>{dir / "out/one.avi"});
}

TEST(OutputPlanTest, SeveralClipsNeedAnExistingFolder) {
  test::TempDir dir;
  test::WriteFileBytes(dir / "file.avi", {});
  for (const std::string &output : {dir / "file.avi", dir / "missing"}) {
    OutputPlan plan = Plan({"a.qvj", "b.qvj"}, output);
    EXPECT_EQ(plan.error, "with several clips, -o must name an existing folder: " + output);
    EXPECT_TRUE(plan.jobs.empty());
  }
}

TEST(OutputPlanTest, AnOutputTakenTwiceIsRefusedForTheLaterClip) {
#ifdef _WIN32
  GTEST_SKIP() << "libstdc++ makes no symbolic links on Windows";
#endif
  test::TempDir dir;
  std::filesystem::create_directories(dir / "out/sub");
  std::filesystem::create_directory_symlink(dir / "out", dir / "link");
  // Same name from two folders; the same clip twice; an output spelled another way.
  OutputPlan plan = Plan({"a/clip.qvj", "b/clip.qvj", "c.qvj", "./c.qvj", dir / "out/sub/../d.qvj",
                          dir / "link/d.qvj"},
                         "");
  ASSERT_EQ(plan.jobs.size(), 6u);
  EXPECT_EQ(plan.jobs[0].refusal, "");
  EXPECT_EQ(plan.jobs[1].refusal, "");
  EXPECT_EQ(plan.jobs[2].refusal, "");
  EXPECT_EQ(plan.jobs[3].refusal, "./c.avi is also the output of c.qvj; skipped");
  EXPECT_EQ(plan.jobs[4].refusal, "");
  EXPECT_EQ(plan.jobs[5].refusal, dir / "link/d.avi" + " is also the output of " +
                                      (dir / "out/sub/../d.qvj") + "; skipped");

  plan = Plan({"a/clip.qvj", "b/clip.qvj"}, dir / "out");
  EXPECT_EQ(plan.jobs[0].refusal, "");
  EXPECT_EQ(plan.jobs[1].refusal,
            dir / "out/clip.avi" + " is also the output of a/clip.qvj; skipped");
}

TEST(OutputPlanTest, AnOutputThatIsAClipOfTheRunIsRefused) {
  // "x.avi" as a clip would be replaced by its own conversion; "y" would replace "y.avi".
  OutputPlan plan = Plan({"x.avi", "y", "y.avi"}, "");
  EXPECT_EQ(plan.jobs[0].refusal, "x.avi is a clip of this run; skipped");
  EXPECT_EQ(plan.jobs[1].refusal, "y.avi is a clip of this run; skipped");
  EXPECT_EQ(plan.jobs[2].refusal, "y.avi is a clip of this run; skipped");
  EXPECT_EQ(Plan({"in.qvj"}, "in.qvj").jobs[0].refusal, "in.qvj is a clip of this run; skipped");
}

} // namespace
} // namespace reelcraft

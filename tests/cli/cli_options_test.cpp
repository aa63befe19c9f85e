#include "cli/cli_options.h"

#include <gtest/gtest.h>

namespace reelcraft {
namespace {

CliParse Parse(std::vector<std::string> arguments) { return ParseCommandLine(arguments); }

TEST(CliOptionsTest, ClipWithOutputAndForceInAnyOrder) {
  CliParse parse = Parse({"-f", "in.qvj", "-o", "out.avi"});
  ASSERT_TRUE(parse.options) << parse.error;
  EXPECT_EQ(parse.options->clip, "in.qvj");
  EXPECT_EQ(parse.options->output, "out.avi");
  EXPECT_TRUE(parse.options->force);

  parse = Parse({"in.qvj"});
  ASSERT_TRUE(parse.options);
  EXPECT_EQ(parse.options->output, "");
  EXPECT_FALSE(parse.options->force);

  parse = Parse({"--output", "-odd.avi", "--", "-clip.qvj"});
  ASSERT_TRUE(parse.options) << parse.error;
  EXPECT_EQ(parse.options->output, "-odd.avi");
  EXPECT_EQ(parse.options->clip, "-clip.qvj");
  EXPECT_TRUE(Parse({"--help"}).options->help);
  EXPECT_TRUE(Parse({"x.qvj", "-h"}).options->help);
}

TEST(CliOptionsTest, RefusedCommandLinesSayWhy) {
  EXPECT_EQ(Parse({}).error, "no clip given");
  EXPECT_EQ(Parse({"-f"}).error, "no clip given");
  EXPECT_EQ(Parse({"in.qvj", "-o"}).error, "option -o needs a value");
  EXPECT_EQ(Parse({"in.qvj", "-x"}).error, "unknown option -x");
  EXPECT_EQ(Parse({"a.qvj", "b.qvj"}).error, "one clip at a time");
  EXPECT_EQ(Parse({"a.qvj", "--", "b.qvj"}).error, "one clip at a time");
  EXPECT_FALSE(Parse({"in.qvj", "-x"}).options);
}

TEST(CliOptionsTest, DefaultOutputReplacesTheExtension) {
  EXPECT_EQ(DefaultOutputPath("clips/day one.qvj"), "clips/day one.avi");
  EXPECT_EQ(DefaultOutputPath("clip.QVJ"), "clip.avi");
  EXPECT_EQ(DefaultOutputPath("clip"), "clip.avi");
  EXPECT_EQ(DefaultOutputPath("my.clips/clip"), "my.clips/clip.avi");
  EXPECT_EQ(DefaultOutputPath("/a/b.c.qvj"), "/a/b.c.avi");
}

TEST(CliOptionsTest, HelpExplainsOptionsAndExitStatus) {
  std::string help = UsageText("qvj2avi");
  for (const char *part : {"qvj2avi CLIP [-o OUT.avi] [-f]", "-o", "-f", "--help",
                           "0 converted", "1 failed", "2 usage error", "temporary"})
    EXPECT_NE(help.find(part), std::string::npos) << part;
}

} // namespace
} // namespace reelcraft

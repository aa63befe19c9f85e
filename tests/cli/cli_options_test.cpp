// SPDX-License-Identifier: MIT
#include "cli/cli_options.h"

#include <gtest/gtest.h>

namespace reelcraft {
namespace {

CliParse Parse(std::vector<std::string> arguments) { return ParseCliOptions(arguments); }

TEST(CliOptionsTest, ClipsAndOptionsInAnyOrder) {
  CliParse parse = Parse({"-f", "a.qvj", "-o", "out", "b.qvj", "-q", "--jobs", "3"});
  ASSERT_TRUE(parse.options) << parse.error;
  EXPECT_EQ(parse.options->clips, (std::vector<std::string>{"a.qvj", "b.qvj"}));
  EXPECT_EQ(parse.options->output, "out");
  EXPECT_TRUE(parse.options->force);
  EXPECT_TRUE(parse.options->quiet);
  EXPECT_EQ(parse.options->jobs, 3u);
  EXPECT_FALSE(parse.options->info);

  parse = Parse({"in.qvj"});
  ASSERT_TRUE(parse.options);
  EXPECT_EQ(parse.options->output, "");
  EXPECT_EQ(parse.options->jobs, 0u) << "0 stands for one job per processor";
  EXPECT_FALSE(parse.options->force || parse.options->quiet);

  parse = Parse({"--output", "-odd.avi", "--", "-clip.qvj", "--info"});
  ASSERT_TRUE(parse.options) << parse.error;
  EXPECT_EQ(parse.options->output, "-odd.avi");
  EXPECT_EQ(parse.options->clips, (std::vector<std::string>{"-clip.qvj", "--info"}));
  EXPECT_FALSE(parse.options->info);
  EXPECT_TRUE(Parse({"--info", "x.qvj"}).options->info);
  EXPECT_TRUE(Parse({"--help"}).options->help);
  EXPECT_TRUE(Parse({"x.qvj", "-h"}).options->help);

  parse = Parse({"-rfq", "--info", "--json", "--progress", "d", "--progress=json"});
  ASSERT_TRUE(parse.options) << parse.error;
  EXPECT_TRUE(parse.options->recursive && parse.options->force && parse.options->quiet);
  EXPECT_TRUE(parse.options->info && parse.options->json);
  EXPECT_EQ(parse.options->progress, ProgressRequest::Json);
  EXPECT_EQ(parse.options->clips, std::vector<std::string>{"d"});
  EXPECT_TRUE(Parse({"-V"}).options->version);
}

TEST(CliOptionsTest, ValuesAttachedOrSeparate) {
  for (auto arguments :
       std::vector<std::vector<std::string>>{{"-j2", "-oout", "c.qvj"},
                                             {"c.qvj", "-fj", "2", "--out=out"},
                                             {"--jobs=2", "--output=out", "c.qvj"},
                                             {"-j", "2", "--output", "out", "c.qvj"}}) {
    CliParse parse = Parse(arguments);
    ASSERT_TRUE(parse.options) << parse.error;
    EXPECT_EQ(parse.options->jobs, 2u);
    EXPECT_EQ(parse.options->output, "out");
    EXPECT_EQ(parse.options->clips, std::vector<std::string>{"c.qvj"});
  }
}

TEST(CliOptionsTest, RefusedCommandLinesSayWhy) {
  EXPECT_EQ(Parse({}).error, "no clip given");
  EXPECT_EQ(Parse({"-f", "-q"}).error, "no clip given");
  EXPECT_EQ(Parse({"in.qvj", "-o"}).error, "option -o needs a value");
  EXPECT_EQ(Parse({"in.qvj", "--output="}).error, "option -o needs a value");
  EXPECT_EQ(Parse({"in.qvj", "--jobs"}).error, "option --jobs needs a value");
  EXPECT_EQ(Parse({"in.qvj", "-x"}).error, "unknown option -x");
  EXPECT_EQ(Parse({"in.qvj", "--forced"}).error, "unknown option --forced");
  EXPECT_EQ(Parse({"in.qvj", "-fqx"}).error, "unknown option -x");
  EXPECT_EQ(Parse({"in.qvj", "--force=yes"}).error, "option --force takes no value");
  EXPECT_EQ(Parse({"in.qvj", "-fj"}).error, "option -j needs a value");
  EXPECT_EQ(Parse({"--json", "in.qvj"}).error, "option --json goes with --info");
  EXPECT_EQ(Parse({"in.qvj", "--progress=bar"}).error,
            "option --progress takes line or json, not bar");
  for (std::string jobs : {"0", "-1", "two", "2x", "257", "99999999999"})
    EXPECT_EQ(Parse({"in.qvj", "-j", jobs}).error,
              "option -j needs a number from 1 to 256, not " + jobs);
  EXPECT_EQ(Parse({"-j", "256", "in.qvj"}).options->jobs, 256u);
  EXPECT_FALSE(Parse({"in.qvj", "-x"}).options);
}

TEST(CliOptionsTest, HelpExplainsOptionsAndExitStatus) {
  std::string help = UsageText("qvj2avi");
  for (const char *part :
       {"qvj2avi [options] CLIP...", "-o, --output PATH", "-f, --force", "-j, --jobs N",
        "-q, --quiet", "-r, --recursive", "--progress[=KIND]", "--info", "--json", "--help",
        "-V, --version", "0 every clip converted", "1 a clip failed", "2 usage error",
        "130 interrupted", "143 terminated", "129 hung up", "temporary"})
    EXPECT_NE(help.find(part), std::string::npos) << part;
}

} // namespace
} // namespace reelcraft

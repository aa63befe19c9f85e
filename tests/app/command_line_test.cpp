// SPDX-License-Identifier: MIT
#include "app/command_line.h"
#include "app/program_information.h"
#include "sys/file_system.h"

#include <gtest/gtest.h>

namespace reelcraft {
namespace {

struct Parsed {
  bool valid;
  std::string first, second;
};

// A file in a folder, as the system's paths are written.
std::string In(const std::string &folder, const std::string &name) {
  return folder + kPathSeparator + name;
}

Parsed Parse(const std::string &text) {
  auto arguments = ParseCommandLine(text);
  if (!arguments)
    return {false, "", ""};
  return {true, arguments->first, arguments->second};
}

TEST(ParseCommandLine, BlankCommandLinesHaveNoArguments) {
  for (const char *text : {"", "     ", "\"\""}) {
    Parsed parsed = Parse(text);
    EXPECT_TRUE(parsed.valid) << text;
    EXPECT_EQ(parsed.first, "") << text;
    EXPECT_EQ(parsed.second, "") << text;
    EXPECT_EQ(ClassifyMode(parsed.valid, parsed.first), Mode::Batch) << text;
  }
}

TEST(ParseCommandLine, QuotesGroupAndOnlySpacesSeparate) {
  Parsed quoted = Parse("  \"/home/me/My Clips/a clip.qvj\"   /c");
  EXPECT_EQ(quoted.first, "/home/me/My Clips/a clip.qvj");
  EXPECT_EQ(quoted.second, "/c");

  Parsed glued = Parse("\"a.qvj\"/ct");
  EXPECT_EQ(glued.first, "a.qvj");
  EXPECT_EQ(glued.second, "/ct");

  Parsed tab = Parse("a.qvj\t/c");
  EXPECT_EQ(tab.first, "a.qvj\t/c");
  EXPECT_EQ(tab.second, "");

  Parsed inner = Parse("a\"b.qvj \"out file.avi\" third");
  EXPECT_EQ(inner.first, "a\"b.qvj");
  EXPECT_EQ(inner.second, "out file.avi");

  Parsed emptyQuoted = Parse("a.qvj \"\"");
  EXPECT_TRUE(emptyQuoted.valid);
  EXPECT_EQ(emptyQuoted.second, "");

  Parsed utf8 = Parse("\"/tmp/caf\xc3\xa9 clip.qvj\" /c");
  EXPECT_EQ(utf8.first, "/tmp/caf\xc3\xa9 clip.qvj");
}

TEST(ParseCommandLine, AnUnclosedQuoteInEitherArgumentIsInvalid) {
  EXPECT_FALSE(Parse("\"a.qvj /c").valid);
  EXPECT_FALSE(Parse("a.qvj \"/c").valid);
  EXPECT_EQ(ClassifyMode(false, "a.qvj"), Mode::Invalid);
  EXPECT_TRUE(Parse("a.qvj /c \"unclosed third").valid);
}

TEST(ClassifyMode, SwitchesAreExactAndCaseSensitive) {
  EXPECT_EQ(ClassifyMode(true, "/r"), Mode::ReRegister);
  EXPECT_EQ(ClassifyMode(true, "/u"), Mode::Remove);
  EXPECT_EQ(ClassifyMode(true, "/R"), Mode::SingleClip);
  EXPECT_EQ(ClassifyMode(true, "/U"), Mode::SingleClip);
  EXPECT_EQ(ClassifyMode(true, "/r "), Mode::SingleClip);
}

DocumentsFolderQuery Documents(std::optional<std::string> folder) {
  return [folder] { return folder; };
}

TEST(MakeSingleClipRequest, ClipAloneIsReplacedByAnAviBesideIt) {
  auto request = MakeSingleClipRequest("/clips/day.one/a.b.qvj", "", Documents("/docs"));
  EXPECT_EQ(request.sourcePath, "/clips/day.one/a.b.qvj");
  EXPECT_EQ(request.targetPath, "/clips/day.one/a.b.avi");
  EXPECT_FALSE(request.askFolder);
  EXPECT_TRUE(request.deleteSource);

  // A clip name without extension keeps its folder's name whole.
  EXPECT_EQ(MakeSingleClipRequest("/clips/day.one/clip", "", Documents("/docs")).targetPath,
            "/clips/day.one/clip.avi");
}

TEST(MakeSingleClipRequest, SwitchesTargetTheDocumentsFolder) {
  auto create = MakeSingleClipRequest("/clips/a.qvj", "/c", Documents("/home/me/Documents/"));
  EXPECT_EQ(create.targetPath, In("/home/me/Documents", "a.avi"));
  EXPECT_FALSE(create.askFolder);
  EXPECT_FALSE(create.deleteSource);

  auto createTo = MakeSingleClipRequest("/clips/a.qvj", "/ct", Documents("/home/me/Documents"));
  EXPECT_EQ(createTo.targetPath, In("/home/me/Documents", "a.avi"));
  EXPECT_TRUE(createTo.askFolder);
  EXPECT_FALSE(createTo.deleteSource);

  EXPECT_EQ(MakeSingleClipRequest("a.qvj", "/c", Documents("/")).targetPath, In("", "a.avi"));
#ifdef _WIN32
  EXPECT_EQ(MakeSingleClipRequest("C:\\clips\\a.qvj", "/c", Documents("D:\\")).targetPath,
            "D:\\a.avi");
#endif
}

TEST(MakeSingleClipRequest, WithoutDocumentsFolderTheSwitchStandsInAndTheUserChooses) {
  bool asked = false;
  DocumentsFolderQuery failing = [&asked] {
    asked = true;
    return std::optional<std::string>();
  };
  auto create = MakeSingleClipRequest("/clips/a.qvj", "/c", failing);
  EXPECT_TRUE(asked);
  EXPECT_EQ(create.targetPath, In("/c", "a.avi"));
  EXPECT_TRUE(create.askFolder);
  EXPECT_EQ(MakeSingleClipRequest("/clips/a.qvj", "/ct", failing).targetPath, In("/ct", "a.avi"));
}

TEST(MakeSingleClipRequest, AnyOtherSecondArgumentIsTheTargetAsGiven) {
  bool asked = false;
  auto request = MakeSingleClipRequest("/clips/a.qvj", "/out/B.AVI", [&asked] {
    asked = true;
    return std::optional<std::string>("/docs");
  });
  EXPECT_FALSE(asked);
  EXPECT_EQ(request.targetPath, "/out/B.AVI");
  EXPECT_FALSE(request.askFolder);
  EXPECT_FALSE(request.deleteSource);
  EXPECT_EQ(MakeSingleClipRequest("a.qvj", "/C", Documents("/docs")).targetPath, "/C");
}

TEST(ArgumentsOf, TheFirstTwoProgramArgumentsCountAsTheyCame) {
  const char *none[] = {"reelcraft"};
  CommandLineArguments empty = ArgumentsOf(1, none);
  EXPECT_EQ(empty.first, "");
  EXPECT_EQ(empty.second, "");
  // Spaces and quotes inside an argument are the file manager's business, already settled.
  const char *three[] = {"reelcraft", "/clips/my \"best\" clip.qvj", "/ct", "ignored"};
  CommandLineArguments given = ArgumentsOf(4, three);
  EXPECT_EQ(given.first, "/clips/my \"best\" clip.qvj");
  EXPECT_EQ(given.second, "/ct");
  EXPECT_EQ(ClassifyMode(true, ArgumentsOf(2, three).first), Mode::SingleClip);
}

TEST(ProgramInformation, HelpAndVersionAloneAndNoFileOfThatName) {
  struct Case {
    CommandLineArguments arguments;
    bool fileExists;
    const char *starts; // nullptr: no information, the arguments go on to the modes
  };
  const Case cases[] = {
      {{"--help", ""}, false, "Usage: reelcraft [CLIP [/c | /ct | TARGET] | /r | /u]\n"},
      {{"--version", ""}, false, "reelcraft 1.5\n"},
      {{"--help", ""}, true, nullptr},
      {{"--version", ""}, true, nullptr},
      {{"--help", "/c"}, false, nullptr},
      {{"-h", ""}, false, nullptr},
      {{"", ""}, false, nullptr},
      {{"/u", ""}, false, nullptr},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.arguments.first + " " + c.arguments.second);
    std::string asked;
    std::optional<std::string> text = ProgramInformation(c.arguments, [&](const std::string &path) {
      asked = path;
      return c.fileExists;
    });
    ASSERT_EQ(text.has_value(), c.starts != nullptr);
    if (text) {
      EXPECT_TRUE(text->starts_with(c.starts)) << *text;
      EXPECT_EQ(asked, c.arguments.first);
    }
  }
  EXPECT_NE(ProgramInformation({"--help", ""}, [](auto &) { return false; })->find("qvj2avi"),
            std::string::npos);
}

} // namespace
} // namespace reelcraft

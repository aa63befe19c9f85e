// SPDX-License-Identifier: MIT
#include "app/startup_sequence.h"
#include "sys/file_system.h"
#include "tests/support/scripted_messages.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace reelcraft {
namespace {

// Settings in memory and windows that answer as a person would, recording what ran.
class ScriptedStartup : public StartupServices {
public:
  std::map<std::string, uint32_t> settings;
  bool promptAnswersYes = false;
  bool installSucceeds = true;
  bool packaged = false;
  int singleClipResult = 1;
  std::vector<std::string> ran;
  std::vector<SingleClipRequest> requests;
  ScriptedMessages messages;

  uint32_t ReadSetting(const char *name) override {
    auto found = settings.find(name);
    return found == settings.end() ? 0 : found->second;
  }
  void WriteSetting(const char *name, uint32_t value) override { settings[name] = value; }
  std::optional<std::string> UnreadableSettings() override { return std::nullopt; }
  bool RegistersOnlyTheDefault() override { return packaged; }
  bool InstallProgram() override {
    ran.push_back("install");
    return installSucceeds;
  }
  void RemoveRegistration() override { ran.push_back("remove"); }
  bool RunRegisterPrompt(bool onlyTheDefault) override {
    ran.push_back(onlyTheDefault ? "default prompt" : "prompt");
    return promptAnswersYes;
  }
  int RunSingleClip(const SingleClipRequest &request) override {
    ran.push_back("single");
    requests.push_back(request);
    return singleClipResult;
  }
  void RunBatchWindow() override { ran.push_back("batch"); }
  MessageSink &Messages() override { return messages; }

  int Run(const std::string &commandLine) {
    return RunStartupSequence(ParseCommandLine(commandLine), *this,
                              [] { return std::optional<std::string>("/home/me/Documents"); });
  }
};

using Ran = std::vector<std::string>;
using Texts = std::vector<std::string>;

TEST(StartupSequence, InvalidCommandLineShowsOnlyItsMessage) {
  ScriptedStartup app;
  EXPECT_EQ(app.Run("\"unclosed.qvj"), 2);
  EXPECT_EQ(app.messages.texts(), Texts{"Invalid command line options"});
  EXPECT_TRUE(app.ran.empty());
  EXPECT_TRUE(app.settings.empty());
}

TEST(StartupSequence, FirstStartPromptsAndASuccessfulInstallationEndsTheRun) {
  ScriptedStartup app;
  app.promptAnswersYes = true;
  EXPECT_EQ(app.Run(""), 0);
  EXPECT_EQ(app.ran, (Ran{"prompt", "install"}));
  EXPECT_EQ(app.settings["Version"], 261u);
  EXPECT_EQ(app.settings["NeverAskRegister"], 1u);
  EXPECT_EQ(app.messages.texts(), Texts{"Installation completed successfully"});
}

TEST(StartupSequence, AFailedInstallationIsReportedAndTheBatchWindowFollows) {
  ScriptedStartup app;
  app.promptAnswersYes = true;
  app.installSucceeds = false;
  app.Run("");
  EXPECT_EQ(app.ran, (Ran{"prompt", "install", "batch"}));
  EXPECT_EQ(app.messages.texts(), Texts{"Installation failed!"});
  EXPECT_EQ(app.settings.count("Version"), 0u);
}

// A packaged program made the default has installed nothing: the batch window follows, after
// success or failure (which the registration has told), and only success is remembered.
TEST(StartupSequence, APackagedProgramMadeTheDefaultGoesOnToTheBatchWindow) {
  for (bool succeeds : {true, false}) {
    ScriptedStartup app;
    app.packaged = true;
    app.promptAnswersYes = true;
    app.installSucceeds = succeeds;
    app.Run("");
    EXPECT_EQ(app.ran, (Ran{"default prompt", "install", "batch"}));
    EXPECT_TRUE(app.messages.texts().empty());
    EXPECT_EQ(app.settings.count("Version"), succeeds ? 1u : 0u);
  }
}

TEST(StartupSequence, RegistrationCheckFollowsTheStoredValues) {
  struct Case {
    uint32_t neverAsk, version;
    MessageAnswer answer;
    Ran ran;
    Texts texts;
  };
  const Case cases[] = {
      {0, 0, MessageAnswer::No, {"prompt", "batch"}, {}},
      {1, 261, MessageAnswer::No, {"batch"}, {}},
      {1, 300, MessageAnswer::No, {"batch"}, {}},
      {1, 0, MessageAnswer::No, {"batch"}, {"Would you like to upgrade to version 1-05?"}},
      {1,
       0x104,
       MessageAnswer::No,
       {"batch"},
       {"Version 1-04 of this application is currently registered.\n"
        "Would you like to upgrade to version 1-05?"}},
      {1,
       0x104,
       MessageAnswer::Yes,
       {"install"},
       {"Version 1-04 of this application is currently registered.\n"
        "Would you like to upgrade to version 1-05?",
        "Installation completed successfully"}},
  };
  for (const Case &c : cases) {
    ScriptedStartup app;
    app.settings = {{"NeverAskRegister", c.neverAsk}, {"Version", c.version}};
    app.messages.QueueAnswer(c.answer);
    app.Run("");
    EXPECT_EQ(app.ran, c.ran) << c.neverAsk << " " << c.version;
    EXPECT_EQ(app.messages.texts(), c.texts) << c.neverAsk << " " << c.version;
  }
}

TEST(StartupSequence, ReRegisterOverANewerVersionAsksAndNoEndsTheRun) {
  ScriptedStartup app;
  app.settings = {{"NeverAskRegister", 1}, {"Version", 262}};
  app.messages.QueueAnswer(MessageAnswer::No);
  app.Run("/r");
  EXPECT_EQ(app.messages.texts(), Texts{"Version 1-06 of this application is already registered.\n"
                                        "Are you sure you want to overwrite with version 1-05?\n"});
  EXPECT_TRUE(app.ran.empty());
  EXPECT_EQ(app.settings["NeverAskRegister"], 1u);
}

TEST(StartupSequence, ReRegisterShowsThePromptEvenWhenItWasSwitchedOff) {
  for (uint32_t version : {0u, 261u}) {
    ScriptedStartup app;
    app.settings = {{"NeverAskRegister", 1}, {"Version", version}};
    app.Run("/r");
    EXPECT_TRUE(app.messages.texts().empty());
    EXPECT_EQ(app.ran, (Ran{"prompt", "batch"}));
    EXPECT_EQ(app.settings["NeverAskRegister"], 0u);
  }
}

TEST(StartupSequence, RemoveYesRemovesAndEnds) {
  ScriptedStartup app;
  app.settings = {{"NeverAskRegister", 1}, {"Version", 261}};
  app.messages.QueueAnswer(MessageAnswer::Yes);
  app.Run("/u");
  EXPECT_EQ(app.ran, Ran{"remove"});
  EXPECT_EQ(app.settings["NeverAskRegister"], 0u);
  EXPECT_EQ(app.settings["Version"], 261u);
  EXPECT_EQ(app.messages.texts(),
            (Texts{"Are you sure you want to remove this application?", "Removal succeeded!"}));
}

TEST(StartupSequence, RemoveNoGoesOnToTheCheckAndTheBatchWindow) {
  ScriptedStartup app;
  app.Run("/u");
  EXPECT_EQ(app.ran, (Ran{"prompt", "batch"}));
}

TEST(StartupSequence, SingleClipDeclinedLeadsToTheCheckOtherwiseEnds) {
  ScriptedStartup declined;
  declined.singleClipResult = 2;
  declined.settings = {{"NeverAskRegister", 1}, {"Version", 261}};
  declined.Run("\"/clips/my clip.qvj\" /ct");
  EXPECT_EQ(declined.ran, (Ran{"single", "batch"}));
  ASSERT_EQ(declined.requests.size(), 1u);
  EXPECT_EQ(declined.requests[0].sourcePath, "/clips/my clip.qvj");
  EXPECT_EQ(declined.requests[0].targetPath,
            std::string("/home/me/Documents") + kPathSeparator + "my clip.avi");
  EXPECT_TRUE(declined.requests[0].askFolder);

  ScriptedStartup converted;
  converted.Run("/clips/a.qvj");
  EXPECT_EQ(converted.ran, Ran{"single"});
  EXPECT_TRUE(converted.requests[0].deleteSource);
}

} // namespace
} // namespace reelcraft

// SPDX-License-Identifier: MIT
#include "app/converter_app.h"
#include "gui/register/register_prompt_dialog.h"
#include "gui/resources/dialog_templates.h"
#include "tests/support/scripted_messages.h"

#include "store/sqlite_statement.h"
#include "tests/gui/settings_probe.h"
#include "tests/support/environment.h"
#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <chrono>
#include <filesystem>

namespace reelcraft {
namespace {

namespace fs = std::filesystem;

using Ran = std::vector<std::string>;
using Texts = std::vector<std::string>;
using Stored = std::optional<uint32_t>;

constexpr auto Yes = MessageAnswer::Yes;
constexpr auto No = MessageAnswer::No;

const std::string kUpgradeFrom104 = "Version 1-04 of this application is currently registered.\n"
                                    "Would you like to upgrade to version 1-05?";
const std::string kOverwrite106 = "Version 1-06 of this application is already registered.\n"
                                  "Are you sure you want to overwrite with version 1-05?\n";
const std::string kRemoveQuestion = "Are you sure you want to remove this application?";

// What the person at the screen does during one start.
struct Person {
  std::vector<MessageAnswer> answers;
  bool promptYes = false;
  bool promptTicks = false;
  int singleClipResult = 1;
};

// What one start showed and did.
struct Outcome {
  int status = -1;
  Ran ran;
  Texts texts;
  std::vector<SingleClipRequest> requests;
};

// A temporary home with its own settings store, data and config folders, and a program file
// to install.
class Machine {
public:
  Machine() {
    fs::create_directories(home_ / "build");
    test::WriteFileBytes(Program(), {'E', 'L', 'F'});
  }

  std::string Program() const { return home_ / "build/reelcraft"; }
  std::string Installed() const { return home_ / "data/Reelcrafter/reelcraft"; }
  std::string StoreFile() const { return home_ / "registry.sqlite"; }
  std::string Home() const { return home_.path().string(); }
  test::SettingsProbe Settings() const { return test::SettingsProbe(StoreFile()); }

  // Starts the program with `commandLine`; the register prompt is the real dialog, answered
  // with a click, and the conversion windows are recorded.
  Outcome Start(const std::string &commandLine, const Person &person = {}) const {
    Outcome run;
    RegistryStore store;
    ScriptedMessages messages;
    for (MessageAnswer answer : person.answers)
      messages.QueueAnswer(answer);
    Shell shell(ShellHooks{[](auto &, auto &) { return false; }, [](auto &) { return 0; }});
    CopyObserver copyProgress;
    InstallContext context{messages, shell, store, copyProgress,
                           [this] { return ProgramPath{Program()}; }};
    AppWindows windows{
        [&](bool onlyTheDefault) {
          run.ran.push_back(onlyTheDefault ? "default prompt" : "prompt");
          return AnswerPrompt(store, person);
        },
        [&](const SingleClipRequest &request) {
          run.ran.push_back("single");
          run.requests.push_back(request);
          return person.singleClipResult;
        },
        [&] { run.ran.push_back("batch"); },
    };
    run.status = ConverterApp(context, windows).Run(ParseCommandLine(commandLine));
    run.texts = messages.texts();
    return run;
  }

private:
  static bool AnswerPrompt(RegistryStore &store, const Person &person) {
    RegisterPromptDialog prompt(store);
    QTimer::singleShot(0, [&] {
      prompt.As<QCheckBox>(IDC_NEVER_ASK)->setChecked(person.promptTicks);
      prompt.As<QPushButton>(person.promptYes ? IDOK : IDCANCEL)->click();
    });
    return prompt.DoModal() == IDOK;
  }

  test::TempDir home_;
  test::ScopedEnvironment homeVariable_{"HOME", home_.path().string()};
  test::ScopedEnvironment registry_{"REELCRAFT_REGISTRY", home_ / "registry.sqlite"};
  test::ScopedEnvironment data_{"XDG_DATA_HOME", home_ / "data"};
  test::ScopedEnvironment config_{"XDG_CONFIG_HOME", home_ / "config"};
};

bool ClassesKeyExists(const Machine &machine, const std::string &path) {
  RegistryStore store(machine.StoreFile());
  return store.OpenKey(RegistryStore::Root(RegistryRoot::ClassesRoot), path, false).has_value();
}

std::string ClassesDefault(const Machine &machine, const std::string &path) {
  RegistryStore store(machine.StoreFile());
  auto key = store.OpenKey(RegistryStore::Root(RegistryRoot::ClassesRoot), path, false);
  auto value = key ? store.QueryValue(*key, "") : std::nullopt;
  return value ? std::string(reinterpret_cast<const char *>(value->data.data())) : "";
}

struct Case {
  const char *commandLine;
  Stored neverAsk, version;
  Person person;
  Ran ran;
  Texts texts;
  Stored neverAskAfter, versionAfter;
  int status = 0;
};

TEST(ConverterApp, ModesAndTheRegistrationCheckFollowTheStoredSettingsAndTheAnswers) {
  Person promptNo, promptNoTicked, promptYes;
  promptNoTicked.promptTicks = true;
  promptYes.promptYes = true;
  auto answers = [](std::vector<MessageAnswer> given) { return Person{given}; };
  auto single = [](int result) { return Person{{}, false, false, result}; };
  const Stored none;
  const Case cases[] = {
      // No argument: the registration check, then the batch window.
      {"", none, none, promptNo, {"prompt", "batch"}, {}, none, none},
      {"", none, none, promptNoTicked, {"prompt", "batch"}, {}, 1, none},
      {"", none, none, promptYes, {"prompt"}, {"Installation completed successfully"}, 1, 261},
      {"", 0, 261, promptNo, {"prompt", "batch"}, {}, 0, 261},
      {"", 1, 261, {}, {"batch"}, {}, 1, 261},
      {"", 1, 262, {}, {"batch"}, {}, 1, 262},
      {"",
       1,
       none,
       answers({No}),
       {"batch"},
       {"Would you like to upgrade to version 1-05?"},
       1,
       none},
      {"", 1, 0x104, answers({No}), {"batch"}, {kUpgradeFrom104}, 1, 0x104},
      {"",
       1,
       0x104,
       answers({Yes}),
       {},
       {kUpgradeFrom104, "Installation completed successfully"},
       1,
       261},
      // "/r": the overwrite question only over a newer version, then always the prompt.
      {"/r", 1, 262, answers({No}), {}, {kOverwrite106}, 1, 262},
      {"/r", 1, 262, Person{{Yes}}, {"prompt", "batch"}, {kOverwrite106}, 0, 262},
      {"/r", 1, 261, promptNo, {"prompt", "batch"}, {}, 0, 261},
      {"/r", 1, 0x104, promptYes, {"prompt"}, {"Installation completed successfully"}, 1, 261},
      // "/u": removal, or the registration check when declined.
      {"/u", 1, 261, answers({Yes}), {}, {kRemoveQuestion, "Removal succeeded!"}, 0, 261},
      {"/u", 1, 261, answers({No}), {"batch"}, {kRemoveQuestion}, 1, 261},
      {"/u", none, none, answers({No}), {"prompt", "batch"}, {kRemoveQuestion}, none, none},
      // A clip: the check and the batch window only after a declined conversion.
      {"/clips/a.qvj /c", 1, 261, single(1), {"single"}, {}, 1, 261},
      {"/clips/a.qvj /c", 1, 261, single(2), {"single", "batch"}, {}, 1, 261},
      {"/clips/a.qvj", none, none, single(2), {"single", "prompt", "batch"}, {}, none, none},
      // Nothing but the message for a command line that cannot be read.
      {"\"/clips/a.qvj /c", 1, 261, {}, {}, {"Invalid command line options"}, 1, 261, 2},
  };
  for (const Case &c : cases) {
    Machine machine;
    if (c.neverAsk)
      machine.Settings().Write(kNeverAskRegisterSetting, *c.neverAsk);
    if (c.version)
      machine.Settings().Write(kVersionSetting, *c.version);
    Outcome run = machine.Start(c.commandLine, c.person);
    SCOPED_TRACE(testing::Message()
                 << "'" << c.commandLine << "' neverAsk " << c.neverAsk.value_or(-1) << " version "
                 << c.version.value_or(-1));
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.ran, c.ran);
    EXPECT_EQ(run.texts, c.texts);
    EXPECT_EQ(machine.Settings().Read(kNeverAskRegisterSetting), c.neverAskAfter);
    EXPECT_EQ(machine.Settings().Read(kVersionSetting), c.versionAfter);
  }
}

TEST(ConverterApp, AFirstInstallationInstallsRegistersAndIsRememberedAtTheNextStart) {
  Machine machine;
  Person yes;
  yes.promptYes = true;
  ASSERT_EQ(machine.Start("", yes).ran, Ran{"prompt"});

  EXPECT_EQ(test::ReadFileBytes(machine.Installed()), (test::Bytes{'E', 'L', 'F'}));
  EXPECT_EQ(ClassesDefault(machine, ".qvj"), "QVJ.Reelcraft.1");
  EXPECT_EQ(ClassesDefault(machine, "QVJ.Reelcraft.1\\shell\\createto\\command"),
            "\"" + machine.Installed() + "\" \"%1\" /ct");
  EXPECT_TRUE(fs::exists(machine.Home() + "/data/applications/reelcraft-qvj-createto.desktop"));

  // The settings key did not exist before this run; what it stored must be found again.
  Outcome next = machine.Start("");
  EXPECT_EQ(next.ran, Ran{"batch"});
  EXPECT_TRUE(next.texts.empty());
}

TEST(ConverterApp, AFailedInstallationIsReportedAndTheUpgradeIsOfferedAtTheNextStart) {
  Machine machine;
  test::WriteFileBytes(machine.Home() + "/blocker", {0});
  machine.Settings().WriteString(RegistryRoot::LocalMachine,
                                 "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                                 machine.Home() + "/blocker");
  Person yes;
  yes.promptYes = true;
  Outcome run = machine.Start("", yes);
  EXPECT_EQ(run.ran, (Ran{"prompt", "batch"}));
  EXPECT_EQ(run.texts, (Texts{"Failed to copy file!", "Installation failed!"}));
  EXPECT_FALSE(ClassesKeyExists(machine, ".qvj"));

  Outcome next = machine.Start("", Person{{No}});
  EXPECT_EQ(next.ran, Ran{"batch"});
  EXPECT_EQ(next.texts, Texts{"Would you like to upgrade to version 1-05?"});
}

TEST(ConverterApp, RemovalDeletesTheAssociationAndKeepsTheInstalledProgram) {
  Machine machine;
  Person yes;
  yes.promptYes = true;
  machine.Start("", yes);
  ASSERT_TRUE(ClassesKeyExists(machine, "QVJ.Reelcraft.1\\shell\\open\\command"));

  Outcome run = machine.Start("/u", Person{{Yes}});
  EXPECT_EQ(run.texts, (Texts{kRemoveQuestion, "Removal succeeded!"}));
  const std::string type = "QVJ.Reelcraft.1";
  for (const std::string &key : {std::string(".qvj"), type, type + "\\shell",
                                 type + "\\shell\\open", type + "\\shell\\open\\command",
                                 type + "\\shell\\create", type + "\\shell\\create\\command",
                                 type + "\\shell\\createto", type + "\\shell\\createto\\command"})
    EXPECT_FALSE(ClassesKeyExists(machine, key)) << key;
  EXPECT_FALSE(fs::exists(machine.Home() + "/data/applications/reelcraft-qvj-createto.desktop"));
  EXPECT_TRUE(fs::exists(machine.Installed()));

  // The prompt is back at the next start.
  EXPECT_EQ(machine.Start("").ran, (Ran{"prompt", "batch"}));
}

TEST(ConverterApp, AClipIsConvertedIntoTheDocumentsFolderOfTheUser) {
  Machine machine;
  machine.Settings().Write(kNeverAskRegisterSetting, 1);
  machine.Settings().Write(kVersionSetting, 261);
  Outcome run = machine.Start("\"/clips/my clip.qvj\" /ct");
  ASSERT_EQ(run.requests.size(), 1u);
  EXPECT_EQ(run.requests[0].sourcePath, "/clips/my clip.qvj");
  EXPECT_EQ(run.requests[0].targetPath, machine.Home() + "/Documents/my clip.avi");
  EXPECT_TRUE(run.requests[0].askFolder);
  EXPECT_FALSE(run.requests[0].deleteSource);
}

// Edits the page of the store file that holds the index of the key names.
void EditKeyIndexPage(const std::string &file, const std::function<void(uint8_t *, size_t)> &edit) {
  test::Bytes bytes = test::ReadFileBytes(file);
  sqlite3 *db = nullptr;
  sqlite3_open(file.c_str(), &db);
  SqliteStatement page(db, "SELECT rootpage, page_size FROM sqlite_master, pragma_page_size "
                           "WHERE name = 'sqlite_autoindex_keys_1'");
  ASSERT_TRUE(page.Step());
  edit(bytes.data() + (page.Integer(0) - 1) * page.Integer(1), size_t(page.Integer(1)));
  sqlite3_close_v2(db);
  test::WriteFileBytes(file, bytes);
}

std::string ToldUnreadable(const std::string &why) {
  return "Reelcraft cannot read its settings. " + why +
         "\nIt is left as it is: until it can be read, no setting is saved and the program is "
         "neither registered nor removed.";
}

TEST(ConverterApp, AStoreThatCannotBeReadIsLeftAsItIsAndTheUserIsToldOnce) {
  // A key name changed on its index page: the key is no longer found there, and making it
  // again would start a second key chain inside the damaged file.
  auto renamedOnIndex = [](const std::string &file) {
    EditKeyIndexPage(file, [](uint8_t *page, size_t size) {
      std::string name = "Orlancor";
      std::search(page, page + size, name.begin(), name.end())[3] = 'e';
    });
  };
  auto overwrittenCells = [](const std::string &file) {
    EditKeyIndexPage(file,
                     [](uint8_t *page, size_t size) { std::fill_n(page + size - 200, 200, 0x55); });
  };
  auto anotherProgramsDatabase = [](const std::string &file) {
    fs::remove(file);
    sqlite3 *db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE photos(name TEXT)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
  };
  auto folder = [](const std::string &file) {
    fs::remove(file);
    fs::create_directories(file);
  };
  struct Case {
    const char *what;
    std::function<void(const std::string &)> spoil;
    const char *commandLine;
    Ran ran;
    const char *why; // "%1" is the file
  };
  const char *damaged = "The file %1 is damaged.";
  const Case cases[] = {
      {"a key name changed on its index page", renamedOnIndex, "", {"batch"}, damaged},
      {"the same, /r", renamedOnIndex, "/r", {}, damaged},
      {"the same, /u", renamedOnIndex, "/u", {}, damaged},
      {"cells overwritten on the index page", overwrittenCells, "", {"batch"}, damaged},
      {"another program's database",
       anotherProgramsDatabase,
       "/r",
       {},
       "%1 is not a settings file of Reelcraft."},
      {"a folder in its place", folder, "", {"batch"}, "%1 cannot be opened: Is a directory."},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    Machine machine;
    machine.Settings().Write(kNeverAskRegisterSetting, 1);
    machine.Settings().Write(kVersionSetting, 261);
    c.spoil(machine.StoreFile());
    auto contents = [&] {
      return fs::is_regular_file(machine.StoreFile()) ? test::ReadFileBytes(machine.StoreFile())
                                                      : test::Bytes();
    };
    test::Bytes before = contents();

    // Whoever answers Yes to everything.
    Outcome run = machine.Start(c.commandLine, Person{{Yes, Yes}, true, true});
    EXPECT_EQ(run.ran, c.ran);
    std::string why = c.why;
    why.replace(why.find("%1"), 2, machine.StoreFile());
    EXPECT_EQ(run.texts, Texts{ToldUnreadable(why)});
    EXPECT_EQ(contents(), before);
    EXPECT_FALSE(fs::exists(machine.StoreFile() + "-journal"));
  }
}

TEST(ConverterApp, AStoreThatExistsButCannotBeReadIsNoFirstStart) {
  // Another program holds the store locked: a short wait (the bound leaves room for a loaded
  // machine), then the batch window, and no question that "never ask" might have ruled out.
  Machine locked;
  locked.Settings().Write(kNeverAskRegisterSetting, 1);
  locked.Settings().Write(kVersionSetting, 261);
  sqlite3 *other = nullptr;
  ASSERT_EQ(sqlite3_open(locked.StoreFile().c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  auto start = std::chrono::steady_clock::now();
  Outcome run = locked.Start("");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
  sqlite3_close(other);
  EXPECT_EQ(run.ran, Ran{"batch"});
  EXPECT_EQ(run.texts,
            Texts{ToldUnreadable("Another program is using " + locked.StoreFile() + ".")});
  EXPECT_EQ(locked.Settings().Read(kNeverAskRegisterSetting), 1u);
}

} // namespace
} // namespace reelcraft

// SPDX-License-Identifier: MIT
#include "app/installation.h"

#include "tests/support/clip_builder.h"
#include "tests/support/environment.h"
#include "tests/support/files.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <thread>

namespace reelcraft {
namespace {

namespace fs = std::filesystem;

const std::string kType = "QVJ.Reelcraft.1";
const char *const kVerbs[] = {"open", "create", "createto"};

class CountingCopy : public CopyObserver {
public:
  void Begin(const std::string &title, uint64_t) override { titles.push_back(title); }
  bool Progress(uint64_t, uint64_t) override { return !abort; }
  bool AskReplace(const std::string &) override {
    ++questions;
    return true;
  }

  std::vector<std::string> titles;
  int questions = 0;
  bool abort = false;
};

RegistryValue Text(const std::string &text) {
  RegistryValue value{REG_SZ, std::vector<uint8_t>(text.begin(), text.end())};
  value.data.push_back(0);
  return value;
}

std::string ReadText(const std::string &path) {
  test::Bytes bytes = test::ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

// The value of `key` in a desktop entry's text, as written (escapes kept).
std::string EntryValue(const std::string &file, const std::string &key) {
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);)
    if (line.starts_with(key + "="))
      return line.substr(key.size() + 1);
  return "<missing>";
}

std::string ContentType(const std::string &path) {
  std::string output =
      test::RunCommand("LC_ALL=C gio info -a standard::content-type " + test::ShellQuote(path))
          .output;
  size_t at = output.find("standard::content-type: ");
  return at == std::string::npos ? "" : output.substr(at + 24, output.find('\n', at) - at - 24);
}

// A home of its own: data and config folders, the store file named by REELCRAFT_REGISTRY, and a
// program to install that writes down the arguments it was started with. The data folder's
// path has a space and a quote in it, as a user's may.
class InstallationTest : public testing::Test {
protected:
  InstallationTest() {
    fs::create_directories(dir_ / "build dir");
    WriteProgram("");
  }

  std::string Data() const { return dir_ / "my data's home"; }
  std::string Installed() const { return Data() + "/Reelcrafter/reelcraft"; }
  std::string Entry(const std::string &verb) const {
    return Data() + "/applications/reelcraft-qvj-" + verb + ".desktop";
  }
  std::string Package() const { return Data() + "/mime/packages/reelcraft-qvj.xml"; }

  // A shell script, so that the verbs can really start the installed copy; `mark` tells
  // versions apart.
  void WriteProgram(const std::string &mark) {
    std::string out = test::ShellQuote(dir_ / "started");
    std::ofstream(program_) << "#!/bin/sh\n# " << mark << "\nprintf '%s\\n' \"$@\" > " << out
                            << ".part && mv " << out << ".part " << out << "\n";
    fs::permissions(program_, fs::perms(0755));
  }

  InstallContext Context(RegistryStore &store) {
    return {messages_, shell_, store, copy_, [this] { return ProgramPath{program_}; }};
  }
  bool Install() {
    RegistryStore store;
    return InstallProgram(Context(store));
  }
  bool Remove() {
    RegistryStore store;
    return RemoveRegistration(Context(store));
  }

  void SetProgramFiles(const RegistryValue &value) {
    RegistryStore store;
    auto key = store.OpenKey(RegistryStore::Root(RegistryRoot::LocalMachine),
                             "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", false);
    ASSERT_TRUE(key && store.SetValue(*key, "ProgramFilesDir", value));
  }

  // The default value of a key below HKEY_CLASSES_ROOT: "<no key>", "<none>" or its text.
  static std::string ClassesDefault(const std::string &path) {
    RegistryStore store;
    auto key = store.OpenKey(RegistryStore::Root(RegistryRoot::ClassesRoot), path, false);
    if (!key)
      return "<no key>";
    auto value = store.QueryValue(*key, "");
    if (!value)
      return "<none>";
    EXPECT_EQ(value->type, REG_SZ);
    EXPECT_EQ(value->data.back(), 0);
    return std::string(value->data.begin(), value->data.end() - 1);
  }

  // The nine keys and their default values for a program installed at `installed`.
  static std::vector<std::pair<std::string, std::string>>
  Association(const std::string &installed) {
    std::string program = "\"" + installed + "\" \"%1\"";
    return {
        {".qvj", kType},
        {kType, "QVJ Video Clip"},
        {kType + "\\shell", "<none>"},
        {kType + "\\shell\\open", "<none>"},
        {kType + "\\shell\\open\\command", program},
        {kType + "\\shell\\create", "Create AVI in My Documents"},
        {kType + "\\shell\\create\\command", program + " /c"},
        {kType + "\\shell\\createto", "Create AVI"},
        {kType + "\\shell\\createto\\command", program + " /ct"},
    };
  }
  void ExpectTheAssociationOf(const std::string &installed) {
    for (const auto &[key, value] : Association(installed))
      EXPECT_EQ(ClassesDefault(key), value) << key;
  }

  // Starts a verb's desktop entry the way a file manager does, on `clip`; gives the arguments
  // the program received.
  std::vector<std::string> StartVerb(const std::string &verb, const std::string &clip) {
    fs::remove(dir_ / "started");
    test::CommandResult launched = test::RunCommand("gio launch " + test::ShellQuote(Entry(verb)) +
                                                    " " + test::ShellQuote(clip) + " 2>&1");
    EXPECT_EQ(launched.status, 0) << launched.output;
    // The program runs on its own once started.
    for (int i = 0; i < 500 && !fs::exists(dir_ / "started"); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::vector<std::string> arguments;
    std::ifstream in(dir_ / "started");
    for (std::string line; std::getline(in, line);)
      arguments.push_back(line);
    return arguments;
  }

  test::TempDir dir_;
  std::string program_ = dir_ / "build dir/reelcraft";
  test::ScopedEnvironment home_{"HOME", dir_.path().string()};
  test::ScopedEnvironment data_{"XDG_DATA_HOME", Data()};
  test::ScopedEnvironment config_{"XDG_CONFIG_HOME", dir_ / "config"};
  test::ScopedEnvironment registry_{"REELCRAFT_REGISTRY", dir_ / "store/registry.sqlite"};
  ScriptedMessages messages_;
  CountingCopy copy_;
  Shell shell_{ShellHooks{[](auto &, auto &) { return false; }}};
};

TEST_F(InstallationTest, CopiesTheProgramAndRegistersTheNineKeysForTheCopy) {
  ASSERT_TRUE(Install());
  EXPECT_TRUE(messages_.shown().empty());
  EXPECT_EQ(copy_.titles, std::vector<std::string>{"Installing..."});
  EXPECT_EQ(test::ReadFileBytes(Installed()), test::ReadFileBytes(program_));
  EXPECT_EQ(fs::status(Installed()).permissions(), fs::perms(0755));
  ExpectTheAssociationOf(Installed());

  // Nothing else: no other class keys, and the settings are left to start-up.
  RegistryStore store;
  EXPECT_EQ(store.SubKeyNames(RegistryStore::Root(RegistryRoot::ClassesRoot)),
            (std::vector<std::string>{".qvj", kType}));
  EXPECT_TRUE(store.SubKeyNames(RegistryStore::Root(RegistryRoot::CurrentUser)).empty());
}

TEST_F(InstallationTest, TheDesktopOffersTheVerbsOnClipsAndOpensThemWithTheOpenVerb) {
  ASSERT_TRUE(Install());
  std::string quoted = "\"" + Installed() + "\" %f";
  const std::pair<std::string, std::string> names[] = {{"open", "QVJ Video Clip"},
                                                       {"create", "Create AVI in My Documents"},
                                                       {"createto", "Create AVI"}};
  for (const auto &[verb, name] : names) {
    test::CommandResult valid =
        test::RunCommand("desktop-file-validate " + test::ShellQuote(Entry(verb)) + " 2>&1");
    EXPECT_EQ(valid.status, 0) << verb << ": " << valid.output;
    EXPECT_EQ(valid.output.find("error"), std::string::npos) << valid.output;
    EXPECT_EQ(EntryValue(Entry(verb), "Name"), name);
    EXPECT_EQ(EntryValue(Entry(verb), "MimeType"), "video/x-qvj;");
  }
  EXPECT_EQ(EntryValue(Entry("open"), "Exec"), quoted);
  EXPECT_EQ(EntryValue(Entry("create"), "Exec"), quoted + " /c");
  EXPECT_EQ(EntryValue(Entry("createto"), "Exec"), quoted + " /ct");

  // The package was taken into the MIME database, by name and by content.
  test::CommandResult mime =
      test::RunCommand("update-mime-database " + test::ShellQuote(Data() + "/mime") + " 2>&1");
  EXPECT_EQ(mime.status, 0) << mime.output;
  EXPECT_TRUE(fs::exists(Data() + "/mime/video/x-qvj.xml"));
  test::WriteFileBytes(dir_ / "clip.qvj", {'x'});
  test::WriteFileBytes(dir_ / "unnamed", {'Q', 'V', 'A', 'V', '0', '1', 0, 0, 0, 35});
  EXPECT_EQ(ContentType(dir_ / "clip.qvj"), "video/x-qvj");
  EXPECT_EQ(ContentType(dir_ / "unnamed"), "video/x-qvj");

  std::string handlers = test::RunCommand("LC_ALL=C gio mime video/x-qvj").output;
  std::string defaultLine = handlers.substr(0, handlers.find('\n'));
  EXPECT_TRUE(defaultLine.starts_with("Default application for ") &&
              defaultLine.ends_with(": reelcraft-qvj-open.desktop"))
      << handlers;
  for (const char *verb : kVerbs)
    EXPECT_NE(handlers.find(std::string("\treelcraft-qvj-") + verb + ".desktop"), std::string::npos)
        << handlers;
}

TEST_F(InstallationTest, EachVerbStartsTheInstalledCopyWithTheClipAndItsSwitch) {
  ASSERT_TRUE(Install());
  std::string clip = dir_ / "my clips/a clip $1 \"quoted\".qvj";
  EXPECT_EQ(StartVerb("open", clip), std::vector<std::string>{clip});
  EXPECT_EQ(StartVerb("create", clip), (std::vector<std::string>{clip, "/c"}));
  EXPECT_EQ(StartVerb("createto", clip), (std::vector<std::string>{clip, "/ct"}));
}

TEST_F(InstallationTest, TheIconsAndTheThumbnailerComeWithTheRegistrationAndGoWithIt) {
  std::string theme = Data() + "/icons/hicolor/";
  const std::pair<std::string, std::string> icons[] = {
      {"scalable/apps/org.orlancor.Reelcraft.svg", "reelcraft.svg"},
      {"32x32/apps/org.orlancor.Reelcraft.png", "reelcraft_32.png"},
      {"64x64/apps/org.orlancor.Reelcraft.png", "reelcraft_64.png"},
      {"128x128/apps/org.orlancor.Reelcraft.png", "reelcraft_128.png"}};
  std::string entry = Data() + "/thumbnailers/reelcraft-qvj.thumbnailer";
  ASSERT_TRUE(Install());
  for (const auto &[installed, source] : icons)
    EXPECT_EQ(test::ReadFileBytes(theme + installed),
              test::ReadFileBytes(std::string(ICON_FOLDER) + "/" + source));
  EXPECT_EQ(EntryValue(Entry("createto"), "Icon"), "org.orlancor.Reelcraft");
  EXPECT_FALSE(fs::exists(entry)); // no thumbnailer beside this program

#ifdef THUMBNAILER_PATH
  REELCRAFT_NEEDS_PICTURE_TOOLS();
  fs::copy_file(THUMBNAILER_PATH, dir_ / "build dir/reelcraft-thumbnailer");
  ASSERT_TRUE(Install());
  std::string thumbnailer = Data() + "/Reelcrafter/reelcraft-thumbnailer";
  EXPECT_EQ(test::ReadFileBytes(thumbnailer), test::ReadFileBytes(THUMBNAILER_PATH));
  EXPECT_EQ(EntryValue(entry, "TryExec"), thumbnailer);
  EXPECT_EQ(EntryValue(entry, "MimeType"), "video/x-qvj;");

  // Its Exec line, filled in as a file manager does, thumbnails a clip.
  test::ClipSpec spec;
  spec.pictures = test::MakePictures(2);
  test::WriteClip(dir_ / "clip.qvj", spec);
  std::string command = EntryValue(entry, "Exec");
  const std::pair<std::string, std::string> fields[] = {
      {"%s", "128"},
      {"%i", test::ShellQuote(dir_ / "clip.qvj")},
      {"%o", test::ShellQuote(dir_ / "thumb.png")}};
  for (const auto &[code, value] : fields)
    command.replace(command.find(code), code.size(), value);
  test::CommandResult run = test::RunCommand(command + " 2>&1");
  EXPECT_EQ(run.status, 0) << command << ": " << run.output;
  EXPECT_NE(test::RunCommand("file -b " + test::ShellQuote(dir_ / "thumb.png"))
                .output.find("PNG image data, 128 x 96"),
            std::string::npos);
#endif

  ASSERT_TRUE(Remove());
  for (const auto &[installed, source] : icons)
    EXPECT_FALSE(fs::exists(theme + installed)) << installed;
  EXPECT_FALSE(fs::exists(entry));
}

#ifdef GSTREAMER_PLUGIN_PATH
TEST_F(InstallationTest, TheGStreamerPluginComesWithTheRegistrationAndGoesWithIt) {
  std::string plugin = Data() + "/gstreamer-1.0/plugins/libgstreelcraft.so";
  fs::copy_file(GSTREAMER_PLUGIN_PATH, dir_ / "build dir/libgstreelcraft.so");
  ASSERT_TRUE(Install());
  EXPECT_EQ(test::ReadFileBytes(plugin), test::ReadFileBytes(GSTREAMER_PLUGIN_PATH));
  // GStreamer finds it there, among the user's own plugins.
  std::string inspect = "XDG_DATA_HOME=" + test::ShellQuote(Data()) +
                        " GST_REGISTRY=" + test::ShellQuote(dir_ / "registry.bin") +
                        " gst-inspect-1.0 qvjdemux 2>&1";
  if (test::RunCommand("command -v gst-inspect-1.0").status == 0)
    EXPECT_EQ(test::RunCommand(inspect).status, 0);
  else
    std::cerr << "gst-inspect-1.0 not found (Debian: gstreamer1.0-tools): not run\n";

  ASSERT_TRUE(Remove());
  EXPECT_FALSE(fs::exists(plugin));
}
#endif

TEST_F(InstallationTest, ASecondInstallationReplacesTheCopyWithoutAQuestion) {
  ASSERT_TRUE(Install());
  WriteProgram("newer");
  ASSERT_TRUE(Install());
  EXPECT_EQ(copy_.questions, 0);
  EXPECT_TRUE(messages_.shown().empty());
  EXPECT_EQ(test::ReadFileBytes(Installed()), test::ReadFileBytes(program_));
  ExpectTheAssociationOf(Installed());

  size_t entries = 0;
  for (const std::string &name : test::FolderHolds(Data() + "/applications"))
    entries += fs::path(name).extension() == ".desktop";
  EXPECT_EQ(entries, 3u);
  EXPECT_EQ(ReadText(dir_ / "config/mimeapps.list"),
            "[Default Applications]\nvideo/x-qvj=reelcraft-qvj-open.desktop;\n");

  // Run from the installed copy itself: it is copied onto itself and stays whole.
  test::Bytes installed = test::ReadFileBytes(Installed());
  program_ = Installed();
  EXPECT_TRUE(Install());
  EXPECT_EQ(test::ReadFileBytes(Installed()), installed);
  ExpectTheAssociationOf(Installed());
}

TEST_F(InstallationTest, AStoredProgramFilesFolderIsUsedAndItsMissingFolderMade) {
  std::string folder = dir_ / "Program Files";
  SetProgramFiles(Text(folder));
  ASSERT_TRUE(Install());
  EXPECT_TRUE(fs::exists(folder + "/Reelcrafter/reelcraft"));
  ExpectTheAssociationOf(folder + "/Reelcrafter/reelcraft");
}

TEST_F(InstallationTest, FailuresShowTheirOwnMessageAndRegisterNothing) {
  test::WriteFileBytes(dir_ / "blocker", {0});
  std::vector<uint8_t> tooLong(260, 'p');
  tooLong[0] = '/';
  tooLong.push_back(0);
  struct Case {
    const char *what;
    std::optional<RegistryValue> programFiles;
    int runningError; // the program's path cannot be had
    bool abort;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {"program files as a number",
       RegistryValue{REG_DWORD, {1, 0, 0, 0}},
       0,
       false,
       {"Failed to find program files path"}},
      {"program files too long",
       RegistryValue{REG_SZ, tooLong},
       0,
       false,
       {"Failed to find program files path"}},
      {"no program path",
       std::nullopt,
       ENOENT,
       false,
       {"Failed to get module filename.\nNo such file or directory"}},
      {"a file where the folder goes", Text(dir_ / "blocker"), 0, false, {"Failed to copy file!"}},
      {"copy aborted", std::nullopt, 0, true, {}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(dir_ / "store/registry.sqlite");
    if (c.programFiles)
      SetProgramFiles(*c.programFiles);
    ScriptedMessages messages;
    copy_.abort = c.abort;
    RegistryStore store;
    InstallContext context{messages, shell_, store, copy_, [&] {
                             return ProgramPath{c.runningError ? "" : program_, c.runningError};
                           }};
    EXPECT_FALSE(InstallProgram(context));
    EXPECT_EQ(messages.texts(), c.texts);
    EXPECT_EQ(ClassesDefault(".qvj"), "<no key>");
    EXPECT_FALSE(fs::exists(Installed()));
    EXPECT_FALSE(fs::exists(Data() + "/applications"));
  }
}

TEST_F(InstallationTest, RemovalLeavesNoneOfTheKeysNorTheDesktopFiles) {
  ASSERT_TRUE(Install());
  fs::create_directories(Data() + "/applications");
  std::ofstream(Data() + "/applications/editor.desktop") << "[Desktop Entry]\n";
  {
    RegistryStore store;
    store.OpenKey(RegistryStore::Root(RegistryRoot::ClassesRoot), ".txt", true);
  }
  ASSERT_TRUE(Remove());
  EXPECT_TRUE(messages_.shown().empty());
  for (const auto &[key, value] : Association(Installed()))
    EXPECT_EQ(ClassesDefault(key), "<no key>") << key;
  EXPECT_EQ(ClassesDefault(".txt"), "<none>");

  for (const char *verb : kVerbs)
    EXPECT_FALSE(fs::exists(Entry(verb))) << verb;
  EXPECT_FALSE(fs::exists(Package()));
  EXPECT_FALSE(fs::exists(Data() + "/mime/video/x-qvj.xml"));
  EXPECT_TRUE(fs::exists(Data() + "/applications/editor.desktop"));
  // The list held the default for clips alone.
  EXPECT_FALSE(fs::exists(dir_ / "config/mimeapps.list"));
  std::string cache = ReadText(Data() + "/applications/mimeinfo.cache");
  EXPECT_EQ(cache.find("video/x-qvj"), std::string::npos) << cache;
  EXPECT_TRUE(fs::exists(Installed()));
}

TEST_F(InstallationTest, RemovalWithNothingRegisteredSucceedsQuietly) {
  EXPECT_TRUE(Remove());
  EXPECT_TRUE(Remove());
  EXPECT_TRUE(messages_.shown().empty());
  EXPECT_FALSE(fs::exists(Data()));
  EXPECT_FALSE(fs::exists(dir_ / "config/mimeapps.list"));
}

} // namespace
} // namespace reelcraft

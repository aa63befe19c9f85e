// SPDX-License-Identifier: MIT
#include "tests/gui/batch/batch_test_fixture.h"

#include "gui/resources/dialog_templates.h"
#include "tests/support/avi_probe.h"
#include "tests/support/files.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <unistd.h>

namespace reelcraft::test {

namespace fs = std::filesystem;

namespace {

class ScriptedCopyWindow : public CopyObserver {
public:
  explicit ScriptedCopyWindow(CopyScript &script) : script_(script) {}

  void Begin(const std::string &title, uint64_t) override {
    script_.titles.push_back(title);
    int &aborts = script_.abortsByTitle[title];
    abort_ = aborts > 0;
    aborts -= abort_ ? 1 : 0;
    if (script_.onBegin)
      script_.onBegin(title);
  }
  bool Progress(uint64_t, uint64_t) override { return !abort_; }
  bool AskReplace(const std::string &path) override {
    script_.asked.push_back(path);
    if (script_.replaceAnswers.empty())
      return false;
    bool answer = script_.replaceAnswers.front();
    script_.replaceAnswers.erase(script_.replaceAnswers.begin());
    return answer;
  }

private:
  CopyScript &script_;
  bool abort_ = false;
};

std::string Prepare(const TempDir &root) {
  for (const char *folder : {"in", "out", "tmp", "home", "config"})
    fs::create_directory(root.path() / folder);
  WriteFileBytes(root / "config/user-dirs.dirs", [&] {
    std::string line = "XDG_DOCUMENTS_DIR=\"" + (root / "out") + "\"\n";
    return Bytes(line.begin(), line.end());
  }());
  return root / "home";
}

Bytes TonePcm(size_t samples) {
  Bytes pcm(samples);
  for (size_t i = 0; i < samples; ++i)
    pcm[i] = uint8_t(128 + (i * 7) % 90);
  return pcm;
}

} // namespace

void ExpectConverted(const std::string &avi, const TestClip &clip) {
  ProbedFile probed = ProbeFile(avi);
  ASSERT_TRUE(probed.ok) << avi;
  ASSERT_EQ(probed.streams.size(), clip.sound.empty() ? 1u : 2u) << avi;
  EXPECT_EQ(probed.streams[0].packets, int64_t(clip.pictures.size())) << avi;
  EXPECT_EQ(PacketMd5s(avi, "0:v"), Md5Hexes(clip.pictures)) << avi;
  if (!clip.sound.empty()) {
    EXPECT_EQ(StreamBytes(avi, "0:a"), clip.sound) << avi;
  }
}

ScopedCurrentDirectory::ScopedCurrentDirectory(const std::string &folder)
    : previous_(fs::current_path().string()) {
  fs::current_path(folder);
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() { fs::current_path(previous_); }

BatchWindowTest::BatchWindowTest()
    : home("HOME", Prepare(root)), config("XDG_CONFIG_HOME", root / "config"),
      tmpdir("TMPDIR", root / "tmp"),
      current(std::make_unique<ScopedCurrentDirectory>(root / "in")),
      shell(ShellHooks{[this](const std::vector<std::string> &argv, const std::string &) {
                         launched.push_back(argv);
                         return launchWorks;
                       },
                       RunAndWait, SystemRename,
                       [this](const FileRef &file) { return flush(file); },
                       [this](const std::string &) { return hasPlayer; }}) {}

std::string BatchWindowTest::In(const std::string &name) const {
  return name.empty() ? root / "in" : root / ("in/" + name);
}

std::string BatchWindowTest::Out(const std::string &name) const {
  return name.empty() ? root / "out" : root / ("out/" + name);
}

TestClip BatchWindowTest::Clip(const std::string &name, int pictures, bool withSound) {
  return ClipAt(In(name), pictures, withSound);
}

TestClip BatchWindowTest::ClipAt(const std::string &path, int pictures, bool withSound) {
  ClipSpec spec;
  spec.pictures = MakePictures(pictures, 64, 48, nextSeed_);
  nextSeed_ += pictures;
  spec.width = 64;
  spec.height = 48;
  if (withSound) {
    // Enough sound to outlast the pictures, so that its short block ends the file.
    size_t pictureBytes = 0;
    for (const Bytes &picture : spec.pictures)
      pictureBytes += picture.size();
    spec.audio = ClipAudio{};
    spec.audio->pcm = TonePcm((pictureBytes / 1024 + 2) * 512 + 100);
    spec.audio->endWithAudio = true;
  }
  BuiltClip built = WriteClip(path, spec);
  return {spec.pictures, built.sound};
}

std::vector<std::string> BatchWindowTest::TempFiles() const {
  std::set<std::string> names = FolderHolds(root.path() / "tmp");
  return {names.begin(), names.end()};
}

BatchServices BatchWindowTest::Services() {
  return {messages, shell,
          [this](WindowHandle) { return std::make_unique<ScriptedCopyWindow>(copies); },
          [this](const std::string &summary, const std::string &body) {
            notifications.push_back(summary + ": " + body);
          }};
}

int BatchWindowTest::RunWindow(const std::function<void(BatchDialog &)> &act) {
  BatchDialog dialog(Services());
  QTimer::singleShot(0, &dialog, [&] {
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    act(dialog);
    if (dialog.isVisible())
      dialog.EndDialog(IDOK);
  });
  return dialog.DoModal();
}

QListWidget &BatchWindowTest::Clips(BatchDialog &dialog) {
  return *dialog.As<QListWidget>(IDC_CLIP_LIST);
}

QListWidget &BatchWindowTest::Avis(BatchDialog &dialog) {
  return *dialog.As<QListWidget>(IDC_AVI_LIST);
}

std::vector<std::string> BatchWindowTest::Entries(QListWidget &list) {
  std::vector<std::string> entries;
  for (int i = 0; i < list.count(); ++i)
    entries.push_back(list.item(i)->text().toStdString());
  return entries;
}

std::vector<std::string> BatchWindowTest::Selected(QListWidget &list) {
  std::vector<std::string> entries;
  for (int i = 0; i < list.count(); ++i)
    if (list.item(i)->isSelected())
      entries.push_back(list.item(i)->text().toStdString());
  return entries;
}

bool BatchWindowTest::Enabled(BatchDialog &dialog, int id) {
  return dialog.Control(id)->isEnabled();
}

void BatchWindowTest::SetText(BatchDialog &dialog, int id, const std::string &text) {
  dialog.As<QLineEdit>(id)->setText(QString::fromStdString(text));
}

void BatchWindowTest::Click(BatchDialog &dialog, int id) { dialog.As<QPushButton>(id)->click(); }

void BatchWindowTest::LeaveField(BatchDialog &dialog, int id) {
  dialog.Control(id)->setFocus(Qt::TabFocusReason);
  dialog.Control(IDC_CLIP_LIST)->setFocus(Qt::MouseFocusReason);
}

} // namespace reelcraft::test

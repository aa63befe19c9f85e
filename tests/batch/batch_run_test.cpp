#include "tests/batch/batch_test_fixture.h"

#include "resources/dialog_templates.h"
#include "tests/support/avi_probe.h"
#include "tests/support/files.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <filesystem>

namespace reelcraft::test {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

class BatchRunTest : public BatchWindowTest {
protected:
  // Runs `act` once the pass of the `n`th clip (from 1) has converted a picture or two.
  void DuringConversion(BatchDialog &dialog, int n, std::function<void()> act) {
    auto done = std::make_shared<bool>(false);
    QObject::connect(dialog.As<QProgressBar>(IDC_PROGRESS), &QProgressBar::valueChanged, &dialog,
                     [this, &dialog, n, act, done](int value) {
                       if (*done || value == 0 || Avis(dialog).count() != n - 1 + aviBefore)
                         return;
                       *done = true;
                       // Posted, so that it runs inside the engine's pump, as a click would.
                       QMetaObject::invokeMethod(&dialog, act, Qt::QueuedConnection);
                     });
  }
  void SelectAll(BatchDialog &dialog) {
    for (int i = 0; i < Clips(dialog).count(); ++i)
      Clips(dialog).item(i)->setSelected(true);
  }
  void TickDeleteOriginal(BatchDialog &dialog) {
    dialog.As<QCheckBox>(IDC_DELETE_ORIGINAL)->setChecked(true);
  }

  int aviBefore = 0;
};

TEST_F(BatchRunTest, SelectedClipsAreConvertedIntoTheOutputFolderAndSelectedThere) {
  TestClip a = Clip("a.qvj", 3);
  TestClip b = Clip("b.qvj", 4, true);
  TestClip c = Clip("c.qvj", 2);
  Clip("d.qvj", 1);
  RunWindow([&](BatchDialog &dialog) {
    QListWidget &clips = Clips(dialog);
    for (int i : {0, 1, 2})
      clips.item(i)->setSelected(true);
    bool cancelLive = false, createOff = true;
    DuringConversion(dialog, 2, [&] {
      cancelLive = Enabled(dialog, IDC_CANCEL_RUN);
      createOff = !Enabled(dialog, IDC_CREATE) && !Enabled(dialog, IDC_CREATE_ALL) &&
                  !Enabled(dialog, IDC_PLAY);
    });
    Click(dialog, IDC_CREATE);
    EXPECT_TRUE(cancelLive);
    EXPECT_TRUE(createOff);

    EXPECT_EQ(Entries(clips).size(), 4u);
    EXPECT_TRUE(Selected(clips).empty());
    EXPECT_EQ(Entries(Avis(dialog)), (Texts{Out("a.avi"), Out("b.avi"), Out("c.avi")}));
    EXPECT_EQ(Selected(Avis(dialog)), Texts{Out("c.avi")});
    EXPECT_EQ(dialog.As<QProgressBar>(IDC_PROGRESS)->value(), 0);
    for (int id : {IDC_CREATE, IDC_CREATE_ALL, IDC_PLAY})
      EXPECT_TRUE(Enabled(dialog, id)) << id;
    EXPECT_FALSE(Enabled(dialog, IDC_CANCEL_RUN));
  });
  EXPECT_TRUE(messages.texts().empty());
  EXPECT_EQ(copies.titles, Texts(3, "Writing AVI to target location"));
  ExpectConverted(Out("a.avi"), a);
  ExpectConverted(Out("b.avi"), b);
  ExpectConverted(Out("c.avi"), c);
  EXPECT_FALSE(fs::exists(Out("d.avi")));
  EXPECT_TRUE(TempFiles().empty());
}

} // namespace
} // namespace reelcraft::test

// SPDX-License-Identifier: MIT
#include "gui/batch/batch_dialog.h"

#include "gui/batch/batch_paths.h"
#include "gui/batch/folder_listing.h"
#include "gui/resources/app_icon.h"
#include "gui/resources/dialog_templates.h"
#include "sys/paths.h"
#include "sys/translation.h"
#include "ui/qt_list_box.h"

#include <QListWidget>
#include <QProgressBar>

#include <algorithm>
#include <initializer_list>

namespace reelcraft {

BatchDialog::BatchDialog(BatchServices services, QWidget *parent)
    : TemplateDialog(BatchTemplate(), parent), services_(std::move(services)), icon(AppIcon()) {
  using N = Notification;
  Bind({
      {IDC_CREATE, N::Clicked, [this] { OnCreateAvi(); }},
      {IDC_CREATE_ALL, N::Clicked, [this] { OnCreateAll(); }},
      {IDC_CLIP_LIST, N::DoubleClicked, [this] { OnClipDoubleClick(); }},
      {IDC_AVI_LIST, N::DoubleClicked, [this] { OnAviDoubleClick(); }},
      {IDC_PLAY, N::Clicked, [this] { OnPlay(); }},
      {IDC_CANCEL_RUN, N::Clicked, [this] { OnCancelRun(); }},
      {IDC_BROWSE_INPUT, N::Clicked, [this] { OnBrowseInput(); }},
      {IDC_BROWSE_OUTPUT, N::Clicked, [this] { OnBrowseOutput(); }},
      {IDC_INPUT_FOLDER, N::KillFocus, [this] { OnInputKillFocus(); }},
      {IDC_OUTPUT_FOLDER, N::KillFocus, [this] { OnOutputKillFocus(); }},
      {IDC_EXIT, N::Clicked, [this] { OnExit(); }},
  });
}

BatchDialog::~BatchDialog() = default;

void BatchDialog::DoDataExchange(DataExchange &dx) {
  dx.Control(IDC_AVI_LIST, aviList);
  dx.Control(IDC_CLIP_LIST, clipList);
  dx.Control(IDC_PROGRESS, progress);
  dx.Text(IDC_INPUT_FOLDER, inputFolder);
  dx.Text(IDC_OUTPUT_FOLDER, outputFolder);
  dx.Check(IDC_DELETE_ORIGINAL, deleteSource);
}

bool BatchDialog::OnInitDialog() {
  progressSink_ = std::make_unique<QtProgressSink>(*progress);
  setWindowIcon(icon);
  SetDefaultFolders();
  UpdateData(false);
  ListClips();
  ListAvis();
  SetCaption(kWindowCaption);
  return true;
}

// The documents folder for the output, the current directory for the input.
void BatchDialog::SetDefaultFolders() {
  std::optional<std::string> documents = services_.shell.DocumentsFolder();
  if (!documents)
    services_.messages.Show(Translate("BatchDialog", "Failed to get default output directory"));
  else if (!FitsPathBuffer(*documents))
    services_.messages.Show(Translate("BatchDialog", "Failed to get path"));
  else
    outputFolder = *documents;

  std::optional<std::string> current = CurrentDirectory();
  if (current)
    inputFolder = *current;
  else
    services_.messages.Show(Translate("BatchDialog", "Failed to get default input directory"));
}

void BatchDialog::ListClips() {
  FillList(*clipList, inputFolder, kClipPattern, {IDC_CREATE, IDC_CREATE_ALL});
}

void BatchDialog::ListAvis() { FillList(*aviList, outputFolder, kAviPattern, {IDC_PLAY}); }

// A fill that finds nothing disables nothing.
void BatchDialog::FillList(QListWidget &list, const std::string &folderText, const char *pattern,
                           std::initializer_list<int> commands) {
  ListBox box(list);
  box.ResetContent();
  FolderListing listing = ListFolder(folderText, pattern);
  if (listing.found)
    for (int id : commands)
      EnableControl(id, true);
  for (const std::string &entry : listing.entries)
    box.AddString(entry);
  if (!listing.failure.empty())
    services_.messages.Show(listing.failure);
  FitListExtent(list);
}

void BatchDialog::FitListExtent(QListWidget &list) {
  ListBox box(list);
  int widest = 0;
  for (int i = 0; i < box.GetCount(); ++i)
    widest = std::max(widest, box.TextWidth(box.GetText(i)) + box.AverageCharWidth());
  box.SetHorizontalExtent(widest);
}

void BatchDialog::OnInputKillFocus() {
  UpdateData(true);
  ListClips();
}

void BatchDialog::OnOutputKillFocus() {
  UpdateData(true);
  ListAvis();
}

void BatchDialog::OnBrowseInput() {
  if (BrowseFolder(Translate("BatchDialog", "Select folder to find QVJ files"), inputFolder))
    ListClips();
}

void BatchDialog::OnBrowseOutput() {
  if (BrowseFolder(Translate("BatchDialog", "Select folder in which to save AVIs"), outputFolder))
    ListAvis();
}

void BatchDialog::OnExit() {
  UpdateData(true);
  EndDialog(IDOK);
}

} // namespace reelcraft

// SPDX-License-Identifier: MIT
#include "gui/single/convert_progress_dialog.h"

#include "desktop/clip_delivery.h"
#include "engine/convert_clip.h"
#include "gui/play_media.h"
#include "gui/resources/dialog_templates.h"
#include "gui/single/single_clip_paths.h"
#include "gui/temp_avi.h"
#include "sys/translation.h"
#include "ui/folder_picker.h"
#include "ui/folder_rules.h"
#include "ui/qt_copy_progress.h"
#include "ui/qt_events.h"
#include "ui/qt_progress_sink.h"

#include <QProgressBar>

namespace reelcraft {

namespace {

constexpr uint32_t kMoveFlags = FOF_SIMPLEPROGRESS | FOF_NORECURSION;

std::string Question(const std::string &sourcePath, bool deleteSource) {
  return sourcePath + (deleteSource
                           ? Translate("ConvertProgressDialog",
                                       "\nWould you like to convert this file to AVI format?")
                           : Translate("ConvertProgressDialog",
                                       "\nWould you like to create a new AVI from this file?"));
}

} // namespace

ConvertProgressDialog::ConvertProgressDialog(std::string sourcePath, std::string targetPath,
                                             bool askFolder, bool deleteSource, QWidget *parent,
                                             MessageSink &messages, const Shell &shell)
    : TemplateDialog(ConvertProgressTemplate(), parent), deleteSource(deleteSource),
      askFolder(askFolder), targetPath(std::move(targetPath)), sourcePath(std::move(sourcePath)),
      messages_(messages), shell_(shell) {
  Bind({
      {IDC_CANCEL_RUN, Notification::Clicked, [this] { cancelFlag = 1; }},
      {WM_CONVERT_START, Notification::PostedMessage, [this] { OnConvertStart(); }},
      {WM_CONVERT_DECLINE, Notification::PostedMessage, [this] { EndDialog(kSingleClipDeclined); }},
  });
}

void ConvertProgressDialog::DoDataExchange(DataExchange &dx) { dx.Control(IDC_PROGRESS, progress); }

// The flow runs later, from the dialog's own loop, once the showing is over.
void ConvertProgressDialog::OnShowWindow(bool shown) {
  if (!shown)
    return;
  MessageAnswer answer = messages_.Show(Question(sourcePath, deleteSource), MessageButtons::YesNo);
  PostMessageTo(*this, answer == MessageAnswer::No ? WM_CONVERT_DECLINE : WM_CONVERT_START);
}

// While the flow runs, neither a key nor the close box ends the dialog: the flow ends it.
void ConvertProgressDialog::OnOK() {
  if (!running_)
    TemplateDialog::OnOK();
}

void ConvertProgressDialog::OnCancel() {
  if (!running_)
    TemplateDialog::OnCancel();
}

void ConvertProgressDialog::OnConvertStart() {
  running_ = true;
  RunFlow();
  running_ = false;
  EndDialog(kSingleClipDone);
}

void ConvertProgressDialog::RunFlow() {
  SetCaption(kWindowCaption);
  if (askFolder && !ChooseTargetFolder())
    return;
  std::unique_ptr<TempAvi> temporaryAvi = TempAvi::Reserve(shell_);
  if (temporaryAvi)
    ConvertAndDeliver(*temporaryAvi);
}

bool ConvertProgressDialog::ChooseTargetFolder() {
  FolderPicker picker(kWindowCaption,
                      Translate("ConvertProgressDialog", "Select folder in which to save AVI"),
                      TargetFolderOf(targetPath), this, messages_);
  if (picker.DoModal() != 1)
    return false;
  targetPath = RetargetToFolder(targetPath, picker.GetPath());
  return true;
}

void ConvertProgressDialog::ConvertAndDeliver(TempAvi &temporaryAvi) {
  QtProgressSink sink(*progress);
  QtPump pump;
  ProgressControl control{sink, pump};
  cancelFlag = 0;
  ConvertOptions options;
  options.targetIdentity = temporaryAvi.file().identity;
  ConversionResult converted =
      ConvertClip(sourcePath, temporaryAvi.path(), &control, cancelFlag, messages_, options);
  // What another hand put under the temporary name is no conversion of the clip.
  if (converted.state == ConversionState::Failed || !StillSameFile(temporaryAvi.file()))
    messages_.Show(Translate("ConvertProgressDialog", "Failed to create AVI!\n") + sourcePath);
  else if (converted.HasAvi() && !MoveToTarget(temporaryAvi.file(), converted))
    temporaryAvi.Keep(); // the message names it
}

bool ConvertProgressDialog::MoveToTarget(const FileRef &temporaryAvi,
                                         const ConversionResult &converted) {
  Delivered delivered;
  if (FitsPathBuffer(targetPath)) {
    ClipDelivery delivery(shell_,
                          [this] { return std::make_unique<QtCopyProgress>(this, messages_); });
    delivered =
        delivery.Deliver({sourcePath, temporaryAvi, targetPath, true, kMoveFlags, deleteSource,
                          std::string(), converted.picturesWritten, converted.picturesExpected});
  } else if (deleteSource) {
    delivered.note = ClipKeptText(sourcePath);
  }
  std::string note = delivered.note.empty() ? std::string() : "\n" + delivered.note;
  if (delivered.placed != FileOpResult::Success) {
    messages_.Show(
        (delivered.placed == FileOpResult::Aborted
             ? Translate("ConvertProgressDialog", "Cancelled file copy.\nTemp stored in ")
             : Translate("ConvertProgressDialog", "Failed to copy file.\nTemp stored in ")) +
        temporaryAvi.path + note);
    return false;
  }
  if (!delivered.note.empty())
    messages_.Show(delivered.note);
  PlayMediaFile(shell_, messages_, targetPath);
  return true;
}

} // namespace reelcraft

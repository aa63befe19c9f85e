#include "single/convert_progress_dialog.h"

#include "engine/convert_clip.h"
#include "folders/folder_picker.h"
#include "folders/folder_rules.h"
#include "platform/qt_copy_progress.h"
#include "platform/qt_posted_message.h"
#include "platform/qt_progress_sink.h"
#include "platform/qt_pump.h"
#include "resources/dialog_templates.h"
#include "single/single_clip_paths.h"

#include <QProgressBar>

namespace reelcraft {

namespace {

constexpr const char *kFolderPrompt = "Select folder in which to save AVI";
constexpr const char *kMoveTitle = "Writing AVI to target location";
constexpr uint32_t kMoveFlags = FOF_SIMPLEPROGRESS | FOF_NORECURSION;

std::string Question(const std::string &sourcePath, bool deleteSource) {
  return sourcePath + (deleteSource ? "\nWould you like to convert this file to AVI format?"
                                    : "\nWould you like to create a new AVI from this file?");
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
  std::optional<std::string> tempFolder = shell_.TempFolder();
  if (!tempFolder)
    return;
  std::string placeholder = shell_.ReserveTempName(*tempFolder);
  if (placeholder.empty())
    return;
  std::string temporaryAvi = TemporaryAviPath(placeholder);
  // Never write into a temporary AVI of the same name that another run still holds.
  if (!shell_.Rename(placeholder, temporaryAvi)) {
    shell_.Delete(placeholder);
    return;
  }
  ConvertAndDeliver(temporaryAvi);
}

bool ConvertProgressDialog::ChooseTargetFolder() {
  FolderPicker picker(kWindowCaption, kFolderPrompt, TargetFolderOf(targetPath), this, messages_);
  if (picker.DoModal() != 1)
    return false;
  targetPath = RetargetToFolder(targetPath, picker.GetPath());
  return true;
}

void ConvertProgressDialog::ConvertAndDeliver(const std::string &temporaryAvi) {
  QtProgressSink sink(*progress);
  QtPump pump;
  ProgressControl control{sink, pump};
  cancelFlag = 0;
  if (ConvertClip(sourcePath, temporaryAvi, &control, cancelFlag, messages_) == 0)
    messages_.Show("Failed to create AVI!\n" + sourcePath);
  else if (cancelFlag == 0 && !MoveToTarget(temporaryAvi))
    return; // the message names the temporary AVI, which stays
  shell_.Delete(temporaryAvi);
}

bool ConvertProgressDialog::MoveToTarget(const std::string &temporaryAvi) {
  if (deleteSource)
    shell_.Delete(sourcePath);
  FileOpResult moved = FileOpResult::Failed;
  if (targetPath.size() < kPathBufferSize) {
    QtCopyProgress window(this, messages_);
    moved = shell_.Move(temporaryAvi, targetPath, kMoveTitle, kMoveFlags, window);
  }
  if (moved != FileOpResult::Success) {
    messages_.Show((moved == FileOpResult::Aborted ? "Cancelled file copy.\nTemp stored in "
                                                   : "Failed to copy file.\nTemp stored in ") +
                   temporaryAvi);
    return false;
  }
  if (!shell_.OpenWithProgram(targetPath))
    messages_.Show("Could not play media file.");
  return true;
}

} // namespace reelcraft

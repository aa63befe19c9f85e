// SPDX-License-Identifier: MIT
#include "gui/single/convert_progress_dialog.h"

#include "desktop/clip_delivery.h"
#include "engine/convert_clip.h"
#include "gui/resources/dialog_templates.h"
#include "gui/shared/play_media.h"
#include "gui/shared/temp_avi.h"
#include "gui/single/single_clip_paths.h"
#include "sys/translation.h"
#include "ui/folder_picker.h"
#include "ui/folder_rules.h"

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
                                             bool askFolder, bool deleteSource, WindowHandle parent,
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
                      TargetFolderOf(targetPath), Window(), messages_);
  if (picker.DoModal() != 1)
    return false;
  targetPath = RetargetToFolder(targetPath, picker.GetPath());
  return true;
}

void ConvertProgressDialog::ConvertAndDeliver(TempAvi &temporaryAvi) {
  ConversionResult converted = Convert(temporaryAvi, false);
  std::string note;
  if (converted.unrecognisedFormat && !converted.HasAvi()) {
    if (messages_.Show(HeaderlessSalvageQuestion(), MessageButtons::YesNoDefaultNo,
                       MessageIcon::Question) != MessageAnswer::Yes)
      return;
    // Nothing of this dialog's is at the target yet: an AVI there is asked about.
    bool delivered = SalvageIntoTarget(kMoveFlags, note);
    if (!note.empty())
      messages_.Show(note);
    if (delivered)
      PlayMediaFile(shell_, messages_, targetPath);
    return;
  }
  if (!converted.HasAvi() || !MoveToTarget(temporaryAvi, converted, kMoveFlags, note))
    return;
  // A clip that ended early may hold more pictures after its damage.
  if (converted.state == ConversionState::Incomplete &&
      messages_.Show(SalvageQuestion(note), MessageButtons::YesNoDefaultNo,
                     MessageIcon::Question) == MessageAnswer::Yes)
    SalvageIntoTarget(kMoveFlags | FOF_NOCONFIRMATION, note);
  else if (converted.state == ConversionState::Incomplete)
    note.clear(); // the question has shown it
  if (!note.empty())
    messages_.Show(note);
  PlayMediaFile(shell_, messages_, targetPath);
}

ConversionResult ConvertProgressDialog::Convert(TempAvi &temporaryAvi, bool salvage) {
  WindowProgressSink sink(*progress);
  WindowPump pump;
  ProgressControl control{sink, pump};
  cancelFlag = 0;
  ConvertOptions options;
  options.targetIdentity = temporaryAvi.file().identity;
  options.targetDescriptor = temporaryAvi.file().descriptor;
  options.salvage = salvage;
  ConversionResult converted =
      ConvertClip(sourcePath, temporaryAvi.path(), &control, cancelFlag, messages_, options);
  // What another hand put under the temporary name is no conversion of the clip.
  if (converted.state != ConversionState::Failed && !StillSameFile(temporaryAvi.file()))
    NoteFailure(converted, FailureKind::AviNotWritten, FileFailure{});
  if (converted.state == ConversionState::Failed) {
    // The system's reason, so that a full or pulled-out disk is not taken for a damaged clip.
    std::string reason = converted.failure && !converted.failure->told
                             ? FailureReason(converted.failure->file)
                             : std::string();
    messages_.Show(Translate("ConvertProgressDialog", "Failed to create AVI!\n") + sourcePath +
                   (reason.empty() ? "" : "\n" + reason));
  }
  return converted;
}

bool ConvertProgressDialog::SalvageIntoTarget(uint32_t flags, std::string &note) {
  note.clear();
  std::unique_ptr<TempAvi> temporaryAvi = TempAvi::Reserve(shell_);
  if (!temporaryAvi)
    return false;
  ConversionResult salvaged = Convert(*temporaryAvi, true);
  return salvaged.HasAvi() && MoveToTarget(*temporaryAvi, salvaged, flags, note);
}

bool ConvertProgressDialog::MoveToTarget(TempAvi &temporaryAvi, const ConversionResult &converted,
                                         uint32_t flags, std::string &note) {
  Delivered delivered;
  if (FitsPathBuffer(targetPath)) {
    ClipDelivery delivery(
        shell_, [this] { return std::make_unique<WindowCopyProgress>(Window(), messages_); });
    delivered =
        delivery.Deliver({sourcePath, temporaryAvi.file(), targetPath, true, flags, deleteSource,
                          std::string(), converted.picturesWritten, converted.picturesExpected,
                          converted.damaged.size(), converted.state == ConversionState::Done});
  } else if (deleteSource) {
    delivered.note = ClipKeptText(sourcePath);
  }
  note = delivered.note;
  if (delivered.placed == FileOpResult::Success)
    return true;
  temporaryAvi.Keep(); // the message names it
  std::string reason =
      delivered.placed == FileOpResult::Failed ? FailureReason(delivered.failure) : std::string();
  messages_.Show(
      (delivered.placed == FileOpResult::Aborted
           ? Translate("ConvertProgressDialog", "Cancelled file copy.\nTemp stored in ")
           : Translate("ConvertProgressDialog", "Failed to copy file.\nTemp stored in ")) +
      temporaryAvi.path() + (reason.empty() ? std::string() : "\n" + reason) +
      (note.empty() ? std::string() : "\n" + note));
  return false;
}

} // namespace reelcraft

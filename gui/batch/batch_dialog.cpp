// SPDX-License-Identifier: MIT
#include "gui/batch/batch_dialog.h"

#include "desktop/clip_delivery.h"
#include "engine/convert_clip.h"
#include "gui/batch/batch_paths.h"
#include "gui/batch/folder_listing.h"
#include "gui/resources/app_icon.h"
#include "gui/resources/dialog_templates.h"
#include "gui/shared/play_media.h"
#include "gui/shared/temp_avi.h"
#include "sys/paths.h"
#include "sys/translation.h"
#include "ui/folder_picker.h"
#include "ui/list_box.h"

#include <algorithm>
#include <initializer_list>

namespace reelcraft {

struct BatchDialog::CreateRun {
  std::string outputDirectory;
  std::unique_ptr<TempAvi> temp;
  ClipDelivery delivery;
  RunTally tally;
};

BatchDialog::BatchDialog(BatchServices services, WindowHandle parent)
    : TemplateDialog(BatchTemplate(), parent), icon(AppIcon()), services_(std::move(services)) {
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
  progressSink_ = std::make_unique<WindowProgressSink>(*progress);
  SetIcon(icon);
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
void BatchDialog::FillList(ListControl &list, const std::string &folderText, const char *pattern,
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

void BatchDialog::FitListExtent(ListControl &list) {
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

// With no parent the picker is owned by the active window, which is this one.
bool BatchDialog::BrowseFolder(const std::string &prompt, std::string &folder) {
  UpdateData(true);
  FolderPicker picker(kWindowCaption, prompt, folder, nullptr, services_.messages);
  if (picker.DoModal() != 1)
    return false;
  folder = picker.GetPath();
  UpdateData(false);
  return true;
}

// The list stays live during a run, and a refill of it enables Create again; a second run
// started inside the first would convert the clip in hand twice and end by disabling Cancel
// while the first one still converts.
void BatchDialog::OnCreateAvi() {
  if (!running_)
    CreateSelected();
}

void BatchDialog::OnCreateAll() {
  if (running_)
    return;
  ListBox(*clipList).SetSel(-1, true);
  // A run over several clips takes long enough for the user to turn to other windows.
  bool several = ListBox(*clipList).GetCount() > 1;
  RunTally tally = CreateSelected();
  if (several && !IsActive())
    NotifyRunEnd(tally);
}

void BatchDialog::NotifyRunEnd(const RunTally &tally) {
  if (!services_.notify)
    return;
  std::string body = Translate("BatchDialog", "%1 converted, %2 incomplete, %3 failed");
  for (auto [mark, count] : {std::pair{"%1", tally.converted}, std::pair{"%2", tally.incomplete},
                             std::pair{"%3", tally.failed}}) {
    if (size_t at = body.find(mark); at != std::string::npos)
      body.replace(at, 2, std::to_string(count));
  }
  services_.notify(Translate("BatchDialog", "The clips are converted"), body);
}

void BatchDialog::OnClipDoubleClick() { OnCreateAvi(); }

void BatchDialog::OnAviDoubleClick() { OnPlay(); }

void BatchDialog::OnCancelRun() { cancelFlag = 1; }

void BatchDialog::OnPlay() {
  ListBox avis(*aviList);
  int index = avis.GetCurSel();
  if (index < 0)
    return;
  PlayMediaFile(services_.shell, services_.messages, avis.GetText(index));
}

BatchDialog::RunTally BatchDialog::CreateSelected() {
  UpdateData(true);
  CreateRun run{WithTrailingSeparator(outputFolder),
                nullptr,
                ClipDelivery(services_.shell, [this] { return services_.copyWindow(Window()); }),
                {}};
  StartRun();
  run.temp = TempAvi::Reserve(services_.shell);
  if (run.temp) {
    while (ListBox(*clipList).GetSelCount() > 0 && RunPass(run) == PassEnd::Next) {
    }
    run.temp.reset();
  }
  EndRun();
  return run.tally;
}

// The one place where the run counts how a clip ended.
void BatchDialog::Count(CreateRun &run, ClipEnd end) {
  switch (end) {
  case ClipEnd::Delivered:
    ++run.tally.converted;
    break;
  case ClipEnd::Incomplete:
    ++run.tally.incomplete;
    break;
  case ClipEnd::Failed:
    ++run.tally.failed;
    break;
  }
}

void BatchDialog::StartRun() {
  running_ = true;
  EnableControl(IDC_CREATE, false);
  EnableControl(IDC_CREATE_ALL, false);
  EnableControl(IDC_PLAY, false);
  EnableControl(IDC_CANCEL_RUN, true);
  cancelFlag = 0;
}

void BatchDialog::EndRun() {
  if (ListBox(*clipList).GetCount() > 0) {
    EnableControl(IDC_CREATE, true);
    EnableControl(IDC_CREATE_ALL, true);
  }
  if (ListBox(*aviList).GetCount() > 0)
    EnableControl(IDC_PLAY, true);
  EnableControl(IDC_CANCEL_RUN, false);
  FitListExtent(*clipList);
  FitListExtent(*aviList);
  running_ = false;
}

BatchDialog::PassEnd BatchDialog::RunPass(CreateRun &run) {
  ListBox clips(*clipList);
  int index = clips.FirstSelected();
  if (index < 0) {
    services_.messages.Show(Translate("BatchDialog", "Failed to get current selection"));
    return PassEnd::LeaveRun;
  }
  std::string source = clips.GetText(index);
  // Clips whose names share their part before the first dot would otherwise replace one
  // another's AVI; only what was there before the run is offered for replacement.
  std::string target = run.delivery.FreeName(TargetPath(run.outputDirectory, source));
  if (services_.shell.Exists(target) &&
      services_.messages.Show(
          target + Translate("BatchDialog", "\nFile exists in do you want to overwrite?"),
          MessageButtons::YesNo) != MessageAnswer::Yes) {
    DeselectEntry(index, source);
    return PassEnd::Next;
  }
  ConversionResult converted = Convert(run, source, target, false);
  bool salvaged = false;
  // A clip whose header is lost may still hold its pictures.
  if (converted.unrecognisedFormat && !converted.HasAvi() &&
      services_.messages.Show(HeaderlessSalvageQuestion(), MessageButtons::YesNoDefaultNo,
                              MessageIcon::Question) == MessageAnswer::Yes) {
    --run.tally.failed; // counted by what the salvage gives instead
    converted = Convert(run, source, target, true);
    salvaged = true;
  }
  if (converted.state == ConversionState::Failed)
    return PassEnd::LeaveRun;
  if (converted.HasAvi()) {
    BusyCursor busy;
    if (CopyOut(run, index, source, target, converted, salvaged) == PassEnd::LeaveRun)
      return PassEnd::LeaveRun;
  }
  DeselectEntry(index, source);
  progressSink_->SetPosition(0);
  return PassEnd::Next;
}

ConversionResult BatchDialog::Convert(CreateRun &run, const std::string &source,
                                      const std::string &target, bool salvage) {
  if (run.temp->kept()) {
    // The kept file is the user's; this clip gets a temporary AVI of its own.
    run.temp = TempAvi::Reserve(services_.shell);
    if (!run.temp)
      return {};
  }
  ProgressControl control{*progressSink_, pump_};
  ConvertOptions options;
  options.targetIdentity = run.temp->file().identity;
  options.targetDescriptor = run.temp->file().descriptor;
  options.salvage = salvage;
  ConversionResult result =
      ConvertClip(source, run.temp->path(), &control, cancelFlag, services_.messages, options);
  // What another hand put under the temporary name is no conversion of the clip.
  if (result.state != ConversionState::Failed && !StillSameFile(run.temp->file()))
    NoteFailure(result, FailureKind::AviNotWritten, FileFailure{});
  if (result.state == ConversionState::Failed) {
    Count(run, ClipEnd::Failed);
    // The system's reason, so that a full or pulled-out disk is not taken for a damaged clip.
    std::string reason =
        result.failure && !result.failure->told ? FailureReason(result.failure->file) : "";
    services_.messages.Show(Translate("BatchDialog", "Failed to create AVI!\n") + source + "\n" +
                            target + (reason.empty() ? "" : "\n" + reason));
  }
  return result;
}

BatchDialog::PassEnd BatchDialog::CopyOut(CreateRun &run, int index, const std::string &source,
                                          const std::string &target,
                                          const ConversionResult &converted, bool salvaged) {
  if (!FitsPathBuffer(target)) {
    services_.messages.Show(Translate("BatchDialog", "Failed to copy.  Target path too long."));
    Count(run, ClipEnd::Failed);
    return PassEnd::Next;
  }
  if (!FitsPathBuffer(run.temp->path())) {
    services_.messages.Show(Translate("BatchDialog", "Failed to copy.  Source path too long."));
    Count(run, ClipEnd::Failed);
    return PassEnd::Next;
  }
  // Read once: the box may be ticked while the copy window runs.
  bool deleting = deleteSource == 1;
  Delivered delivered = Deliver(run, source, target, converted, deleting);
  if (delivered.placed != FileOpResult::Success) {
    if (delivered.placed == FileOpResult::Failed || deleting)
      Count(run, ClipEnd::Failed);
    return PassEnd::Next;
  }
  bool incomplete = converted.state == ConversionState::Incomplete;
  Count(run, incomplete ? ClipEnd::Incomplete : ClipEnd::Delivered);
  if (delivered.besidePlaced == FileOpResult::Failed) {
    services_.messages.Show(Translate("BatchDialog", "Failed to convert original file.") +
                            (delivered.note.empty() ? "" : "\n" + delivered.note));
    return PassEnd::LeaveRun;
  }
  std::string note = delivered.note;
  // A clip that ended early may hold more pictures after its damage; the question tells the
  // note, and what a salvage gives is told anew.
  if (incomplete && !salvaged) {
    bool salvage = services_.messages.Show(SalvageQuestion(note), MessageButtons::YesNoDefaultNo,
                                           MessageIcon::Question) == MessageAnswer::Yes;
    note.clear();
    if (salvage) {
      ConversionResult salvaged = Convert(run, source, target, true);
      if (salvaged.state == ConversionState::Failed)
        return PassEnd::LeaveRun;
      if (salvaged.HasAvi()) {
        Delivered again = Deliver(run, source, target, salvaged, deleting);
        if (again.placed == FileOpResult::Success)
          note = again.note;
      }
    }
  }
  if (!note.empty())
    services_.messages.Show(note);
  if (delivered.clipRemoved) {
    int now = EntryIndex(index, source);
    if (now >= 0)
      ListBox(*clipList).DeleteString(now);
  }
  return PassEnd::Next;
}

Delivered BatchDialog::Deliver(CreateRun &run, const std::string &source, const std::string &target,
                               const ConversionResult &converted, bool deleting) {
  DeliveryOrder order{source,
                      run.temp->file(),
                      target,
                      false,
                      FOF_NOCONFIRMATION | FOF_SIMPLEPROGRESS | FOF_NORECURSION,
                      deleting,
                      deleting ? SourceLocationAvi(source) : std::string(),
                      converted.picturesWritten,
                      converted.picturesExpected,
                      converted.damaged.size(),
                      converted.state == ConversionState::Done};
  Delivered delivered = run.delivery.Deliver(order);
  if (delivered.placed == FileOpResult::Success) {
    SelectAvi(target);
  } else if (delivered.placed == FileOpResult::Failed || deleting) {
    // Named before the message names it.
    run.temp->Keep();
    std::string reason =
        delivered.placed == FileOpResult::Failed ? FailureReason(delivered.failure) : std::string();
    services_.messages.Show(
        (delivered.placed == FileOpResult::Aborted
             ? Translate("BatchDialog", "Cancelled file copy.\nTemp stored in ")
             : Translate("BatchDialog", "Failed to copy file.\nTemp stored in ")) +
        run.temp->path() + (reason.empty() ? "" : "\n" + reason) +
        (delivered.note.empty() ? "" : "\n" + delivered.note));
  }
  return delivered;
}

void BatchDialog::SelectAvi(const std::string &target) {
  ListBox avis(*aviList);
  int index = avis.FindStringPrefix(target);
  if (index < 0)
    index = avis.AddString(target);
  avis.SetCurSel(index);
}

void BatchDialog::DeselectEntry(int index, const std::string &source) {
  int now = EntryIndex(index, source);
  if (now >= 0)
    ListBox(*clipList).SetSel(now, false);
}

int BatchDialog::EntryIndex(int index, const std::string &source) const {
  ListBox clips(*clipList);
  if (index < clips.GetCount() && clips.GetText(index) == source)
    return index;
  for (int i = 0; i < clips.GetCount(); ++i)
    if (clips.GetText(i) == source)
      return i;
  return -1;
}

} // namespace reelcraft

// SPDX-License-Identifier: MIT
#pragma once

#include "desktop/clip_delivery.h"
#include "engine/conversion_result.h"
#include "engine/interfaces.h"
#include "gui/batch/batch_services.h"
#include "gui/resources/dialog_templates.h"
#include "ui/window_kit.h"

#include <initializer_list>
#include <memory>
#include <string>

namespace reelcraft {

class TempAvi;

// The main window: an input folder with its clips, an output folder with its AVI files, and
// the commands that convert the selected clips (or all of them) and play an AVI.
class BatchDialog : public TemplateDialog {
public:
  explicit BatchDialog(BatchServices services, WindowHandle parent = nullptr);
  ~BatchDialog() override;

  // Refill the clip list from `inputFolder` and the AVI list from `outputFolder`.
  void ListClips();
  void ListAvis();
  // Sets how far a list scrolls sideways: its widest entry plus one average character.
  void FitListExtent(ListControl &list);
  // How the clips of a Create run ended.
  struct RunTally {
    int converted = 0;
    int incomplete = 0;
    int failed = 0;
  };
  // The Create run over the selected clips.
  RunTally CreateSelected();

protected:
  void DoDataExchange(DataExchange &dx) override;
  bool OnInitDialog() override;
  // The OK command (id 1) never closes this window.
  void OnOK() override {}

private:
  // What one Create run carries from clip to clip: the output folder, the temporary AVI, the
  // delivery and the tally.
  struct CreateRun;
  enum class PassEnd { Next, LeaveRun };
  enum class ClipEnd { Delivered, Incomplete, Failed };

  void OnCreateAvi();
  void OnCreateAll();
  void OnClipDoubleClick();
  void OnAviDoubleClick();
  void OnPlay();
  void OnCancelRun();
  void OnBrowseInput();
  void OnBrowseOutput();
  void OnInputKillFocus();
  void OnOutputKillFocus();
  void OnExit();

  void SetDefaultFolders();
  // Fills `list` from `folderText`; enables `commands` when anything matched.
  void FillList(ListControl &list, const std::string &folderText, const char *pattern,
                std::initializer_list<int> commands);
  // Browses for a folder; true when the user accepted one, which is then in `folder`.
  bool BrowseFolder(const std::string &prompt, std::string &folder);

  void StartRun();
  void EndRun();
  PassEnd RunPass(CreateRun &run);
  // Converts into the run's temporary AVI, a fresh one when the last was kept.
  ConversionResult Convert(CreateRun &run, const std::string &source, const std::string &target,
                           bool salvage);
  // Delivers the AVI to the target and, with Delete Original, beside the clip, which then goes.
  // A salvaged AVI is not offered a salvage again.
  PassEnd CopyOut(CreateRun &run, int index, const std::string &source, const std::string &target,
                  const ConversionResult &converted, bool salvaged = false);
  // Copies the AVI to the target (and, for a clip to be removed, beside it, then removes the
  // clip); a copy that failed, or was aborted for a clip to be removed, keeps the temporary AVI
  // and says where it is.
  Delivered Deliver(CreateRun &run, const std::string &source, const std::string &target,
                    const ConversionResult &converted, bool deleting);
  void SelectAvi(const std::string &target);
  void Count(CreateRun &run, ClipEnd end);
  // The desktop notification of a Create All run that ended behind other windows.
  void NotifyRunEnd(const RunTally &tally);
  // Where the pass's entry stands in the clip list now, or -1: a refill of the list during the
  // conversion may have moved it.
  int EntryIndex(int index, const std::string &source) const;
  void DeselectEntry(int index, const std::string &source);

  // The window's fields, under plain names (ARCHITECTURE.md, "Names").
  ListControl *aviList = nullptr;
  ListControl *clipList = nullptr;
  BarControl *progress = nullptr;
  std::string inputFolder;
  std::string outputFolder;
  int deleteSource = 0;
  WindowIcon icon;
  CancelFlag cancelFlag{0};

  // What the window holds beyond its fields: the services it works with, the engine's view of
  // the bar, the pump, the guard against a second run.
  BatchServices services_;
  std::unique_ptr<WindowProgressSink> progressSink_;
  WindowPump pump_;
  bool running_ = false;
};

} // namespace reelcraft

// SPDX-License-Identifier: MIT
#pragma once

#include "desktop/shell.h"
#include "engine/conversion_result.h"
#include "engine/interfaces.h"
#include "sys/message_sink.h"
#include "ui/window_kit.h"

#include <optional>
#include <string>

namespace reelcraft {

class TempAvi;

// Private messages that the dialog posts to itself.
constexpr int WM_CONVERT_START = 0x800A;
constexpr int WM_CONVERT_DECLINE = 0x8014;

// Results of the modal run.
constexpr int kSingleClipDone = 1;
constexpr int kSingleClipDeclined = 2;

// The single-clip conversion: asks, optionally lets the user choose the target folder,
// converts into a temporary AVI while the bar moves (Cancel stops it), moves the AVI to the
// target and opens it with its program. Gives 2 when the user declined, else 1.
class ConvertProgressDialog : public TemplateDialog {
public:
  ConvertProgressDialog(std::string sourcePath, std::string targetPath, bool askFolder,
                        bool deleteSource, WindowHandle parent, MessageSink &messages,
                        const Shell &shell);

  const std::string &TargetPath() const { return targetPath; }

protected:
  void DoDataExchange(DataExchange &dx) override;
  void OnShowWindow(bool shown) override;
  void OnOK() override;
  void OnCancel() override;

private:
  void OnConvertStart();
  void RunFlow();
  bool ChooseTargetFolder();
  void ConvertAndDeliver(TempAvi &temporaryAvi);
  // Converts into the temporary AVI, saying so when that fails.
  ConversionResult Convert(TempAvi &temporaryAvi, bool salvage);
  // Converts again with salvage into the target, `flags` for the move (over the AVI just
  // delivered without a question), with what to tell of it in `note`; true when delivered.
  bool SalvageIntoTarget(uint32_t flags, std::string &note);
  // Delivers the AVI, with what to tell of the clip in `note`; false when it stayed in the
  // temporary folder, as the message says.
  bool MoveToTarget(TempAvi &temporaryAvi, const ConversionResult &converted, uint32_t flags,
                    std::string &note);

  // The window's fields, under plain names (ARCHITECTURE.md, "Names").
  BarControl *progress = nullptr;
  bool deleteSource;
  bool askFolder;
  std::string targetPath;
  CancelFlag cancelFlag{0};
  std::string sourcePath;

  // What the dialog holds beyond its fields: the services it works with, the guard against a
  // second run.
  MessageSink &messages_;
  const Shell &shell_;
  bool running_ = false;
};

} // namespace reelcraft

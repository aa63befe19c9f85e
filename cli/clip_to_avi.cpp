// SPDX-License-Identifier: MIT
#include "cli/clip_to_avi.h"

#include "engine/convert_clip.h"
#include "sys/error_text.h"
#include "sys/file_system.h"
#include "sys/temp_files.h"

#include <cerrno>
#include <optional>

namespace reelcraft {

namespace {

// Passes messages on and remembers whether there were any, and the first place that failed: a
// failure the engine left unsaid, or said without its place, still needs a word.
class CountingMessages : public MessageSink {
public:
  explicit CountingMessages(MessageSink &out) : out_(out) {}
  MessageAnswer Show(const std::string &text, MessageButtons buttons, MessageIcon icon) override {
    ++count_;
    return out_.Show(text, buttons, icon);
  }
  void NoteFailure(const FileFailure &failure) override {
    if (!failure_)
      failure_ = failure;
  }
  int count() const { return count_; }
  const std::optional<FileFailure> &failure() const { return failure_; }

private:
  MessageSink &out_;
  int count_ = 0;
  std::optional<FileFailure> failure_;
};

// "Could not write the AVI file OUT: No space left on device", with the place on a line of its
// own when it is not the output itself (the temporary folder, say).
std::string WriteFailureText(const std::string &output, const FileFailure &failure,
                             const std::string &stagedPath) {
  std::string reason = "error " + std::to_string(failure.error);
  SystemErrorText(uint32_t(failure.error), reason);
  std::string text = "Could not write the AVI file " + output;
  if (failure.path != stagedPath)
    text += ":\n" + failure.path;
  return text + ": " + reason;
}

std::string AlreadyExists(const std::string &output) {
  return output + " already exists; use -f to replace it";
}

ClipOutcome Report(MessageSink &messages, const std::string &text, ClipOutcome outcome) {
  messages.Show(text);
  return outcome;
}

} // namespace

ClipOutcome ConvertClipToAvi(const std::string &clip, const std::string &output, bool replace,
                             const ProgressControl *progress, CancelFlag &cancelFlag,
                             MessageSink &messages) {
  if (!replace && PathExists(output))
    return Report(messages, AlreadyExists(output), ClipOutcome::Skipped);
  StagedFile staged;
  if (!staged.Reserve(output))
    return Report(messages,
                  "Could not create a temporary file beside the output:\n" +
                      FileErrorText(staged.error(), output),
                  ClipOutcome::Failed);
  CountingMessages counted(messages);
  ConvertOptions options;
  options.targetIdentity = staged.temporaryFile().identity;
  bool done =
      ConvertClip(clip, staged.temporaryFile().path, progress, cancelFlag, counted, options) != 0;
  if (cancelFlag != 0)
    return Report(messages, "Interrupted; nothing written", ClipOutcome::Interrupted);
  if (!done && counted.failure())
    return Report(messages,
                  WriteFailureText(output, *counted.failure(), staged.temporaryFile().path),
                  ClipOutcome::Failed);
  if (!done && counted.count() == 0)
    return Report(messages, "Could not write the AVI file " + output, ClipOutcome::Failed);
  if (!done)
    return ClipOutcome::Failed;
  if (staged.Commit(replace))
    return ClipOutcome::Converted;
  if (staged.error() == EEXIST)
    return Report(messages, AlreadyExists(output), ClipOutcome::Skipped);
  return Report(messages,
                "Could not put the AVI file in place:\n" + FileErrorText(staged.error(), output),
                ClipOutcome::Failed);
}

} // namespace reelcraft

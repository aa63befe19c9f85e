#include "cli/clip_to_avi.h"

#include "engine/convert_clip.h"
#include "engine/file_error_text.h"
#include "platform/staged_file.h"

#include <cerrno>
#include <filesystem>

namespace reelcraft {

namespace {

// Passes messages on and remembers whether there were any: a failure the engine left unsaid
// still needs a word.
class CountingMessages : public MessageSink {
public:
  explicit CountingMessages(MessageSink &out) : out_(out) {}
  MessageAnswer Show(const std::string &text, MessageButtons buttons, MessageIcon icon) override {
    ++count_;
    return out_.Show(text, buttons, icon);
  }
  int count() const { return count_; }

private:
  MessageSink &out_;
  int count_ = 0;
};

std::string AlreadyExists(const std::string &output) {
  return output + " already exists; use -f to replace it";
}

bool Exists(const std::string &path) {
  std::error_code ignored;
  return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

ClipOutcome Report(MessageSink &messages, const std::string &text, ClipOutcome outcome) {
  messages.Show(text);
  return outcome;
}

} // namespace

ClipOutcome ConvertClipToAvi(const std::string &clip, const std::string &output, bool replace,
                             const ProgressControl *progress, CancelFlag &cancelFlag,
                             MessageSink &messages) {
  if (!replace && Exists(output))
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

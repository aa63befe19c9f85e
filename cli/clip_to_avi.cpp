#include "cli/clip_to_avi.h"

#include "engine/clip_header.h"
#include "engine/file_error_text.h"
#include "engine/video_writer.h"
#include "platform/staged_file.h"

#include <cerrno>
#include <filesystem>

namespace reelcraft {

namespace {

// Passes messages on and remembers that there were some: a message from the engine means the
// AVI file lacks frames even when the engine counts the run as done.
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

ExitStatus Fail(MessageSink &messages, const std::string &text) {
  messages.Show(text);
  return kExitFailed;
}

} // namespace

ExitStatus ConvertClipToAvi(const std::string &clip, const std::string &output, bool replace,
                            CancelFlag &cancelFlag, MessageSink &messages) {
  if (!replace && Exists(output))
    return Fail(messages, AlreadyExists(output));
  ClipHeader header;
  if (!ReadClipHeader(clip, header, messages))
    return kExitFailed;
  if (header.audioPresent != 0)
    return Fail(messages, "Clips with sound are not supported yet; nothing written");
  StagedFile staged;
  if (!staged.Reserve(output))
    return Fail(messages, "Could not create a temporary file beside the output:\n" +
                              FileErrorText(staged.error(), output));
  // The engine clears the flag as it starts; an interrupt that came before must not be lost.
  if (cancelFlag != 0)
    return Fail(messages, "Interrupted; nothing written");
  CountingMessages counted(messages);
  bool done = WriteVideoAvi(clip, staged.temporaryPath(), nullptr, cancelFlag, header, counted);
  if (cancelFlag != 0)
    return Fail(messages, "Interrupted; nothing written");
  if (!done && counted.count() == 0)
    return Fail(messages, "Could not write the AVI file " + output);
  if (!done || counted.count() > 0)
    return kExitFailed;
  if (staged.Commit(replace))
    return kExitConverted;
  if (staged.error() == EEXIST)
    return Fail(messages, AlreadyExists(output));
  return Fail(messages,
              "Could not put the AVI file in place:\n" + FileErrorText(staged.error(), output));
}

} // namespace reelcraft

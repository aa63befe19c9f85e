// SPDX-License-Identifier: MIT
#include "cli/clip_to_avi.h"

#include "engine/clip_header.h"
#include "engine/convert_clip.h"
#include "sys/error_text.h"
#include "sys/file_system.h"
#include "sys/temp_files.h"

#include <cerrno>
#include <optional>

namespace reelcraft {

namespace {

// "Could not write the AVI file OUT: No space left on device", with the place on a line of its
// own when it is not the output itself (the temporary folder, say).
std::string WriteFailureText(const std::string &output, const FileFailure &failure,
                             const std::string &stagedPath) {
  std::string text = "Could not write the AVI file " + output;
  if (failure.path != stagedPath)
    text += ":\n" + failure.path;
  if (failure.error == 0)
    return text;
  std::string reason = "error " + std::to_string(failure.error);
  SystemErrorText(uint32_t(failure.error), reason);
  return text + ": " + reason;
}

std::string AlreadyExists(const std::string &output) {
  return output + " already exists; use -f to replace it";
}

ClipOutcome Report(MessageSink &messages, const std::string &text, ClipState state) {
  messages.Show(text);
  return {state};
}

// Why `output` may not be written: another clip of the run put its AVI there. Call with the
// lock held.
std::string TakenBy(const PlacedOutputs *placed, const std::string &clip,
                    const std::string &output) {
  if (!placed)
    return {};
  std::optional<std::string> owner = placed->outputs.OwnerOf(output);
  return owner && *owner != clip ? "its AVI would replace the AVI of " + *owner : std::string();
}

} // namespace

const char kUnrecognisedHint[] =
    "Its pictures may still be found: qvj2avi --salvage (with --like OTHER.qvj, a clip of the "
    "same camera, for the size, rate and sound).";

namespace {

std::string Joined(const std::vector<std::string> &names) {
  std::string text;
  for (size_t i = 0; i < names.size(); ++i)
    text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
  return text;
}

} // namespace

std::string SalvageReport(const ConversionResult &result) {
  std::string text = "salvaged " + std::to_string(result.picturesWritten) + " of " +
                     std::to_string(result.picturesExpected) + " pictures";
  std::vector<std::string> leftOut;
  if (result.picturesLeftOut > 0)
    leftOut.push_back(std::to_string(result.picturesLeftOut) + " damaged");
  if (result.picturesForeign > 0)
    leftOut.push_back(std::to_string(result.picturesForeign) + " from another camera");
  if (!leftOut.empty())
    text += "; " + Joined(leftOut) + " left out";
  size_t stretches = result.damaged.size();
  if (stretches > 0)
    text += "; " + std::to_string(stretches) + " damaged stretch" + (stretches > 1 ? "es" : "") +
            " (first at byte " + std::to_string(result.damaged.front().begin) + ")";
  if (result.cutShortAt)
    text += "; cut short at byte " + std::to_string(*result.cutShortAt);
  for (const std::string &disagreement : result.headerDisagrees)
    text += "; " + disagreement;
  if (!result.headerGuessed.empty())
    text += "; no header: " + Joined(result.headerGuessed) + " guessed";
  if (leftOut.empty() && stretches == 0 && !result.cutShortAt && result.headerDisagrees.empty() &&
      result.headerGuessed.empty())
    text += "; no damaged stretch";
  return text;
}

ClipOutcome ConvertClipToAvi(const std::string &clip, const std::string &output,
                             ClipChoices choices, const ProgressControl *progress,
                             CancelFlag &cancelFlag, MessageSink &messages, PlacedOutputs *placed) {
  bool replace = choices.replace;
  // The clip first: a missing clip says so, whatever the output's folder allows. A header
  // that is not a clip's is the engine's to judge: salvage may stand in for it.
  ClipHeader header;
  std::string problem;
  if (HeaderFault fault = ReadClipHeaderQuietly(clip, header, problem);
      fault == HeaderFault::Unopened || fault == HeaderFault::Unreadable)
    return Report(messages, problem, ClipState::Failed);
  if (placed) {
    std::lock_guard hold(placed->mutex);
    if (std::string taken = TakenBy(placed, clip, output); !taken.empty())
      return Report(messages, taken, ClipState::Skipped);
  }
  if (!replace && PathExists(output))
    return Report(messages, AlreadyExists(output), ClipState::Skipped);
  StagedFile staged;
  if (!staged.Reserve(output))
    return Report(messages,
                  "Could not create a temporary file beside the output:\n" +
                      FileErrorText(staged.error(), output),
                  ClipState::Failed);
  ConvertOptions options;
  options.targetIdentity = staged.temporaryFile().identity;
  options.targetDescriptor = staged.temporaryFile().descriptor;
  options.salvage = choices.salvage;
  options.like = choices.like;
  if (!choices.salvage)
    options.unrecognisedHint = kUnrecognisedHint;
  ConversionResult result =
      ConvertClip(clip, staged.temporaryFile().path, progress, cancelFlag, messages, options);
  switch (result.state) {
  case ConversionState::Cancelled:
    return Report(messages, "Interrupted; nothing written", ClipState::Interrupted);
  case ConversionState::Failed:
    if (result.failure && !result.failure->told)
      messages.Show(WriteFailureText(output, result.failure->file, staged.temporaryFile().path));
    return {ClipState::Failed};
  case ConversionState::Done:
  case ConversionState::Incomplete:
    break;
  }
  {
    // Checked and placed under one lock: two clips of the run finishing at once.
    std::unique_lock<std::mutex> hold;
    if (placed)
      hold = std::unique_lock(placed->mutex);
    if (std::string taken = TakenBy(placed, clip, output); !taken.empty())
      return Report(messages, taken, ClipState::Skipped);
    if (!staged.Commit(replace)) {
      if (staged.error() == EEXIST)
        return Report(messages, AlreadyExists(output), ClipState::Skipped);
      return Report(messages,
                    "Could not put the AVI file in place:\n" +
                        FileErrorText(staged.error(), output),
                    ClipState::Failed);
    }
    if (placed)
      placed->outputs.Record(output, clip);
  }
  ClipOutcome outcome{ClipState::Converted, result.picturesWritten, result.picturesExpected};
  if (choices.salvage) {
    outcome.damagedStretches = result.damaged.size();
    outcome.picturesLeftOut = result.picturesLeftOut;
    outcome.picturesForeign = result.picturesForeign;
    outcome.headerGuessed = result.headerGuessed;
  }
  if (result.state != ConversionState::Incomplete)
    return outcome;
  outcome.state = ClipState::Incomplete;
  messages.Show(choices.salvage ? SalvageReport(result)
                                : "incomplete, " + std::to_string(result.picturesWritten) + " of " +
                                      std::to_string(result.picturesExpected) + " pictures");
  return outcome;
}

} // namespace reelcraft

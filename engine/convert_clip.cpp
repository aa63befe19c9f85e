// SPDX-License-Identifier: MIT
#include "engine/convert_clip.h"

#include "engine/clip_header.h"
#include "engine/clip_writer.h"
#include "engine/sound_grid.h"
#include "sys/raw_file.h"

namespace reelcraft {

namespace {

// What a salvage takes for the header of a clip whose own cannot be read: that of another clip
// of the same camera where one is given, else a clip without sound at 15 pictures a second from
// its first byte, whose pictures give their size. Gives the fields it did not read.
std::vector<std::string> StandInHeader(const std::optional<ClipHeader> &like, ClipHeader &header) {
  std::vector<std::string> guessed = {"width", "height", "frameRate", "audioPresent"};
  if (like) {
    header = *like;
    if (header.audioPresent != 0)
      guessed.insert(guessed.end(), {"sampleRate", "channels", "bitsPerSample", "dataOffset"});
  } else {
    header = ClipHeader{};
    header.frameRate = 30;
  }
  if (header.audioPresent == 0)
    header.dataOffset = 0;
  header.frameCount = 0;
  header.dataSize = 0;
  return guessed;
}

uint64_t FileLength(const std::string &path) {
  RawFile file;
  uint64_t length = 0;
  if (file.OpenForReading(path))
    file.Length(length);
  return length;
}

} // namespace

ConversionResult ConvertClip(const std::string &sourcePath, const std::string &targetPath,
                             const ProgressControl *progress, CancelFlag &cancelFlag,
                             MessageSink &messages, const ConvertOptions &options) {
  FileRef target(targetPath, options.targetIdentity);
  target.descriptor = options.targetDescriptor;
  // Taken first: the clip may be gone by the end, and its date is often the only record of
  // when it was shot.
  std::optional<timespec> recorded = ModificationTime(sourcePath);
  ClipHeader header;
  std::string problem;
  int error = 0;
  HeaderFault fault = ReadClipHeaderQuietly(sourcePath, header, problem, &error);
  std::vector<std::string> guessed;
  if (fault == HeaderFault::Unrecognised && options.salvage) {
    guessed = StandInHeader(options.like, header);
  } else if (fault != HeaderFault::None) {
    ConversionResult failed;
    failed.unrecognisedFormat = fault == HeaderFault::Unrecognised;
    if (failed.unrecognisedFormat && !options.unrecognisedHint.empty())
      problem += "\n" + options.unrecognisedHint;
    FailureKind kind = fault == HeaderFault::Unopened     ? FailureKind::ClipNotOpened
                       : fault == HeaderFault::Unreadable ? FailureKind::ClipNotRead
                                                          : FailureKind::NotAClip;
    TellFailure(failed, messages, problem, kind, FileFailure{sourcePath, error});
    return failed;
  }
  // A salvage believes the sound blocks the clip holds before the header's word on them.
  std::vector<std::string> followed;
  if (options.salvage && guessed.empty())
    followed = FollowSoundGrid(sourcePath, header);
  ConversionResult result =
      WriteClipAvi(sourcePath, target, progress, cancelFlag, header, messages, options);
  result.headerDisagrees.insert(result.headerDisagrees.end(), followed.begin(), followed.end());
  if (!followed.empty() && result.state == ConversionState::Done)
    result.state = ConversionState::Incomplete;
  if (!guessed.empty()) {
    result.headerGuessed = std::move(guessed);
    result.headerDisagrees.clear(); // what stands in for the header says nothing of the clip
    result.unrecognisedFormat = true;
    if (result.state == ConversionState::Done)
      result.state = ConversionState::Incomplete;
  }
  if (result.cutShortAt)
    result.cutShortAt = FileLength(sourcePath);
  // A date that cannot be set leaves the AVI as good as it is.
  if (result.HasAvi() && recorded && !options.scanOnly)
    SetModificationTime(target, *recorded);
  return result;
}

} // namespace reelcraft

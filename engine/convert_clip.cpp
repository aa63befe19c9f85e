// SPDX-License-Identifier: MIT
#include "engine/convert_clip.h"

#include "engine/clip_header.h"
#include "engine/convert_clip_with_audio.h"
#include "engine/video_writer.h"

namespace reelcraft {

ConversionResult ConvertClip(const std::string &sourcePath, const std::string &targetPath,
                             const ProgressControl *progress, CancelFlag &cancelFlag,
                             MessageSink &messages, const ConvertOptions &options) {
  FileRef target(targetPath, options.targetIdentity);
  target.descriptor = options.targetDescriptor;
  // Taken first: the clip may be gone by the end, and its date is often the only record of
  // when it was shot.
  std::optional<timespec> recorded = ModificationTime(sourcePath);
  ClipHeader header;
  if (!ReadClipHeader(sourcePath, header, messages))
    return {};
  ConversionResult result =
      header.audioPresent != 0
          ? ConvertClipWithAudio(sourcePath, target, progress, cancelFlag, header, messages,
                                 options)
          : WriteVideoAvi(sourcePath, target, progress, cancelFlag, header, messages, options);
  // A date that cannot be set leaves the AVI as good as it is.
  if (result.HasAvi() && recorded && !options.scanOnly)
    SetModificationTime(target, *recorded);
  return result;
}

} // namespace reelcraft

// SPDX-License-Identifier: MIT
#include "engine/convert_clip.h"

#include "engine/clip_header.h"
#include "engine/convert_clip_with_audio.h"
#include "engine/video_writer.h"

namespace reelcraft {

int ConvertClip(const std::string &sourcePath, const std::string &targetPath,
                const ProgressControl *progress, CancelFlag &cancelFlag, MessageSink &messages,
                const ConvertOptions &options) {
  FileRef target(targetPath, options.targetIdentity);
  ClipHeader header;
  if (!ReadClipHeader(sourcePath, header, messages))
    return 0;
  if (header.audioPresent != 0)
    return ConvertClipWithAudio(sourcePath, target, progress, cancelFlag, header, messages,
                                options);
  return WriteVideoAvi(sourcePath, target, progress, cancelFlag, header, messages, options.avi) ? 1
                                                                                                : 0;
}

} // namespace reelcraft

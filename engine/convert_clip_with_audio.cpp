// SPDX-License-Identifier: MIT
#include "engine/convert_clip_with_audio.h"

#include "engine/audio_separation.h"
#include "engine/audio_stream.h"
#include "engine/separation_files.h"
#include "engine/video_writer.h"

namespace reelcraft {

int ConvertClipWithAudio(const std::string &clipPath, const FileRef &target,
                         const ProgressControl *progress, CancelFlag &cancelFlag, ClipHeader header,
                         MessageSink &messages, const ConvertOptions &options) {
  cancelFlag = 0;
  SeparationFiles files(options.tempFolder);
  if (!files.reserved()) {
    messages.NoteFailure(files.failure());
    return 0;
  }
  if (!SeparateBlocks(clipPath, header.dataOffset, files.pictures(), files.audio(), progress,
                      cancelFlag, messages))
    return 0;
  if (cancelFlag != 0)
    return 1;
  header.dataOffset = 0;
  if (!WriteVideoAvi(files.pictures(), target, progress, cancelFlag, header, messages, options.avi))
    return 0;
  WaveFormatEx format = AudioFormat(header);
  // Without whole bytes per sample the sound has no length in samples: the video stands alone.
  if (cancelFlag != 0 || format.nBlockAlign == 0)
    return 1;
  return AddAudioStream(files.audio(), target, format, messages, options.avi) ? 1 : 0;
}

} // namespace reelcraft

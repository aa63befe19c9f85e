// SPDX-License-Identifier: MIT
#include "engine/convert_clip_with_audio.h"

#include "engine/audio_separation.h"
#include "engine/audio_stream.h"
#include "engine/separation_files.h"
#include "engine/video_writer.h"

#include <algorithm>
#include <utility>

namespace reelcraft {

ConversionResult ConvertClipWithAudio(const std::string &clipPath, const FileRef &target,
                                      const ProgressControl *progress, CancelFlag &cancelFlag,
                                      ClipHeader header, MessageSink &messages,
                                      const ConvertOptions &options) {
  cancelFlag = 0;
  ConversionResult result;
  result.picturesExpected = std::max<uint32_t>(header.frameCount, 1);
  SeparationFiles files(options.tempFolder);
  if (!files.reserved()) {
    NoteFailure(result, files.failure());
    return result;
  }
  SoundTimeline timeline;
  if (!SeparateBlocks(clipPath, header.dataOffset, files.pictures(), files.audio(), progress,
                      cancelFlag, messages, result, options.salvage ? &timeline : nullptr))
    return result;
  if (cancelFlag != 0) {
    result.state = ConversionState::Cancelled;
    return result;
  }
  // The picture stream is the picture file from its first byte: the clip's own header and
  // whatever lay before its data area stayed behind in the separation.
  header.dataOffset = 0;
  result = WriteVideoAvi(files.pictures(), target, progress, cancelFlag, header, messages, options,
                         options.salvage ? &timeline : nullptr);
  // The stretches passed over are told in places of the clip, not of the picture file.
  for (DamagedStretch &stretch : result.damaged)
    stretch = {timeline.ClipOffset(stretch.begin), timeline.ClipOffset(stretch.end)};
  WaveFormatEx format = AudioFormat(header);
  // Without whole bytes per sample the sound has no length in samples: the video stands alone.
  if (!result.HasAvi() || format.nBlockAlign == 0 || options.scanOnly)
    return result;
  if (progress)
    progress->sink.SetPhase(ConversionPhase::Sound);
  // A clip cut inside a sound block ends in part of a sample, which players refuse.
  AddAudioStream(files.audio(), target, format, messages, result, options.avi, options.salvage);
  return result;
}

} // namespace reelcraft

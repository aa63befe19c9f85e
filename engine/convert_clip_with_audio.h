// SPDX-License-Identifier: MIT
#pragma once

#include "engine/clip_header.h"
#include "engine/conversion_result.h"
#include "engine/interfaces.h"
#include "sys/message_sink.h"

#include <string>

namespace reelcraft {

// Converts a clip whose data area interleaves 512-byte audio blocks with its picture stream:
// splits the blocks into two temporary files, writes the AVI file from the picture file, then
// adds the sound as a PCM stream after the video. The temporary files are gone when it
// returns. Results as ConvertClip's. Audio fields that give no whole bytes per sample leave the
// sound out; the video alone then counts as done. An incomplete video still gets its sound.
ConversionResult ConvertClipWithAudio(const std::string &clipPath, const FileRef &target,
                                      const ProgressControl *progress, CancelFlag &cancelFlag,
                                      ClipHeader header, MessageSink &messages,
                                      const ConvertOptions &options = {});

} // namespace reelcraft

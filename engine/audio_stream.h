// SPDX-License-Identifier: MIT
#pragma once

#include "avi/avi_file.h"
#include "avi/avi_records.h"
#include "engine/clip_header.h"
#include "engine/conversion_result.h"
#include "sys/message_sink.h"

#include <cstdint>
#include <string>

namespace reelcraft {

// The PCM format of a clip's sound. nBlockAlign is 0 when the fields give no whole bytes per
// sample; such sound cannot be written.
WaveFormatEx AudioFormat(const ClipHeader &header);
// The sound stream "Test Animation": one sample per nBlockAlign bytes (which must not be 0).
AviStreamInfo AudioStreamInfo(const WaveFormatEx &format, uint64_t audioBytes);

// Opens the finished AVI file `target` again and adds the sound that `audioFile` holds as a new
// stream, all of it in one chunk, copied through a fixed buffer; with `wholeSamplesOnly`, without
// the part of a sample that may end it. On failure marks `result`
// failed: with a message when the audio file cannot be opened or read, else with the place and
// the system's reason as its cause.
void AddAudioStream(const FileRef &audioFile, const FileRef &target, const WaveFormatEx &format,
                    MessageSink &messages, ConversionResult &result,
                    const AviWriterOptions &options = {}, bool wholeSamplesOnly = false);

} // namespace reelcraft

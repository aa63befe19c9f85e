// SPDX-License-Identifier: MIT
#pragma once

#include "avi/avi_file.h"
#include "avi/avi_records.h"
#include "engine/clip_header.h"
#include "engine/conversion_result.h"
#include "engine/sound_store.h"

#include <cstdint>
#include <string>

namespace reelcraft {

// The PCM format of a clip's sound. nBlockAlign is 0 when the fields give no whole bytes per
// sample; such sound cannot be written.
WaveFormatEx AudioFormat(const ClipHeader &header);
// The sound stream "Test Animation": one sample per nBlockAlign bytes (which must not be 0).
AviStreamInfo AudioStreamInfo(const WaveFormatEx &format, uint64_t audioBytes);

// Adds `sound` to `avi` as a new stream, all of it in one chunk; with `wholeSamplesOnly`,
// without the part of a sample that may end it. False when it could not be written; the
// failure's place and system reason are then noted in `result` where the writer of `avi` knows
// none (the sound could not be read back, or is too long for one chunk).
bool WriteSoundStream(AviFile &avi, const WaveFormatEx &format, SoundStore &sound,
                      bool wholeSamplesOnly, const std::string &aviPath, ConversionResult &result);

} // namespace reelcraft

// SPDX-License-Identifier: MIT
#pragma once

#include "avi/avi_file.h"
#include "avi/avi_records.h"
#include "engine/audio_separation.h"
#include "engine/clip_header.h"
#include "engine/conversion_result.h"
#include "engine/interfaces.h"
#include "sys/message_sink.h"

#include <string>

namespace reelcraft {

// The Motion-JPEG stream of a clip: every picture one key frame, `frameRate` / 2 a second.
AviStreamInfo VideoStreamInfo(const ClipHeader &header);
BitmapInfoHeader VideoFormat(const ClipHeader &header);

// Writes the pictures that `pictureFile` holds from `header.dataOffset` on as a new AVI file
// at `target` (replaced if present), one frame per picture, `header.frameCount` frames at most
// (one at least). Clears `cancelFlag` first and stops before the next picture once it is set.
// With `progress`, pumps the caller's events and reports the position after every picture but
// the first. Fails with a message when the input cannot be opened or read, or when it holds no
// first picture; fails with the place and the system's reason as its cause, and no message,
// when the AVI file cannot be set up, written or finished.
// A later picture not found is reported and ends the file early: the result is then incomplete,
// as it is when the stream runs out before `frameCount` pictures. With `options.salvage` the
// writer passes over such stretches instead, and notes them in the result, in offsets of
// `pictureFile`. A salvage reads to the end of the file, whatever `dataSize` and `frameCount`
// say, keeps only whole pictures of the first one's size, and gives every picture left out or
// lost its time slot as an empty frame; `timeline`, where the pictures came from a clip with
// sound, ties the slots to the sound.
ConversionResult WriteVideoAvi(const FileRef &pictureFile, const FileRef &target,
                               const ProgressControl *progress, CancelFlag &cancelFlag,
                               const ClipHeader &header, MessageSink &messages,
                               const ConvertOptions &options = {},
                               const SoundTimeline *timeline = nullptr);

} // namespace reelcraft

// SPDX-License-Identifier: MIT
#pragma once

#include "avi/avi_file.h"
#include "avi/avi_records.h"
#include "engine/clip_header.h"
#include "engine/conversion_result.h"
#include "engine/interfaces.h"
#include "sys/message_sink.h"

#include <string>

namespace reelcraft {

// The Motion-JPEG stream of a clip: every picture one key frame, `frameRate` / 2 a second.
AviStreamInfo VideoStreamInfo(const ClipHeader &header);
BitmapInfoHeader VideoFormat(const ClipHeader &header);

// Writes the clip at `clip`, read once from front to back, as a new AVI file at `target`
// (replaced if present): its pictures from `header.dataOffset` on, one frame each,
// `header.frameCount` frames at most (one at least), and where the header names sound, the
// sound blocks among them as a PCM stream in one chunk after the pictures (left out when the
// header's fields give no whole bytes per sample). Clears `cancelFlag` first and stops before
// the next picture once it is set; a cancel before the first picture leaves `target` alone.
// With `progress`, the bar goes once from 0 to the clip's length as it is read, and the
// caller's events are pumped after every picture and every piece read.
// Fails with a message when the clip cannot be opened or read, or holds no first picture; fails
// with the place and the system's reason as its cause, and no message, when the AVI file cannot
// be set up, written or finished, or the sound cannot be kept for it.
// A later picture not found is reported and ends the file early: the result is then incomplete,
// as it is when the stream runs out before `frameCount` pictures; the sound is all of the clip's
// all the same. With `options.salvage` the writer passes over such stretches instead, and notes
// them in the result, in offsets of the clip. A salvage reads to the end of the file, whatever
// `dataSize` and `frameCount` say, keeps only whole pictures of the first one's size, gives
// every picture left out or lost its time slot as an empty frame, the sound deciding the slots
// where there is sound, and keeps only whole samples.
ConversionResult WriteClipAvi(const FileRef &clip, const FileRef &target,
                              const ProgressControl *progress, CancelFlag &cancelFlag,
                              const ClipHeader &header, MessageSink &messages,
                              const ConvertOptions &options = {});

} // namespace reelcraft

// SPDX-License-Identifier: MIT
#pragma once

#include "engine/clip_header.h"

#include <gst/audio/audio.h>
#include <gst/gst.h>

#include <cstdint>
#include <optional>

namespace reelcraft {

// A clip's streams as GStreamer sees them: their caps and the times of their buffers.

// Picture `index` is shown from index / (frameRate / 2) seconds on; frameRate must not be 0.
GstClockTime PictureTime(const ClipHeader &header, uint64_t index);
// The picture whose span holds `time`: the last one shown at or before it.
uint64_t PictureAt(const ClipHeader &header, GstClockTime time);
// The sample whose span holds `time`.
uint64_t SampleAt(const GstAudioInfo &sound, GstClockTime time);

// image/jpeg with the header's size and frameRate / 2 as a fraction (0/1 when unknown).
GstCaps *PictureCaps(const ClipHeader &header);
// The sound as interleaved U8, S16LE, S24LE or S32LE in up to eight channels in their standard
// places (3 and 7 channels unpositioned); none for what has no such form, and so none for sound the
// AVI file cannot hold either (no whole bytes per sample).
std::optional<GstAudioInfo> SoundInfo(const ClipHeader &header);

} // namespace reelcraft

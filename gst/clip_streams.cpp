// SPDX-License-Identifier: MIT
#include "gst/clip_streams.h"

namespace reelcraft {

GstClockTime PictureTime(const ClipHeader &header, uint64_t index) {
  return gst_util_uint64_scale(index, 2 * GST_SECOND, header.frameRate);
}

// The times are rounded down, so the picture at `time` is the last one whose rounded start is
// not after it.
uint64_t PictureAt(const ClipHeader &header, GstClockTime time) {
  return gst_util_uint64_scale_ceil(time + 1, header.frameRate, 2 * GST_SECOND) - 1;
}

uint64_t SampleAt(const GstAudioInfo &sound, GstClockTime time) {
  return gst_util_uint64_scale_ceil(time + 1, uint64_t(sound.rate), GST_SECOND) - 1;
}

GstCaps *PictureCaps(const ClipHeader &header) {
  // frameRate / 2 in lowest terms: 25 is 25/2, 30 is 15/1, 0 (unknown) is 0/1.
  int divisor = header.frameRate ? gst_util_greatest_common_divisor(header.frameRate, 2) : 2;
  // Every buffer is one whole picture.
  GstCaps *caps =
      gst_caps_new_simple("image/jpeg", "parsed", G_TYPE_BOOLEAN, TRUE, "framerate",
                          GST_TYPE_FRACTION, header.frameRate / divisor, 2 / divisor, nullptr);
  if (header.width > 0 && header.height > 0)
    gst_caps_set_simple(caps, "width", G_TYPE_INT, int(header.width), "height", G_TYPE_INT,
                        int(header.height), nullptr);
  return caps;
}

std::optional<GstAudioInfo> SoundInfo(const ClipHeader &header) {
  // Up to the eight channels that have standard places; GStreamer's converters fail on more.
  if (header.audioPresent == 0 || header.sampleRate == 0 || header.channels == 0 ||
      header.channels > 8)
    return std::nullopt;
  GstAudioFormat format = GST_AUDIO_FORMAT_UNKNOWN;
  switch (header.bitsPerSample) {
  case 8:
    format = GST_AUDIO_FORMAT_U8;
    break;
  case 16:
    format = GST_AUDIO_FORMAT_S16LE;
    break;
  case 24:
    format = GST_AUDIO_FORMAT_S24LE;
    break;
  case 32:
    format = GST_AUDIO_FORMAT_S32LE;
    break;
  default:
    return std::nullopt;
  }
  // The AVI file names no places; 3 and 7 channels have no layout that goes without saying,
  // and stay unpositioned.
  GstAudioChannelPosition places[8];
  bool placed = header.channels != 3 && header.channels != 7;
  if (placed)
    gst_audio_channel_positions_from_mask(
        header.channels, gst_audio_channel_get_fallback_mask(header.channels), places);
  GstAudioInfo info;
  gst_audio_info_set_format(&info, format, header.sampleRate, header.channels,
                            placed ? places : nullptr);
  return info;
}

} // namespace reelcraft

// SPDX-License-Identifier: MIT
#include "engine/audio_stream.h"

#include <algorithm>
#include <cerrno>

namespace reelcraft {

namespace {

constexpr uint16_t kWaveFormatPcm = 1;

} // namespace

WaveFormatEx AudioFormat(const ClipHeader &header) {
  WaveFormatEx format;
  format.wFormatTag = kWaveFormatPcm;
  format.nChannels = header.channels;
  format.nSamplesPerSec = header.sampleRate;
  format.nBlockAlign = uint16_t(uint32_t(header.channels) * header.bitsPerSample / 8);
  format.nAvgBytesPerSec = uint32_t(header.sampleRate) * format.nBlockAlign;
  format.wBitsPerSample = header.bitsPerSample;
  return format;
}

AviStreamInfo AudioStreamInfo(const WaveFormatEx &format, uint64_t audioBytes) {
  AviStreamInfo info;
  info.fccType = MakeFourCC("auds");
  info.fccHandler = MakeFourCC("WAVE");
  info.dwScale = format.nBlockAlign;
  info.dwRate = format.nAvgBytesPerSec;
  info.dwLength = uint32_t(std::min<uint64_t>(audioBytes / format.nBlockAlign, UINT32_MAX));
  info.dwQuality = 0xFFFFFFFF;
  info.dwSampleSize = format.nBlockAlign;
  info.szName = "Test Animation";
  return info;
}

bool WriteSoundStream(AviFile &avi, const WaveFormatEx &format, SoundStore &sound,
                      bool wholeSamplesOnly, const std::string &aviPath, ConversionResult &result) {
  uint64_t length = sound.length();
  if (wholeSamplesOnly)
    length -= length % format.nBlockAlign;
  // A sound too long for one chunk cannot be stored.
  if (length > UINT32_MAX) {
    NoteFailure(result, FailureKind::AviNotWritten, FileFailure{aviPath, EFBIG});
    return false;
  }
  auto serialized = Serialize(format);
  int stream = avi.CreateStream(AudioStreamInfo(format, length));
  if (stream < 0 || !avi.SetFormat(stream, serialized.data(), serialized.size()))
    return false;
  uint32_t samples = uint32_t(length / format.nBlockAlign);
  bool written =
      avi.WriteFrom(stream, 0, samples, uint32_t(length), AVIIF_KEYFRAME,
                    [&sound](void *buffer, size_t size) { return sound.ReadBack(buffer, size); });
  if (!written && sound.failure())
    NoteFailure(result, FailureKind::SoundNotKept, *sound.failure());
  return written;
}

} // namespace reelcraft

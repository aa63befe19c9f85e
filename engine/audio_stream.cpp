// SPDX-License-Identifier: MIT
#include "engine/audio_stream.h"

#include "engine/avi_finish.h"
#include "sys/error_text.h"
#include "sys/raw_file.h"
#include "sys/translation.h"

#include <algorithm>
#include <cerrno>

namespace reelcraft {

namespace {

constexpr uint16_t kWaveFormatPcm = 1;

bool WriteSound(AviFile &avi, const WaveFormatEx &format, uint64_t length, RawFile &audio) {
  auto serialized = Serialize(format);
  int stream = avi.CreateStream(AudioStreamInfo(format, length));
  if (stream < 0 || !avi.SetFormat(stream, serialized.data(), serialized.size()))
    return false;
  // A sound too long for one chunk cannot be stored; the writer refuses it.
  if (length > UINT32_MAX)
    return false;
  uint32_t samples = uint32_t(length / format.nBlockAlign);
  return avi.WriteFrom(
      stream, 0, samples, uint32_t(length), AVIIF_KEYFRAME,
      [&audio](void *buffer, size_t size) { return audio.Read(buffer, size) == size; });
}

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

void AddAudioStream(const FileRef &audioFile, const FileRef &target, const WaveFormatEx &format,
                    MessageSink &messages, ConversionResult &result,
                    const AviWriterOptions &options, bool wholeSamplesOnly) {
  RawFile audio;
  if (!audio.OpenForReading(audioFile)) {
    messages.Show(Translate("Conversion", "Could not open auiod file to read:\n") +
                  FileErrorText(audio.error(), audioFile.path));
    return NoteFailure(result);
  }
  uint64_t length = 0;
  if (!audio.Length(length))
    return NoteFailure(result, FileFailure{audioFile.path, audio.error()});
  if (wholeSamplesOnly)
    length -= length % format.nBlockAlign;
  errno = 0; // a file that is no finished AVI sets none
  std::unique_ptr<AviFile> avi = AviFile::OpenForAppend(target, options);
  if (!avi)
    return NoteFailure(result, FileFailure{target.path, errno});
  bool written = WriteSound(*avi, format, length, audio);
  if (audio.error() != 0) {
    messages.Show(ReadErrorMessage(audio.error(), audioFile.path));
    NoteFailure(result);
  }
  // The writer refuses a sound too long for one chunk without a system error.
  if (!written && avi->error() == 0 && length > UINT32_MAX)
    NoteFailure(result, FileFailure{target.path, EFBIG});
  FinishAvi(*avi, written, target.path, result);
}

} // namespace reelcraft

// SPDX-License-Identifier: MIT
#include "tests/avi/avi_test_streams.h"

#include "tests/support/jpeg_pictures.h"

#include <algorithm>
#include <cstring>

namespace reelcraft::test {

namespace {

void Put(Bytes &bytes, uint32_t value, int size) {
  for (int i = 0; i < size; ++i)
    bytes.push_back(uint8_t(value >> (8 * i)));
}

} // namespace

AviStreamInfo MjpgStreamInfo(uint32_t rate, int width, int height) {
  AviStreamInfo info;
  info.fccType = MakeFourCC("vids");
  info.fccHandler = MakeFourCC("MJPG");
  info.dwScale = 2;
  info.dwRate = rate;
  info.dwLength = 1;
  info.dwQuality = 0xFFFFFFFFu;
  info.rcFrame = {0, 0, width, height};
  info.szName = "Video";
  return info;
}

Bytes BitmapInfoHeader(int width, int height) {
  Bytes bytes;
  Put(bytes, 40, 4);
  Put(bytes, uint32_t(width), 4);
  Put(bytes, uint32_t(height), 4);
  Put(bytes, 1, 2);
  Put(bytes, 24, 2);
  Put(bytes, MakeFourCC("MJPG"), 4);
  bytes.resize(40);
  return bytes;
}

Bytes WaveFormat(const PcmFormat &pcm) {
  uint16_t blockAlign = uint16_t(pcm.channels * pcm.bitsPerSample / 8);
  Bytes bytes;
  Put(bytes, 1, 2);
  Put(bytes, pcm.channels, 2);
  Put(bytes, pcm.sampleRate, 4);
  Put(bytes, pcm.sampleRate * blockAlign, 4);
  Put(bytes, blockAlign, 2);
  Put(bytes, pcm.bitsPerSample, 2);
  Put(bytes, 0, 2);
  return bytes;
}

AviStreamInfo PcmStreamInfo(const PcmFormat &pcm, size_t audioBytes) {
  uint32_t blockAlign = uint16_t(pcm.channels * pcm.bitsPerSample / 8);
  AviStreamInfo info;
  info.fccType = MakeFourCC("auds");
  info.fccHandler = MakeFourCC("WAVE");
  info.dwScale = blockAlign;
  info.dwRate = pcm.sampleRate * blockAlign;
  info.dwLength = uint32_t(audioBytes / blockAlign);
  info.dwQuality = 0xFFFFFFFFu;
  info.dwSampleSize = blockAlign;
  info.szName = "Test Animation";
  return info;
}

std::vector<Bytes> Pictures(int count) {
  static const int sizes[][2] = {{64, 48}, {33, 17}, {64, 48}, {17, 31}, {64, 48}};
  std::vector<Bytes> pictures;
  for (int i = 0; i < count; ++i) {
    const int *size = sizes[i % 5];
    pictures.push_back(MakeJpeg(size[0], size[1], i % 7));
  }
  return pictures;
}

Bytes Sound(size_t size) {
  Bytes sound(size);
  for (size_t i = 0; i < size; ++i)
    sound[i] = uint8_t(128 + 100 * ((i / 37) % 2 ? 1 : -1) + i % 13);
  return sound;
}

bool WriteMjpgFile(const std::string &path, const std::vector<Bytes> &frames, uint32_t rate,
                   const AviWriterOptions &options, const std::function<bool(AviFile &)> &after) {
  auto file = AviFile::Create(path, options);
  if (!file)
    return false;
  int stream = file->CreateStream(MjpgStreamInfo(rate, 64, 48));
  Bytes format = BitmapInfoHeader(64, 48);
  bool ok = stream == 0 && file->SetFormat(stream, format.data(), format.size());
  for (size_t i = 0; ok && i < frames.size(); ++i)
    ok = file->Write(stream, uint32_t(i), 1, frames[i].data(), uint32_t(frames[i].size()),
                     AVIIF_KEYFRAME);
  ok = ok && (!after || after(*file));
  return file->Release() && ok;
}

bool AddPcmStream(AviFile &file, const Bytes &audio, const PcmFormat &pcm) {
  int stream = file.CreateStream(PcmStreamInfo(pcm, audio.size()));
  Bytes format = WaveFormat(pcm);
  size_t done = 0;
  auto source = [&](void *buffer, size_t size) {
    std::memcpy(buffer, audio.data() + done, size);
    done += size;
    return true;
  };
  uint32_t blockAlign = uint16_t(pcm.channels * pcm.bitsPerSample / 8);
  bool ok = stream >= 0 && file.SetFormat(stream, format.data(), format.size()) &&
            file.WriteFrom(stream, 0, uint32_t(audio.size() / blockAlign), uint32_t(audio.size()),
                           AVIIF_KEYFRAME, source);
  return ok && done == audio.size();
}

} // namespace reelcraft::test

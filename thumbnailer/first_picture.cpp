// SPDX-License-Identifier: MIT
#include "thumbnailer/first_picture.h"

#include "engine/audio_separation.h"
#include "engine/clip_header.h"
#include "engine/jpeg_scanner.h"
#include "engine/picture_window.h"
#include "sys/error_text.h"
#include "sys/raw_file.h"

#include <algorithm>

namespace reelcraft {

namespace {

using Bytes = std::vector<uint8_t>;

// The picture blocks of the data area, joined, until a window's worth is in or the file ends.
Bytes JoinedPictureBlocks(RawFile &file) {
  Bytes window;
  Bytes chunk(kSeparationChunkSize);
  while (window.size() < PictureWindow::kWindowSize) {
    size_t got = file.Read(chunk.data(), chunk.size());
    for (size_t at = 0; at < got; at += kSeparationBlockSize) {
      size_t size = std::min(kSeparationBlockSize, got - at);
      if (!IsAudioBlock(chunk.data() + at, size))
        window.insert(window.end(), chunk.begin() + at, chunk.begin() + at + size);
    }
    if (got < chunk.size())
      break;
  }
  window.resize(std::min(window.size(), PictureWindow::kWindowSize));
  return window;
}

Bytes FirstWindow(RawFile &file, const ClipHeader &header) {
  if (header.audioPresent)
    return JoinedPictureBlocks(file);
  Bytes window(PictureWindow::kWindowSize);
  window.resize(file.Read(window.data(), window.size()));
  return window;
}

} // namespace

std::optional<Bytes> ReadFirstPicture(const std::string &path, MessageSink &messages) {
  ClipHeader header;
  if (!ReadClipHeader(path, header, messages))
    return std::nullopt;
  RawFile file;
  if (!file.OpenForReading(path) || !file.Seek(header.dataOffset)) {
    messages.Show("Could not open source file:\n" + FileErrorText(file.error(), path));
    return std::nullopt;
  }
  Bytes window = FirstWindow(file, header);
  std::optional<PictureExtent> extent = FindJpegPicture(window.data(), window.size());
  if (!extent) {
    messages.Show("No picture found");
    return std::nullopt;
  }
  auto start = window.begin() + std::ptrdiff_t(extent->start);
  return Bytes(start, start + std::ptrdiff_t(extent->length));
}

} // namespace reelcraft

// SPDX-License-Identifier: MIT
#include "thumbnailer/first_picture.h"

#include "engine/clip_blocks.h"
#include "engine/clip_header.h"
#include "engine/picture_window.h"
#include "sys/error_text.h"
#include "sys/raw_file.h"

namespace reelcraft {

namespace {

// A thumbnail wants the first picture alone.
class SoundPassedOver final : public SoundBlockSink {
public:
  bool Take(const uint8_t *, size_t) override { return true; }
};

} // namespace

std::optional<std::vector<uint8_t>> ReadFirstPicture(const std::string &path,
                                                     MessageSink &messages) {
  ClipHeader header;
  if (!ReadClipHeader(path, header, messages))
    return std::nullopt;
  RawFile file;
  if (!file.OpenForReading(path)) {
    messages.Show("Could not open source file:\n" + FileErrorText(file.error(), path));
    return std::nullopt;
  }
  SoundPassedOver sound;
  bool withSound = header.audioPresent != 0;
  ClipBlockReader reader(file, header.dataOffset, withSound ? &sound : nullptr, nullptr, nullptr);
  PictureWindow window;
  PictureBytes picture;
  if (!window.Begin(reader, withSound ? 0 : header.dataOffset, header.dataSize, picture)) {
    messages.Show(file.error() != 0
                      ? "Could not open source file:\n" + FileErrorText(file.error(), path)
                      : "No picture found");
    return std::nullopt;
  }
  return std::vector<uint8_t>(picture.begin(), picture.end());
}

} // namespace reelcraft

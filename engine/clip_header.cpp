// SPDX-License-Identifier: MIT
#include "engine/clip_header.h"

#include "sys/error_text.h"
#include "sys/raw_file.h"
#include "sys/translation.h"

#include <cstring>

namespace reelcraft {

namespace {

class BigEndianReader {
public:
  explicit BigEndianReader(const uint8_t *bytes) : at_(bytes) {}
  uint16_t Take16() {
    uint16_t value = uint16_t(at_[0] << 8 | at_[1]);
    at_ += 2;
    return value;
  }
  uint32_t Take32() {
    uint32_t value = uint32_t(Take16()) << 16;
    return value | Take16();
  }

private:
  const uint8_t *at_;
};

ClipHeader Decode(const uint8_t *bytes) {
  BigEndianReader in(bytes + 9);
  ClipHeader header;
  header.dataOffset = in.Take16();
  header.dataSize = in.Take32();
  header.width = in.Take16();
  header.height = in.Take16();
  header.frameCount = in.Take16();
  header.frameRate = in.Take16();
  header.spare = in.Take16();
  header.audioPresent = in.Take32();
  header.sampleRate = in.Take16();
  header.channels = in.Take16();
  header.bitsPerSample = in.Take16();
  return header;
}

} // namespace

namespace {

// Keeps the one message of a header that cannot be read.
class KeptMessage : public MessageSink {
public:
  explicit KeptMessage(std::string &text) : text_(text) {}
  MessageAnswer Show(const std::string &text, MessageButtons, MessageIcon) override {
    text_ = text;
    return MessageAnswer::Ok;
  }

private:
  std::string &text_;
};

} // namespace

HeaderFault ReadClipHeaderQuietly(const std::string &path, ClipHeader &header, std::string &message,
                                  int *systemError) {
  message.clear();
  RawFile file;
  bool opened = file.OpenForReading(path);
  if (systemError)
    *systemError = file.error();
  if (!opened) {
    message = Translate("Conversion", "Could not open source file:\n") +
              FileErrorText(file.error(), path);
    return HeaderFault::Unopened;
  }
  uint8_t bytes[kClipHeaderSize];
  size_t got = file.Read(bytes, sizeof bytes);
  if (got != sizeof bytes && file.error() != 0) {
    if (systemError)
      *systemError = file.error();
    message = ReadErrorMessage(file.error(), path);
    return HeaderFault::Unreadable;
  }
  KeptMessage kept(message);
  if (DecodeClipHeader(bytes, got, header, kept))
    return HeaderFault::None;
  return got < kClipHeaderSize ? HeaderFault::TooShort : HeaderFault::Unrecognised;
}

bool ReadClipHeader(const std::string &path, ClipHeader &header, MessageSink &messages) {
  std::string message;
  if (ReadClipHeaderQuietly(path, header, message) == HeaderFault::None)
    return true;
  messages.Show(message);
  return false;
}

bool DecodeClipHeader(const uint8_t *bytes, size_t size, ClipHeader &header,
                      MessageSink &messages) {
  if (size < kClipHeaderSize) {
    messages.Show(Translate("Conversion", "Failed to read file header"));
    return false;
  }
  if (std::memcmp(bytes, kClipMagic, kClipMagicSize) != 0) {
    messages.Show(Translate("Conversion", "Unrecgonised file format: ") +
                  std::string(reinterpret_cast<const char *>(bytes), kClipMagicSize));
    return false;
  }
  header = Decode(bytes);
  return true;
}

} // namespace reelcraft

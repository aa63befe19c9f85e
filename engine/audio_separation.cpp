// SPDX-License-Identifier: MIT
#include "engine/audio_separation.h"

#include "sys/error_text.h"
#include "sys/raw_file.h"
#include "sys/translation.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

namespace reelcraft {

namespace {

// The clip open for reading and the two separation files open for writing.
struct SeparationHandles {
  RawFile clip;
  RawOutputFile audio;
  RawOutputFile pictures;
};

bool OpenAll(SeparationHandles &files, const std::string &clipPath, const FileRef &pictureFile,
             const FileRef &audioFile, MessageSink &messages) {
  if (!files.clip.OpenForReading(clipPath)) {
    messages.Show(Translate("Conversion", "Could not open input file:\n") +
                  FileErrorText(files.clip.error(), clipPath));
    return false;
  }
  if (!files.audio.Create(audioFile)) {
    messages.Show(Translate("Conversion", "Could not open temp audio file:\n") +
                  FileErrorText(files.audio.error(), audioFile.path));
    return false;
  }
  if (!files.pictures.Create(pictureFile)) {
    messages.Show(Translate("Conversion", "Could not open temp video file:\n") +
                  FileErrorText(files.pictures.error(), pictureFile.path));
    return false;
  }
  return true;
}

// Fails `result` with the place and the system's reason of the separation file that failed;
// gives false.
bool WriteFailed(const SeparationHandles &files, const FileRef &pictureFile,
                 const FileRef &audioFile, ConversionResult &result) {
  if (files.pictures.error() != 0 || files.audio.error() == 0)
    NoteFailure(result, FileFailure{pictureFile.path, files.pictures.error()});
  else
    NoteFailure(result, FileFailure{audioFile.path, files.audio.error()});
  return false;
}

bool ClipReadFailed(const SeparationHandles &files, const std::string &clipPath,
                    MessageSink &messages, ConversionResult &result) {
  messages.Show(ReadErrorMessage(files.clip.error(), clipPath));
  NoteFailure(result);
  return false;
}

void StartProgress(const ProgressControl &progress, RawFile &clip) {
  uint64_t length = 0;
  clip.Length(length);
  progress.sink.SetPhase(ConversionPhase::Separation);
  progress.sink.SetRange(0, ProgressBound(length));
  progress.sink.SetStep(uint32_t(kSeparationBlockSize));
  progress.sink.SetPosition(uint32_t(kSeparationBlockSize));
}

// Gathers the blocks bound for one file and writes them in whole pieces (kIoPieceSize)
// rather than in the short runs of each chunk.
class WriteBuffer {
public:
  explicit WriteBuffer(RawOutputFile &file)
      : file_(file), buffer_(std::make_unique_for_overwrite<uint8_t[]>(kIoPieceSize)) {}

  bool Add(const uint8_t *block, size_t size) {
    while (size > 0) {
      size_t n = std::min(size, kIoPieceSize - used_);
      std::memcpy(buffer_.get() + used_, block, n);
      used_ += n;
      block += n;
      size -= n;
      if (used_ == kIoPieceSize && !Flush())
        return false;
    }
    return true;
  }

  bool Flush() {
    size_t size = std::exchange(used_, 0);
    return file_.Write(buffer_.get(), size);
  }

private:
  RawOutputFile &file_;
  std::unique_ptr<uint8_t[]> buffer_;
  size_t used_ = 0;
};

// Sorts the blocks of each chunk into the picture file and the audio file.
class ChunkSplitter {
public:
  ChunkSplitter(const ProgressControl *progress, RawOutputFile &pictureFile,
                RawOutputFile &audioFile, SoundTimeline *timeline)
      : progress_(progress), timeline_(timeline),
        chunk_(std::make_unique_for_overwrite<uint8_t[]>(kSeparationChunkSize)),
        pictures_(pictureFile), audio_(audioFile) {}

  uint8_t *chunk() { return chunk_.get(); }

  bool Split(size_t size) {
    for (size_t at = 0; at < size; at += kSeparationBlockSize) {
      uint8_t *block = chunk_.get() + at;
      size_t blockSize = std::min(kSeparationBlockSize, size - at);
      bool sound = TakeSoundFromBlock(block, blockSize);
      if (timeline_ && sound) {
        timeline_->pictureBytesBefore.push_back(pictureBytes_);
        timeline_->soundBytes += blockSize;
      }
      pictureBytes_ += sound ? 0 : blockSize;
      if (!(sound ? audio_ : pictures_).Add(block, blockSize))
        return false;
      if (progress_) {
        progress_->pump.RunPending();
        progress_->sink.StepIt();
      }
    }
    return true;
  }

  // Writes what is gathered; the files then hold every block split so far.
  bool Flush() { return pictures_.Flush() && audio_.Flush(); }

private:
  const ProgressControl *progress_;
  SoundTimeline *timeline_;
  uint64_t pictureBytes_ = 0;
  std::unique_ptr<uint8_t[]> chunk_;
  WriteBuffer pictures_;
  WriteBuffer audio_;
};

} // namespace

bool IsAudioBlock(const uint8_t *block, size_t size) {
  return size >= 3 && block[0] == 0xFF && block[1] == 0xFF;
}

bool TakeSoundFromBlock(uint8_t *block, size_t size) {
  if (!IsAudioBlock(block, size))
    return false;
  block[0] = block[1] = block[2];
  return true;
}

bool SeparateBlocks(const std::string &clipPath, uint16_t dataOffset, const FileRef &pictureFile,
                    const FileRef &audioFile, const ProgressControl *progress,
                    const CancelFlag &cancelFlag, MessageSink &messages, ConversionResult &result,
                    SoundTimeline *timeline) {
  SeparationHandles files;
  if (!OpenAll(files, clipPath, pictureFile, audioFile, messages)) {
    NoteFailure(result);
    return false;
  }
  if (!files.clip.Seek(dataOffset))
    return ClipReadFailed(files, clipPath, messages, result);
  if (progress)
    StartProgress(*progress, files.clip);
  if (timeline)
    *timeline = SoundTimeline{dataOffset, {}, 0};
  ChunkSplitter splitter(progress, files.pictures, files.audio, timeline);
  size_t read = 0;
  do {
    read = files.clip.Read(splitter.chunk(), kSeparationChunkSize);
    // A read error must not pass for the end of the clip: the sound would be cut short.
    if (files.clip.error() != 0)
      return ClipReadFailed(files, clipPath, messages, result);
    if (!splitter.Split(read))
      return WriteFailed(files, pictureFile, audioFile, result);
  } while (read == kSeparationChunkSize && cancelFlag == 0);
  if (!splitter.Flush())
    return WriteFailed(files, pictureFile, audioFile, result);
  bool picturesClosed = files.pictures.Close();
  bool audioClosed = files.audio.Close();
  return (picturesClosed && audioClosed) || WriteFailed(files, pictureFile, audioFile, result);
}

} // namespace reelcraft

namespace reelcraft {

uint64_t SoundTimeline::SoundBlocksBefore(uint64_t streamOffset) const {
  return uint64_t(
      std::upper_bound(pictureBytesBefore.begin(), pictureBytesBefore.end(), streamOffset) -
      pictureBytesBefore.begin());
}

uint64_t SoundTimeline::SoundBytesBefore(uint64_t streamOffset) const {
  return std::min(soundBytes, SoundBlocksBefore(streamOffset) * kSeparationBlockSize);
}

uint64_t SoundTimeline::ClipOffset(uint64_t streamOffset) const {
  return dataOffset + streamOffset + SoundBytesBefore(streamOffset);
}

} // namespace reelcraft

#include "engine/audio_separation.h"

#include "engine/file_error_text.h"
#include "platform/raw_file.h"
#include "platform/raw_output_file.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace reelcraft {

namespace {

struct SeparationFilesOpen {
  RawFile clip;
  RawOutputFile audio;
  RawOutputFile pictures;
};

bool OpenAll(SeparationFilesOpen &files, const std::string &clipPath, const FileRef &pictureFile,
             const FileRef &audioFile, MessageSink &messages) {
  if (!files.clip.OpenForReading(clipPath)) {
    messages.Show("Could not open input file:\n" + FileErrorText(files.clip.error(), clipPath));
    return false;
  }
  if (!files.audio.Create(audioFile)) {
    messages.Show("Could not open temp audio file:\n" +
                  FileErrorText(files.audio.error(), audioFile.path));
    return false;
  }
  if (!files.pictures.Create(pictureFile)) {
    messages.Show("Could not open temp video file:\n" +
                  FileErrorText(files.pictures.error(), pictureFile.path));
    return false;
  }
  return true;
}

void StartProgress(const ProgressControl &progress, RawFile &clip) {
  uint64_t length = 0;
  clip.Length(length);
  progress.sink.SetRange(0, ProgressBound(length));
  progress.sink.SetStep(uint32_t(kSeparationBlockSize));
  progress.sink.SetPosition(uint32_t(kSeparationBlockSize));
}

// Sorts the blocks of one chunk: picture blocks are packed to the front of the chunk in place,
// audio blocks gathered in a second buffer; each file then takes one write per chunk.
class ChunkSplitter {
public:
  explicit ChunkSplitter(const ProgressControl *progress)
      : progress_(progress),
        chunk_(std::make_unique_for_overwrite<uint8_t[]>(kSeparationChunkSize)),
        audio_(std::make_unique_for_overwrite<uint8_t[]>(kSeparationChunkSize)) {}

  uint8_t *chunk() { return chunk_.get(); }

  bool SplitInto(size_t size, RawOutputFile &pictureFile, RawOutputFile &audioFile) {
    size_t pictureBytes = 0;
    size_t audioBytes = 0;
    for (size_t at = 0; at < size; at += kSeparationBlockSize) {
      uint8_t *block = chunk_.get() + at;
      size_t blockSize = std::min(kSeparationBlockSize, size - at);
      if (IsAudioBlock(block, blockSize)) {
        block[0] = block[1] = block[2];
        std::memcpy(audio_.get() + audioBytes, block, blockSize);
        audioBytes += blockSize;
      } else {
        std::memmove(chunk_.get() + pictureBytes, block, blockSize);
        pictureBytes += blockSize;
      }
      if (progress_) {
        progress_->pump.RunPending();
        progress_->sink.StepIt();
      }
    }
    return pictureFile.Write(chunk_.get(), pictureBytes) &&
           audioFile.Write(audio_.get(), audioBytes);
  }

private:
  const ProgressControl *progress_;
  std::unique_ptr<uint8_t[]> chunk_;
  std::unique_ptr<uint8_t[]> audio_;
};

} // namespace

bool IsAudioBlock(const uint8_t *block, size_t size) {
  return size >= 3 && block[0] == 0xFF && block[1] == 0xFF;
}

bool SeparateBlocks(const std::string &clipPath, uint16_t dataOffset, const FileRef &pictureFile,
                    const FileRef &audioFile, const ProgressControl *progress,
                    const CancelFlag &cancelFlag, MessageSink &messages) {
  SeparationFilesOpen files;
  if (!OpenAll(files, clipPath, pictureFile, audioFile, messages))
    return false;
  if (!files.clip.Seek(dataOffset))
    return false;
  if (progress)
    StartProgress(*progress, files.clip);
  ChunkSplitter splitter(progress);
  size_t read = 0;
  do {
    read = files.clip.Read(splitter.chunk(), kSeparationChunkSize);
    // A read error must not pass for the end of the clip: the sound would be cut short.
    if (files.clip.error() != 0) {
      messages.Show(ReadErrorMessage(files.clip.error(), clipPath));
      return false;
    }
    if (!splitter.SplitInto(read, files.pictures, files.audio))
      return false;
  } while (read == kSeparationChunkSize && cancelFlag == 0);
  return files.pictures.Close() && files.audio.Close();
}

} // namespace reelcraft

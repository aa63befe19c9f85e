#include "engine/audio_separation.h"

#include "sys/error_text.h"
#include "sys/raw_file.h"
#include "sys/raw_output_file.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

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

// Leaves the place and the system's reason of each separation file that failed with
// `messages`; gives false.
bool NoteFailures(const SeparationFilesOpen &files, const FileRef &pictureFile,
                  const FileRef &audioFile, MessageSink &messages) {
  std::pair<int, const std::string &> failures[] = {{files.pictures.error(), pictureFile.path},
                                                    {files.audio.error(), audioFile.path}};
  for (auto [error, path] : failures) {
    if (error != 0)
      messages.NoteFailure({path, error});
  }
  return false;
}

bool ClipReadFailed(const SeparationFilesOpen &files, const std::string &clipPath,
                    MessageSink &messages) {
  messages.Show(ReadErrorMessage(files.clip.error(), clipPath));
  return false;
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
    return ClipReadFailed(files, clipPath, messages);
  if (progress)
    StartProgress(*progress, files.clip);
  ChunkSplitter splitter(progress);
  size_t read = 0;
  do {
    read = files.clip.Read(splitter.chunk(), kSeparationChunkSize);
    // A read error must not pass for the end of the clip: the sound would be cut short.
    if (files.clip.error() != 0)
      return ClipReadFailed(files, clipPath, messages);
    if (!splitter.SplitInto(read, files.pictures, files.audio))
      return NoteFailures(files, pictureFile, audioFile, messages);
  } while (read == kSeparationChunkSize && cancelFlag == 0);
  bool picturesClosed = files.pictures.Close();
  bool audioClosed = files.audio.Close();
  return (picturesClosed && audioClosed) || NoteFailures(files, pictureFile, audioFile, messages);
}

} // namespace reelcraft

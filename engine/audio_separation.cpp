#include "engine/audio_separation.h"

#include "sys/error_text.h"
#include "sys/raw_file.h"

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

// Gathers the blocks bound for one file and writes them in whole pieces (kIoPieceSize)
// rather than in the short runs of each chunk.
class StagedOutput {
public:
  explicit StagedOutput(RawOutputFile &file)
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
                RawOutputFile &audioFile)
      : progress_(progress),
        chunk_(std::make_unique_for_overwrite<uint8_t[]>(kSeparationChunkSize)),
        pictures_(pictureFile), audio_(audioFile) {}

  uint8_t *chunk() { return chunk_.get(); }

  bool Split(size_t size) {
    for (size_t at = 0; at < size; at += kSeparationBlockSize) {
      uint8_t *block = chunk_.get() + at;
      size_t blockSize = std::min(kSeparationBlockSize, size - at);
      bool sound = TakeSoundFromBlock(block, blockSize);
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
  std::unique_ptr<uint8_t[]> chunk_;
  StagedOutput pictures_;
  StagedOutput audio_;
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
                    const CancelFlag &cancelFlag, MessageSink &messages) {
  SeparationFilesOpen files;
  if (!OpenAll(files, clipPath, pictureFile, audioFile, messages))
    return false;
  if (!files.clip.Seek(dataOffset))
    return ClipReadFailed(files, clipPath, messages);
  if (progress)
    StartProgress(*progress, files.clip);
  ChunkSplitter splitter(progress, files.pictures, files.audio);
  size_t read = 0;
  do {
    read = files.clip.Read(splitter.chunk(), kSeparationChunkSize);
    // A read error must not pass for the end of the clip: the sound would be cut short.
    if (files.clip.error() != 0)
      return ClipReadFailed(files, clipPath, messages);
    if (!splitter.Split(read))
      return NoteFailures(files, pictureFile, audioFile, messages);
  } while (read == kSeparationChunkSize && cancelFlag == 0);
  if (!splitter.Flush())
    return NoteFailures(files, pictureFile, audioFile, messages);
  bool picturesClosed = files.pictures.Close();
  bool audioClosed = files.audio.Close();
  return (picturesClosed && audioClosed) || NoteFailures(files, pictureFile, audioFile, messages);
}

} // namespace reelcraft

// SPDX-License-Identifier: MIT
#include "engine/clip_writer.h"

#include "engine/audio_stream.h"
#include "engine/avi_finish.h"
#include "engine/clip_blocks.h"
#include "engine/picture_slots.h"
#include "engine/picture_walk.h"
#include "engine/picture_window.h"
#include "engine/sound_store.h"
#include "sys/error_text.h"
#include "sys/raw_file.h"
#include "sys/translation.h"

#include <algorithm>
#include <cerrno>

namespace reelcraft {

namespace {

// No file at all when the pictures are only counted.
struct VideoStream {
  std::unique_ptr<AviFile> file;
  int index = -1;
};

VideoStream CreateVideoStream(const FileRef &target, const ClipHeader &header,
                              const AviWriterOptions &options, ConversionResult &result) {
  VideoStream stream;
  stream.file = AviFile::Create(target, options);
  if (!stream.file) {
    NoteFailure(result, FailureKind::AviNotWritten, FileFailure{target.path, errno});
    return stream;
  }
  stream.index = stream.file->CreateStream(VideoStreamInfo(header));
  auto format = Serialize(VideoFormat(header));
  if (stream.index < 0 || !stream.file->SetFormat(stream.index, format.data(), format.size())) {
    stream.index = -1;
    NoteFailure(result, FailureKind::AviNotWritten, FileFailure{target.path, stream.file->error()});
  }
  return stream;
}

// Written from the window's buffer, which is written out before it moves what it holds.
bool WriteFrame(VideoStream &stream, uint32_t frame, PictureBytes picture) {
  return !stream.file || stream.file->WriteInPlace(stream.index, frame, 1, picture.data(),
                                                   uint32_t(picture.size()), AVIIF_KEYFRAME);
}

// The AVI convention for a dropped frame: a player holds the picture before it.
bool WriteEmptyFrame(VideoStream &stream, uint32_t frame) {
  return !stream.file || stream.file->Write(stream.index, frame, 1, nullptr, 0, 0);
}

void StartProgress(const ProgressControl &progress, RawFile &clip) {
  uint64_t length = 0;
  clip.Length(length);
  progress.sink.SetPhase(ConversionPhase::Pictures);
  progress.sink.SetRange(0, ProgressBound(length));
  progress.sink.SetStep(1);
  progress.sink.SetPosition(0);
}

// One run of the writer over a picture stream that has yielded its first picture.
class FrameRun {
public:
  FrameRun(PictureWindow &window, PictureWalk &walk, const ClipBlockReader &reader,
           VideoStream &stream, const ProgressControl *progress, MessageSink &messages,
           bool salvage)
      : window_(window), walk_(walk), reader_(reader), stream_(stream), progress_(progress),
        messages_(messages), salvage_(salvage) {}

  // Writes frames 1 and on, up to `frameCount`, counting them in `result`; gives false once a
  // frame write has failed.
  bool WriteFurtherFrames(uint16_t frameCount, const CancelFlag &cancelFlag, PictureBytes &picture,
                          bool written, ConversionResult &result) {
    for (uint32_t frame = 1; frame < frameCount; ++frame) {
      if (window_.AtEnd())
        break;
      if (cancelFlag != 0) {
        result.state = ConversionState::Cancelled;
        break;
      }
      // A failed write is the output's failure, told with its place and the system's reason
      // once the file is finished, never as a picture missing from the clip.
      if (!written)
        break;
      if (!NextPicture(picture))
        break;
      written = WriteFrame(stream_, frame, picture);
      if (written)
        result.picturesWritten = frame + 1;
      ReportPosition();
    }
    return written;
  }

  // Salvage: every whole picture to the end of the stream, each in its time slot, the slots of
  // pictures left out or lost empty. Counts frames and pictures in `result`; gives false once a
  // frame write has failed.
  bool WriteSalvagedFrames(PictureSlots &slots, const CancelFlag &cancelFlag, PictureBytes &picture,
                           bool written, ConversionResult &result, uint64_t &lastPictureEnd) {
    slots.Place(walk_.pictureStart(), lastPictureEnd, false);
    uint32_t frames = 1;
    bool ended = false;
    while (written) {
      if (cancelFlag != 0) {
        result.state = ConversionState::Cancelled;
        break;
      }
      if (!walk_.Next(picture)) {
        ended = !window_.ReadFailed();
        break;
      }
      uint32_t slot = slots.Place(walk_.pictureStart(), walk_.pictureStart() + picture.size(),
                                  walk_.afterDamage());
      for (; written && frames < slot; ++frames)
        written = WriteEmptyFrame(stream_, frames);
      if (!written)
        break;
      written = WriteFrame(stream_, slot, picture);
      frames = slot + 1;
      if (written)
        ++result.picturesWritten;
      lastPictureEnd = walk_.pictureStart() + picture.size();
      ReportPosition();
    }
    if (ended && written) {
      uint32_t total = slots.Total(window_.StreamOffset(), walk_.endsInDamage());
      for (; written && frames < total; ++frames)
        written = WriteEmptyFrame(stream_, frames);
    }
    // A failed write is the output's failure, told with its cause, not a picture missing.
    result.picturesExpected = frames;
    return written;
  }

private:
  bool NextPicture(PictureBytes &picture) {
    if (walk_.Next(picture))
      return true;
    // A read error is no missing picture: the caller reports it. Salvage has looked to the end.
    if (!window_.ReadFailed() && !salvage_)
      messages_.Show(MissingPictureMessage());
    return false;
  }

  void ReportPosition() {
    if (!progress_)
      return;
    progress_->pump.RunPending();
    progress_->sink.SetPosition(ProgressBound(reader_.clipPosition()));
  }

  PictureWindow &window_;
  PictureWalk &walk_;
  const ClipBlockReader &reader_;
  VideoStream &stream_;
  const ProgressControl *progress_;
  MessageSink &messages_;
  bool salvage_;
};

} // namespace

AviStreamInfo VideoStreamInfo(const ClipHeader &header) {
  AviStreamInfo info;
  info.fccType = MakeFourCC("vids");
  info.fccHandler = MakeFourCC("MJPG");
  info.dwScale = 2;
  info.dwRate = header.frameRate;
  info.dwLength = 1;
  info.dwQuality = 0xFFFFFFFF;
  info.rcFrame = {0, 0, header.width, header.height};
  info.szName = "Video";
  return info;
}

BitmapInfoHeader VideoFormat(const ClipHeader &header) {
  BitmapInfoHeader format;
  format.biWidth = header.width;
  format.biHeight = header.height;
  format.biPlanes = 1;
  format.biBitCount = 24;
  format.biCompression = MakeFourCC("MJPG");
  return format;
}

namespace {

// The sound bytes in the time of one picture, for the slots of a salvage; 0 without a rate.
double SoundBytesPerSlot(const ClipHeader &header) {
  WaveFormatEx format = AudioFormat(header);
  return header.frameRate == 0 ? 0 : 2.0 * format.nAvgBytesPerSec / header.frameRate;
}

// Where the header of a salvaged clip disagrees with what the walk found.
void NoteDisagreements(const ClipHeader &header, const PictureWalk &walk, uint64_t streamEnd,
                       ConversionResult &result) {
  if (!result.headerGuessed.empty())
    return;
  auto &notes = result.headerDisagrees;
  if (header.frameCount != result.picturesExpected)
    notes.push_back(
        FillIn(Translate("Conversion", "the header names %1 pictures; %2 found"),
               {std::to_string(header.frameCount), std::to_string(result.picturesExpected)}));
  // Sound blocks that lost their mark lengthen the picture stream: only undamaged data speaks.
  if (streamEnd > header.dataSize && result.damaged.empty())
    notes.push_back(FillIn(Translate("Conversion", "the header's dataSize is %1 bytes; the "
                                                   "pictures take %2"),
                           {std::to_string(header.dataSize), std::to_string(streamEnd)}));
  if (header.width != walk.check().width() || header.height != walk.check().height())
    notes.push_back(
        FillIn(Translate("Conversion", "the header names pictures of %1x%2; they are %3x%4"),
               {std::to_string(header.width), std::to_string(header.height),
                std::to_string(walk.check().width()), std::to_string(walk.check().height())}));
}

// The sound store says where its folder refused the sound.
void NoteSoundRefused(ConversionResult &result, const SoundStore &store) {
  NoteFailure(result, FailureKind::SoundNotKept, store.failure().value_or(FileFailure{}));
}

} // namespace

// The sound of a clip with sound: its blocks, gathered as the clip is read, and where they lay.
struct ClipSound {
  explicit ClipSound(const std::optional<std::string> &folder) : store(folder) {}
  SoundStore store;
  SoundTimeline timeline;
};

ConversionResult WriteClipAvi(const FileRef &clip, const FileRef &target,
                              const ProgressControl *progress, CancelFlag &cancelFlag,
                              const ClipHeader &header, MessageSink &messages,
                              const ConvertOptions &options) {
  cancelFlag = 0;
  ConversionResult result;
  result.picturesExpected = std::max<uint32_t>(header.frameCount, 1);
  RawFile input;
  if (!input.OpenForReading(clip)) {
    TellFailure(result, messages,
                Translate("Conversion", "Could not open input file:\n") +
                    FileErrorText(input.error(), clip.path),
                FailureKind::ClipNotOpened, FileFailure{clip.path, input.error()});
    return result;
  }
  std::optional<ClipSound> sound;
  if (header.audioPresent != 0)
    sound.emplace(options.tempFolder);
  if (progress)
    StartProgress(*progress, input);
  ClipBlockReader reader(input, header.dataOffset, sound ? &sound->store : nullptr,
                         sound && options.salvage ? &sound->timeline : nullptr, progress);
  // With sound, the picture stream is the picture blocks alone, from the data area's start.
  uint32_t streamStart = sound ? 0 : header.dataOffset;
  PictureWindow window;
  PictureWalk walk(window, options.salvage);
  PictureBytes picture;
  if (!walk.First(reader, streamStart, header.dataSize, picture)) {
    if (reader.soundRefused())
      NoteSoundRefused(result, sound->store);
    else if (input.error() != 0)
      TellFailure(result, messages, ReadErrorMessage(input.error(), clip.path),
                  FailureKind::ClipNotRead, FileFailure{clip.path, input.error()});
    else
      TellFailure(result, messages, NoFirstPictureMessage(), FailureKind::NoPicture,
                  FileFailure{clip.path, 0});
    return result;
  }
  if (cancelFlag != 0) {
    result.state = ConversionState::Cancelled;
    return result;
  }
  // A salvage takes the size of the pictures it keeps, whatever the header says.
  ClipHeader video = header;
  if (options.salvage) {
    video.width = walk.check().width();
    video.height = walk.check().height();
  }
  VideoStream stream;
  if (!options.scanOnly) {
    stream = CreateVideoStream(target, video, options.avi, result);
    if (stream.index < 0)
      return result;
  }
  if (stream.file)
    window.BeforeMovingBytes([&stream] { stream.file->WriteOutInPlace(); });
  bool written = WriteFrame(stream, 0, picture);
  result.picturesWritten = written ? 1 : 0;
  result.state = ConversionState::Done;
  FrameRun run(window, walk, reader, stream, progress, messages, options.salvage);
  uint64_t lastPictureEnd = walk.pictureStart() + picture.size();
  if (options.salvage) {
    PictureSlots slots(sound ? &sound->timeline : nullptr, SoundBytesPerSlot(header));
    written = run.WriteSalvagedFrames(slots, cancelFlag, picture, written, result, lastPictureEnd);
    result.picturesLeftOut = walk.leftOut();
    result.picturesForeign = walk.foreign();
    result.cutShortAt = walk.cutShortAt();
  } else {
    written = run.WriteFurtherFrames(header.frameCount, cancelFlag, picture, written, result);
  }
  for (DamagedStretch stretch : walk.damaged())
    result.damaged.push_back(
        sound ? DamagedStretch{sound->timeline.ClipOffset(stretch.begin),
                               sound->timeline.ClipOffset(stretch.end)}
              : DamagedStretch{streamStart + stretch.begin, streamStart + stretch.end});
  WaveFormatEx format = AudioFormat(header);
  // Without whole bytes per sample the sound has no length in samples: the video stands alone.
  bool withSound = sound && format.nBlockAlign != 0 && stream.file;
  if (withSound && written && result.HasAvi()) {
    // The sound of the whole clip, whatever ended the pictures.
    reader.ReadToEnd(cancelFlag);
    if (cancelFlag != 0)
      result.state = ConversionState::Cancelled;
  }
  if (reader.soundRefused()) {
    NoteSoundRefused(result, sound->store);
  } else if (withSound && written && result.HasAvi() && input.error() == 0) {
    if (progress)
      progress->sink.SetPhase(ConversionPhase::Sound);
    // A clip cut inside a sound block ends in part of a sample, which players refuse.
    written =
        WriteSoundStream(*stream.file, format, sound->store, options.salvage, target.path, result);
  }
  if (stream.file)
    FinishAvi(*stream.file, written, target.path, result);
  if (input.error() != 0) {
    TellFailure(result, messages, ReadErrorMessage(input.error(), clip.path),
                FailureKind::ClipNotRead, FileFailure{clip.path, input.error()});
  }
  if (options.salvage && result.state == ConversionState::Done)
    NoteDisagreements(header, walk, lastPictureEnd, result);
  // Damage passed over leaves an AVI that is not the whole clip, whatever the count.
  if (result.state == ConversionState::Done &&
      (result.picturesWritten < result.picturesExpected || !result.damaged.empty() ||
       result.picturesLeftOut + result.picturesForeign > 0 || result.cutShortAt ||
       !result.headerDisagrees.empty() || !result.headerGuessed.empty()))
    result.state = ConversionState::Incomplete;
  return result;
}

} // namespace reelcraft

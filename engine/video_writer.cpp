// SPDX-License-Identifier: MIT
#include "engine/video_writer.h"

#include "engine/avi_finish.h"
#include "engine/picture_window.h"
#include "sys/error_text.h"
#include "sys/raw_file.h"
#include "sys/translation.h"

#include <cerrno>

namespace reelcraft {

namespace {

struct VideoStream {
  std::unique_ptr<AviFile> file;
  int index = -1;
};

VideoStream CreateVideoStream(const FileRef &target, const ClipHeader &header,
                              const AviWriterOptions &options, MessageSink &messages) {
  VideoStream stream;
  stream.file = AviFile::Create(target, options);
  if (!stream.file) {
    messages.NoteFailure({target.path, errno});
    return stream;
  }
  stream.index = stream.file->CreateStream(VideoStreamInfo(header));
  auto format = Serialize(VideoFormat(header));
  if (stream.index < 0 || !stream.file->SetFormat(stream.index, format.data(), format.size()))
    stream.index = -1;
  return stream;
}

bool WriteFrame(VideoStream &stream, uint32_t frame, PictureBytes picture) {
  return stream.file->Write(stream.index, frame, 1, picture.data(), uint32_t(picture.size()),
                            AVIIF_KEYFRAME);
}

void StartProgress(const ProgressControl &progress, const ClipHeader &header) {
  progress.sink.SetRange(0, ProgressBound(uint64_t(header.dataOffset) + header.dataSize));
  progress.sink.SetStep(1);
  progress.sink.SetPosition(0);
}

// One run of the writer over a picture stream that has yielded its first picture.
class FrameRun {
public:
  FrameRun(PictureWindow &window, VideoStream &stream, const ProgressControl *progress,
           MessageSink &messages)
      : window_(window), stream_(stream), progress_(progress), messages_(messages) {}

  // Writes frames 1 and on, up to `frameCount`; gives false once a frame write has failed.
  bool WriteFurtherFrames(uint16_t frameCount, const CancelFlag &cancelFlag, PictureBytes &picture,
                          bool written) {
    for (uint32_t frame = 1; frame < frameCount; ++frame) {
      if (window_.AtEnd() || cancelFlag != 0)
        break;
      if (!written || !window_.Next(picture)) {
        // A read error is no missing picture: the caller reports it.
        if (!window_.ReadFailed())
          messages_.Show(Translate("Conversion", "Failed to find JPEG\n"));
        break;
      }
      written = WriteFrame(stream_, frame, picture);
      ReportPosition();
    }
    return written;
  }

private:
  void ReportPosition() {
    if (!progress_)
      return;
    progress_->pump.RunPending();
    progress_->sink.SetPosition(ProgressBound(window_.ProgressValue()));
  }

  PictureWindow &window_;
  VideoStream &stream_;
  const ProgressControl *progress_;
  MessageSink &messages_;
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

bool WriteVideoAvi(const FileRef &pictureFile, const FileRef &target,
                   const ProgressControl *progress, CancelFlag &cancelFlag,
                   const ClipHeader &header, MessageSink &messages,
                   const AviWriterOptions &aviOptions) {
  cancelFlag = 0;
  RawFile input;
  if (!input.OpenForReading(pictureFile)) {
    messages.Show(Translate("Conversion", "Could not open input file:\n") +
                  FileErrorText(input.error(), pictureFile.path));
    return false;
  }
  PictureWindow window;
  PictureBytes picture;
  if (!window.Begin(input, header.dataOffset, header.dataSize, picture)) {
    messages.Show(input.error() != 0 ? ReadErrorMessage(input.error(), pictureFile.path)
                                     : Translate("Conversion", "Failed to find first JPEG"));
    return false;
  }
  VideoStream stream = CreateVideoStream(target, header, aviOptions, messages);
  if (stream.index < 0)
    return false;
  bool written = WriteFrame(stream, 0, picture);
  if (progress)
    StartProgress(*progress, header);
  FrameRun run(window, stream, progress, messages);
  written = run.WriteFurtherFrames(header.frameCount, cancelFlag, picture, written);
  bool finished = FinishAvi(*stream.file, written, target.path, messages);
  if (input.error() != 0) {
    messages.Show(ReadErrorMessage(input.error(), pictureFile.path));
    return false;
  }
  return finished;
}

} // namespace reelcraft

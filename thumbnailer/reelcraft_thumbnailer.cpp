// SPDX-License-Identifier: MIT
// Thumbnails of clips for file managers, by the freedesktop thumbnailer rules:
//   reelcraft-thumbnailer -s SIZE CLIP PNG
//   reelcraft-thumbnailer --version
// writes the clip's first picture, at most SIZE pixels on its longer side, as a PNG file.
// Only a first picture laid out as cameras write it is decoded, at the thumbnail's size, within
// two seconds of processor time and a bounded address space. Exit status 0 when the thumbnail
// was written, 1 when the clip gives none (nothing is written then), 2 for a wrong command line.
#include "cli/console_messages.h"
#include "sys/raw_file.h"
#include "sys/temp_files.h"
#include "sys/version.h"
#include "thumbnailer/camera_picture.h"
#include "thumbnailer/first_picture.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QThreadPool>

#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using namespace reelcraft;

constexpr int kLargestSize = 4096;
// File managers run this unattended on every clip that arrives. The picture checks keep the
// work small; these limits end the run whatever a picture still holds.
constexpr rlim_t kProcessorSeconds = 2;
// Beyond the program and its libraries, whose mappings are mostly never resident.
constexpr rlim_t kFurtherAddressSpace = rlim_t(176) << 20;

void OutOfTime(int) { _exit(1); }

rlim_t MappedBytes() {
  unsigned long pages = 0;
  if (std::FILE *statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%lu", &pages) != 1)
      pages = 0;
    std::fclose(statm);
  }
  return rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE));
}

void LimitResources() {
  // Qt scales large pictures on its pool's threads, each with a stack of its own; a thread that
  // cannot be made under the limit would leave the scaling waiting for it for ever.
  QThreadPool::globalInstance()->setMaxThreadCount(1);
  std::signal(SIGXCPU, OutOfTime);
  // The hard limit kills when the signal cannot be handled in time.
  rlimit processor{kProcessorSeconds, kProcessorSeconds + 1};
  rlim_t addressSpace = MappedBytes() + kFurtherAddressSpace;
  rlimit memory{addressSpace, addressSpace};
  setrlimit(RLIMIT_CPU, &processor);
  setrlimit(RLIMIT_AS, &memory);
}

bool ParseSize(const char *text, int &size) {
  const char *end = text + std::strlen(text);
  auto [at, error] = std::from_chars(text, end, size);
  return error == std::errc() && at == end && size > 0 && size <= kLargestSize;
}

// Decoded at the thumbnail's size: the decoder then skips most of the work of a large picture.
QImage Thumbnail(const std::vector<uint8_t> &picture, PictureSize pictureSize, int size) {
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(picture.data()),
                                             qsizetype(picture.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "JPEG");
  QSize full(pictureSize.width, pictureSize.height);
  if (full.width() > size || full.height() > size)
    reader.setScaledSize(full.scaled(size, size, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
  return reader.read();
}

// Put in place whole or not at all: a file manager may read the output as soon as it exists.
// Written through the staged file itself, never by its name again, which another user of the
// folder could have swapped for a link.
bool WritePng(const QImage &image, const std::string &path) {
  QByteArray png;
  QBuffer buffer(&png);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
    return false;
  StagedFile staged;
  RawOutputFile out;
  return staged.Reserve(path) && out.Create(staged.temporaryFile()) &&
         out.Write(png.constData(), size_t(png.size())) && out.Close() && staged.Commit(true);
}

} // namespace

int main(int argc, char **argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("reelcraft-thumbnailer %s\n", kVersionName);
    return 0;
  }
  int size = 0;
  if (argc != 5 || std::strcmp(argv[1], "-s") != 0 || !ParseSize(argv[2], size)) {
    std::fprintf(stderr, "usage: %s -s SIZE CLIP PNG\n", argv[0]);
    return 2;
  }
  LimitResources();
  ConsoleMessages console{argv[3]};
  MessageSink &messages = console;
  std::optional<std::vector<uint8_t>> picture = ReadFirstPicture(argv[3], messages);
  if (!picture)
    return 1;
  std::string refusal;
  std::optional<PictureSize> pictureSize = CameraPictureSize(*picture, refusal);
  if (!pictureSize) {
    messages.Show(refusal);
    return 1;
  }
  QImage thumbnail = Thumbnail(*picture, *pictureSize, size);
  if (thumbnail.isNull()) {
    messages.Show("The first picture cannot be decoded");
    return 1;
  }
  if (!WritePng(thumbnail, argv[4])) {
    messages.Show("Cannot write " + std::string(argv[4]));
    return 1;
  }
  return 0;
}

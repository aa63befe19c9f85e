// SPDX-License-Identifier: MIT
// Thumbnails of clips for file managers, by the freedesktop thumbnailer rules:
//   reelcraft-thumbnailer -s SIZE CLIP PNG
//   reelcraft-thumbnailer --version
// writes the clip's first picture, at most SIZE pixels on its longer side, as a PNG file.
// Exit status 0 when the thumbnail was written, 1 when the clip gives none (nothing is
// written then), 2 for a wrong command line.
#include "cli/console_messages.h"
#include "sys/raw_file.h"
#include "sys/temp_files.h"
#include "sys/version.h"
#include "thumbnailer/first_picture.h"

#include <QBuffer>
#include <QImage>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

using namespace reelcraft;

constexpr int kLargestSize = 4096;

bool ParseSize(const char *text, int &size) {
  const char *end = text + std::strlen(text);
  auto [at, error] = std::from_chars(text, end, size);
  return error == std::errc() && at == end && size > 0 && size <= kLargestSize;
}

QImage Thumbnail(const std::vector<uint8_t> &picture, int size) {
  QImage image;
  if (!image.loadFromData(picture.data(), int(picture.size()), "JPEG"))
    return image;
  if (image.width() <= size && image.height() <= size)
    return image;
  return image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
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
  ConsoleMessages console{argv[3]};
  MessageSink &messages = console;
  std::optional<std::vector<uint8_t>> picture = ReadFirstPicture(argv[3], messages);
  if (!picture)
    return 1;
  QImage thumbnail = Thumbnail(*picture, size);
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

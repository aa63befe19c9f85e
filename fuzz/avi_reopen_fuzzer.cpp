// SPDX-License-Identifier: MIT
// Any bytes as an AVI file to be opened again for a second stream: the reader must refuse what
// it cannot use, and whatever it accepts must take a new stream and be finished again.
#include "avi/avi_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

const std::string &WorkFile() {
  static const std::string path = [] {
    std::string pattern = (fs::temp_directory_path() / "reelcraft-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
      std::abort();
    return pattern + "/reopen.avi";
  }();
  return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  using namespace reelcraft;
  const std::string &path = WorkFile();
  FILE *file = std::fopen(path.c_str(), "wb");
  if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
    std::abort();
  AviWriterOptions options;
  options.riffPartLimit = 16 * 1024;
  std::unique_ptr<AviFile> avi = AviFile::OpenForAppend(path, options);
  if (!avi)
    return 0;
  AviStreamInfo info;
  info.fccType = MakeFourCC("auds");
  info.dwScale = info.dwSampleSize = 1;
  info.dwRate = 8000;
  info.szName = "Test Animation";
  const uint8_t format[18] = {1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8};
  int stream = avi->CreateStream(info);
  if (stream >= 0 && avi->SetFormat(stream, format, sizeof format))
    avi->Write(stream, 0, uint32_t(size), data, uint32_t(size), AVIIF_KEYFRAME);
  avi->Release();
  return 0;
}

// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/files.h"
#include "tests/support/tools.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace reelcraft::test {

// One stream as ffprobe sees it.
struct ProbedStream {
  std::string codecType;  // "video", "audio"
  std::string codecName;  // "mjpeg", "pcm_u8", "pcm_s16le"
  std::string rFrameRate; // "15/1"
  std::string timeBase;   // "2/25"
  int width = 0, height = 0;
  int64_t packets = 0; // counted by reading the whole file
  int sampleRate = 0, channels = 0, bitsPerSample = 0;
};

struct ProbedFile {
  bool ok = false; // ffprobe read the file without a complaint
  std::string formatName;
  std::vector<ProbedStream> streams;
  std::map<std::string, std::string> fields; // every "key=value" ffprobe printed
};

// Reads `path` with ffprobe, counting every packet.
ProbedFile ProbeFile(const std::string &path);

// The MD5 of every packet of the streams `map` picks ("0:v", "0:a"), as ffmpeg's framemd5
// prints them, in order; compare with Md5Hex of the bytes written.
std::vector<std::string> PacketMd5s(const std::string &path, const std::string &map);
std::vector<std::string> Md5Hexes(const std::vector<Bytes> &packets);

// Every byte of the streams `map` picks, copied out unchanged.
Bytes StreamBytes(const std::string &path, const std::string &map);

// What ffmpeg complains about while decoding the whole file; empty when all is well.
std::string DecodeErrors(const std::string &path);

} // namespace reelcraft::test

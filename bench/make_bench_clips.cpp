// SPDX-License-Identifier: MIT
// Writes the clips that bench/run_bench.sh times, made of real JPEG pictures, without holding
// a whole clip in memory:
//   make_bench_clips clip PATH MEGABYTES [--sound] [--pictures STREAM]
//   make_bench_clips many FOLDER COUNT KILOBYTES
//   make_bench_clips thumbnails FOLDER
// STREAM receives the clip's pictures alone, one after another, for ffmpeg's mjpeg reader.
// `thumbnails` writes a clip for each picture the thumbnailer is timed on and prints its path
// and what the picture is, separated by a tab.
#include "tests/support/clip_builder.h"
#include "tests/support/jpeg_pictures.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace reelcraft::test;

constexpr size_t kBlock = 512;
constexpr uint16_t kDataOffset = 512;
constexpr int kMaxFrames = 65535;

struct Plan {
  std::vector<const Bytes *> pictures; // in clip order
  uint64_t streamSize = 0;
};

Plan PlanPictures(const std::vector<Bytes> &distinct, uint64_t targetBytes) {
  Plan plan;
  for (size_t i = 0; plan.streamSize < targetBytes && plan.pictures.size() < kMaxFrames; ++i) {
    plan.pictures.push_back(&distinct[i % distinct.size()]);
    plan.streamSize += distinct[i % distinct.size()].size();
  }
  return plan;
}

void Write(std::ofstream &out, const void *data, size_t size) {
  out.write(static_cast<const char *>(data), std::streamsize(size));
  if (!out)
    throw std::runtime_error("cannot write");
}

void WriteHeader(std::ofstream &out, const Plan &plan, bool sound) {
  ClipSpec spec;
  spec.width = 640;
  spec.height = 480;
  spec.frameCount = uint16_t(plan.pictures.size());
  if (sound)
    spec.audio = ClipAudio{{}, 1, 44100, 2, 16};
  Bytes header = ClipHeaderBytes(spec, uint32_t(plan.streamSize));
  header.resize(kDataOffset, 0);
  Write(out, header.data(), header.size());
}

// Picture blocks with a marked audio block of a tone after every two; the picture stream is
// padded with zeros to whole blocks so that no short block comes before the end.
class SoundInterleaver {
public:
  explicit SoundInterleaver(std::ofstream &out) : out_(out) {}
  void Add(const Bytes &bytes) {
    for (uint8_t byte : bytes) {
      pending_.push_back(byte);
      if (pending_.size() == kBlock)
        Flush();
    }
  }
  void Finish() {
    if (!pending_.empty()) {
      pending_.resize(kBlock, 0);
      Flush();
    }
  }

private:
  void Flush() {
    if (pending_[0] == 0xFF && pending_[1] == 0xFF)
      throw std::runtime_error("a picture block begins FF FF");
    Write(out_, pending_.data(), kBlock);
    pending_.clear();
    if (++pictureBlocks_ % 2 == 0)
      WriteAudioBlock();
  }
  void WriteAudioBlock() {
    uint8_t block[kBlock];
    for (size_t i = 0; i < kBlock; ++i)
      block[i] = uint8_t(128 + 100 * std::sin(double(sample_++) * 0.0627));
    block[0] = block[1] = 0xFF;
    Write(out_, block, kBlock);
  }

  std::ofstream &out_;
  Bytes pending_;
  uint64_t pictureBlocks_ = 0;
  uint64_t sample_ = 0;
};

void WriteClip(const std::string &path, const Plan &plan, bool sound, const std::string &stream) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::ofstream pictures;
  if (!stream.empty())
    pictures.open(stream, std::ios::binary | std::ios::trunc);
  WriteHeader(out, plan, sound);
  SoundInterleaver interleaver(out);
  for (const Bytes *picture : plan.pictures) {
    if (sound)
      interleaver.Add(*picture);
    else
      Write(out, picture->data(), picture->size());
    if (pictures.is_open())
      Write(pictures, picture->data(), picture->size());
  }
  if (sound)
    interleaver.Finish();
}

int Usage(const char *program) {
  std::fprintf(stderr,
               "Usage: %s clip PATH MEGABYTES [--sound] [--pictures STREAM]\n"
               "       %s many FOLDER COUNT KILOBYTES\n"
               "       %s thumbnails FOLDER\n",
               program, program, program);
  return 2;
}

} // namespace

int main(int argc, char **argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  try {
    if (args.size() >= 3 && args[0] == "clip") {
      bool sound = false;
      std::string stream;
      for (size_t i = 3; i < args.size(); ++i) {
        if (args[i] == "--sound")
          sound = true;
        else if (args[i] == "--pictures" && i + 1 < args.size())
          stream = args[++i];
        else
          return Usage(argv[0]);
      }
      std::vector<Bytes> distinct = MakePictures(24, 640, 480);
      // With sound, a third of the clip is audio: one audio block after every two of pictures.
      uint64_t pictureBytes = (std::stoull(args[2]) << 20) * (sound ? 2 : 3) / 3;
      WriteClip(args[1], PlanPictures(distinct, pictureBytes), sound, stream);
      return 0;
    }
    if (args.size() == 4 && args[0] == "many") {
      std::vector<Bytes> distinct = MakePictures(24, 640, 480);
      Plan plan = PlanPictures(distinct, std::stoull(args[3]) << 10);
      for (int i = 0; i < std::stoi(args[2]); ++i)
        WriteClip(args[1] + "/clip" + std::to_string(i) + ".qvj", plan, false, "");
      return 0;
    }
    if (args.size() == 2 && args[0] == "thumbnails") {
      std::vector<NamedPicture> pictures = ThumbnailerPictures();
      for (size_t i = 0; i < pictures.size(); ++i) {
        ClipSpec spec;
        spec.pictures = {pictures[i].jpeg};
        std::string path = args[1] + "/" + std::to_string(i) + ".qvj";
        reelcraft::test::WriteClip(path, spec);
        std::printf("%s\t%s\n", path.c_str(), pictures[i].name.c_str());
      }
      return 0;
    }
  } catch (const std::exception &error) {
    std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
    return 1;
  }
  return Usage(argv[0]);
}

// SPDX-License-Identifier: MIT
// Any bytes as a clip: converted into a temporary AVI file with progress and pumping, so that
// the picture scanner, the window, the block separation and the AVI writer all see them, with
// salvage (the structural check of pictures and the search past damage) when the input asks for
// it. A conversion must never leave a separation file behind.
#include "engine/convert_clip.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using namespace reelcraft;
namespace fs = std::filesystem;

class SilentMessages : public MessageSink {
public:
  MessageAnswer Show(const std::string &, MessageButtons, MessageIcon) override {
    return MessageAnswer::No;
  }
};

// A bar that goes nowhere and a pump that presses Cancel after a number of pumps, when asked.
class CancellingProgress : public ProgressSink, public Pump {
public:
  CancellingProgress(CancelFlag &flag, int cancelAfter) : flag_(flag), left_(cancelAfter) {}
  void SetRange(uint32_t, uint32_t) override {}
  void SetStep(uint32_t) override {}
  void SetPosition(uint32_t) override {}
  void StepIt() override {}
  void RunPending() override {
    if (left_ >= 0 && left_-- == 0)
      flag_ = 1;
  }

private:
  CancelFlag &flag_;
  int left_;
};

const fs::path &WorkFolder() {
  static const fs::path folder = [] {
    std::string pattern = (fs::temp_directory_path() / "reelcraft-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
      std::abort();
    return fs::path(pattern);
  }();
  return folder;
}

void WriteClip(const std::string &path, const uint8_t *data, size_t size) {
  FILE *file = std::fopen(path.c_str(), "wb");
  if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const fs::path &folder = WorkFolder();
  fs::path temporaries = folder / "tmp";
  fs::create_directories(temporaries);
  std::string clip = (folder / "clip.qvj").string();
  std::string target = (folder / "clip.avi").string();
  WriteClip(clip, data, size);

  // The last byte, when its top bit is set, also picks a pump at which Cancel is pressed.
  int cancelAfter = size > 0 && (data[size - 1] & 0x80) ? data[size - 1] & 0x3F : -1;
  CancelFlag cancelFlag{0};
  CancellingProgress progress(cancelFlag, cancelAfter);
  ProgressControl control{progress, progress};
  SilentMessages messages;
  ConvertOptions options;
  options.tempFolder = temporaries.string();
  options.avi.riffPartLimit = 64 * 1024; // small parts, so OpenDML is exercised too
  // The last byte's next bit asks for salvage.
  options.salvage = size > 0 && (data[size - 1] & 0x40);
  ConversionResult result = ConvertClip(clip, target, &control, cancelFlag, messages, options);
  for (const DamagedStretch &stretch : result.damaged) {
    if (!options.salvage || stretch.begin >= stretch.end || stretch.end > size)
      std::abort();
  }

  if (!fs::is_empty(temporaries))
    std::abort();
  fs::remove(target);
  return 0;
}

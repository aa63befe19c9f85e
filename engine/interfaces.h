// SPDX-License-Identifier: MIT
#pragma once

#include "avi/avi_file.h"
#include "engine/clip_header.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace reelcraft {

// What a conversion's caller hands the engine: the cancel flag, the progress bar and the pump
// that keep its window live, and the options beyond the clip and the target.

// 0: go on; any other value: stop. Owned by the caller, set by its Cancel command, cleared by
// the engine when a conversion path starts. Atomic because the command-line converter sets it
// from a signal while conversions run on worker threads.
using CancelFlag = std::atomic<int>;

// The phases of a conversion, in order: the pictures, written as the clip is read, then for a
// clip with sound the sound gathered on the way. The bar fills once, over the clip's bytes, in
// the pictures.
enum class ConversionPhase { Pictures, Sound };

// The operations of a progress bar that the engine drives. The high bound is a full 32-bit
// unsigned value; a position above it shows as full.
class ProgressSink {
public:
  virtual ~ProgressSink() = default;
  // Comes before the calls of each phase; a bar that shows each fill as it comes ignores it.
  virtual void SetPhase(ConversionPhase) {}
  virtual void SetRange(uint32_t low, uint32_t high) = 0;
  virtual void SetStep(uint32_t step) = 0;
  virtual void SetPosition(uint32_t position) = 0;
  virtual void StepIt() = 0;
};

// Runs the user interface's pending events and returns without waiting for more, so that a
// window stays live (and its Cancel button can act) while a long operation runs inside it.
class Pump {
public:
  virtual ~Pump() = default;
  virtual void RunPending() = 0;
};

// The caller's progress bar and the pump that keeps its window live. The engine takes a
// pointer: none means no progress reports and no pumping at all.
struct ProgressControl {
  ProgressSink &sink;
  Pump &pump;
};

// A progress bar's values are 32-bit; a larger one shows as full.
inline uint32_t ProgressBound(uint64_t value) {
  return uint32_t(std::min<uint64_t>(value, std::numeric_limits<uint32_t>::max()));
}

// How a conversion reaches its surroundings beyond the clip and the target.
struct ConvertOptions {
  AviWriterOptions avi;
  // Where the sound of a clip with sound goes while its pictures are written, once it is more
  // than memory holds; the system's temporary folder if unset.
  std::optional<std::string> tempFolder;
  // The target is a file that the caller created: written only while its path stands for it.
  std::optional<FileIdentity> targetIdentity;
  // A target without a name: the caller's open descriptor of it (see FileRef::descriptor).
  int targetDescriptor = -1;
  // Where the pictures stop, pass over the damage and go on with the next picture whose markers
  // hold together, to the end of the data, rather than end the AVI there.
  bool salvage = false;
  // A salvage of a clip without a header that can be read takes the picture size, the rate and
  // the sound format from this header, of another clip of the same camera.
  std::optional<ClipHeader> like;
  // A line added to the message about a file that does not begin as a clip: how to look for its
  // pictures anyway.
  std::string unrecognisedHint;
  // Walk the clip as the conversion would, counting its pictures, but write no AVI.
  bool scanOnly = false;
};

} // namespace reelcraft

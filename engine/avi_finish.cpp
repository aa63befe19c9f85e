// SPDX-License-Identifier: MIT
#include "engine/avi_finish.h"

namespace reelcraft {

bool FinishAvi(AviFile &avi, bool written, const std::string &path, MessageSink &messages) {
  // A file whose headers or index could not be written is no AVI file.
  bool finished = avi.Release();
  if (avi.error() != 0)
    messages.NoteFailure({path, avi.error()});
  return written && finished;
}

} // namespace reelcraft

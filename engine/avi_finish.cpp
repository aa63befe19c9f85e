// SPDX-License-Identifier: MIT
#include "engine/avi_finish.h"

namespace reelcraft {

void FinishAvi(AviFile &avi, bool written, const std::string &path, ConversionResult &result) {
  // A file whose headers or index could not be written is no AVI file.
  bool finished = avi.Release();
  if (written && finished)
    return;
  // The writer knows no reason only where it refused the data itself.
  NoteFailure(result, FailureKind::AviNotWritten, FileFailure{path, avi.error()});
}

} // namespace reelcraft

// SPDX-License-Identifier: MIT
#pragma once

#include "avi/avi_file.h"
#include "engine/conversion_result.h"

#include <string>

namespace reelcraft {

// Releases the AVI file at `path`. When it does not hold all that was `written`, marks `result`
// failed, with the place and the system's reason where a write of the file failed.
void FinishAvi(AviFile &avi, bool written, const std::string &path, ConversionResult &result);

} // namespace reelcraft

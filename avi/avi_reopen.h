// SPDX-License-Identifier: MIT
#pragma once

#include "avi/avi_layout.h"

#include <cstdint>
#include <optional>

namespace reelcraft::avi {

// What a finished file tells the writer that opens it again: its streams with every chunk's
// index entry, its RIFF parts, and where appending goes on.
struct ReopenedFile {
  FileRecord record;
  uint64_t appendAt = 0;
};

// Reads a file that this writer finished (headers, super indexes and the ix## standard indexes
// they point to). The last RIFF part is reopened: its standard indexes, and its idx1 if it is
// the first part, are dropped from the record, to be written again when the file is finished,
// and appending goes on right after its last data chunk. Nothing when the file is not one of
// ours or is damaged.
std::optional<ReopenedFile> ReadFinishedFile(int fd);

} // namespace reelcraft::avi

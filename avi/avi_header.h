// SPDX-License-Identifier: MIT
#pragma once

#include "avi/avi_layout.h"

#include <cstdint>
#include <vector>

namespace reelcraft::avi {

// The hdrl list for `file`, followed by a JUNK chunk so that it fills `file.headerRoom`
// exactly. Empty when the header does not fit into the room.
std::vector<uint8_t> BuildHeader(const FileRecord &file);

// Whether the header of `file` fits into its room (always, before the room is fixed).
bool HeaderFits(const FileRecord &file);

// The room to keep for the header when the first chunk is written: the header of the streams
// so far, plus room for one more.
uint64_t HeaderRoomFor(const FileRecord &file);

} // namespace reelcraft::avi

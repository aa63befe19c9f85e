#pragma once

#include "sys/file_identity.h"

#include <sys/types.h>

namespace reelcraft {

// Opens `file` for writing from its start, creating it (unless it has an identity) or emptying
// it as needed, like O_TRUNC. An already empty file (a reserved temporary name) is left
// untruncated: on ext4 a truncation makes the close flush the whole new contents, which costs
// more than the conversion itself. Gives the descriptor, or -1 with errno set.
int OpenForRewrite(const FileRef &file, int accessFlags, mode_t mode);

} // namespace reelcraft

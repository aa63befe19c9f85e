// SPDX-License-Identifier: MIT
#pragma once

// The names of our temporary files, which every system's temp_files code gives and recognises.

#include "sys/file_identity.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>

namespace reelcraft {

constexpr size_t kLongestTempName = 3 + 4 + 4; // prefix, four hex digits, ".tmp"

// `folder`'s entry `prefix` + `number` in hexadecimal + ".tmp".
std::string NameFor(const std::string &folder, const std::string &prefix, unsigned number);

// A hidden name beside `finalPath` that its folder takes however long `finalPath`'s own is.
std::string TemporaryName(const std::string &finalPath, std::mt19937 &random);

// Whether `name` is one that NameFor ("qvj" prefix) or TemporaryName gives.
bool IsTemporaryName(std::string_view name);

// Gives the file that `linkAs(name)` links under a new name the name `finalPath`. Without
// `replace`, an existing file there stays and the link fails with EEXIST; with it, the file
// takes a hidden name for as long as one rename over the final one takes, removed if the rename
// fails while it still stands for the file of `identity`. False with errno set.
bool LinkInPlace(const std::string &finalPath, bool replace,
                 const std::optional<FileIdentity> &identity,
                 const std::function<bool(const std::string &name)> &linkAs);

// True only the first time it is asked about `folder` in this process: the leftovers of a
// folder are swept once, as a long run writes thousands of files into one folder. Any thread
// may ask.
bool FirstSweepOf(const std::string &folder);

} // namespace reelcraft

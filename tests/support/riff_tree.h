// SPDX-License-Identifier: MIT
#pragma once

#include "tests/support/files.h"

#include <cstdint>
#include <string>
#include <vector>

namespace reelcraft::test {

// A RIFF file taken apart for checking headers field by field.
struct RiffChunk {
  std::string id;       // "RIFF", "LIST", "strh", "00dc"
  std::string listType; // "AVI ", "hdrl", "movi" for RIFF and LIST chunks
  uint64_t offset = 0;  // of the chunk's header in the file
  uint32_t size = 0;    // as the header gives it
  Bytes data;           // the data of a chunk that is not a list
  std::vector<RiffChunk> children;

  // The n-th child with this id, or for lists this list type; throws when there is none.
  const RiffChunk &Child(const std::string &idOrListType, int n = 0) const;
  int Count(const std::string &idOrListType) const;
  uint16_t U16(size_t at) const;
  uint32_t U32(size_t at) const;
  uint64_t U64(size_t at) const;
};

// The file's top-level chunks (its RIFF parts); throws when a chunk runs past the end.
RiffChunk ParseRiffFile(const std::string &path);

} // namespace reelcraft::test

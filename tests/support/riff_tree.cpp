// SPDX-License-Identifier: MIT
#include "tests/support/riff_tree.h"

#include <stdexcept>

namespace reelcraft::test {

namespace {

uint32_t Le32(const Bytes &bytes, size_t at) {
  if (at + 4 > bytes.size())
    throw std::out_of_range("RIFF read past the end");
  return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
         uint32_t(bytes[at + 3]) << 24;
}

std::vector<RiffChunk> ParseChunks(const Bytes &file, uint64_t begin, uint64_t end) {
  std::vector<RiffChunk> chunks;
  while (begin + 8 <= end) {
    RiffChunk chunk;
    chunk.id.assign(reinterpret_cast<const char *>(&file[begin]), 4);
    chunk.offset = begin;
    chunk.size = Le32(file, begin + 4);
    uint64_t dataEnd = begin + 8 + chunk.size;
    if (dataEnd > end)
      throw std::runtime_error("chunk " + chunk.id + " runs past its parent");
    if (chunk.id == "RIFF" || chunk.id == "LIST") {
      chunk.listType.assign(reinterpret_cast<const char *>(&file[begin + 8]), 4);
      chunk.children = ParseChunks(file, begin + 12, dataEnd);
    } else {
      chunk.data.assign(file.begin() + long(begin + 8), file.begin() + long(dataEnd));
    }
    begin = dataEnd + (chunk.size & 1);
    chunks.push_back(std::move(chunk));
  }
  return chunks;
}

bool Matches(const RiffChunk &chunk, const std::string &idOrListType) {
  return chunk.id == idOrListType || chunk.listType == idOrListType;
}

} // namespace

const RiffChunk &RiffChunk::Child(const std::string &idOrListType, int n) const {
  for (const RiffChunk &child : children) {
    if (Matches(child, idOrListType) && n-- == 0)
      return child;
  }
  throw std::runtime_error("no chunk " + idOrListType + " in " + id + " " + listType);
}

int RiffChunk::Count(const std::string &idOrListType) const {
  int count = 0;
  for (const RiffChunk &child : children)
    count += Matches(child, idOrListType);
  return count;
}

uint16_t RiffChunk::U16(size_t at) const {
  if (at + 2 > data.size())
    throw std::out_of_range("RIFF read past the end");
  return uint16_t(data[at] | data[at + 1] << 8);
}
uint32_t RiffChunk::U32(size_t at) const { return Le32(data, at); }
uint64_t RiffChunk::U64(size_t at) const { return U32(at) | uint64_t(U32(at + 4)) << 32; }

RiffChunk ParseRiffFile(const std::string &path) {
  Bytes file = ReadFileBytes(path);
  RiffChunk root;
  root.id = "file";
  root.size = uint32_t(file.size());
  root.children = ParseChunks(file, 0, file.size());
  return root;
}

} // namespace reelcraft::test

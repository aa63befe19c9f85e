// SPDX-License-Identifier: MIT
#pragma once

// The records of a RIFF AVI file with OpenDML indexes as this writer lays them out, shared by
// the writer and by the reader that opens a finished file again.

#include "avi/avi_file.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace reelcraft::avi {

constexpr uint32_t kRiff = MakeFourCC("RIFF");
constexpr uint32_t kList = MakeFourCC("LIST");
constexpr uint32_t kJunk = MakeFourCC("JUNK");
constexpr uint32_t kAvi = MakeFourCC("AVI ");
constexpr uint32_t kAvix = MakeFourCC("AVIX");
constexpr uint32_t kHdrl = MakeFourCC("hdrl");
constexpr uint32_t kAvih = MakeFourCC("avih");
constexpr uint32_t kStrl = MakeFourCC("strl");
constexpr uint32_t kStrh = MakeFourCC("strh");
constexpr uint32_t kStrf = MakeFourCC("strf");
constexpr uint32_t kStrn = MakeFourCC("strn");
constexpr uint32_t kIndx = MakeFourCC("indx");
constexpr uint32_t kOdml = MakeFourCC("odml");
constexpr uint32_t kDmlh = MakeFourCC("dmlh");
constexpr uint32_t kMovi = MakeFourCC("movi");
constexpr uint32_t kIdx1 = MakeFourCC("idx1");
constexpr uint32_t kVids = MakeFourCC("vids");
constexpr uint32_t kAuds = MakeFourCC("auds");

constexpr uint32_t AVIF_HASINDEX = 0x10;
constexpr uint8_t AVI_INDEX_OF_INDEXES = 0;
constexpr uint8_t AVI_INDEX_OF_CHUNKS = 1;
// An index's wLongsPerEntry: the size of its entries in 32-bit words.
constexpr uint16_t kSuperIndexLongsPerEntry = 4;
constexpr uint16_t kStdIndexLongsPerEntry = 2;
// In a standard index entry's size: the chunk is not a key frame.
constexpr uint32_t kNotKeyFrame = 0x80000000u;

constexpr uint32_t kChunkHeaderSize = 8;
constexpr uint32_t kListHeaderSize = 12;
constexpr uint32_t kMainHeaderSize = 56;
constexpr uint32_t kStreamHeaderSize = 56;
constexpr uint32_t kDmlhSize = 248;
constexpr uint32_t kIndexHeaderSize = 24; // shared by super and standard indexes
constexpr uint32_t kSuperIndexEntrySize = 4 * kSuperIndexLongsPerEntry;
constexpr uint32_t kStdIndexEntrySize = 4 * kStdIndexLongsPerEntry;
constexpr uint32_t kIdx1EntrySize = 16;
// Every super index is written at full size, so the header's length does not change as parts
// are added; 256 parts of 1 GiB cover far more than a clip can hold.
constexpr uint32_t kSuperIndexEntries = 256;
constexpr uint32_t kSuperIndexSize = kIndexHeaderSize + kSuperIndexEntries * kSuperIndexEntrySize;
// Chunk sizes keep bit 31 free for the standard index's key-frame bit.
constexpr uint32_t kMaxChunkSize = 0x7FFFFFFFu - kChunkHeaderSize;
constexpr uint32_t kMaxStreams = 100; // chunk ids carry two digits
// Header room kept free when a file is created, so that a finished file can take one more
// stream: a strl with strh, a strf of up to 64 bytes, a strn of up to 64 bytes and an indx.
constexpr uint32_t kSpareStreamRoom = kListHeaderSize + kChunkHeaderSize + kStreamHeaderSize +
                                      kChunkHeaderSize + 64 + kChunkHeaderSize + 64 +
                                      kChunkHeaderSize + kSuperIndexSize;

// One chunk of a stream: where its header is in the file, its data size, whether it is a key
// frame. Kept compact: the index is the only part of the writer that grows with the clip.
struct IndexEntry {
  uint64_t offset = 0;
  uint32_t size = 0;
  bool keyFrame = false;
};
static_assert(sizeof(IndexEntry) == 16, "the index may grow by 16 bytes a chunk, no more");

// One standard index chunk (ix##) of a stream, as its super index lists it.
struct SuperIndexEntry {
  uint64_t offset = 0;
  uint32_t size = 0;
  uint32_t duration = 0;
};

struct StreamRecord {
  AviStreamInfo info;
  std::vector<uint8_t> format;
  std::vector<IndexEntry> entries;         // every chunk, in file order
  std::vector<SuperIndexEntry> superIndex; // standard indexes of the finished parts
  size_t partFirstEntry = 0;               // first entry of the part being written
};

// A RIFF part: the first is "AVI ", the others "AVIX".
struct RiffPart {
  uint64_t riffStart = 0;
  uint64_t moviStart = 0; // position of the "movi" code, which idx1 offsets count from
};

// What the writer knows about a file; the header is rebuilt from it when the file is finished.
struct FileRecord {
  std::vector<StreamRecord> streams;
  std::vector<RiffPart> parts;
  uint64_t headerRoom = 0; // bytes from the hdrl list to the first movi list
};

constexpr uint64_t kHeaderStart = kListHeaderSize; // the hdrl list follows "RIFF" size "AVI "

inline uint64_t Padded(uint32_t size) { return uint64_t(size) + (size & 1); }

// "00dc", "01wb": the stream's number and its kind of data.
inline uint32_t ChunkId(size_t stream, uint32_t fccType) {
  char code[5] = {char('0' + stream / 10 % 10), char('0' + stream % 10), 'd', 'c', 0};
  if (fccType == kAuds) {
    code[2] = 'w';
    code[3] = 'b';
  }
  return MakeFourCC(code);
}

inline uint32_t IndexChunkId(size_t stream) {
  const char code[5] = {'i', 'x', char('0' + stream / 10 % 10), char('0' + stream % 10), 0};
  return MakeFourCC(code);
}

inline void PutU32(uint8_t *p, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    p[i] = uint8_t(v >> (8 * i));
}
inline uint16_t GetU16(const uint8_t *p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t GetU32(const uint8_t *p) { return GetU16(p) | uint32_t(GetU16(p + 2)) << 16; }
inline uint64_t GetU64(const uint8_t *p) { return GetU32(p) | uint64_t(GetU32(p + 4)) << 32; }

// Little-endian bytes appended to a record under construction.
class RecordBuilder {
public:
  RecordBuilder &U8(uint8_t v) {
    bytes_.push_back(v);
    return *this;
  }
  RecordBuilder &U16(uint16_t v) { return U8(uint8_t(v)).U8(uint8_t(v >> 8)); }
  RecordBuilder &U32(uint32_t v) { return U16(uint16_t(v)).U16(uint16_t(v >> 16)); }
  RecordBuilder &U64(uint64_t v) { return U32(uint32_t(v)).U32(uint32_t(v >> 32)); }
  RecordBuilder &Bytes(const void *data, size_t size) {
    auto p = static_cast<const uint8_t *>(data);
    bytes_.insert(bytes_.end(), p, p + size);
    return *this;
  }
  RecordBuilder &Zeros(size_t count) {
    bytes_.resize(bytes_.size() + count);
    return *this;
  }
  size_t size() const { return bytes_.size(); }
  std::vector<uint8_t> &bytes() { return bytes_; }

  // Starts a chunk and gives where its data begins, for EndChunk.
  size_t BeginChunk(uint32_t fourcc) {
    U32(fourcc).U32(0);
    return size();
  }
  size_t BeginList(uint32_t listType) {
    size_t start = BeginChunk(kList);
    U32(listType);
    return start;
  }
  // Writes the chunk's size and pads its data to an even length.
  void EndChunk(size_t dataStart) {
    uint32_t size = uint32_t(bytes_.size() - dataStart);
    PutU32(&bytes_[dataStart - 4], size);
    if (size & 1)
      U8(0);
  }

private:
  std::vector<uint8_t> bytes_;
};

} // namespace reelcraft::avi

// SPDX-License-Identifier: MIT
#include "avi/avi_reopen.h"

#include "avi/avi_header.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace reelcraft::avi {

namespace {

// Header lists beyond this are not ours.
constexpr uint64_t kMaxHeaderRoom = uint64_t(1) << 24;

class FileReader {
public:
  explicit FileReader(int fd) : fd_(fd) {
    struct stat st {};
    size_ = ::fstat(fd, &st) == 0 ? uint64_t(st.st_size) : 0;
  }
  uint64_t size() const { return size_; }

  bool Read(uint64_t position, size_t count, std::vector<uint8_t> &out) const {
    if (position > size_ || count > size_ - position)
      return false;
    out.resize(count);
    size_t done = 0;
    while (done < count) {
      ssize_t n = ::pread(fd_, out.data() + done, count - done, off_t(position + done));
      if (n < 0 && errno == EINTR)
        continue;
      if (n <= 0)
        return false;
      done += size_t(n);
    }
    return true;
  }

private:
  int fd_;
  uint64_t size_;
};

struct ChunkView {
  uint32_t id;
  const uint8_t *data;
  uint32_t size;
};

// Calls `visit` for each chunk in `size` bytes at `data`; false when a chunk runs past them.
template <typename Visit> bool ForEachChunk(const uint8_t *data, size_t size, Visit visit) {
  size_t pos = 0;
  while (size - pos >= kChunkHeaderSize) {
    uint32_t chunkSize = GetU32(data + pos + 4);
    if (chunkSize > size - pos - kChunkHeaderSize)
      return false;
    if (!visit(ChunkView{GetU32(data + pos), data + pos + kChunkHeaderSize, chunkSize}))
      return false;
    pos += kChunkHeaderSize + uint64_t(chunkSize) + (chunkSize & 1);
    pos = std::min(pos, size);
  }
  return true;
}

bool IsList(const ChunkView &chunk, uint32_t listType) {
  return chunk.id == kList && chunk.size >= 4 && GetU32(chunk.data) == listType;
}

bool ParseSuperIndex(const ChunkView &indx, StreamRecord &stream) {
  if (indx.size < kIndexHeaderSize ||
      GetU16(indx.data) != kSuperIndexLongsPerEntry || // wLongsPerEntry
      indx.data[3] != AVI_INDEX_OF_INDEXES)            // bIndexType
    return false;
  uint32_t count = GetU32(indx.data + 4); // nEntriesInUse
  if (count > kSuperIndexEntries || count > (indx.size - kIndexHeaderSize) / kSuperIndexEntrySize)
    return false;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t *e = indx.data + kIndexHeaderSize + i * kSuperIndexEntrySize;
    stream.superIndex.push_back({GetU64(e),        // qwOffset
                                 GetU32(e + 8),    // dwSize
                                 GetU32(e + 12)}); // dwDuration
  }
  return true;
}

std::optional<StreamRecord> ParseStreamList(const ChunkView &strl) {
  StreamRecord stream;
  bool haveHeader = false, haveIndex = false;
  bool ok = ForEachChunk(strl.data + 4, strl.size - 4, [&](const ChunkView &chunk) {
    if (chunk.id == kStrh) {
      if (chunk.size < kStreamHeaderSize)
        return false;
      std::string name = std::move(stream.info.szName);
      stream.info = ParseStreamHeader(chunk.data);
      stream.info.szName = std::move(name);
      haveHeader = true;
    } else if (chunk.id == kStrf) {
      stream.format.assign(chunk.data, chunk.data + chunk.size);
    } else if (chunk.id == kStrn) {
      auto end = std::find(chunk.data, chunk.data + chunk.size, uint8_t(0));
      stream.info.szName.assign(chunk.data, end);
    } else if (chunk.id == kIndx) {
      haveIndex = ParseSuperIndex(chunk, stream);
      return haveIndex;
    }
    return true;
  });
  if (!ok || !haveHeader || !haveIndex)
    return std::nullopt;
  return stream;
}

bool ParseHeaderList(const std::vector<uint8_t> &hdrl, FileRecord &file) {
  return ForEachChunk(hdrl.data() + 4, hdrl.size() - 4, [&](const ChunkView &chunk) {
    if (!IsList(chunk, kStrl))
      return true;
    std::optional<StreamRecord> stream = ParseStreamList(chunk);
    if (!stream || file.streams.size() == kMaxStreams)
      return false;
    file.streams.push_back(std::move(*stream));
    return true;
  });
}

// The first RIFF part: "RIFF" size "AVI ", the hdrl list, filler, then the movi list.
bool ReadFirstPart(const FileReader &reader, FileRecord &file) {
  std::vector<uint8_t> bytes;
  if (!reader.Read(0, kListHeaderSize + kListHeaderSize, bytes))
    return false;
  bool riff = GetU32(&bytes[0]) == kRiff && GetU32(&bytes[8]) == kAvi; // "RIFF" size "AVI "
  if (!riff || !IsList({GetU32(&bytes[12]), &bytes[20], 4}, kHdrl))    // "LIST" size "hdrl"
    return false;
  uint32_t hdrlSize = GetU32(&bytes[16]);
  if (hdrlSize < 4 || hdrlSize > kMaxHeaderRoom ||
      !reader.Read(kHeaderStart + kChunkHeaderSize, hdrlSize, bytes) ||
      !ParseHeaderList(bytes, file))
    return false;
  uint64_t pos = kHeaderStart + kChunkHeaderSize + Padded(hdrlSize);
  while (pos - kHeaderStart <= kMaxHeaderRoom && reader.Read(pos, kListHeaderSize, bytes)) {
    if (IsList({GetU32(&bytes[0]), &bytes[8], 4}, kMovi)) { // "LIST" size "movi"
      file.headerRoom = pos - kHeaderStart;
      file.parts.push_back({0, pos + kChunkHeaderSize});
      return true;
    }
    pos += kChunkHeaderSize + Padded(GetU32(&bytes[4])); // past a chunk of filler
  }
  return false;
}

// The "RIFF" size "AVIX" parts that follow the first, each starting with its movi list.
bool ReadFurtherParts(const FileReader &reader, FileRecord &file) {
  std::vector<uint8_t> bytes;
  uint64_t pos = 0;
  while (true) {
    if (!reader.Read(pos, kChunkHeaderSize, bytes))
      return false;
    pos += kChunkHeaderSize + Padded(GetU32(&bytes[4]));
    if (pos >= reader.size())
      return pos == reader.size() || pos == reader.size() + 1;
    if (!reader.Read(pos, 2 * kListHeaderSize, bytes))
      return false;
    bool riff = GetU32(&bytes[0]) == kRiff && GetU32(&bytes[8]) == kAvix; // "RIFF" size "AVIX"
    bool movi = IsList({GetU32(&bytes[12]), &bytes[20], 4}, kMovi);       // "LIST" size "movi"
    if (!riff || !movi || file.parts.size() == kSuperIndexEntries)
      return false;
    file.parts.push_back({pos, pos + kListHeaderSize + kChunkHeaderSize});
  }
}

// Appends the entries of the standard index that `ref` points to.
bool ReadStandardIndex(const FileReader &reader, const SuperIndexEntry &ref, size_t number,
                       StreamRecord &stream) {
  std::vector<uint8_t> bytes;
  if (ref.size < kChunkHeaderSize + kIndexHeaderSize || !reader.Read(ref.offset, ref.size, bytes))
    return false;
  uint32_t count = GetU32(&bytes[12]);               // nEntriesInUse
  if (GetU32(&bytes[0]) != IndexChunkId(number) ||   // fcc
      GetU16(&bytes[8]) != kStdIndexLongsPerEntry || // wLongsPerEntry
      bytes[11] != AVI_INDEX_OF_CHUNKS ||            // bIndexType
      count > (ref.size - kChunkHeaderSize - kIndexHeaderSize) / kStdIndexEntrySize)
    return false;
  uint64_t base = GetU64(&bytes[20]); // qwBaseOffset
  if (base > reader.size())
    return false;
  uint64_t end = stream.entries.empty() ? 0
                                        : stream.entries.back().offset + kChunkHeaderSize +
                                              Padded(stream.entries.back().size);
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t *e = &bytes[kChunkHeaderSize + kIndexHeaderSize + i * kStdIndexEntrySize];
    uint32_t size = GetU32(e + 4) & ~kNotKeyFrame;         // dwSize
    uint64_t offset = base + GetU32(e) - kChunkHeaderSize; // dwOffset, of the data
    // Chunks come in file order and lie inside the file.
    if (base + GetU32(e) < kChunkHeaderSize || offset < end ||
        offset + kChunkHeaderSize + size > reader.size())
      return false;
    stream.entries.push_back({offset, size, (GetU32(e + 4) & kNotKeyFrame) == 0});
    end = offset + kChunkHeaderSize + Padded(size);
  }
  return true;
}

// Drops the last part's standard indexes and gives the end of its last data chunk.
uint64_t ReopenLastPart(FileRecord &file) {
  const RiffPart &last = file.parts.back();
  uint64_t appendAt = last.moviStart + 4;
  for (StreamRecord &stream : file.streams) {
    std::erase_if(stream.superIndex,
                  [&](const SuperIndexEntry &e) { return e.offset >= last.riffStart; });
    auto first =
        std::partition_point(stream.entries.begin(), stream.entries.end(),
                             [&](const IndexEntry &e) { return e.offset < last.moviStart; });
    stream.partFirstEntry = size_t(first - stream.entries.begin());
    if (first != stream.entries.end()) {
      const IndexEntry &e = stream.entries.back();
      appendAt = std::max(appendAt, e.offset + kChunkHeaderSize + Padded(e.size));
    }
  }
  return appendAt;
}

} // namespace

std::optional<ReopenedFile> ReadFinishedFile(int fd) {
  FileReader reader(fd);
  ReopenedFile reopened;
  FileRecord &file = reopened.record;
  if (!ReadFirstPart(reader, file) || !ReadFurtherParts(reader, file))
    return std::nullopt;
  for (size_t i = 0; i < file.streams.size(); ++i) {
    for (const SuperIndexEntry &ref : file.streams[i].superIndex) {
      if (!ReadStandardIndex(reader, ref, i, file.streams[i]))
        return std::nullopt;
    }
  }
  reopened.appendAt = ReopenLastPart(file);
  return reopened;
}

} // namespace reelcraft::avi

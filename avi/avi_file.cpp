// SPDX-License-Identifier: MIT
#include "avi/avi_file.h"

#include "avi/avi_header.h"
#include "avi/avi_layout.h"
#include "avi/avi_output.h"
#include "sys/raw_file.h"

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace reelcraft {

namespace {

using namespace avi;

// Parts stay well below 4 GiB, and offsets within a part fit the indexes' 32 bits.
constexpr uint64_t kMaxPartLimit = uint64_t(1) << 31;

class AviWriter final : public AviFile {
public:
  AviWriter(int fd, const AviWriterOptions &options)
      : out_(fd, 0), partLimit_(std::min(options.riffPartLimit, kMaxPartLimit)) {}
  ~AviWriter() override {
    if (!released_)
      Release();
  }

  int CreateStream(const AviStreamInfo &info) override;
  bool SetFormat(int stream, const void *format, size_t size) override;
  bool Write(int stream, uint32_t start, uint32_t samples, const void *data, uint32_t size,
             uint32_t flags) override;
  bool WriteInPlace(int stream, uint32_t start, uint32_t samples, const void *data, uint32_t size,
                    uint32_t flags) override;
  bool WriteOutInPlace() override;
  bool WriteFrom(int stream, uint32_t start, uint32_t samples, uint32_t size, uint32_t flags,
                 const AviChunkSource &source) override;
  bool Release() override;
  int error() const override { return out_.error(); }

private:
  bool Usable() const { return !released_ && !out_.failed(); }
  bool IsStream(int stream) const { return stream >= 0 && size_t(stream) < file_.streams.size(); }
  template <typename Body>
  bool AppendChunk(int stream, uint32_t start, uint32_t samples, uint32_t size, uint32_t flags,
                   Body body);
  bool MakeRoomFor(uint32_t size);
  uint64_t PartSizeWith(uint32_t size) const;
  void AppendListHeader(uint32_t id, uint32_t listType);
  void StartFile();
  void StartMovi(uint64_t riffStart);
  void FinishPart();
  void WriteStandardIndex(size_t number);
  void WriteLegacyIndex();

  AviOutput out_;
  FileRecord file_;
  uint64_t partLimit_;
  bool released_ = false;
};

int AviWriter::CreateStream(const AviStreamInfo &info) {
  if (!Usable() || file_.streams.size() == kMaxStreams)
    return -1;
  file_.streams.push_back(StreamRecord{info, {}, {}, {}, 0});
  if (!HeaderFits(file_)) {
    file_.streams.pop_back();
    return -1;
  }
  return int(file_.streams.size() - 1);
}

bool AviWriter::SetFormat(int stream, const void *format, size_t size) {
  if (!Usable() || !IsStream(stream))
    return false;
  std::vector<uint8_t> &kept = file_.streams[size_t(stream)].format;
  std::vector<uint8_t> previous = std::move(kept);
  auto bytes = static_cast<const uint8_t *>(format);
  kept.assign(bytes, bytes + size);
  if (HeaderFits(file_))
    return true;
  kept = std::move(previous);
  return false;
}

bool AviWriter::Write(int stream, uint32_t start, uint32_t samples, const void *data, uint32_t size,
                      uint32_t flags) {
  return AppendChunk(stream, start, samples, size, flags, [&] {
    out_.Append(data, size);
    return true;
  });
}

bool AviWriter::WriteInPlace(int stream, uint32_t start, uint32_t samples, const void *data,
                             uint32_t size, uint32_t flags) {
  return AppendChunk(stream, start, samples, size, flags, [&] {
    out_.AppendInPlace(data, size);
    return true;
  });
}

bool AviWriter::WriteOutInPlace() {
  out_.Flush();
  return !out_.failed();
}

bool AviWriter::WriteFrom(int stream, uint32_t start, uint32_t samples, uint32_t size,
                          uint32_t flags, const AviChunkSource &source) {
  return AppendChunk(stream, start, samples, size, flags,
                     [&] { return out_.AppendFrom(size, source); });
}

// `body` appends the chunk's data; when it fails without a write error, the chunk is taken
// back and the file stays as it was.
template <typename Body>
bool AviWriter::AppendChunk(int stream, uint32_t start, uint32_t samples, uint32_t size,
                            uint32_t flags, Body body) {
  if (!Usable() || !IsStream(stream) || size > kMaxChunkSize)
    return false;
  if (file_.parts.empty())
    StartFile();
  if (!MakeRoomFor(size))
    return false;
  StreamRecord &record = file_.streams[size_t(stream)];
  uint64_t at = out_.position();
  uint8_t header[kChunkHeaderSize];
  PutU32(header, ChunkId(size_t(stream), record.info.fccType)); // ckid
  PutU32(header + 4, size);                                     // cksize
  out_.Append(header, sizeof header);
  if (!body()) {
    out_.Rewind(at);
    return false;
  }
  out_.AppendZeros(size & 1);
  if (out_.failed())
    return false;
  record.entries.push_back({at, size, (flags & AVIIF_KEYFRAME) != 0});
  AviStreamInfo &info = record.info;
  info.dwLength = uint32_t(
      std::min<uint64_t>(UINT32_MAX, std::max<uint64_t>(info.dwLength, uint64_t(start) + samples)));
  info.dwSuggestedBufferSize = std::max(info.dwSuggestedBufferSize, size);
  return true;
}

// Starts the next RIFF part when the chunk would take this one past the limit.
bool AviWriter::MakeRoomFor(uint32_t size) {
  bool partHasChunks = out_.position() > file_.parts.back().moviStart + 4;
  if (!partHasChunks || PartSizeWith(size) <= partLimit_)
    return true;
  if (file_.parts.size() == kSuperIndexEntries)
    return false;
  FinishPart();
  uint64_t riffStart = out_.position();
  AppendListHeader(kRiff, kAvix);
  StartMovi(riffStart);
  return !out_.failed();
}

// The size the current part would have with one more chunk and its indexes.
uint64_t AviWriter::PartSizeWith(uint32_t size) const {
  uint64_t chunks = 1;
  for (const StreamRecord &stream : file_.streams)
    chunks += stream.entries.size() - stream.partFirstEntry;
  uint64_t indexes =
      file_.streams.size() * (kChunkHeaderSize + kIndexHeaderSize) + chunks * kStdIndexEntrySize;
  if (file_.parts.size() == 1)
    indexes += kChunkHeaderSize + chunks * kIdx1EntrySize;
  return out_.position() + kChunkHeaderSize + Padded(size) + indexes - file_.parts.back().riffStart;
}

void AviWriter::AppendListHeader(uint32_t id, uint32_t listType) {
  uint8_t header[kListHeaderSize];
  PutU32(header, id);           // "RIFF" or "LIST"
  PutU32(header + 4, 0);        // its size: set when the list is finished
  PutU32(header + 8, listType); // the RIFF form or list type
  out_.Append(header, sizeof header);
}

// "RIFF" size "AVI ", room for the header (filled in when the file is finished), the movi list.
void AviWriter::StartFile() {
  AppendListHeader(kRiff, kAvi);
  file_.headerRoom = HeaderRoomFor(file_);
  uint8_t junk[kChunkHeaderSize];
  PutU32(junk, kJunk);                                             // ckid
  PutU32(junk + 4, uint32_t(file_.headerRoom - kChunkHeaderSize)); // cksize
  out_.Append(junk, sizeof junk);
  out_.AppendZeros(file_.headerRoom - kChunkHeaderSize);
  StartMovi(0);
}

void AviWriter::StartMovi(uint64_t riffStart) {
  AppendListHeader(kList, kMovi);
  file_.parts.push_back({riffStart, out_.position() - 4});
  for (StreamRecord &stream : file_.streams)
    stream.partFirstEntry = stream.entries.size();
}

// Ends the current part: its standard indexes inside movi, then idx1 for the first part.
void AviWriter::FinishPart() {
  const RiffPart part = file_.parts.back();
  for (size_t i = 0; i < file_.streams.size(); ++i) {
    if (file_.streams[i].entries.size() > file_.streams[i].partFirstEntry)
      WriteStandardIndex(i);
  }
  // The sizes of the movi list and of the RIFF part, now that they are known.
  out_.WriteU32At(part.moviStart - 4, uint32_t(out_.position() - part.moviStart));
  if (file_.parts.size() == 1)
    WriteLegacyIndex();
  out_.WriteU32At(part.riffStart + 4,
                  uint32_t(out_.position() - part.riffStart - kChunkHeaderSize));
}

void AviWriter::WriteStandardIndex(size_t number) {
  StreamRecord &stream = file_.streams[number];
  const uint64_t base = file_.parts.back().moviStart;
  const uint32_t count = uint32_t(stream.entries.size() - stream.partFirstEntry);
  const uint32_t size = kIndexHeaderSize + count * kStdIndexEntrySize;
  const uint64_t at = out_.position();
  RecordBuilder header;
  header.U32(IndexChunkId(number));                 // fcc
  header.U32(size);                                 // cb
  header.U16(kStdIndexLongsPerEntry);               // wLongsPerEntry
  header.U8(0);                                     // bIndexSubType
  header.U8(AVI_INDEX_OF_CHUNKS);                   // bIndexType
  header.U32(count);                                // nEntriesInUse
  header.U32(ChunkId(number, stream.info.fccType)); // dwChunkId
  header.U64(base);                                 // qwBaseOffset
  header.U32(0);                                    // dwReserved3
  out_.Append(header.bytes().data(), header.size());
  uint64_t bytes = 0;
  for (size_t i = stream.partFirstEntry; i < stream.entries.size(); ++i) {
    const IndexEntry &entry = stream.entries[i];
    uint8_t e[kStdIndexEntrySize];
    PutU32(e, uint32_t(entry.offset + kChunkHeaderSize - base));     // dwOffset: of the data
    PutU32(e + 4, entry.size | (entry.keyFrame ? 0 : kNotKeyFrame)); // dwSize
    out_.Append(e, sizeof e);
    bytes += entry.size;
  }
  uint32_t sampleSize = stream.info.dwSampleSize;
  uint32_t duration = sampleSize != 0 ? uint32_t(bytes / sampleSize) : count;
  stream.superIndex.push_back({at, kChunkHeaderSize + size, duration});
}

// idx1: every chunk of the first part in file order, offsets counted from "movi".
void AviWriter::WriteLegacyIndex() {
  const uint64_t movi = file_.parts.front().moviStart;
  size_t total = 0;
  for (const StreamRecord &stream : file_.streams)
    total += stream.entries.size();
  uint8_t header[kChunkHeaderSize];
  PutU32(header, kIdx1);                                // ckid
  PutU32(header + 4, uint32_t(total * kIdx1EntrySize)); // cksize
  out_.Append(header, sizeof header);
  std::vector<size_t> next(file_.streams.size(), 0);
  for (size_t n = 0; n < total; ++n) {
    size_t pick = 0;
    uint64_t best = UINT64_MAX;
    for (size_t i = 0; i < file_.streams.size(); ++i) {
      const auto &entries = file_.streams[i].entries;
      if (next[i] < entries.size() && entries[next[i]].offset < best) {
        best = entries[next[i]].offset;
        pick = i;
      }
    }
    const StreamRecord &stream = file_.streams[pick];
    const IndexEntry &entry = stream.entries[next[pick]++];
    uint8_t e[kIdx1EntrySize];
    PutU32(e, ChunkId(pick, stream.info.fccType));      // dwChunkId
    PutU32(e + 4, entry.keyFrame ? AVIIF_KEYFRAME : 0); // dwFlags
    PutU32(e + 8, uint32_t(entry.offset - movi));       // dwOffset: of the chunk's header
    PutU32(e + 12, entry.size);                         // dwSize
    out_.Append(e, sizeof e);
  }
}

bool AviWriter::Release() {
  if (released_)
    return false;
  released_ = true;
  bool headerWritten = false;
  if (!out_.failed()) {
    if (file_.parts.empty())
      StartFile();
    FinishPart();
    std::vector<uint8_t> header = BuildHeader(file_);
    out_.WriteAt(kHeaderStart, header.data(), header.size());
    headerWritten = !header.empty();
  }
  return out_.Close() && headerWritten;
}

} // namespace

std::unique_ptr<AviFile> AviFile::Create(const FileRef &file, const AviWriterOptions &options) {
  int fd = OpenForRewrite(file, O_RDWR, 0666);
  if (fd < 0)
    return nullptr;
  return std::make_unique<AviWriter>(fd, options);
}

} // namespace reelcraft

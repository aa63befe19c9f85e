// SPDX-License-Identifier: MIT
#include "avi/avi_header.h"

#include <algorithm>

namespace reelcraft::avi {

namespace {

const StreamRecord *FirstVideo(const FileRecord &file) {
  for (const StreamRecord &stream : file.streams) {
    if (stream.info.fccType == kVids)
      return &stream;
  }
  return nullptr;
}

// Frames of the first video stream before `end` (a file position).
uint32_t VideoFramesBefore(const FileRecord &file, uint64_t end) {
  const StreamRecord *video = FirstVideo(file);
  if (!video)
    return 0;
  auto last = std::partition_point(video->entries.begin(), video->entries.end(),
                                   [end](const IndexEntry &e) { return e.offset < end; });
  return uint32_t(last - video->entries.begin());
}

uint32_t Side(int32_t low, int32_t high) { return high > low ? uint32_t(high - low) : 0; }

void AppendMainHeader(RecordBuilder &b, const FileRecord &file) {
  const StreamRecord *video = FirstVideo(file);
  uint32_t microSecPerFrame = 0, width = 0, height = 0;
  if (video) {
    const AviStreamInfo &info = video->info;
    if (info.dwRate != 0)
      microSecPerFrame = uint32_t(uint64_t(1000000) * info.dwScale / info.dwRate);
    width = Side(info.rcFrame.left, info.rcFrame.right);
    height = Side(info.rcFrame.top, info.rcFrame.bottom);
  }
  uint32_t largestChunk = 0;
  for (const StreamRecord &stream : file.streams)
    largestChunk = std::max(largestChunk, stream.info.dwSuggestedBufferSize);
  uint64_t firstPartEnd = file.parts.size() > 1 ? file.parts[1].riffStart : UINT64_MAX;

  size_t avih = b.BeginChunk(kAvih);
  b.U32(microSecPerFrame);                      // dwMicroSecPerFrame
  b.U32(0);                                     // dwMaxBytesPerSec
  b.U32(0);                                     // dwPaddingGranularity
  b.U32(AVIF_HASINDEX);                         // dwFlags
  b.U32(VideoFramesBefore(file, firstPartEnd)); // dwTotalFrames: of the first part alone
  b.U32(0);                                     // dwInitialFrames
  b.U32(uint32_t(file.streams.size()));         // dwStreams
  b.U32(largestChunk);                          // dwSuggestedBufferSize
  b.U32(width);                                 // dwWidth
  b.U32(height);                                // dwHeight
  b.Zeros(16);                                  // dwReserved[4]
  b.EndChunk(avih);
}

void AppendStreamHeader(RecordBuilder &b, const AviStreamInfo &info) {
  size_t strh = b.BeginChunk(kStrh);
  b.U32(info.fccType).U32(info.fccHandler).U32(info.dwFlags);
  b.U16(info.wPriority).U16(info.wLanguage).U32(info.dwInitialFrames);
  b.U32(info.dwScale).U32(info.dwRate).U32(info.dwStart).U32(info.dwLength);
  b.U32(info.dwSuggestedBufferSize).U32(info.dwQuality).U32(info.dwSampleSize);
  b.U16(uint16_t(info.rcFrame.left)).U16(uint16_t(info.rcFrame.top));
  b.U16(uint16_t(info.rcFrame.right)).U16(uint16_t(info.rcFrame.bottom));
  b.EndChunk(strh);
}

void AppendSuperIndex(RecordBuilder &b, const StreamRecord &stream, size_t number) {
  size_t indx = b.BeginChunk(kIndx);
  b.U16(kSuperIndexLongsPerEntry);             // wLongsPerEntry
  b.U8(0);                                     // bIndexSubType
  b.U8(AVI_INDEX_OF_INDEXES);                  // bIndexType
  b.U32(uint32_t(stream.superIndex.size()));   // nEntriesInUse
  b.U32(ChunkId(number, stream.info.fccType)); // dwChunkId
  b.Zeros(12);                                 // dwReserved[3]
  for (const SuperIndexEntry &entry : stream.superIndex) {
    b.U64(entry.offset);   // aIndex[].qwOffset
    b.U32(entry.size);     // aIndex[].dwSize
    b.U32(entry.duration); // aIndex[].dwDuration
  }
  // The unused entries, which keep the header's length as parts are added.
  b.Zeros((kSuperIndexEntries - stream.superIndex.size()) * kSuperIndexEntrySize);
  b.EndChunk(indx);
}

void AppendStreamList(RecordBuilder &b, const StreamRecord &stream, size_t number) {
  size_t strl = b.BeginList(kStrl);
  AppendStreamHeader(b, stream.info);
  size_t strf = b.BeginChunk(kStrf);
  b.Bytes(stream.format.data(), stream.format.size());
  b.EndChunk(strf);
  size_t strn = b.BeginChunk(kStrn);
  b.Bytes(stream.info.szName.c_str(), stream.info.szName.size() + 1);
  b.EndChunk(strn);
  AppendSuperIndex(b, stream, number);
  b.EndChunk(strl);
}

// `dmlhExtra` lengthens the dmlh record, whose tail is reserved, to take up a few bytes of
// room that are too few for a JUNK chunk.
std::vector<uint8_t> BuildHeaderList(const FileRecord &file, uint64_t dmlhExtra) {
  RecordBuilder b;
  size_t hdrl = b.BeginList(kHdrl);
  AppendMainHeader(b, file);
  for (size_t i = 0; i < file.streams.size(); ++i)
    AppendStreamList(b, file.streams[i], i);
  size_t odml = b.BeginList(kOdml);
  size_t dmlh = b.BeginChunk(kDmlh);
  b.U32(VideoFramesBefore(file, UINT64_MAX)); // dwTotalFrames: of the whole file
  b.Zeros(kDmlhSize - 4 + dmlhExtra);         // dwFuture[61]
  b.EndChunk(dmlh);
  b.EndChunk(odml);
  b.EndChunk(hdrl);
  return std::move(b.bytes());
}

} // namespace

std::vector<uint8_t> BuildHeader(const FileRecord &file) {
  std::vector<uint8_t> header = BuildHeaderList(file, 0);
  if (header.size() > file.headerRoom)
    return {};
  uint64_t slack = file.headerRoom - header.size();
  if (slack > 0 && slack < kChunkHeaderSize)
    return BuildHeaderList(file, slack);
  if (slack > 0) {
    RecordBuilder junk;
    junk.U32(kJunk);                              // ckid
    junk.U32(uint32_t(slack - kChunkHeaderSize)); // cksize
    junk.Zeros(slack - kChunkHeaderSize);
    header.insert(header.end(), junk.bytes().begin(), junk.bytes().end());
  }
  return header;
}

bool HeaderFits(const FileRecord &file) {
  return file.parts.empty() || BuildHeaderList(file, 0).size() <= file.headerRoom;
}

uint64_t HeaderRoomFor(const FileRecord &file) {
  return BuildHeaderList(file, 0).size() + kSpareStreamRoom;
}

} // namespace reelcraft::avi

// SPDX-License-Identifier: MIT
#include "engine/jpeg_structure.h"

#include "engine/jpeg_markers.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace reelcraft {

namespace {

using namespace jpeg;
constexpr uint8_t kMarker = kMarkerPrefix;

// SOF0 to SOF15, which are C0 to CF less DHT, JPG (C8) and DAC.
bool IsFrameHeader(uint8_t code) {
  return code >= kBaselineFrame && code <= 0xCF && code != kHuffmanTables && code != 0xC8 &&
         code != kArithmeticConditioning;
}

// Segments that may stand before a frame or between scans: DHT, DAC, DQT, DNL, DRI, DHP, EXP,
// APP0 to APP15, COM.
bool IsTableOrMiscellany(uint8_t code) {
  return code == kHuffmanTables || code == kArithmeticConditioning ||
         (code >= kQuantisationTables && code <= 0xDF) || (code >= 0xE0 && code <= 0xEF) ||
         code == kComment;
}

// The next FF at or after `at` that is not the FF of a stuffed FF 00, or `length`. In entropy-
// coded data nearly every FF is stuffed, so the search looks at sixteen bytes at once where it
// can: every picture of a salvaged clip passes through here.
size_t NextMarker(const uint8_t *bytes, size_t at, size_t length) {
#ifdef __SSE2__
  const __m128i marker = _mm_set1_epi8(char(kMarker));
  const __m128i zero = _mm_setzero_si128();
  for (; at + 17 <= length; at += 16) {
    __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + at));
    __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + at + 1));
    int found = _mm_movemask_epi8(
        _mm_andnot_si128(_mm_cmpeq_epi8(next, zero), _mm_cmpeq_epi8(here, marker)));
    if (found != 0)
      return at + size_t(__builtin_ctz(unsigned(found)));
  }
#endif
  for (; at < length; ++at) {
    if (bytes[at] == kMarker && (at + 1 >= length || bytes[at + 1] != 0x00))
      return at;
  }
  return length;
}

class StructureCheck {
public:
  StructureCheck(const uint8_t *bytes, size_t length) : bytes_(bytes), length_(length) {}

  JpegStructure Run() {
    found_.shape = Walk();
    found_.length = found_.shape == JpegShape::Whole ? at_ : 0;
    return found_;
  }

private:
  JpegShape Walk() {
    if (length_ < 2)
      return JpegShape::Truncated;
    if (bytes_[0] != kMarker || bytes_[1] != kStartOfImage)
      return JpegShape::Broken;
    at_ = 2;
    for (;;) {
      JpegShape segment = Segment();
      if (segment != JpegShape::Whole)
        return segment;
      if (!inScan_)
        continue;
      JpegShape scan = EntropyCodedData();
      if (scan != JpegShape::Whole || ended_)
        return scan;
    }
  }

  uint16_t U16(size_t at) const { return uint16_t(bytes_[at] << 8 | bytes_[at + 1]); }

  // One marker segment at at_: a marker (after any fill bytes) and its length-counted body.
  JpegShape Segment() {
    inScan_ = false;
    if (at_ >= length_)
      return JpegShape::Truncated;
    if (bytes_[at_] != kMarker)
      return JpegShape::Broken;
    while (at_ + 1 < length_ && bytes_[at_ + 1] == kMarker)
      ++at_;
    if (at_ + 4 > length_)
      return JpegShape::Truncated;
    uint8_t code = bytes_[at_ + 1];
    if (!IsFrameHeader(code) && !IsTableOrMiscellany(code) && code != kStartOfScan)
      return JpegShape::Broken;
    size_t size = U16(at_ + 2);
    if (size < 2)
      return JpegShape::Broken;
    size_t body = at_ + 4, end = at_ + 2 + size;
    if (end > length_)
      return JpegShape::Truncated;
    size_t bodySize = size - 2;
    if (IsFrameHeader(code)) {
      // Precision, height, width, then three bytes a component. One frame a picture.
      if (found_.frameCode != 0 || bodySize < 6 || bytes_[body + 5] == 0 || U16(body + 3) == 0 ||
          bodySize != 6 + 3 * size_t(bytes_[body + 5]))
        return JpegShape::Broken;
      found_.frameCode = code;
      found_.precision = bytes_[body];
      found_.height = U16(body + 1);
      found_.width = U16(body + 3);
      found_.components = bytes_[body + 5];
    } else if (code == kRestartInterval) {
      if (bodySize != 2)
        return JpegShape::Broken;
      restarts_ = U16(body) != 0;
    } else if (code == kStartOfScan) {
      // Up to four components, two bytes each, then three bytes of spectral selection.
      size_t components = bodySize > 0 ? bytes_[body] : 0;
      if (found_.frameCode == 0 || components == 0 || components > 4 ||
          bodySize != 4 + 2 * components)
        return JpegShape::Broken;
      if (found_.scans++ == 0) {
        found_.firstScanComponents = uint8_t(components);
        found_.firstScanData = end;
      }
      inScan_ = true;
    }
    at_ = end;
    return JpegShape::Whole;
  }

  // The scan's data up to the next marker that is neither a stuffed byte nor a restart; the end
  // marker ends the picture, another marker begins the next segment.
  JpegShape EntropyCodedData() {
    uint8_t nextRestart = 0;
    for (;;) {
      at_ = NextMarker(bytes_, at_, length_);
      if (at_ + 1 >= length_)
        return JpegShape::Truncated;
      uint8_t code = bytes_[at_ + 1];
      if (code == kMarker) {
        ++at_; // a fill byte before a marker
      } else if (code >= kFirstRestart && code < kFirstRestart + kRestartCount) {
        if (!restarts_ || code != kFirstRestart + nextRestart)
          return JpegShape::Broken;
        nextRestart = uint8_t((nextRestart + 1) % kRestartCount);
        at_ += 2;
      } else if (code == kEndOfImage) {
        at_ += 2;
        ended_ = true;
        return JpegShape::Whole;
      } else {
        return JpegShape::Whole;
      }
    }
  }

  const uint8_t *bytes_;
  size_t length_;
  size_t at_ = 0;
  JpegStructure found_;
  bool restarts_ = false;
  bool inScan_ = false;
  bool ended_ = false;
};

} // namespace

JpegStructure ReadJpegStructure(const uint8_t *bytes, size_t length) {
  return StructureCheck(bytes, length).Run();
}

} // namespace reelcraft

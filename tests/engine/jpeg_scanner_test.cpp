// SPDX-License-Identifier: MIT
#include "engine/jpeg_scanner.h"
#include "tests/support/jpeg_pictures.h"

#include <gtest/gtest.h>
#include <random>

namespace reelcraft {
namespace {

using test::Bytes;

// The marker rules, one byte at a time, exactly as they read.
std::optional<PictureExtent> ReferenceLocate(const Bytes &bytes) {
  bool started = false, inTables = false;
  size_t start = 0;
  for (size_t i = 0; i + 1 < bytes.size(); ++i) {
    if (bytes[i] != 0xFF)
      continue;
    uint8_t m = bytes[i + 1];
    if (started && m == 0xDB)
      inTables = true;
    if (started && m == 0xDD)
      inTables = false;
    if (m == 0xD8 && !inTables) {
      if (started)
        return std::nullopt;
      start = i;
      started = true;
    } else if (started && m == 0xD9 && !inTables) {
      return PictureExtent{start, i - start + 2};
    }
  }
  return std::nullopt;
}

struct Found {
  bool ok = false;
  size_t start = 0;
  size_t length = 0;
  Bytes picture;
};

Found Find(const Bytes &bytes) {
  Found found;
  auto extent = FindJpegPicture(bytes.data(), bytes.size());
  if (!extent)
    return found;
  found.ok = true;
  found.start = extent->start;
  found.length = extent->length;
  found.picture.assign(bytes.begin() + long(extent->start),
                       bytes.begin() + long(extent->start + extent->length));
  return found;
}

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const auto &part : parts)
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

const Bytes kSoi = {0xFF, 0xD8}, kEoi = {0xFF, 0xD9}, kDqt = {0xFF, 0xDB}, kDri = {0xFF, 0xDD};
const Bytes kData = {0x12, 0x00, 0x34};

TEST(JpegScannerTest, TooShortStretchesHoldNothing) {
  Bytes one = {0xFF};
  EXPECT_FALSE(Find({}).ok);
  EXPECT_FALSE(Find(one).ok);
  EXPECT_FALSE(Find({0xFF, 0xD8, 0x00, 0xFF}).ok) << "a last FF has no partner";
  EXPECT_FALSE(Find({0xFF, 0xD8, 0xFF}).ok);
}

TEST(JpegScannerTest, FindsTheSmallestPictureAndCopiesIt) {
  Found found = Find(Join({kSoi, kEoi}));
  ASSERT_TRUE(found.ok);
  EXPECT_EQ(found.start, 0u);
  EXPECT_EQ(found.length, 4u);
  EXPECT_EQ(found.picture, Join({kSoi, kEoi}));
}

TEST(JpegScannerTest, SkipsWhatComesBeforeTheStartMarker) {
  Bytes lead(100, 0x55);
  Bytes stray = {0xFF, 0xD9, 0xFF, 0xDB, 0xFF, 0x00, 0xFF, 0xFF};
  Found found = Find(Join({lead, stray, kSoi, kData, kEoi, kData}));
  ASSERT_TRUE(found.ok);
  EXPECT_EQ(found.start, 108u) << "FF D9 and FF DB before the start are no markers";
  EXPECT_EQ(found.length, 7u);
}

TEST(JpegScannerTest, TableStretchesHideMarkers) {
  Bytes picture = Join({kSoi, kDqt, kData, kEoi, kSoi, kData, kDri, kData, kEoi});
  Found found = Find(Join({picture, kData, kEoi}));
  ASSERT_TRUE(found.ok);
  EXPECT_EQ(found.length, picture.size()) << "FF D8 and FF D9 inside tables are table data";
  EXPECT_EQ(found.picture, picture);
  EXPECT_FALSE(Find(Join({kSoi, kDqt, kData, kEoi, kData, kEoi})).ok)
      << "tables that never close hide every end marker";
}

TEST(JpegScannerTest, SecondStartMarkerFailsTheSearch) {
  EXPECT_FALSE(Find(Join({kSoi, kData, kSoi, kData, kEoi})).ok);
  EXPECT_FALSE(Find(Join({kSoi, kDqt, kDri, kSoi, kEoi})).ok);
}

TEST(JpegScannerTest, EndsAtTheSecondFfOfFfFfD9) {
  Found found = Find({0xFF, 0xD8, 0x00, 0xFF, 0xFF, 0xD9, 0xFF, 0xD9});
  ASSERT_TRUE(found.ok);
  EXPECT_EQ(found.length, 6u);
}

TEST(JpegScannerTest, AStartWithoutAnEndIsNoPicture) { EXPECT_FALSE(Find(Join({kSoi, kData})).ok); }

TEST(JpegScannerTest, FindsRealPicturesWhole) {
  REELCRAFT_NEEDS_TOOLS(test::Tool::Cjpeg);
  Bytes first = test::MakeJpeg(64, 48, 1), second = test::MakeJpeg(64, 48, 2);
  Bytes stream = Join({Bytes(13, 0), first, Bytes{0xFF, 0xD9, 0x00}, second});
  Found found = Find(stream);
  ASSERT_TRUE(found.ok);
  EXPECT_EQ(found.start, 13u);
  EXPECT_EQ(found.picture, first);
  Bytes rest(stream.begin() + long(found.start + found.length), stream.end());
  found = Find(rest);
  ASSERT_TRUE(found.ok);
  EXPECT_EQ(found.picture, second);
}

// Random stretches rich in markers: the fast search must agree with the rules everywhere.
TEST(JpegScannerTest, AgreesWithTheByteByByteRules) {
  const uint8_t alphabet[] = {0xFF, 0xFF, 0xFF, 0xD8, 0xD9, 0xDB, 0xDD, 0x00, 0x7F};
  std::mt19937 random(12345);
  int pictures = 0;
  for (int round = 0; round < 40000; ++round) {
    // Odd rounds: long runs without a marker, as in picture data, between the markers, over
    // several of the search's steps.
    bool sparse = round % 2 == 1;
    Bytes bytes(random() % (sparse ? 700 : 96));
    for (auto &byte : bytes) {
      bool fromAlphabet = sparse ? random() % 12 == 0 : random() % 4 != 0;
      byte = fromAlphabet ? alphabet[random() % std::size(alphabet)] : uint8_t(random());
    }
    auto expected = ReferenceLocate(bytes);
    auto actual = FindJpegPicture(bytes.data(), bytes.size());
    ASSERT_EQ(actual.has_value(), expected.has_value()) << "round " << round;
    if (expected) {
      ++pictures;
      ASSERT_EQ(actual->start, expected->start) << "round " << round;
      ASSERT_EQ(actual->length, expected->length) << "round " << round;
    }
  }
  EXPECT_GT(pictures, 1000) << "the stretches must hold pictures often enough to matter";
}

} // namespace
} // namespace reelcraft

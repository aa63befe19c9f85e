// SPDX-License-Identifier: MIT
#include "engine/clip_header.h"
#include "tests/support/files.h"
#include "tests/support/scripted_messages.h"
#include "tests/support/temp_dir.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace reelcraft {
namespace {

using test::Bytes;

class ClipHeaderTest : public ::testing::Test {
protected:
  // Reads a header from a file holding `bytes`; messages land in `messages`.
  bool Read(const Bytes &bytes) {
    test::WriteFileBytes(dir / "clip.qvj", bytes);
    return ReadClipHeader(dir / "clip.qvj", header, messages);
  }

  test::TempDir dir;
  ClipHeader header;
  ScriptedMessages messages;
};

const Bytes kExample = {'Q',  'V',  'A',  'V',  '0',  '1',  0,    0,    0,    0x02, 0x00, 0x00,
                        0x01, 0x86, 0xA0, 0x01, 0x40, 0x00, 0xF0, 0x00, 0x64, 0x00, 0x1E, 0x00,
                        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

TEST_F(ClipHeaderTest, DecodesBigEndianFields) {
  ASSERT_TRUE(Read(kExample));
  EXPECT_EQ(header.dataOffset, 512);
  EXPECT_EQ(header.dataSize, 100000u);
  EXPECT_EQ(header.width, 320);
  EXPECT_EQ(header.height, 240);
  EXPECT_EQ(header.frameCount, 100);
  EXPECT_EQ(header.frameRate, 30);
  EXPECT_EQ(header.spare, 0);
  EXPECT_EQ(header.audioPresent, 0u);
  EXPECT_TRUE(messages.shown().empty());

  Bytes sound = {'Q', 'V', 'A', 'V', '0', '1',  0xAB, 0xCD, 0xEF, 0, 35, 0,    0,    0, 9, 0, 1, 0,
                 1,   0,   3,   0,   25,  0xBE, 0xEF, 0,    0,    0, 1,  0x1F, 0x40, 0, 2, 0, 16};
  ASSERT_TRUE(Read(sound)) << "bytes 6 to 8 are not checked";
  EXPECT_EQ(header.dataOffset, 35);
  EXPECT_EQ(header.frameRate, 25);
  EXPECT_EQ(header.spare, 0xBEEF);
  EXPECT_EQ(header.audioPresent, 1u);
  EXPECT_EQ(header.sampleRate, 8000);
  EXPECT_EQ(header.channels, 2);
  EXPECT_EQ(header.bitsPerSample, 16);
}

TEST_F(ClipHeaderTest, ShortFilesFailToRead) {
  Bytes exact(kExample.begin(), kExample.begin() + 35);
  EXPECT_TRUE(Read(exact)) << "35 bytes are a whole header";
  for (size_t size : {34u, 6u, 0u}) {
    messages = ScriptedMessages();
    EXPECT_FALSE(Read(Bytes(kExample.begin(), kExample.begin() + long(size))));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Failed to read file header"}) << size;
  }
}

TEST_F(ClipHeaderTest, ForeignMagicIsShownAsItStands) {
  Bytes lower = kExample;
  std::copy_n("qvav01", 6, lower.begin());
  EXPECT_FALSE(Read(lower));
  Bytes binary = kExample;
  std::copy_n("RI\0\x01\xFF"
              "F",
              6, binary.begin());
  EXPECT_FALSE(Read(binary));
  std::string shownBinary = std::string("Unrecgonised file format: RI") + '\0' +
                            "\x01\xFF"
                            "F";
  EXPECT_EQ(messages.texts(),
            (std::vector<std::string>{"Unrecgonised file format: qvav01", shownBinary}));
  EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::Ok);
}

TEST_F(ClipHeaderTest, FileThatCannotBeOpened) {
  EXPECT_FALSE(ReadClipHeader(dir / "missing.qvj", header, messages));
  EXPECT_FALSE(ReadClipHeader(dir.path().string(), header, messages));
  std::vector<std::string> expected{
      "Could not open source file:\n" + (dir / "missing.qvj") + " was not found.",
      "Could not open source file:\nIs a directory while accessing " + dir.path().string() + "."};
#ifndef _WIN32
  // A FIFO is refused at once rather than waiting for a writer.
  ASSERT_EQ(mkfifo((dir / "fifo.qvj").c_str(), 0600), 0);
  EXPECT_FALSE(ReadClipHeader(dir / "fifo.qvj", header, messages));
  expected.push_back("Could not open source file:\nNo such device or address while accessing " +
                     (dir / "fifo.qvj") + ".");
#endif
  EXPECT_EQ(messages.texts(), expected);
}

} // namespace
} // namespace reelcraft

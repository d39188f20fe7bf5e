#include "platform/core/byte_writer.h"

#include <gtest/gtest.h>

#include "platform/core/byte_reader.h"

TEST(ByteWriter, WritesLittleEndianThatTheReaderReadsBack) {
  std::vector<std::uint8_t> out;
  ByteWriter(out).u8(0x01).u16(0x0302).u32(0x07060504);
  EXPECT_EQ(out, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7}));
  const ByteReader reader(out);
  EXPECT_EQ(reader.u16(1), 0x0302);
  EXPECT_EQ(reader.u32(3), 0x07060504u);
  ByteWriter(out).u32be(0x08090A0B);
  EXPECT_EQ(std::vector<std::uint8_t>(out.begin() + 7, out.end()), (std::vector<std::uint8_t>{8, 9, 10, 11}));
}

TEST(ByteWriter, PlacingPastTheEndGrowsWithZerosAndPlacingInsideOverwrites) {
  std::vector<std::uint8_t> out{0xAA};
  ByteWriter writer(out);
  writer.u32At(3, 0x11223344);
  EXPECT_EQ(out, (std::vector<std::uint8_t>{0xAA, 0, 0, 0x44, 0x33, 0x22, 0x11}));
  writer.u16At(0, 0xBEEF).u64At(7, 0x0102030405060708ull).extendTo(4);
  ASSERT_EQ(out.size(), 15u);
  EXPECT_EQ(ByteReader(out).u16(0), 0xBEEF);
  EXPECT_EQ(ByteReader(out).u64(7), 0x0102030405060708ull);
  writer.bytesAt(14, std::vector<std::uint8_t>{9, 9}).zeros(1);
  EXPECT_EQ(out.size(), 17u);
  EXPECT_EQ(out[15], 9);
  EXPECT_EQ(out[16], 0);
}

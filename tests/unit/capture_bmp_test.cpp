// The BMP writer: header fields and the exact bytes of small pictures whose
// rows need padding, and the pixel order of the rows.
#include <gtest/gtest.h>

#include <cstdint>

#include "capture/bmp_file.h"

using namespace vexlo::capture;
using namespace vexlo;

namespace {

std::uint32_t read32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::uint16_t read16(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1])
                                                                                << 8);
}

// Row y (top first) pixel x is red x*40+1, green y*50+2, blue 200.
common::Bitmap gradientPicture(int width, int height) {
  common::Bitmap picture = common::Bitmap::filled(width, height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture.setColourAt(
          x, y, static_cast<std::uint32_t>(x * 40 + 1) | static_cast<std::uint32_t>(y * 50 + 2) << 8 | 200u << 16);
  return picture;
}

TEST(CaptureBmpTest, HeadersDescribeA24BitBottomUpPicture) {
  struct Case {
    int width, height, rowBytes;
  };
  for (const Case& c : {Case{1, 2, 4}, Case{2, 2, 8}, Case{3, 2, 12}, Case{4, 3, 12}, Case{5, 1, 16}}) {
    SCOPED_TRACE(c.width);
    const std::string bytes = encodeBmp(gradientPicture(c.width, c.height));
    const std::uint32_t imageBytes = static_cast<std::uint32_t>(c.rowBytes * c.height);
    EXPECT_EQ(bmpRowBytes(c.width), c.rowBytes);
    ASSERT_EQ(bytes.size(), 54u + imageBytes);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(read32(bytes, 2), bytes.size());  // file size
    EXPECT_EQ(read32(bytes, 6), 0u);            // reserved
    EXPECT_EQ(read32(bytes, 10), 54u);          // pixel data offset
    EXPECT_EQ(read32(bytes, 14), 40u);          // info header size
    EXPECT_EQ(read32(bytes, 18), static_cast<std::uint32_t>(c.width));
    EXPECT_EQ(read32(bytes, 22), static_cast<std::uint32_t>(c.height));  // positive: bottom-up
    EXPECT_EQ(read16(bytes, 26), 1);                                     // planes
    EXPECT_EQ(read16(bytes, 28), 24);                                    // bits per pixel
    EXPECT_EQ(read32(bytes, 30), 0u);                                    // uncompressed
    EXPECT_EQ(read32(bytes, 34), imageBytes);
    EXPECT_EQ(read32(bytes, 46), 0u);  // no palette
  }
}

TEST(CaptureBmpTest, RowsAreStoredBottomUpInBlueGreenRedOrderWithZeroPadding) {
  struct Case {
    int width;
    std::string pixelData;  // bottom row first
  };
  using namespace std::string_literals;
  const Case cases[] = {
      // One pixel: three bytes and one of padding per row.
      {1,
       "\xC8\x34\x01\x00"s    // bottom row (y 1): blue 200, green 52, red 1
       "\xC8\x02\x01\x00"s},  // top row (y 0)
      // Two pixels: six bytes and two of padding.
      {2,
       "\xC8\x34\x01\xC8\x34\x29\x00\x00"s
       "\xC8\x02\x01\xC8\x02\x29\x00\x00"s},
      // Three pixels: nine bytes and three of padding.
      {3,
       "\xC8\x34\x01\xC8\x34\x29\xC8\x34\x51\x00\x00\x00"s
       "\xC8\x02\x01\xC8\x02\x29\xC8\x02\x51\x00\x00\x00"s},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    const std::string bytes = encodeBmp(gradientPicture(c.width, 2));
    EXPECT_EQ(bytes.substr(54), c.pixelData);
  }
}

TEST(CaptureBmpTest, AnEmptyPictureIsHeadersOnly) {
  const std::string bytes = encodeBmp(common::Bitmap{});
  ASSERT_EQ(bytes.size(), 54u);
  EXPECT_EQ(read32(bytes, 2), 54u);
  EXPECT_EQ(read32(bytes, 34), 0u);
}

}  // namespace

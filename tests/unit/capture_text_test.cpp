// The capture's rule-bound texts: the size text, the completion of a saved
// file's name, and the quality each list item stands for.
#include <gtest/gtest.h>

#include "capture/capture_text.h"

using namespace vexlo::capture;

namespace {

TEST(CaptureTextTest, SizeTextIsPlainDecimal) {
  EXPECT_EQ(sizeText(1024, 768), u"图片尺寸: 1024 * 768");
  EXPECT_EQ(sizeText(0, 0), u"图片尺寸: 0 * 0");
  EXPECT_EQ(sizeText(1920, 1080), u"图片尺寸: 1920 * 1080");
}

TEST(CaptureTextTest, ExtensionIsAppendedUnlessExactlyPresent) {
  struct Case {
    std::u16string typed;
    std::u16string_view extension;
    std::u16string saved;
  };
  const Case cases[] = {
      {u"C:\\shots\\shot", kBmpExtension, u"C:\\shots\\shot.bmp"},
      {u"C:\\shots\\shot", kJpegExtension, u"C:\\shots\\shot.jpg"},
      {u"C:\\shots\\shot.bmp", kBmpExtension, u"C:\\shots\\shot.bmp"},
      {u"C:\\shots\\shot.BMP", kBmpExtension, u"C:\\shots\\shot.BMP.bmp"},  // case-sensitive
      {u"C:\\shots\\shot.bmp", kJpegExtension, u"C:\\shots\\shot.bmp.jpg"},
      {u"C:\\shots\\shot.jpg", kJpegExtension, u"C:\\shots\\shot.jpg"},
      {u"C:\\shots\\shot.JPG", kJpegExtension, u"C:\\shots\\shot.JPG.jpg"},
      {u"bmp", kBmpExtension, u"bmp.bmp"},  // shorter than the extension
      {u"截图", kJpegExtension, u"截图.jpg"},
  };
  for (const Case& c : cases) EXPECT_EQ(completedPath(c.typed, c.extension), c.saved);
}

TEST(CaptureTextTest, QualityIsTheItemsNumber) {
  const std::pair<std::u16string_view, int> cases[] = {
      {u"100", 100}, {u"90", 90}, {u"10", 10}, {u"", 0}, {u"x", 0}, {u"80%", 80}, {u"1000", 100}};
  for (auto [text, value] : cases) EXPECT_EQ(qualityValue(text), value);
}

TEST(CaptureTextTest, HexHasNoLeadingZerosAndUpperCase) {
  const std::pair<unsigned long, std::u16string_view> cases[] = {
      {0, u"0"}, {0xFF, u"FF"}, {0xFF0000, u"FF0000"}, {0xFFFFFF, u"FFFFFF"}, {0x00ab0c, u"AB0C"}};
  for (auto [value, text] : cases) EXPECT_EQ(hexText(value), text);
  EXPECT_EQ(decimalText(-12), u"-12");
  EXPECT_EQ(decimalText(16711680), u"16711680");
}

}  // namespace

#include "formatter/colour.h"

#include <cstdint>

namespace vexlo::formatter {

namespace {

constexpr char16_t kDigits[] = u"0123456789ABCDEF";

int wrapIndex(int value, int modulus) {
  int r = value % modulus;
  return r < 0 ? r + modulus : r;
}

}  // namespace

std::u16string hexPair(int value) {
  auto bits = static_cast<std::uint32_t>(value);
  std::u16string text;
  do {
    text.insert(text.begin(), kDigits[bits & 15]);
    bits >>= 4;
  } while (bits != 0);
  if (text.size() < 2) text.insert(text.begin(), u'0');
  return text;
}

std::u16string colourSample(int red, int green, int blue) {
  std::u16string text(6, u'0');
  writeColourSample(text.data(), red, green, blue);
  return text;
}

std::u16string colourSample(Colour colour) {
  return colourSample(redOf(colour), greenOf(colour), blueOf(colour));
}

Colour swatchColour(int column, int row) {
  const int c = wrapIndex(column, 12);
  const int r = wrapIndex(row, 6);
  return makeColour(c < 6 ? 0 : 255, 51 * (c % 6), 51 * r);
}

}  // namespace vexlo::formatter

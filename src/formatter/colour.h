// Colour values and their text forms. A colour is the 24-bit integer the
// colour buttons and the settings file hold, red in the low byte; markup
// writes it as six upper-case hexadecimal digits RRGGBB.
#pragma once

#include <cstring>
#include <string>

#include "controls/control.h"

namespace vexlo::formatter {

using Colour = controls::Colour;  // 0x00BBGGRR

constexpr int redOf(Colour colour) { return static_cast<int>(colour % 256); }
constexpr int greenOf(Colour colour) { return static_cast<int>((colour % 65536) / 256); }
constexpr int blueOf(Colour colour) { return static_cast<int>((colour % 16777216) / 65536); }

// Channels are taken modulo 256, so the result is always a 24-bit colour.
constexpr Colour makeColour(int red, int green, int blue) {
  return (static_cast<Colour>(red) & 0xFF) | ((static_cast<Colour>(green) & 0xFF) << 8) |
         ((static_cast<Colour>(blue) & 0xFF) << 16);
}

// Upper-case hexadecimal text of a channel value, with a "0" in front below
// 16 so that a channel 0..255 always takes two characters. A larger value
// simply gets more digits; a negative one is read as its 32-bit pattern.
std::u16string hexPair(int value);

// RRGGBB of a colour, e.g. "FF0000" for pure red (0x0000FF).
std::u16string colourSample(Colour colour);
std::u16string colourSample(int red, int green, int blue);

namespace detail {
// The two hexadecimal digits of every byte value, so a channel is written
// with one lookup.
struct HexPairs {
  char16_t digits[256][2];
};
constexpr HexPairs makeHexPairs() {
  constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  HexPairs pairs{};
  for (int v = 0; v < 256; ++v) {
    pairs.digits[v][0] = kDigits[v >> 4];
    pairs.digits[v][1] = kDigits[v & 15];
  }
  return pairs;
}
inline constexpr HexPairs kHexPairs = makeHexPairs();
}  // namespace detail

// Writes the six characters of RRGGBB to `out` (no terminator). Channels are
// taken modulo 256. Inline: the converters call it once per character.
inline void writeColourSample(char16_t* out, int red, int green, int blue) {
  const auto& pairs = detail::kHexPairs.digits;
  std::memcpy(out, pairs[static_cast<unsigned>(red) & 0xFF], 2 * sizeof(char16_t));
  std::memcpy(out + 2, pairs[static_cast<unsigned>(green) & 0xFF], 2 * sizeof(char16_t));
  std::memcpy(out + 4, pairs[static_cast<unsigned>(blue) & 0xFF], 2 * sizeof(char16_t));
}

// The colour of the chooser's swatch at (column 0..11, row 0..5): red 0 in
// columns 0..5 and 255 in columns 6..11, green 51 × (column mod 6), blue
// 51 × row. Columns and rows outside the grid are brought into it first
// (column mod 12, row mod 6).
Colour swatchColour(int column, int row);

}  // namespace vexlo::formatter

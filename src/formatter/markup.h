// The markup conversion: plain text in, square-bracket markup of the forum
// or the Qzone dialect out. Pure functions of the options the panel reads
// from its controls, the gradient table, the queued emoticons and the random
// source; nothing here touches a window or the clipboard.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formatter/colour.h"
#include "formatter/gradient.h"
#include "formatter/random_source.h"

namespace vexlo::formatter {

enum class Dialect { Forum, Qzone };
enum class ColourMode { Single, Gradient, Rainbow, Random };
enum class Alignment { Left, Right, Centre };

struct MarkupOptions {
  Dialect dialect = Dialect::Forum;
  std::u16string font;          // the selected font list item; empty when none
  int sizeIndex = 0;            // the selected size index; -1 when none (size "0")
  ColourMode mode = ColourMode::Single;
  Alignment alignment = Alignment::Left;
  bool horizontal = false;      // "@" before the font name (forum only)
  bool glow = false;            // glow tag instead of colour (Qzone, single colour)
  bool quote = false;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  Colour singleColour = 0x0000FF;
  std::vector<std::u16string> fontNames;  // every font list item, for random mode
};

struct ConversionResult {
  // Gradient mode refuses texts longer than kGradientCharacterLimit
  // characters; the markup is then empty.
  bool overGradientLimit = false;
  std::u16string markup;
};

// One gradient sample per character at most: T(0)..T(256) is 257 samples,
// but the limit counts characters the way the user sees them.
inline constexpr std::size_t kGradientCharacterLimit = 256;

// The font name as markup writes it: "仿宋" and "楷体" (exactly those names)
// become "仿宋_GB2312" and "楷体_GB2312", which the web pages' fonts know.
std::u16string markupFontName(std::u16string_view name);

// Builds the markup for `source`. A character outside the Basic Multilingual
// Plane (a surrogate pair) is one character: it is counted once and gets one
// colour piece. The random source is used as it is (the caller reseeds it);
// rainbow mode draws three fractions per character, random mode six, a CR
// included. `pendingEmoticons` is written only in the forum dialect.
ConversionResult convertMarkup(const MarkupOptions& options, std::u16string_view source,
                               const GradientTable& gradient, std::u16string_view pendingEmoticons,
                               RandomSource& random);

// The same, into an existing result whose storage is reused: converting a
// long text again does not pay for mapping fresh memory for the result.
void convertMarkupInto(ConversionResult& result, const MarkupOptions& options, std::u16string_view source,
                       const GradientTable& gradient, std::u16string_view pendingEmoticons, RandomSource& random);

}  // namespace vexlo::formatter

// Where the preview draws each piece of the styled reply: line breaking,
// alignment, the quote's frame, the emoticons' placeholders and the height
// the window takes. Pure arithmetic over a measurer, so that the Win32
// window only measures and draws.
#pragma once

#include <compare>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formatter/styled_text.h"

namespace vexlo::formatter {

// The most characters of the input the preview builds runs from; a longer
// input shows this much followed by kPreviewEllipsis.
inline constexpr std::size_t kPreviewCharacterLimit = 10000;
inline constexpr std::u16string_view kPreviewEllipsis = u"…";

// The heights the window fits its content between, at 96 DPI.
inline constexpr int kPreviewMinHeight = 60;
inline constexpr int kPreviewMaxHeight = 240;

// The first kPreviewCharacterLimit characters of `text` (a surrogate pair
// is one character and is never split); `truncated` tells whether that is
// less than the whole.
std::u16string_view previewPrefix(std::u16string_view text, bool& truncated);

// Pixels at `dpi` of a length given at 96 DPI.
int scaledPixels(int pixelsAt96, int dpi);

// The pixel height at `dpi` of markup size 1 to 7 as browsers map them;
// sizes outside are brought to the nearest (a size of none, 0, as size 1).
int sizePixels(int size, int dpi);

struct PreviewFont {
  std::u16string face;  // "@" in front for the orientation mark; empty: the default face
  int pixels = 16;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  auto operator<=>(const PreviewFont&) const = default;
};

struct FontMetrics {
  int ascent = 0;
  int descent = 0;
};

class TextMeasurer {
 public:
  virtual ~TextMeasurer() = default;
  virtual FontMetrics metrics(const PreviewFont& font) = 0;
  // The advance of one character: one code unit, or a surrogate pair.
  virtual int advance(const PreviewFont& font, std::u16string_view character) = 0;
};

// Characters of one run on one line, drawn together at their advances.
struct PreviewPiece {
  int x = 0;
  int baseline = 0;
  std::u16string text;
  std::vector<int> advances;  // one per code unit; the second unit of a pair advances 0
  Colour colour = 0;
  std::size_t font = 0;  // into PreviewLayout::fonts
  bool glow = false;     // drawn white inside a halo of its colour
};

struct PreviewRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct PreviewLayout {
  std::vector<PreviewFont> fonts;
  std::vector<PreviewPiece> pieces;
  std::vector<PreviewRect> frames;  // the quote's block and each emoticon's placeholder
  int height = 0;                   // of the content, margins included
};

// The window's place for the content: its width, the height of what lies
// outside the scrolled area (button strip and borders), the DPI and the
// width a vertical scroll bar takes.
struct PreviewGeometry {
  int width = 0;
  int chromeHeight = 0;
  int dpi = 96;
  int scrollBarWidth = 0;
};

struct PreviewFit {
  PreviewLayout layout;
  int windowHeight = 0;  // between the minimum and the maximum, scaled by DPI
  bool scrolls = false;  // the content is taller than the window shows
};

// The content laid out for a window of `geometry`: the message in place of
// the reply when there is one; narrower by the scroll bar when the content
// does not fit the tallest window.
PreviewFit fitPreview(const StyledReply& reply, std::u16string_view message, const PreviewGeometry& geometry,
                      TextMeasurer& measurer);

// The content laid out at `width` pixels.
PreviewLayout layoutPreview(const StyledReply& reply, int width, int dpi, TextMeasurer& measurer);

}  // namespace vexlo::formatter

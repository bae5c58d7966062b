// The reply as styled runs: what the options and the text make of the reply,
// before any output format. The conversion builds it once; the markup
// writers (forum and Qzone), the HTML and RTF writers and the preview all
// read the same runs, so what the preview shows is what is pasted. A reader
// turns markup of either dialect back into runs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formatter/colour.h"
#include "formatter/gradient.h"
#include "formatter/markup.h"
#include "formatter/random_source.h"
#include "text/ansi_codec.h"

namespace vexlo::formatter {

// A piece of text drawn in one style. `text` may be empty where the markup
// has an empty piece (the gradient's samples past the end of the text).
struct StyledRun {
  std::u16string text;
  Colour colour = 0;         // 0x00BBGGRR
  std::u16string face;       // as markup writes it ("仿宋_GB2312"); empty: none
  bool horizontal = false;   // the "@" orientation mark before the face
  int size = 0;              // 1 to 7; 0 when no size is chosen ("0" in markup)
  friend bool operator==(const StyledRun&, const StyledRun&) = default;
};

// The whole reply: the styles that hold for every run, then the runs.
struct StyledReply {
  Dialect dialect = Dialect::Forum;
  ColourMode mode = ColourMode::Single;
  Alignment alignment = Alignment::Left;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool quote = false;  // a quote block under its "....." line
  bool glow = false;   // the Qzone glow around the single colour
  std::vector<StyledRun> runs;
  // The queued emoticons' image addresses, in queue order (forum only).
  std::vector<std::u16string> emoticons;
  // Gradient mode refuses texts longer than kGradientCharacterLimit
  // characters: no runs then.
  bool overGradientLimit = false;
  friend bool operator==(const StyledReply&, const StyledReply&) = default;
};

// The runs of `source` under `options`, drawing random colours, faces and
// sizes from `random` exactly as the markup conversion does (the caller
// reseeds it). `pendingEmoticons` is the emoticon queue's markup
// ("[img]address[/img]" repeated).
void buildStyledReply(StyledReply& reply, const MarkupOptions& options, std::u16string_view source,
                      const GradientTable& gradient, std::u16string_view pendingEmoticons, RandomSource& random);

// The markup of the reply's dialect, byte for byte what convertMarkup gives
// for the options and text the runs were built from.
void writeMarkup(const StyledReply& reply, std::u16string& out);

// Markup of either dialect back into runs; false when it is not markup that
// a conversion writes (the reply is then unspecified).
bool readMarkup(std::u16string_view markup, Dialect dialect, StyledReply& reply);

// The text alone, without any tag: what a plain-text paste gives.
std::u16string plainText(const StyledReply& reply);

// The clipboard's "HTML Format": the header with correct StartHTML,
// EndHTML, StartFragment and EndFragment offsets, then the document, UTF-8.
std::string writeClipboardHtml(const StyledReply& reply);

// "Rich Text Format": a font table, a colour table and the styled text;
// characters outside the code page of `codec` as \u escapes.
std::string writeRtf(const StyledReply& reply, const text::AnsiCodec& codec);

}  // namespace vexlo::formatter

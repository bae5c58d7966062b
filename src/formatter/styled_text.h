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
  Colour colour = 0;  // 0x00BBGGRR
  // The font face as an index into StyledReply::faces: the per-character
  // modes make a run of every character, and a name of its own in each
  // would cost a string (often a heap block) per character.
  int face = 0;
  bool horizontal = false;  // the "@" orientation mark before the face
  // 1 to 7; 0 when no size is chosen ("0" in markup). Markup carries any
  // number; only 1 to 7 have a browser size.
  int size = 0;
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
  // The runs' font faces as markup writes them ("仿宋_GB2312"), each once,
  // in the order the runs first use them; an empty name means none.
  std::vector<std::u16string> faces;
  std::vector<StyledRun> runs;
  // The face, mark and size that single colour, gradient and rainbow write
  // once around all their runs (each run repeats them): a text of line
  // breaks alone has no run but still its font and size in markup.
  struct Frame {
    int face = 0;
    bool horizontal = false;
    int size = 0;
    friend bool operator==(const Frame&, const Frame&) = default;
  } frame;
  // The emoticon queue as the forum markup writes it, kept as it stands so
  // that the markup never changes; empty in the Qzone dialect.
  std::u16string emoticonMarkup;
  // The queued emoticons' image addresses, in queue order (forum only).
  std::vector<std::u16string> emoticons;
  // Gradient mode refuses texts longer than kGradientCharacterLimit
  // characters: no runs then.
  bool overGradientLimit = false;
  friend bool operator==(const StyledReply&, const StyledReply&) = default;

  // The run's face; empty when it has none (or its index is not in the
  // table).
  std::u16string_view faceOf(const StyledRun& run) const;
};

// The pixel height at 96 DPI that browsers give markup sizes 1 to 7 (10,
// 13, 16, 18, 24, 32 and 48); 0 for any other size.
int browserPixelSize(int size);

// The image addresses of emoticon markup: "[img]address[/img]" repeated,
// in order. An address holds no "[" (nor can it, for a reader to tell
// where it ends); markup not of that form gives no addresses.
std::vector<std::u16string> emoticonAddresses(std::u16string_view markup);

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
// a conversion writes (the reply is then unspecified). Writing the reply
// gives the markup back. Gradient markup is written like rainbow markup, so
// it reads as rainbow; one colour piece reads as single colour. The runs
// are those the markup was written from as long as the text, the faces and
// the emoticon addresses hold no square brackets and no face starts with
// "@" (where the markup alone cannot tell).
bool readMarkup(std::u16string_view markup, Dialect dialect, StyledReply& reply);

// The text alone, without any tag: what a plain-text paste gives. Line
// breaks are CR LF; the quote's "....." line comes first.
std::u16string plainText(const StyledReply& reply);

// The clipboard's "HTML Format": the header with correct StartHTML,
// EndHTML, StartFragment and EndFragment offsets, then the document, UTF-8.
std::string writeClipboardHtml(const StyledReply& reply);

// "Rich Text Format": a font table, a colour table and the styled text;
// characters outside the code page of `codec` as \u escapes. The
// emoticons have no place in it.
std::string writeRtf(const StyledReply& reply, const text::AnsiCodec& codec);

}  // namespace vexlo::formatter

// The runs of a conversion: the options and the text, with the colours the
// mode gives each character.
#include <algorithm>

#include "formatter/run_builder.h"
#include "formatter/styled_text.h"
#include "text/characters.h"

namespace vexlo::formatter {

namespace runs {

int detail::faceIndex(StyledReply& reply, std::u16string face) {
  const auto found = std::find(reply.faces.begin(), reply.faces.end(), face);
  if (found != reply.faces.end()) return static_cast<int>(found - reply.faces.begin());
  reply.faces.push_back(std::move(face));
  return static_cast<int>(reply.faces.size() - 1);
}

std::optional<std::size_t> beginReply(StyledReply& reply, const MarkupOptions& options, std::u16string_view source,
                                      std::u16string_view pendingEmoticons) {
  const bool forum = options.dialect == Dialect::Forum;
  reply.dialect = options.dialect;
  reply.mode = options.mode;
  reply.alignment = options.alignment;
  reply.bold = options.bold;
  reply.italic = options.italic;
  reply.underline = options.underline;
  reply.quote = options.quote;
  reply.glow = options.glow && !forum && options.mode == ColourMode::Single;
  const std::size_t characters = options.mode == ColourMode::Gradient ? text::characterCount(source) : 0;
  reply.overGradientLimit = characters > kGradientCharacterLimit;
  reply.faces.clear();
  reply.runs.clear();
  reply.emoticonMarkup = forum ? pendingEmoticons : std::u16string_view{};
  reply.emoticons = emoticonAddresses(reply.emoticonMarkup);

  // The orientation mark exists only in the forum dialect.
  const bool horizontal = options.horizontal && forum;
  // Wraps around rather than overflow for a size index no list has.
  const int size = static_cast<int>(static_cast<unsigned>(options.sizeIndex) + 1u);
  reply.frame = {};
  if (options.mode != ColourMode::Random) reply.frame = {0, horizontal, size};
  if (reply.overGradientLimit) return std::nullopt;
  if (options.mode != ColourMode::Random) reply.faces.push_back(markupFontName(options.font));
  return characters;
}

std::size_t longestFontName(const MarkupOptions& options) {
  std::size_t longest = 0;
  for (const std::u16string& name : options.fontNames) longest = std::max(longest, markupFontName(name).size());
  return longest;
}

}  // namespace runs

void buildStyledReply(StyledReply& reply, const MarkupOptions& options, std::u16string_view source,
                      const GradientTable& gradient, std::u16string_view pendingEmoticons, RandomSource& random) {
  const std::optional<std::size_t> characters = runs::beginReply(reply, options, source, pendingEmoticons);
  if (!characters) return;
  reply.runs.reserve(runs::runsAtMost(options.mode, source));
  runs::forEachRun(reply, options, source, *characters, gradient, random,
                   [&reply](std::u16string_view text, Colour colour, int face, bool horizontal, int size) {
                     StyledRun& run = reply.runs.emplace_back();
                     run.text.assign(text.data(), text.size());
                     run.colour = colour;
                     run.face = face;
                     run.horizontal = horizontal;
                     run.size = size;
                   });
}

}  // namespace vexlo::formatter

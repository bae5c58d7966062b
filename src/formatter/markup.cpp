#include "formatter/markup.h"

#include <functional>

#include "formatter/markup_writing.h"
#include "formatter/run_builder.h"
#include "formatter/styled_text.h"

namespace vexlo::formatter {

std::u16string markupFontName(std::u16string_view name) {
  if (name == u"仿宋") return u"仿宋_GB2312";
  if (name == u"楷体") return u"楷体_GB2312";
  return std::u16string(name);
}

void convertMarkupInto(ConversionResult& result, const MarkupOptions& options, std::u16string_view source,
                       const GradientTable& gradient, std::u16string_view pendingEmoticons, RandomSource& random) {
  // Converting the previous result again: the result's storage is rewritten
  // while the source is read, so work from a copy.
  const std::less<const char16_t*> before;
  const char16_t* storage = result.markup.data();
  if (!source.empty() && !before(source.data(), storage) && before(source.data(), storage + result.markup.size())) {
    const std::u16string copy(source);
    convertMarkupInto(result, options, copy, gradient, pendingEmoticons, random);
    return;
  }
  // The runs go straight into the markup as they are made, never stored.
  StyledReply reply;
  const std::optional<std::size_t> characters = runs::beginReply(reply, options, source, pendingEmoticons);
  result.overGradientLimit = !characters;
  if (!characters) {
    result.markup.clear();
    return;
  }
  const writing::RunBounds bounds{
      .runs = runs::runsAtMost(options.mode, source),
      .textUnits = source.size(),
      .faceUnits = options.mode == ColourMode::Random ? runs::longestFontName(options) : reply.faces.front().size()};
  writing::writeRuns(
      reply, bounds,
      [&](auto&& piece) { runs::forEachRun(reply, options, source, *characters, gradient, random, piece); },
      result.markup);
}

ConversionResult convertMarkup(const MarkupOptions& options, std::u16string_view source, const GradientTable& gradient,
                               std::u16string_view pendingEmoticons, RandomSource& random) {
  ConversionResult result;
  convertMarkupInto(result, options, source, gradient, pendingEmoticons, random);
  return result;
}

}  // namespace vexlo::formatter

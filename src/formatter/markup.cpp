#include "formatter/markup.h"

#include "formatter/styled_text.h"

namespace vexlo::formatter {

std::u16string markupFontName(std::u16string_view name) {
  if (name == u"仿宋") return u"仿宋_GB2312";
  if (name == u"楷体") return u"楷体_GB2312";
  return std::u16string(name);
}

void convertMarkupInto(ConversionResult& result, const MarkupOptions& options, std::u16string_view source,
                       const GradientTable& gradient, std::u16string_view pendingEmoticons, RandomSource& random) {
  // The runs hold their own copy of the text, so the source may be the
  // previous result itself.
  StyledReply reply;
  buildStyledReply(reply, options, source, gradient, pendingEmoticons, random);
  result.overGradientLimit = reply.overGradientLimit;
  writeMarkup(reply, result.markup);
}

ConversionResult convertMarkup(const MarkupOptions& options, std::u16string_view source, const GradientTable& gradient,
                               std::u16string_view pendingEmoticons, RandomSource& random) {
  ConversionResult result;
  convertMarkupInto(result, options, source, gradient, pendingEmoticons, random);
  return result;
}

}  // namespace vexlo::formatter

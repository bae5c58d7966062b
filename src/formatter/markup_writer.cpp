// The runs as forum or Qzone markup.
#include "formatter/markup_tags.h"
#include "formatter/markup_writing.h"
#include "formatter/styled_text.h"

namespace vexlo::formatter {

writing::StyleWrapper writing::makeWrapper(const StyledReply& r) {
  const tags::StyleTag none{};
  const tags::StyleTag quote = r.quote ? tags::StyleTag{tags::kQuoteOpen, tags::kQuoteClose} : none;
  const tags::StyleTag align = tags::alignmentTag(r.dialect, r.alignment);
  const tags::StyleTag bold = r.bold ? tags::boldTag(r.dialect) : none;
  const tags::StyleTag italic = r.italic ? tags::italicTag(r.dialect) : none;
  const tags::StyleTag underline = r.underline ? tags::underlineTag(r.dialect) : none;
  const std::u16string_view queued = r.dialect == Dialect::Forum ? std::u16string_view(r.emoticonMarkup) : u"";

  StyleWrapper w;
  for (auto piece : {quote.open, align.open, bold.open, italic.open, underline.open}) w.prefix += piece;
  for (auto piece : {underline.close, italic.close, bold.close, queued, align.close, quote.close}) w.suffix += piece;
  return w;
}

void writeMarkup(const StyledReply& reply, std::u16string& out) {
  if (reply.overGradientLimit) {
    out.clear();
    return;
  }
  writing::RunBounds bounds{.runs = reply.runs.size()};
  for (const StyledRun& run : reply.runs) bounds.textUnits += run.text.size();
  for (const std::u16string& face : reply.faces) bounds.faceUnits = std::max(bounds.faceUnits, face.size());
  writing::writeRuns(
      reply, bounds,
      [&reply](auto&& piece) {
        for (const StyledRun& run : reply.runs) piece(run.text, run.colour, run.face, run.horizontal, run.size);
      },
      out);
}

}  // namespace vexlo::formatter

#include "formatter/styled_text.h"

#include "formatter/markup_tags.h"

namespace vexlo::formatter {

std::u16string_view StyledReply::faceOf(const StyledRun& run) const {
  if (run.face < 0 || static_cast<std::size_t>(run.face) >= faces.size()) return {};
  return faces[static_cast<std::size_t>(run.face)];
}

int browserPixelSize(int size) {
  constexpr int kPixels[] = {10, 13, 16, 18, 24, 32, 48};
  return size >= 1 && size <= 7 ? kPixels[size - 1] : 0;
}

std::vector<std::u16string> emoticonAddresses(std::u16string_view markup) {
  std::vector<std::u16string> addresses;
  while (!markup.empty()) {
    if (!markup.starts_with(tags::kImageOpen)) return {};
    markup.remove_prefix(tags::kImageOpen.size());
    const std::size_t end = markup.find(u'[');
    if (end == std::u16string_view::npos || markup.substr(end, tags::kImageClose.size()) != tags::kImageClose)
      return {};
    addresses.emplace_back(markup.substr(0, end));
    markup.remove_prefix(end + tags::kImageClose.size());
  }
  return addresses;
}

std::u16string plainText(const StyledReply& reply) {
  std::u16string text;
  // The "....." line stands above the quote on the page as well.
  if (reply.quote) text += u".....\r\n";
  // The per-character modes keep no CR of a CR LF; every line break is
  // given as CR LF, as a Windows text paste expects.
  char16_t previous = 0;
  for (const StyledRun& run : reply.runs) {
    for (char16_t c : run.text) {
      if (c == u'\n' && previous != u'\r') text += u'\r';
      if (previous == u'\r' && c != u'\n') text += u'\n';
      text += c;
      previous = c;
    }
  }
  if (previous == u'\r') text += u'\n';
  return text;
}

}  // namespace vexlo::formatter

// The tag vocabulary of the two markup dialects, shared by the writer and
// the reader so that what one writes the other reads.
#pragma once

#include <string_view>

#include "formatter/markup.h"

namespace vexlo::formatter::tags {

// The tags that differ between the dialects around the text.
struct ForumTags {
  static constexpr char16_t colourOpen[] = u"[color=#";
  static constexpr char16_t colourClose[] = u"[/color]";
  static constexpr char16_t fontOpen[] = u"[font=";
  static constexpr char16_t sizeOpen[] = u"][size=";
  static constexpr char16_t drawnColourOpen[] = u"][color=#";
  static constexpr char16_t frameClose[] = u"[/size][/font]";
  static constexpr char16_t drawnClose[] = u"[/color][/size][/font]";
  static constexpr bool hasMark = true;
};

struct QzoneTags {
  static constexpr char16_t colourOpen[] = u"[ftc=#";
  static constexpr char16_t colourClose[] = u"[/ft]";
  static constexpr char16_t fontOpen[] = u"[ftf=";
  static constexpr char16_t sizeOpen[] = u"][fts=";
  static constexpr char16_t drawnColourOpen[] = u"][ftc=#";
  static constexpr char16_t frameClose[] = u"[/ft][/ft]";
  static constexpr char16_t drawnClose[] = u"[/ft][/ft][/ft]";
  static constexpr bool hasMark = false;
};

// The Qzone glow replaces the colour opener and the "]" after the colour.
inline constexpr char16_t kGlowOpen[] = u"[ffg,#";
inline constexpr char16_t kGlowColourEnd[] = u",#FFFFFF]";

inline constexpr std::u16string_view kQuoteOpen = u".....\r[quote]";
inline constexpr std::u16string_view kQuoteClose = u"[/quote]";
inline constexpr std::u16string_view kImageOpen = u"[img]";
inline constexpr std::u16string_view kImageClose = u"[/img]";

// The style tags of a dialect, in the order they open; empty where a style
// is off. They close in the opposite order.
struct StyleTag {
  std::u16string_view open;
  std::u16string_view close;
};

inline StyleTag alignmentTag(Dialect d, Alignment a) {
  const bool forum = d == Dialect::Forum;
  if (a == Alignment::Right) return forum ? StyleTag{u"[align=right]", u"[/align]"} : StyleTag{u"[R]", u"[/R]"};
  if (a == Alignment::Centre) return forum ? StyleTag{u"[align=center]", u"[/align]"} : StyleTag{u"[M]", u"[/M]"};
  return {};
}
inline StyleTag boldTag(Dialect d) {
  return d == Dialect::Forum ? StyleTag{u"[b]", u"[/b]"} : StyleTag{u"[B]", u"[/B]"};
}
inline StyleTag italicTag(Dialect d) {
  return d == Dialect::Forum ? StyleTag{u"[i]", u"[/i]"} : StyleTag{u"[I]", u"[/I]"};
}
inline StyleTag underlineTag(Dialect d) {
  return d == Dialect::Forum ? StyleTag{u"[u]", u"[/u]"} : StyleTag{u"[U]", u"[/U]"};
}

}  // namespace vexlo::formatter::tags

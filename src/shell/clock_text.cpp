#include "shell/clock_text.h"

#include <array>
#include <cstdio>

#include "text/characters.h"

namespace vexlo::shell {

namespace {
std::u16string twoDigits(int value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%02d", value % 100);
  return text::fromUtf8(buffer);
}
}  // namespace

std::u16string clockCaption(const platform::LocalTime& time) {
  std::u16string caption = twoDigits(time.hour);
  caption.append(u":").append(twoDigits(time.minute)).append(u":").append(twoDigits(time.second));
  return caption;
}

std::u16string dateTooltip(const platform::LocalTime& time) {
  static constexpr std::array<std::u16string_view, 7> kWeekdayMarks = {
      u"(日) ", u"(一) ", u"(二) ", u"(三) ", u"(四) ", u"(五) ", u"(六) "};
  char year[8];
  std::snprintf(year, sizeof year, "%04d", time.year);
  std::u16string tooltip = u" ";
  tooltip.append(twoDigits(time.month)).append(u"-").append(twoDigits(time.day)).append(u"-");
  tooltip.append(text::fromUtf8(year)).append(kWeekdayMarks[static_cast<std::size_t>(time.weekday % 7)]);
  return tooltip;
}

}  // namespace vexlo::shell

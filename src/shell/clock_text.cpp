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
  return twoDigits(time.hour) + u":" + twoDigits(time.minute) + u":" + twoDigits(time.second);
}

std::u16string dateTooltip(const platform::LocalTime& time) {
  static constexpr std::array<std::u16string_view, 7> kWeekdayMarks = {
      u"(日) ", u"(一) ", u"(二) ", u"(三) ", u"(四) ", u"(五) ", u"(六) "};
  char year[8];
  std::snprintf(year, sizeof year, "%04d", time.year);
  return u" " + twoDigits(time.month) + u"-" + twoDigits(time.day) + u"-" + text::fromUtf8(year) +
         std::u16string(kWeekdayMarks[static_cast<std::size_t>(time.weekday % 7)]);
}

}  // namespace vexlo::shell

#include "common/status_line.h"

#include "text/characters.h"

namespace vexlo::common {

void StatusLine::createIcon() {
  tray_.add(kTrayTooltip);
  iconPresent_ = true;
}

void StatusLine::removeIcon() {
  if (!iconPresent_) return;
  tray_.remove();
  iconPresent_ = false;
}

void StatusLine::restoreIcon() {
  if (!iconPresent_) return;
  tray_.add(kTrayTooltip);
}

void StatusLine::report(std::u16string_view heading, std::u16string_view text) {
  heading_ = text::cutToAnsiBytes(heading, kHeadingBytes, codec_);
  text_ = text::cutToAnsiBytes(text, kTextBytes, codec_);
  age_ = 0;
  // Reports made before the icon exists (while the settings are restored)
  // have nowhere to show.
  if (iconPresent_) tray_.showBalloon(heading_, text_);
}

void StatusLine::reportToggle(bool on, std::u16string_view text) { report(on ? u"设置:" : u"取消:", text); }

void StatusLine::ageBalloon() {
  if (age_ >= kBalloonTicks) return;
  if (++age_ < kBalloonTicks) return;
  text_.clear();
  if (iconPresent_) tray_.showBalloon(heading_, text_);
}

}  // namespace vexlo::common

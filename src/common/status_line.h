// The status line: one notification-area icon whose balloon reports every
// action, and disappears by itself after four timer ticks.
#pragma once

#include <string>
#include <string_view>

#include "common/version.h"
#include "platform/services.h"

namespace vexlo::common {

inline constexpr std::u16string_view kTrayTooltip = u" Vexlo v" VEXLO_VERSION_TEXT " - Quenby_Sarn (Pebbo) ";
inline constexpr std::size_t kHeadingBytes = 63;
inline constexpr std::size_t kTextBytes = 255;
inline constexpr int kBalloonTicks = 4;

class StatusLine {
 public:
  StatusLine(platform::TrayIcon& tray, const platform::AnsiCodec& codec) : tray_(tray), codec_(codec) {}

  void createIcon();
  void removeIcon();
  // The shell was restarted (the taskbar was re-created): the icon is gone
  // from it, so it is added again.
  void restoreIcon();

  void report(std::u16string_view heading, std::u16string_view text);
  // A two-state switch: "设置:" when on, "取消:" when off.
  void reportToggle(bool on, std::u16string_view text);
  // Once per timer tick.
  void ageBalloon();

  bool iconPresent() const { return iconPresent_; }
  const std::u16string& heading() const { return heading_; }
  const std::u16string& text() const { return text_; }
  int balloonAge() const { return age_; }

 private:
  platform::TrayIcon& tray_;
  const platform::AnsiCodec& codec_;
  bool iconPresent_ = false;
  std::u16string heading_;
  std::u16string text_;
  int age_ = 0;
};

}  // namespace vexlo::common

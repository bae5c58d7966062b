// Two full settings, as a long-time user has them, that differ in every
// value: a save of one over the other changes the whole file.
#pragma once

#include <string>

#include "shell/settings_file.h"

namespace vexlo::win32_tests {

inline shell::SettingsToSave settingsVariant(int variant) {
  constexpr int kEntries = 400;
  const std::u16string mark = variant == 0 ? u"甲" : u"乙";
  auto number = [](int i) {
    std::string digits = std::to_string(i);
    return std::u16string(digits.begin(), digits.end());
  };
  shell::SettingsToSave s;
  s.startWithWindows = variant;
  s.fontIndex = 3 + variant;
  s.sizeIndex = 5 - variant;
  s.gradient = variant == 0;
  s.rainbow = variant == 1;
  s.colours = {0x0000FFu + variant, 0x00FF00u + variant, 0xFF0000u + variant};
  s.path = u"C:\\资料\\" + mark;
  for (int i = 0; i < kEntries; ++i) {
    s.emoticons.push_back({u"表情" + mark + number(i), u"http://img.example.com/" + number(i) + u".gif"});
    s.media.push_back({u"歌曲" + mark + number(i), u"C:\\音乐\\" + mark + number(i) + u".mp3"});
    s.programs.push_back({u"程序" + mark + number(i), u"C:\\工具\\" + mark + number(i) + u".exe"});
  }
  return s;
}

}  // namespace vexlo::win32_tests

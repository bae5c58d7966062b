// One entry of a favourites list as the settings file keeps it: the lists
// hand their entries to the settings file and take them back from it.
#pragma once

#include <string>

namespace vexlo::common {

// A name and an image address, media file or program.
struct SettingsEntry {
  std::u16string name;
  std::u16string address;
  friend bool operator==(const SettingsEntry&, const SettingsEntry&) = default;
};

}  // namespace vexlo::common

// Which settings file a start-up reads and a save writes. Beside the
// executable while its folder takes new files (portable use, as always);
// otherwise in the user's profile, where a program folder the user may not
// change (Program Files, a read-only share) cannot lose the settings.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_store.h"

namespace vexlo::shell {

struct SettingsLocation {
  std::u16string readFrom;
  std::u16string writeTo;
  // The profile's folder for the file, made before a save; empty beside
  // the executable.
  std::u16string folderToCreate;
  friend bool operator==(const SettingsLocation&, const SettingsLocation&) = default;
};

// A file beside a read-only executable is read until the profile holds a
// copy, so the first start there loses nothing; from then on the profile's
// copy is read. Without a known profile folder the file stays beside the
// executable, and a save that fails there tells the user.
SettingsLocation chooseSettingsLocation(platform::FileStore& files, std::u16string_view executableDirectory,
                                        std::u16string_view appDataDirectory);

}  // namespace vexlo::shell

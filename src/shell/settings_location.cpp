#include "shell/settings_location.h"

#include "shell/settings_file.h"

namespace vexlo::shell {

SettingsLocation chooseSettingsLocation(platform::FileStore& files, std::u16string_view executableDirectory,
                                        std::u16string_view appDataDirectory) {
  const std::u16string beside = settingsPath(executableDirectory);
  if (appDataDirectory.empty() || files.canCreateFilesIn(std::u16string(executableDirectory))) {
    return {beside, beside, {}};
  }
  const std::u16string folder = std::u16string(appDataDirectory) + u"\\Vexlo";
  const std::u16string profile = settingsPath(folder);
  const bool firstStartHere = !files.exists(profile) && files.exists(beside);
  return {firstStartHere ? beside : profile, profile, folder};
}

}  // namespace vexlo::shell

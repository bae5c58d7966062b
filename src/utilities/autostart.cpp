#include "utilities/autostart.h"

#include "text/characters.h"

namespace vexlo::utilities {

std::u16string autostartCommand(std::u16string_view executableDirectory, std::u16string_view executableName) {
  std::u16string command = u"\"";
  command += executableDirectory;
  if (text::characterCount(executableDirectory) != 3) command += u'\\';
  command += executableName;
  command += u".exe\"";
  return command;
}

}  // namespace vexlo::utilities

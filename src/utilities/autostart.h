// Starting the program with Windows: what is registered and under which name.
#pragma once

#include <string>
#include <string_view>

namespace vexlo::utilities {

// The version in the name is that of the program's first registrations:
// the same name finds and replaces them.
inline constexpr std::u16string_view kAutostartValueName = u"Vexlo v10.1";

// The command line that starts the executable: its full path in double
// quotes, so that a path with blanks starts. A drive root ("C:\") already
// ends in its backslash.
std::u16string autostartCommand(std::u16string_view executableDirectory, std::u16string_view executableName);

}  // namespace vexlo::utilities

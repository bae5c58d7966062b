// The values under the system's Run key that start programs at log-on.
#pragma once

#include <string_view>

namespace vexlo::platform {

class StartupRegistry {
 public:
  virtual ~StartupRegistry() = default;
  // Writes the value under the current user's Run key, creating the key if
  // needed; no administrator rights are asked for. False when it could not.
  virtual bool registerProgram(std::u16string_view valueName, std::u16string_view commandLine) = 0;
  // Deletes the value from the current user's Run key, and from the whole
  // machine's where an older registration left one and the rights allow;
  // nothing else under either key is touched. False when the current
  // user's value is still there.
  virtual bool unregisterProgram(std::u16string_view valueName) = 0;
};

}  // namespace vexlo::platform

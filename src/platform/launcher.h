// Starting programs and documents through the shell.
#pragma once

#include <string_view>

namespace vexlo::platform {

// ShowWindow commands the program uses.
inline constexpr int kShowNormal = 1;

class Launcher {
 public:
  virtual ~Launcher() = default;
  // The shell's "open" of a file, program or folder, with a show command.
  // False when the shell could not open it.
  virtual bool open(std::u16string_view file, int showCommand) = 0;
};

}  // namespace vexlo::platform

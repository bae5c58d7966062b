// How the system utilities start something: a command line with a window
// style, or a shell verb on a file. A tool that this system lacks is
// replaced by the first of its counterparts that the system has.
#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>

#include "platform/launcher.h"

namespace vexlo::utilities {

struct Launch {
  enum class Way { Run, ShellExecute };
  Way way = Way::Run;
  // The command line, or the file the verb acts on (empty for none).
  std::u16string_view command;
  std::u16string_view verb;
  // The window style of a command line; a shell verb always opens a normal
  // window, so that nothing starts hidden.
  int showCommand = platform::kShowNormal;
};

constexpr Launch run(std::u16string_view commandLine, int style) {
  return {Launch::Way::Run, commandLine, {}, style};
}
constexpr Launch shellVerb(std::u16string_view verb, std::u16string_view file) {
  return {Launch::Way::ShellExecute, file, verb, platform::kShowNormal};
}

// The file whose presence says whether a launch can work: the applet of a
// Control Panel command line, otherwise the program a command line starts,
// or the console file a verb opens. Empty when only an attempt can tell (a
// verb on nothing, an address).
std::u16string fileToFind(const Launch& launch);

// What names a launch in a message: its command line or file, or the verb
// when it acts on nothing.
std::u16string_view launchName(const Launch& launch);

// Starts the first launch whose file is on this system and that starts.
// Each file is looked for once: the answer holds for the program's life.
class ToolStarter {
 public:
  explicit ToolStarter(platform::Launcher& launcher) : launcher_(launcher) {}
  // The launch that started, or nothing when none of them could.
  const Launch* start(std::span<const Launch> launches);

 private:
  bool found(const std::u16string& file);
  bool attempt(const Launch& launch);

  platform::Launcher& launcher_;
  std::map<std::u16string, bool> found_;
};

}  // namespace vexlo::utilities

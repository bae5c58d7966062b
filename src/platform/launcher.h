// Starting programs, documents and the system's own dialogs. Every call
// says whether it worked, so that a failure can reach the user.
#pragma once

#include <string_view>

namespace vexlo::platform {

// ShowWindow commands the program uses.
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;

class Launcher {
 public:
  virtual ~Launcher() = default;

  // Starts a command line, unchanged, as a new process whose first window
  // takes `showCommand`. The program is looked for where the system looks
  // when it starts one: the program's folder, the system folders and the
  // search path. False when no process was started.
  virtual bool run(std::u16string_view commandLine, int showCommand) = 0;

  // A shell verb ("open", "find", ...) on a file, folder or address; an
  // empty file for verbs that need none. False when the shell could not do
  // it.
  virtual bool shellExecute(std::u16string_view verb, std::u16string_view file, int showCommand) = 0;
  bool open(std::u16string_view file, int showCommand) { return shellExecute(u"open", file, showCommand); }

  // Empties the recycle bin of every drive; the system asks the user first
  // and shows its progress. True also when the user declined or the bin was
  // already empty: only a failure of the system is false.
  virtual bool emptyRecycleBin() = 0;

  // The shell's own shut-down dialog (shut down, restart and the like),
  // owned by no window. False when the shell does not offer it.
  virtual bool showShutDownDialog() = 0;

  // One MCI command string, without a reply. False when the device refused.
  virtual bool sendMci(std::u16string_view command) = 0;

  // Whether a program or a system file (an applet, a console file) is
  // found where run() looks, so that a tool missing from this system can
  // be replaced by its counterpart before anything is started.
  virtual bool fileFound(std::u16string_view fileName) = 0;
};

}  // namespace vexlo::platform

// The file system as the file manager sees it: the drives, what a directory
// holds, the shell's own file operation with its confirmations and
// progress, renaming and creating directories. Paths are full paths with
// "\" separators; a drive root ends in "\" ("C:\"), any other directory
// does not ("C:\A").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vexlo::platform {

struct Drive {
  std::u16string root;         // "C:\"
  std::u16string volumeLabel;  // empty when the volume has none or cannot be read
};

struct DirectoryEntry {
  std::u16string name;
  bool directory = false;
  // Hidden or system: the file manager's lists leave such entries out.
  bool hidden = false;
};

// What a directory holds, in the order the system gives it (unsorted), or
// why it cannot be read ("设备未就绪。" for an empty card reader).
struct Listing {
  bool ok = true;
  std::vector<DirectoryEntry> entries;
  std::u16string message;
};

// Whether an action was done; when not, the system's own words for why.
struct Outcome {
  bool ok = true;
  std::u16string message;
  explicit operator bool() const { return ok; }
};

// The shell's function codes and the one flag the program sets.
inline constexpr int kShellMove = 1;
inline constexpr int kShellCopy = 2;
inline constexpr int kShellDelete = 3;
inline constexpr std::uint16_t kAllowUndo = 0x40;  // deleted items go to the recycle bin

// One call of the shell's file operation: one source path (which may end
// in a wildcard), one destination (empty for a delete), the flags.
struct ShellFileOperation {
  int function = 0;
  std::u16string source;
  std::u16string destination;
  std::uint16_t flags = 0;
  friend bool operator==(const ShellFileOperation&, const ShellFileOperation&) = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Every drive the system has now, in letter order.
  virtual std::vector<Drive> drives() = 0;
  virtual Listing list(const std::u16string& directory) = 0;
  virtual bool directoryExists(const std::u16string& path) = 0;
  // Hands the operation to the shell with no owner window: the shell asks
  // its own questions, shows its progress and reports its own errors, so
  // the outcome is ok whatever the user answered. Not ok only when the
  // operation could not be handed to the shell at all.
  virtual Outcome shellOperation(const ShellFileOperation& operation) = 0;
  // Moves or renames a file or a directory.
  virtual Outcome move(const std::u16string& from, const std::u16string& to) = 0;
  virtual Outcome createDirectory(const std::u16string& path) = 0;
};

}  // namespace vexlo::platform

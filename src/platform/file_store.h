// Whole-file reading and writing for the settings file. A write is atomic:
// the new bytes go to a file beside the target, which then replaces the
// target in one step, so a crash leaves either the old or the new file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vexlo::platform {

struct WriteResult {
  bool ok = true;
  std::u16string path;     // the file that was to be written
  std::u16string message;  // why it failed, in the system's words; empty on success
  explicit operator bool() const { return ok; }
};

class FileStore {
 public:
  virtual ~FileStore() = default;
  // The file's bytes; nothing when there is no file at the path (or it
  // cannot be opened for reading).
  virtual std::optional<std::string> read(const std::u16string& path) = 0;
  // True when a file (not a directory) exists at the path.
  virtual bool exists(const std::u16string& path) = 0;
  virtual WriteResult writeAtomically(const std::u16string& path, std::string_view bytes) = 0;
  // True when a new file can be made in the folder, found by making one
  // and deleting it again: neither the folder's name nor its attributes
  // tell (a read-only share, a folder only an administrator may change).
  virtual bool canCreateFilesIn(const std::u16string& folder) = 0;
  // Makes the folder unless it exists; its parent must exist.
  virtual WriteResult createFolder(const std::u16string& folder) = 0;
};

}  // namespace vexlo::platform

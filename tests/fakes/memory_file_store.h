// Files kept in memory, for tests of code that reads and writes the settings
// file. `failWrites` makes every write fail the way a full disk would,
// leaving the stored file as it was; a folder in `readOnlyFolders` takes no
// new file or subfolder; `readFailure` makes reading throw, as running out
// of memory for a huge file would.
#pragma once

#include <exception>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/file_store.h"

namespace vexlo::fakes {

class MemoryFileStore final : public platform::FileStore {
 public:
  std::map<std::u16string, std::string> files;
  bool failWrites = false;
  std::u16string failureMessage = u"Access is denied.";
  int writeCount = 0;              // successful and failed writes alike
  std::exception_ptr readFailure;  // thrown by every read while set
  std::set<std::u16string> readOnlyFolders;
  std::set<std::u16string> folders;  // made by createFolder

  std::optional<std::string> read(const std::u16string& path) override {
    if (readFailure) std::rethrow_exception(readFailure);
    auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second;
  }

  bool exists(const std::u16string& path) override { return files.count(path) != 0; }

  platform::WriteResult writeAtomically(const std::u16string& path, std::string_view bytes) override {
    ++writeCount;
    if (failWrites || !canCreateFilesIn(path.substr(0, path.rfind(u'\\')))) {
      return platform::WriteResult{false, path, failureMessage};
    }
    files[path] = std::string(bytes);
    return platform::WriteResult{true, path, {}};
  }

  bool canCreateFilesIn(const std::u16string& folder) override { return readOnlyFolders.count(folder) == 0; }

  platform::WriteResult createFolder(const std::u16string& folder) override {
    if (!canCreateFilesIn(folder.substr(0, folder.rfind(u'\\')))) {
      return platform::WriteResult{false, folder, failureMessage};
    }
    folders.insert(folder);
    return platform::WriteResult{true, folder, {}};
  }
};

}  // namespace vexlo::fakes

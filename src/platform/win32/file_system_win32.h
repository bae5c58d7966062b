// The file system through the wide Win32 functions: drives with their
// volume labels, directory listings, the shell's SHFileOperationW, MoveFileW
// and CreateDirectoryW. Paths longer than the classic limit are handed on
// with the "\\?\" prefix; the shell, which cannot take them, gets their
// short form when there is one.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace vexlo::platform::win32 {

class FileSystemWin32 final : public FileSystem {
 public:
  std::vector<Drive> drives() override;
  Listing list(const std::u16string& directory) override;
  bool directoryExists(const std::u16string& path) override;
  Outcome shellOperation(const ShellFileOperation& operation) override;
  Outcome move(const std::u16string& from, const std::u16string& to) override;
  Outcome createDirectory(const std::u16string& path) override;
};

// The path as the wide functions take it at any length: one too long for
// the classic limit gets the "\\?\" prefix ("\\?\UNC\" for a share).
std::wstring extendedPath(std::u16string_view path);

}  // namespace vexlo::platform::win32

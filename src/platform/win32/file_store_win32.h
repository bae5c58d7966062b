// Whole files through the wide Win32 file functions. writeAtomically writes
// "<path>.tmp" completely, flushes it to the disk and moves it over the
// target in one step.
#pragma once

#include "platform/file_store.h"

namespace vexlo::platform::win32 {

class FileStoreWin32 final : public FileStore {
 public:
  std::optional<std::string> read(const std::u16string& path) override;
  bool exists(const std::u16string& path) override;
  WriteResult writeAtomically(const std::u16string& path, std::string_view bytes) override;
  bool canCreateFilesIn(const std::u16string& folder) override;
  WriteResult createFolder(const std::u16string& folder) override;
};

}  // namespace vexlo::platform::win32

// Starting programs, documents and the shell's own dialogs, with wide
// strings so that any path works.
#pragma once

#include <windows.h>

#include "platform/launcher.h"

namespace vexlo::platform::win32 {

class LauncherWin32 : public Launcher {
 public:
  // The window that owns the recycle bin's question and progress.
  void setOwner(HWND owner) { owner_ = owner; }

  bool run(std::u16string_view commandLine, int showCommand) override;
  bool shellExecute(std::u16string_view verb, std::u16string_view file, int showCommand) override;
  bool emptyRecycleBin() override;
  bool showShutDownDialog() override;
  bool sendMci(std::u16string_view command) override;
  bool fileFound(std::u16string_view fileName) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace vexlo::platform::win32

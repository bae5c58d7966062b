#include <windows.h>

#include "app/win32/installer_commands.h"
#include "app/win32/vexlo_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  if (std::optional<int> exitCode = vexlo::app::win32::runInstallerCommand()) return *exitCode;
  return vexlo::app::win32::run(instance);
}

// What the installer asks of the installed Vexlo.exe before it replaces or
// removes the program's files. Both commands end the copy running from the
// same folder the way the user's exit does (it saves its settings).
// "/upgrade", run by a newer package before it removes the older one,
// marks the removal that follows as part of an upgrade; "/uninstall", run
// by the removal, then also removes the start-with-Windows value of this
// copy, unless the mark says the newer version takes its place. (Windows
// tells an upgrade's removal apart by a property that Wine's installer does
// not pass on; the mark works for both.) An optional second argument is the
// installer's UI level: above 2 a user is watching, and is told when the
// running copy does not end.
#pragma once

#include <windows.h>

#include <optional>

namespace vexlo::app::win32 {

// The exit code of the command when the process's command line names one;
// nothing when Vexlo is to start as usual.
std::optional<int> runInstallerCommand();

}  // namespace vexlo::app::win32

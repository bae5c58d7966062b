// The Windows program: the main window's class, its services, the binder
// and the message loop around the core's main window.
#pragma once

#include <windows.h>

namespace vexlo::app::win32 {

inline constexpr wchar_t kMainWindowClass[] = L"VexloMainWindow";
inline constexpr int kIconResource = 1;

// Runs the program until it ends; returns the process exit code.
int run(HINSTANCE instance);

}  // namespace vexlo::app::win32

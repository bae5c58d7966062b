#include <windows.h>

#include "app/win32/vexlo_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return vexlo::app::win32::run(instance); }

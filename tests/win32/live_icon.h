// Whether an icon handle still names an icon: released handles do not.
#pragma once

#include <windows.h>

namespace vexlo::win32_tests {

inline bool isLiveIcon(HICON icon) {
  ICONINFO info = {};
  if (!GetIconInfo(icon, &info)) return false;
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return true;
}

}  // namespace vexlo::win32_tests

// The program's name with its version, as the window, the welcome balloon
// and the tray icon show it.
#pragma once

#include <string_view>

#include "common/version.h"

namespace vexlo::common {

inline constexpr std::u16string_view kProgramTitle = u"Vexlo v" VEXLO_VERSION_TEXT;

}  // namespace vexlo::common

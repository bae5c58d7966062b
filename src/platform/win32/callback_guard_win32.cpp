#include "platform/win32/callback_guard_win32.h"

namespace vexlo::platform::win32 {

namespace {
platform::HandlerGuard* namedGuard = nullptr;
}  // namespace

void setCallbackGuard(platform::HandlerGuard* guard) { namedGuard = guard; }

platform::HandlerGuard* callbackGuard() { return namedGuard; }

}  // namespace vexlo::platform::win32

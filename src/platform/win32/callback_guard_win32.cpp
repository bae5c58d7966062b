#include "platform/win32/callback_guard_win32.h"

namespace vexlo::platform::win32 {

namespace {
controls::HandlerGuard* namedGuard = nullptr;
}  // namespace

void setCallbackGuard(controls::HandlerGuard* guard) { namedGuard = guard; }

controls::HandlerGuard* callbackGuard() { return namedGuard; }

}  // namespace vexlo::platform::win32

// The window procedures and the hook that the program registers itself, apart
// from the controls' (which run their handlers in the window's guard), run
// their bodies here. An exception must never unwind through the window
// system's frames: the process would end and take unsaved settings with it.
// The program names its one handler guard at start; a failure then reaches
// the user like any other handler's, and the message gets the system's own
// answer instead.
#pragma once

#include <windows.h>

#include <string_view>
#include <utility>

#include "platform/handler_guard.h"

namespace vexlo::platform::win32 {

void setCallbackGuard(platform::HandlerGuard* guard);
platform::HandlerGuard* callbackGuard();

// The body's answer to the message; when it throws, the failure of `what` is
// reported and `systemAnswer()` (the default window procedure, the next
// hook) answers instead. Without a guard named the failure goes unreported,
// but still stops here.
template <class Body, class SystemAnswer>
auto guardedCallback(std::u16string_view what, Body&& body, SystemAnswer&& systemAnswer) noexcept {
  decltype(body()) answer{};
  bool answered = false;
  const auto run = [&] {
    answer = std::forward<Body>(body)();
    answered = true;
  };
  if (platform::HandlerGuard* guard = callbackGuard()) {
    guard->run(run, what);
  } else {
    try {
      run();
    } catch (...) {
    }
  }
  return answered ? answer : std::forward<SystemAnswer>(systemAnswer)();
}

}  // namespace vexlo::platform::win32

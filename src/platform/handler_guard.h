// The one guard around every event handler and every tick: a C++ exception
// that escapes a handler (out of memory included) is reported to the user in
// a message box titled "错误" naming what failed and why, and the program goes
// on. An exception must never unwind through the window system's frames: it
// would end the process and lose whatever the user has not saved.
#pragma once

#include <concepts>
#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include "platform/services.h"

namespace vexlo::platform {

inline constexpr std::u16string_view kHandlerFailureTitle = u"错误";

class HandlerGuard {
 public:
  explicit HandlerGuard(platform::MessageBoxService& messageBox) : messageBox_(messageBox) {}
  HandlerGuard(const HandlerGuard&) = delete;
  HandlerGuard& operator=(const HandlerGuard&) = delete;

  // Runs `handler`; true when it ran to its end. When it throws, the failure
  // is reported as "<what>时出错:" with the exception's text, unless `report`
  // is false. `describe` is called only then, so naming a control costs
  // nothing on the way through. Nothing escapes, not even a failed report.
  template <class Handler, std::invocable Describe>
  bool run(Handler&& handler, Describe&& describe, bool report = true) noexcept {
    try {
      std::forward<Handler>(handler)();
      return true;
    } catch (...) {
      if (report) reportCurrent(describe);
      return false;
    }
  }

  template <class Handler>
  bool run(Handler&& handler, std::u16string_view what, bool report = true) noexcept {
    return run(
        std::forward<Handler>(handler), [what] { return std::u16string(what); }, report);
  }

  // The message shown for a failure of `what`: the second line says why.
  static std::u16string message(std::u16string_view what, std::u16string_view reason);
  // Why the exception was thrown, as the user reads it.
  static std::u16string reason(std::exception_ptr failure);

 private:
  template <class Describe>
  void reportCurrent(Describe& describe) noexcept {
    const std::exception_ptr failure = std::current_exception();
    std::u16string what;
    try {
      what = describe();
    } catch (...) {
      // Too little memory even to name it: the report still goes out.
    }
    report(what, failure);
  }
  void report(std::u16string_view what, std::exception_ptr failure) noexcept;

  platform::MessageBoxService& messageBox_;
  // A report is on the screen: failures meanwhile (a tick inside the box's
  // own message loop) are not stacked on top of it.
  bool reporting_ = false;
};

}  // namespace vexlo::platform

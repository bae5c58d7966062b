#include "platform/handler_guard.h"

#include <new>
#include <stdexcept>

#include "text/characters.h"

namespace vexlo::platform {

namespace {

// What is left to say when there is not even memory for the full report.
constexpr std::u16string_view kOutOfMemoryMessage = u"内存不足，此操作已中止，程序继续运行。";

}  // namespace

std::u16string HandlerGuard::message(std::u16string_view what, std::u16string_view reason) {
  std::u16string text(what.empty() ? u"操作" : what);
  text.append(u"时出错:\r\n").append(reason).append(u"\r\n\r\n此操作已中止，程序继续运行。");
  return text;
}

std::u16string HandlerGuard::reason(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::bad_alloc&) {
    return u"内存不足 (std::bad_alloc)";
  } catch (const std::exception& e) {
    std::u16string text = text::fromUtf8(e.what());
    return text.empty() ? u"未说明原因的异常" : text;
  } catch (...) {
    return u"未知的异常";
  }
}

void HandlerGuard::report(std::u16string_view what, std::exception_ptr failure) noexcept {
  if (reporting_) return;
  reporting_ = true;
  try {
    try {
      messageBox_.exclamation(message(what, reason(failure)), kHandlerFailureTitle);
    } catch (const std::bad_alloc&) {
      messageBox_.exclamation(kOutOfMemoryMessage, kHandlerFailureTitle);
    }
  } catch (...) {
    // The report itself failed: nothing more can be shown, and nothing may
    // escape into the window system.
  }
  reporting_ = false;
}

}  // namespace vexlo::platform

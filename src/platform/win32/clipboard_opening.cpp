#include "platform/win32/clipboard_opening.h"

namespace vexlo::platform::win32 {

namespace {
constexpr int kOpenAttempts = 50;
constexpr DWORD kRetryPauseMs = 20;
}  // namespace

bool openClipboardPatiently(HWND owner) {
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(kRetryPauseMs);
  }
  return false;
}

}  // namespace vexlo::platform::win32

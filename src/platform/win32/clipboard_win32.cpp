#include "platform/win32/clipboard_win32.h"

#include <cstring>

#include "platform/win32/clipboard_opening.h"

namespace vexlo::platform::win32 {

bool ClipboardWin32::open() { return openClipboardPatiently(owner_); }

bool ClipboardWin32::clear() {
  if (!open()) return false;
  bool ok = EmptyClipboard() != 0;
  CloseClipboard();
  return ok;
}

bool ClipboardWin32::setText(std::u16string_view text) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
  if (!memory) return false;
  auto* target = static_cast<char16_t*>(GlobalLock(memory));
  std::memcpy(target, text.data(), text.size() * sizeof(char16_t));
  target[text.size()] = u'\0';
  GlobalUnlock(memory);
  if (!open()) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  bool ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  CloseClipboard();
  if (!ok) GlobalFree(memory);
  return ok;
}

std::u16string ClipboardWin32::text() {
  if (!open()) return {};
  std::u16string result;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* chars = static_cast<const char16_t*>(GlobalLock(data))) {
      result = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return result;
}

}  // namespace vexlo::platform::win32

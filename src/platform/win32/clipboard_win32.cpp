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

namespace {

// Movable memory holding `size` bytes and a terminating zero of
// `terminator` bytes; null when there is no memory.
HGLOBAL globalCopy(const void* bytes, std::size_t size, std::size_t terminator) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + terminator);
  if (!memory) return nullptr;
  if (size > 0) {
    std::memcpy(GlobalLock(memory), bytes, size);
    GlobalUnlock(memory);
  }
  return memory;
}

}  // namespace

bool ClipboardWin32::setText(std::u16string_view text) { return setTextWithFormats(text, {}); }

bool ClipboardWin32::setTextWithFormats(std::u16string_view text, const std::vector<ClipboardFormat>& formats) {
  struct Prepared {
    UINT format;
    HGLOBAL memory;
  };
  std::vector<Prepared> prepared;
  const auto freeRest = [&prepared](std::size_t from) {
    for (std::size_t i = from; i < prepared.size(); ++i) GlobalFree(prepared[i].memory);
  };
  // Everything is copied before the clipboard opens, so another program
  // waits for it as briefly as possible and a lack of memory changes nothing.
  for (const ClipboardFormat& f : formats) {
    const std::wstring name(f.name.begin(), f.name.end());
    const UINT id = RegisterClipboardFormatW(name.c_str());
    HGLOBAL memory = id ? globalCopy(f.bytes.data(), f.bytes.size(), 1) : nullptr;
    if (!memory) {
      freeRest(0);
      return false;
    }
    prepared.push_back({id, memory});
  }
  HGLOBAL textMemory = globalCopy(text.data(), text.size() * sizeof(char16_t), sizeof(char16_t));
  if (!textMemory) {
    freeRest(0);
    return false;
  }
  prepared.push_back({CF_UNICODETEXT, textMemory});
  if (!open()) {
    freeRest(0);
    return false;
  }
  bool ok = EmptyClipboard() != 0;
  std::size_t handedOver = 0;
  // Once handed over, the memory belongs to the clipboard.
  for (; ok && handedOver < prepared.size(); ++handedOver)
    ok = SetClipboardData(prepared[handedOver].format, prepared[handedOver].memory) != nullptr;
  if (!ok) {
    if (handedOver > 0) --handedOver;  // the failed one is still ours
    EmptyClipboard();                  // no partial content: all forms or none
  }
  CloseClipboard();
  freeRest(handedOver);
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

#include "platform/win32/popup_menu_win32.h"

#include "platform/twips.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/wide.h"

namespace vexlo::platform::win32 {

int PopupMenuWin32::choose(const std::vector<std::u16string>& items, int xTwips, int yTwips) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return -1;
  // Command identifiers start at 1: TrackPopupMenu answers 0 for no choice.
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i] == kMenuSeparator)
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    else
      AppendMenuW(menu, MF_STRING, i + 1, wide(items[i]));
  }
  const double twipsPerPixel = platform::twipsPerPixel(dpiOf(window_));
  POINT at{platform::twipsToPixels(xTwips, twipsPerPixel), platform::twipsToPixels(yTwips, twipsPerPixel)};
  ClientToScreen(window_, &at);
  // A menu closes on a click elsewhere only while its window is in the
  // foreground, and the message after it lets the menu finish closing.
  SetForegroundWindow(window_);
  const UINT flags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN;
  const int chosen = static_cast<int>(TrackPopupMenu(menu, flags, at.x, at.y, 0, window_, nullptr));
  PostMessageW(window_, WM_NULL, 0, 0);
  DestroyMenu(menu);
  return chosen - 1;
}

}  // namespace vexlo::platform::win32

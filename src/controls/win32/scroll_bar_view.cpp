#include "controls/win32/scroll_bar_view.h"

#include <algorithm>

namespace vexlo::controls::win32 {

namespace {

SCROLLINFO scrollInfo(UINT mask) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = mask;
  return info;
}

int scrollLimit(const ScrollBar& model) { return std::max(0, model.maximum()); }

// One large change per page gives a thumb in proportion to what one click
// beside it moves.
int pageOf(const ScrollBar& model) { return std::max(1, model.largeChange); }

}  // namespace

void showScrollRange(HWND bar, const ScrollBar& model) {
  SCROLLINFO info = scrollInfo(SIF_RANGE | SIF_PAGE | SIF_POS);
  // The thumb stops at nMax - nPage + 1: that is the model's maximum.
  info.nPage = static_cast<UINT>(pageOf(model));
  info.nMax = scrollLimit(model) + pageOf(model) - 1;
  info.nPos = model.value();
  SetScrollInfo(bar, SB_CTL, &info, TRUE);
}

void showScrollValue(HWND bar, const ScrollBar& model) {
  SCROLLINFO info = scrollInfo(SIF_POS);
  info.nPos = model.value();
  SetScrollInfo(bar, SB_CTL, &info, TRUE);
}

std::optional<int> requestedScrollValue(HWND bar, const ScrollBar& model, int request) {
  const int value = model.value();
  int wanted = value;
  switch (request) {
    case SB_LINEUP:
      wanted = value - model.smallChange;
      break;
    case SB_LINEDOWN:
      wanted = value + model.smallChange;
      break;
    case SB_PAGEUP:
      wanted = value - model.largeChange;
      break;
    case SB_PAGEDOWN:
      wanted = value + model.largeChange;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The message's own position has only 16 bits; a long list scrolls further.
      SCROLLINFO info = scrollInfo(SIF_TRACKPOS);
      if (!GetScrollInfo(bar, SB_CTL, &info)) return std::nullopt;
      wanted = info.nTrackPos;
      break;
    }
    case SB_TOP:
      wanted = 0;
      break;
    case SB_BOTTOM:
      wanted = scrollLimit(model);
      break;
    default:
      return std::nullopt;
  }
  return std::clamp(wanted, 0, scrollLimit(model));
}

}  // namespace vexlo::controls::win32

// An outline list box: owner-drawn items that keep their strings
// (LBS_HASSTRINGS, so screen readers and automation read every entry),
// each indented by its level after the shell's small folder icon, open or
// closed.
#pragma once

#include <windows.h>

#include "controls/control.h"

namespace vexlo::controls::win32 {

// The shell's folder icons, read when first drawn and released with
// their owner.
class FolderIcons {
 public:
  FolderIcons() = default;
  ~FolderIcons();
  FolderIcons(const FolderIcons&) = delete;
  FolderIcons& operator=(const FolderIcons&) = delete;
  HICON icon(ItemIcon kind);

 private:
  HICON open_ = nullptr;
  HICON closed_ = nullptr;
};

// The height of one item at the DPI: the icon or the text, whichever is taller.
int outlineItemHeight(HWND list, HFONT font, UINT dpi);

// One item (or, for an empty list, only its focus rectangle).
void drawOutlineItem(const DRAWITEMSTRUCT& item, const ListControl& list, HFONT font, FolderIcons& icons, UINT dpi);

}  // namespace vexlo::controls::win32

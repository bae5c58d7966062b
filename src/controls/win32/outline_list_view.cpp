#include "controls/win32/outline_list_view.h"

#include <shellapi.h>

#include <algorithm>

#include "platform/win32/wide.h"

namespace vexlo::controls::win32 {

namespace {

constexpr int kIconPixelsAt96 = 16;
constexpr int kIndentPixelsAt96 = 10;
constexpr int kGapPixelsAt96 = 3;

int scaled(int pixelsAt96, UINT dpi) { return MulDiv(pixelsAt96, static_cast<int>(dpi), 96); }

HICON shellFolderIcon(bool open) {
  SHFILEINFOW info = {};
  // Any name will do: the attributes alone choose the folder's icon.
  const UINT flags = SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES | (open ? SHGFI_OPENICON : 0);
  if (!SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info, flags)) return nullptr;
  return info.hIcon;
}

}  // namespace

FolderIcons::~FolderIcons() {
  if (open_) DestroyIcon(open_);
  if (closed_) DestroyIcon(closed_);
}

HICON FolderIcons::icon(ItemIcon kind) {
  if (kind == ItemIcon::None) return nullptr;
  HICON& icon = kind == ItemIcon::OpenFolder ? open_ : closed_;
  if (!icon) icon = shellFolderIcon(kind == ItemIcon::OpenFolder);
  return icon;
}

int outlineItemHeight(HWND list, HFONT font, UINT dpi) {
  HDC dc = GetDC(list);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  return std::max(scaled(kIconPixelsAt96, dpi), static_cast<int>(metrics.tmHeight)) + scaled(2, dpi);
}

void drawOutlineItem(const DRAWITEMSTRUCT& item, const ListControl& list, HFONT font, FolderIcons& icons, UINT dpi) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  const int index = static_cast<int>(item.itemID);
  if (index < 0 || index >= list.count()) {
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
    return;
  }
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const ItemLook look = index < static_cast<int>(list.looks().size()) ? list.looks()[index] : ItemLook{};
  // Deep down the indent stops growing, so that names stay readable.
  int x = r.left + scaled(2, dpi) +
          std::min(look.level * scaled(kIndentPixelsAt96, dpi), static_cast<int>(r.right - r.left) / 3);
  const int iconSize = scaled(kIconPixelsAt96, dpi);
  if (HICON icon = icons.icon(look.icon)) {
    DrawIconEx(dc, x, r.top + (r.bottom - r.top - iconSize) / 2, icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
    x += iconSize + scaled(kGapPixelsAt96, dpi);
  }
  RECT textArea{x, r.top, r.right, r.bottom};
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  DrawTextW(dc, platform::win32::wide(list.items()[static_cast<std::size_t>(index)]), -1, &textArea,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, old);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

}  // namespace vexlo::controls::win32

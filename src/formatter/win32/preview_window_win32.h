// The preview's window: a top-most tool window owned by the main window and
// docked under it, with the drawn reply in a scrolling area and the button
// that copies the reply as rich text. Where things go is the layout's
// business (formatter/preview_layout.h); this only measures and draws.
#pragma once

#include <windows.h>

#include "formatter/preview_layout.h"
#include "formatter/preview_window.h"
#include "formatter/win32/gdi_text_measurer.h"

namespace vexlo::formatter::win32 {

inline constexpr wchar_t kPreviewWindowClass[] = L"VexloPreview";
inline constexpr wchar_t kPreviewAreaClass[] = L"VexloPreviewArea";
inline constexpr wchar_t kPreviewTitle[] = L"Vexlo 预览";
inline constexpr wchar_t kRichCopyCaption[] = L"复制为富文本";

class PreviewWindowWin32 final : public PreviewWindow {
 public:
  explicit PreviewWindowWin32(HWND owner) : owner_(owner) {}
  ~PreviewWindowWin32() override;
  PreviewWindowWin32(const PreviewWindowWin32&) = delete;
  PreviewWindowWin32& operator=(const PreviewWindowWin32&) = delete;

  void update(const PreviewContent& content) override;
  void show() override;
  void hide() override;
  // After the owner has taken its size at a new DPI: the button's font and
  // the layout follow, and a shown preview docks again under the owner.
  void dpiChanged();

 private:
  void make();
  void makeButtonFont();
  // Lays the content out for the owner's width and DPI and docks the
  // window under the owner at the height it fits.
  void fit();
  void paint(HDC dc, const RECT& client);
  void scrollTo(int position);
  void copy();
  LRESULT windowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT areaMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK areaProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND owner_;
  HWND window_ = nullptr;
  HWND area_ = nullptr;
  HWND button_ = nullptr;
  HFONT buttonFont_ = nullptr;
  PreviewContent content_;
  PreviewFit fit_;
  GdiTextMeasurer measurer_;
  int scroll_ = 0;
  bool shown_ = false;
};

}  // namespace vexlo::formatter::win32

// The region overlay's window: a top-most popup over the whole virtual
// screen that shows the frozen picture with a cross-hair pointer. The magnifier frame
// is a real child window whose readout captions and values are STATIC
// controls, so automation and screen readers can read them; the outline's
// four lines, the outline of the window under the pointer and the size
// label are child windows too. A mouse move
// therefore repaints only the strips they uncover, the enlarged view and
// the values that changed, never the whole frozen screen.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "capture/capture_services.h"
#include "capture/region_overlay.h"

namespace vexlo::capture::win32 {

inline constexpr wchar_t kOverlayWindowClass[] = L"VexloRegionOverlay";
inline constexpr wchar_t kMagnifierWindowClass[] = L"VexloMagnifier";

class OverlayWindowWin32 final : public OverlayWindow, private OverlayView {
 public:
  OverlayWindowWin32() = default;
  ~OverlayWindowWin32() override;
  OverlayWindowWin32(const OverlayWindowWin32&) = delete;
  OverlayWindowWin32& operator=(const OverlayWindowWin32&) = delete;

  PixelPoint pointerPosition() override;
  void movePointer(PixelPoint to) override;
  void open(RegionOverlay& overlay) override;
  void close() override;

  // The overlay while open, null otherwise; its parts once made.
  HWND window() const { return overlay_ ? window_ : nullptr; }
  HWND magnifier() const { return magnifier_; }
  HWND valueWindow(ReadoutField field) const { return values_[field]; }
  HWND sizeLabel() const { return sizeLabel_; }
  HWND outlineLine(int index) const { return lines_[index]; }
  HWND windowOutlineLine(int index) const { return windowLines_[index]; }

 private:
  void overlayChanged(unsigned changes) override;
  void makeWindows();
  void takeFocus();
  void placeMagnifier();
  void showReadout();
  void showOutline();
  void showSizeLabel();
  void showWindowOutline();
  // The overlay's points are the virtual screen's; the window's client
  // area starts at the virtual screen's top left.
  PixelPoint toClient(PixelPoint p) const;
  LRESULT overlayMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT magnifierMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Passes input to the overlay while one is open.
  template <typename Action>
  void deliver(Action action);
  static LRESULT CALLBACK overlayProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK magnifierProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  RegionOverlay* overlay_ = nullptr;
  HWND window_ = nullptr;
  HWND magnifier_ = nullptr;
  HWND swatch_ = nullptr;
  HWND sizeLabel_ = nullptr;
  std::array<HWND, 4> lines_{};
  std::array<HWND, 4> windowLines_{};
  PixelPoint origin_;
  std::array<HWND, kReadoutFieldCount> captions_{};
  std::array<HWND, kReadoutFieldCount> values_{};
  std::array<std::u16string, kReadoutFieldCount> shownValues_;
  std::array<HBRUSH, kReadoutFieldCount> captionBrushes_{};
  HBRUSH swatchBrush_ = nullptr;
  HBRUSH sizeLabelBrush_ = nullptr;
  HPEN crossHairPen_ = nullptr;
};

}  // namespace vexlo::capture::win32

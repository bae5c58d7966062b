#include "capture/win32/picture_clipboard_win32.h"

#include <cstring>

#include "capture/bmp_file.h"
#include "platform/win32/callback_guard_win32.h"
#include "platform/win32/clipboard_opening.h"

namespace vexlo::capture::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"VexloPictureClipboard";

HGLOBAL globalCopy(const std::string& bytes) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!memory) return nullptr;
  std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
  GlobalUnlock(memory);
  return memory;
}

}  // namespace

UINT PictureClipboardWin32::pngFormat() {
  static const UINT format = RegisterClipboardFormatW(L"PNG");
  return format;
}

PictureClipboardWin32::~PictureClipboardWin32() {
  // The system asks the owner to render what it promised before it goes.
  if (window_) DestroyWindow(window_);
}

bool PictureClipboardWin32::makeWindow() {
  if (window_) return true;
  static const ATOM registered = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    return RegisterClassW(&wc);
  }();
  if (!registered) return false;
  window_ =
      CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return window_ != nullptr;
}

ClipboardResult PictureClipboardWin32::place(const common::Bitmap& picture) {
  if (!makeWindow()) return ClipboardResult::Failed;
  // Made before the clipboard is opened: it is held only for the hand-over.
  HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE, dibSize(picture));
  if (!dib) return ClipboardResult::Failed;
  writeDib(picture, static_cast<unsigned char*>(GlobalLock(dib)));
  GlobalUnlock(dib);
  if (!platform::win32::openClipboardPatiently(window_)) {
    GlobalFree(dib);
    return ClipboardResult::Busy;
  }
  EmptyClipboard();  // tells the previous owner, this one included, to let go
  const bool placed = SetClipboardData(CF_DIB, dib) != nullptr;
  if (placed) {
    promised_ = &picture;
    SetClipboardData(pngFormat(), nullptr);
  } else {
    GlobalFree(dib);
  }
  CloseClipboard();
  return placed ? ClipboardResult::Placed : ClipboardResult::Failed;
}

void PictureClipboardWin32::pictureChanging() {
  if (!promised_ || promised_ == &kept_) return;
  kept_ = *promised_;
  promised_ = &kept_;
}

void PictureClipboardWin32::renderPng() {
  if (!promised_) return;
  const EncodedImage png = encoder_.encode(*promised_, ImageFormat::Png, 0);
  // A failed encoding leaves the format empty; the bitmap is still there.
  if (png.status != 0) return;
  if (HGLOBAL memory = globalCopy(png.bytes))
    if (!SetClipboardData(pngFormat(), memory)) GlobalFree(memory);
}

LRESULT PictureClipboardWin32::message(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_RENDERFORMAT:
      if (wParam == pngFormat()) renderPng();
      return 0;
    case WM_RENDERALLFORMATS:
      if (OpenClipboard(window_)) {
        if (GetClipboardOwner() == window_) renderPng();
        CloseClipboard();
      }
      return 0;
    case WM_DESTROYCLIPBOARD:
      promised_ = nullptr;
      kept_ = common::Bitmap{};
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

LRESULT CALLBACK PictureClipboardWin32::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<PictureClipboardWin32*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  return platform::win32::guardedCallback(
      u"把截图放到剪贴板上", [&] { return self->message(message, wParam, lParam); },
      [&] { return DefWindowProcW(hwnd, message, wParam, lParam); });
}

}  // namespace vexlo::capture::win32

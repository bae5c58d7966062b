// The captured picture on the clipboard. The device-independent bitmap is
// placed at once; the PNG is promised and encoded only when a program asks
// for it, by the encoder that saves the files, so a copy costs no more than
// the bitmap. A message-only window of its own owns the clipboard to answer
// those requests; it is made at the first copy, and when it goes (the
// program ends) a promised PNG is rendered first, so nothing is lost.
#pragma once

#include <windows.h>

#include "capture/capture_services.h"

namespace vexlo::capture::win32 {

class PictureClipboardWin32 final : public PictureClipboard {
 public:
  explicit PictureClipboardWin32(ImageEncoder& encoder) : encoder_(encoder) {}
  ~PictureClipboardWin32() override;
  PictureClipboardWin32(const PictureClipboardWin32&) = delete;
  PictureClipboardWin32& operator=(const PictureClipboardWin32&) = delete;

  ClipboardResult place(const common::Bitmap& picture) override;
  void pictureChanging() override;

  // The registered clipboard format "PNG".
  static UINT pngFormat();

 private:
  bool makeWindow();
  // Answers a request for the promised PNG; the clipboard is open already.
  void renderPng();
  LRESULT message(UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  ImageEncoder& encoder_;
  HWND window_ = nullptr;
  // What the promised PNG shows: the placed picture itself, or a copy kept
  // once it changes; released once another copy replaces it.
  const common::Bitmap* promised_ = nullptr;
  common::Bitmap kept_;
};

}  // namespace vexlo::capture::win32

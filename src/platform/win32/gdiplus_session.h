// GDI+ for one piece of work: looked up when first needed (it is not among
// the libraries every start loads), started for the work and shut down
// after it.
#pragma once

// GDI+'s header needs these two before it, in this order.
// clang-format off
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
// clang-format on

#include "platform/win32/system_function.h"

namespace vexlo::platform::win32 {

// A function of GDI+'s flat interface, or null when it is missing.
template <typename Function>
Function* gdiplusFunction(const char* name) {
  return systemFunction<Function>(L"gdiplus.dll", name);
}

class GdiplusSession {
 public:
  GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, background thread, external codecs
    auto startup = gdiplusFunction<decltype(Gdiplus::GdiplusStartup)>("GdiplusStartup");
    status_ = startup ? startup(&token_, &input, nullptr) : Gdiplus::Status::Win32Error;
  }
  ~GdiplusSession() {
    if (status_ != Gdiplus::Status::Ok) return;
    if (auto shutdown = gdiplusFunction<decltype(Gdiplus::GdiplusShutdown)>("GdiplusShutdown")) shutdown(token_);
  }
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  Gdiplus::Status status() const { return status_; }

 private:
  ULONG_PTR token_ = 0;
  Gdiplus::Status status_;
};

}  // namespace vexlo::platform::win32

// Icons read from files: owned handles that are always released.
#pragma once

#include <windows.h>

#include <string_view>

namespace vexlo::platform::win32 {

// One icon handle, destroyed with its owner.
class OwnedIcon {
 public:
  OwnedIcon() = default;
  explicit OwnedIcon(HICON icon) : icon_(icon) {}
  ~OwnedIcon() { reset(); }
  OwnedIcon(OwnedIcon&& other) noexcept : icon_(other.icon_) { other.icon_ = nullptr; }
  OwnedIcon& operator=(OwnedIcon&& other) noexcept;
  OwnedIcon(const OwnedIcon&) = delete;
  OwnedIcon& operator=(const OwnedIcon&) = delete;

  HICON get() const { return icon_; }
  explicit operator bool() const { return icon_ != nullptr; }
  void reset();

 private:
  HICON icon_ = nullptr;
};

// The first icon of a program, library or icon file at its large size;
// empty when the file has none or cannot be read.
OwnedIcon extractFirstIcon(std::u16string_view path);

}  // namespace vexlo::platform::win32

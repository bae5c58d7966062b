#include "platform/win32/icon_win32.h"

#include <shellapi.h>

#include "platform/win32/wide.h"

namespace vexlo::platform::win32 {

OwnedIcon& OwnedIcon::operator=(OwnedIcon&& other) noexcept {
  if (this != &other) {
    reset();
    icon_ = other.icon_;
    other.icon_ = nullptr;
  }
  return *this;
}

void OwnedIcon::reset() {
  if (icon_) DestroyIcon(icon_);
  icon_ = nullptr;
}

OwnedIcon extractFirstIcon(std::u16string_view path) {
  // A NUL inside the path would silently name another file.
  if (path.empty() || path.find(u'\0') != std::u16string_view::npos) return {};
  const std::wstring file = wideString(path);
  HICON large = nullptr;
  // A missing file answers UINT_MAX rather than 0: only the handle counts.
  ExtractIconExW(file.c_str(), 0, &large, nullptr, 1);
  return OwnedIcon(large);
}

}  // namespace vexlo::platform::win32

// UTF-16 text of the core and the wide strings of the W functions are the
// same code units; these spare the casts at every call.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vexlo::platform::win32 {

inline const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

inline std::wstring wideString(std::u16string_view text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

inline std::u16string fromWide(std::wstring_view text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

// Copies as much of the text as fits, always terminated.
template <std::size_t N>
void copyToField(wchar_t (&field)[N], std::u16string_view text) {
  std::size_t count = text.size() < N - 1 ? text.size() : N - 1;
  // Never leave half a surrogate pair at the end of a field.
  if (count > 0 && count < text.size() && text[count - 1] >= 0xD800 && text[count - 1] <= 0xDBFF) --count;
  for (std::size_t i = 0; i < count; ++i) field[i] = static_cast<wchar_t>(text[i]);
  field[count] = L'\0';
}

}  // namespace vexlo::platform::win32

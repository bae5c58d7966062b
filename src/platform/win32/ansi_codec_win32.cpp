#include "platform/win32/ansi_codec_win32.h"

#include <windows.h>

#include <climits>

namespace vexlo::platform::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 text is handed to the W functions as is");

namespace {
constexpr unsigned kGbk = 936;
constexpr unsigned kGb18030 = 54936;
}  // namespace

unsigned AnsiCodecWin32::systemCodePage() {
  unsigned ansi = GetACP();
  if (ansi == kGbk && IsValidCodePage(kGb18030)) return kGb18030;
  return ansi;
}

AnsiCodecWin32::AnsiCodecWin32() : codePage_(systemCodePage()) {}

AnsiCodecWin32::AnsiCodecWin32(unsigned codePage) : codePage_(codePage) {}

std::string AnsiCodecWin32::encode(std::u16string_view text) const {
  if (text.empty() || text.size() > INT_MAX) return {};
  auto wide = reinterpret_cast<const wchar_t*>(text.data());
  int length = static_cast<int>(text.size());
  // Code page 54936 accepts no flags and no default character; the others
  // replace what they cannot hold with the system's default character.
  int needed = WideCharToMultiByte(codePage_, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  int written = WideCharToMultiByte(codePage_, 0, wide, length, bytes.data(), needed, nullptr, nullptr);
  bytes.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return bytes;
}

std::u16string AnsiCodecWin32::decode(std::string_view bytes) const {
  if (bytes.empty() || bytes.size() > INT_MAX) return {};
  int length = static_cast<int>(bytes.size());
  int needed = MultiByteToWideChar(codePage_, 0, bytes.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::u16string text(static_cast<std::size_t>(needed), u'\0');
  int written = MultiByteToWideChar(codePage_, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(text.data()), needed);
  text.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return text;
}

}  // namespace vexlo::platform::win32

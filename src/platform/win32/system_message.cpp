#include "platform/win32/system_message.h"

namespace vexlo::platform::win32 {

std::u16string systemMessage(DWORD error) {
  wchar_t* buffer = nullptr;
  DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::u16string message;
  if (length > 0 && buffer) message.assign(reinterpret_cast<const char16_t*>(buffer), length);
  if (buffer) LocalFree(buffer);
  while (!message.empty() && (message.back() == u'\r' || message.back() == u'\n' || message.back() == u' ')) {
    message.pop_back();
  }
  if (message.empty()) {
    std::string code = std::to_string(error);
    message = u"Error " + std::u16string(code.begin(), code.end());
  }
  return message;
}

}  // namespace vexlo::platform::win32

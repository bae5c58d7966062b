// The Run keys of the registry, through the wide functions.
#pragma once

#include "platform/registry.h"

namespace vexlo::platform::win32 {

inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class StartupRegistryWin32 : public StartupRegistry {
 public:
  bool registerProgram(std::u16string_view valueName, std::u16string_view commandLine) override;
  bool unregisterProgram(std::u16string_view valueName) override;
};

}  // namespace vexlo::platform::win32

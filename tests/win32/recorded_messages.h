// What a handler guard would show in a message box, kept for the checks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/services.h"

namespace vexlo::win32_tests {

struct RecordedMessages : platform::MessageBoxService {
  std::vector<std::u16string> texts;
  void exclamation(std::u16string_view text, std::u16string_view title) override {
    texts.push_back(std::u16string(title) + u": " + std::u16string(text));
  }
};

}  // namespace vexlo::win32_tests

// A modal box that asks for one line of text: the prompt, a title, an edit
// box holding the default answer, OK and Cancel.
#pragma once

#include <string>
#include <string_view>

namespace vexlo::platform {

class InputBox {
 public:
  virtual ~InputBox() = default;
  // What the user typed, or an empty text when the box was cancelled.
  virtual std::u16string ask(std::u16string_view prompt, std::u16string_view title,
                             std::u16string_view defaultAnswer) = 0;
};

}  // namespace vexlo::platform

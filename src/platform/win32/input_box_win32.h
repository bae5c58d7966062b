// The program's own input box: a modal dialog made from a template in
// memory, with the whole prompt in one label, the title, an edit box holding
// the default answer (selected, so typing replaces it), OK and Cancel. Its
// font and sizes are in dialog units, so the system scales it for the DPI.
#pragma once

#include <windows.h>

#include "platform/input_box.h"

namespace vexlo::platform::win32 {

// The control ids of the box, for automation.
inline constexpr int kInputBoxPromptId = 100;
inline constexpr int kInputBoxEditId = 101;

class InputBoxWin32 final : public InputBox {
 public:
  void setOwner(HWND owner) { owner_ = owner; }
  std::u16string ask(std::u16string_view prompt, std::u16string_view title, std::u16string_view defaultAnswer) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace vexlo::platform::win32

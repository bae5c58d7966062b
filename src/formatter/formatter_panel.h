// The reply formatter panel: the option controls, the convert / clear
// button with its automatic paste, the one-key conversion, colours with the
// chooser and the gradient table, undo and double-click copy.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "common/status_line.h"
#include "controls/control.h"
#include "favourites/emoticon_row.h"
#include "formatter/colour_chooser.h"
#include "formatter/gradient.h"
#include "formatter/markup.h"
#include "formatter/random_source.h"
#include "platform/service_bundle.h"

namespace vexlo::formatter {

inline constexpr std::u16string_view kClearCaption = u"清 除";
inline constexpr controls::Colour kIdleBackColour = 0xFFFFC0;       // #C0FFFF
inline constexpr controls::Colour kConvertedBackColour = 0xC0C0FF;  // #FFC0C0
inline constexpr std::u16string_view kGradientLimitMessage = u"输入的字符数大于 256 个！。。。";
inline constexpr std::u16string_view kClipboardBusyMessage =
    u"剪贴板正被其他程序占用，文本没能放到剪贴板上，也没有粘贴。\r\n文本仍在输入框中，稍后双击输入框即可复制。";

class FormatterPanel {
 public:
  FormatterPanel(controls::Frame& frame, platform::ServiceBundle& services, common::StatusLine& status,
                 RandomSource& random, std::function<void()> collapseWindow);
  FormatterPanel(const FormatterPanel&) = delete;
  FormatterPanel& operator=(const FormatterPanel&) = delete;

  // The one-key conversion in two steps: the focused box's text is selected
  // and copied, and a later tick converts what reached the clipboard.
  void startOneKeyConversion();
  void finishOneKeyConversion();
  // Converts `source` (the clipboard text of the focused box) and pastes it
  // back; works from the idle and the converted state alike.
  void oneKeyConversion(std::u16string source);
  void rebuildGradient();
  void hideChooser() { chooser.hide(); }

  const std::u16string& sourceText() const { return sourceText_; }
  const GradientTable& gradient() const { return gradient_; }
  bool converted() const { return convertButton.caption() == kClearCaption; }
  int colourMode() const;
  MarkupOptions options() const;

  controls::OptionGroup targetGroup;
  std::array<std::unique_ptr<controls::OptionButton>, 2> targetOptions;
  controls::Label fontLabel, sizeLabel, colourLabel, styleLabel;
  controls::ListBox fontList;
  controls::DropDownList sizeList;
  controls::OptionGroup modeGroup;
  std::array<std::unique_ptr<controls::OptionButton>, 4> colourModeOptions;
  controls::OptionGroup alignGroup;
  controls::OptionButton alignLeftOption, alignRightOption, alignCentreOption;
  controls::CheckBox horizontalBox, glowBox, quoteBox, boldBox, italicBox, underlineBox;
  controls::Label colourRowLabel, designerLabel;
  controls::PictureBox gradientStrip;
  std::array<std::unique_ptr<controls::Button>, 3> colourButtons;
  controls::Button convertButton;
  controls::TextBox inputBox;
  controls::Button undoButton;
  favourites::EmoticonRow emoticons;
  ColourChooser chooser;

 private:
  void build(controls::Frame& frame);
  void chooseTarget(int index);
  void chooseMode(int index);
  void clickConvert();
  void clearPath();
  void undo();
  // The shared core of both conversions: false at the gradient limit.
  bool convertInto(std::u16string_view source);
  // Puts the text of the input box on the clipboard (conversion results and
  // the double-click copy); false, after telling the user, when another
  // program holds the clipboard.
  bool publish();
  void paste();
  void pressWithControl(int key);
  void enterConvertedState();
  void enterIdleState();
  std::u16string targetCaption() const;

  platform::ServiceBundle& services_;
  common::StatusLine& status_;
  RandomSource& random_;
  std::function<void()> collapseWindow_;
  GradientTable gradient_;
  std::u16string sourceText_;
  bool oneKeyPending_ = false;
};

}  // namespace vexlo::formatter

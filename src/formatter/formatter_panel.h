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
#include "formatter/preview_window.h"
#include "formatter/random_source.h"
#include "formatter/styled_text.h"
#include "platform/service_bundle.h"

namespace vexlo::formatter {

inline constexpr std::u16string_view kClearCaption = u"清 除";
inline constexpr controls::Colour kIdleBackColour = 0xFFFFC0;       // #C0FFFF
inline constexpr controls::Colour kConvertedBackColour = 0xC0C0FF;  // #FFC0C0
inline constexpr std::u16string_view kGradientLimitMessage = u"输入的字符数大于 256 个！。。。";
inline constexpr std::u16string_view kClipboardBusyMessage =
    u"剪贴板正被其他程序占用，文本没能放到剪贴板上，也没有粘贴。\r\n文本仍在输入框中，稍后双击输入框即可复制。";
inline constexpr std::u16string_view kRichCopyBusyMessage =
    u"剪贴板正被其他程序占用，富文本没能放到剪贴板上。\r\n预览和输入框都没有变，稍后再按“复制为富文本”即可。";

class FormatterPanel {
 public:
  FormatterPanel(controls::Frame& frame, platform::ServiceBundle& services, common::StatusLine& status,
                 RandomSource& random, PreviewWindow& preview, std::function<void()> collapseWindow);
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

  // The preview: whether the user has it on (the "Yl" setting), and where
  // it may show: the main window expanded with this panel selected.
  bool previewOn() const { return previewOn_; }
  void setPreviewOn(bool on);
  void previewPlaceChanged(bool showable);
  // The reply as rich text on the clipboard, as the preview shows it.
  void copyRichText();

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
  controls::Button previewButton;
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

  // What a reply is built from: the options, the queued emoticons, the
  // gradient and the generator in the state the conversion draws from.
  struct ReplySource {
    MarkupOptions options;
    std::u16string emoticons;
    GradientTable gradient;
    std::unique_ptr<RandomSource> random;
  };
  ReplySource currentSource() const;
  // The shown reply: the converted one in the converted state, else what
  // converting now would give. Built from `text` with a copy of the
  // source's generator, so building never changes a conversion.
  void buildReply(StyledReply& reply, std::u16string_view text) const;
  void refreshPreview();
  // Every control of `container` that may change the reply refreshes the
  // preview after its own handler.
  void followChanges(controls::Control& container);

  platform::ServiceBundle& services_;
  common::StatusLine& status_;
  RandomSource& random_;
  std::function<void()> collapseWindow_;
  GradientTable gradient_;
  std::u16string sourceText_;
  bool oneKeyPending_ = false;
  PreviewWindow& preview_;
  bool previewOn_ = false;
  bool previewShowable_ = false;
  // Set by a conversion, dropped when the panel returns to the idle state.
  std::unique_ptr<ReplySource> converted_;
};

}  // namespace vexlo::formatter

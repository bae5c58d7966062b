#include "formatter/formatter_panel.h"

#include <utility>

#include "formatter/preview_layout.h"

namespace vexlo::formatter {

using controls::TwipsRect;

namespace {

constexpr std::array<std::u16string_view, 15> kFonts = {
    u"宋体",     u"仿宋",     u"幼圆",     u"楷体",     u"隶书",     u"黑体",     u"新宋体",  u"华文彩云",
    u"华文仿宋", u"华文细黑", u"华文新魏", u"华文行楷", u"华文中宋", u"方正舒体", u"方正姚体"};
constexpr std::array<std::u16string_view, 7> kSizes = {u"+１", u"+２", u"+３", u"+４", u"+５", u"+６", u"+７"};
constexpr std::array<std::u16string_view, 4> kModes = {u"单色", u"渐变", u"彩虹", u"随机"};
constexpr std::array<std::u16string_view, 4> kModeRowCaptions = {u"单 色:", u"渐 变:", u"设计者:", u"设计者:"};
constexpr std::array<std::u16string_view, 3> kColourTooltips = {u" 设置·颜色(单色) ", u" 设置·起始颜色(渐变) ",
                                                                u" 设置·终止颜色(渐变) "};
constexpr std::array<controls::Colour, 3> kStartColours = {0x0000FF, 0x0000FF, 0xFF0000};
constexpr std::array<TwipsRect, 3> kColourButtonRects = {
    TwipsRect{4080, 3270, 375, 210}, TwipsRect{3720, 3270, 135, 210}, TwipsRect{4680, 3270, 135, 210}};

constexpr std::uint32_t kReseedConstant = 69;
constexpr int kAutoPasteWaitMs = 2000;
constexpr int kAfterClickWaitMs = 100;
constexpr int kOneKeyPasteWaitMs = 500;
constexpr int kVirtualKeyControl = 0x11;
constexpr int kVirtualKeyV = 0x56;
constexpr int kVirtualKeyA = 0x41;
constexpr int kVirtualKeyC = 0x43;

constexpr std::u16string_view kPasteHint = u"\r  请把鼠标移到输入框上\r\r  两秒钟之后，自动粘贴！。。。\r";
constexpr std::u16string_view kOneKeyReport = u"\r  一键转换 <F12> \r";

}  // namespace

FormatterPanel::FormatterPanel(controls::Frame& frame, platform::ServiceBundle& services, common::StatusLine& status,
                               RandomSource& random, PreviewWindow& preview, std::function<void()> collapseWindow)
    : fontLabel("Label1", {120, 1560, 540, 180}, u"字体:"),
      sizeLabel("Label2", {1440, 1560, 540, 180}, u"大小:"),
      colourLabel("Label3", {120, 3030, 540, 210}, u"颜色:"),
      styleLabel("Label5", {2160, 2250, 450, 180}, u"样式:"),
      fontList("List1", {120, 1800, 1200, 1140}),
      sizeList("Combo1", {1440, 1800, 600, 300}),
      alignLeftOption("ZQ", {1440, 2250, 660, 210}, alignGroup, u"左齐"),
      alignRightOption("YQ", {1440, 2520, 660, 210}, alignGroup, u"右齐"),
      alignCentreOption("ZZ", {1440, 2790, 660, 210}, alignGroup, u"居中"),
      horizontalBox("Check1", {2160, 2460, 660, 210}, u"横排"),
      glowBox("Check2", {2160, 2460, 660, 210}, u"发光"),
      quoteBox("Check3", {2160, 2700, 660, 210}, u"引用"),
      boldBox("Check4", {2160, 2940, 660, 210}, u"粗体"),
      italicBox("Check5", {2880, 2460, 660, 210}, u"斜体"),
      underlineBox("Check6", {2880, 2700, 660, 210}, u"下划"),
      colourRowLabel("Label6", {2940, 3270, 720, 210}, u"单 色:"),
      designerLabel("Label18", {3720, 3270, 1095, 210}, u"Quenby_Sarn"),
      gradientStrip("Picture1", {3885, 3270, 765, 210}),
      convertButton("Comm", {3600, 2220, 975, 420}, u"论 坛"),
      inputBox("Te", {120, 240, 4695, 1200}, true),
      undoButton("CX", {4635, 2340, 180, 180}, u"9"),
      previewButton("YL", {4635, 2565, 180, 180}, u"预览"),
      emoticons(status),
      services_(services),
      status_(status),
      random_(random),
      collapseWindow_(std::move(collapseWindow)),
      preview_(preview) {
  build(frame);
}

void FormatterPanel::build(controls::Frame& frame) {
  frame.add(inputBox);
  inputBox.onDoubleClick = [this] { publish(); };

  frame.add(fontLabel);
  for (std::u16string_view font : kFonts) fontList.addItem(std::u16string(font));
  fontList.onClick = [this] { status_.report(u"设置:", u" 字体 < " + fontList.selectedText() + u" > "); };
  frame.add(fontList);

  frame.add(sizeLabel);
  for (std::u16string_view size : kSizes) sizeList.addItem(std::u16string(size));
  sizeList.onClick = [this] { status_.report(u"设置:", u" 大小 < " + sizeList.selectedText() + u" > "); };
  frame.add(sizeList);

  alignLeftOption.setValue(true);
  alignLeftOption.onClick = [this] { status_.report(u"设置:", u" 位置 < 左对齐 > "); };
  alignRightOption.onClick = [this] { status_.report(u"设置:", u" 位置 < 右对齐 > "); };
  alignCentreOption.onClick = [this] { status_.report(u"设置:", u" 位置 < 居中 > "); };
  for (controls::Control* c : {&alignLeftOption, &alignRightOption, &alignCentreOption}) frame.add(*c);

  emoticons.addTo(frame);

  frame.add(styleLabel);
  glowBox.setVisible(false);
  struct Style {
    controls::CheckBox& box;
    std::u16string_view text;
  };
  for (const Style& s : {Style{horizontalBox, u" 样式 < 横排 > "}, Style{glowBox, u" 样式 < 发光 > "},
                         Style{quoteBox, u" 样式 < 引用 > "}, Style{boldBox, u" 样式 < 粗体 > "},
                         Style{italicBox, u" 样式 < 斜体 > "}, Style{underlineBox, u" 样式 < 下划 > "}}) {
    controls::CheckBox& box = s.box;
    std::u16string text(s.text);
    box.onClick = [this, &box, text] { status_.reportToggle(box.value(), text); };
    frame.add(box);
  }
  horizontalBox.setTooltip(u" 横排 ");

  const std::array<std::u16string_view, 2> targets = {u"论 坛", u"Qzone"};
  for (int i = 0; i < 2; ++i) {
    targetOptions[i] = std::make_unique<controls::OptionButton>("HT(" + std::to_string(i) + ")",
                                                                TwipsRect{3600, 1560 + 270 * i, 1215, 210}, targetGroup,
                                                                std::u16string(targets[i]));
    frame.add(*targetOptions[i]);
  }
  targetOptions[0]->setValue(true);
  for (int i = 0; i < 2; ++i) targetOptions[i]->onClick = [this, i] { chooseTarget(i); };

  convertButton.setBackColour(kIdleBackColour);
  convertButton.onClick = [this] { clickConvert(); };
  frame.add(convertButton);
  undoButton.setBackColour(0xC0E0FF);  // #FFE0C0
  undoButton.setFontFace(u"Marlett");
  undoButton.setTooltip(u" 撤消 ");
  undoButton.onClick = [this] { undo(); };
  frame.add(undoButton);
  previewButton.setBackColour(0xC0E0FF);
  previewButton.setTooltip(u" 预览 ");
  previewButton.onClick = [this] {
    setPreviewOn(!previewOn_);
    inputBox.focus();
  };
  frame.add(previewButton);
  preview_.onCopyRichText = [this] { copyRichText(); };
  inputBox.onChange = [this] { refreshPreview(); };

  frame.add(colourLabel);
  for (int i = 0; i < 4; ++i) {
    colourModeOptions[i] = std::make_unique<controls::OptionButton>("YS(" + std::to_string(i) + ")",
                                                                    TwipsRect{120 + 690 * i, 3270, 660, 210}, modeGroup,
                                                                    std::u16string(kModes[i]));
    frame.add(*colourModeOptions[i]);
  }
  colourModeOptions[0]->setValue(true);
  for (int i = 0; i < 4; ++i) colourModeOptions[i]->onClick = [this, i] { chooseMode(i); };

  frame.add(colourRowLabel);
  designerLabel.setVisible(false);
  frame.add(designerLabel);
  gradientStrip.setVisible(false);
  frame.add(gradientStrip);
  for (int i = 0; i < 3; ++i) {
    colourButtons[i] = std::make_unique<controls::Button>("Co(" + std::to_string(i) + ")", kColourButtonRects[i]);
    colourButtons[i]->setBackColour(kStartColours[i]);
    colourButtons[i]->setTooltip(std::u16string(kColourTooltips[i]));
    colourButtons[i]->setVisible(i == 0);
    colourButtons[i]->onClick = [this, i] {
      std::u16string text = u" ";
      text.append(chooserColourName(i)).append(u" ");
      status_.report(u"设置:", text);
      chooser.open(i, colourButtons[i]->backColour().value_or(0));
    };
    frame.add(*colourButtons[i]);
  }

  chooser.onAccept = [this](int button, controls::Colour colour) {
    if (button >= 0) {
      colourButtons[button]->setBackColour(colour);
      if (button > 0) rebuildGradient();
    }
    inputBox.focus();
  };
  // Added last, so the chooser lies above the rest of the panel.
  frame.add(chooser.frame);
  followChanges(frame);
}

void FormatterPanel::followChanges(controls::Control& container) {
  for (controls::Control* c : container.children()) {
    if (c->onClick) {
      c->onClick = [this, own = std::move(c->onClick)] {
        own();
        refreshPreview();
      };
    }
    followChanges(*c);
  }
}

std::u16string FormatterPanel::targetCaption() const { return targetOptions[1]->value() ? u"Qzone" : u"论 坛"; }

void FormatterPanel::chooseTarget(int index) {
  if (converted()) {
    inputBox.setText(u"");
    inputBox.setLocked(false);
    convertButton.setBackColour(kIdleBackColour);
  }
  convertButton.setCaption(targetOptions[index]->caption());
  status_.report(u"设置", u" 回帖 < " + targetOptions[index]->caption() + u" > ");
  glowBox.setVisible(index == 1);
  inputBox.focus();
}

void FormatterPanel::chooseMode(int index) {
  colourRowLabel.setCaption(std::u16string(kModeRowCaptions[index]));
  colourButtons[0]->setVisible(index == 0);
  colourButtons[1]->setVisible(index == 1);
  colourButtons[2]->setVisible(index == 1);
  gradientStrip.setVisible(index == 1);
  status_.report(u"设置:", u" 颜色 < " + std::u16string(kModes[index]) + u" > ");
  glowBox.setEnabled(index == 0);
  designerLabel.setVisible(index == 2 || index == 3);
  fontList.setEnabled(index != 3);
  sizeList.setEnabled(index != 3);
}

int FormatterPanel::colourMode() const {
  for (int i = 0; i < 4; ++i)
    if (colourModeOptions[i]->value()) return i;
  return 0;
}

MarkupOptions FormatterPanel::options() const {
  MarkupOptions o;
  o.dialect = targetOptions[1]->value() ? Dialect::Qzone : Dialect::Forum;
  o.font = fontList.selectedText();
  o.sizeIndex = sizeList.selectedIndex();
  o.mode = static_cast<ColourMode>(colourMode());
  o.alignment = alignRightOption.value()    ? Alignment::Right
                : alignCentreOption.value() ? Alignment::Centre
                                            : Alignment::Left;
  o.horizontal = horizontalBox.value();
  o.glow = glowBox.value();
  o.quote = quoteBox.value();
  o.bold = boldBox.value();
  o.italic = italicBox.value();
  o.underline = underlineBox.value();
  o.singleColour = colourButtons[0]->backColour().value_or(0);
  o.fontNames = fontList.items();
  return o;
}

void FormatterPanel::rebuildGradient() {
  std::vector<StripLine> lines =
      gradient_.rebuild(colourButtons[1]->backColour().value_or(0), colourButtons[2]->backColour().value_or(0));
  std::vector<controls::DrawnLine> drawing;
  drawing.reserve(lines.size());
  for (const StripLine& l : lines) drawing.push_back({l.x1, l.y1, l.x2, l.y2, l.colour});
  gradientStrip.setDrawing(std::move(drawing));
}

void FormatterPanel::clickConvert() {
  random_.reseed(kReseedConstant);
  if (converted()) {
    clearPath();
    return;
  }
  collapseWindow_();
  sourceText_ = inputBox.text();
  if (!convertInto(sourceText_)) return;
  if (!publish()) {
    enterConvertedState();
    return;
  }
  status_.report(u"提示:", kPasteHint);
  services_.clock.sleep(kAutoPasteWaitMs);
  services_.pointer.leftClick();
  services_.clock.sleep(kAfterClickWaitMs);
  paste();
  enterConvertedState();
}

void FormatterPanel::oneKeyConversion(std::u16string source) {
  random_.reseed(kReseedConstant);
  collapseWindow_();
  status_.report(u"操作:", kOneKeyReport);
  sourceText_ = std::move(source);
  if (!convertInto(sourceText_)) return;
  if (!publish()) {
    enterConvertedState();
    return;
  }
  services_.clock.sleep(kOneKeyPasteWaitMs);
  paste();
  enterConvertedState();
}

FormatterPanel::ReplySource FormatterPanel::currentSource() const {
  return {options(), emoticons.pendingMarkup(), gradient_, random_.clone()};
}

bool FormatterPanel::convertInto(std::u16string_view source) {
  converted_.reset();
  // Taken after the reseed: the preview of the result draws what this
  // conversion draws.
  auto snapshot = std::make_unique<ReplySource>(currentSource());
  ConversionResult result = convertMarkup(options(), source, gradient_, emoticons.pendingMarkup(), random_);
  if (result.overGradientLimit) {
    inputBox.setText(u"");
    services_.messageBox.exclamation(kGradientLimitMessage, u"错误");
    return false;
  }
  inputBox.setText(std::move(result.markup));
  converted_ = std::move(snapshot);
  return true;
}

bool FormatterPanel::publish() {
  if (services_.clipboard.clear() && services_.clipboard.setText(inputBox.text())) return true;
  // Another program holds the clipboard: a paste now would put what it
  // holds into the reply, so the user is told instead.
  services_.messageBox.exclamation(kClipboardBusyMessage, u"错误");
  return false;
}

void FormatterPanel::buildReply(StyledReply& reply, std::u16string_view text) const {
  if (converted() && converted_) {
    const std::unique_ptr<RandomSource> random = converted_->random->clone();
    buildStyledReply(reply, converted_->options, text, converted_->gradient, converted_->emoticons, *random);
    return;
  }
  // The next conversion reseeds the generator first; so does the preview,
  // on a copy.
  const std::unique_ptr<RandomSource> random = random_.clone();
  random->reseed(kReseedConstant);
  buildStyledReply(reply, options(), text, gradient_, emoticons.pendingMarkup(), *random);
}

void FormatterPanel::refreshPreview() {
  if (!previewOn_ || !previewShowable_) return;
  const std::u16string& text = converted() && converted_ ? sourceText_ : inputBox.text();
  bool truncated = false;
  // Runs only for what the preview can show: a long text costs its typing
  // nothing more.
  const std::u16string_view shown = previewPrefix(text, truncated);
  PreviewContent content;
  buildReply(content.reply, shown);
  if (content.reply.overGradientLimit) {
    content.message = kGradientLimitMessage;
  } else if (truncated && !content.reply.runs.empty()) {
    StyledRun more = content.reply.runs.back();
    more.text = kPreviewEllipsis;
    content.reply.runs.push_back(std::move(more));
  }
  preview_.update(content);
}

void FormatterPanel::setPreviewOn(bool on) {
  previewOn_ = on;
  previewPlaceChanged(previewShowable_);
}

void FormatterPanel::previewPlaceChanged(bool showable) {
  previewShowable_ = showable;
  if (previewOn_ && showable) {
    refreshPreview();
    preview_.show();
  } else {
    preview_.hide();
  }
}

void FormatterPanel::copyRichText() {
  StyledReply reply;
  buildReply(reply, converted() && converted_ ? sourceText_ : inputBox.text());
  if (reply.overGradientLimit) {
    services_.messageBox.exclamation(kGradientLimitMessage, u"错误");
    return;
  }
  const std::vector<platform::ClipboardFormat> formats = {{u"HTML Format", writeClipboardHtml(reply)},
                                                          {u"Rich Text Format", writeRtf(reply, services_.codec)}};
  if (!services_.clipboard.setTextWithFormats(plainText(reply), formats)) {
    services_.messageBox.exclamation(kRichCopyBusyMessage, u"错误");
    return;
  }
  status_.report(u"当前操作:", u" 复制 < 富文本 > ");
}

void FormatterPanel::paste() { pressWithControl(kVirtualKeyV); }

void FormatterPanel::pressWithControl(int key) {
  services_.keyboard.keyEvent(kVirtualKeyControl, false);
  services_.keyboard.keyEvent(key, false);
  services_.keyboard.keyEvent(key, true);
  services_.keyboard.keyEvent(kVirtualKeyControl, true);
}

void FormatterPanel::startOneKeyConversion() {
  services_.clipboard.clear();
  // Select all and copy. The text is not deleted here: in a file window
  // Ctrl+A selects files, and a Delete would send them all to the recycle
  // bin. The paste that follows replaces the selection just the same.
  pressWithControl(kVirtualKeyA);
  pressWithControl(kVirtualKeyC);
  oneKeyPending_ = true;
}

void FormatterPanel::finishOneKeyConversion() {
  // Taken before converting: a conversion that fails is not tried again at
  // every tick.
  if (std::exchange(oneKeyPending_, false)) oneKeyConversion(services_.clipboard.text());
}

void FormatterPanel::clearPath() {
  inputBox.setText(u"");
  inputBox.setLocked(false);
  emoticons.reset();
  enterIdleState();
}

void FormatterPanel::enterConvertedState() {
  convertButton.setBackColour(kConvertedBackColour);
  convertButton.setCaption(std::u16string(kClearCaption));
  inputBox.setLocked(true);
}

void FormatterPanel::enterIdleState() {
  convertButton.setBackColour(kIdleBackColour);
  convertButton.setCaption(targetCaption());
}

void FormatterPanel::undo() {
  inputBox.setText(sourceText_);
  inputBox.setLocked(false);
  enterIdleState();
  services_.clipboard.clear();
  inputBox.focus();
  status_.report(u"操作:", u" 文本 < 撤消 > ");
}

}  // namespace vexlo::formatter

#include "formatter/formatter_panel.h"

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

constexpr std::u16string_view kPasteHint = u"\r  请把鼠标移到输入框上\r\r  两秒钟之后，自动粘贴！。。。\r";
constexpr std::u16string_view kOneKeyReport = u"\r  一键转换 <F12> \r";

}  // namespace

FormatterPanel::FormatterPanel(controls::Frame& frame, shell::Services& services, shell::StatusLine& status,
                               RandomSource& random, std::function<void()> collapseWindow)
    : label1("Label1", {120, 1560, 540, 180}, u"字体:"),
      label2("Label2", {1440, 1560, 540, 180}, u"大小:"),
      label3("Label3", {120, 3030, 540, 210}, u"颜色:"),
      label5("Label5", {2160, 2220, 540, 180}, u"样式:"),
      list1("List1", {120, 1800, 1200, 1140}),
      combo1("Combo1", {1440, 1800, 600, 300}),
      zq("ZQ", {1440, 2250, 660, 210}, alignGroup, u"左齐"),
      yq("YQ", {1440, 2520, 660, 210}, alignGroup, u"右齐"),
      zz("ZZ", {1440, 2790, 660, 210}, alignGroup, u"居中"),
      check1("Check1", {2160, 2460, 660, 210}, u"横排"),
      check2("Check2", {2160, 2460, 660, 210}, u"发光"),
      check3("Check3", {2160, 2700, 660, 210}, u"引用"),
      check4("Check4", {2160, 2940, 660, 210}, u"粗体"),
      check5("Check5", {2880, 2460, 660, 210}, u"斜体"),
      check6("Check6", {2880, 2700, 660, 210}, u"下划"),
      label6("Label6", {2940, 3270, 720, 210}, u"单 色:"),
      label18("Label18", {3720, 3270, 1095, 210}, u"Quenby_Sarn"),
      picture1("Picture1", {3885, 3270, 765, 210}),
      comm("Comm", {3600, 2220, 975, 420}, u"论 坛"),
      te("Te", {120, 240, 4695, 1200}, true),
      cx("CX", {4635, 2340, 180, 180}, u"9"),
      services_(services),
      status_(status),
      random_(random),
      collapseWindow_(std::move(collapseWindow)) {
  build(frame);
}

void FormatterPanel::build(controls::Frame& frame) {
  frame.add(te);
  te.onDoubleClick = [this] { copyAll(); };

  frame.add(label1);
  for (std::u16string_view font : kFonts) list1.addItem(std::u16string(font));
  list1.onClick = [this] { status_.report(u"设置:", u" 字体 < " + list1.selectedText() + u" > "); };
  frame.add(list1);

  frame.add(label2);
  for (std::u16string_view size : kSizes) combo1.addItem(std::u16string(size));
  combo1.onClick = [this] { status_.report(u"设置:", u" 大小 < " + combo1.selectedText() + u" > "); };
  frame.add(combo1);

  zq.setValue(true);
  zq.onClick = [this] { status_.report(u"设置:", u" 位置 < 左对齐 > "); };
  yq.onClick = [this] { status_.report(u"设置:", u" 位置 < 右对齐 > "); };
  zz.onClick = [this] { status_.report(u"设置:", u" 位置 < 居中 > "); };
  for (controls::Control* c : {&zq, &yq, &zz}) frame.add(*c);

  frame.add(emoticons.label4);
  frame.add(emoticons.sc0);
  frame.add(emoticons.qc);

  frame.add(label5);
  check2.setVisible(false);
  struct Style {
    controls::CheckBox& box;
    std::u16string_view text;
  };
  for (const Style& s : {Style{check1, u" 样式 < 横排 > "}, Style{check2, u" 样式 < 发光 > "},
                         Style{check3, u" 样式 < 引用 > "}, Style{check4, u" 样式 < 粗体 > "},
                         Style{check5, u" 样式 < 斜体 > "}, Style{check6, u" 样式 < 下划 > "}}) {
    controls::CheckBox& box = s.box;
    std::u16string text(s.text);
    box.onClick = [this, &box, text] { status_.reportToggle(box.value(), text); };
    frame.add(box);
  }
  check1.setTooltip(u" 横排 ");

  const std::array<std::u16string_view, 2> targets = {u"论 坛", u"Qzone"};
  for (int i = 0; i < 2; ++i) {
    ht[i] = std::make_unique<controls::OptionButton>("HT(" + std::to_string(i) + ")",
                                                     TwipsRect{3600, 1560 + 270 * i, 1215, 210}, targetGroup,
                                                     std::u16string(targets[i]));
    frame.add(*ht[i]);
  }
  ht[0]->setValue(true);
  for (int i = 0; i < 2; ++i) ht[i]->onClick = [this, i] { chooseTarget(i); };

  comm.setBackColour(kIdleBackColour);
  comm.onClick = [this] { clickConvert(); };
  frame.add(comm);
  cx.setBackColour(0xC0E0FF);  // #FFE0C0
  cx.setFontFace(u"Marlett");
  cx.setTooltip(u" 撤消 ");
  cx.onClick = [this] { undo(); };
  frame.add(cx);

  frame.add(label3);
  for (int i = 0; i < 4; ++i) {
    ys[i] = std::make_unique<controls::OptionButton>("YS(" + std::to_string(i) + ")",
                                                     TwipsRect{120 + 690 * i, 3270, 660, 210}, modeGroup,
                                                     std::u16string(kModes[i]));
    frame.add(*ys[i]);
  }
  ys[0]->setValue(true);
  for (int i = 0; i < 4; ++i) ys[i]->onClick = [this, i] { chooseMode(i); };

  frame.add(label6);
  label18.setVisible(false);
  frame.add(label18);
  picture1.setVisible(false);
  frame.add(picture1);
  for (int i = 0; i < 3; ++i) {
    co[i] = std::make_unique<controls::Button>("Co(" + std::to_string(i) + ")", kColourButtonRects[i]);
    co[i]->setBackColour(kStartColours[i]);
    co[i]->setTooltip(std::u16string(kColourTooltips[i]));
    co[i]->setVisible(i == 0);
    co[i]->onClick = [this, i] {
      std::u16string text = u" ";
      text.append(chooserColourName(i)).append(u" ");
      status_.report(u"设置:", text);
      chooser.open(i, co[i]->backColour().value_or(0));
    };
    frame.add(*co[i]);
  }

  chooser.onAccept = [this](int button, controls::Colour colour) {
    if (button >= 0) {
      co[button]->setBackColour(colour);
      if (button > 0) rebuildGradient();
    }
    te.focus();
  };
  // Added last, so the chooser lies above the rest of the panel.
  frame.add(chooser.se);
}

std::u16string FormatterPanel::targetCaption() const { return ht[1]->value() ? u"Qzone" : u"论 坛"; }

void FormatterPanel::chooseTarget(int index) {
  if (converted()) {
    te.setText(u"");
    te.setLocked(false);
    comm.setBackColour(kIdleBackColour);
  }
  comm.setCaption(ht[index]->caption());
  status_.report(u"设置", u" 回帖 < " + ht[index]->caption() + u" > ");
  check2.setVisible(index == 1);
  te.focus();
}

void FormatterPanel::chooseMode(int index) {
  label6.setCaption(std::u16string(kModeRowCaptions[index]));
  co[0]->setVisible(index == 0);
  co[1]->setVisible(index == 1);
  co[2]->setVisible(index == 1);
  picture1.setVisible(index == 1);
  status_.report(u"设置:", u" 颜色 < " + std::u16string(kModes[index]) + u" > ");
  check2.setEnabled(index == 0);
  label18.setVisible(index == 2 || index == 3);
  list1.setEnabled(index != 3);
  combo1.setEnabled(index != 3);
}

int FormatterPanel::colourMode() const {
  for (int i = 0; i < 4; ++i)
    if (ys[i]->value()) return i;
  return 0;
}

MarkupOptions FormatterPanel::options() const {
  MarkupOptions o;
  o.dialect = ht[1]->value() ? Dialect::Qzone : Dialect::Forum;
  o.font = list1.selectedText();
  o.sizeIndex = combo1.selectedIndex();
  o.mode = static_cast<ColourMode>(colourMode());
  o.alignment = yq.value() ? Alignment::Right : zz.value() ? Alignment::Centre : Alignment::Left;
  o.horizontal = check1.value();
  o.glow = check2.value();
  o.quote = check3.value();
  o.bold = check4.value();
  o.italic = check5.value();
  o.underline = check6.value();
  o.singleColour = co[0]->backColour().value_or(0);
  o.fontNames = list1.items();
  return o;
}

void FormatterPanel::rebuildGradient() {
  std::vector<StripLine> lines = gradient_.rebuild(co[1]->backColour().value_or(0), co[2]->backColour().value_or(0));
  std::vector<controls::DrawnLine> drawing;
  drawing.reserve(lines.size());
  for (const StripLine& l : lines) drawing.push_back({l.x1, l.y1, l.x2, l.y2, l.colour});
  picture1.setDrawing(std::move(drawing));
}

void FormatterPanel::clickConvert() {
  random_.reseed(kReseedConstant);
  if (converted()) {
    clearPath();
    return;
  }
  collapseWindow_();
  sourceText_ = te.text();
  if (!convertInto(sourceText_)) return;
  publish();
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
  publish();
  services_.clock.sleep(kOneKeyPasteWaitMs);
  paste();
  enterConvertedState();
}

bool FormatterPanel::convertInto(std::u16string_view source) {
  ConversionResult result = convertMarkup(options(), source, gradient_, emoticons.pendingMarkup(), random_);
  if (result.overGradientLimit) {
    te.setText(u"");
    services_.messageBox.exclamation(kGradientLimitMessage, u"错误");
    return false;
  }
  te.setText(std::move(result.markup));
  return true;
}

void FormatterPanel::publish() {
  services_.clipboard.clear();
  services_.clipboard.setText(te.text());
}

void FormatterPanel::paste() {
  services_.keyboard.keyEvent(kVirtualKeyControl, false);
  services_.keyboard.keyEvent(kVirtualKeyV, false);
  services_.keyboard.keyEvent(kVirtualKeyV, true);
  services_.keyboard.keyEvent(kVirtualKeyControl, true);
}

void FormatterPanel::clearPath() {
  te.setText(u"");
  te.setLocked(false);
  emoticons.reset();
  enterIdleState();
}

void FormatterPanel::enterConvertedState() {
  comm.setBackColour(kConvertedBackColour);
  comm.setCaption(std::u16string(kClearCaption));
  te.setLocked(true);
}

void FormatterPanel::enterIdleState() {
  comm.setBackColour(kIdleBackColour);
  comm.setCaption(targetCaption());
}

void FormatterPanel::undo() {
  te.setText(sourceText_);
  te.setLocked(false);
  enterIdleState();
  services_.clipboard.clear();
  te.focus();
  status_.report(u"操作:", u" 文本 < 撤消 > ");
}

void FormatterPanel::copyAll() {
  services_.clipboard.clear();
  services_.clipboard.setText(te.text());
}

}  // namespace vexlo::formatter

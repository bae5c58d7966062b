#include "formatter/colour_chooser.h"

#include "formatter/colour.h"

namespace vexlo::formatter {

namespace {
constexpr std::array<std::u16string_view, 3> kColourNames = {u"单色 < 颜色 >", u"渐变 < 起始颜色 >",
                                                             u"渐变 < 终止颜色 >"};
constexpr std::u16string_view kCaptionPrefix = u"选择·";
constexpr controls::Colour kWhite = 0xFFFFFF;
}  // namespace

std::u16string chooserColourName(int button) { return std::u16string(kColourNames.at(static_cast<std::size_t>(button))); }

ColourChooser::ColourChooser()
    : se("Se", {0, 1560, 4935, 2055}, u"选择·颜色"),
      label63("Label63", {3600, 240, 600, 180}, u"选 择:"),
      label8("Label8", {3600, 480, 615, 615}),
      command3("Command3", {3600, 1320, 600, 330}, u"确定"),
      command4("Command4", {4260, 1320, 600, 330}, u"取消") {
  se.setVisible(false);
  label8.setBackColour(kWhite);
  se.add(label63);
  se.add(label8);
  for (int r = 0; r < kSwatchRows; ++r) {
    for (int c = 0; c < kSwatchColumns; ++c) {
      const int i = r * kSwatchColumns + c;
      ss[i] = std::make_unique<controls::Label>("Ss(" + std::to_string(i) + ")",
                                                controls::TwipsRect{120 + 270 * c, 240 + 270 * r, 255, 255});
      const controls::Colour colour = swatchColour(c, r);
      ss[i]->setBackColour(colour);
      ss[i]->onClick = [this, colour] { label8.setBackColour(colour); };
      se.add(*ss[i]);
    }
  }
  command3.onClick = [this] { accept(); };
  command4.onClick = [this] { hide(); };
  se.add(command3);
  se.add(command4);
}

void ColourChooser::open(int button, controls::Colour colour) {
  se.setCaption(std::u16string(kCaptionPrefix) + chooserColourName(button));
  se.setVisible(true);
  label8.setBackColour(colour);
}

void ColourChooser::accept() {
  hide();
  int chosen = -1;
  for (int button = 0; button < 3 && chosen < 0; ++button)
    if (se.caption() == std::u16string(kCaptionPrefix) + chooserColourName(button)) chosen = button;
  if (onAccept) onAccept(chosen, label8.backColour().value_or(kWhite));
}

}  // namespace vexlo::formatter

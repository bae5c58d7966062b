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
    : frame("Se", {0, 1560, 4935, 2055}, u"选择·颜色"),
      chooseLabel("Label63", {3600, 240, 600, 180}, u"选 择:"),
      previewLabel("Label8", {3600, 480, 615, 615}),
      okButton("Command3", {3600, 1320, 600, 330}, u"确定"),
      cancelButton("Command4", {4260, 1320, 600, 330}, u"取消") {
  frame.setVisible(false);
  previewLabel.setBackColour(kWhite);
  frame.add(chooseLabel);
  frame.add(previewLabel);
  for (int r = 0; r < kSwatchRows; ++r) {
    for (int c = 0; c < kSwatchColumns; ++c) {
      const int i = r * kSwatchColumns + c;
      swatches[i] = std::make_unique<controls::Label>("Ss(" + std::to_string(i) + ")",
                                                      controls::TwipsRect{120 + 270 * c, 240 + 270 * r, 255, 255});
      const controls::Colour colour = swatchColour(c, r);
      swatches[i]->setBackColour(colour);
      swatches[i]->onClick = [this, colour] { previewLabel.setBackColour(colour); };
      frame.add(*swatches[i]);
    }
  }
  okButton.onClick = [this] { accept(); };
  cancelButton.onClick = [this] { hide(); };
  frame.add(okButton);
  frame.add(cancelButton);
}

void ColourChooser::open(int button, controls::Colour colour) {
  frame.setCaption(std::u16string(kCaptionPrefix) + chooserColourName(button));
  frame.setVisible(true);
  previewLabel.setBackColour(colour);
}

void ColourChooser::accept() {
  hide();
  int chosen = -1;
  for (int button = 0; button < 3 && chosen < 0; ++button)
    if (frame.caption() == std::u16string(kCaptionPrefix) + chooserColourName(button)) chosen = button;
  if (onAccept) onAccept(chosen, previewLabel.backColour().value_or(kWhite));
}

}  // namespace vexlo::formatter

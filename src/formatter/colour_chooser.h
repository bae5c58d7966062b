// The colour chooser: a frame over the lower half of the formatter panel
// with 72 swatches, a preview and OK / Cancel. It remembers which colour it
// edits only through its caption.
#pragma once

#include <array>
#include <functional>
#include <memory>

#include "controls/control.h"

namespace vexlo::formatter {

inline constexpr int kSwatchColumns = 12;
inline constexpr int kSwatchRows = 6;
inline constexpr int kSwatchCount = kSwatchColumns * kSwatchRows;

// The name of the colour that colour button i edits.
std::u16string chooserColourName(int button);

class ColourChooser {
 public:
  ColourChooser();

  // Shows the chooser for colour button `button`, starting from `colour`.
  void open(int button, controls::Colour colour);
  void hide() { frame.setVisible(false); }

  // OK: the button whose name the caption carries (-1 when it names none),
  // and the chosen colour.
  std::function<void(int button, controls::Colour colour)> onAccept;

  controls::Frame frame;
  controls::Label chooseLabel;
  controls::Label previewLabel;
  std::array<std::unique_ptr<controls::Label>, kSwatchCount> swatches;
  controls::Button okButton;
  controls::Button cancelButton;

 private:
  void accept();
};

}  // namespace vexlo::formatter

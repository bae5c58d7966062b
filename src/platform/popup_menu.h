// A pop-up menu shown at a point of the main window.
#pragma once

#include <string>
#include <vector>

namespace vexlo::platform {

// An item whose caption is this text is a separator line.
inline constexpr std::u16string_view kMenuSeparator = u"-";

class PopupMenu {
 public:
  virtual ~PopupMenu() = default;
  // Shows the items with their top left corner at a point of the main
  // window's client area, in twips, and waits for the user: the index of
  // the chosen item, or -1 when the menu was dismissed.
  virtual int choose(const std::vector<std::u16string>& items, int xTwips, int yTwips) = 0;
};

}  // namespace vexlo::platform

// What the system tools list and the Control Panel menu start: each entry
// with its caption and its launch, followed by the counterparts that later
// systems have in place of a tool they lack.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "utilities/launch.h"

namespace vexlo::utilities {

struct SystemToolEntry {
  enum class Action { Start, ControlPanelMenu };
  std::u16string_view caption;
  bool collapseFirst;
  Action action;
  // The entry's own launch first; empty for the menu.
  std::vector<Launch> launches;
};

struct ControlPanelItem {
  std::u16string_view caption;   // "-" for the separator
  std::vector<Launch> launches;  // empty for the separator
};

const std::vector<SystemToolEntry>& systemTools();
const std::vector<ControlPanelItem>& controlPanelItems();

}  // namespace vexlo::utilities

// The clock caption and the start-up date shown in its tooltip.
#pragma once

#include <string>

#include "platform/services.h"

namespace vexlo::shell {

// "hh:mm:ss", 24-hour, two digits each.
std::u16string clockCaption(const platform::LocalTime& time);

// One blank, mm-dd-yyyy and the weekday mark, e.g. " 12-07-2026(一) ".
std::u16string dateTooltip(const platform::LocalTime& time);

}  // namespace vexlo::shell

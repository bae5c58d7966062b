// What reading a conversion's markup gives back for the reply it was built
// as: gradient markup is written like rainbow markup, and one colour piece
// like a single colour, framed by its own font and size.
#pragma once

#include "formatter/styled_text.h"

namespace vexlo::fakes {

inline formatter::StyledReply asRead(formatter::StyledReply built) {
  using formatter::ColourMode;
  if (built.runs.size() == 1) {
    const formatter::StyledRun& run = built.runs.front();
    built.mode = ColourMode::Single;
    built.frame = {run.face, run.horizontal, run.size};
  } else if (built.mode == ColourMode::Gradient) {
    built.mode = ColourMode::Rainbow;
  }
  return built;
}

}  // namespace vexlo::fakes

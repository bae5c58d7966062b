// The emoticon row of the reply formatter: the queue of image tags that the
// forum dialect appends to a conversion, its count and the list to choose
// from.
#pragma once

#include <string>

#include "controls/control.h"

namespace vexlo::favourites {

class EmoticonRow {
 public:
  EmoticonRow();

  const std::u16string& pendingMarkup() const { return pendingMarkup_; }
  int count() const { return count_; }

  // Empties the queue and its display.
  void reset();

  controls::Label countLabel;
  controls::DropDownList emoticonList;
  controls::Button clearButton;

 private:
  std::u16string pendingMarkup_;
  int count_ = 0;
};

}  // namespace vexlo::favourites

// The emoticon row of the reply formatter: the emoticon favourites (names in
// a drop-down list, image addresses beside them), the queue of image tags
// that the forum dialect appends to a conversion, its count, and the list's
// add, delete, modify and sort buttons.
#pragma once

#include <string>

#include "common/status_line.h"
#include "controls/control.h"
#include "favourites/favourites_list.h"

namespace vexlo::favourites {

class EmoticonRow {
 public:
  explicit EmoticonRow(common::StatusLine& status);
  EmoticonRow(const EmoticonRow&) = delete;
  EmoticonRow& operator=(const EmoticonRow&) = delete;

  // Adds the row's controls to the panel that shows them.
  void addTo(controls::Control& panel);

  const std::u16string& pendingMarkup() const { return pendingMarkup_; }
  int count() const { return count_; }

  // Empties the queue and its display, and clears the choice.
  void reset();

  controls::Label countLabel;
  controls::DropDownList emoticonList;
  controls::ListBox addressList;  // never shown
  controls::Button clearButton;
  FavouritesList favourites;
  ListButtons buttons;

 private:
  void queue(int index);

  common::StatusLine& status_;
  std::u16string pendingMarkup_;
  int count_ = 0;
};

}  // namespace vexlo::favourites

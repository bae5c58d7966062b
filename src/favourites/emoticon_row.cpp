#include "favourites/emoticon_row.h"

namespace vexlo::favourites {

EmoticonRow::EmoticonRow()
    : countLabel("Label4", {2160, 1560, 450, 180}, u"表情:"),
      emoticonList("SC(0)", {2160, 1800, 1050, 300}),
      clearButton("QC", {3240, 1800, 255, 300}, u"C") {
  clearButton.setTooltip(u" 清除表情 ");
  // The clear button empties the queue the user can see counted beside it.
  clearButton.onClick = [this] { reset(); };
}

void EmoticonRow::reset() {
  pendingMarkup_.clear();
  count_ = 0;
  emoticonList.setSelectedIndex(-1);
  countLabel.setCaption(u"表情:");
}

}  // namespace vexlo::favourites

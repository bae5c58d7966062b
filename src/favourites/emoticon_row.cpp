#include "favourites/emoticon_row.h"

namespace vexlo::favourites {

EmoticonRow::EmoticonRow()
    : label4("Label4", {2160, 1560, 450, 180}, u"表情:"),
      sc0("SC(0)", {2160, 1800, 1050, 300}),
      qc("QC", {3240, 1800, 255, 300}, u"C") {
  qc.setTooltip(u" 清除表情 ");
  // The clear button empties the queue the user can see counted beside it.
  qc.onClick = [this] { reset(); };
}

void EmoticonRow::reset() {
  pendingMarkup_.clear();
  count_ = 0;
  sc0.setSelectedIndex(-1);
  label4.setCaption(u"表情:");
}

}  // namespace vexlo::favourites

#include "favourites/emoticon_row.h"

#include "text/characters.h"

namespace vexlo::favourites {

namespace {

const ListButtonLayout kEmoticonButtons{
    {controls::TwipsRect{2610, 2130, 210, 180}, controls::TwipsRect{2820, 2130, 210, 180},
     controls::TwipsRect{3030, 2130, 210, 180}, controls::TwipsRect{3240, 2130, 255, 180}},
    {u"+", u"-", u"*", u"7"},
    {u" 增加表情 ", u" 删除表情 ", u" 修改数据 ", u" 排序 "},
    "ComP(0)",
    true};

}  // namespace

EmoticonRow::EmoticonRow(common::StatusLine& status)
    : countLabel("Label4", {2160, 1560, 450, 180}, u"表情:"),
      emoticonList("SC(0)", {2160, 1800, 1050, 300}),
      addressList("Lis(0)", {0, 0, 0, 0}),
      clearButton("QC", {3240, 1800, 255, 300}, u"C"),
      favourites(emoticonList, addressList),
      buttons(kEmoticonList, kEmoticonButtons),
      status_(status) {
  addressList.setVisible(false);
  clearButton.setTooltip(u" 清除表情 ");
  // The clear button empties the queue the user can see counted beside it.
  clearButton.onClick = [this] { reset(); };
  emoticonList.onClick = [this] { followChoice(favourites, buttons, [this](int index) { queue(index); }); };
}

void EmoticonRow::addTo(controls::Control& panel) {
  panel.add(countLabel);
  panel.add(emoticonList);
  panel.add(clearButton);
  buttons.addTo(panel);
}

void EmoticonRow::queue(int index) {
  pendingMarkup_ += u"[img]" + favourites.address(index) + u"[/img]";
  ++count_;
  countLabel.setCaption(u"表情:( " + text::decimal(count_) + u" )");
  status_.report(u"插入:", u" 表情 < " + favourites.name(index) + u" > ");
}

void EmoticonRow::reset() {
  pendingMarkup_.clear();
  count_ = 0;
  emoticonList.setSelectedIndex(-1);
  countLabel.setCaption(u"表情:");
  buttons.remove.setEnabled(false);
  buttons.modify.setEnabled(false);
}

}  // namespace vexlo::favourites

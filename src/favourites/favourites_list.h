// One favourites list: the names the user sees and the addresses behind
// them, held in two list controls side by side at every index. Every insert,
// removal, swap and change touches both.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/settings_entry.h"
#include "controls/control.h"
#include "platform/services.h"

namespace vexlo::favourites {

inline constexpr int kEmoticonList = 0;
inline constexpr int kMediaList = 1;
inline constexpr int kProgramList = 2;
// The word each list is known by in captions and status texts.
inline constexpr std::array<std::u16string_view, 3> kKindWords = {u"表情", u"影音", u"程序"};

class FavouritesList {
 public:
  FavouritesList(controls::ListControl& names, controls::ListControl& addresses) : names(names), addresses(addresses) {}

  int count() const { return names.count(); }
  const std::u16string& name(int index) const { return names.items()[static_cast<std::size_t>(index)]; }
  const std::u16string& address(int index) const { return addresses.items()[static_cast<std::size_t>(index)]; }

  void insert(int index, std::u16string name, std::u16string address);
  void append(std::u16string name, std::u16string address) { insert(count(), std::move(name), std::move(address)); }
  void remove(int index);
  void set(int index, std::u16string name, std::u16string address);

  // The stored entries, and restoring them in one change per holder.
  std::vector<common::SettingsEntry> entries() const;
  void restore(const std::vector<common::SettingsEntry>& entries);

  // Orders the entries by the length of their names in bytes of the ANSI
  // code page, shortest first; names of equal length keep their order.
  void sortByNameBytes(const platform::AnsiCodec& codec);

  controls::ListControl& names;
  controls::ListControl& addresses;
};

// The add, delete, modify and sort buttons of one list.
struct ListButtonLayout {
  std::array<controls::TwipsRect, 4> rects;  // add, delete, modify, sort
  std::array<std::u16string_view, 4> captions;
  std::array<std::u16string_view, 4> tooltips;
  std::string sortName;  // the sort button's own name: lists differ
  bool symbolSortCaption = false;
};

struct ListButtons {
  ListButtons(int list, const ListButtonLayout& layout);
  void addTo(controls::Control& container);

  controls::Button add;
  controls::Button remove;
  controls::Button modify;
  controls::Button sort;
};

// What choosing in a name list does for the lists that have one (emoticons
// and media): the address list follows the choice, delete and modify are
// enabled, and `use` runs with the chosen index; a cleared choice only
// disables delete and modify.
void followChoice(FavouritesList& list, ListButtons& buttons, const std::function<void(int index)>& use);

}  // namespace vexlo::favourites

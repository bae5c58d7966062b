#include "favourites/favourites_list.h"

#include <algorithm>
#include <numeric>

namespace vexlo::favourites {

void FavouritesList::insert(int index, std::u16string name, std::u16string address) {
  names.insertItem(index, std::move(name));
  addresses.insertItem(index, std::move(address));
}

void FavouritesList::remove(int index) {
  addresses.removeItem(index);
  names.removeItem(index);
}

void FavouritesList::set(int index, std::u16string name, std::u16string address) {
  names.setItem(index, std::move(name));
  addresses.setItem(index, std::move(address));
}

std::vector<common::SettingsEntry> FavouritesList::entries() const {
  std::vector<common::SettingsEntry> result;
  result.reserve(static_cast<std::size_t>(count()));
  for (int i = 0; i < count(); ++i) result.push_back({name(i), address(i)});
  return result;
}

void FavouritesList::restore(const std::vector<common::SettingsEntry>& entries) {
  std::vector<std::u16string> nameItems, addressItems;
  nameItems.reserve(entries.size());
  addressItems.reserve(entries.size());
  for (const common::SettingsEntry& e : entries) {
    nameItems.push_back(e.name);
    addressItems.push_back(e.address);
  }
  names.setItems(std::move(nameItems));
  addresses.setItems(std::move(addressItems));
}

void FavouritesList::sortByNameBytes(const platform::AnsiCodec& codec) {
  std::vector<std::size_t> lengths;
  for (int i = 0; i < count(); ++i) lengths.push_back(codec.encode(name(i)).size());
  std::vector<int> order(static_cast<std::size_t>(count()));
  std::iota(order.begin(), order.end(), 0);
  // A bubble sort that swaps only on a strictly longer name: the stable
  // order, computed in one go so the lists change once.
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return lengths[a] < lengths[b]; });
  if (std::is_sorted(order.begin(), order.end())) return;
  std::vector<common::SettingsEntry> sorted;
  for (int i : order) sorted.push_back({name(i), address(i)});
  restore(sorted);
}

ListButtons::ListButtons(int list, const ListButtonLayout& layout)
    : add("ComJ(" + std::to_string(list) + ")", layout.rects[0], std::u16string(layout.captions[0])),
      remove("ComK(" + std::to_string(list) + ")", layout.rects[1], std::u16string(layout.captions[1])),
      modify("ComX(" + std::to_string(list) + ")", layout.rects[2], std::u16string(layout.captions[2])),
      sort(layout.sortName, layout.rects[3], std::u16string(layout.captions[3])) {
  controls::Button* all[] = {&add, &remove, &modify, &sort};
  for (int i = 0; i < 4; ++i) all[i]->setTooltip(std::u16string(layout.tooltips[i]));
  if (layout.symbolSortCaption) sort.setFontFace(u"Marlett");
  remove.setEnabled(false);
  modify.setEnabled(false);
  sort.setEnabled(false);
}

void ListButtons::addTo(controls::Control& container) {
  for (controls::Control* c : {&add, &remove, &modify, &sort}) container.add(*c);
}

void followChoice(FavouritesList& list, ListButtons& buttons, const std::function<void(int index)>& use) {
  const int chosen = list.names.selectedIndex();
  if (chosen >= 0) {
    list.addresses.setSelectedIndex(chosen);
    use(chosen);
  }
  buttons.remove.setEnabled(chosen >= 0);
  buttons.modify.setEnabled(chosen >= 0);
}

}  // namespace vexlo::favourites

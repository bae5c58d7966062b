#include "filemanager/directory_list.h"

#include "filemanager/file_kinds.h"
#include "filemanager/path_labels.h"

namespace vexlo::filemanager {

DirectoryList::DirectoryList(std::string name, controls::TwipsRect rect)
    : controls::ListBox(std::move(name), rect, true) {
  // One click enters a directory, so the arrow keys only move the
  // highlight: Enter or a click enters the highlighted one.
  setKeysOnlyHighlight(true);
}

void DirectoryList::show(std::u16string path, const std::vector<std::u16string>& subdirectories) {
  path_ = std::move(path);
  chain_ = directoryChain(path_);
  std::vector<std::u16string> items;
  std::vector<controls::ItemLook> looks;
  items.reserve(chain_.size() + subdirectories.size());
  looks.reserve(items.capacity());
  for (std::size_t level = 0; level < chain_.size(); ++level) {
    const std::u16string& directory = chain_[level];
    // The root shows as itself (C:\), every other directory by its name.
    items.push_back(level == 0 ? directory
                               : directory.substr(static_cast<std::size_t>(lastCharPosition(directory, u'\\'))));
    looks.push_back({static_cast<int>(level), controls::ItemIcon::OpenFolder});
  }
  for (const std::u16string& name : subdirectories) {
    items.push_back(name);
    looks.push_back({chainLength(), controls::ItemIcon::ClosedFolder});
  }
  setItems(std::move(items), std::move(looks));
  selectCurrent();
}

int DirectoryList::selectedEntry() const {
  const int position = selectedIndex();
  return position < 0 ? -1 : position - chainLength();
}

std::u16string DirectoryList::entryPath(int entry) const {
  const int position = entry + chainLength();
  if (position < 0 || position >= count()) return {};
  if (entry < 0) return chain_[static_cast<std::size_t>(position)];
  return joinPath(path_, items()[static_cast<std::size_t>(position)]);
}

void DirectoryList::selectCurrent() { setSelectedIndex(chainLength() - 1); }

}  // namespace vexlo::filemanager

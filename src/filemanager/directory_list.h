// The directory list: the chain of directories from the drive root down to
// its path, then the path's subdirectories, indented as an outline with
// open folders for the chain and closed ones below. Entries are numbered
// as the design numbers them: the current directory is -1, its parent -2
// and so on up to the root; the subdirectories are 0, 1, ...
#pragma once

#include <string>
#include <vector>

#include "controls/control.h"

namespace vexlo::filemanager {

class DirectoryList : public controls::ListBox {
 public:
  DirectoryList(std::string name, controls::TwipsRect rect);

  // The current directory; empty before the list first shows one.
  const std::u16string& path() const { return path_; }
  // Shows a directory with the subdirectories the caller read, the current
  // directory's entry selected.
  void show(std::u16string path, const std::vector<std::u16string>& subdirectories);
  // The entry number of the selected item (the current directory when
  // nothing is selected).
  int selectedEntry() const;
  // The path of an entry; empty for a number outside the list.
  std::u16string entryPath(int entry) const;
  // Moves the selection back to the current directory's entry.
  void selectCurrent();

 private:
  int chainLength() const { return static_cast<int>(chain_.size()); }

  std::u16string path_;
  std::vector<std::u16string> chain_;
};

}  // namespace vexlo::filemanager

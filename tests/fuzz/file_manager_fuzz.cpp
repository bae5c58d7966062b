// The file manager driven by a user who clicks anything in any order: the
// input is a sequence of actions (entering directories, clicking files,
// filters, preview, copy, cut, paste, both deletes, both renames, new
// directories) with the answers typed into the name boxes. Whatever the
// order, no shell operation, rename or new directory is ever given a drive
// root, a share's root or an empty path, no item is renamed to "", "." or
// "..", and the kind and path labels stay consistent with each other.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fakes/shell_harness.h"
#include "fuzz/fuzz_check.h"

namespace {

using namespace vexlo;
using fuzz::check;

// Written apart from the program's own guard, so a fault in one is not
// repeated in the other.
bool isRootOrNothing(std::u16string path) {
  if (path.size() >= 4 && path.compare(path.size() - 4, 4, u"\\*.*") == 0) path.resize(path.size() - 4);
  while (!path.empty() && (path.back() == u'\\' || path.back() == u'/')) path.pop_back();
  if (path.empty()) return true;
  if (path.size() == 2 && path[1] == u':') return true;
  if (path.rfind(u"\\\\", 0) == 0 || path.rfind(u"//", 0) == 0)
    return std::count_if(path.begin() + 2, path.end(), [](char16_t c) { return c == u'\\' || c == u'/'; }) < 2;
  return false;
}

bool namesAnItem(const std::u16string& path) {
  if (isRootOrNothing(path)) return false;
  const std::size_t cut = path.find_last_of(u"\\/");
  const std::u16string name = cut == std::u16string::npos ? path : path.substr(cut + 1);
  return !name.empty() && name != u"." && name != u"..";
}

constexpr std::array<std::u16string_view, 14> kAnswers = {
    u"", u"new", u"a.b", u".", u"..", u"x\\y", u"名字", u"C:", u" ", u"notes.txt", u"a/b", u"*", u"Sub", u"😀.txt"};

constexpr std::array<std::u16string_view, 9> kKindLabels = {u"目 录:", u"磁 盘:", u"影 音:", u"图 片:", u"文 本:",
                                                             u"文 档:", u"程 序:", u"快 捷:", u"文 件:"};

struct Session {
  Session() {
    auto& fs = harness.fileSystem;
    fs.addFile(u"C:\\root.txt");
    fs.addFile(u"C:\\song.mp3");
    for (std::u16string_view name : {u"a.bmp", u"b.JPG", u"notes.txt", u"README", u"setup.exe", u"Vexlo.lnk", u"x.y.z"})
      fs.addFile(u"C:\\Work\\" + std::u16string(name));
    fs.addDirectory(u"C:\\Work\\Sub\\Deeper");
    fs.addFile(u"C:\\Work\\Sub\\inner.gif");
    fs.addDirectory(u"D:\\Data");
    harness.fileSystem.driveTable.push_back({u"E:\\", u"", false});
    window = std::make_unique<shell::MainWindow>(harness.services, harness.random);
    check(window->start(), "the window did not start");
    window->panelSelector[shell::kFileManagerPanel]->userClick();
  }

  filemanager::FileManagerPanel& panel() { return window->fileManager; }

  static void pick(controls::ListControl& list, std::uint8_t byte) {
    if (list.count() > 0) list.userSelect(static_cast<int>(byte % list.count()));
  }

  void act(std::uint8_t action, std::uint8_t argument) {
    auto& p = panel();
    harness.inputBox.answers = {std::u16string(kAnswers[argument % kAnswers.size()])};
    if (window->collapsed()) window->expand();
    switch (action % 18) {
      case 0: pick(p.directoryList, argument); break;
      case 1: pick(p.fileList, argument); break;
      case 2: pick(p.driveList, argument); break;
      case 3: p.chooseFilter(argument % 5); break;
      case 4: p.copyButton.userClick(); break;
      case 5: p.cutButton.userClick(); break;
      case 6: p.pasteButton.userClick(); break;
      case 7: p.deleteButton.userClick(); break;
      case 8: p.deleteButton.userRightPress(); break;
      case 9: p.renameButton.userClick(); break;
      case 10: p.renameButton.userRightPress(); break;
      case 11: p.newDirectoryButton.userClick(); break;
      case 12: p.toolButton.userClick(); break;
      case 13: (argument % 2 ? p.nextButton : p.previousButton).userClick(); break;
      case 14: p.fileList.userKeyDown(argument % 2 ? filemanager::kVirtualKeyBack : filemanager::kVirtualKeyReturn); break;
      case 15: p.directoryList.userKeyDown(argument % 2 ? filemanager::kVirtualKeyBack : filemanager::kVirtualKeyReturn); break;
      case 16: harness.fileSystem.userDeclines = argument % 2; break;
      case 17: window->panelSelector[argument % 2 ? shell::kFileManagerPanel : 0]->userClick(); break;
    }
  }

  void checkEverythingAsked() {
    const auto& fs = harness.fileSystem;
    for (const platform::ShellFileOperation& operation : fs.shellOperations) {
      check(!isRootOrNothing(operation.source), "a shell operation was given a drive root or no path");
      check(operation.function == 3 || !operation.destination.empty(), "a copy or move was given no destination");
    }
    for (const auto& [from, to] : fs.moves) {
      check(namesAnItem(from), "a rename was given a drive root or no item");
      check(namesAnItem(to), "an item was renamed to a root, to nothing, to \".\" or to \"..\"");
    }
    for (const std::u16string& path : fs.createdDirectories)
      check(namesAnItem(path), "a new directory was a root, nothing, \".\" or \"..\"");
  }

  void checkLabels() {
    auto& p = panel();
    const std::u16string& kind = p.kindLabel.caption();
    const std::u16string& path = p.pathLabel.caption();
    check(std::find(kKindLabels.begin(), kKindLabels.end(), kind) != kKindLabels.end() || kind == u"文 件:",
          "the kind label is none of the nine");
    if (kind == u"磁 盘:") check(path.size() == 3 && path[1] == u':', "a drive's path label is not its root");
    if (kind == u"目 录:") check(path.size() > 3 && path.back() == u'\\', "a directory's path label lacks its \\");
  }

  fakes::ShellHarness harness;
  std::unique_ptr<shell::MainWindow> window;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 400) return 0;  // long sessions add nothing the short ones miss
  Session session;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    session.act(data[i], data[i + 1]);
    session.checkLabels();
  }
  session.checkEverythingAsked();
  return 0;
}

// The strip's operations on the selection: copy and cut remember, paste
// hands the transfer to the shell, the deletes go through the shell as
// well, rename and new directory ask for a name. None of them ever gives a
// drive root, an empty name or an empty path to the system.
#include <initializer_list>

#include "filemanager/file_manager_panel.h"
#include "filemanager/name_rules.h"
#include "filemanager/path_labels.h"

namespace vexlo::filemanager {

namespace {

constexpr std::u16string_view kOperationHeading = u"操作:";
constexpr std::u16string_view kHintHeading = u"提示:";
constexpr std::u16string_view kDriveRefused = u" 磁盘不能删除、移动或重命名 ";
constexpr std::u16string_view kNoFileChosen = u" 请先选择 < 文 件 > ";
constexpr std::u16string_view kPasteIntoItself = u" 不能粘贴到 < 源目录或其子目录 > 中 ";
constexpr std::u16string_view kNotAPlainName = u" 名称中不能包含 \\ / : * ? \" < > | ";

std::u16string verbText(std::u16string_view verb, std::u16string_view word) {
  std::u16string text(u" ");
  text.append(verb).append(u" < ").append(word).append(u" > ");
  return text;
}

}  // namespace

void FileManagerPanel::buildOperations() {
  struct Look {
    controls::Button& button;
    std::u16string_view tooltip;
    const char* picture;
  };
  for (const Look& look : {Look{newDirectoryButton, u" 新建目录 ", "new-folder"}, Look{cutButton, u" 剪切 ", "cut"},
                           Look{copyButton, u" 复制 ", "copy"}, Look{pasteButton, u" 粘贴 ", "paste"},
                           Look{renameButton, u" 重命名 ", "rename"}, Look{deleteButton, u" 删除 ", "delete"}}) {
    look.button.setTooltip(std::u16string(look.tooltip));
    look.button.setPicture(look.picture);
    operationsStrip.add(look.button);
  }
  pasteButton.setVisible(false);
  copyButton.onClick = [this] { remember(platform::kShellCopy, u"复制"); };
  cutButton.onClick = [this] { remember(platform::kShellMove, u"剪切"); };
  pasteButton.onClick = [this] { paste(); };
  deleteButton.onClick = [this] { deleteToRecycleBin(); };
  deleteButton.onRightPress = [this] { deleteWithSecondaryButton(); };
  renameButton.onClick = [this] { rename(false); };
  renameButton.onRightPress = [this] { rename(true); };
  newDirectoryButton.onClick = [this] { createDirectory(); };
}

std::optional<std::u16string> FileManagerPanel::operationSource() {
  const Kind kind = kindOfLabel(kindLabel.caption());
  if (kind == Kind::Directory) {
    const std::u16string& directory = directoryList.path();
    if (!namesNoItem(directory)) return directory;
  } else if (kind != Kind::Drive) {
    if (fileList.selectedIndex() < 0) {
      links_.status.report(kHintHeading, kNoFileChosen);
      return std::nullopt;
    }
    std::u16string path = realPath(pathLabel.caption());
    if (!namesNoItem(path)) return path;
  }
  links_.status.report(kHintHeading, kDriveRefused);
  return std::nullopt;
}

void FileManagerPanel::remember(int operation, std::u16string_view verb) {
  std::optional<std::u16string> source = operationSource();
  if (!source) return;
  pending_.kindWord = kindWord_;
  links_.status.report(kOperationHeading, verbText(verb, kindWord_));
  pending_.operation = operation;
  pending_.source = std::move(*source);
}

void FileManagerPanel::paste() {
  if (pending_.operation == 0) return;
  const std::u16string& destination = directoryList.path();
  // The shell would copy a folder into itself over and over.
  if (isSameOrInside(destination, pending_.source)) {
    links_.status.report(kHintHeading, kPasteIntoItself);
    return;
  }
  links_.status.report(kOperationHeading, verbText(u"粘贴", pending_.kindWord));
  const platform::Outcome outcome =
      links_.services.fileSystem.shellOperation({pending_.operation, pending_.source, destination, 0});
  if (!outcome) links_.status.report(u"无法粘贴:", u" " + outcome.message + u" ");
  pending_ = {};
  pasteButton.setVisible(false);
  refreshLists();
}

void FileManagerPanel::deleteToRecycleBin() {
  std::optional<std::u16string> source = operationSource();
  if (!source) return;
  const bool directory = kindOfLabel(kindLabel.caption()) == Kind::Directory;
  links_.shell.collapseWindow();
  links_.status.report(kOperationHeading, verbText(u"删除", kindWord_));
  const platform::Outcome outcome =
      links_.services.fileSystem.shellOperation({platform::kShellDelete, *source, {}, platform::kAllowUndo});
  if (!outcome) links_.status.report(u"无法删除:", u" " + outcome.message + u" ");
  if (directory) {
    // The current directory went (or the user kept it): its parent
    // becomes the current directory either way.
    enterParent();
  } else {
    refreshFiles();
    showDirectorySelection();
  }
  links_.shell.expandWindow();
}

void FileManagerPanel::deleteWithSecondaryButton() {
  const bool directory = kindOfLabel(kindLabel.caption()) == Kind::Directory;
  std::optional<std::u16string> source = operationSource();
  if (!source) return;
  links_.shell.collapseWindow();
  // A file goes for good; a directory keeps itself and sends what it holds
  // to the recycle bin.
  const platform::ShellFileOperation operation =
      directory
          ? platform::ShellFileOperation{platform::kShellDelete, joinPath(*source, u"*.*"), {}, platform::kAllowUndo}
          : platform::ShellFileOperation{platform::kShellDelete, *source, {}, 0};
  const platform::Outcome outcome = links_.services.fileSystem.shellOperation(operation);
  if (!outcome) links_.status.report(u"无法删除:", u" " + outcome.message + u" ");
  refreshLists();
  // The file is gone from the list: the selection is its directory again.
  if (!directory) showDirectorySelection();
  links_.shell.expandWindow();
}

void FileManagerPanel::rename(bool wholeName) {
  const bool directory = kindOfLabel(kindLabel.caption()) == Kind::Directory;
  if (wholeName && directory) {
    // The secondary button renames files only; it reports all the same.
    links_.status.report(kOperationHeading, verbText(u"重命名", kindWord_));
    return;
  }
  if (!operationSource()) return;
  links_.shell.collapseWindow();
  links_.status.report(kOperationHeading, verbText(u"重命名", kindWord_));
  if (directory)
    renameDirectory();
  else
    renameFile(wholeName);
  links_.shell.expandWindow();
}

void FileManagerPanel::renameDirectory() {
  const std::u16string directory = directoryList.path();
  const std::u16string answer = askName(renameDirectoryQuestion(directory));
  if (answer.empty()) return;
  const std::u16string renamed = renamedDirectory(directory, answer);
  const platform::Outcome outcome = links_.services.fileSystem.move(directory, renamed);
  if (!outcome) {
    links_.status.report(u"无法重命名:", u" " + outcome.message + u" ");
    return;
  }
  enterDirectory(renamed);
}

void FileManagerPanel::renameFile(bool wholeName) {
  const std::u16string name = fileList.selectedText();
  const std::u16string answer = askName(renameFileQuestion(name, wholeName));
  if (answer.empty()) return;
  const std::u16string newName = renamedFileName(name, answer, wholeName);
  const platform::Outcome outcome =
      links_.services.fileSystem.move(joinPath(directoryList.path(), name), joinPath(directoryList.path(), newName));
  if (!outcome) {
    links_.status.report(u"无法重命名:", u" " + outcome.message + u" ");
    return;
  }
  refreshFiles();
  selectFileByName(newName);
  // A new name the filter does not show leaves no file selected.
  if (fileList.selectedIndex() < 0) showDirectorySelection();
}

void FileManagerPanel::createDirectory() {
  links_.shell.collapseWindow();
  links_.status.report(u"当前操作:", u" 新建 < 目 录 > ");
  const std::u16string answer = askName(newDirectoryQuestion());
  if (!answer.empty()) {
    const std::u16string created = joinPath(directoryList.path(), answer);
    const platform::Outcome outcome = links_.services.fileSystem.createDirectory(created);
    if (outcome)
      enterDirectory(created);
    else
      links_.status.report(u"无法新建目录:", u" " + outcome.message + u" ");
  }
  links_.shell.expandWindow();
}

std::u16string FileManagerPanel::askName(const NameQuestion& question) {
  std::u16string answer = links_.services.inputBox.ask(question.prompt, question.title, question.defaultAnswer);
  if (answer.empty() || isPlainName(answer)) return answer;
  // A separator would move the item elsewhere; the other characters are
  // refused by the system anyway.
  links_.status.report(kHintHeading, kNotAPlainName);
  return {};
}

}  // namespace vexlo::filemanager

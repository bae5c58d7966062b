#include "filemanager/name_rules.h"

#include "filemanager/file_kinds.h"

namespace vexlo::filemanager {

namespace {

constexpr std::u16string_view kDirectoryNote = u"注: 目录名中不能包含下列任何字符之一。";
constexpr std::u16string_view kFileNote = u"注: 文件名中不能包含下列任何字符之一。";

}  // namespace

std::u16string namePrompt(std::u16string_view note, std::u16string_view request) {
  std::u16string forbidden(10, u' ');
  for (std::size_t i = 0; i < kForbiddenCharacters.size(); ++i) {
    if (i > 0) forbidden += u' ';
    forbidden += kForbiddenCharacters[i];
  }
  return std::u16string(note) + u"\r\n\r\n" + forbidden + u"\r\n\r\n\r\n" + std::u16string(request);
}

NameQuestion renameDirectoryQuestion(std::u16string_view directory) {
  const int separator = lastCharPosition(directory, u'\\');
  return {u"重命名 - 目录", namePrompt(kDirectoryNote, u"请输入新的目录名:"),
          std::u16string(directory.substr(static_cast<std::size_t>(separator)))};
}

NameQuestion renameFileQuestion(std::u16string_view fileName, bool wholeName) {
  return {u"重命名 - 文件", namePrompt(kFileNote, u"请输入新的文件名:"),
          wholeName ? std::u16string(fileName) : nameWithoutExtension(fileName)};
}

NameQuestion newDirectoryQuestion() { return {u"新建目录", namePrompt(kDirectoryNote, u"请输入新建的目录名:"), u""}; }

std::u16string renamedDirectory(std::u16string_view directory, std::u16string_view answer) {
  const int separator = lastCharPosition(directory, u'\\');
  return std::u16string(directory.substr(0, static_cast<std::size_t>(separator))) + std::u16string(answer);
}

std::u16string renamedFileName(std::u16string_view fileName, std::u16string_view answer, bool wholeName) {
  const int dot = lastCharPosition(fileName, u'.');
  if (wholeName || dot == 0) return std::u16string(answer);
  return std::u16string(answer) + std::u16string(fileName.substr(static_cast<std::size_t>(dot - 1)));
}

bool isPlainName(std::u16string_view answer) {
  if (answer.empty() || answer == u"." || answer == u"..") return false;
  return answer.find_first_of(kForbiddenCharacters) == std::u16string_view::npos;
}

}  // namespace vexlo::filemanager

// The three name boxes (rename a directory, rename a file, new directory)
// and the rules that turn an answer into a new name or path.
#pragma once

#include <string>
#include <string_view>

namespace vexlo::filemanager {

struct NameQuestion {
  std::u16string title;
  std::u16string prompt;
  std::u16string defaultAnswer;
};

// The prompt every box shares: the note, an empty line, ten blanks and the
// nine characters a name must not contain, two empty lines, the request;
// lines end in CR LF, the request line has none.
std::u16string namePrompt(std::u16string_view note, std::u16string_view request);

// Offers the directory's own name (the text after its last "\").
NameQuestion renameDirectoryQuestion(std::u16string_view directory);
// Offers the name without its extension, or the whole name when
// `wholeName` (the secondary button) or when it has no ".".
NameQuestion renameFileQuestion(std::u16string_view fileName, bool wholeName);
NameQuestion newDirectoryQuestion();

// The directory renamed in place: its parent part and the answer.
std::u16string renamedDirectory(std::u16string_view directory, std::u16string_view answer);
// The file's new name: the answer and the old "." and extension kept, or
// the answer alone when `wholeName` or when the old name has no ".".
std::u16string renamedFileName(std::u16string_view fileName, std::u16string_view answer, bool wholeName);

// An answer that names an item in the same directory: none of the nine
// characters the prompt lists, and neither "." nor "..", which would name
// the directory itself or its parent.
bool isPlainName(std::u16string_view answer);

inline constexpr std::u16string_view kForbiddenCharacters = u"\\/:*?\"<>|";

}  // namespace vexlo::filemanager

// What the directory and file lists show of a directory's entries: the
// subdirectories, and the files that match a pattern of wildcards, both
// in alphabetical order and without hidden or system entries.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace vexlo::filemanager {

// One wildcard ("*" any run of characters, "?" any one character), letters
// compared without regard to case. A wildcard ending in ".*" also matches
// a name without any ".", as "*.*" matches every file.
bool matchesWildcard(std::u16string_view name, std::u16string_view wildcard);
// Any of the ";"-separated wildcards matches.
bool matchesPattern(std::u16string_view name, std::u16string_view pattern);

// Alphabetical order: letters without regard to case, then the exact text.
bool alphabeticallyBefore(std::u16string_view a, std::u16string_view b);

std::vector<std::u16string> filesMatching(const std::vector<platform::DirectoryEntry>& entries,
                                          std::u16string_view pattern);
std::vector<std::u16string> subdirectoriesOf(const std::vector<platform::DirectoryEntry>& entries);

}  // namespace vexlo::filemanager

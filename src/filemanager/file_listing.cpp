#include "filemanager/file_listing.h"

#include <algorithm>

namespace vexlo::filemanager {

namespace {

char16_t folded(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

// Iterative matching with one backtrack point: linear in practice, and no
// name can make it recurse deeply.
bool matchesExactly(std::u16string_view name, std::u16string_view wildcard) {
  std::size_t n = 0, w = 0;
  std::size_t starAt = std::u16string_view::npos, resumeAt = 0;
  while (n < name.size()) {
    if (w < wildcard.size() && wildcard[w] == u'*') {
      starAt = w++;
      resumeAt = n;
    } else if (w < wildcard.size() && (wildcard[w] == u'?' || folded(wildcard[w]) == folded(name[n]))) {
      ++w;
      ++n;
    } else if (starAt != std::u16string_view::npos) {
      w = starAt + 1;
      n = ++resumeAt;
    } else {
      return false;
    }
  }
  while (w < wildcard.size() && wildcard[w] == u'*') ++w;
  return w == wildcard.size();
}

std::vector<std::u16string> sortedNames(const std::vector<platform::DirectoryEntry>& entries, bool directories,
                                        std::u16string_view pattern) {
  std::vector<std::u16string> names;
  for (const platform::DirectoryEntry& e : entries)
    if (e.directory == directories && !e.hidden && (directories || matchesPattern(e.name, pattern)))
      names.push_back(e.name);
  std::sort(names.begin(), names.end(), alphabeticallyBefore);
  return names;
}

}  // namespace

bool matchesWildcard(std::u16string_view name, std::u16string_view wildcard) {
  if (matchesExactly(name, wildcard)) return true;
  return wildcard.ends_with(u".*") && name.find(u'.') == std::u16string_view::npos &&
         matchesExactly(name, wildcard.substr(0, wildcard.size() - 2));
}

bool matchesPattern(std::u16string_view name, std::u16string_view pattern) {
  while (true) {
    const std::size_t end = pattern.find(u';');
    const std::u16string_view wildcard = pattern.substr(0, end);
    if (!wildcard.empty() && matchesWildcard(name, wildcard)) return true;
    if (end == std::u16string_view::npos) return false;
    pattern.remove_prefix(end + 1);
  }
}

bool alphabeticallyBefore(std::u16string_view a, std::u16string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i)
    if (folded(a[i]) != folded(b[i])) return folded(a[i]) < folded(b[i]);
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

std::vector<std::u16string> filesMatching(const std::vector<platform::DirectoryEntry>& entries,
                                          std::u16string_view pattern) {
  return sortedNames(entries, false, pattern);
}

std::vector<std::u16string> subdirectoriesOf(const std::vector<platform::DirectoryEntry>& entries) {
  return sortedNames(entries, true, {});
}

}  // namespace vexlo::filemanager

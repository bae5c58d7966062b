#include "filemanager/path_labels.h"

#include <algorithm>

#include "filemanager/file_kinds.h"

namespace vexlo::filemanager {

namespace {

bool isSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

std::u16string_view withoutTrailingSeparators(std::u16string_view path) {
  while (!path.empty() && isSeparator(path.back())) path.remove_suffix(1);
  return path;
}

}  // namespace

bool isRootPath(std::u16string_view directory) { return directory.size() == 3; }

std::u16string driveRootOf(std::u16string_view driveEntry) { return upperCased(driveEntry.substr(0, 2)) + u"\\"; }

std::u16string directoryLabel(std::u16string_view directory) {
  std::u16string label(directory);
  if (!isRootPath(directory)) label += u'\\';
  return label;
}

std::u16string joinPath(std::u16string_view directory, std::u16string_view name) {
  return directoryLabel(directory) + std::u16string(name);
}

std::u16string shortcutLabel(std::u16string_view fileLabel) {
  std::u16string label(fileLabel);
  const std::size_t end = label.size() > 5 ? label.size() - 5 : 0;
  std::replace(label.begin(), label.begin() + static_cast<std::ptrdiff_t>(end), u'\\', u'/');
  return label;
}

std::u16string realPath(std::u16string_view label) {
  std::u16string path(label);
  std::replace(path.begin(), path.end(), u'/', u'\\');
  return path;
}

std::vector<std::u16string> directoryChain(std::u16string_view directory) {
  std::vector<std::u16string> chain;
  if (directory.size() < 3) return chain;
  chain.emplace_back(directory.substr(0, 3));
  for (std::size_t at = 3; at <= directory.size(); ++at)
    if (at == directory.size() || directory[at] == u'\\')
      if (at > 3) chain.emplace_back(directory.substr(0, at));
  return chain;
}

bool namesNoItem(std::u16string_view path) {
  const std::u16string_view trimmed = withoutTrailingSeparators(path);
  if (trimmed.empty()) return true;
  if (trimmed.size() == 2 && trimmed[1] == u':') return true;
  // "\\server\share": two leading separators and at most one more.
  if (trimmed.size() > 2 && isSeparator(trimmed[0]) && isSeparator(trimmed[1]))
    return std::count_if(trimmed.begin() + 2, trimmed.end(), isSeparator) <= 1;
  return false;
}

bool isSameOrInside(std::u16string_view inner, std::u16string_view outer) {
  const std::u16string in = upperCased(withoutTrailingSeparators(realPath(inner)));
  const std::u16string out = upperCased(withoutTrailingSeparators(realPath(outer)));
  if (out.empty() || in.size() < out.size() || in.compare(0, out.size(), out) != 0) return false;
  return in.size() == out.size() || in[out.size()] == u'\\';
}

}  // namespace vexlo::filemanager

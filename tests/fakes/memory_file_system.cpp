#include "fakes/memory_file_system.h"

#include <algorithm>

#include "filemanager/file_kinds.h"
#include "filemanager/file_listing.h"
#include "filemanager/path_labels.h"

namespace vexlo::fakes {

namespace {

std::u16string parentOf(const std::u16string& path) {
  const std::size_t at = path.rfind(u'\\');
  if (at == std::u16string::npos) return {};
  return at == 2 ? path.substr(0, 3) : path.substr(0, at);
}

std::u16string nameOf(const std::u16string& path) { return path.substr(path.rfind(u'\\') + 1); }

}  // namespace

std::u16string MemoryFileSystem::key(std::u16string_view path) {
  std::u16string k = filemanager::upperCased(path);
  if (k.size() > 3 && k.back() == u'\\') k.pop_back();
  return k;
}

const MemoryFileSystem::FakeDrive* MemoryFileSystem::driveOf(const std::u16string& path) const {
  for (const FakeDrive& d : driveTable)
    if (key(path.substr(0, 3)) == key(d.root)) return &d;
  return nullptr;
}

void MemoryFileSystem::addDirectory(const std::u16string& path, bool hidden) {
  if (path.size() <= 3) return;
  if (!exists(parentOf(path))) addDirectory(parentOf(path));
  nodes_[key(path)] = {path, true, hidden};
}

void MemoryFileSystem::addFile(const std::u16string& path, bool hidden) {
  if (!exists(parentOf(path))) addDirectory(parentOf(path));
  nodes_[key(path)] = {path, false, hidden};
}

bool MemoryFileSystem::exists(const std::u16string& path) const {
  if (path.size() == 3) return driveOf(path) != nullptr;
  return nodes_.count(key(path)) > 0;
}

bool MemoryFileSystem::isDirectory(const std::u16string& path) const {
  if (path.size() == 3) return driveOf(path) != nullptr;
  auto it = nodes_.find(key(path));
  return it != nodes_.end() && it->second.directory;
}

std::vector<std::u16string> MemoryFileSystem::keysUnder(const std::u16string& path) const {
  const std::u16string prefix = key(path) + (path.size() == 3 ? u"" : u"\\");
  std::vector<std::u16string> keys;
  for (const auto& [k, node] : nodes_)
    if (k.size() > prefix.size() && k.compare(0, prefix.size(), prefix) == 0) keys.push_back(k);
  return keys;
}

std::vector<std::u16string> MemoryFileSystem::namesIn(const std::u16string& directory) const {
  std::vector<std::u16string> names;
  for (const std::u16string& k : keysUnder(directory)) {
    const Node& node = nodes_.at(k);
    if (key(parentOf(node.path)) == key(directory)) names.push_back(nameOf(node.path));
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<platform::Drive> MemoryFileSystem::drives() {
  std::vector<platform::Drive> result;
  for (const FakeDrive& d : driveTable) result.push_back({d.root, d.ready ? d.label : u""});
  return result;
}

platform::Listing MemoryFileSystem::list(const std::u16string& directory) {
  listed.push_back(directory);
  const FakeDrive* drive = driveOf(directory);
  if (drive && !drive->ready) return {false, {}, std::u16string(kNotReady)};
  if (!isDirectory(directory)) return {false, {}, std::u16string(kNoPath)};
  platform::Listing listing;
  for (const std::u16string& k : keysUnder(directory)) {
    const Node& node = nodes_.at(k);
    if (key(parentOf(node.path)) == key(directory))
      listing.entries.push_back({nameOf(node.path), node.directory, node.hidden});
  }
  return listing;
}

void MemoryFileSystem::copyTree(const std::u16string& from, const std::u16string& to) {
  const Node top = nodes_.at(key(from));
  nodes_[key(to)] = {to, top.directory, top.hidden};
  for (const std::u16string& k : keysUnder(from)) {
    const Node node = nodes_.at(k);
    const std::u16string path = to + node.path.substr(from.size());
    nodes_[key(path)] = {path, node.directory, node.hidden};
  }
}

void MemoryFileSystem::removeTree(const std::u16string& path) {
  for (const std::u16string& k : keysUnder(path)) nodes_.erase(k);
  nodes_.erase(key(path));
}

void MemoryFileSystem::carryOut(const platform::ShellFileOperation& operation) {
  const std::u16string& source = operation.source;
  if (operation.function == platform::kShellDelete) {
    // "directory\*.*": everything inside the directory.
    if (source.ends_with(u"\\*.*")) {
      const std::u16string directory = parentOf(source);
      for (const std::u16string& name : namesIn(directory)) removeTree(filemanager::joinPath(directory, name));
    } else if (exists(source)) {
      removeTree(source);
    }
    return;
  }
  if (!exists(source) || !isDirectory(operation.destination)) return;
  const std::u16string target = filemanager::joinPath(operation.destination, nameOf(source));
  copyTree(source, target);
  if (operation.function == platform::kShellMove) removeTree(source);
}

platform::Outcome MemoryFileSystem::shellOperation(const platform::ShellFileOperation& operation) {
  if (shellRefuses) return {false, u"路径太长"};
  shellOperations.push_back(operation);
  if (!userDeclines) carryOut(operation);
  return {};
}

platform::Outcome MemoryFileSystem::move(const std::u16string& from, const std::u16string& to) {
  moves.emplace_back(from, to);
  if (!exists(from)) return {false, std::u16string(kNoFile)};
  if (exists(to) && key(from) != key(to)) return {false, std::u16string(kExists)};
  if (!isDirectory(parentOf(to))) return {false, std::u16string(kNoPath)};
  copyTree(from, to);
  if (key(from) != key(to)) removeTree(from);
  return {};
}

platform::Outcome MemoryFileSystem::createDirectory(const std::u16string& path) {
  createdDirectories.push_back(path);
  if (exists(path)) return {false, std::u16string(kExists)};
  if (!isDirectory(parentOf(path))) return {false, std::u16string(kNoPath)};
  nodes_[key(path)] = {path, true, false};
  return {};
}

}  // namespace vexlo::fakes

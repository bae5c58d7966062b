#include "utilities/launch.h"

#include <vector>

namespace vexlo::utilities {

namespace {

std::vector<std::u16string_view> words(std::u16string_view text) {
  std::vector<std::u16string_view> result;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t start = text.find_first_not_of(u' ', at);
    if (start == std::u16string_view::npos) break;
    std::size_t end = text.find(u' ', start);
    if (end == std::u16string_view::npos) end = text.size();
    result.push_back(text.substr(start, end - start));
    at = end;
  }
  return result;
}

bool endsWithNoCase(std::u16string_view text, std::u16string_view ending) {
  if (text.size() < ending.size()) return false;
  text = text.substr(text.size() - ending.size());
  for (std::size_t i = 0; i < ending.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != ending[i]) return false;
  }
  return true;
}

}  // namespace

std::u16string fileToFind(const Launch& launch) {
  if (launch.way == Launch::Way::ShellExecute)
    return endsWithNoCase(launch.command, u".msc") ? std::u16string(launch.command) : std::u16string();
  const std::vector<std::u16string_view> all = words(launch.command);
  if (all.empty()) return {};
  // Control.exe is always there; whether the applet is decides.
  for (std::u16string_view word : all)
    if (endsWithNoCase(word, u".cpl")) return std::u16string(word);
  return std::u16string(all.front());
}

std::u16string_view launchName(const Launch& launch) {
  return launch.command.empty() ? launch.verb : launch.command;
}

const Launch* ToolStarter::start(std::span<const Launch> launches) {
  for (const Launch& launch : launches) {
    const std::u16string file = fileToFind(launch);
    if (!file.empty() && !found(file)) continue;
    if (attempt(launch)) return &launch;
  }
  return nullptr;
}

bool ToolStarter::found(const std::u16string& file) {
  auto known = found_.find(file);
  if (known != found_.end()) return known->second;
  const bool present = launcher_.fileFound(file);
  found_.emplace(file, present);
  return present;
}

bool ToolStarter::attempt(const Launch& launch) {
  if (launch.way == Launch::Way::Run) return launcher_.run(launch.command, launch.showCommand);
  return launcher_.shellExecute(launch.verb, launch.command, launch.showCommand);
}

}  // namespace vexlo::utilities

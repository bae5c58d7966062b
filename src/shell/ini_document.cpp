#include "shell/ini_document.h"

namespace vexlo::shell {

namespace {

constexpr std::string_view kCrLf = "\r\n";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool isHighByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// The form in which two names are equal exactly when they match: ASCII
// letters lower-cased, a lead byte and its trail byte kept as they are.
std::string folded(std::string_view name) {
  std::string out(name);
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (isHighByte(out[i])) {
      ++i;  // the trail byte stays exact
      continue;
    }
    out[i] = asciiLower(out[i]);
  }
  return out;
}

std::string joined(std::string_view first, std::string_view second, std::string_view third) {
  std::string out;
  out.reserve(first.size() + second.size() + third.size());
  out.append(first).append(second).append(third);
  return out;
}

bool hasEnclosingQuotes(std::string_view value) {
  return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
}

}  // namespace

IniDocument::IniDocument(std::string_view bytes) {
  sections_.emplace_back();  // the lines before the first header
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t lineFeed = bytes.find('\n', start);
    if (lineFeed == std::string_view::npos) {
      appendLine(parseLine(std::string(bytes.substr(start)), ""));
      break;
    }
    std::size_t end = lineFeed;
    bool carriageReturn = end > start && bytes[end - 1] == '\r';
    if (carriageReturn) --end;
    appendLine(parseLine(std::string(bytes.substr(start, end - start)), carriageReturn ? kCrLf : "\n"));
    start = lineFeed + 1;
  }
}

IniDocument::Line IniDocument::parseLine(std::string text, std::string_view ending) {
  Line line;
  line.text = std::move(text);
  line.ending = ending;
  const std::string_view all(line.text);
  const std::string_view trimmed = trimBlanks(all);
  auto setName = [&](std::string_view name) {
    name = trimBlanks(name);
    line.nameStart = static_cast<std::size_t>(name.data() - all.data());
    line.nameLength = name.size();
  };
  if (!trimmed.empty() && trimmed.front() == '[') {
    std::size_t close = trimmed.rfind(']');
    if (close != std::string_view::npos && close > 0) {
      line.kind = LineKind::Section;
      setName(trimmed.substr(1, close - 1));
      return line;
    }
  }
  if (!trimmed.empty() && trimmed.front() == ';') return line;  // a comment
  std::size_t equals = all.find('=');
  if (equals != std::string_view::npos) {
    line.kind = LineKind::Key;
    setName(all.substr(0, equals));
    line.valueStart = equals + 1;
  }
  return line;
}

void IniDocument::appendLine(Line line) {
  if (line.kind == LineKind::Section) {
    Section section;
    section.reachable = firstSections_.emplace(folded(line.name()), sections_.size()).second;
    section.lines.push_back(std::move(line));
    sections_.push_back(std::move(section));
    return;
  }
  Section& last = sections_.back();
  if (line.kind == LineKind::Key && last.reachable) last.firstKeys.emplace(folded(line.name()), last.lines.size());
  last.lines.push_back(std::move(line));
}

void IniDocument::endLastLine() {
  for (auto section = sections_.rbegin(); section != sections_.rend(); ++section) {
    if (section->lines.empty()) continue;
    Line& last = section->lines.back();
    if (last.ending.empty()) last.ending = kCrLf;
    return;
  }
}

const IniDocument::Section* IniDocument::findSection(std::string_view name) const {
  auto found = firstSections_.find(folded(trimBlanks(name)));
  return found == firstSections_.end() ? nullptr : &sections_[found->second];
}

const IniDocument::Line* IniDocument::findKey(const Section& section, std::string_view key) const {
  auto found = section.firstKeys.find(folded(trimBlanks(key)));
  return found == section.firstKeys.end() ? nullptr : &section.lines[found->second];
}

std::string IniDocument::valueOf(const Line& line) {
  std::string_view value = trimBlanks(std::string_view(line.text).substr(line.valueStart));
  if (hasEnclosingQuotes(value)) value = value.substr(1, value.size() - 2);
  return std::string(value);
}

std::optional<std::string> IniDocument::get(std::string_view section, std::string_view key) const {
  const Section* found = findSection(section);
  if (!found) return std::nullopt;
  const Line* line = findKey(*found, key);
  if (!line) return std::nullopt;
  return valueOf(*line);
}

std::vector<IniDocument::Key> IniDocument::keys(std::string_view section) const {
  std::vector<Key> result;
  const Section* found = findSection(section);
  if (!found) return result;
  for (std::size_t i = 0; i < found->lines.size(); ++i) {
    const Line& line = found->lines[i];
    if (line.kind != LineKind::Key) continue;
    // A repeated key is read only where it first occurs.
    if (found->firstKeys.at(folded(line.name())) != i) continue;
    result.push_back({line.name(), valueOf(line)});
  }
  return result;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
  std::string stored(value);
  for (char& c : stored) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  if (!stored.empty() && (isBlank(stored.front()) || isBlank(stored.back()) || hasEnclosingQuotes(stored))) {
    stored.insert(stored.begin(), '"');
    stored.push_back('"');
  }
  section = trimBlanks(section);
  key = trimBlanks(key);

  auto found = firstSections_.find(folded(section));
  if (found == firstSections_.end()) {
    // The line before must end, or the new header would join it.
    endLastLine();
    appendLine(parseLine(joined("[", section, "]"), kCrLf));
    appendLine(parseLine(joined(key, "=", stored), kCrLf));
    return;
  }
  Section& target = sections_[found->second];
  auto existing = target.firstKeys.find(folded(key));
  if (existing != target.firstKeys.end()) {
    // Keep the key exactly as the file spells it; only the value changes.
    Line& line = target.lines[existing->second];
    line.text = joined(std::string_view(line.text).substr(0, line.valueStart), stored, "");
    return;
  }
  // After the section's last non-blank line, so that a blank line that
  // separates it from the next section stays where it is. Only blank lines
  // follow that place, so no indexed key moves.
  std::size_t insertAt = target.lines.size();
  while (insertAt > 1 && trimBlanks(target.lines[insertAt - 1].text).empty()) --insertAt;
  Line& before = target.lines[insertAt - 1];
  if (before.ending.empty()) before.ending = kCrLf;
  Line line = parseLine(joined(key, "=", stored), kCrLf);
  if (line.kind == LineKind::Key) target.firstKeys.emplace(folded(line.name()), insertAt);
  target.lines.insert(target.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
}

std::string IniDocument::bytes() const {
  std::size_t size = 0;
  for (const Section& section : sections_) {
    for (const Line& line : section.lines) size += line.text.size() + line.ending.size();
  }
  std::string out;
  out.reserve(size);
  for (const Section& section : sections_) {
    for (const Line& line : section.lines) out.append(line.text).append(line.ending);
  }
  return out;
}

}  // namespace vexlo::shell

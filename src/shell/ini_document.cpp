#include "shell/ini_document.h"

namespace vexlo::shell {

namespace {

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

bool namesMatch(std::string_view stored, std::string_view wanted) {
  if (stored.size() != wanted.size()) return false;
  for (std::size_t i = 0; i < stored.size(); ++i) {
    if (isHighByte(stored[i]) || isHighByte(wanted[i])) {
      // A lead byte and its trail byte: exact, never case-folded.
      if (stored[i] != wanted[i]) return false;
      if (i + 1 < stored.size()) {
        ++i;
        if (stored[i] != wanted[i]) return false;
      }
      continue;
    }
    if (asciiLower(stored[i]) != asciiLower(wanted[i])) return false;
  }
  return true;
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
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t lineFeed = bytes.find('\n', start);
    if (lineFeed == std::string_view::npos) {
      lines_.push_back(parseLine(std::string(bytes.substr(start)), ""));
      break;
    }
    std::size_t end = lineFeed;
    bool carriageReturn = end > start && bytes[end - 1] == '\r';
    if (carriageReturn) --end;
    lines_.push_back(parseLine(std::string(bytes.substr(start, end - start)), carriageReturn ? "\r\n" : "\n"));
    start = lineFeed + 1;
  }
}

IniDocument::Line IniDocument::parseLine(std::string text, std::string ending) {
  Line line;
  line.text = std::move(text);
  line.ending = std::move(ending);
  std::string_view trimmed = trimBlanks(line.text);
  if (!trimmed.empty() && trimmed.front() == '[') {
    std::size_t close = trimmed.rfind(']');
    if (close != std::string_view::npos && close > 0) {
      line.kind = LineKind::Section;
      line.name = std::string(trimBlanks(trimmed.substr(1, close - 1)));
      return line;
    }
  }
  if (!trimmed.empty() && trimmed.front() == ';') return line;  // a comment
  std::size_t equals = line.text.find('=');
  if (equals != std::string::npos) {
    line.kind = LineKind::Key;
    line.name = std::string(trimBlanks(std::string_view(line.text).substr(0, equals)));
    line.valueStart = equals + 1;
  }
  return line;
}

std::size_t IniDocument::findSection(std::string_view section) const {
  section = trimBlanks(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == LineKind::Section && namesMatch(lines_[i].name, section)) return i;
  }
  return std::string::npos;
}

std::size_t IniDocument::sectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  while (i < lines_.size() && lines_[i].kind != LineKind::Section) ++i;
  return i;
}

std::size_t IniDocument::findKey(std::size_t header, std::string_view key) const {
  key = trimBlanks(key);
  std::size_t end = sectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind == LineKind::Key && namesMatch(lines_[i].name, key)) return i;
  }
  return std::string::npos;
}

std::optional<std::string> IniDocument::get(std::string_view section, std::string_view key) const {
  std::size_t header = findSection(section);
  if (header == std::string::npos) return std::nullopt;
  std::size_t at = findKey(header, key);
  if (at == std::string::npos) return std::nullopt;
  std::string_view value = trimBlanks(std::string_view(lines_[at].text).substr(lines_[at].valueStart));
  if (hasEnclosingQuotes(value)) value = value.substr(1, value.size() - 2);
  return std::string(value);
}

void IniDocument::insertLine(std::size_t at, std::string text) {
  // The line before must end, or the new line would join it.
  if (at > 0 && lines_[at - 1].ending.empty()) lines_[at - 1].ending = "\r\n";
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), parseLine(std::move(text), "\r\n"));
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

  std::size_t header = findSection(section);
  if (header == std::string::npos) {
    insertLine(lines_.size(), joined("[", section, "]"));
    insertLine(lines_.size(), joined(key, "=", stored));
    return;
  }
  std::size_t at = findKey(header, key);
  if (at != std::string::npos) {
    // Keep the key exactly as the file spells it; only the value changes.
    Line& line = lines_[at];
    line.text = joined(std::string_view(line.text).substr(0, line.valueStart), stored, "");
    return;
  }
  // After the section's last non-blank line, so that a blank line that
  // separates it from the next section stays where it is.
  std::size_t insertAt = header + 1;
  std::size_t end = sectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    if (!trimBlanks(lines_[i].text).empty()) insertAt = i + 1;
  }
  insertLine(insertAt, joined(key, "=", stored));
}

std::string IniDocument::bytes() const {
  std::string out;
  for (const Line& line : lines_) {
    out += line.text;
    out += line.ending;
  }
  return out;
}

}  // namespace vexlo::shell

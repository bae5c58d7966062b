// An INI file held as its bytes, line by line, so that a save changes only
// the values it writes and keeps every other line exactly as it was. Text is
// in the ANSI code page; this class never decodes it.
//
// Matching follows the Windows profile functions: blanks (space, tab) around
// section and key names are not significant, and ASCII letters match without
// regard to case. A byte of 0x80 or above starts a multi-byte character in
// the code pages we address, so it and the byte after it are compared
// exactly: a trail byte that happens to be an ASCII letter never folds.
// When a section or key occurs more than once, the first one counts.
//
// Sections and keys are found through indexes built while the bytes are
// split into lines, so reading or writing any number of keys costs time in
// proportion to the file and the keys, never to their product.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vexlo::shell {

class IniDocument {
 public:
  explicit IniDocument(std::string_view bytes = {});

  // The value as the profile functions read it: blanks around it trimmed and
  // one pair of enclosing quotes (both " or both ') removed. Nothing when
  // the section or the key is missing.
  std::optional<std::string> get(std::string_view section, std::string_view key) const;

  struct Key {
    std::string_view name;  // blanks trimmed, spelled as in the file
    std::string value;      // as get() returns it
  };
  // Every key that get() can find in the section, each once, in file order.
  std::vector<Key> keys(std::string_view section) const;

  // Replaces the value of an existing key in place, or adds the key at the
  // end of its section, or adds the section at the end of the document.
  // The value is written so that get() returns it unchanged: a value whose
  // surrounding blanks or enclosing quotes get() would strip is wrapped in
  // one more pair of double quotes. A line break cannot be stored in a
  // value, so CR and LF become blanks.
  void set(std::string_view section, std::string_view key, std::string_view value);

  // The document's bytes: untouched lines byte for byte, written lines
  // ending in CR LF.
  std::string bytes() const;

 private:
  enum class LineKind { Other, Section, Key };
  struct Line {
    std::string text;         // without its line end
    std::string_view ending;  // "\r\n", "\n", or "" for a last line without one
    LineKind kind = LineKind::Other;
    std::size_t nameStart = 0;  // section or key name in text, blanks trimmed
    std::size_t nameLength = 0;
    std::size_t valueStart = 0;  // for a key: offset in text after '='
    std::string_view name() const { return std::string_view(text).substr(nameStart, nameLength); }
  };
  // A section's lines, its header first; the lines before the first header
  // form a section without one, whose keys no name reaches.
  struct Section {
    std::vector<Line> lines;
    // The first section of its name: the one that get() and set() reach.
    bool reachable = false;
    // Folded key name → the line of its first occurrence, in a reachable
    // section.
    std::unordered_map<std::string, std::size_t> firstKeys;
  };

  static Line parseLine(std::string text, std::string_view ending);
  static std::string valueOf(const Line& line);
  const Section* findSection(std::string_view name) const;
  const Line* findKey(const Section& section, std::string_view key) const;
  // Appends a line to the last section, indexing it when it is a key or a
  // section header.
  void appendLine(Line line);
  void endLastLine();

  std::vector<Section> sections_;
  // Folded section name → index of its first section.
  std::unordered_map<std::string, std::size_t> firstSections_;
};

}  // namespace vexlo::shell

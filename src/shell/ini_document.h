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
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vexlo::shell {

class IniDocument {
 public:
  explicit IniDocument(std::string_view bytes = {});

  // The value as the profile functions read it: blanks around it trimmed and
  // one pair of enclosing quotes (both " or both ') removed. Nothing when
  // the section or the key is missing.
  std::optional<std::string> get(std::string_view section, std::string_view key) const;

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
    std::string text;    // without its line end
    std::string ending;  // "\r\n", "\n", or "" for a last line without one
    LineKind kind = LineKind::Other;
    std::string name;    // section or key name, blanks trimmed
    std::size_t valueStart = 0;  // for a key: offset in text after '='
  };

  static Line parseLine(std::string text, std::string ending);
  // Index of the first section line with the name, or npos.
  std::size_t findSection(std::string_view section) const;
  // One past the last line of the section that starts at `header`.
  std::size_t sectionEnd(std::size_t header) const;
  std::size_t findKey(std::size_t header, std::string_view key) const;
  void insertLine(std::size_t at, std::string text);

  std::vector<Line> lines_;
};

}  // namespace vexlo::shell

// The reply as "Rich Text Format" for word processors and mail: a font
// table, a colour table and the styled text. What the code page holds is
// written as its bytes; everything else as \u escapes, which every reader
// since Word 97 understands.
#include <cstdint>
#include <cstdio>
#include <unordered_map>

#include "formatter/styled_text.h"

namespace vexlo::formatter {

namespace {

// The font character set a reader should assume for a code page's bytes.
int charsetOf(unsigned codePage) {
  switch (codePage) {
    case 936:
      return 134;
    case 950:
      return 136;
    case 932:
      return 128;
    case 949:
      return 129;
    case 1252:
      return 0;
    default:
      return 1;  // the reader's default
  }
}

class TextEscaper {
 public:
  explicit TextEscaper(const text::AnsiCodec& codec) : codec_(codec) {}

  // A line break (CR LF, CR or LF) becomes \line.
  void append(std::string& out, std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      const char16_t c = text[i];
      if (c == u'\\' || c == u'{' || c == u'}') {
        out += '\\';
        out += static_cast<char>(c);
      } else if (c == u'\r' || c == u'\n') {
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        out += "\\line ";
      } else if (c == u'\t') {
        out += "\\tab ";
      } else if (c < 0x20) {
        // No other control character has a place in a paragraph.
      } else if (c < 0x80) {
        out += static_cast<char>(c);
      } else {
        const bool pair =
            c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        const std::u16string_view ch = text.substr(i, pair ? 2 : 1);
        appendCharacter(out, ch);
        i += ch.size() - 1;
      }
    }
  }

 private:
  void appendCharacter(std::string& out, std::u16string_view ch) {
    const std::string& bytes = codePageBytes(ch);
    if (bytes.empty()) {
      // Signed 16-bit values, one per code unit, with "?" for readers that
      // know no Unicode.
      for (char16_t unit : ch) out += "\\u" + std::to_string(static_cast<std::int16_t>(unit)) + "?";
      return;
    }
    char hex[8];
    for (unsigned char byte : bytes) {
      std::snprintf(hex, sizeof hex, "\\'%02x", byte);
      out += hex;
    }
  }

  // The character's bytes in the code page; empty when the code page does
  // not hold it: the codec gave a substitute (it does not read back) or
  // more than two bytes (GB18030's four-byte forms, which readers of a
  // double-byte code page cannot read).
  const std::string& codePageBytes(std::u16string_view ch) {
    const char32_t key = ch.size() == 2 ? (static_cast<char32_t>(ch[0]) << 16) | ch[1] : ch[0];
    const auto found = cache_.find(key);
    if (found != cache_.end()) return found->second;
    std::string bytes = codec_.encode(ch);
    if (bytes.empty() || bytes.size() > 2 || codec_.decode(bytes) != ch) bytes.clear();
    return cache_.emplace(key, std::move(bytes)).first->second;
  }

  const text::AnsiCodec& codec_;
  std::unordered_map<char32_t, std::string> cache_;
};

// Half-points of a markup size (px × 0.75 points × 2), rounded; 0 without
// a browser size.
int halfPoints(int size) { return (browserPixelSize(size) * 3 + 1) / 2; }

bool sameStyle(const StyledReply& r, const StyledRun& a, const StyledRun& b) {
  return a.colour == b.colour && r.faceOf(a) == r.faceOf(b) && a.size == b.size;
}

}  // namespace

std::string writeRtf(const StyledReply& reply, const text::AnsiCodec& codec) {
  TextEscaper escaper(codec);
  // GB18030's two-byte characters are those of GBK, which readers know as 936.
  const unsigned codePage = codec.codePage() == 54936 ? 936 : codec.codePage();
  std::string out = "{\\rtf1\\ansi";
  if (codePage != 0) out += "\\ansicpg" + std::to_string(codePage);
  if (!reply.faces.empty() && !reply.faces.front().empty()) out += "\\deff0";

  // Fonts keep their index in the reply's table; an empty face has no entry
  // and its runs take the reader's default font.
  out += "{\\fonttbl";
  for (std::size_t f = 0; f < reply.faces.size(); ++f) {
    if (reply.faces[f].empty()) continue;
    out += "{\\f" + std::to_string(f) + "\\fnil\\fcharset" + std::to_string(charsetOf(codePage)) + " ";
    escaper.append(out, reply.faces[f]);
    out += ";}";
  }
  out += "}";

  // Colour 0 is the reader's automatic colour; the runs' colours follow in
  // order of first use.
  std::unordered_map<Colour, std::size_t> colourIndex;
  out += "{\\colortbl;";
  for (const StyledRun& run : reply.runs) {
    if (!colourIndex.emplace(run.colour, colourIndex.size() + 1).second) continue;
    out += "\\red" + std::to_string(redOf(run.colour)) + "\\green" + std::to_string(greenOf(run.colour)) + "\\blue" +
           std::to_string(blueOf(run.colour)) + ";";
  }
  out += "}\r\n";

  // The quote: its "....." line, then the text indented as a block.
  if (reply.quote) out += "\\pard .....\\par\r\n";
  out += reply.quote ? "\\pard\\li720" : "\\pard";
  if (reply.alignment == Alignment::Right) out += "\\qr";
  if (reply.alignment == Alignment::Centre) out += "\\qc";
  out += "\r\n";
  for (std::size_t i = 0; i < reply.runs.size();) {
    const StyledRun& run = reply.runs[i];
    std::size_t end = i + 1;
    while (end < reply.runs.size() && sameStyle(reply, run, reply.runs[end])) ++end;
    out += "{";
    if (!reply.faceOf(run).empty()) out += "\\f" + std::to_string(run.face);
    if (const int hp = halfPoints(run.size); hp > 0) out += "\\fs" + std::to_string(hp);
    out += "\\cf" + std::to_string(colourIndex[run.colour]);
    if (reply.bold) out += "\\b";
    if (reply.italic) out += "\\i";
    if (reply.underline) out += "\\ul";
    out += " ";
    for (std::size_t k = i; k < end; ++k) escaper.append(out, reply.runs[k].text);
    out += "}";
    i = end;
  }
  out += "\\par\r\n}";
  return out;
}

}  // namespace vexlo::formatter

// The reply as the clipboard's "HTML Format": a header of byte offsets, then
// a document whose fragment holds the reply with inline styles, so that a
// rich-text editor that drops style sheets keeps every style.
#include <cstdio>

#include "formatter/styled_text.h"
#include "text/characters.h"

namespace vexlo::formatter {

namespace {

// Text as UTF-8 with &, <, > and both quotes escaped, so it may stand in an
// element or a quoted attribute. A line break (CR LF, CR or LF) becomes
// `lineBreak`; half a surrogate pair becomes U+FFFD.
void appendEscaped(std::string& out, std::u16string_view text, std::string_view lineBreak = "<br>") {
  // Plain stretches go to UTF-8 whole; no escaped character is half of a
  // surrogate pair, so cutting there never splits one.
  std::size_t plainFrom = 0;
  const auto escape = [&](std::size_t at, std::size_t width, std::string_view replacement) {
    out += text::toUtf8(text.substr(plainFrom, at - plainFrom));
    out += replacement;
    plainFrom = at + width;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    switch (text[i]) {
      case u'&':
        escape(i, 1, "&amp;");
        break;
      case u'<':
        escape(i, 1, "&lt;");
        break;
      case u'>':
        escape(i, 1, "&gt;");
        break;
      case u'"':
        escape(i, 1, "&quot;");
        break;
      case u'\'':
        escape(i, 1, "&#39;");
        break;
      case u'\r': {
        const std::size_t width = i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
        escape(i, width, lineBreak);
        i += width - 1;
        break;
      }
      case u'\n':
        escape(i, 1, lineBreak);
        break;
      default:
        break;
    }
  }
  out += text::toUtf8(text.substr(plainFrom));
}

// A CSS string for a font family: its quote and backslash escaped for CSS,
// the whole then escaped for the attribute.
void appendFontFamily(std::string& out, std::u16string_view face) {
  std::u16string css = u"'";
  for (char16_t c : face) {
    if (c == u'\'' || c == u'\\') css += u'\\';
    css += c;
  }
  css += u'\'';
  appendEscaped(out, css, " ");
}

bool sameStyle(const StyledReply& r, const StyledRun& a, const StyledRun& b) {
  return a.colour == b.colour && r.faceOf(a) == r.faceOf(b) && a.size == b.size;
}

void appendRunStyle(std::string& out, const StyledReply& r, const StyledRun& run) {
  char colour[16];
  std::snprintf(colour, sizeof colour, "color:#%02X%02X%02X", redOf(run.colour), greenOf(run.colour),
                blueOf(run.colour));
  out += colour;
  // The orientation mark is not part of the name: a family "@宋体" would
  // name no installed font.
  if (const std::u16string_view face = r.faceOf(run); !face.empty()) {
    out += ";font-family:";
    appendFontFamily(out, face);
  }
  if (const int px = browserPixelSize(run.size); px > 0) out += ";font-size:" + std::to_string(px) + "px";
  if (r.bold) out += ";font-weight:bold";
  if (r.italic) out += ";font-style:italic";
  if (r.underline) out += ";text-decoration:underline";
  if (r.glow && r.dialect == Dialect::Qzone) out += ";text-shadow:0 0 3px #FFFFFF";
}

std::string fragment(const StyledReply& r) {
  std::string out;
  if (r.quote) out += "<div>.....</div><blockquote>";
  out += "<div";
  if (r.alignment == Alignment::Right) out += " style=\"text-align:right\"";
  if (r.alignment == Alignment::Centre) out += " style=\"text-align:center\"";
  out += ">";
  // Neighbouring runs of one style (a single colour's text, a rainbow's
  // equal draws) share a span; empty runs draw nothing.
  for (std::size_t i = 0; i < r.runs.size();) {
    std::size_t end = i + 1;
    while (end < r.runs.size() && sameStyle(r, r.runs[i], r.runs[end])) ++end;
    std::u16string text;
    for (std::size_t k = i; k < end; ++k) text += r.runs[k].text;
    if (!text.empty()) {
      out += "<span style=\"";
      appendRunStyle(out, r, r.runs[i]);
      out += "\">";
      appendEscaped(out, text);
      out += "</span>";
    }
    i = end;
  }
  for (const std::u16string& address : r.emoticons) {
    out += "<img src=\"";
    appendEscaped(out, address, "");
    out += "\" alt=\"\">";
  }
  out += "</div>";
  if (r.quote) out += "</blockquote>";
  return out;
}

// Each offset is written with ten digits, so the header's length does not
// depend on the numbers in it.
std::string header(std::size_t startHtml, std::size_t endHtml, std::size_t startFragment, std::size_t endFragment) {
  char text[160];
  std::snprintf(text, sizeof text,
                "Version:0.9\r\nStartHTML:%010zu\r\nEndHTML:%010zu\r\nStartFragment:%010zu\r\nEndFragment:%010zu\r\n",
                startHtml, endHtml, startFragment, endFragment);
  return text;
}

}  // namespace

std::string writeClipboardHtml(const StyledReply& reply) {
  constexpr std::string_view kBefore = "<html><head><meta charset=\"utf-8\"></head><body>\r\n<!--StartFragment-->";
  constexpr std::string_view kAfter = "<!--EndFragment-->\r\n</body></html>";
  const std::string body = fragment(reply);
  const std::size_t headerLength = header(0, 0, 0, 0).size();
  const std::size_t startFragment = headerLength + kBefore.size();
  const std::size_t endFragment = startFragment + body.size();
  std::string out = header(headerLength, endFragment + kAfter.size(), startFragment, endFragment);
  out += kBefore;
  out += body;
  out += kAfter;
  return out;
}

}  // namespace vexlo::formatter

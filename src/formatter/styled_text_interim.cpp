// TEMPORARY stand-in for the styled-text model until its own implementation
// is merged; this file is then deleted whole. One run per character, the
// colours drawn as the markup conversion draws them; minimal HTML and RTF.
// writeMarkup and readMarkup are not provided here.
#include <algorithm>
#include <cstdio>

#include "formatter/preview_layout.h"
#include "formatter/styled_text.h"
#include "text/characters.h"

namespace vexlo::formatter {

namespace {

int scaledDraw(double u, int count) {
  if (count <= 0 || !(u > 0.0)) return 0;
  const double v = u * count;
  return v >= count ? count - 1 : static_cast<int>(v);
}

std::vector<std::u16string_view> charactersOf(std::u16string_view source) {
  std::vector<std::u16string_view> out;
  for (std::size_t at = 0; at < source.size();) {
    const std::size_t w = std::max<std::size_t>(1, text::characterWidthAt(source, at));
    out.push_back(source.substr(at, w));
    at += w;
  }
  return out;
}

std::vector<std::u16string> addressesOf(std::u16string_view queue) {
  std::vector<std::u16string> out;
  constexpr std::u16string_view kOpen = u"[img]", kClose = u"[/img]";
  for (std::size_t at = queue.find(kOpen); at != std::u16string_view::npos; at = queue.find(kOpen, at)) {
    const std::size_t end = queue.find(kClose, at + kOpen.size());
    if (end == std::u16string_view::npos) break;
    out.emplace_back(queue.substr(at + kOpen.size(), end - at - kOpen.size()));
    at = end + kClose.size();
  }
  return out;
}

std::string hex(Colour c) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", redOf(c), greenOf(c), blueOf(c));
  return buffer;
}

void escapeHtml(std::string& out, std::u16string_view text) {
  for (char16_t c : text) {
    if (c == u'&')
      out += "&amp;";
    else if (c == u'<')
      out += "&lt;";
    else if (c == u'>')
      out += "&gt;";
    else if (c == u'\n')
      out += "<br>";
    else if (c != u'\r')
      out += text::toUtf8(std::u16string_view(&c, 1));
  }
}

void patch(std::string& html, const char* key, std::size_t value) {
  const std::size_t at = html.find(key) + std::char_traits<char>::length(key);
  char digits[11];
  std::snprintf(digits, sizeof digits, "%010zu", value);
  html.replace(at, 10, digits);
}

void rtfText(std::string& out, std::u16string_view text) {
  for (char16_t c : text) {
    if (c == u'\\' || c == u'{' || c == u'}') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == u'\n') {
      out += "\\line ";
    } else if (c == u'\r') {
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += "\\u" + std::to_string(static_cast<std::int16_t>(c)) + "?";
    }
  }
}

}  // namespace

void buildStyledReply(StyledReply& reply, const MarkupOptions& o, std::u16string_view source,
                      const GradientTable& gradient, std::u16string_view pendingEmoticons, RandomSource& random) {
  const bool forum = o.dialect == Dialect::Forum;
  reply = StyledReply{};
  reply.dialect = o.dialect;
  reply.mode = o.mode;
  reply.alignment = o.alignment;
  reply.bold = o.bold;
  reply.italic = o.italic;
  reply.underline = o.underline;
  reply.quote = o.quote;
  reply.glow = !forum && o.glow && o.mode == ColourMode::Single;
  if (forum) reply.emoticons = addressesOf(pendingEmoticons);
  const std::vector<std::u16string_view> chars = charactersOf(source);
  StyledRun base{{}, o.singleColour, markupFontName(o.font), forum && o.horizontal, o.sizeIndex + 1};
  auto add = [&](std::u16string_view ch, Colour colour) {
    StyledRun run = base;
    run.text = ch;
    run.colour = colour;
    reply.runs.push_back(std::move(run));
  };
  switch (o.mode) {
    case ColourMode::Single:
      for (auto ch : chars) add(ch, o.singleColour);
      break;
    case ColourMode::Gradient: {
      if (chars.size() > kGradientCharacterLimit) {
        reply.overGradientLimit = true;
        break;
      }
      const int step = GradientTable::kLastSample / static_cast<int>(std::max<std::size_t>(chars.size(), 2) - 1);
      std::size_t k = 0;
      for (int j = 0; j <= GradientTable::kLastSample; j += step, ++k) {
        const std::u16string_view ch = k < chars.size() ? chars[k] : std::u16string_view{};
        if (ch != u"\r") add(ch, gradient.sampleColour(j));
      }
      break;
    }
    case ColourMode::Rainbow:
    case ColourMode::Random: {
      const bool rainbow = o.mode == ColourMode::Rainbow;
      const std::size_t positions = std::max<std::size_t>(chars.size(), 1);
      for (std::size_t k = 0; k < positions; ++k) {
        double u[6];
        random.next(u, rainbow ? 3 : 6);
        const std::u16string_view ch = k < chars.size() ? chars[k] : std::u16string_view{};
        if (ch == u"\r") continue;
        add(ch, makeColour(scaledDraw(u[0], 256), scaledDraw(u[1], 256), scaledDraw(u[2], 256)));
        if (rainbow) continue;
        StyledRun& run = reply.runs.back();
        run.horizontal = forum && scaledDraw(u[3], 2) == 1;
        run.size = scaledDraw(u[4], 7) + 1;
        const int font = scaledDraw(u[5], static_cast<int>(o.fontNames.size()));
        run.face = o.fontNames.empty() ? u"" : markupFontName(o.fontNames[static_cast<std::size_t>(font)]);
      }
      break;
    }
  }
}

std::u16string plainText(const StyledReply& reply) {
  std::u16string out;
  for (const StyledRun& run : reply.runs) out += run.text;
  return out;
}

std::string writeClipboardHtml(const StyledReply& reply) {
  std::string html =
      "Version:0.9\r\nStartHTML:0000000000\r\nEndHTML:0000000000\r\n"
      "StartFragment:0000000000\r\nEndFragment:0000000000\r\n";
  const std::size_t startHtml = html.size();
  html += "<html><body>\r\n<!--StartFragment-->";
  const std::size_t startFragment = html.size();
  const char* align = reply.alignment == Alignment::Right    ? "right"
                      : reply.alignment == Alignment::Centre ? "center"
                                                             : "left";
  html += std::string("<div style=\"text-align:") + align + "\">";
  if (reply.quote) html += ".....<blockquote>";
  for (const StyledRun& run : reply.runs) {
    html += "<span style=\"color:" + hex(run.colour) + ";font-family:'" + text::toUtf8(run.face) +
            "';font-size:" + std::to_string(sizePixels(run.size, 96)) + "px";
    if (reply.bold) html += ";font-weight:bold";
    if (reply.italic) html += ";font-style:italic";
    if (reply.underline) html += ";text-decoration:underline";
    html += "\">";
    escapeHtml(html, run.text);
    html += "</span>";
  }
  for (const std::u16string& address : reply.emoticons) html += "<img src=\"" + text::toUtf8(address) + "\">";
  if (reply.quote) html += "</blockquote>";
  html += "</div>";
  const std::size_t endFragment = html.size();
  html += "<!--EndFragment-->\r\n</body></html>";
  patch(html, "StartHTML:", startHtml);
  patch(html, "EndHTML:", html.size());
  patch(html, "StartFragment:", startFragment);
  patch(html, "EndFragment:", endFragment);
  return html;
}

std::string writeRtf(const StyledReply& reply, const text::AnsiCodec& codec) {
  std::vector<std::u16string> faces;
  std::vector<Colour> colours;
  for (const StyledRun& run : reply.runs) {
    if (std::find(faces.begin(), faces.end(), run.face) == faces.end()) faces.push_back(run.face);
    if (std::find(colours.begin(), colours.end(), run.colour) == colours.end()) colours.push_back(run.colour);
  }
  std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl";
  for (std::size_t f = 0; f < faces.size(); ++f)
    rtf += "{\\f" + std::to_string(f) + " " + codec.encode(faces[f]) + ";}";
  rtf += "}{\\colortbl;";
  for (Colour c : colours)
    rtf += "\\red" + std::to_string(redOf(c)) + "\\green" + std::to_string(greenOf(c)) + "\\blue" +
           std::to_string(blueOf(c)) + ";";
  rtf += "}\\pard";
  if (reply.alignment == Alignment::Centre) rtf += "\\qc";
  if (reply.alignment == Alignment::Right) rtf += "\\qr";
  rtf += " ";
  for (const StyledRun& run : reply.runs) {
    const auto face = std::find(faces.begin(), faces.end(), run.face) - faces.begin();
    const auto colour = std::find(colours.begin(), colours.end(), run.colour) - colours.begin() + 1;
    rtf += "{\\f" + std::to_string(face) + "\\cf" + std::to_string(colour) + "\\fs" +
           std::to_string(sizePixels(run.size, 96) * 3 / 2);
    if (reply.bold) rtf += "\\b";
    if (reply.italic) rtf += "\\i";
    if (reply.underline) rtf += "\\ul";
    rtf += " ";
    rtfText(rtf, run.text);
    rtf += "}";
  }
  rtf += "\\par}";
  return rtf;
}

}  // namespace vexlo::formatter

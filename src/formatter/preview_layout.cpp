#include "formatter/preview_layout.h"

#include <algorithm>
#include <map>

namespace vexlo::formatter {

namespace {

constexpr int kMargin = 4;          // around the content
constexpr int kQuoteInset = 6;      // between the quote's frame and its text
constexpr int kPlaceholderPad = 3;  // between an emoticon's frame and its name
constexpr int kLabelPixels = 12;    // the quote's dots and the emoticons' names
constexpr Colour kLabelColour = 0x000000;
constexpr Colour kPlaceholderColour = 0x808080;
constexpr Colour kMessageColour = 0x0000C0;  // dark red
constexpr int kMessageSize = 2;

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

std::size_t widthAt(std::u16string_view text, std::size_t at) {
  return at + 1 < text.size() && isHighSurrogate(text[at]) && isLowSurrogate(text[at + 1]) ? 2 : 1;
}

// The part of an emoticon's address a user recognises: its file name.
std::u16string_view fileNameOf(std::u16string_view address) {
  const std::size_t slash = address.find_last_of(u"/\\");
  std::u16string_view name = slash == std::u16string_view::npos ? address : address.substr(slash + 1);
  return name.empty() ? address : name;
}

// One thing on a line: a character of a run, or an emoticon's placeholder.
struct Item {
  std::u16string_view text;
  int advance = 0;
  std::size_t font = 0;
  Colour colour = 0;
  FontMetrics metrics;
  bool glow = false;
  bool placeholder = false;
  bool space() const { return !placeholder && text == u" "; }
  // Part of a Latin word, which wraps as a whole.
  bool wordPart() const { return !placeholder && text.size() == 1 && text[0] > u' ' && text[0] < 0x80; }
};

class Layouter {
 public:
  Layouter(const StyledReply& reply, int dpi, TextMeasurer& measurer) : reply_(reply), dpi_(dpi), measurer_(measurer) {
    labelFont_ = fontIndex({u"", scaledPixels(kLabelPixels, dpi)});
  }

  PreviewLayout layOut(int width) {
    const int margin = scaledPixels(kMargin, dpi_);
    left_ = margin;
    width_ = std::max(1, width - 2 * margin);
    y_ = margin;
    std::size_t frameIndex = 0;
    if (reply_.quote) {
      // The dots stand before the alignment's tag: always at the left.
      for (int i = 0; i < 5; ++i) add(character(u".", labelFont_, kLabelColour));
      endLine(Alignment::Left);
      const int inset = scaledPixels(kQuoteInset, dpi_);
      frameIndex = layout_.frames.size();
      layout_.frames.push_back({left_, y_, width_, 0});
      left_ += inset;
      width_ = std::max(1, width_ - 2 * inset);
      y_ += inset;
    }
    for (const StyledRun& run : reply_.runs) addRun(run);
    for (const std::u16string& address : reply_.emoticons) add(placeholder(fileNameOf(address)));
    if (!line_.empty()) endLine();
    if (reply_.quote) {
      y_ += scaledPixels(kQuoteInset, dpi_);
      layout_.frames[frameIndex].height = y_ - layout_.frames[frameIndex].top;
    }
    layout_.height = y_ + margin;
    return std::move(layout_);
  }

 private:
  std::size_t fontIndex(const PreviewFont& font) {
    auto [at, added] = fontIndices_.try_emplace(font, layout_.fonts.size());
    if (added) {
      layout_.fonts.push_back(font);
      metrics_.push_back(measurer_.metrics(font));
    }
    return at->second;
  }

  Item character(std::u16string_view ch, std::size_t font, Colour colour) {
    Item item;
    item.text = ch;
    item.font = font;
    item.colour = colour;
    item.metrics = metrics_[font];
    item.advance = measurer_.advance(layout_.fonts[font], ch);
    return item;
  }

  Item placeholder(std::u16string_view name) {
    Item item;
    item.placeholder = true;
    item.text = name;
    item.font = labelFont_;
    item.colour = kPlaceholderColour;
    const int pad = scaledPixels(kPlaceholderPad, dpi_);
    for (std::size_t i = 0; i < name.size();) {
      const std::size_t w = widthAt(name, i);
      item.advance += measurer_.advance(layout_.fonts[labelFont_], name.substr(i, w));
      i += w;
    }
    item.advance = std::min(item.advance + 2 * pad, width_);
    item.metrics = {metrics_[labelFont_].ascent + pad, metrics_[labelFont_].descent + pad};
    return item;
  }

  void addRun(const StyledRun& run) {
    PreviewFont font;
    font.face = std::u16string(run.horizontal ? u"@" : u"") + std::u16string(reply_.faceOf(run));
    font.pixels = sizePixels(run.size, dpi_);
    font.bold = reply_.bold;
    font.italic = reply_.italic;
    font.underline = reply_.underline;
    const std::size_t index = fontIndex(font);
    lineFont_ = index;
    const std::u16string_view text = run.text;
    for (std::size_t i = 0; i < text.size();) {
      const std::size_t w = widthAt(text, i);
      const char16_t c = text[i];
      if (c == u'\r' || c == u'\n') {
        endLine();
        i += c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
        continue;
      }
      Item item = character(text.substr(i, w), index, run.colour);
      item.glow = reply_.glow;
      add(std::move(item));
      i += w;
    }
  }

  void add(Item item) {
    if (lineWidth_ + item.advance > width_ && !line_.empty()) {
      if (item.space()) {  // a blank where the line breaks takes no room
        endLine();
        return;
      }
      std::vector<Item> carried = item.wordPart() ? wordTail() : std::vector<Item>{};
      endLine();
      for (Item& c : carried) place(std::move(c));
    }
    place(std::move(item));
  }

  void place(Item item) {
    lineWidth_ += item.advance;
    line_.push_back(std::move(item));
  }

  // The Latin word at the line's end, taken off it to start the next line;
  // nothing when the word fills the line from its start.
  std::vector<Item> wordTail() {
    std::size_t start = line_.size();
    while (start > 0 && line_[start - 1].wordPart()) --start;
    if (start == 0 || !line_[start - 1].space()) return {};
    std::vector<Item> tail(line_.begin() + static_cast<std::ptrdiff_t>(start), line_.end());
    for (const Item& t : tail) lineWidth_ -= t.advance;
    line_.resize(start);
    return tail;
  }

  void endLine() { endLine(reply_.alignment); }

  void endLine(Alignment alignment) {
    FontMetrics m = line_.empty() ? metrics_[lineFont_] : FontMetrics{};
    for (const Item& item : line_) {
      m.ascent = std::max(m.ascent, item.metrics.ascent);
      m.descent = std::max(m.descent, item.metrics.descent);
    }
    int x = left_;
    if (alignment == Alignment::Right) x += std::max(0, width_ - lineWidth_);
    if (alignment == Alignment::Centre) x += std::max(0, (width_ - lineWidth_) / 2);
    const int baseline = y_ + m.ascent;
    bool joinable = false;
    for (const Item& item : line_) {
      if (item.placeholder) {
        const int pad = scaledPixels(kPlaceholderPad, dpi_);
        layout_.frames.push_back(
            {x, baseline - item.metrics.ascent, item.advance, item.metrics.ascent + item.metrics.descent});
        PreviewPiece label{x + pad, baseline, std::u16string(item.text), {}, item.colour, item.font};
        for (std::size_t i = 0; i < item.text.size();) {
          const std::size_t w = widthAt(item.text, i);
          label.advances.push_back(measurer_.advance(layout_.fonts[item.font], item.text.substr(i, w)));
          if (w == 2) label.advances.push_back(0);
          i += w;
        }
        layout_.pieces.push_back(std::move(label));
        joinable = false;
      } else {
        PreviewPiece* last = joinable ? &layout_.pieces.back() : nullptr;
        if (!last || last->font != item.font || last->colour != item.colour || last->glow != item.glow) {
          layout_.pieces.push_back({x, baseline, {}, {}, item.colour, item.font, item.glow});
          last = &layout_.pieces.back();
        }
        last->text.append(item.text);
        last->advances.push_back(item.advance);
        if (item.text.size() == 2) last->advances.push_back(0);
        joinable = true;
      }
      x += item.advance;
    }
    y_ += m.ascent + m.descent;
    line_.clear();
    lineWidth_ = 0;
  }

  const StyledReply& reply_;
  int dpi_;
  TextMeasurer& measurer_;
  PreviewLayout layout_;
  std::map<PreviewFont, std::size_t> fontIndices_;
  std::vector<FontMetrics> metrics_;
  std::size_t labelFont_ = 0;
  std::size_t lineFont_ = 0;  // gives an empty line its height
  std::vector<Item> line_;
  int lineWidth_ = 0;
  int left_ = 0;
  int width_ = 0;
  int y_ = 0;
};

}  // namespace

std::u16string_view previewPrefix(std::u16string_view text, bool& truncated) {
  std::size_t at = 0;
  for (std::size_t count = 0; at < text.size() && count < kPreviewCharacterLimit; ++count) at += widthAt(text, at);
  truncated = at < text.size();
  return text.substr(0, at);
}

int scaledPixels(int pixelsAt96, int dpi) {
  return static_cast<int>((static_cast<long long>(pixelsAt96) * dpi + 48) / 96);
}

int sizePixels(int size, int dpi) {
  return scaledPixels(browserPixelSize(std::clamp(size, 1, 7)), dpi);
}

PreviewLayout layoutPreview(const StyledReply& reply, int width, int dpi, TextMeasurer& measurer) {
  return Layouter(reply, dpi, measurer).layOut(width);
}

PreviewFit fitPreview(const StyledReply& reply, std::u16string_view message, const PreviewGeometry& geometry,
                      TextMeasurer& measurer) {
  StyledReply messageReply;
  if (!message.empty())
    messageReply.runs.push_back({std::u16string(message), kMessageColour, 0, false, kMessageSize});
  const StyledReply& shown = message.empty() ? reply : messageReply;
  const int lowest = scaledPixels(kPreviewMinHeight, geometry.dpi);
  const int tallest = scaledPixels(kPreviewMaxHeight, geometry.dpi);
  PreviewFit fit;
  fit.layout = layoutPreview(shown, geometry.width, geometry.dpi, measurer);
  if (fit.layout.height + geometry.chromeHeight > tallest) {
    fit.scrolls = true;
    fit.layout = layoutPreview(shown, geometry.width - geometry.scrollBarWidth, geometry.dpi, measurer);
  }
  fit.windowHeight = std::clamp(fit.layout.height + geometry.chromeHeight, lowest, tallest);
  return fit;
}

}  // namespace vexlo::formatter

#include "formatter/win32/gdi_text_measurer.h"

#include "platform/win32/wide.h"

namespace vexlo::formatter::win32 {

namespace {
// The face the program's own controls use; also what an unnamed face means.
constexpr char16_t kDefaultFace[] = u"SimSun";
}  // namespace

GdiTextMeasurer::GdiTextMeasurer() : dc_(CreateCompatibleDC(nullptr)) {}

GdiTextMeasurer::~GdiTextMeasurer() {
  for (auto& [key, made] : fonts_) DeleteObject(made.font);
  DeleteDC(dc_);
}

GdiTextMeasurer::Made& GdiTextMeasurer::made(const PreviewFont& font) {
  if (last_ && *lastKey_ == font) return *last_;
  auto [at, added] = fonts_.try_emplace(font);
  Made& m = at->second;
  if (added) {
    LOGFONTW log = {};
    log.lfHeight = -font.pixels;
    log.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    log.lfItalic = font.italic;
    log.lfUnderline = font.underline;
    log.lfCharSet = DEFAULT_CHARSET;
    log.lfQuality = CLEARTYPE_QUALITY;
    const bool unnamed = font.face.empty() || font.face == u"@";
    std::u16string face = unnamed ? font.face + kDefaultFace : font.face;
    platform::win32::copyToField(log.lfFaceName, face);
    m.font = CreateFontIndirectW(&log);
    TEXTMETRICW tm = {};
    HGDIOBJ old = SelectObject(dc_, m.font);
    GetTextMetricsW(dc_, &tm);
    SelectObject(dc_, old);
    m.metrics = {static_cast<int>(tm.tmAscent), static_cast<int>(tm.tmDescent)};
  }
  lastKey_ = &at->first;
  last_ = &m;
  return m;
}

FontMetrics GdiTextMeasurer::metrics(const PreviewFont& font) { return made(font).metrics; }

HFONT GdiTextMeasurer::handle(const PreviewFont& font) { return made(font).font; }

int GdiTextMeasurer::advance(const PreviewFont& font, std::u16string_view character) {
  Made& m = made(font);
  const char32_t key = character.size() == 2 ? (static_cast<char32_t>(character[0]) << 16 | character[1])
                                             : static_cast<char32_t>(character.empty() ? 0 : character[0]);
  auto [at, added] = m.advances.try_emplace(key, 0);
  if (added) {
    HGDIOBJ old = SelectObject(dc_, m.font);
    SIZE size = {};
    GetTextExtentPoint32W(dc_, reinterpret_cast<const wchar_t*>(character.data()), static_cast<int>(character.size()),
                          &size);
    SelectObject(dc_, old);
    at->second = size.cx;
  }
  return at->second;
}

}  // namespace vexlo::formatter::win32

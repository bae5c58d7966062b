// The preview's fonts and their measures, made as the layout first asks for
// them and kept for the next layout: typing asks the system only about
// characters it has not measured yet.
#pragma once

#include <windows.h>

#include <map>
#include <unordered_map>

#include "formatter/preview_layout.h"

namespace vexlo::formatter::win32 {

class GdiTextMeasurer final : public TextMeasurer {
 public:
  GdiTextMeasurer();
  ~GdiTextMeasurer() override;
  GdiTextMeasurer(const GdiTextMeasurer&) = delete;
  GdiTextMeasurer& operator=(const GdiTextMeasurer&) = delete;

  FontMetrics metrics(const PreviewFont& font) override;
  int advance(const PreviewFont& font, std::u16string_view character) override;
  // The font itself, for drawing; the system's fallback stands in for a face
  // that is not installed.
  HFONT handle(const PreviewFont& font);

 private:
  struct Made {
    HFONT font = nullptr;
    FontMetrics metrics;
    std::unordered_map<char32_t, int> advances;
  };
  Made& made(const PreviewFont& font);

  HDC dc_;
  std::map<PreviewFont, Made> fonts_;
  // Rainbow and single colour ask about one font thousands of times in a row.
  const PreviewFont* lastKey_ = nullptr;
  Made* last_ = nullptr;
};

}  // namespace vexlo::formatter::win32

// Stand-ins for the preview's window and its text measurer.
#pragma once

#include <vector>

#include "formatter/preview_layout.h"
#include "formatter/preview_window.h"

namespace vexlo::fakes {

// Records what the panel showed and asked; `shown` mirrors the window.
struct FakePreviewWindow : formatter::PreviewWindow {
  bool shown = false;
  std::vector<formatter::PreviewContent> updates;
  void update(const formatter::PreviewContent& content) override { updates.push_back(content); }
  void show() override { shown = true; }
  void hide() override { shown = false; }
  const formatter::PreviewContent& last() const { return updates.back(); }
};

// Every character of a font `pixels` high advances half that (a code unit
// below 0x80) or all of it; ascent four fifths, descent one fifth.
struct FixedMeasurer : formatter::TextMeasurer {
  formatter::FontMetrics metrics(const formatter::PreviewFont& font) override {
    return {font.pixels * 4 / 5, font.pixels / 5};
  }
  int advance(const formatter::PreviewFont& font, std::u16string_view ch) override {
    return ch.size() == 1 && ch[0] < 0x80 ? font.pixels / 2 : font.pixels;
  }
};

}  // namespace vexlo::fakes

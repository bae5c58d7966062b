// Where things lie on the region overlay, in pixels of the screen: the
// magnifier frame and the readout inside it.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "controls/control.h"

namespace vexlo::capture {

struct PixelPoint {
  int x = 0;
  int y = 0;
  bool operator==(const PixelPoint&) const = default;
};

struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PixelRect&) const = default;
};

inline constexpr int kMagnifierWidth = 193;
inline constexpr int kMagnifierHeight = 241;
// The square around the pointer and how large the frame shows it.
inline constexpr int kSampleSize = 23;
inline constexpr int kSampleRadius = kSampleSize / 2;
inline constexpr PixelRect kEnlargedView{8, 8, 177, 177};
// The red cross-hair over the enlarged view: one line across at this row,
// one down at this column, each over the view's span.
inline constexpr int kCrossHairAt = 96;
inline constexpr int kCrossHairFrom = 8;
inline constexpr int kCrossHairTo = 184;
inline constexpr PixelRect kSwatch{8, 192, 41, 42};

// The pointer near the frame's corner sends it to the other one.
inline constexpr int kTopLeftAreaWidth = 223;
inline constexpr int kTopLeftAreaHeight = 271;
inline constexpr int kBottomRightOffsetX = 205;
inline constexpr int kBottomRightOffsetY = 253;
inline constexpr int kBottomRightAreaX = 235;
inline constexpr int kBottomRightAreaY = 283;

// The size label sits beside the rectangle's first corner.
inline constexpr int kSizeLabelOffsetX = 5;
inline constexpr int kSizeLabelOffsetY = -16;

enum ReadoutField { kRed, kGreen, kBlue, kPointerX, kPointerY, kHex, kDecimal, kReadoutFieldCount };

// A fixed caption of the readout and the value beside it.
struct ReadoutRow {
  std::string_view captionName;
  std::u16string_view caption;
  PixelRect captionRect;
  std::optional<controls::Colour> captionBack;
  std::string_view valueName;
  PixelRect valueRect;
};

inline constexpr std::array<ReadoutRow, kReadoutFieldCount> kReadoutRows = {{
    {"Label11", u"R", {56, 192, 14, 14}, 0x0000FF, "Label4", {72, 192, 30, 14}},
    {"Label12", u"G", {56, 207, 14, 14}, 0x00FF00, "Label5", {72, 207, 30, 14}},
    {"Label13", u"B", {56, 222, 14, 14}, 0xFF0000, "Label6", {72, 222, 30, 14}},
    {"Label1", u"X=", {104, 192, 12, 14}, std::nullopt, "Label14", {116, 192, 34, 14}},
    {"Label7", u"Y=", {150, 192, 12, 14}, std::nullopt, "Label15", {162, 192, 30, 14}},
    {"Label9", u"Hex:", {104, 207, 24, 14}, std::nullopt, "Label8", {128, 207, 64, 14}},
    {"Label16", u"Dec:", {104, 222, 24, 14}, std::nullopt, "Label10", {128, 222, 64, 14}},
}};

}  // namespace vexlo::capture

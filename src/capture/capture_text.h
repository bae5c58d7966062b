// The texts of the capture that follow fixed rules: the size text, the
// completion of a saved file's name and the quality an item stands for.
#pragma once

#include <string>
#include <string_view>

namespace vexlo::capture {

inline constexpr std::u16string_view kBmpExtension = u".bmp";
inline constexpr std::u16string_view kJpegExtension = u".jpg";
inline constexpr std::u16string_view kPngExtension = u".png";

// "图片尺寸: " + width + " * " + height, plain decimal numbers.
std::u16string sizeText(int width, int height);

// The path as saved: the extension is appended unless the path already
// ends in exactly it. The comparison is case-sensitive, so "shot.BMP"
// becomes "shot.BMP.bmp".
std::u16string completedPath(std::u16string path, std::u16string_view extension);

// The JPEG quality (0..100) a quality list item stands for: its leading
// decimal number, 0 when it has none.
int qualityValue(std::u16string_view itemText);

std::u16string decimalText(long long value);
// Upper-case hexadecimal without prefix or leading zeros ("0" for zero).
std::u16string hexText(unsigned long value);

}  // namespace vexlo::capture

#include "capture/capture_text.h"

#include <algorithm>

namespace vexlo::capture {

std::u16string decimalText(long long value) {
  std::u16string digits;
  const bool negative = value < 0;
  unsigned long long rest = negative ? 0ULL - static_cast<unsigned long long>(value) : value;
  do {
    digits.push_back(static_cast<char16_t>(u'0' + rest % 10));
    rest /= 10;
  } while (rest != 0);
  if (negative) digits.push_back(u'-');
  std::reverse(digits.begin(), digits.end());
  return digits;
}

std::u16string hexText(unsigned long value) {
  constexpr std::u16string_view kDigits = u"0123456789ABCDEF";
  std::u16string digits;
  do {
    digits.push_back(kDigits[value % 16]);
    value /= 16;
  } while (value != 0);
  std::reverse(digits.begin(), digits.end());
  return digits;
}

std::u16string sizeText(int width, int height) {
  return u"图片尺寸: " + decimalText(width) + u" * " + decimalText(height);
}

std::u16string completedPath(std::u16string path, std::u16string_view extension) {
  const bool hasIt = path.size() >= extension.size() &&
                     std::u16string_view(path).substr(path.size() - extension.size()) == extension;
  if (!hasIt) path += extension;
  return path;
}

int qualityValue(std::u16string_view itemText) {
  int value = 0;
  for (char16_t c : itemText) {
    if (c < u'0' || c > u'9' || value > 100) break;
    value = value * 10 + (c - u'0');
  }
  return std::min(value, 100);
}

}  // namespace vexlo::capture

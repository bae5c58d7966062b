// The web search of the toolbox: the engines' addresses for a keyword.
#pragma once

#include <string>
#include <string_view>

namespace vexlo::utilities {

// The engines' web-search hosts: the one place to change them.
inline constexpr std::u16string_view kBaiduHost = u"www.baidu.com";
inline constexpr std::u16string_view kGoogleHost = u"www.google.com";

enum class SearchEngine { Baidu, Google };

// The keyword as UTF-8 with every byte outside the unreserved characters
// (letters, digits, "-", ".", "_", "~") written as "%" and two upper-case
// hexadecimal digits, so that "&", "#", "+", "%", blanks and Chinese reach
// the engine as typed. Half a surrogate pair, which UTF-8 cannot carry, is
// sent as U+FFFD.
std::u16string percentEncoded(std::u16string_view keyword);

// The engine's search address for the keyword. Baidu is told that the
// keyword is UTF-8; it would otherwise take it for its own code page.
std::u16string searchAddress(SearchEngine engine, std::u16string_view keyword);

}  // namespace vexlo::utilities

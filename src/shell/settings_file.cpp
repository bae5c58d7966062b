#include "shell/settings_file.h"

#include <climits>
#include <cmath>

#include "shell/ini_document.h"
#include "text/characters.h"

namespace vexlo::shell {

namespace {

constexpr std::string_view kMainSection = "Quenby_Sarn";

// Largest number of ANSI bytes taken from each single setting; a longer
// stored value is cut between characters.
constexpr std::size_t kStartWithWindowsLimit = 2;
constexpr std::size_t kIndexLimit = 2;
constexpr std::size_t kBooleanLimit = 7;
constexpr std::size_t kColourLimit = 9;
constexpr std::size_t kCountLimit = 4;

constexpr std::uint32_t kLargestColour = 0xFFFFFF;

struct ListKeys {
  std::string_view count;
  std::string_view names;
  std::string_view addresses;
};
constexpr ListKeys kEmoticonKeys{"BQs", "BQm", "BQz"};
constexpr ListKeys kMediaKeys{"YYs", "YYm", "YYz"};
constexpr ListKeys kProgramKeys{"CXs", "CXm", "CXz"};

constexpr std::array<std::string_view, 3> kColourKeys{"Co0_B", "Co1_B", "Co2_B"};

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::optional<std::u16string> limitedText(const IniDocument& file, std::string_view key, std::size_t limit,
                                          const platform::AnsiCodec& codec) {
  std::optional<std::string> bytes = file.get(kMainSection, key);
  if (!bytes) return std::nullopt;
  std::u16string value = codec.decode(*bytes);
  if (bytes->size() <= limit) return value;
  return text::cutToAnsiBytes(value, limit, codec);
}

// Optional sign, then decimal digits and nothing else.
std::optional<long long> wholeNumber(std::u16string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
    negative = text.front() == u'-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 18) return std::nullopt;
  long long value = 0;
  for (char16_t c : text) {
    if (!isDigit(c)) return std::nullopt;
    value = value * 10 + (c - u'0');
  }
  return negative ? -value : value;
}

std::optional<int> readIndex(const IniDocument& file, std::string_view key, const platform::AnsiCodec& codec) {
  std::optional<std::u16string> text = limitedText(file, key, kIndexLimit, codec);
  if (!text) return std::nullopt;
  std::optional<long long> number = wholeNumber(*text);
  if (!number) return std::nullopt;
  return static_cast<int>(*number);  // two bytes: -9 to 99
}

bool equalsIgnoringAsciiCase(std::u16string_view text, std::u16string_view lowerCase) {
  if (text.size() != lowerCase.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != lowerCase[i]) return false;
  }
  return true;
}

std::optional<bool> readBoolean(const IniDocument& file, std::string_view key, const platform::AnsiCodec& codec) {
  std::optional<std::u16string> text = limitedText(file, key, kBooleanLimit, codec);
  if (!text) return std::nullopt;
  if (equalsIgnoringAsciiCase(*text, u"true")) return true;
  if (equalsIgnoringAsciiCase(*text, u"false")) return false;
  return std::nullopt;
}

std::optional<std::uint32_t> readColour(const IniDocument& file, std::string_view key,
                                        const platform::AnsiCodec& codec) {
  std::optional<std::u16string> text = limitedText(file, key, kColourLimit, codec);
  if (!text) return std::nullopt;
  std::optional<long long> number = wholeNumber(*text);
  if (!number || *number < 0 || *number > kLargestColour) return std::nullopt;
  return static_cast<std::uint32_t>(*number);
}

std::vector<SettingsEntry> readList(const IniDocument& file, const ListKeys& keys, const platform::AnsiCodec& codec) {
  std::vector<SettingsEntry> entries;
  // Without its count key a list has nothing to restore (rather than one
  // empty entry, which is what the leading number of "" would give).
  std::optional<std::u16string> countText = limitedText(file, keys.count, kCountLimit, codec);
  if (!countText) return entries;
  // The count key holds the last index: entries 0 to n, both included.
  double last = std::floor(leadingNumber(*countText));
  if (last < 0) return entries;
  auto n = static_cast<std::size_t>(last);
  entries.reserve(n + 1);
  for (std::size_t i = 0; i <= n; ++i) {
    std::string key = std::to_string(i);
    SettingsEntry entry;
    // Entries are read whole: cutting a long address would break it.
    if (auto name = file.get(keys.names, key)) entry.name = codec.decode(*name);
    if (auto address = file.get(keys.addresses, key)) entry.address = codec.decode(*address);
    entries.push_back(std::move(entry));
  }
  return entries;
}

void writeList(IniDocument& file, const ListKeys& keys, const std::vector<SettingsEntry>& entries,
               const platform::AnsiCodec& codec) {
  long long last = static_cast<long long>(entries.size()) - 1;
  file.set(kMainSection, keys.count, std::to_string(last));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::string key = std::to_string(i);
    file.set(keys.names, key, codec.encode(entries[i].name));
    file.set(keys.addresses, key, codec.encode(entries[i].address));
  }
}

std::string_view booleanText(bool value) { return value ? "True" : "False"; }

}  // namespace

std::u16string settingsPath(std::u16string_view exeDirectory) {
  std::u16string path(exeDirectory);
  if (text::characterCount(exeDirectory) != 3) path += u'\\';
  path += u"Vexlo.ini";
  return path;
}

double leadingNumber(std::u16string_view text) {
  auto isSkipped = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
  std::size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && isSkipped(text[i])) ++i;
  };
  skipBlanks();
  double sign = 1;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
    if (text[i] == u'-') sign = -1;
    ++i;
  }
  double value = 0;
  double scale = 0;  // 0 before the decimal point, then 0.1, 0.01, ...
  for (; i < text.size(); ++i) {
    char16_t c = text[i];
    if (isSkipped(c)) continue;
    if (c == u'.' && scale == 0) {
      scale = 0.1;
      continue;
    }
    if (!isDigit(c)) break;
    if (scale == 0) {
      value = value * 10 + (c - u'0');
    } else {
      value += scale * (c - u'0');
      scale /= 10;
    }
  }
  return sign * value;
}

StoredSettings readSettings(std::string_view fileBytes, const platform::AnsiCodec& codec) {
  IniDocument file(fileBytes);
  StoredSettings stored;

  // A check box value: Basic rounds half to even, as nearbyint does.
  double startWithWindows =
      std::nearbyint(leadingNumber(limitedText(file, "ZQD", kStartWithWindowsLimit, codec).value_or(u"")));
  stored.startWithWindows = static_cast<int>(startWithWindows);

  stored.fontIndex = readIndex(file, "Zt", codec);
  stored.sizeIndex = readIndex(file, "Dx", codec);
  stored.gradient = readBoolean(file, "Jb", codec);
  stored.rainbow = readBoolean(file, "Ch", codec);
  stored.random = readBoolean(file, "Sj", codec);
  for (std::size_t i = 0; i < kColourKeys.size(); ++i) stored.colours[i] = readColour(file, kColourKeys[i], codec);

  std::optional<std::u16string> path = limitedText(file, "Path", kPathBytes, codec);
  if (path && !path->empty()) stored.path = std::move(path);

  stored.emoticons = readList(file, kEmoticonKeys, codec);
  stored.media = readList(file, kMediaKeys, codec);
  stored.programs = readList(file, kProgramKeys, codec);
  return stored;
}

std::string writeSettings(std::string_view existingFileBytes, const SettingsToSave& settings,
                          const platform::AnsiCodec& codec) {
  IniDocument file(existingFileBytes);
  writeList(file, kEmoticonKeys, settings.emoticons, codec);
  writeList(file, kMediaKeys, settings.media, codec);
  writeList(file, kProgramKeys, settings.programs, codec);

  file.set(kMainSection, "ZQD", std::to_string(settings.startWithWindows));
  file.set(kMainSection, "Zt", std::to_string(settings.fontIndex));
  file.set(kMainSection, "Dx", std::to_string(settings.sizeIndex));
  file.set(kMainSection, "Jb", booleanText(settings.gradient));
  file.set(kMainSection, "Ch", booleanText(settings.rainbow));
  file.set(kMainSection, "Sj", booleanText(settings.random));
  for (std::size_t i = 0; i < kColourKeys.size(); ++i) {
    file.set(kMainSection, kColourKeys[i], std::to_string(settings.colours[i]));
  }
  file.set(kMainSection, "Path", codec.encode(settings.path));
  return file.bytes();
}

}  // namespace vexlo::shell

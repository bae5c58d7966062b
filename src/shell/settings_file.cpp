#include "shell/settings_file.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>

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
constexpr std::size_t kPreviewLimit = 2;
constexpr std::string_view kPreviewKey = "Yl";

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

// The text of stored bytes as a save writes it back, so that an entry a
// save moves to another key reads the same from there. A sequence the code
// page cannot decode reads as a stand-in character (U+FFFD, say) that it
// may not be able to encode either: the program holds what writing that
// stand-in gives. A value cannot hold a line break, so a CR inside a line
// reads as the blank a save writes for it.
std::u16string storedText(std::string_view bytes, const platform::AnsiCodec& codec) {
  std::u16string text = codec.decode(bytes);
  if (std::string written = codec.encode(text); written != bytes) text = codec.decode(written);
  auto isLineBreak = [](char16_t c) { return c == u'\r' || c == u'\n'; };
  std::replace_if(text.begin(), text.end(), isLineBreak, u' ');
  return text;
}

// A stored value as a read with a byte limit takes it.
std::u16string limitedValue(std::string_view bytes, std::size_t limit, const platform::AnsiCodec& codec) {
  return text::cutToAnsiBytes(storedText(bytes, codec), limit, codec);
}

std::optional<std::u16string> limitedText(const IniDocument& file, std::string_view key, std::size_t limit,
                                          const platform::AnsiCodec& codec) {
  std::optional<std::string> bytes = file.get(kMainSection, key);
  if (!bytes) return std::nullopt;
  return limitedValue(*bytes, limit, codec);
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

// The entry a key of a list section holds: its name is the decimal index a
// save writes ("0", "12"; blanks around it were trimmed), no other spelling.
std::optional<std::size_t> entryIndex(std::string_view keyName) {
  if (keyName.empty() || keyName.size() > 9 || (keyName.size() > 1 && keyName.front() == '0')) return std::nullopt;
  std::size_t index = 0;
  for (char c : keyName) {
    if (c < '0' || c > '9') return std::nullopt;
    index = index * 10 + static_cast<std::size_t>(c - '0');
  }
  return index;
}

std::vector<SettingsEntry> readList(const IniDocument& file, const ListKeys& keys, const platform::AnsiCodec& codec) {
  std::vector<SettingsEntry> entries;
  // Without its count key a list has nothing to restore (rather than one
  // empty entry, which is what the leading number of "" would give).
  std::optional<std::u16string> countText = limitedText(file, keys.count, kCountLimit, codec);
  if (!countText) return entries;
  // The count key holds the last index: entries 0 to n, both included. It
  // only bounds the entries: the work follows the keys actually present, so
  // a huge count in a small file restores what the file holds and no more.
  const double last = std::floor(leadingNumber(*countText));
  if (last < 0) return entries;
  std::map<std::size_t, SettingsEntry> present;
  auto take = [&](std::string_view section, std::u16string SettingsEntry::*field) {
    for (const IniDocument::Key& key : file.keys(section)) {
      std::optional<std::size_t> index = entryIndex(key.name);
      // Entries are read whole: cutting a long address would break it.
      if (index && static_cast<double>(*index) <= last) present[*index].*field = storedText(key.value, codec);
    }
  };
  take(keys.names, &SettingsEntry::name);
  take(keys.addresses, &SettingsEntry::address);
  // An index held by only one of the two sections gives an entry with an
  // empty name or address; an index neither holds gives nothing.
  entries.reserve(present.size());
  for (auto& [index, entry] : present) entries.push_back(std::move(entry));
  return entries;
}

// Writes a text value, unless the file already holds one that reads as that
// same text: bytes the code page cannot turn into text and back (an invalid
// sequence, a value cut at its read limit) survive a save of an unchanged
// value instead of being replaced by what their reading left of them.
template <class ReadBack>
void setText(IniDocument& file, std::string_view section, std::string_view key, const std::u16string& value,
             const platform::AnsiCodec& codec, ReadBack readBack) {
  if (std::optional<std::string> existing = file.get(section, key); existing && readBack(*existing) == value) return;
  file.set(section, key, codec.encode(value));
}

void writeList(IniDocument& file, const ListKeys& keys, const std::vector<SettingsEntry>& entries,
               const platform::AnsiCodec& codec) {
  long long last = static_cast<long long>(entries.size()) - 1;
  file.set(kMainSection, keys.count, std::to_string(last));
  auto decode = [&codec](std::string_view bytes) { return storedText(bytes, codec); };
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::string key = std::to_string(i);
    setText(file, keys.names, key, entries[i].name, codec, decode);
    setText(file, keys.addresses, key, entries[i].address, codec, decode);
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

  stored.preview = limitedText(file, kPreviewKey, kPreviewLimit, codec) == u"1";

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
  setText(file, kMainSection, "Path", settings.path, codec,
          [&codec](std::string_view bytes) { return limitedValue(bytes, kPathBytes, codec); });
  if (settings.preview || file.get(kMainSection, kPreviewKey))
    file.set(kMainSection, kPreviewKey, settings.preview ? "1" : "0");
  return file.bytes();
}

}  // namespace vexlo::shell

// The settings file "Vexlo.ini": where it lives, what a start-up reads from
// it and what leaving the program writes into it. Pure functions over the
// file's bytes; reading and writing the file itself is platform::FileStore's
// job, and setting the controls is the caller's.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/settings_entry.h"
#include "platform/services.h"

namespace vexlo::shell {

// The most bytes a start-up reads back from the "Path" key.
inline constexpr std::size_t kPathBytes = 254;

// The executable's directory followed by "Vexlo.ini": a drive root such as
// "C:\" (exactly 3 characters) already ends in a backslash, any other
// directory gets one.
std::u16string settingsPath(std::u16string_view exeDirectory);

using SettingsEntry = common::SettingsEntry;

// What a start-up restores from an existing file. An empty optional means
// the file lacks the key or holds no valid value for it: the control keeps
// its current state.
struct StoredSettings {
  using Entry = SettingsEntry;

  // Start with Windows: the leading number of "ZQD", rounded. Always a
  // number (a missing or non-numeric value gives 0).
  int startWithWindows = 0;
  // Selected font and size; -1 means no selection. The caller checks the
  // index against its list.
  std::optional<int> fontIndex;
  std::optional<int> sizeIndex;
  // Colour modes gradient, rainbow, random ("Jb", "Ch", "Sj").
  std::optional<bool> gradient;
  std::optional<bool> rainbow;
  std::optional<bool> random;
  // Back colours of Co(0..2), 0x00BBGGRR.
  std::array<std::optional<std::uint32_t>, 3> colours;
  // File manager directory; empty optional when the key is missing or blank.
  std::optional<std::u16string> path;
  std::vector<Entry> emoticons;
  std::vector<Entry> media;
  std::vector<Entry> programs;
  // The preview ("Yl" 1); off when the key is missing or holds anything else.
  bool preview = false;
};

// Everything a save writes; every value is present.
struct SettingsToSave {
  using Entry = SettingsEntry;

  int startWithWindows = 0;
  int fontIndex = -1;
  int sizeIndex = -1;
  bool gradient = false;
  bool rainbow = false;
  bool random = false;
  std::array<std::uint32_t, 3> colours{};
  std::u16string path;
  std::vector<Entry> emoticons;
  std::vector<Entry> media;
  std::vector<Entry> programs;
  // Written as "Yl" when on, or when the file has the key already: a file
  // of someone who never turned the preview on keeps its bytes.
  bool preview = false;
  friend bool operator==(const SettingsToSave&, const SettingsToSave&) = default;
};

// Reads an existing file's bytes (text in the ANSI code page of `codec`).
// A list holds the entries whose index is present in its name or address
// section, in index order, up to the last index its count key names; the
// count never makes entries up, so the work follows the file's size.
StoredSettings readSettings(std::string_view fileBytes, const platform::AnsiCodec& codec);

// The new bytes of the file: `existingFileBytes` (empty when there is no
// file) with every saved key set, in the order of a save, and every other
// section, key and line kept. A text value that the file already holds in a
// form that reads as the same text keeps its bytes.
std::string writeSettings(std::string_view existingFileBytes, const SettingsToSave& settings,
                          const platform::AnsiCodec& codec);

// The leading number of a text, as a Basic Val reads it: blanks are skipped,
// then an optional sign, digits and an optional fraction; reading stops at
// the first other character. An empty or non-numeric text gives 0.
double leadingNumber(std::u16string_view text);

}  // namespace vexlo::shell

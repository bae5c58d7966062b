// A fresh folder under the temporary folder for one test, taken away with
// everything in it (read-only files and folders included) when the test
// is done.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace vexlo::win32_tests {

class ScratchFolder {
 public:
  // Named "vexlo-<name>-<process>-<tick>"; made() tells whether it exists.
  explicit ScratchFolder(std::u16string_view name) {
    wchar_t temp[MAX_PATH + 1];
    if (GetTempPathW(MAX_PATH + 1, temp) == 0) return;
    path_ = reinterpret_cast<const char16_t*>(temp);
    path_ += u"vexlo-" + std::u16string(name) + u"-" + number(GetCurrentProcessId()) + u"-" + number(GetTickCount());
    made_ = CreateDirectoryW(wide(path_), nullptr) != 0;
  }
  ~ScratchFolder() {
    if (!made_) return;
    for (const std::u16string& name : names()) {
      const std::u16string full = path_ + u"\\" + name;
      SetFileAttributesW(wide(full), FILE_ATTRIBUTE_NORMAL);
      if (!DeleteFileW(wide(full))) RemoveDirectoryW(wide(full));
    }
    RemoveDirectoryW(wide(path_));
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  bool made() const { return made_; }
  const std::u16string& path() const { return path_; }

  // The names of what the folder holds.
  std::vector<std::u16string> names() const {
    std::vector<std::u16string> found;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(wide(path_ + u"\\*"), &entry);
    if (search == INVALID_HANDLE_VALUE) return found;
    do {
      std::u16string name = reinterpret_cast<const char16_t*>(entry.cFileName);
      if (name != u"." && name != u"..") found.push_back(name);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return found;
  }

 private:
  static const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
  static std::u16string number(unsigned long value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
  }

  std::u16string path_;
  bool made_ = false;
};

}  // namespace vexlo::win32_tests

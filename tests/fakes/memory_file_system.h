// An in-memory file system for the file manager's tests: drives that can be
// not ready, directories and files (hidden ones too) with names compared
// without regard to case, as Windows compares them. The shell's file
// operation is recorded and carried out, unless the user is to decline.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "filemanager/file_manager_services.h"
#include "platform/file_system.h"

namespace vexlo::fakes {

class MemoryFileSystem : public platform::FileSystem {
 public:
  // The system's words for the refusals the tests provoke.
  static constexpr std::u16string_view kNotReady = u"设备未就绪。";
  static constexpr std::u16string_view kNoPath = u"系统找不到指定的路径。";
  static constexpr std::u16string_view kNoFile = u"系统找不到指定的文件。";
  static constexpr std::u16string_view kExists = u"当文件已存在时，无法创建该文件。";

  struct FakeDrive {
    std::u16string root;
    std::u16string label;
    bool ready = true;
  };
  std::vector<FakeDrive> driveTable{{u"C:\\", u"系统"}, {u"D:\\", u"资料"}};

  // Makes the directory and every missing one above it.
  void addDirectory(const std::u16string& path, bool hidden = false);
  // Makes the file (and its directory).
  void addFile(const std::u16string& path, bool hidden = false);
  bool exists(const std::u16string& path) const;
  bool isDirectory(const std::u16string& path) const;
  // The names directly inside a directory, in the case they were made.
  std::vector<std::u16string> namesIn(const std::u16string& directory) const;

  std::vector<platform::ShellFileOperation> shellOperations;
  std::vector<std::pair<std::u16string, std::u16string>> moves;  // every rename asked for
  std::vector<std::u16string> createdDirectories;                // every creation asked for
  std::vector<std::u16string> listed;                            // every directory read, in order
  bool userDeclines = false;                                     // the user answers no to the shell's question
  bool shellRefuses = false;                                     // the operation cannot be handed to the shell

  std::vector<platform::Drive> drives() override;
  platform::Listing list(const std::u16string& directory) override;
  bool directoryExists(const std::u16string& path) override { return isDirectory(path); }
  platform::Outcome shellOperation(const platform::ShellFileOperation& operation) override;
  platform::Outcome move(const std::u16string& from, const std::u16string& to) override;
  platform::Outcome createDirectory(const std::u16string& path) override;

 private:
  struct Node {
    std::u16string path;  // as made
    bool directory = false;
    bool hidden = false;
  };
  static std::u16string key(std::u16string_view path);
  const FakeDrive* driveOf(const std::u16string& path) const;
  std::vector<std::u16string> keysUnder(const std::u16string& path) const;
  void copyTree(const std::u16string& from, const std::u16string& to);
  void removeTree(const std::u16string& path);
  void carryOut(const platform::ShellFileOperation& operation);

  std::map<std::u16string, Node> nodes_;
};

// Answers each name box from a script and records what it asked.
struct FakeInputBox : platform::InputBox {
  struct Asked {
    std::u16string prompt, title, defaultAnswer;
  };
  std::vector<Asked> asked;
  std::vector<std::u16string> answers;  // taken in order; "" is Cancel
  std::u16string ask(std::u16string_view prompt, std::u16string_view title,
                     std::u16string_view defaultAnswer) override {
    asked.push_back({std::u16string(prompt), std::u16string(title), std::u16string(defaultAnswer)});
    if (answers.empty()) return {};
    std::u16string answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
};

// Decodes every file whose name is listed as a picture into a picture of
// one colour at the asked size.
struct FakePictureDecoder : filemanager::PictureDecoder {
  std::vector<std::u16string> decoded;  // every path asked for
  std::vector<std::u16string> unreadable;
  std::optional<common::Bitmap> decode(const std::u16string& path, int width, int height) override {
    decoded.push_back(path);
    for (const std::u16string& bad : unreadable)
      if (bad == path) return std::nullopt;
    return common::Bitmap::filled(width, height, 0x336699);
  }
};

}  // namespace vexlo::fakes

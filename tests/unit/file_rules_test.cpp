// The file manager's plain rules: the kind table with last-char-position,
// the path labels and the drive-root guard, the wildcard patterns and the
// alphabetical order, the three name boxes and the rename rules.
#include <gtest/gtest.h>

#include "filemanager/file_kinds.h"
#include "filemanager/file_listing.h"
#include "filemanager/name_rules.h"
#include "filemanager/path_labels.h"
#include "text/characters.h"

using namespace vexlo;
using namespace vexlo::filemanager;

namespace {

TEST(FileRules, LastCharPositionNeverConsidersTheFinalCharacter) {
  struct Case {
    std::u16string_view text;
    char16_t character;
    int position;
  };
  for (const Case& c : {Case{u"notes.txt", u'.', 6}, Case{u"ARCHIVE.TAR.GZ", u'.', 12}, Case{u"exe", u'.', 0},
                        Case{u"name.", u'.', 0}, Case{u".", u'.', 0}, Case{u"", u'.', 0}, Case{u".profile", u'.', 1},
                        Case{u"C:\\A\\OLD", u'\\', 5}, Case{u"C:\\", u'\\', 0}})
    EXPECT_EQ(lastCharPosition(c.text, c.character), c.position) << text::toUtf8(c.text);
}

TEST(FileRules, KindTableByExtension) {
  struct Case {
    std::u16string_view name;
    std::u16string_view label;
  };
  for (const Case& c : {Case{u"ARCHIVE.TAR.GZ", u"文 件:"}, Case{u"exe", u"程 序:"}, Case{u"setup.EXE", u"程 序:"},
                        Case{u"a.com", u"程 序:"}, Case{u"photo.jpg", u"图 片:"}, Case{u"icon.Ico", u"图 片:"},
                        Case{u"x.emf", u"图 片:"}, Case{u"song.Mp3", u"影 音:"}, Case{u"movie.rmvb", u"影 音:"},
                        Case{u"track.cda", u"影 音:"}, Case{u"readme.TXT", u"文 本:"}, Case{u"book.pdf", u"文 档:"},
                        Case{u"letter.doc", u"文 档:"}, Case{u"letter.docx", u"文 件:"}, Case{u"Vexlo.lnk", u"快 捷:"},
                        Case{u"noextension", u"文 件:"}, Case{u"jpg.", u"文 件:"}, Case{u"照片.JPG", u"图 片:"}})
    EXPECT_EQ(kindRow(kindOfFile(c.name)).label, c.label) << text::toUtf8(c.name);
  EXPECT_EQ(extensionOf(u"ARCHIVE.TAR.GZ"), u"GZ");
  EXPECT_EQ(extensionOf(u"exe"), u"EXE");
  EXPECT_EQ(kindOfLabel(u"目 录:"), Kind::Directory);
  EXPECT_EQ(kindOfLabel(u"磁 盘:"), Kind::Drive);
  EXPECT_EQ(kindOfLabel(u"something"), Kind::Other);
}

TEST(FileRules, NameWithoutExtensionKeepsANameWithoutADot) {
  EXPECT_EQ(nameWithoutExtension(u"song.final.mp3"), u"song.final");
  EXPECT_EQ(nameWithoutExtension(u"setup.exe"), u"setup");
  EXPECT_EQ(nameWithoutExtension(u"exe"), u"exe");
  EXPECT_EQ(nameWithoutExtension(u"mp3"), u"mp3");
}

TEST(FileRules, PathLabelsOfRootsDirectoriesFilesAndShortcuts) {
  EXPECT_EQ(directoryLabel(u"C:\\"), u"C:\\");
  EXPECT_EQ(directoryLabel(u"C:\\WINDOWS"), u"C:\\WINDOWS\\");
  EXPECT_EQ(joinPath(u"C:\\", u"NAME.EXT"), u"C:\\NAME.EXT");
  EXPECT_EQ(joinPath(u"C:\\DIR", u"a.txt"), u"C:\\DIR\\a.txt");
  EXPECT_EQ(shortcutLabel(u"C:\\DIR\\Sub\\Vexlo.lnk"), u"C:/DIR/Sub/Vexlo.lnk");
  EXPECT_EQ(shortcutLabel(u"C:\\a.lnk"), u"C:/a.lnk");  // one character before the extension
  EXPECT_EQ(realPath(u"C:/DIR/Sub/Vexlo.lnk"), u"C:\\DIR\\Sub\\Vexlo.lnk");
  EXPECT_EQ(driveRootOf(u"d: [资料]"), u"D:\\");
  EXPECT_TRUE(isRootPath(u"C:\\"));
  EXPECT_FALSE(isRootPath(u"C:\\A"));
  EXPECT_EQ(directoryChain(u"C:\\A\\B"), (std::vector<std::u16string>{u"C:\\", u"C:\\A", u"C:\\A\\B"}));
  EXPECT_EQ(directoryChain(u"D:\\"), (std::vector<std::u16string>{u"D:\\"}));
}

TEST(FileRules, DriveRootsSharesAndEmptyPathsNameNoItem) {
  for (std::u16string_view path :
       {u"", u"C:", u"C:\\", u"c:/", u"C:\\\\", u"\\\\server\\share", u"\\\\server\\share\\"})
    EXPECT_TRUE(namesNoItem(path)) << text::toUtf8(path);
  for (std::u16string_view path : {u"C:\\a", u"C:\\a.txt", u"C:/A/b.lnk", u"\\\\server\\share\\dir"})
    EXPECT_FALSE(namesNoItem(path)) << text::toUtf8(path);
}

TEST(FileRules, SameOrInsideComparesWholeNamesWithoutCase) {
  EXPECT_TRUE(isSameOrInside(u"C:\\A", u"C:\\A"));
  EXPECT_TRUE(isSameOrInside(u"C:\\a\\B", u"C:\\A"));
  EXPECT_TRUE(isSameOrInside(u"C:\\A\\B", u"C:\\A\\"));
  EXPECT_FALSE(isSameOrInside(u"C:\\AB", u"C:\\A"));
  EXPECT_FALSE(isSameOrInside(u"C:\\", u"C:\\A"));
  EXPECT_FALSE(isSameOrInside(u"C:\\A", u""));
}

TEST(FileRules, PatternsMatchWithoutCaseAndAnyOfTheirWildcards) {
  struct Case {
    std::u16string_view name;
    std::u16string_view pattern;
    bool matches;
  };
  for (const Case& c :
       {Case{u"a.EXE", u"*.EXE;*.COM", true}, Case{u"run.com", u"*.EXE;*.COM", true},
        Case{u"a.exe.bak", u"*.EXE", false}, Case{u"noextension", u"*.*", true}, Case{u"a.txt", u"*.*", true},
        Case{u"x.TxT", u"*.TXT;*.DOC", true}, Case{u"x.docx", u"*.DOC", false}, Case{u"abc", u"a?c", true},
        Case{u"ac", u"a?c", false}, Case{u"文件.txt", u"*.TXT", true}, Case{u"a.txt", u"", false},
        Case{u"aaaaaaaaaaaaaaaaaaaaaaaab", u"*a*a*a*a*a*c", false}})
    EXPECT_EQ(matchesPattern(c.name, c.pattern), c.matches) << text::toUtf8(c.name) << " " << text::toUtf8(c.pattern);
}

TEST(FileRules, ListsAreAlphabeticalWithoutHiddenEntries) {
  const std::vector<platform::DirectoryEntry> entries = {
      {u"b.txt"},
      {u"A.TXT"},
      {u"a.txt"},
      {u"secret.txt", false, true},
      {u"Sub", true},
      {u"apps", true},
      {u".git", true, true},
      {u"c.bmp"},
  };
  EXPECT_EQ(filesMatching(entries, u"*.TXT"), (std::vector<std::u16string>{u"A.TXT", u"a.txt", u"b.txt"}));
  EXPECT_EQ(filesMatching(entries, u"*.*"), (std::vector<std::u16string>{u"A.TXT", u"a.txt", u"b.txt", u"c.bmp"}));
  EXPECT_EQ(subdirectoriesOf(entries), (std::vector<std::u16string>{u"apps", u"Sub"}));
  EXPECT_TRUE(alphabeticallyBefore(u"ab", u"ABC"));
  EXPECT_FALSE(alphabeticallyBefore(u"b", u"A"));
}

TEST(FileRules, TheThreeNameBoxes) {
  const std::u16string forbidden = u"          \\ / : * ? \" < > |";
  const NameQuestion directory = renameDirectoryQuestion(u"C:\\A\\OLD");
  EXPECT_EQ(directory.title, u"重命名 - 目录");
  EXPECT_EQ(directory.prompt,
            u"注: 目录名中不能包含下列任何字符之一。\r\n\r\n" + forbidden + u"\r\n\r\n\r\n请输入新的目录名:");
  EXPECT_EQ(directory.defaultAnswer, u"OLD");
  const NameQuestion file = renameFileQuestion(u"notes.txt", false);
  EXPECT_EQ(file.title, u"重命名 - 文件");
  EXPECT_EQ(file.prompt,
            u"注: 文件名中不能包含下列任何字符之一。\r\n\r\n" + forbidden + u"\r\n\r\n\r\n请输入新的文件名:");
  EXPECT_EQ(file.defaultAnswer, u"notes");
  EXPECT_EQ(renameFileQuestion(u"notes.txt", true).defaultAnswer, u"notes.txt");
  EXPECT_EQ(renameFileQuestion(u"README", false).defaultAnswer, u"README");
  const NameQuestion created = newDirectoryQuestion();
  EXPECT_EQ(created.title, u"新建目录");
  EXPECT_EQ(created.prompt,
            u"注: 目录名中不能包含下列任何字符之一。\r\n\r\n" + forbidden + u"\r\n\r\n\r\n请输入新建的目录名:");
  EXPECT_EQ(created.defaultAnswer, u"");
}

TEST(FileRules, RenamedNamesAndPaths) {
  struct Case {
    std::u16string_view name, answer;
    bool wholeName;
    std::u16string_view renamed;
  };
  for (const Case& c : {Case{u"notes.txt", u"report", false, u"report.txt"},
                        Case{u"notes.txt", u"report", true, u"report"}, Case{u"README", u"readme", false, u"readme"},
                        Case{u"a.tar.gz", u"b", false, u"b.gz"}, Case{u".profile", u"x", false, u"x.profile"}})
    EXPECT_EQ(renamedFileName(c.name, c.answer, c.wholeName), c.renamed) << text::toUtf8(c.name);
  EXPECT_EQ(renamedDirectory(u"C:\\A\\OLD", u"NEW"), u"C:\\A\\NEW");
  EXPECT_EQ(renamedDirectory(u"C:\\A", u"B"), u"C:\\B");
}

TEST(FileRules, PlainNamesHoldNoneOfTheNineCharacters) {
  for (std::u16string_view name : {u"report", u"新建文件夹", u"a b.c", u"..."}) EXPECT_TRUE(isPlainName(name));
  for (std::u16string_view name : {u"", u".", u"..", u"a\\b", u"a/b", u"c:", u"*", u"a?", u"\"q\"", u"<", u">", u"|"})
    EXPECT_FALSE(isPlainName(name)) << text::toUtf8(name);
}

}  // namespace

#include "shell/settings_file.h"

#include <gtest/gtest.h>

#include "fakes/iconv_codec.h"
#include "shell/ini_document.h"
#include "text/characters.h"

namespace vexlo::shell {
namespace {

using Entry = SettingsEntry;

}  // namespace

void PrintTo(const SettingsEntry& entry, std::ostream* out) {
  *out << "{\"" << text::toUtf8(entry.name) << "\", \"" << text::toUtf8(entry.address) << "\"}";
}

namespace {

const fakes::IconvCodec& gbk() {
  static const fakes::IconvCodec codec("GBK");
  return codec;
}
const fakes::IconvCodec& gb18030() {
  static const fakes::IconvCodec codec("GB18030");
  return codec;
}

const std::u16string kSongTi = u"宋体";
const std::string kSongTiBytes = "\xCB\xCE\xCC\xE5";
const std::u16string kEmoji = u"\U0001F600";

// A present file in GBK bytes, section "Quenby_Sarn" holding `lines`.
std::string mainSection(const std::string& lines) { return "[Quenby_Sarn]\r\n" + lines; }

TEST(SettingsFileTest, PathBesideTheExecutable) {
  EXPECT_EQ(settingsPath(u"C:\\"), u"C:\\Vexlo.ini");
  EXPECT_EQ(settingsPath(u"C:\\Tools"), u"C:\\Tools\\Vexlo.ini");
  EXPECT_EQ(settingsPath(u"D:\\软件\\Vexlo"), u"D:\\软件\\Vexlo\\Vexlo.ini");
  EXPECT_EQ(settingsPath(u"\\\\server\\share"), u"\\\\server\\share\\Vexlo.ini");
}

TEST(SettingsFileTest, CodecWritesGbkBytesAndGb18030HoldsEverything) {
  EXPECT_EQ(gbk().encode(kSongTi), kSongTiBytes);
  EXPECT_EQ(gb18030().encode(kSongTi), kSongTiBytes);
  EXPECT_EQ(gbk().decode(kSongTiBytes), kSongTi);
  EXPECT_EQ(gb18030().decode(kSongTiBytes), kSongTi);

  EXPECT_EQ(gb18030().decode(gb18030().encode(u"笑" + kEmoji)), u"笑" + kEmoji);
  EXPECT_EQ(gb18030().encode(kEmoji).size(), 4u);
  EXPECT_EQ(gbk().encode(u"笑" + kEmoji), gbk().encode(u"笑") + "?");
}

SettingsToSave everyKey() {
  SettingsToSave save;
  save.startWithWindows = 1;
  save.fontIndex = 14;
  save.sizeIndex = 3;
  save.gradient = true;
  save.rainbow = false;
  save.random = true;
  save.colours = {0x0000FF, 0xFFFFFF, 0};
  save.path = u"D:\\音乐\\新建文件夹";
  save.emoticons = {{u"微笑", u"http://img.example.com/1.gif"}, {u"", u""}, {u" 空格 ", u"\"引号\""}};
  save.media = {{kSongTi, u"E:\\歌\\曲.mp3"}};
  save.programs = {{u"记事本", u"C:\\Windows\\notepad.exe"}, {u"画图", u"C:\\Windows\\mspaint.exe"}};
  return save;
}

void expectRestored(const StoredSettings& read, const SettingsToSave& saved) {
  EXPECT_EQ(read.startWithWindows, saved.startWithWindows);
  EXPECT_EQ(read.fontIndex, saved.fontIndex);
  EXPECT_EQ(read.sizeIndex, saved.sizeIndex);
  EXPECT_EQ(read.gradient, saved.gradient);
  EXPECT_EQ(read.rainbow, saved.rainbow);
  EXPECT_EQ(read.random, saved.random);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(read.colours[i], saved.colours[i]) << i;
  EXPECT_EQ(read.path, saved.path);
  EXPECT_EQ(read.emoticons, saved.emoticons);
  EXPECT_EQ(read.media, saved.media);
  EXPECT_EQ(read.programs, saved.programs);
}

TEST(SettingsFileTest, EveryKeyRoundTripsInBothCodePages) {
  for (const fakes::IconvCodec* codec : {&gbk(), &gb18030()}) {
    SettingsToSave save = everyKey();
    std::string bytes = writeSettings("", save, *codec);
    expectRestored(readSettings(bytes, *codec), save);

    // The other extreme: empty lists, no selection, every mode off.
    SettingsToSave empty;
    empty.colours = {0xFFFFFF, 1, 0x123456};
    empty.path = u"C:\\";
    std::string emptyBytes = writeSettings("", empty, *codec);
    StoredSettings read = readSettings(emptyBytes, *codec);
    expectRestored(read, empty);
    EXPECT_TRUE(read.emoticons.empty());
  }
  // A name the GBK code page lacks survives in GB18030.
  SettingsToSave save = everyKey();
  save.emoticons[0].name = u"开心" + kEmoji;
  expectRestored(readSettings(writeSettings("", save, gb18030()), gb18030()), save);
}

TEST(SettingsFileTest, ChineseTextIsStoredAsAnsiBytes) {
  SettingsToSave save;
  save.programs = {{kSongTi, u"C:\\" + kSongTi + u".exe"}};
  std::string bytes = writeSettings("", save, gbk());
  EXPECT_NE(bytes.find("[CXm]\r\n0=" + kSongTiBytes + "\r\n"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("[CXz]\r\n0=C:\\" + kSongTiBytes + ".exe\r\n"), std::string::npos) << bytes;
}

TEST(SettingsFileTest, ExactBytesOfANewFile) {
  SettingsToSave save;
  save.startWithWindows = 1;
  save.fontIndex = 14;
  save.sizeIndex = -1;
  save.gradient = true;
  save.colours = {255, 65280, 16711680};
  save.path = u"D:\\音乐";
  save.emoticons = {{u"微笑", u"http://e.example/1.gif"}};
  save.programs = {{u"记事本", u"C:\\Windows\\notepad.exe"}};
  EXPECT_EQ(writeSettings("", save, gbk()),
            "[Quenby_Sarn]\r\n"
            "BQs=0\r\n"
            "YYs=-1\r\n"
            "CXs=0\r\n"
            "ZQD=1\r\n"
            "Zt=14\r\n"
            "Dx=-1\r\n"
            "Jb=True\r\n"
            "Ch=False\r\n"
            "Sj=False\r\n"
            "Co0_B=255\r\n"
            "Co1_B=65280\r\n"
            "Co2_B=16711680\r\n"
            "Path=D:\\\xD2\xF4\xC0\xD6\r\n"
            "[BQm]\r\n"
            "0=\xCE\xA2\xD0\xA6\r\n"
            "[BQz]\r\n"
            "0=http://e.example/1.gif\r\n"
            "[CXm]\r\n"
            "0=\xBC\xC7\xCA\xC2\xB1\xBE\r\n"
            "[CXz]\r\n"
            "0=C:\\Windows\\notepad.exe\r\n");
}

TEST(SettingsFileTest, EntryKeysWithOrWithoutBlanksReadTheSame) {
  std::string file = mainSection("BQs=2\r\nYYs=0\r\n") +
                     "[bqm]\r\n 0=a\r\n1=b\r\n  2  =c\r\n"
                     "[BQz]\r\n0=x\r\n 1=y\r\n2=z\r\n"
                     "[YYM]\r\n 0 = song \r\n[yyz]\r\n 0=E:\\song.mp3\r\n";
  StoredSettings read = readSettings(file, gbk());
  EXPECT_EQ(read.emoticons, (std::vector<Entry>{{u"a", u"x"}, {u"b", u"y"}, {u"c", u"z"}}));
  EXPECT_EQ(read.media, (std::vector<Entry>{{u"song", u"E:\\song.mp3"}}));

  // Saving over it updates those same keys instead of adding "0" beside " 0".
  SettingsToSave save;
  save.media = {{u"new", u"F:\\new.mp3"}};
  std::string rewritten = writeSettings(file, save, gbk());
  EXPECT_NE(rewritten.find("[YYM]\r\n 0 =new\r\n[yyz]\r\n 0=F:\\new.mp3\r\n"), std::string::npos) << rewritten;
  EXPECT_EQ(readSettings(rewritten, gbk()).media, save.media);
}

TEST(SettingsFileTest, CountsBoundTheEntriesRead) {
  const std::string entries =
      "[BQm]\r\n0=a\r\n1=b\r\n2=c\r\n[BQz]\r\n0=x\r\n1=y\r\n2=z\r\n"
      "[YYm]\r\n0=a\r\n[YYz]\r\n1=y\r\n"
      "[CXm]\r\n0=p\r\n[CXz]\r\n0=q\r\n";
  // "-1" is an empty list, "0" exactly one entry; entries above the count
  // are never read.
  StoredSettings read = readSettings(mainSection("BQs=-1\r\nYYs=0\r\nCXs=0\r\n") + entries, gbk());
  EXPECT_TRUE(read.emoticons.empty());
  EXPECT_EQ(read.media, (std::vector<Entry>{{u"a", u""}}));
  EXPECT_EQ(read.programs, (std::vector<Entry>{{u"p", u"q"}}));

  read = readSettings(mainSection("BQs=1\r\nYYs=3\r\nCXs=-5\r\n") + entries, gbk());
  EXPECT_EQ(read.emoticons, (std::vector<Entry>{{u"a", u"x"}, {u"b", u"y"}}));
  // A count beyond the entries present restores those present, no more; an
  // index in one section only has an empty name or address.
  EXPECT_EQ(read.media, (std::vector<Entry>{{u"a", u""}, {u"", u"y"}}));
  EXPECT_TRUE(read.programs.empty());

  // Leading-number counts; no count key at all restores nothing.
  read = readSettings(mainSection("BQs=2abc\r\nYYs=\r\n") + entries, gbk());
  EXPECT_EQ(read.emoticons.size(), 3u);
  EXPECT_EQ(read.media.size(), 1u);
  EXPECT_TRUE(read.programs.empty());
  // Counts are read with a limit of 4 bytes: "00002" is "0000".
  read = readSettings(mainSection("BQs=00002\r\nYYs=1.9\r\n") + entries, gbk());
  EXPECT_EQ(read.emoticons.size(), 1u);
  EXPECT_EQ(read.media.size(), 2u);
}

TEST(SettingsFileTest, ACountNeverMakesUpEntries) {
  // Entry sections of the emoticon list, and what a count restores from them.
  const std::string threeEntries = "[BQm]\r\n0=a\r\n1=b\r\n2=c\r\n[BQz]\r\n0=x\r\n1=y\r\n2=z\r\n";
  std::string manyEntries = "[BQm]\r\n";
  for (int i = 0; i < 3000; ++i) manyEntries += std::to_string(i) + "=e\r\n";
  const std::vector<Entry> abc{{u"a", u"x"}, {u"b", u"y"}, {u"c", u"z"}};
  struct Case {
    std::string count;
    std::string sections;
    std::vector<Entry> expected;
    std::size_t expectedCount;  // when the entries are too many to spell out
  };
  const Case cases[] = {
      {"2147483647", threeEntries, abc, 3},
      {"9999", "", {}, 0},
      {"9999", "[BQm]\r\n[BQz]\r\n", {}, 0},
      // Indices missing from both sections are skipped, not made up.
      {"9999", "[BQm]\r\n0=a\r\n7=h\r\n[BQz]\r\n9998=last\r\n", {{u"a", u""}, {u"h", u""}, {u"", u"last"}}, 3},
      {"-1", threeEntries, {}, 0},
      {"-5", threeEntries, {}, 0},
      {"-2147483648", threeEntries, {}, 0},
      {"1", threeEntries, {{u"a", u"x"}, {u"b", u"y"}}, 2},
      {"abc", threeEntries, {{u"a", u"x"}}, 1},
      // Only the decimal spelling a save writes names an entry.
      {"9", "[BQm]\r\n00=a\r\n+1=b\r\n1.0=c\r\n01=d\r\n2 =e\r\n3x=f\r\n-0=g\r\n", {{u"e", u""}}, 1},
      // The count is read with its 4-byte limit: "2147483647" is "2147".
      {"2147483647", manyEntries, {}, 2148},
  };
  for (const Case& c : cases) {
    StoredSettings read = readSettings(mainSection("BQs=" + c.count + "\r\n") + c.sections, gbk());
    EXPECT_EQ(read.emoticons.size(), c.expectedCount) << "BQs=" << c.count << "\n" << c.sections.substr(0, 80);
    if (!c.expected.empty() || c.expectedCount == 0) {
      EXPECT_EQ(read.emoticons, c.expected) << "BQs=" << c.count;
    }
  }
}

TEST(SettingsFileTest, UnchangedTextKeepsBytesItsReadingCannotGiveBack) {
  // An invalid GBK sequence reads as the "?" that GBK writes for it (iconv
  // decodes it as U+FFFD, which GBK lacks): a save of the value as read
  // keeps the file's bytes; a changed value replaces them.
  const std::string badName = std::string("\x81\x20") + "bad\xCB";
  const std::string longPath = "C:\\" + std::string(300, 'p');
  const std::string file =
      mainSection("BQs=0\r\nPath=" + longPath + "\r\n") + "[BQm]\r\n0=" + badName + "\r\n[BQz]\r\n0=http://a/1.gif\r\n";
  StoredSettings read = readSettings(file, gbk());
  ASSERT_EQ(read.emoticons.size(), 1u);
  EXPECT_EQ(read.emoticons[0].name, u"? bad?");
  EXPECT_EQ(read.path, u"C:\\" + std::u16string(251, u'p'));

  SettingsToSave save;
  save.emoticons = read.emoticons;
  save.path = *read.path;
  IniDocument rewritten(writeSettings(file, save, gbk()));
  EXPECT_EQ(rewritten.get("BQm", "0"), badName);
  EXPECT_EQ(rewritten.get("Quenby_Sarn", "Path"), longPath);

  save.emoticons[0].name = u"好";
  save.path = u"D:\\";
  rewritten = IniDocument(writeSettings(file, save, gbk()));
  EXPECT_EQ(rewritten.get("BQm", "0"), gbk().encode(u"好"));
  EXPECT_EQ(rewritten.get("Quenby_Sarn", "Path"), "D:\\");
}

TEST(SettingsFileTest, AnEntryMovedToAnotherKeyByASaveReadsTheSameFromThere) {
  // Entries 1 to 3 become 0 to 2: their bytes cannot stay where they were,
  // so what the program holds must be what it writes: invalid sequences as
  // the code page writes their stand-ins, a CR inside a line as a blank.
  const std::string file = mainSection("CXs=3\r\n") + "[CXm]\r\n1=\x81\x30\xFF\x30\r\n2=\x84\x31\xA4\r\n3=a\rb\r\n";
  for (const fakes::IconvCodec* codec : {&gbk(), &gb18030()}) {
    StoredSettings read = readSettings(file, *codec);
    ASSERT_EQ(read.programs.size(), 3u);
    EXPECT_EQ(read.programs[2].name, u"a b");
    SettingsToSave save;
    save.programs = read.programs;
    EXPECT_EQ(readSettings(writeSettings(file, save, *codec), *codec).programs, read.programs);
  }
}

// Every single setting reads as absent (and "ZQD" as 0), so the controls keep their state.
void expectNoSingleSetting(const StoredSettings& read) {
  EXPECT_EQ(read.startWithWindows, 0);
  EXPECT_EQ(read.fontIndex, std::nullopt);
  EXPECT_EQ(read.sizeIndex, std::nullopt);
  EXPECT_EQ(read.gradient, std::nullopt);
  EXPECT_EQ(read.rainbow, std::nullopt);
  EXPECT_EQ(read.random, std::nullopt);
  for (const auto& colour : read.colours) EXPECT_EQ(colour, std::nullopt);
  EXPECT_EQ(read.path, std::nullopt);
}

TEST(SettingsFileTest, MissingSingleKeysAreAbsent) {
  StoredSettings read = readSettings(mainSection("BQs=-1\r\n"), gbk());
  expectNoSingleSetting(read);

  // A file of some other program entirely.
  read = readSettings("garbage\r\n[Other]\r\nZt=3\r\n", gbk());
  EXPECT_EQ(read.fontIndex, std::nullopt);
  EXPECT_TRUE(read.emoticons.empty() && read.media.empty() && read.programs.empty());
}

TEST(SettingsFileTest, InvalidValuesAreAbsent) {
  StoredSettings read = readSettings(mainSection(
                                         "ZQD=ab\r\nZt=x\r\nDx=1a\r\nJb=yes\r\nCh=\r\nSj=1\r\n"
                                         "Co0_B=red\r\nCo1_B=-5\r\nCo2_B=16777216\r\nPath=\r\n"),
                                     gbk());
  expectNoSingleSetting(read);

  // Accepted forms.
  read = readSettings(mainSection("ZQD= 1\r\nZt=-1\r\nDx=14\r\nJb=TRUE\r\nCh=false\r\nSj=\"True\"\r\n"
                                  "Co0_B=16777215\r\nCo1_B=0\r\n"),
                      gbk());
  EXPECT_EQ(read.startWithWindows, 1);
  EXPECT_EQ(read.fontIndex, -1);  // no selection
  EXPECT_EQ(read.sizeIndex, 14);  // two digits restore
  EXPECT_EQ(read.gradient, true);
  EXPECT_EQ(read.rainbow, false);
  EXPECT_EQ(read.random, true);
  EXPECT_EQ(read.colours[0], 0xFFFFFFu);
  EXPECT_EQ(read.colours[1], 0u);
}

TEST(SettingsFileTest, SingleSettingsAreCutToTheirReadLimits) {
  // Path: 253 bytes, then a double-byte character that would make 255; the
  // cut falls before that character, never inside it.
  std::u16string longPath = u"C:\\" + std::u16string(250, u'a') + kSongTi;
  StoredSettings read = readSettings(mainSection("Path=" + gbk().encode(longPath) + "\r\n"), gbk());
  ASSERT_TRUE(read.path);
  EXPECT_EQ(*read.path, u"C:\\" + std::u16string(250, u'a'));
  // With one byte less before it, the whole first character fits.
  longPath = u"C:\\" + std::u16string(249, u'a') + kSongTi;
  read = readSettings(mainSection("Path=" + gbk().encode(longPath) + "\r\n"), gbk());
  EXPECT_EQ(*read.path, u"C:\\" + std::u16string(249, u'a') + u"宋");
  // A four-byte GB18030 character is kept whole or dropped whole.
  longPath = u"C:\\" + std::u16string(249, u'a') + kEmoji;
  read = readSettings(mainSection("Path=" + gb18030().encode(longPath) + "\r\n"), gb18030());
  EXPECT_EQ(*read.path, u"C:\\" + std::u16string(249, u'a'));

  read = readSettings(mainSection("ZQD=123\r\nZt=123\r\nDx=-12\r\nJb=TrueTrue\r\n"
                                  "Co0_B=0000000255\r\nCo1_B=1234567890\r\n"),
                      gbk());
  EXPECT_EQ(read.startWithWindows, 12);
  EXPECT_EQ(read.fontIndex, 12);
  EXPECT_EQ(read.sizeIndex, -1);
  EXPECT_EQ(read.gradient, std::nullopt);  // "TrueTru"
  EXPECT_EQ(read.colours[0], 25u);          // "000000025"
  EXPECT_EQ(read.colours[1], std::nullopt);  // 123456789 is no colour
}

TEST(SettingsFileTest, ListEntriesAreReadWhole) {
  std::u16string name = u"很长的名字" + std::u16string(300, u'名');
  std::u16string address = u"http://img.example.com/" + std::u16string(700, u'x') + u".gif";
  SettingsToSave save;
  save.emoticons = {{name, address}};
  save.programs = {{name, u"C:\\" + std::u16string(400, u'程') + u".exe"}};
  StoredSettings read = readSettings(writeSettings("", save, gbk()), gbk());
  EXPECT_EQ(read.emoticons, save.emoticons);
  EXPECT_EQ(read.programs, save.programs);
}

TEST(SettingsFileTest, SavingOverAnExistingFileKeepsWhatItDoesNotWrite) {
  SettingsToSave first = everyKey();
  std::string existing = "; notes\r\n[Mine]\r\nmine=1\r\n" + writeSettings("", first, gbk());
  IniDocument withExtra(existing);
  withExtra.set("Quenby_Sarn", "Extra", "kept");
  existing = withExtra.bytes();

  // Remove the last emoticon and empty the media list.
  SettingsToSave second = everyKey();
  second.emoticons.pop_back();
  second.media.clear();
  second.fontIndex = 2;
  std::string rewritten = writeSettings(existing, second, gbk());
  EXPECT_EQ(rewritten.rfind("; notes\r\n[Mine]\r\nmine=1\r\n[Quenby_Sarn]\r\nBQs=1\r\n", 0), 0u) << rewritten;

  IniDocument file(rewritten);
  EXPECT_EQ(file.get("Quenby_Sarn", "Extra"), "kept");
  EXPECT_EQ(file.get("Quenby_Sarn", "Zt"), "2");
  EXPECT_EQ(file.get("Quenby_Sarn", "YYs"), "-1");
  // The old highest entries stay in the file but are not read any more.
  EXPECT_EQ(file.get("BQm", "2"), gbk().encode(u" 空格 "));
  EXPECT_EQ(file.get("YYm", "0"), gbk().encode(kSongTi));
  StoredSettings read = readSettings(rewritten, gbk());
  expectRestored(read, second);

  // Saving the same again changes nothing.
  EXPECT_EQ(writeSettings(rewritten, second, gbk()), rewritten);
}

TEST(SettingsFileTest, LeadingNumberReadsLikeBasicVal) {
  EXPECT_EQ(leadingNumber(u"12abc"), 12);
  EXPECT_EQ(leadingNumber(u""), 0);
  EXPECT_EQ(leadingNumber(u" -1"), -1);
  EXPECT_EQ(leadingNumber(u"abc"), 0);
  EXPECT_EQ(leadingNumber(u"1 2"), 12);
  EXPECT_EQ(leadingNumber(u"+3"), 3);
  EXPECT_EQ(leadingNumber(u"1.5x"), 1.5);
  EXPECT_EQ(leadingNumber(u"1e9"), 1);  // no exponents: a count stays small
  EXPECT_EQ(leadingNumber(u"-"), 0);
}

}  // namespace
}  // namespace vexlo::shell

// Damaged and hostile settings files, each restored by a whole main window
// and saved again at exit: what the program makes of the file, and that the
// save destroys nothing the restore could read. For every file, restoring
// the saved file gives the same settings, and saving those again changes
// no byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "fakes/settings_round_trip.h"

using namespace vexlo;

namespace {

using Entries = std::vector<shell::SettingsEntry>;

std::string section(const std::string& name, const std::vector<std::string>& lines) {
  std::string out = "[" + name + "]\r\n";
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

std::string gbkBytes(std::u16string_view text) { return fakes::IconvCodec("GBK").encode(text); }

bool holdsLine(std::string_view file, std::string_view line) {
  while (!file.empty()) {
    const std::size_t end = std::min(file.find('\n'), file.size());
    std::string_view candidate = file.substr(0, end);
    if (!candidate.empty() && candidate.back() == '\r') candidate.remove_suffix(1);
    if (candidate == line) return true;
    file.remove_prefix(std::min(end + 1, file.size()));
  }
  return false;
}

// Ten megabytes of what the program itself writes: every list at the
// largest count its 4-byte key can hold, with long names and addresses.
std::string tenMegabytes() {
  constexpr int kEntries = 10000;
  std::string file = section("Quenby_Sarn", {"BQs=9999", "YYs=9999", "CXs=9999", "Zt=3", "Dx=2", "Jb=True"});
  const std::string padding(150, 'x');
  for (const char* list : {"BQ", "YY", "CX"}) {
    std::string names = std::string("[") + list + "m]\r\n";
    std::string addresses = std::string("[") + list + "z]\r\n";
    for (int i = 0; i < kEntries; ++i) {
      const std::string index = std::to_string(i);
      names += index + "=" + gbkBytes(u"名字") + index + padding + "\r\n";
      addresses += index + "=C:\\" + padding + "\\" + index + ".exe\r\n";
    }
    file += names + addresses;
  }
  return file;
}

std::string binaryGarbage(std::size_t size) {
  std::string bytes(size, '\0');
  std::uint32_t state = 12345;
  for (char& byte : bytes) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<char>(state >> 24);
  }
  return bytes;
}

struct BadFile {
  const char* what;
  std::string charset;
  std::function<std::string()> bytes;
  // What the program made of it, checked on the restored window.
  std::function<void(const fakes::SettingsRoundTrip&)> restored;
  // What must still be in the saved file although the program did not read it.
  std::vector<std::string> keptLines;
};

const std::u16string kEmoji = u"\U0001F600";
const std::string kEmojiGb18030 = "\x94\x39\xFC\x36";

const BadFile kBadFiles[] = {
    {"an empty file",
     "GBK",
     [] { return std::string(); },
     [](const fakes::SettingsRoundTrip& r) {
       EXPECT_TRUE(r.restored.emoticons.empty() && r.restored.media.empty() && r.restored.programs.empty());
       // A present file without "Zt" or "Dx": the lists keep their state.
       EXPECT_EQ(r.restored.fontIndex, -1);
       EXPECT_EQ(r.restored.startWithWindows, 0);
     },
     {}},
    {"10 MB of full lists",
     "GBK",
     tenMegabytes,
     [](const fakes::SettingsRoundTrip& r) {
       ASSERT_EQ(r.restored.emoticons.size(), 10000u);
       EXPECT_EQ(r.restored.media.size(), 10000u);
       EXPECT_EQ(r.restored.programs.size(), 10000u);  // 50 tiles, the rest kept for the save
       EXPECT_EQ(r.window->programs.count(), favourites::kMostPrograms);
       EXPECT_EQ(r.restored.emoticons[9999].name, u"名字9999" + std::u16string(150, u'x'));
       EXPECT_EQ(r.restored.fontIndex, 3);
       EXPECT_TRUE(r.restored.gradient);
     },
     {}},
    {"binary garbage",
     "GBK",
     [] { return binaryGarbage(256 * 1024); },
     [](const fakes::SettingsRoundTrip& r) {
       EXPECT_TRUE(r.restored.emoticons.empty() && r.restored.media.empty() && r.restored.programs.empty());
       // The garbage stays in front of the keys the save appends.
       const std::string garbage = binaryGarbage(256 * 1024);
       EXPECT_EQ(r.saved.compare(0, garbage.size(), garbage), 0);
     },
     {}},
    {"invalid GBK sequences",
     "GBK",
     [] {
       return section("Quenby_Sarn", {"BQs=3", "Path=D:\\\x81\x7F"}) +
              section("BQm", {"0=\x81 a", "1=\xFF\xFF", "2=\xFF\xCB\xCE", "3=\xCB\xCE\xCB"}) +
              section("BQz", {"0=ok", "1=\xA1", "2=\xFE\x7F", "3=\xCB\xCE\xCC\xE5"});
     },
     [](const fakes::SettingsRoundTrip& r) {
       // GBK has no U+FFFD: an invalid sequence reads as the "?" it writes.
       EXPECT_EQ(r.restored.emoticons,
                 (Entries{{u"? a", u"ok"}, {u"??", u"?"}, {u"?宋", u"?\x7F"}, {u"宋?", u"宋体"}}));
       EXPECT_EQ(r.restored.path, u"D:\\?\x7F");
     },
     // Read with stand-ins, written back as they were.
     {"0=\x81 a", "1=\xFF\xFF", "2=\xFF\xCB\xCE", "3=\xCB\xCE\xCB", "1=\xA1", "2=\xFE\x7F", "Path=D:\\\x81\x7F"}},
    {"GB18030 four-byte sequences on a GBK system",
     "GBK",
     [] {
       return section("Quenby_Sarn", {"CXs=1"}) + section("CXm", {"0=\x81\x30\x81\x30", "1=" + kEmojiGb18030}) +
              section("CXz", {"0=C:\\a.exe", "1=C:\\b.exe"});
     },
     [](const fakes::SettingsRoundTrip& r) {
       ASSERT_EQ(r.restored.programs.size(), 2u);
       EXPECT_EQ(r.restored.programs[0].address, u"C:\\a.exe");
       EXPECT_EQ(r.restored.programs[1].name, u"?9?6");
     },
     {"0=\x81\x30\x81\x30", "1=" + kEmojiGb18030}},
    {"invalid GB18030 sequences",
     "GB18030",
     [] {
       return section("Quenby_Sarn", {"YYs=2"}) +
              section("YYm", {"0=" + kEmojiGb18030, "1=\x81\x30\xFF\x30", "2=\x84\x31\xA4"}) +
              section("YYz", {"0=E:\\1.mp3", "1=E:\\2.mp3", "2=E:\\3.mp3"});
     },
     [](const fakes::SettingsRoundTrip& r) {
       ASSERT_EQ(r.restored.media.size(), 3u);
       EXPECT_EQ(r.restored.media[0].name, kEmoji);
       EXPECT_EQ(r.restored.media[1].name.front(), u'\uFFFD');
       EXPECT_EQ(r.restored.media[2].name.front(), u'\uFFFD');
     },
     {"0=" + kEmojiGb18030, "1=\x81\x30\xFF\x30", "2=\x84\x31\xA4"}},
    {"count 2147483647",
     "GBK",
     [] {
       return section("Quenby_Sarn", {"BQs=2147483647", "YYs=2147483647", "CXs=2147483647"}) +
              section("BQm", {"0=a", "1=b"}) + section("BQz", {"0=x", "1=y"}) + section("CXm", {"0=p"}) +
              section("CXz", {"0=C:\\p.exe"});
     },
     [](const fakes::SettingsRoundTrip& r) {
       EXPECT_EQ(r.restored.emoticons, (Entries{{u"a", u"x"}, {u"b", u"y"}}));
       EXPECT_TRUE(r.restored.media.empty());
       EXPECT_EQ(r.restored.programs, (Entries{{u"p", u"C:\\p.exe"}}));
     },
     {}},
    {"negative counts",
     "GBK",
     [] {
       return section("Quenby_Sarn", {"BQs=-2147483648", "YYs=-5", "CXs=-1"}) + section("BQm", {"0=a"}) +
              section("BQz", {"0=x"}) + section("YYm", {"0=song"});
     },
     [](const fakes::SettingsRoundTrip& r) {
       EXPECT_TRUE(r.restored.emoticons.empty() && r.restored.media.empty() && r.restored.programs.empty());
     },
     // An empty list is saved as "-1"; the entries it did not read stay.
     {"BQs=-1", "0=a", "0=x", "0=song"}},
    {"keys repeated",
     "GBK",
     [] {
       return section("Quenby_Sarn", {"Zt=3", "BQs=0", "Zt=5", "BQs=7"}) + section("BQm", {"0=first", "0=second"}) +
              section("BQz", {"0=x"});
     },
     [](const fakes::SettingsRoundTrip& r) {
       EXPECT_EQ(r.restored.fontIndex, 3);
       EXPECT_EQ(r.restored.emoticons, (Entries{{u"first", u"x"}}));
     },
     {"Zt=5", "BQs=7", "0=second"}},
    {"sections repeated",
     "GBK",
     [] {
       return section("Quenby_Sarn", {"Zt=2", "BQs=1"}) + section("BQm", {"0=a"}) +
              section("Quenby_Sarn", {"Zt=9", "Dx=4"}) + section("bqm", {"1=b"}) + section("BQz", {"0=x", "1=y"});
     },
     [](const fakes::SettingsRoundTrip& r) {
       // Only the first section of a name is read.
       EXPECT_EQ(r.restored.fontIndex, 2);
       EXPECT_EQ(r.restored.sizeIndex, -1);
       EXPECT_EQ(r.restored.emoticons, (Entries{{u"a", u"x"}, {u"", u"y"}}));
     },
     {"Zt=9", "Dx=4", "1=b"}},
    {"lines without \"=\"",
     "GBK",
     [] {
       return section("Quenby_Sarn", {"Zt 3", "garbage line", "[unclosed", "Dx=1", "BQs"}) +
              section("BQm", {"0", "1=b"}) + "last line";
     },
     [](const fakes::SettingsRoundTrip& r) {
       EXPECT_EQ(r.restored.fontIndex, -1);
       EXPECT_EQ(r.restored.sizeIndex, 1);
       EXPECT_TRUE(r.restored.emoticons.empty());  // no count key
     },
     {"Zt 3", "garbage line", "[unclosed", "BQs", "0", "1=b", "last line"}},
    {"a line of 100,000 characters",
     "GBK",
     [] {
       return section("Quenby_Sarn", {"BQs=0", "Path=C:\\" + std::string(100000, 'p'), std::string(100000, 'j')}) +
              section("BQm", {"0=" + std::string(100000, 'n')}) + section("BQz", {"0=x"});
     },
     [](const fakes::SettingsRoundTrip& r) {
       // A name is read whole; the path is cut at its 254-byte read limit.
       EXPECT_EQ(r.restored.emoticons, (Entries{{std::u16string(100000, u'n'), u"x"}}));
       EXPECT_EQ(r.restored.path, u"C:\\" + std::u16string(251, u'p'));
     },
     {"Path=C:\\" + std::string(100000, 'p'), std::string(100000, 'j'), "0=" + std::string(100000, 'n')}},
};

TEST(SettingsBadInputTest, EveryFileStartsAndASaveLosesNothingItRead) {
  for (const BadFile& bad : kBadFiles) {
    SCOPED_TRACE(bad.what);
    const std::string original = bad.bytes();
    const fakes::SettingsRoundTrip first(bad.charset, original);
    ASSERT_TRUE(first.started);
    bad.restored(first);
    for (const std::string& line : bad.keptLines) {
      EXPECT_TRUE(holdsLine(first.saved, line)) << "lost: " << line.substr(0, 60);
    }

    // The saved file restores the same settings, and saving them again
    // leaves it as it is.
    const fakes::SettingsRoundTrip second(bad.charset, first.saved);
    EXPECT_TRUE(second.restored == first.restored);
    EXPECT_TRUE(second.saved == first.saved);
  }
}

}  // namespace

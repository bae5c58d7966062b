#include "shell/ini_document.h"

#include <gtest/gtest.h>

namespace vexlo::shell {
namespace {

TEST(IniDocumentTest, NamesMatchWithBlanksAndCaseIgnored) {
  IniDocument file(
      "[ Quenby_Sarn ]\r\n"
      "zt=3\r\n"
      "  Dx  = 5\r\n"
      "[bqm]\r\n"
      " 0=first\r\n"
      "1 =second\r\n");
  EXPECT_EQ(file.get("Quenby_Sarn", "Zt"), "3");
  EXPECT_EQ(file.get("QUENBY_SARN", "dx"), "5");
  EXPECT_EQ(file.get("BQm", "0"), "first");
  EXPECT_EQ(file.get("BQm", " 0"), "first");
  EXPECT_EQ(file.get("BQm", " 1"), "second");
  EXPECT_EQ(file.get("BQm", "2"), std::nullopt);
  EXPECT_EQ(file.get("BQz", "0"), std::nullopt);
  // A key belongs to its own section only.
  EXPECT_EQ(file.get("BQm", "Zt"), std::nullopt);
}

TEST(IniDocumentTest, TrailByteOfADoubleByteNameIsNeverCaseFolded) {
  // 0xCB 0x41 and 0xCB 0x61 are two different double-byte characters.
  IniDocument file("[S]\r\n\xCB\x41=upper\r\n\xCB\x61=lower\r\n");
  EXPECT_EQ(file.get("S", "\xCB\x41"), "upper");
  EXPECT_EQ(file.get("s", "\xCB\x61"), "lower");
}

TEST(IniDocumentTest, ValuesReadLikeTheProfileFunctions) {
  IniDocument file(
      "[S]\n"
      "plain=  spaced out \t\n"
      "double=\" kept blanks \"\n"
      "single='x'\n"
      "mismatched=\"x'\n"
      "lone=\"\n"
      "twoQuotes=\"\"\n"
      "equals=a=b\n"
      "empty=\n"
      "; comment=not a key\n"
      "no equals sign\n"
      "plain=second one is never read\n"
      "last=no line end");
  EXPECT_EQ(file.get("S", "plain"), "spaced out");
  EXPECT_EQ(file.get("S", "double"), " kept blanks ");
  EXPECT_EQ(file.get("S", "single"), "x");
  EXPECT_EQ(file.get("S", "mismatched"), "\"x'");
  EXPECT_EQ(file.get("S", "lone"), "\"");
  EXPECT_EQ(file.get("S", "twoQuotes"), "");
  EXPECT_EQ(file.get("S", "equals"), "a=b");
  EXPECT_EQ(file.get("S", "empty"), "");
  EXPECT_EQ(file.get("S", "; comment"), std::nullopt);
  EXPECT_EQ(file.get("S", "no equals sign"), std::nullopt);
  EXPECT_EQ(file.get("S", "last"), "no line end");
}

TEST(IniDocumentTest, FirstOfRepeatedSectionsHoldsTheKeys) {
  IniDocument file("[A]\r\nx=1\r\n[B]\r\n[a]\r\nx=2\r\ny=3\r\n");
  EXPECT_EQ(file.get("A", "x"), "1");
  EXPECT_EQ(file.get("A", "y"), std::nullopt);
  file.set("A", "y", "4");
  EXPECT_EQ(file.bytes(), "[A]\r\nx=1\r\ny=4\r\n[B]\r\n[a]\r\nx=2\r\ny=3\r\n");
}

TEST(IniDocumentTest, KeysAreThoseGetFindsEachOnceInFileOrder) {
  IniDocument file(
      "x=before any section\r\n"
      "[S]\r\n"
      " b = 2\r\n"
      "; a=comment\r\n"
      "no equals\r\n"
      "A=1\r\n"
      "B=repeated\r\n"
      "\xCB\x41=\"quoted\"\r\n"
      "[T]\r\n"
      "t=1\r\n"
      "[s]\r\n"
      "c=second section\r\n");
  std::vector<std::pair<std::string, std::string>> keys;
  for (const IniDocument::Key& key : file.keys(" s ")) keys.emplace_back(key.name, key.value);
  EXPECT_EQ(keys, (std::vector<std::pair<std::string, std::string>>{{"b", "2"}, {"A", "1"}, {"\xCB\x41", "quoted"}}));
  EXPECT_TRUE(file.keys("missing").empty());
  EXPECT_EQ(file.keys("T").size(), 1u);
}

TEST(IniDocumentTest, ManyKeysWrittenAcrossSectionsReadBack) {
  IniDocument file("[A]\r\nold=1\r\n\r\n\r\n[B]\r\n");
  for (int i = 0; i < 2000; ++i) {
    const std::string key = std::to_string(i);
    for (const char* section : {"A", "B", "C"}) file.set(section, key, std::string(1, section[0] + 32) + key);
  }
  file.set("A", "7", "changed");
  const IniDocument reread(file.bytes());
  for (const IniDocument* document : {static_cast<const IniDocument*>(&file), &reread}) {
    for (int i = 0; i < 2000; ++i) {
      const std::string key = std::to_string(i);
      ASSERT_EQ(document->get("A", key), i == 7 ? "changed" : "a" + key);
      ASSERT_EQ(document->get("B", key), "b" + key);
      ASSERT_EQ(document->get("C", key), "c" + key);
    }
    EXPECT_EQ(document->get("A", "old"), "1");
  }
  // The blank lines that separated [A] from [B] still do.
  EXPECT_NE(file.bytes().find("1999=a1999\r\n\r\n\r\n[B]\r\n"), std::string::npos);
}

TEST(IniDocumentTest, SettingKeepsEveryOtherByte) {
  const std::string original =
      "; written by hand\n"
      "[Other]\n"
      "keep = as is  \n"
      "\n"
      "[Quenby_Sarn]\r\n"
      " zt = 1\r\n"
      "Dx=2\r\n"
      "\r\n"
      "[BQm]\r\n"
      " 0=old";
  IniDocument file(original);
  file.set("Quenby_Sarn", "Zt", "14");   // replaced in place, spelling kept
  file.set("Quenby_Sarn", "Jb", "True");  // new: after the last key, before the blank line
  file.set("BQm", "1", "new");            // the last line gains a line end first
  file.set("CXs", "0", "x");              // new section at the end
  EXPECT_EQ(file.bytes(),
            "; written by hand\n"
            "[Other]\n"
            "keep = as is  \n"
            "\n"
            "[Quenby_Sarn]\r\n"
            " zt =14\r\n"
            "Dx=2\r\n"
            "Jb=True\r\n"
            "\r\n"
            "[BQm]\r\n"
            " 0=old\r\n"
            "1=new\r\n"
            "[CXs]\r\n"
            "0=x\r\n");
}

TEST(IniDocumentTest, NewDocumentIsSectionsAndKeysInWriteOrder) {
  IniDocument file;
  file.set("Quenby_Sarn", "BQs", "0");
  file.set("BQm", "0", "a");
  file.set("Quenby_Sarn", "ZQD", "1");
  file.set("BQm", "1", "b");
  EXPECT_EQ(file.bytes(), "[Quenby_Sarn]\r\nBQs=0\r\nZQD=1\r\n[BQm]\r\n0=a\r\n1=b\r\n");
  // An empty section gets its first key right after its header.
  IniDocument headerOnly("[S]\r\n[T]\r\n");
  headerOnly.set("S", "k", "v");
  EXPECT_EQ(headerOnly.bytes(), "[S]\r\nk=v\r\n[T]\r\n");
}

TEST(IniDocumentTest, AnyValueComesBackAsWritten) {
  // Values whose blanks or quotes the reading would strip are protected by
  // one more pair of quotes; a line break cannot be stored and becomes a blank.
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "plain"},          {" leading", " leading"},   {"trailing\t", "trailing\t"},
      {"\"quoted\"", "\"quoted\""}, {"'single'", "'single'"},   {"\"\"", "\"\""},
      {"\"half", "\"half"},         {"a=b;c", "a=b;c"},         {"", ""},
      {"two\r\nlines", "two  lines"}, {"[Section]", "[Section]"},
  };
  for (const auto& [value, expected] : cases) {
    IniDocument file;
    file.set("S", "k", value);
    file.set("S", "after", "x");
    IniDocument reread(file.bytes());
    EXPECT_EQ(reread.get("S", "k"), expected) << file.bytes();
    EXPECT_EQ(reread.get("S", "after"), "x") << file.bytes();
  }
  IniDocument plain;
  plain.set("S", "k", "no quotes needed");
  EXPECT_EQ(plain.bytes(), "[S]\r\nk=no quotes needed\r\n");
}

}  // namespace
}  // namespace vexlo::shell

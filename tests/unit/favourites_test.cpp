// The three favourites lists as a user meets them: restored from the
// settings file, changed through the editor, used by choosing an entry, and
// the program tiles of the toolbox.
#include <gtest/gtest.h>

#include "fakes/shell_harness.h"
#include "text/characters.h"

using namespace vexlo;
using favourites::EditMode;

namespace {

struct FavouritesTest : ::testing::Test {
  fakes::ShellHarness h;
  std::unique_ptr<shell::MainWindow> window;

  shell::MainWindow& start(std::string_view settingsUtf8 = {}) {
    if (!settingsUtf8.empty()) h.files.files[h.settingsFile] = h.codec.encode(text::fromUtf8(settingsUtf8));
    window = std::make_unique<shell::MainWindow>(h.services, h.random);
    EXPECT_TRUE(window->start());
    h.log.events.clear();
    h.tray.balloons.clear();
    return *window;
  }
  favourites::EmoticonRow& emoticons() { return window->formatter.emoticons; }
  favourites::MediaPanel& media() { return window->media; }
  favourites::IconPanel& programs() { return window->programs; }
  favourites::FavouritesEditor& editor() { return window->editor; }
  const fakes::FakeTray::Balloon& lastBalloon() { return h.tray.balloons.back(); }

  // Adds through the editor as a user does: open, type, OK.
  void addThroughEditor(int list, std::u16string name, std::u16string address) {
    editor().open(EditMode::Add, list);
    editor().nameBox.userEdited(std::move(name));
    editor().addressBox.userEdited(std::move(address));
    editor().okButton.userClick();
  }
  void addPrograms(int count) {
    for (int i = 0; i < count; ++i) {
      const std::u16string n = text::decimal(programs().count());
      addThroughEditor(2, u"程序" + n, u"C:\\p" + n + u".exe");
    }
  }
  std::string savedFile() { return text::toUtf8(h.codec.decode(h.files.files[h.settingsFile])); }
};

constexpr std::string_view kThreeLists =
    "[Quenby_Sarn]\r\nBQs=1\r\nYYs=0\r\nCXs=1\r\n"
    "[BQm]\r\n0=笑\r\n1=哭\r\n[BQz]\r\n0=http://a/smile.gif\r\n1=http://a/cry.gif\r\n"
    "[YYm]\r\n0=歌\r\n[YYz]\r\n0=C:\\song.wav\r\n"
    "[CXm]\r\n0=记事本\r\n1=画图\r\n[CXz]\r\n0=C:\\notepad.exe\r\n1=C:\\paint.exe\r\n";

TEST_F(FavouritesTest, RestorePutsEachListInItsPlaceAndEnablesItsButtons) {
  auto& w = start(kThreeLists);
  EXPECT_EQ(emoticons().emoticonList.items(), (std::vector<std::u16string>{u"笑", u"哭"}));
  EXPECT_EQ(emoticons().addressList.items(), (std::vector<std::u16string>{u"http://a/smile.gif", u"http://a/cry.gif"}));
  EXPECT_EQ(media().mediaList.items(), std::vector<std::u16string>{u"歌"});
  ASSERT_EQ(programs().count(), 2);
  EXPECT_EQ(programs().caption(1), u"画图");
  EXPECT_EQ(programs().tileContainer.children().size(), 1u + 4u);  // the shape and two tiles
  // Sort follows entries; delete and modify of lists 0 and 1 follow a choice.
  EXPECT_TRUE(emoticons().buttons.sort.enabled() && media().buttons.sort.enabled());
  EXPECT_FALSE(emoticons().buttons.remove.enabled() || media().buttons.modify.enabled());
  EXPECT_TRUE(programs().buttons.sort.enabled() && programs().buttons.remove.enabled() &&
              programs().buttons.modify.enabled());
  w.exitControl.userClick();
  EXPECT_NE(savedFile().find("[CXm]\r\n0=记事本\r\n1=画图\r\n[CXz]\r\n0=C:\\notepad.exe\r\n1=C:\\paint.exe"),
            std::string::npos)
      << savedFile();
}

TEST_F(FavouritesTest, EmptyStartLeavesEveryListButtonButAddDisabled) {
  start();
  for (favourites::ListButtons* b : {&emoticons().buttons, &media().buttons, &programs().buttons}) {
    EXPECT_TRUE(b->add.enabled());
    EXPECT_FALSE(b->remove.enabled() || b->modify.enabled() || b->sort.enabled());
  }
  EXPECT_EQ(programs().tileContainer.rect().height, 15);
  EXPECT_FALSE(programs().scrollBar.enabled());
}

TEST_F(FavouritesTest, EditorCaptionsStatusTextsAndFieldsForEveryModeAndList) {
  start(kThreeLists);
  emoticons().emoticonList.userSelect(1);
  media().mediaList.userSelect(0);
  struct Case {
    EditMode mode;
    int list;
    std::u16string caption, text, name, address, confirmText;
    bool browseShown;
  };
  const Case cases[] = {
      {EditMode::Add, 0, u"添加·表情", u" 添加 < 表情 > ", u"", u"", u"", false},
      {EditMode::Add, 1, u"添加·影音", u" 添加 < 影音 > ", u"", u"", u"", true},
      {EditMode::Add, 2, u"添加·程序", u" 添加 < 程序 > ", u"", u"", u"", true},
      {EditMode::Delete, 0, u"删除·表情", u" 删除 < 表情 > ", u"哭", u"http://a/cry.gif", u"你确定删除吗？。。。", false},
      {EditMode::Delete, 1, u"删除·影音", u" 删除 < 影音 > ", u"歌", u"C:\\song.wav", u"你确定删除吗？。。。", false},
      {EditMode::Delete, 2, u"删除·程序", u" 删除 < 程序 > ", u"记事本", u"C:\\notepad.exe", u"你确定删除吗？。。。", false},
      {EditMode::Modify, 0, u"修改·表情", u" 修改 < 表情 > ", u"哭", u"http://a/cry.gif", u"", false},
      {EditMode::Modify, 1, u"修改·影音", u" 修改 < 影音 > ", u"歌", u"C:\\song.wav", u"", false},
      {EditMode::Modify, 2, u"修改·程序", u" 修改 < 程序 > ", u"记事本", u"C:\\notepad.exe", u"", false},
  };
  for (const Case& c : cases) {
    editor().nameBox.setText(u"old");
    editor().open(c.mode, c.list);
    SCOPED_TRACE(text::toUtf8(c.caption));
    EXPECT_TRUE(editor().frame.visible());
    EXPECT_EQ(editor().frame.caption(), c.caption);
    EXPECT_EQ(lastBalloon().heading, u"操作:");
    EXPECT_EQ(lastBalloon().text, c.text);
    EXPECT_EQ(editor().nameBox.text(), c.name);
    EXPECT_EQ(editor().addressBox.text(), c.address);
    EXPECT_EQ(editor().confirmLabel.caption(), c.confirmText);
    EXPECT_EQ(editor().browseButton.visible(), c.browseShown);
  }
  // Re-targeting from delete to modify keeps the entry in the fields.
  editor().open(EditMode::Delete, 0);
  editor().open(EditMode::Modify, 0);
  EXPECT_EQ(editor().nameBox.text(), u"哭");
  EXPECT_EQ(editor().confirmLabel.caption(), u"");
  editor().cancelButton.userClick();
  EXPECT_FALSE(editor().frame.visible());
  EXPECT_EQ(emoticons().favourites.count(), 2);
}

TEST_F(FavouritesTest, AddingAnEmoticonPutsItFirstChoosesAndQueuesIt) {
  start();
  addThroughEditor(0, u"N", u"A");
  EXPECT_EQ(emoticons().emoticonList.items().front(), u"N");
  EXPECT_EQ(emoticons().addressList.items().front(), u"A");
  EXPECT_EQ(emoticons().emoticonList.selectedIndex(), 0);
  EXPECT_EQ(emoticons().pendingMarkup(), u"[img]A[/img]");
  EXPECT_EQ(emoticons().countLabel.caption(), u"表情:( 1 )");
  EXPECT_TRUE(emoticons().buttons.remove.enabled() && emoticons().buttons.modify.enabled() &&
              emoticons().buttons.sort.enabled());
  EXPECT_FALSE(editor().frame.visible());
  EXPECT_EQ(lastBalloon().heading, u"插入:");
  EXPECT_EQ(lastBalloon().text, u" 表情 < N > ");
}

TEST_F(FavouritesTest, EmoticonChoicesQueueInOrderAndResetEmptiesEverything) {
  start("[Quenby_Sarn]\r\nBQs=2\r\n[BQm]\r\n0=a\r\n1=b\r\n2=c\r\n[BQz]\r\n0=A\r\n1=B\r\n2=C\r\n");
  for (int i : {0, 1, 2}) emoticons().emoticonList.userSelect(i);
  EXPECT_EQ(emoticons().pendingMarkup(), u"[img]A[/img][img]B[/img][img]C[/img]");
  EXPECT_EQ(emoticons().countLabel.caption(), u"表情:( 3 )");
  EXPECT_EQ(emoticons().addressList.selectedIndex(), 2);
  emoticons().clearButton.userClick();
  EXPECT_EQ(emoticons().pendingMarkup(), u"");
  EXPECT_EQ(emoticons().countLabel.caption(), u"表情:");
  EXPECT_EQ(emoticons().emoticonList.selectedIndex(), -1);
  EXPECT_FALSE(emoticons().buttons.remove.enabled() || emoticons().buttons.modify.enabled());
}

TEST_F(FavouritesTest, ModifyAndDeleteOfANamedListKeepBothHoldersTogether) {
  start(kThreeLists);
  emoticons().emoticonList.userSelect(1);
  editor().open(EditMode::Modify, 0);
  editor().nameBox.userEdited(u"大哭");
  editor().addressBox.userEdited(u"http://b/cry.gif");
  editor().okButton.userClick();
  EXPECT_EQ(emoticons().favourites.entries(),
            (std::vector<shell::SettingsEntry>{{u"笑", u"http://a/smile.gif"}, {u"大哭", u"http://b/cry.gif"}}));
  EXPECT_EQ(emoticons().emoticonList.selectedIndex(), 1);

  editor().open(EditMode::Delete, 0);
  editor().okButton.userClick();
  EXPECT_EQ(emoticons().favourites.entries(), (std::vector<shell::SettingsEntry>{{u"笑", u"http://a/smile.gif"}}));
  EXPECT_FALSE(emoticons().buttons.remove.enabled() || emoticons().buttons.modify.enabled());
  EXPECT_TRUE(emoticons().buttons.sort.enabled());
  // With no entry chosen, confirming a delete only hides the editor.
  editor().open(EditMode::Delete, 0);
  editor().okButton.userClick();
  EXPECT_EQ(emoticons().favourites.count(), 1);
  EXPECT_FALSE(editor().frame.visible());
  emoticons().emoticonList.userSelect(0);
  editor().open(EditMode::Delete, 0);
  editor().okButton.userClick();
  EXPECT_EQ(emoticons().favourites.count(), 0);
  EXPECT_FALSE(emoticons().buttons.sort.enabled());
}

TEST_F(FavouritesTest, SortOrdersByAnsiByteLengthAndKeepsEqualLengthsInPlace) {
  start("[Quenby_Sarn]\r\nBQs=4\r\n[BQm]\r\n0=abc\r\n1=中文\r\n2=x\r\n3=zz\r\n4=yy\r\n"
        "[BQz]\r\n0=1\r\n1=2\r\n2=3\r\n3=4\r\n4=5\r\n");
  emoticons().emoticonList.userSelect(1);
  emoticons().buttons.sort.userClick();
  EXPECT_EQ(emoticons().emoticonList.items(), (std::vector<std::u16string>{u"x", u"zz", u"yy", u"abc", u"中文"}));
  EXPECT_EQ(emoticons().addressList.items(), (std::vector<std::u16string>{u"3", u"4", u"5", u"1", u"2"}));
  EXPECT_EQ(emoticons().emoticonList.selectedIndex(), -1);
  EXPECT_FALSE(emoticons().buttons.remove.enabled());
}

TEST_F(FavouritesTest, TileGeometryFollowsTheCountAndAUserAddScrollsToTheNewTile) {
  auto& w = start();
  addPrograms(4);
  EXPECT_EQ(programs().tileContainer.rect().height, 2880);
  EXPECT_EQ(programs().scrollBar.maximum(), -375);
  EXPECT_FALSE(programs().scrollBar.enabled());
  EXPECT_EQ(programs().scrollBar.value(), 0);
  addPrograms(1);
  EXPECT_EQ(programs().tileContainer.rect().height, 3600);
  EXPECT_EQ(programs().scrollBar.maximum(), 345);
  EXPECT_TRUE(programs().scrollBar.enabled());
  EXPECT_EQ(programs().scrollBar.value(), 345);
  EXPECT_EQ(programs().tileContainer.rect().top, -345);
  EXPECT_EQ(programs().selectedProgram(), 4);
  EXPECT_EQ(programs().selectionFrame.rect().top, 2880);
  EXPECT_TRUE(w.panelSelector[4]->value());
  // The pointer goes to the middle of the screen, 4050 twips down.
  EXPECT_EQ(h.pointer.x, 640);
  EXPECT_EQ(h.pointer.y, 270);
  ASSERT_EQ(programs().iconBox(4).icons(), std::vector<std::u16string>{u"C:\\p4.exe"});
}

TEST_F(FavouritesTest, FirstProgramReusesTileZero) {
  start();
  addPrograms(1);
  EXPECT_EQ(programs().tileContainer.children().size(), 3u);
  EXPECT_EQ(programs().tileContainer.rect().height, 720);
  EXPECT_EQ(programs().selectedProgram(), 0);
}

TEST_F(FavouritesTest, DeletingAProgramMovesTheLaterOnesUpAndResetsTheView) {
  start();
  addPrograms(3);
  programs().tileContainer.userMouseMove(100, 720);  // row 1
  editor().open(EditMode::Delete, 2);
  editor().okButton.userClick();
  EXPECT_EQ(programs().count(), 2);
  EXPECT_EQ(programs().caption(1), u"程序2");
  EXPECT_EQ(programs().programs.address(1), u"C:\\p2.exe");
  EXPECT_EQ(programs().tileContainer.children().size(), 5u);
  EXPECT_EQ(programs().tileContainer.rect().height, 1440);
  EXPECT_EQ(programs().selectedProgram(), 0);
  EXPECT_EQ(programs().selectionFrame.rect().top, 0);
  EXPECT_EQ(programs().scrollBar.value(), 0);
  EXPECT_EQ(programs().iconBox(1).icons(), std::vector<std::u16string>{u"C:\\p2.exe"});
}

TEST_F(FavouritesTest, DeletingTheOnlyProgramKeepsTileZeroAndSortEnabled) {
  start();
  addPrograms(1);
  editor().open(EditMode::Delete, 2);
  editor().okButton.userClick();
  EXPECT_EQ(programs().count(), 0);
  EXPECT_EQ(programs().tileContainer.rect().height, 0);
  EXPECT_EQ(programs().tileContainer.children().size(), 3u);
  EXPECT_FALSE(programs().buttons.remove.enabled() || programs().buttons.modify.enabled());
  EXPECT_TRUE(programs().buttons.sort.enabled());
  // A click on the empty toolbox runs nothing and keeps the window open.
  programs().tileContainer.userClick();
  EXPECT_TRUE(h.launcher.opened.empty());
  EXPECT_FALSE(window->collapsed());
}

TEST_F(FavouritesTest, PointerRowsAndArrowKeysScrollWithinBounds) {
  start();
  addPrograms(5);
  struct Move {
    int y, row;
  };
  // The highlight left on the added row follows the pointer to row 0 too.
  for (Move m : {Move{719, 0}, Move{720, 1}, Move{1500, 2}}) {
    programs().tileContainer.userMouseMove(10, m.y);
    EXPECT_EQ(programs().selectedProgram(), m.row) << m.y;
    EXPECT_EQ(programs().selectionFrame.rect().top, 720 * m.row) << m.y;
  }
  EXPECT_TRUE(programs().hovering());
  struct Key {
    int from, key, to;
  };
  for (Key k : {Key{300, favourites::kVirtualKeyDown, 345}, Key{150, favourites::kVirtualKeyUp, 0},
                Key{0, favourites::kVirtualKeyDown, 200}, Key{200, 0x41, 200}}) {
    programs().scrollBar.setValue(k.from);
    programs().focusSink.userKeyDown(k.key);
    EXPECT_EQ(programs().scrollBar.value(), k.to) << k.from;
  }
  // Moving over a panel frame ends the hover: the keys no longer scroll.
  window->panelFrames[4]->userMouseMove(5, 5);
  programs().focusSink.userKeyDown(favourites::kVirtualKeyDown);
  EXPECT_EQ(programs().scrollBar.value(), 200);
}

TEST_F(FavouritesTest, AClickRunsTheRowLastHoveredAfterCollapsing) {
  start();
  addPrograms(3);
  programs().tileContainer.userMouseMove(10, 1440);  // row 2
  h.log.events.clear();
  programs().tileCaption(1).userClick();
  EXPECT_TRUE(window->collapsed());
  ASSERT_EQ(h.launcher.opened.size(), 1u);
  EXPECT_EQ(h.launcher.opened[0].file, u"C:\\p2.exe");
  EXPECT_EQ(h.launcher.opened[0].showCommand, 1);
  EXPECT_EQ(lastBalloon().heading, u"执行:");
  EXPECT_EQ(lastBalloon().text, u" 程序 < 程序2 > ");
  h.launcher.succeeds = false;
  programs().tileContainer.userClick();
  EXPECT_EQ(lastBalloon().text, u" 无法打开 < C:\\p2.exe > ");
}

TEST_F(FavouritesTest, TheToolboxHoldsFiftyProgramsAndKeepsMoreFromTheFile) {
  std::string file = "[Quenby_Sarn]\r\nCXs=51\r\n[CXm]\r\n";
  for (int i = 0; i <= 51; ++i) file += std::to_string(i) + "=n" + std::to_string(i) + "\r\n";
  file += "[CXz]\r\n";
  for (int i = 0; i <= 51; ++i) file += std::to_string(i) + "=p" + std::to_string(i) + "\r\n";
  start(file);
  EXPECT_EQ(programs().count(), 50);
  EXPECT_EQ(programs().scrollBar.maximum(), 720 * 50 - 3255);
  addThroughEditor(2, u"more", u"more.exe");
  EXPECT_EQ(programs().count(), 50);
  EXPECT_EQ(lastBalloon().text, u" 工具箱最多只能放 50 个程序 ");
  window->exitControl.userClick();
  const std::string saved = savedFile();
  EXPECT_NE(saved.find("CXs=51"), std::string::npos);
  EXPECT_NE(saved.find("50=n50\r\n51=n51\r\n"), std::string::npos);
  EXPECT_NE(saved.find("50=p50\r\n51=p51\r\n"), std::string::npos);
  EXPECT_EQ(saved.find("more"), std::string::npos);
}

TEST_F(FavouritesTest, ShortenedPathCaptionsAtThirtyCharacters) {
  const std::u16string thirty = u"C:\\music\\0123456789abcdefg.mp3";
  ASSERT_EQ(thirty.size(), 30u);
  EXPECT_EQ(favourites::shortenedPath(thirty), thirty);
  const std::u16string longer = u"C:\\music\\0123456789abcdefgh.mp3";
  EXPECT_EQ(favourites::shortenedPath(longer), u"C:\\music\\0.....789abcdefgh.mp3");
  EXPECT_EQ(text::characterCount(favourites::shortenedPath(u"D:\\音乐\\😀很长很长很长很长很长很长很长的歌曲名字.mp3")), 30u);
}

TEST_F(FavouritesTest, PlayMediaLeavesALoadedItemAloneUnlessItStopped) {
  start(kThreeLists);
  struct Case {
    int state;
    bool restarts;
  };
  media().playMedia(u"C:\\song.wav");
  EXPECT_EQ(window->panelFrames[1]->caption(), u"C:\\song.wav");
  for (Case c : {Case{3, false}, Case{2, false}, Case{1, true}}) {
    h.mediaPlayer.changeState(c.state);
    const std::size_t loads = h.mediaPlayer.loads.size();
    media().mediaList.userSelect(-1);
    media().mediaList.userSelect(0);
    EXPECT_EQ(h.mediaPlayer.loads.size(), loads + (c.restarts ? 1 : 0)) << c.state;
    EXPECT_EQ(lastBalloon().text, u" 影音 < 歌 > ");
  }
}

TEST_F(FavouritesTest, FullScreenIsOfferedOnlyWhilePlaying) {
  start(kThreeLists);
  EXPECT_FALSE(media().fullScreenButton.enabled());
  media().mediaList.userSelect(0);
  h.mediaPlayer.changeState(3);
  EXPECT_TRUE(media().fullScreenButton.enabled());
  media().fullScreenButton.userClick();
  EXPECT_EQ(h.mediaPlayer.fullScreens, 1);
  for (int state : {2, 1}) {
    h.mediaPlayer.changeState(state);
    EXPECT_FALSE(media().fullScreenButton.enabled()) << state;
  }
}

TEST_F(FavouritesTest, AMediaFileThatCannotPlayIsNamedInABalloon) {
  start(kThreeLists);
  h.mediaPlayer.opens = false;
  media().mediaList.userSelect(0);
  EXPECT_EQ(lastBalloon().heading, u"无法播放:");
  EXPECT_EQ(lastBalloon().text, u"C:\\song.wav");
  EXPECT_EQ(window->panelFrames[1]->caption(), u"C:\\song.wav");
  EXPECT_FALSE(media().fullScreenButton.enabled());
}

TEST_F(FavouritesTest, FavouritesToggleAndPanelSelectionAndBrowsing) {
  auto& w = start();
  w.panelSelector[1]->userClick();
  media().favouritesToggle.userClick();
  EXPECT_TRUE(media().favouritesFrame.visible());
  EXPECT_EQ(media().favouritesToggle.caption(), u"⊙");
  EXPECT_EQ(h.mediaPlayer.focuses, 1);
  editor().open(EditMode::Add, 1);
  w.panelSelector[1]->userClick();
  EXPECT_FALSE(media().favouritesFrame.visible() || editor().frame.visible());
  EXPECT_EQ(media().favouritesToggle.caption(), u"收");

  media().browseButton.userClick();
  EXPECT_TRUE(w.panelSelector[3]->value());
  EXPECT_EQ(w.fileManager.filterList.selectedIndex(), 4);
  struct Browse {
    int list, filter;
  };
  for (Browse b : {Browse{1, 4}, Browse{2, 1}}) {
    w.fileManager.filterList.setSelectedIndex(0);
    editor().open(EditMode::Add, b.list);
    editor().browseButton.userClick();
    EXPECT_FALSE(editor().frame.visible());
    EXPECT_EQ(w.fileManager.filterList.selectedIndex(), b.filter);
  }
}

TEST_F(FavouritesTest, TheFileManagersMediaAddPlaysItAndShowsTheFavourites) {
  auto& w = start(kThreeLists);
  w.addMediaFavourite(u"new.wav", u"D:\\new.wav");
  EXPECT_EQ(media().favourites.entries().front(), (shell::SettingsEntry{u"new.wav", u"D:\\new.wav"}));
  EXPECT_EQ(h.mediaPlayer.url(), u"D:\\new.wav");
  EXPECT_TRUE(w.panelSelector[1]->value());
  EXPECT_TRUE(media().favouritesFrame.visible());
  EXPECT_EQ(media().favouritesToggle.caption(), u"⊙");
  EXPECT_TRUE(media().buttons.sort.enabled());
}

TEST_F(FavouritesTest, AMediaAddPlaysTheNewEntryAtTheTop) {
  start(kThreeLists);
  addThroughEditor(1, u"新歌", u"D:\\new.wav");
  EXPECT_EQ(media().mediaList.items().front(), u"新歌");
  EXPECT_EQ(h.mediaPlayer.url(), u"D:\\new.wav");
  EXPECT_TRUE(media().buttons.sort.enabled() && media().buttons.remove.enabled());
}

}  // namespace

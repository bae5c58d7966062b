// The preview as the formatter panel and the main window drive it: live
// updates through the fake window, its place, the rich copy and the "Yl"
// setting.
#include <gtest/gtest.h>

#include <functional>

#include "fakes/shell_harness.h"
#include "formatter/preview_layout.h"

using namespace vexlo;

namespace {

struct PreviewPanelTest : ::testing::Test {
  fakes::ShellHarness h;
  std::unique_ptr<shell::MainWindow> window;
  formatter::FormatterPanel* p = nullptr;

  void start(std::string settings = {}) {
    if (!settings.empty()) h.files.files[h.settingsFile] = std::move(settings);
    window = std::make_unique<shell::MainWindow>(h.services, h.random);
    p = &window->formatter;
    ASSERT_TRUE(window->start());
  }
  void startWithPreview() {
    start();
    p->previewButton.userClick();
    ASSERT_TRUE(h.preview.shown);
  }
  const formatter::StyledReply& shownReply() { return h.preview.last().reply; }
  std::u16string shownText() { return formatter::plainText(shownReply()); }
};

TEST_F(PreviewPanelTest, TheButtonShowsAndHidesThePreviewBesideTheUndoButton) {
  start();
  EXPECT_EQ(p->previewButton.caption(), u"预览");
  EXPECT_EQ(p->previewButton.tooltip(), u" 预览 ");
  EXPECT_EQ(p->previewButton.rect().width, p->undoButton.rect().width);
  EXPECT_EQ(p->previewButton.rect().height, p->undoButton.rect().height);
  EXPECT_EQ(p->previewButton.backColour(), p->undoButton.backColour());
  EXPECT_FALSE(h.preview.shown);
  p->inputBox.userEdited(u"unseen");
  EXPECT_TRUE(h.preview.updates.empty());  // off: nothing is built

  p->previewButton.userClick();
  EXPECT_TRUE(h.preview.shown);
  EXPECT_EQ(shownText(), u"unseen");
  p->previewButton.userClick();
  EXPECT_FALSE(h.preview.shown);
}

TEST_F(PreviewPanelTest, EveryChangeOfTextOrOptionUpdatesThePreview) {
  startWithPreview();
  p->emoticons.favourites.restore({{u"笑", u"http://host/smile.gif"}});
  using Check = std::function<bool(const formatter::StyledReply&)>;
  struct Case {
    const char* what;
    std::function<void()> change;
    Check shows;
  } cases[] = {
      {"typing", [&] { p->inputBox.userEdited(u"你好"); }, [](auto& r) { return formatter::plainText(r) == u"你好"; }},
      {"font", [&] { p->fontList.userSelect(5); }, [](auto& r) { return r.faceOf(r.runs[0]) == u"黑体"; }},
      {"size", [&] { p->sizeList.userSelect(6); }, [](auto& r) { return r.runs[0].size == 7; }},
      {"bold", [&] { p->boldBox.userClick(); }, [](auto& r) { return r.bold; }},
      {"italic", [&] { p->italicBox.userClick(); }, [](auto& r) { return r.italic; }},
      {"underline", [&] { p->underlineBox.userClick(); }, [](auto& r) { return r.underline; }},
      {"quote", [&] { p->quoteBox.userClick(); }, [](auto& r) { return r.quote; }},
      {"mark", [&] { p->horizontalBox.userClick(); }, [](auto& r) { return r.runs[0].horizontal; }},
      {"alignment", [&] { p->alignCentreOption.userClick(); },
       [](auto& r) { return r.alignment == formatter::Alignment::Centre; }},
      {"emoticon", [&] { p->emoticons.emoticonList.userSelect(0); },
       [](auto& r) { return r.emoticons == std::vector<std::u16string>{u"http://host/smile.gif"}; }},
      {"colour",
       [&] {
         p->colourButtons[0]->userClick();
         p->chooser.swatches[5]->userClick();
         p->chooser.okButton.userClick();
       },
       [](auto& r) { return r.runs[0].colour == 0x00FF00u; }},
      {"mode", [&] { p->colourModeOptions[2]->userClick(); },
       [](auto& r) { return r.mode == formatter::ColourMode::Rainbow; }},
      {"dialect", [&] { p->targetOptions[1]->userClick(); },
       [](auto& r) { return r.dialect == formatter::Dialect::Qzone; }},
  };
  for (const Case& c : cases) {
    const std::size_t before = h.preview.updates.size();
    c.change();
    ASSERT_GT(h.preview.updates.size(), before) << c.what;
    EXPECT_TRUE(c.shows(shownReply())) << c.what;
  }
}

TEST_F(PreviewPanelTest, ThePreviewNeverTouchesTheClipboardTheInputOrTheConversionsColours) {
  h.random = fakes::ScriptedRandom({0.5, 0.25, 0.75, 0.1, 0.2, 0.3});
  startWithPreview();
  p->colourModeOptions[2]->userClick();
  h.log.events.clear();
  h.clipboard.content = u"the user's own";
  p->inputBox.userEdited(u"a");
  p->boldBox.userClick();
  EXPECT_EQ(h.clipboard.content, u"the user's own");
  EXPECT_EQ(p->inputBox.text(), u"a");
  EXPECT_EQ(h.random.draws(), 0u);
  EXPECT_TRUE(h.random.reseeds().empty());
  // What it shows is what the conversion then writes.
  ASSERT_EQ(shownReply().runs.size(), 1u);
  EXPECT_EQ(shownReply().runs[0].colour, formatter::makeColour(128, 64, 192));
  p->convertButton.userClick();
  EXPECT_NE(p->inputBox.text().find(u"[color=#8040C0]a"), std::u16string::npos);
  // The converted state shows the result, from the draws the conversion made.
  window->expand();
  EXPECT_TRUE(h.preview.shown);
  EXPECT_EQ(shownReply().runs[0].colour, formatter::makeColour(128, 64, 192));
  EXPECT_EQ(shownText(), u"a");
}

TEST_F(PreviewPanelTest, TheGradientRefusalAndLongTextsShowInThePreviewWithoutABox) {
  startWithPreview();
  p->colourModeOptions[1]->userClick();
  p->inputBox.userEdited(std::u16string(300, u'a'));
  EXPECT_EQ(h.preview.last().message, formatter::kGradientLimitMessage);
  EXPECT_TRUE(h.messageBox.shown.empty());

  p->colourModeOptions[0]->userClick();
  p->inputBox.userEdited(std::u16string(1 << 20, u'b'));
  EXPECT_TRUE(h.preview.last().message.empty());
  EXPECT_EQ(shownText(), std::u16string(10000, u'b') + u"…");
}

TEST_F(PreviewPanelTest, ItHidesWithTheFormatterAndComesBackWithIt) {
  startWithPreview();
  struct Step {
    const char* what;
    std::function<void()> act;
    bool shown;
  } steps[] = {
      {"collapse", [&] { window->collapse(); }, false},
      {"expand", [&] { window->expand(); }, true},
      {"other panel", [&] { window->panelSelector[1]->userClick(); }, false},
      {"expand elsewhere", [&] { window->expand(); }, false},
      {"formatter again", [&] { window->panelSelector[0]->userClick(); }, true},
  };
  for (const Step& s : steps) {
    s.act();
    EXPECT_EQ(h.preview.shown, s.shown) << s.what;
  }
  EXPECT_TRUE(p->previewOn());
}

TEST_F(PreviewPanelTest, RichCopyPutsAllThreeFormatsOrSaysWhyNot) {
  startWithPreview();
  p->inputBox.userEdited(u"富文本");
  p->boldBox.userClick();
  h.preview.onCopyRichText();
  EXPECT_EQ(h.clipboard.content, u"富文本");
  ASSERT_EQ(h.clipboard.formats.count(u"HTML Format"), 1u);
  ASSERT_EQ(h.clipboard.formats.count(u"Rich Text Format"), 1u);
  EXPECT_EQ(h.tray.balloons.back().heading, u"当前操作:");
  EXPECT_EQ(h.tray.balloons.back().text, u" 复制 < 富文本 > ");

  h.clipboard.busy = true;
  h.clipboard.content = u"held";
  h.preview.onCopyRichText();
  ASSERT_EQ(h.messageBox.shown.size(), 1u);
  EXPECT_EQ(h.messageBox.shown[0].text, formatter::kRichCopyBusyMessage);
  EXPECT_EQ(p->inputBox.text(), u"富文本");
}

TEST_F(PreviewPanelTest, TheYlKeyRestoresAndSavesTheOnOffState) {
  struct Case {
    const char* file;
    bool on;
    const char* saved;  // nullptr: the key stays out of the file
  } cases[] = {
      {"[Quenby_Sarn]\r\nZt=0\r\n", false, nullptr},
      {"[Quenby_Sarn]\r\nYl=1\r\n", true, "Yl=1"},
      {"[Quenby_Sarn]\r\nYl=0\r\n", false, "Yl=0"},
      {"[Quenby_Sarn]\r\nYl=yes\r\n", false, "Yl=0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    h.preview = {};
    start(c.file);
    EXPECT_EQ(h.preview.shown, c.on);
    EXPECT_EQ(p->previewOn(), c.on);
    window->exit();
    const std::string& saved = h.files.files[h.settingsFile];
    if (c.saved) {
      EXPECT_NE(saved.find(c.saved), std::string::npos) << saved;
    } else {
      EXPECT_EQ(saved.find("Yl"), std::string::npos) << saved;
    }
  }
  // Switched on and saved.
  h.files.files.clear();
  start();
  p->previewButton.userClick();
  window->exit();
  EXPECT_NE(h.files.files[h.settingsFile].find("Yl=1"), std::string::npos);
}

}  // namespace

// The guard around every handler and tick: a failing handler is reported in
// a message box titled "错误" that names the control, the event and the
// reason; the next event is handled as usual and the settings still reach
// the file at exit.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <new>
#include <stdexcept>

#include "fakes/shell_harness.h"
#include "text/characters.h"

using namespace vexlo;

namespace {

std::string utf8(std::u16string_view text) { return text::toUtf8(text); }

bool contains(std::u16string_view text, std::u16string_view part) { return text.find(part) != text.npos; }

TEST(HandlerGuard, ReportsWhatFailedAndWhyForEveryKindOfException) {
  struct Case {
    const char* name;
    std::exception_ptr failure;
    std::u16string reason;
  } cases[] = {
      {"runtime_error", std::make_exception_ptr(std::runtime_error("disk full")), u"disk full"},
      {"UTF-8 text", std::make_exception_ptr(std::runtime_error("磁盘已满")), u"磁盘已满"},
      {"bad_alloc", std::make_exception_ptr(std::bad_alloc()), u"内存不足 (std::bad_alloc)"},
      {"empty text", std::make_exception_ptr(std::runtime_error("")), u"未说明原因的异常"},
      {"not an exception", std::make_exception_ptr(42), u"未知的异常"},
  };
  for (const Case& c : cases) {
    fakes::FakeMessageBox messageBox;
    platform::HandlerGuard guard(messageBox);
    EXPECT_FALSE(guard.run([&] { std::rethrow_exception(c.failure); }, u"控件 Comm「论 坛」的单击")) << c.name;
    ASSERT_EQ(messageBox.shown.size(), 1u) << c.name;
    EXPECT_EQ(messageBox.shown[0].title, u"错误") << c.name;
    EXPECT_EQ(messageBox.shown[0].text,
              u"控件 Comm「论 坛」的单击时出错:\r\n" + c.reason + u"\r\n\r\n此操作已中止，程序继续运行。")
        << c.name << ": " << utf8(messageBox.shown[0].text);
  }
}

TEST(HandlerGuard, AHandlerThatEndsWellReportsNothingAndIsNotDescribed) {
  fakes::FakeMessageBox messageBox;
  platform::HandlerGuard guard(messageBox);
  int ran = 0, described = 0;
  EXPECT_TRUE(guard.run([&] { ++ran; },
                        [&] {
                          ++described;
                          return std::u16string(u"x");
                        }));
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(described, 0);
  EXPECT_TRUE(messageBox.shown.empty());
}

// A message box that fails the way a system out of memory would.
struct FailingMessageBox : platform::MessageBoxService {
  int failuresLeft = 0;
  std::exception_ptr failure;
  std::vector<std::u16string> shown;
  void exclamation(std::u16string_view text, std::u16string_view) override {
    if (failuresLeft > 0) {
      --failuresLeft;
      std::rethrow_exception(failure);
    }
    shown.emplace_back(text);
  }
};

TEST(HandlerGuard, AFailingReportNeverEscapes) {
  struct Case {
    const char* name;
    int failures;
    std::exception_ptr failure;
    std::vector<std::u16string> shown;
  } cases[] = {
      // No memory for the full text: the short fixed one still goes out.
      {"out of memory once", 1, std::make_exception_ptr(std::bad_alloc()), {u"内存不足，此操作已中止，程序继续运行。"}},
      {"out of memory twice", 2, std::make_exception_ptr(std::bad_alloc()), {}},
      {"box fails otherwise", 1, std::make_exception_ptr(std::runtime_error("no desktop")), {}},
  };
  for (const Case& c : cases) {
    FailingMessageBox messageBox;
    messageBox.failuresLeft = c.failures;
    messageBox.failure = c.failure;
    platform::HandlerGuard guard(messageBox);
    EXPECT_FALSE(guard.run([] { throw std::bad_alloc(); }, u"x")) << c.name;
    EXPECT_EQ(messageBox.shown, c.shown) << c.name;
    // The guard is ready for the next failure.
    EXPECT_FALSE(guard.run([] { throw std::runtime_error("again"); }, u"y")) << c.name;
    EXPECT_TRUE(contains(messageBox.shown.back(), u"again")) << c.name;
  }
}

TEST(HandlerGuard, ADescriptionThatCannotBeMadeStillLeavesAReport) {
  fakes::FakeMessageBox messageBox;
  platform::HandlerGuard guard(messageBox);
  guard.run([] { throw std::runtime_error("broken"); }, []() -> std::u16string { throw std::bad_alloc(); });
  ASSERT_EQ(messageBox.shown.size(), 1u);
  EXPECT_EQ(messageBox.shown[0].text, u"操作时出错:\r\nbroken\r\n\r\n此操作已中止，程序继续运行。");
}

// A box whose own message loop runs another failing handler, as a tick does
// while a box is open.
struct ReenteringMessageBox : platform::MessageBoxService {
  platform::HandlerGuard* guard = nullptr;
  std::vector<std::u16string> shown;
  void exclamation(std::u16string_view text, std::u16string_view) override {
    shown.emplace_back(text);
    guard->run([] { throw std::runtime_error("tick inside the box"); }, u"定时器");
  }
};

TEST(HandlerGuard, FailuresWhileAReportIsOpenAreNotStackedOnIt) {
  ReenteringMessageBox messageBox;
  platform::HandlerGuard guard(messageBox);
  messageBox.guard = &guard;
  guard.run([] { throw std::runtime_error("first"); }, u"按钮");
  ASSERT_EQ(messageBox.shown.size(), 1u);
  EXPECT_TRUE(contains(messageBox.shown[0], u"first"));
}

struct GuardedMainWindowTest : ::testing::Test {
  fakes::ShellHarness h;
  std::unique_ptr<shell::MainWindow> window;

  shell::MainWindow& start() {
    window = std::make_unique<shell::MainWindow>(h.services, h.random);
    EXPECT_TRUE(window->start());
    h.tray.balloons.clear();
    h.log.events.clear();
    return *window;
  }
};

TEST(GuardedMainWindow, FailingHandlersAreReportedAndTheProgramGoesOnWithItsSettings) {
  struct Case {
    const char* name;
    std::exception_ptr failure;
    // Which fake throws, and the user action that reaches it.
    bool inClipboard;
    std::function<void(shell::MainWindow&)> act;
    std::u16string what, reason;
  } cases[] = {
      {"convert, clipboard throws", std::make_exception_ptr(std::runtime_error("clipboard service crashed")), true,
       [](shell::MainWindow& w) {
         w.formatter.inputBox.userEdited(u"你好");
         w.formatter.convertButton.userClick();
       },
       u"控件 Comm「论 坛」的单击时出错:", u"clipboard service crashed"},
      {"font chosen, out of memory", std::make_exception_ptr(std::bad_alloc()), false,
       [](shell::MainWindow& w) { w.formatter.fontList.userSelect(2); }, u"控件 List1 的选择时出错:",
       u"内存不足 (std::bad_alloc)"},
      {"panel chosen, out of memory", std::make_exception_ptr(std::bad_alloc()), false,
       [](shell::MainWindow& w) { w.panelSelector[2]->userClick(); }, u"控件 Q(2)「屏幕·截图」的单击时出错:",
       u"内存不足 (std::bad_alloc)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::ShellHarness fresh;
    shell::MainWindow w(fresh.services, fresh.random);
    ASSERT_TRUE(w.start());
    w.formatter.sizeList.userSelect(5);
    w.formatter.colourModeOptions[2]->userClick();
    (c.inClipboard ? fresh.clipboard.failure : fresh.tray.failure) = c.failure;

    c.act(w);
    ASSERT_EQ(fresh.messageBox.shown.size(), 1u);
    const auto& shown = fresh.messageBox.shown[0];
    EXPECT_EQ(shown.title, u"错误");
    EXPECT_TRUE(contains(shown.text, c.what)) << utf8(shown.text);
    EXPECT_TRUE(contains(shown.text, c.reason)) << utf8(shown.text);

    // The next event is handled as usual.
    fresh.clipboard.failure = fresh.tray.failure = nullptr;
    w.formatter.boldBox.userClick();
    EXPECT_TRUE(w.formatter.boldBox.value());
    EXPECT_EQ(fresh.tray.balloons.back().text, u" 样式 < 粗体 > ");

    // What the user chose before the failure reaches the file at exit.
    w.exitControl.userClick();
    EXPECT_TRUE(fresh.application.quitRequested);
    const std::string saved = text::toUtf8(fresh.codec.decode(fresh.files.files[fresh.settingsFile]));
    EXPECT_NE(saved.find("Dx=5\r\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Ch=True\r\n"), std::string::npos) << saved;
    EXPECT_EQ(fresh.messageBox.shown.size(), 1u);
  }
}

TEST_F(GuardedMainWindowTest, ATickThatKeepsFailingIsReportedOnceUntilATickSucceeds) {
  auto& w = start();
  h.memory.failure = std::make_exception_ptr(std::bad_alloc());
  for (int i = 0; i < 3; ++i) w.tick();
  ASSERT_EQ(h.messageBox.shown.size(), 1u);
  EXPECT_TRUE(contains(h.messageBox.shown[0].text, u"定时器 Timer1 的计时时出错:\r\n内存不足"))
      << utf8(h.messageBox.shown[0].text);

  h.memory.failure = nullptr;
  h.clock.time.second = 41;
  w.tick();
  EXPECT_EQ(w.strip.clockLabel.caption(), u"20:29:41");
  h.memory.failure = std::make_exception_ptr(std::runtime_error("trim refused"));
  w.tick();
  ASSERT_EQ(h.messageBox.shown.size(), 2u);
  EXPECT_TRUE(contains(h.messageBox.shown[1].text, u"trim refused"));
}

TEST_F(GuardedMainWindowTest, AFailedOneKeyConversionIsNotRetriedAtEveryTick) {
  auto& w = start();
  h.keyboard.pressed = {shell::kVirtualKeyF12};
  w.tick();
  h.keyboard.pressed.clear();
  h.clipboard.content = u"reply";
  h.clipboard.failure = std::make_exception_ptr(std::runtime_error("clipboard gone"));
  w.tick();
  w.tick();
  w.tick();
  ASSERT_EQ(h.messageBox.shown.size(), 1u);
  EXPECT_TRUE(contains(h.messageBox.shown[0].text, u"clipboard gone"));
  // The reply the user wrote is still where it was: nothing was pasted.
  EXPECT_EQ(std::count(h.log.events.begin(), h.log.events.end(), "key down 86"), 0);
}

TEST_F(GuardedMainWindowTest, ASettingsFileThatCannotBeRestoredIsReportedAndNotOverwrittenAtExit) {
  const std::string stored = h.codec.encode(u"[Quenby_Sarn]\r\nZt=3\r\nBQs=0\r\n[BQm]\r\n0=笑\r\n[BQz]\r\n0=a.gif\r\n");
  h.files.files[h.settingsFile] = stored;
  h.files.readFailure = std::make_exception_ptr(std::bad_alloc());
  auto& w = start();
  ASSERT_EQ(h.messageBox.shown.size(), 1u);
  EXPECT_TRUE(contains(h.messageBox.shown[0].text, u"读取设置文件时出错:\r\n内存不足"))
      << utf8(h.messageBox.shown[0].text);
  EXPECT_TRUE(w.window.visible());

  h.files.readFailure = nullptr;
  w.formatter.sizeList.userSelect(4);
  w.exitControl.userClick();
  EXPECT_EQ(h.files.files[h.settingsFile], stored);
  ASSERT_EQ(h.messageBox.shown.size(), 2u);
  EXPECT_TRUE(contains(h.messageBox.shown[1].text, u"无法保存设置文件"));
  EXPECT_TRUE(contains(h.messageBox.shown[1].text, u"启动时未能读完这个文件"));
  EXPECT_TRUE(h.application.quitRequested);
}

}  // namespace

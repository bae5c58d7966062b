// Scriptable stand-ins for the platform services: they record what the core
// asked of the system so tests can assert on it.
#pragma once

#include <deque>
#include <exception>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/launcher.h"
#include "platform/media_player.h"
#include "platform/services.h"

namespace vexlo::fakes {

struct FakeTray : platform::TrayIcon {
  struct Balloon {
    std::u16string heading, text;
  };
  bool present = false;
  int adds = 0;
  std::u16string tooltip;
  std::vector<Balloon> balloons;  // every showBalloon call, removals included
  std::exception_ptr failure;     // thrown by every balloon while set
  void add(std::u16string_view tip) override {
    present = true;
    ++adds;
    tooltip = tip;
  }
  void showBalloon(std::u16string_view heading, std::u16string_view text) override {
    if (failure) std::rethrow_exception(failure);
    balloons.push_back({std::u16string(heading), std::u16string(text)});
  }
  void remove() override { present = false; }
};

// Every event in one log, so tests can check the order of moves, clicks,
// keys and sleeps.
struct EventLog {
  std::vector<std::string> events;
};

struct FakePointer : platform::Pointer {
  explicit FakePointer(EventLog& log) : log(log) {}
  EventLog& log;
  int x = 0, y = 0;
  void moveTo(int nx, int ny) override {
    x = nx;
    y = ny;
    log.events.push_back("move " + std::to_string(x) + "," + std::to_string(y));
  }
  void leftClick() override { log.events.push_back("click"); }
};

struct FakeScreen : platform::Screen {
  platform::ScreenMetrics value{1280, 15, 15};
  platform::ScreenMetrics metrics() const override { return value; }
};

struct FakeKeyboard : platform::Keyboard {
  explicit FakeKeyboard(EventLog& log) : log(log) {}
  EventLog& log;
  std::set<int> pressed;  // keys that read as pressed at the next poll
  bool pressedSinceLastPoll(int key) override { return pressed.count(key) > 0; }
  void keyEvent(int key, bool up) override {
    log.events.push_back(std::string("key ") + (up ? "up " : "down ") + std::to_string(key));
  }
};

struct FakeClock : platform::Clock {
  explicit FakeClock(EventLog& log) : log(log) {}
  EventLog& log;
  platform::LocalTime time{2026, 12, 7, 1, 20, 29, 32};
  platform::LocalTime now() const override { return time; }
  void sleep(int ms) override { log.events.push_back("sleep " + std::to_string(ms)); }
};

struct FakeMessageBox : platform::MessageBoxService {
  struct Shown {
    std::u16string text, title;
  };
  std::vector<Shown> shown;
  void exclamation(std::u16string_view text, std::u16string_view title) override {
    shown.push_back({std::u16string(text), std::u16string(title)});
  }
};

struct FakeInstanceLock : platform::InstanceLock {
  bool otherInstanceRunning = false;
  bool acquire() override { return !otherInstanceRunning; }
};

struct FakeMemory : platform::Memory {
  int trims = 0;
  std::exception_ptr failure;  // thrown by every trim (every tick) while set
  void trimWorkingSet() override {
    if (failure) std::rethrow_exception(failure);
    ++trims;
  }
};

struct FakeClipboard : platform::Clipboard {
  explicit FakeClipboard(EventLog& log) : log(log) {}
  EventLog& log;
  std::u16string content;
  bool busy = false;  // another program holds the clipboard
  std::exception_ptr failure;  // thrown by every setText while set
  bool clear() override {
    if (busy) return false;
    content.clear();
    formats.clear();
    log.events.push_back("clipboard clear");
    return true;
  }
  bool setText(std::u16string_view text) override {
    if (failure) std::rethrow_exception(failure);
    if (busy) return false;
    content = text;
    formats.clear();
    log.events.push_back("clipboard set");
    return true;
  }
  std::u16string text() override { return content; }
  // The registered formats of the last setTextWithFormats; setText drops them.
  std::map<std::u16string, std::string> formats;
  bool setTextWithFormats(std::u16string_view text, const std::vector<platform::ClipboardFormat>& more) override {
    if (busy) return false;
    content = text;
    formats.clear();
    for (const auto& f : more) formats[f.name] = f.bytes;
    log.events.push_back("clipboard set formats");
    return true;
  }
};

// Byte lengths as in code page 936: one byte for ASCII, two for a character
// of the Basic Multilingual Plane, four for a surrogate pair.
struct DoubleByteCodec : platform::AnsiCodec {
  std::string encode(std::u16string_view text) const override;
  std::u16string decode(std::string_view bytes) const override;
  unsigned codePage() const override { return 936; }
};

struct FakeEnvironment : platform::Environment {
  std::u16string directory = u"C:\\Tools\\Vexlo";
  std::u16string executableDirectory() const override { return directory; }
  std::u16string executableName() const override { return u"Vexlo"; }
  std::u16string appData = u"C:\\Users\\用户\\AppData\\Roaming";
  std::u16string appDataDirectory() const override { return appData; }
};

struct FakeApplication : platform::Application {
  bool quitRequested = false;
  void quit() override { quitRequested = true; }
};

// A player whose state the test moves on; every address set is recorded.
struct FakeMediaPlayer : platform::MediaPlayer {
  std::u16string current;
  int state = 0;
  bool opens = true;  // false: the next addresses cannot be opened
  std::vector<std::u16string> loads;
  int fullScreens = 0, focuses = 0;
  std::u16string url() const override { return current; }
  bool setUrl(std::u16string_view url) override {
    current = url;
    loads.push_back(current);
    state = opens ? platform::kPlayStatePlaying : 0;
    return opens;
  }
  int playState() const override { return state; }
  void setFullScreen(bool on) override { fullScreens += on ? 1 : 0; }
  void focus() override { ++focuses; }
  // The engine's state changed: the notification arrives as it would.
  void changeState(int newState) {
    state = newState;
    if (onStateChange) onStateChange();
  }
};

// Records every call, in its own lists and, when given a log, in the order
// of all events. Starts succeed unless the test says otherwise.
struct FakeLauncher : platform::Launcher {
  struct Ran {
    std::u16string commandLine;
    int showCommand;
  };
  struct Opened {
    std::u16string verb;
    std::u16string file;
    int showCommand;
  };
  EventLog* log = nullptr;
  std::vector<Ran> ran;
  std::vector<Opened> opened;  // every shell verb
  std::vector<std::u16string> lookedFor;
  std::vector<std::u16string> mciCommands;
  int recycleBinEmptyings = 0;
  int shutDownDialogs = 0;
  bool succeeds = true;               // false: no command line or verb starts
  std::set<std::u16string> failing;   // command lines and files that do not start
  std::set<std::u16string> missing;   // files that are not on this system
  bool recycleBinWorks = true;
  bool shutDownDialogOffered = true;
  bool cdDriveAnswers = true;

  bool run(std::u16string_view commandLine, int showCommand) override {
    ran.push_back({std::u16string(commandLine), showCommand});
    record("run " + text(commandLine) + " " + std::to_string(showCommand));
    return starts(commandLine);
  }
  bool shellExecute(std::u16string_view verb, std::u16string_view file, int showCommand) override {
    opened.push_back({std::u16string(verb), std::u16string(file), showCommand});
    record("shell " + text(verb) + " " + text(file) + " " + std::to_string(showCommand));
    return starts(file);
  }
  bool emptyRecycleBin() override {
    ++recycleBinEmptyings;
    record("empty recycle bin");
    return recycleBinWorks;
  }
  bool showShutDownDialog() override {
    ++shutDownDialogs;
    record("shut-down dialog");
    return shutDownDialogOffered;
  }
  bool sendMci(std::u16string_view command) override {
    mciCommands.emplace_back(command);
    record("mci " + text(command));
    return cdDriveAnswers;
  }
  bool fileFound(std::u16string_view fileName) override {
    lookedFor.emplace_back(fileName);
    return missing.count(std::u16string(fileName)) == 0;
  }

 private:
  bool starts(std::u16string_view what) const { return succeeds && failing.count(std::u16string(what)) == 0; }
  void record(std::string event) {
    if (log) log->events.push_back(std::move(event));
  }
  // Readable in a failed assertion's log: the ASCII of the text, "?" for the rest.
  static std::string text(std::u16string_view t) {
    std::string out;
    for (char16_t c : t) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
  }
};

}  // namespace vexlo::fakes

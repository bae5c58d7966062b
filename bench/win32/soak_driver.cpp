// Drives a running Vexlo.exe through synthesized input for a given time, as a
// restless user would, for scripts/soak.sh (which measures its memory and
// handles meanwhile). Not a test: it logs what it did and what it met.
//
//   vexlo_soak_driver.exe <seconds> <log file> <finish file> [steps]
//
// Rounds of these steps: "keys", the panel keys F1..F5; "clicks", a
// conversion by clicks in every colour mode; "f12", F12 in another
// program's text box; "capture", F7 (then the save dialog, which is
// cancelled) and F8 (the overlay, closed with Escape twice); "media", the
// media panel's WAV played and stopped; "files", the file manager panel
// browsing a folder and previewing its pictures.
// `steps` (names joined by commas) runs only those, to find out which one a
// growth comes with; all of them by default. After the given
// time it stops, waits for the finish file to appear (the last measurement
// is taken meanwhile), then leaves Vexlo through its exit control.
// Exit code 0 when Vexlo lived through everything and ended on its exit.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "e2e_support.h"
#include "formatter_support.h"

namespace {

using namespace vexlo::e2e;
using namespace vexlo::e2e::formatter;
using Clock = std::chrono::steady_clock;

constexpr int kCollapsedSide = 46;

class Driver {
 public:
  Driver(HWND window, std::FILE* log) : window_(window), log_(log) {
    GetWindowThreadProcessId(window_, &processId_);
    ui_ = FormatterControls::find(window_);
  }

  bool ready() const { return ui_.complete() && target_.window(); }
  bool startTarget() { return target_.start({40, 520, 640, 760}); }

  // One round of the chosen steps (all when `chosen` is empty); false once
  // Vexlo is gone.
  bool round(const std::wstring& chosen) {
    const std::pair<const wchar_t*, std::function<void()>> steps[] = {
        {L"keys", [this] { panelKeys(); }},         {L"clicks", [this] { conversionsByClicks(); }},
        {L"f12", [this] { oneKeyConversion(); }},   {L"capture", [this] { captures(); }},
        {L"media", [this] { mediaPlayAndStop(); }}, {L"files", [this] { fileManager(); }},
    };
    for (const auto& [name, step] : steps) {
      if (!chosen.empty() && (L"," + chosen + L",").find(L"," + std::wstring(name) + L",") == std::wstring::npos)
        continue;
      if (!alive()) return false;
      step();
      dismissStrayBoxes();
      ++actions_;
    }
    ++rounds_;
    return alive();
  }

  // Leaves through the exit control; true when Vexlo ended by it.
  bool leave() {
    for (int attempt = 0; attempt < 3 && alive(); ++attempt) {
      if (!closeOverlay()) note("an overlay stays open at exit");
      dismissStrayBoxes();
      expand();
      bringToFront(window_);
      clickOn(ui_.exit);
      if (waitUntil([this] { return !alive() || waitForMessageBox(processId_, L"错误", 0ms); }, 20s)) break;
      note("a click on the exit control did not end Vexlo");
    }
    if (HWND box = waitForMessageBox(processId_, L"错误", 0ms)) {
      note("at exit: " + toUtf8(messageBoxText(box)));
      pressMessageBoxButton(box, IDOK);
    }
    return waitUntil([this] { return !alive(); }, 10s);
  }

  bool alive() const { return IsWindow(window_) != FALSE; }
  int rounds() const { return rounds_; }
  int actions() const { return actions_; }
  int errorBoxes() const { return errorBoxes_; }

 private:
  void note(const std::string& text) {
    std::fprintf(log_, "%s\n", text.c_str());
    std::fflush(log_);
  }

  bool collapsed() const { return widthOf(windowRect(window_)) <= kCollapsedSide + 2; }

  // Touching the collapsed square expands the window, which then clicks
  // into the input box by itself.
  void expand() {
    if (!collapsed()) return;
    const POINT square = centreOf(window_);
    movePointer(square.x, square.y);
    waitUntil([this] { return !collapsed(); }, 5s);
    std::this_thread::sleep_for(300ms);
  }

  // A key the one-second tick polls: held long enough for the poll to see
  // it, with a Wine window in front (only then are keys seen).
  void hotKey(WORD key) {
    bringToFront(window_);
    pressKey(key, 50ms);
    std::this_thread::sleep_for(1300ms);
  }

  void panelKeys() {
    for (WORD key = VK_F1; key <= VK_F5; ++key) hotKey(key);
    hotKey(VK_F1);
  }

  void conversionsByClicks() {
    hotKey(VK_F1);
    for (HWND mode : ui_.modes) {
      expand();
      if (textOf(ui_.convertButton) == L"清 除") clickOn(ui_.convertButton);
      clickOn(mode);
      setText(ui_.inputBox, L"今天天气很好 soak " + std::to_wstring(actions_));
      clickOn(ui_.convertButton);
      // The automatic paste waits two seconds with the window collapsed.
      if (!waitUntil([this] { return textOf(ui_.convertButton) == L"清 除"; }, 10s)) note("a conversion did not end");
      expand();
      clickOn(ui_.convertButton);  // clear
    }
  }

  void oneKeyConversion() {
    setText(target_.edit(), L"回复 " + std::to_wstring(actions_));
    if (!clickToFocus(target_.edit())) return;
    pressKey(VK_F12, 50ms);
    if (!waitUntil([this] { return target_.text().find(L"[/") != std::wstring::npos; }, 5s))
      note("F12 left the text box as it was");
    expand();
  }

  void captures() {
    hotKey(VK_F7);
    waitUntil([this] { return isVisible(window_) && !collapsed(); }, 5s);
    std::this_thread::sleep_for(500ms);
    if (HWND save = findDescendant(window_, L"Button", L"保存")) {
      clickOn(save);
      if (HWND dialog = waitForMessageBox(processId_, L"保存图片文件...", 5s))
        pressMessageBoxButton(dialog, IDCANCEL);
      else
        note("the save button opened no dialog");
    }
    hotKey(VK_F8);
    if (waitForTopLevelWindow(processId_, L"VexloRegionOverlay", 5s)) {
      // It takes the keyboard a moment after it shows.
      std::this_thread::sleep_for(500ms);
      if (!closeOverlay()) note("the overlay stayed open after Escape twice");
    } else {
      note("F8 opened no overlay");
    }
    expand();
  }

  // Escape twice (drop the rectangle, then close), tried a few times.
  bool closeOverlay() {
    for (int attempt = 0; attempt < 3; ++attempt) {
      HWND overlay = waitForTopLevelWindow(processId_, L"VexloRegionOverlay", 0ms);
      if (!overlay) return true;
      SetForegroundWindow(overlay);
      pressKey(VK_ESCAPE);
      pressKey(VK_ESCAPE);
      if (waitUntil([this] { return !waitForTopLevelWindow(processId_, L"VexloRegionOverlay", 0ms); }, 3s)) return true;
    }
    return false;
  }

  void mediaPlayAndStop() {
    hotKey(VK_F2);
    HWND toggle = findDescendant(window_, L"Button", L"收");
    if (toggle) clickOn(toggle);
    HWND frame = findDescendant(window_, L"Button", L"影音·收藏", isGroupBox);
    const std::vector<HWND> lists = frame ? descendants(frame, L"ComboBox") : std::vector<HWND>{};
    if (lists.empty() || !clickComboItem(lists[0], 0)) {
      note("no media favourite to play");
      return;
    }
    std::this_thread::sleep_for(1500ms);
    if (HWND stop = findDescendant(window_, L"Button", L"停止")) clickOn(stop);
    std::this_thread::sleep_for(300ms);
  }

  // The folder the settings start the panel in (soak.sh makes it): into its
  // subdirectory and back, each file chosen on the way, a picture previewed
  // and stepped to the next; then the type filter run through.
  void fileManager() {
    hotKey(VK_F4);
    HWND panel = findDescendant(window_, L"Button", L"文件·管理", isGroupBox);
    HWND directories = nullptr, files = nullptr;
    for (HWND list : panel ? descendants(panel, L"ListBox") : std::vector<HWND>{})
      (isOutlineList(list) ? directories : files) = list;
    const std::vector<HWND> filters = panel ? descendants(panel, L"ComboBox") : std::vector<HWND>{};
    if (!directories || !files || filters.empty()) {
      note("the file manager's lists are missing");
      return;
    }
    for (const wchar_t* directory : {L"图片", L"soak"}) {
      if (!enterDirectory(directories, directory)) note("no directory " + toUtf8(directory) + " to enter");
      const int count = static_cast<int>(listItems(files).size());
      for (int i = 0; i < count; ++i) clickListItem(files, i);
      // A second click on the same file within the double-click time would
      // open it in its program.
      pauseForDoubleClickTime();
      if (count > 0 && clickListItem(files, 0) && pressButton(panel, L"预览")) {
        pressButton(panel, L"6");
        pressButton(panel, L"返回");
      }
    }
    for (int filter : {1, 2, 3, 4, 0}) clickComboItem(filters[0], filter);
  }

  bool enterDirectory(HWND directories, const wchar_t* name) {
    const std::vector<std::wstring> entries = listItems(directories);
    const auto found = std::find(entries.begin(), entries.end(), name);
    if (found == entries.end()) return false;
    // The list takes a second click within the double-click time as part
    // of a double click, not as a click of its own.
    pauseForDoubleClickTime();
    const bool clicked = clickListEntry(directories, static_cast<int>(found - entries.begin()));
    std::this_thread::sleep_for(500ms);
    return clicked;
  }

  static void pauseForDoubleClickTime() {
    std::this_thread::sleep_for(std::chrono::milliseconds(GetDoubleClickTime() + 50));
  }

  bool pressButton(HWND panel, const wchar_t* caption) {
    HWND button = findDescendant(panel, L"Button", caption);
    const bool pressed = button && isVisible(button) && clickOn(button);
    std::this_thread::sleep_for(300ms);
    return pressed;
  }

  // Any box the round left open: a failure report is logged with its text.
  void dismissStrayBoxes() {
    for (HWND box : topLevelWindows(processId_, L"#32770")) {
      if (!isVisible(box)) continue;
      const std::wstring title = textOf(box);
      note("box \"" + toUtf8(title) + "\": " + toUtf8(messageBoxText(box)));
      if (title == L"错误") ++errorBoxes_;
      pressMessageBoxButton(box, IDOK);
      pressMessageBoxButton(box, IDCANCEL);
    }
  }

  HWND window_;
  DWORD processId_ = 0;
  std::FILE* log_;
  FormatterControls ui_;
  TargetEdit target_;
  int rounds_ = 0, actions_ = 0, errorBoxes_ = 0;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  const auto duration = std::chrono::seconds(_wtoi(argv[1]));
  std::FILE* log = _wfopen(argv[2], L"a");
  if (!log) return 2;
  HWND window = waitForTopLevelWindow(0, kMainWindowClass, 60s);
  if (!window) {
    std::fprintf(log, "no Vexlo window\n");
    return 1;
  }
  Driver driver(window, log);
  if (!driver.startTarget() || !driver.ready()) {
    std::fprintf(log, "could not find Vexlo's controls or start the target program\n");
    return 1;
  }
  const auto end = Clock::now() + duration;
  const std::wstring steps = argc > 4 ? argv[4] : L"";
  while (Clock::now() < end && driver.round(steps)) {
  }
  std::fprintf(log, "rounds %d, actions %d, error boxes %d, Vexlo %s\n", driver.rounds(), driver.actions(),
               driver.errorBoxes(), driver.alive() ? "running" : "GONE");
  std::fflush(log);
  while (driver.alive() && GetFileAttributesW(argv[3]) == INVALID_FILE_ATTRIBUTES) Sleep(200);
  const bool left = driver.alive() && driver.leave();
  std::fprintf(log, "exit control: %s\n", left ? "Vexlo saved and ended" : "Vexlo did not end by its exit control");
  std::fclose(log);
  return left ? 0 : 1;
}

// Drives the real Vexlo.exe (and helper programs) from the outside, the way a
// user or a screen reader would: through top-level windows, standard child
// controls found by class and caption, the pointer and the keyboard.
//
// Everything here runs inside Wine (or on Windows) in the test process;
// VEXLO_BIN names the build folder holding Vexlo.exe and the helpers.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace vexlo::e2e {

using namespace std::chrono_literals;
using Milliseconds = std::chrono::milliseconds;

// ----- paths and text -------------------------------------------------------

// A Linux path ("/work/...") becomes a Wine drive path ("Z:\work\..."); a
// Windows path is returned unchanged.
std::wstring toWindowsPath(std::wstring_view path);
std::string toUtf8(std::wstring_view text);
std::wstring fromUtf8(std::string_view text);

// The build folder (VEXLO_BIN) as a Windows path, without a trailing slash.
// Fails the test (and returns "") when VEXLO_BIN is not set.
std::wstring binFolder();
// <build folder>\results, created on demand: where screenshots go.
std::wstring resultsFolder();

// A fresh, empty folder under the temporary folder, removed with everything
// in it when the object goes away.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& path() const { return path_; }
  std::wstring file(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

 private:
  std::wstring path_;
};

// ----- processes ------------------------------------------------------------

// A process this test started. It is terminated when the object goes away,
// unless it has already ended: a test never leaves a program behind, and
// never touches a process it did not start.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // Starts program with the given argument string in the working folder;
  // returns an empty Process (started() false) on failure.
  static Process start(const std::wstring& program, const std::wstring& arguments, const std::wstring& workingFolder);

  bool started() const { return handle_ != nullptr; }
  DWORD id() const { return id_; }
  bool running() const;
  // True when the process ended within the timeout.
  bool waitForExit(Milliseconds timeout) const;
  std::optional<DWORD> exitCode() const;
  void terminate();

 private:
  void close();
  HANDLE handle_ = nullptr;
  DWORD id_ = 0;
};

// ----- windows --------------------------------------------------------------

// Polls condition every pollInterval until it holds or timeout passes.
bool waitUntil(const std::function<bool()>& condition, Milliseconds timeout, Milliseconds pollInterval = 50ms);

std::wstring classOf(HWND window);
// The window's text through WM_GETTEXT, which works across processes (a
// plain GetWindowTextW returns "" for another process's controls).
std::wstring textOf(HWND window);
RECT windowRect(HWND window);
RECT clientRect(HWND window);
inline int widthOf(const RECT& r) { return r.right - r.left; }
inline int heightOf(const RECT& r) { return r.bottom - r.top; }
// "(left,top) widthxheight", for failure messages.
std::string describe(const RECT& r);
bool isTopMost(HWND window);
// A check box's or option button's tick (BM_GETCHECK).
bool isChecked(HWND button);
bool isVisible(HWND window);
bool isGroupBox(HWND window);
// The file manager's directory outline: the list that draws its own entries.
bool isOutlineList(HWND list);

// Top-level windows of one process (processId 0: of every process), in
// z-order, optionally only those of a window class.
std::vector<HWND> topLevelWindows(DWORD processId, std::wstring_view className = {});
// Waits for a visible top-level window of the class owned by the process.
HWND waitForTopLevelWindow(DWORD processId, std::wstring_view className, Milliseconds timeout);

// Every descendant of parent, optionally only those of a class (compared
// without case, as Windows does).
std::vector<HWND> descendants(HWND parent, std::wstring_view className = {});
// The first descendant of the class that `accept` takes, or null.
HWND firstChild(HWND parent, std::wstring_view className, const std::function<bool(HWND)>& accept);
// The first descendant of the class whose text is exactly text (and that
// passes the optional test), or nullptr.
HWND findDescendant(HWND parent, std::wstring_view className, std::wstring_view text,
                    const std::function<bool(HWND)>& accept = {});

// A standard message box (#32770) of the process with the given title.
HWND waitForMessageBox(DWORD processId, std::wstring_view title, Milliseconds timeout);
// The message text of a message box (its static control with id 0xFFFF).
std::wstring messageBoxText(HWND messageBox);
// Clicks the box's button with the given id (IDOK, IDCANCEL, ...).
bool pressMessageBoxButton(HWND messageBox, int buttonId);

// Texts of the notification-area balloons showing now. The shell (Wine's
// explorer.exe, or Windows's) draws them as balloon tooltips; tooltips of
// the excluded process (a program's own control tooltips) do not count.
std::vector<std::wstring> visibleBalloonTexts(DWORD excludedProcessId);

// ----- input and screen -----------------------------------------------------

SIZE screenSize();
// Moves the pointer as a mouse would (an absolute move through SendInput,
// which produces mouse-move messages in the window underneath) and checks
// that it arrived.
bool movePointer(int x, int y);
// A left click at a screen point: pointer move, button down, button up.
bool clickAt(int x, int y);
// A left click at the centre of a window.
bool clickOn(HWND window);
void pressKey(WORD virtualKey, Milliseconds holdFor = 30ms);
// The key pressed while the modifier (VK_CONTROL, VK_SHIFT, ...) is held.
void pressKeyWith(WORD modifier, WORD virtualKey);
// Gives the window the keyboard focus so that synthesized keys reach it
// (and reach GetAsyncKeyState, which sees keys only while a window of the
// same desktop has the focus).
void bringToFront(HWND window);

// Writes the whole virtual screen (every monitor) as a 24-bit BMP into the
// results folder; returns the full path, or "" on failure.
std::wstring saveScreenshot(std::wstring_view fileName);

// HKCU\Control Panel\Desktop LogPixels: the DPI that processes started
// afterwards see. std::nullopt removes the value (the system default, 96).
std::optional<DWORD> readLogPixels();
bool writeLogPixels(std::optional<DWORD> dpi);

// ----- Vexlo ----------------------------------------------------------------

inline constexpr wchar_t kMainWindowClass[] = L"VexloMainWindow";
inline constexpr wchar_t kMainWindowTitle[] = L"Vexlo v11.0";

// One Vexlo.exe, copied into a fresh folder of its own (its settings file
// lives beside it) and started there.
class VexloInstance {
 public:
  VexloInstance();
  ~VexloInstance() = default;

  // Copies the program and starts it; waits until its main window shows and
  // has settled. Returns false (with a test failure recorded) otherwise.
  bool start();
  // Starts the same copy once more, in the same folder, without waiting.
  Process startAnother() const;

  HWND window() const { return window_; }
  const Process& process() const { return process_; }
  Process& process() { return process_; }
  const TempFolder& folder() const { return folder_; }
  std::wstring exePath() const { return folder_.file(L"Vexlo.exe"); }

  // The first child control of the main window with this class and caption.
  HWND control(std::wstring_view className, std::wstring_view caption,
               const std::function<bool(HWND)>& accept = {}) const {
    return findDescendant(window_, className, caption, accept);
  }

 private:
  TempFolder folder_;
  Process process_;
  HWND window_ = nullptr;
};

}  // namespace vexlo::e2e

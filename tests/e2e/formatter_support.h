// Helpers for the end-to-end tests of the reply formatter, on top of
// e2e_support: the formatter's controls found by class, caption and style,
// choosing list entries with real clicks, the clipboard, typing, the target
// program that stands in for a web page's reply box, and the settings file.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "e2e_support.h"

namespace vexlo::e2e::formatter {

// The reply's preview window, a top-level window of its own.
inline constexpr wchar_t kPreviewClass[] = L"VexloPreview";

// ----- styles ---------------------------------------------------------------

bool isOwnerDrawnButton(HWND window);
bool isRadioButton(HWND window);

// ----- the formatter's controls -----------------------------------------------

// The reply formatter's controls in one Vexlo main window. Every handle is
// looked up once, while Vexlo answers messages: during the auto-paste wait
// its thread sleeps and a search by caption would stall.
struct FormatterControls {
  HWND inputBox = nullptr;                                 // the input box, the only EDIT
  HWND fontList = nullptr;                                 // font list
  HWND sizeList = nullptr;                                 // size list ("+１" .. "+７")
  HWND emoticons = nullptr;                                // the other drop-down: emoticon names
  HWND convertButton = nullptr;                            // convert / clear (owner-drawn)
  HWND undoButton = nullptr;                               // undo (owner-drawn, caption "9")
  HWND forum = nullptr;                                    // target option "论 坛"
  HWND qzone = nullptr;                                    // target option "Qzone"
  std::array<HWND, 4> modes{};                             // 单色 渐变 彩虹 随机
  HWND left = nullptr, right = nullptr, centre = nullptr;  // 左齐 右齐 居中
  HWND bold = nullptr;                                     // 粗体
  HWND exit = nullptr;                                     // Tc, "退出"

  // Finds every control shown at start; records a test failure naming each
  // one missing.
  static FormatterControls find(HWND mainWindow);
  // True when every control was found.
  bool complete() const;

  // Controls hidden at start have no window until they first show; these
  // look for them now, and give null before then.
  HWND colour(int index) const;  // Co(0..2)
  HWND chooser() const;          // the colour chooser frame Se

 private:
  HWND mainWindow_ = nullptr;
};

// The swatch of the colour chooser at column c (0..11), row r (0..5): the
// STATIC of the frame that sits where the swatch grid puts it.
HWND findSwatch(HWND chooser, int column, int row);

// ----- lists ----------------------------------------------------------------

int listSelection(HWND list);
int comboSelection(HWND combo);
std::vector<std::wstring> comboItems(HWND combo);

// A list box's entries through LB_GETTEXT, which crosses processes.
std::vector<std::wstring> listItems(HWND list);
// Selects a list box entry with a real click on it (the entry must be in view).
bool clickListItem(HWND list, int index);
// A real click on the entry, for a list whose click acts and changes what
// the list holds (the entry must be in view).
bool clickListEntry(HWND list, int index);
// Opens a drop-down list with a real click and clicks the entry in the list
// that drops down.
bool clickComboItem(HWND combo, int index);

// ----- text, clipboard, keyboard ---------------------------------------------

// WM_SETTEXT across processes.
bool setText(HWND window, const std::wstring& text);
// Types text into the focused window, one Unicode key event per UTF-16 unit.
void typeText(std::wstring_view text);
// Clicks into the box until it holds the keyboard focus of its program
// and its window holds the foreground: a helper program that just came to
// the front may still take the focus back for a moment. True once the box
// has it.
bool clickToFocus(HWND box);
// Focuses the box, empties it and types the text, again when a window that
// came up meanwhile took some of the keys. True once the box holds it.
bool typeInto(HWND box, std::wstring_view text);

std::optional<std::wstring> clipboardText();
// The clipboard's data in a format, as the bytes of its memory block.
std::optional<std::string> clipboardData(UINT format);
bool setClipboardText(const std::wstring& text);

// ----- screen ---------------------------------------------------------------

COLORREF screenPixel(int x, int y);
POINT centreOf(HWND window);

// ----- the target program ------------------------------------------------------

// target_edit.exe: a frameless window titled "VexloTarget" filled by one
// multi-line edit box, at a given screen rectangle.
class TargetEdit {
 public:
  // Starts it and waits for its window; records a failure otherwise.
  bool start(const RECT& at);
  HWND window() const { return window_; }
  HWND edit() const { return edit_; }
  std::wstring text() const { return textOf(edit_); }

 private:
  Process process_;
  HWND window_ = nullptr;
  HWND edit_ = nullptr;
};

// ----- settings file -----------------------------------------------------------

std::optional<std::string> readFileBytes(const std::wstring& path);
bool writeFileBytes(const std::wstring& path, std::string_view bytes);
// Text in the given code page (936 for the settings file); "" when the
// code page cannot hold it.
std::string toCodePage(std::wstring_view text, UINT codePage);
// The lines of one INI section, without their line ends; nullopt when the
// section is missing.
std::optional<std::vector<std::string>> iniSection(std::string_view bytes, std::string_view name);

}  // namespace vexlo::e2e::formatter

#include "formatter_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace vexlo::e2e::formatter {

namespace {

LONG styleOf(HWND window) { return GetWindowLongW(window, GWL_STYLE); }

DWORD_PTR send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 3000, &result)) {
    return static_cast<DWORD_PTR>(-1);
  }
  return result;
}

// Client origin of a window in screen pixels.
POINT clientOrigin(HWND window) {
  POINT origin{0, 0};
  MapWindowPoints(window, HWND_DESKTOP, &origin, 1);
  return origin;
}

std::wstring listBoxItem(HWND list, int index) {
  const auto length = static_cast<LONG_PTR>(send(list, LB_GETTEXTLEN, index));
  if (length < 0 || length > 4096) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const auto copied = static_cast<LONG_PTR>(send(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data())));
  text.resize(copied > 0 ? static_cast<size_t>(std::min<LONG_PTR>(copied, length)) : 0);
  return text;
}

}  // namespace

// ----- styles ---------------------------------------------------------------

bool isOwnerDrawnButton(HWND window) { return (styleOf(window) & BS_TYPEMASK) == BS_OWNERDRAW; }
bool isRadioButton(HWND window) {
  const LONG type = styleOf(window) & BS_TYPEMASK;
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

// ----- the formatter's controls -----------------------------------------------

FormatterControls FormatterControls::find(HWND mainWindow) {
  FormatterControls c;
  c.mainWindow_ = mainWindow;
  auto require = [](HWND found, const char* what) {
    if (!found) ADD_FAILURE() << "Vexlo's main window has no " << what;
    return found;
  };
  auto radio = [&](std::wstring_view caption) { return findDescendant(mainWindow, L"Button", caption, isRadioButton); };
  auto ordinaryButton = [&](std::wstring_view caption) {
    return findDescendant(mainWindow, L"Button", caption, [](HWND w) { return !isRadioButton(w) && !isGroupBox(w); });
  };

  const std::vector<HWND> edits = descendants(mainWindow, L"Edit");
  if (edits.size() != 1) {
    ADD_FAILURE() << "expected exactly one EDIT (the input box), found " << edits.size();
  }
  c.inputBox = edits.empty() ? nullptr : edits.front();

  c.fontList = require(firstChild(mainWindow, L"ListBox", [](HWND w) { return listBoxItem(w, 0) == L"宋体"; }),
                       "LISTBOX whose first entry is 宋体 (List1)");
  c.sizeList = require(firstChild(mainWindow, L"ComboBox",
                                  [](HWND w) {
                                    const auto items = comboItems(w);
                                    return !items.empty() && items.front() == L"+１";
                                  }),
                       "COMBOBOX whose first entry is +１ (Combo1)");
  if (c.sizeList) {
    HWND panel = GetParent(c.sizeList);
    c.emoticons =
        require(firstChild(panel, L"ComboBox", [&](HWND w) { return w != c.sizeList && GetParent(w) == panel; }),
                "second COMBOBOX beside Combo1 (the emoticon list)");
  }

  c.convertButton = require(firstChild(mainWindow, L"Button",
                                       [](HWND w) {
                                         if (!isOwnerDrawnButton(w)) return false;
                                         const std::wstring text = textOf(w);
                                         return text == L"论 坛" || text == L"Qzone" || text == L"清 除";
                                       }),
                            "owner-drawn convert button (Comm)");
  c.undoButton = require(findDescendant(mainWindow, L"Button", L"9", isOwnerDrawnButton),
                         "owner-drawn undo button captioned 9 (CX)");
  c.forum = require(radio(L"论 坛"), "option button 论 坛");
  c.qzone = require(radio(L"Qzone"), "option button Qzone");
  const wchar_t* const modeCaptions[4] = {L"单色", L"渐变", L"彩虹", L"随机"};
  for (int i = 0; i < 4; ++i) {
    c.modes[i] = require(radio(modeCaptions[i]), "colour mode option button");
  }
  c.left = require(radio(L"左齐"), "option button 左齐");
  c.right = require(radio(L"右齐"), "option button 右齐");
  c.centre = require(radio(L"居中"), "option button 居中");
  c.bold = require(ordinaryButton(L"粗体"), "check box 粗体");

  c.exit =
      require(firstChild(mainWindow, {}, [](HWND w) { return textOf(w) == L"退出"; }), "control with text 退出 (Tc)");
  return c;
}

bool FormatterControls::complete() const {
  for (HWND w : {inputBox, fontList, sizeList, emoticons, convertButton, undoButton, forum, qzone, left, right, centre,
                 bold, exit}) {
    if (!w) return false;
  }
  for (HWND w : modes) {
    if (!w) return false;
  }
  return true;
}

HWND FormatterControls::colour(int index) const {
  // The owner-drawn buttons of the panel without caption: Co(0) is wider
  // than tall; in the gradient row Co(1) stands left of Co(0), Co(2) right.
  if (!inputBox) return nullptr;
  HWND panel = GetParent(inputBox);
  HWND found = nullptr;
  for (HWND w : descendants(panel, L"Button")) {
    if (GetParent(w) != panel || !isOwnerDrawnButton(w) || !textOf(w).empty()) continue;
    const RECT r = windowRect(w);
    const bool wide = widthOf(r) > heightOf(r);
    if (index == 0 ? !wide : wide) continue;
    if (index == 0 || !found || (index == 1) == (r.left < windowRect(found).left)) found = w;
  }
  return found;
}

HWND FormatterControls::chooser() const {
  return firstChild(mainWindow_, L"Button", [](HWND w) { return isGroupBox(w) && textOf(w).rfind(L"选择·", 0) == 0; });
}

HWND findSwatch(HWND chooser, int column, int row) {
  // The frame is 4935 twips wide; its children are placed in twips too.
  const RECT frame = windowRect(chooser);
  const double pixelsPerTwip = widthOf(frame) / 4935.0;
  const POINT origin = clientOrigin(chooser);
  const double expectedLeft = (120 + 270 * column) * pixelsPerTwip;
  const double expectedTop = (240 + 270 * row) * pixelsPerTwip;
  const double expectedSide = 255 * pixelsPerTwip;
  for (HWND w : descendants(chooser, L"Static")) {
    if (GetParent(w) != chooser || !textOf(w).empty()) continue;
    const RECT r = windowRect(w);
    if (std::abs(r.left - origin.x - expectedLeft) <= 2 && std::abs(r.top - origin.y - expectedTop) <= 2 &&
        std::abs(widthOf(r) - expectedSide) <= 2) {
      return w;
    }
  }
  return nullptr;
}

// ----- lists ----------------------------------------------------------------

int listSelection(HWND list) { return static_cast<int>(static_cast<LONG_PTR>(send(list, LB_GETCURSEL))); }
int comboSelection(HWND combo) { return static_cast<int>(static_cast<LONG_PTR>(send(combo, CB_GETCURSEL))); }

std::vector<std::wstring> comboItems(HWND combo) {
  std::vector<std::wstring> items;
  const auto count = static_cast<LONG_PTR>(send(combo, CB_GETCOUNT));
  for (LONG_PTR i = 0; i < count && i < 1000; ++i) {
    const auto length = static_cast<LONG_PTR>(send(combo, CB_GETLBTEXTLEN, i));
    if (length < 0 || length > 4096) {
      items.emplace_back();
      continue;
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const auto copied = static_cast<LONG_PTR>(send(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data())));
    text.resize(copied > 0 ? static_cast<size_t>(std::min<LONG_PTR>(copied, length)) : 0);
    items.push_back(text);
  }
  return items;
}

std::vector<std::wstring> listItems(HWND list) {
  std::vector<std::wstring> items;
  const auto count = static_cast<LONG_PTR>(send(list, LB_GETCOUNT));
  for (LONG_PTR i = 0; i < count && i < 100000; ++i) items.push_back(listBoxItem(list, static_cast<int>(i)));
  return items;
}

bool clickListItem(HWND list, int index) {
  return clickListEntry(list, index) && waitUntil([&] { return listSelection(list) == index; }, 2s);
}

bool clickListEntry(HWND list, int index) {
  // Scrolled into view first, as a user scrolls to an entry below the fold.
  const auto shownTop = static_cast<LONG_PTR>(send(list, LB_GETTOPINDEX));
  const auto entryHeight = static_cast<LONG_PTR>(send(list, LB_GETITEMHEIGHT, 0));
  if (entryHeight > 0 && (index < shownTop || (index - shownTop + 1) * entryHeight > heightOf(clientRect(list))))
    send(list, LB_SETTOPINDEX, index);
  const auto top = static_cast<LONG_PTR>(send(list, LB_GETTOPINDEX));
  const auto height = static_cast<LONG_PTR>(send(list, LB_GETITEMHEIGHT, 0));
  const RECT client = clientRect(list);
  const LONG_PTR y = (index - top) * height + height / 2;
  if (top < 0 || height <= 0 || index < top || y >= heightOf(client)) {
    ADD_FAILURE() << "entry " << index << " of the list is not in view (top " << top << ", entry height " << height
                  << ")";
    return false;
  }
  const POINT origin = clientOrigin(list);
  return clickAt(origin.x + widthOf(client) / 2, origin.y + static_cast<int>(y));
}

bool clickComboItem(HWND combo, int index) {
  DWORD owner = 0;
  GetWindowThreadProcessId(combo, &owner);
  if (!clickOn(combo)) return false;
  HWND dropped = waitForTopLevelWindow(owner, L"ComboLBox", 3s);
  if (!dropped) {
    ADD_FAILURE() << "clicking the drop-down list opened no list";
    return false;
  }
  const auto top = static_cast<LONG_PTR>(send(dropped, LB_GETTOPINDEX));
  const auto height = static_cast<LONG_PTR>(send(dropped, LB_GETITEMHEIGHT, 0));
  const RECT client = clientRect(dropped);
  const LONG_PTR y = (index - top) * height + height / 2;
  if (top < 0 || height <= 0 || index < top || y >= heightOf(client)) {
    ADD_FAILURE() << "entry " << index << " is not in view in the dropped list (top " << top << ", entry height "
                  << height << ", list height " << heightOf(client) << ")";
    return false;
  }
  const POINT origin = clientOrigin(dropped);
  if (!clickAt(origin.x + widthOf(client) / 2, origin.y + static_cast<int>(y))) return false;
  return waitUntil([&] { return comboSelection(combo) == index && !isVisible(dropped); }, 2s);
}

// ----- text, clipboard, keyboard ---------------------------------------------

bool setText(HWND window, const std::wstring& text) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 3000,
                             &result) &&
         result != 0;
}

bool clickToFocus(HWND box) {
  const DWORD thread = GetWindowThreadProcessId(box, nullptr);
  const auto focused = [&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) && info.hwndFocus == box;
  };
  // Keys go to the foreground window: the box's window must hold it, and
  // keep it for a moment, as Wine hands the X focus over late.
  HWND root = GetAncestor(box, GA_ROOT);
  const auto holdsForeground = [&] {
    for (int i = 0; i < 10; ++i) {
      if (GetForegroundWindow() != root || !focused()) return false;
      Sleep(40);
    }
    return true;
  };
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (!clickOn(box)) continue;
    if (waitUntil(focused, 1s) && holdsForeground()) return true;
    bringToFront(root);
  }
  return false;
}

bool typeInto(HWND box, std::wstring_view text) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (!clickToFocus(box)) continue;
    SetWindowTextW(box, L"");
    typeText(text);
    if (waitUntil([&] { return textOf(box) == text; }, 3s)) return true;
  }
  return false;
}

void typeText(std::wstring_view text) {
  for (wchar_t unit : text) {
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wScan = input[1].ki.wScan = unit;
    input[0].ki.dwFlags = KEYEVENTF_UNICODE;
    input[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    Sleep(10);
  }
}

namespace {

// Another program may hold the clipboard for a moment.
bool openClipboard() {
  return waitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 2s, 20ms);
}

}  // namespace

std::optional<std::wstring> clipboardText() {
  if (!openClipboard()) return std::nullopt;
  std::optional<std::wstring> text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = std::wstring(chars);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

std::optional<std::string> clipboardData(UINT format) {
  if (!openClipboard()) return std::nullopt;
  std::optional<std::string> bytes;
  if (HANDLE data = GetClipboardData(format)) {
    if (const void* locked = GlobalLock(data)) {
      bytes.emplace(static_cast<const char*>(locked), GlobalSize(data));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return bytes;
}

bool setClipboardText(const std::wstring& text) {
  if (!openClipboard()) return false;
  bool done = false;
  if (EmptyClipboard()) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
      if (void* target = GlobalLock(memory)) {
        std::memcpy(target, text.c_str(), bytes);
        GlobalUnlock(memory);
        done = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
      }
      if (!done) GlobalFree(memory);
    }
  }
  CloseClipboard();
  return done;
}

// ----- screen ---------------------------------------------------------------

COLORREF screenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return colour;
}

POINT centreOf(HWND window) {
  const RECT r = windowRect(window);
  return {r.left + widthOf(r) / 2, r.top + heightOf(r) / 2};
}

// ----- the target program ------------------------------------------------------

bool TargetEdit::start(const RECT& at) {
  const std::wstring bin = binFolder();
  if (bin.empty()) return false;
  const std::wstring arguments = std::to_wstring(at.left) + L" " + std::to_wstring(at.top) + L" " +
                                 std::to_wstring(widthOf(at)) + L" " + std::to_wstring(heightOf(at));
  process_ = Process::start(bin + L"\\target_edit.exe", arguments, L"");
  if (!process_.started()) {
    ADD_FAILURE() << "could not start target_edit.exe from " << toUtf8(bin);
    return false;
  }
  window_ = waitForTopLevelWindow(process_.id(), L"VexloE2ETargetEdit", 20s);
  if (!window_) {
    ADD_FAILURE() << "target_edit.exe showed no window within 20 s";
    return false;
  }
  const std::vector<HWND> edits = descendants(window_, L"Edit");
  if (edits.empty()) {
    ADD_FAILURE() << "target_edit.exe has no edit box";
    return false;
  }
  edit_ = edits.front();
  // It shows its window first and takes the foreground just after: a test
  // that went on at once could lose its keys to it.
  waitUntil([&] { return GetForegroundWindow() == window_; }, 3s);
  return true;
}

// ----- settings file -----------------------------------------------------------

std::optional<std::string> readFileBytes(const std::wstring& path) {
  FILE* in = _wfopen(path.c_str(), L"rb");
  if (!in) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.append(buffer, got);
  std::fclose(in);
  return bytes;
}

bool writeFileBytes(const std::wstring& path, std::string_view bytes) {
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (!out) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return std::fclose(out) == 0 && written;
}

std::string toCodePage(std::wstring_view text, UINT codePage) {
  if (text.empty()) return {};
  BOOL lossy = FALSE;
  const int size =
      WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, &lossy);
  if (size <= 0 || lossy) return {};
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
  return bytes;
}

std::optional<std::vector<std::string>> iniSection(std::string_view bytes, std::string_view name) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string line(bytes.substr(start, end - start));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  std::string header(1, '[');
  header.append(name).push_back(']');
  auto at = std::find(lines.begin(), lines.end(), header);
  if (at == lines.end()) return std::nullopt;
  std::vector<std::string> section;
  for (++at; at != lines.end() && (at->empty() || at->front() != '['); ++at) {
    if (!at->empty()) section.push_back(*at);
  }
  return section;
}

}  // namespace vexlo::e2e::formatter

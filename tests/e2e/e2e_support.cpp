#include "e2e_support.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <thread>

namespace vexlo::e2e {

namespace {

// Sizes and positions must be real pixels, also at 144 DPI. Windows 10 and
// later take per-monitor v2; Wine 8 refuses that call (and makes every
// process per-monitor aware anyway), so fall back to system awareness.
const bool dpiAware = [] {
  using SetContext = BOOL(WINAPI*)(HANDLE);
  if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
    auto setContext =
        reinterpret_cast<SetContext>(reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
    if (setContext && setContext(reinterpret_cast<HANDLE>(-4))) return true;  // per-monitor v2
  }
  return SetProcessDPIAware() != FALSE;
}();

std::wstring stripVersionPrefix(std::wstring name) {
  // Classes of Common Controls 6 may carry an assembly prefix ("6.0...!Button").
  const size_t bang = name.find(L'!');
  return bang == std::wstring::npos ? name : name.substr(bang + 1);
}

bool sameClass(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                                      static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

void removeTree(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

// ----- paths and text -------------------------------------------------------

std::wstring toWindowsPath(std::wstring_view path) {
  std::wstring result(path);
  if (!result.empty() && result.front() == L'/') result = L"Z:" + result;
  for (wchar_t& c : result) {
    if (c == L'/') c = L'\\';
  }
  while (result.size() > 3 && result.back() == L'\\') result.pop_back();
  return result;
}

std::string toUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string result(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
  return result;
}

std::wstring fromUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring result(size, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
  return result;
}

std::wstring binFolder() {
  wchar_t buffer[4096];
  const DWORD length = GetEnvironmentVariableW(L"VEXLO_BIN", buffer, 4096);
  if (length == 0 || length >= 4096) {
    ADD_FAILURE() << "VEXLO_BIN is not set: it must name the build folder holding Vexlo.exe "
                     "(CTest sets it; by hand: VEXLO_BIN=$PWD/build/windows wine vexlo_e2e_tests.exe)";
    return {};
  }
  return toWindowsPath(buffer);
}

std::wstring resultsFolder() {
  const std::wstring bin = binFolder();
  if (bin.empty()) return {};
  const std::wstring folder = bin + L"\\results";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

TempFolder::TempFolder() {
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    wchar_t name[64];
    std::swprintf(name, 64, L"vexlo-e2e-%lu-%u", GetCurrentProcessId(), ++counter);
    std::wstring candidate = std::wstring(temp) + name;
    if (CreateDirectoryW(candidate.c_str(), nullptr)) {
      path_ = candidate;
      return;
    }
  }
  ADD_FAILURE() << "could not create a temporary folder under " << toUtf8(temp);
}

TempFolder::~TempFolder() {
  if (path_.empty()) return;
  // A program that was just terminated may hold its file for a moment.
  for (int attempt = 0; attempt < 20; ++attempt) {
    removeTree(path_);
    if (GetFileAttributesW(path_.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    Sleep(100);
  }
}

// ----- processes ------------------------------------------------------------

Process::~Process() { terminate(); }

Process::Process(Process&& other) noexcept : handle_(other.handle_), id_(other.id_) {
  other.handle_ = nullptr;
  other.id_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    terminate();
    handle_ = other.handle_;
    id_ = other.id_;
    other.handle_ = nullptr;
    other.id_ = 0;
  }
  return *this;
}

Process Process::start(const std::wstring& program, const std::wstring& arguments, const std::wstring& workingFolder) {
  std::wstring commandLine = L"\"" + program + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  Process process;
  if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &info)) {
    CloseHandle(info.hThread);
    process.handle_ = info.hProcess;
    process.id_ = info.dwProcessId;
  }
  return process;
}

bool Process::running() const { return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }

bool Process::waitForExit(Milliseconds timeout) const {
  return handle_ && WaitForSingleObject(handle_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> Process::exitCode() const {
  DWORD code = 0;
  if (!handle_ || running() || !GetExitCodeProcess(handle_, &code)) return std::nullopt;
  return code;
}

void Process::terminate() {
  if (!handle_) return;
  if (running()) {
    TerminateProcess(handle_, 1);
    WaitForSingleObject(handle_, 10000);
  }
  close();
}

void Process::close() {
  if (handle_) CloseHandle(handle_);
  handle_ = nullptr;
  id_ = 0;
}

// ----- windows --------------------------------------------------------------

bool waitUntil(const std::function<bool()>& condition, Milliseconds timeout, Milliseconds pollInterval) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(pollInterval);
  }
}

std::wstring classOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return stripVersionPrefix(name);
}

std::wstring textOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
    return {};
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           2000, &copied)) {
    return {};
  }
  text.resize(std::min<size_t>(copied, length));
  return text;
}

RECT windowRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

RECT clientRect(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return r;
}

bool isTopMost(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

bool isChecked(HWND button) {
  DWORD_PTR state = 0;
  return SendMessageTimeoutW(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state) && state == BST_CHECKED;
}

bool isVisible(HWND window) { return IsWindowVisible(window) != FALSE; }

bool isGroupBox(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX; }

bool isOutlineList(HWND list) { return (GetWindowLongW(list, GWL_STYLE) & LBS_OWNERDRAWFIXED) != 0; }

namespace {

struct TopLevelSearch {
  DWORD processId;
  std::wstring_view className;
  std::vector<HWND> found;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<TopLevelSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if ((search->processId == 0 || owner == search->processId) &&
      (search->className.empty() || sameClass(classOf(window), search->className))) {
    search->found.push_back(window);
  }
  return TRUE;
}

struct ChildSearch {
  std::wstring_view className;
  std::vector<HWND> found;
};

BOOL CALLBACK collectChild(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<ChildSearch*>(parameter);
  if (search->className.empty() || sameClass(classOf(window), search->className)) {
    search->found.push_back(window);
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> topLevelWindows(DWORD processId, std::wstring_view className) {
  TopLevelSearch search{processId, className, {}};
  EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND waitForTopLevelWindow(DWORD processId, std::wstring_view className, Milliseconds timeout) {
  HWND result = nullptr;
  waitUntil(
      [&] {
        for (HWND window : topLevelWindows(processId, className)) {
          if (isVisible(window)) {
            result = window;
            return true;
          }
        }
        return false;
      },
      timeout);
  return result;
}

std::vector<HWND> descendants(HWND parent, std::wstring_view className) {
  ChildSearch search{className, {}};
  EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND firstChild(HWND parent, std::wstring_view className, const std::function<bool(HWND)>& accept) {
  for (HWND child : descendants(parent, className)) {
    if (accept(child)) return child;
  }
  return nullptr;
}

HWND findDescendant(HWND parent, std::wstring_view className, std::wstring_view text,
                    const std::function<bool(HWND)>& accept) {
  for (HWND child : descendants(parent, className)) {
    if (textOf(child) == text && (!accept || accept(child))) return child;
  }
  return nullptr;
}

HWND waitForMessageBox(DWORD processId, std::wstring_view title, Milliseconds timeout) {
  HWND result = nullptr;
  waitUntil(
      [&] {
        for (HWND window : topLevelWindows(processId, L"#32770")) {
          if (isVisible(window) && textOf(window) == title) {
            result = window;
            return true;
          }
        }
        return false;
      },
      timeout);
  return result;
}

std::wstring messageBoxText(HWND messageBox) {
  if (HWND text = GetDlgItem(messageBox, 0xFFFF)) return textOf(text);
  // Fallback: the one static control that has text (the icon's has none).
  for (HWND child : descendants(messageBox, L"Static")) {
    std::wstring caption = textOf(child);
    if (!caption.empty()) return caption;
  }
  return {};
}

bool pressMessageBoxButton(HWND messageBox, int buttonId) {
  HWND button = GetDlgItem(messageBox, buttonId);
  if (!button) return false;
  DWORD_PTR result = 0;
  // Acts like a click: the button notifies the box, which ends itself.
  return SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

std::vector<std::wstring> visibleBalloonTexts(DWORD excludedProcessId) {
  std::vector<std::wstring> texts;
  for (HWND tip : topLevelWindows(0, L"tooltips_class32")) {
    DWORD owner = 0;
    GetWindowThreadProcessId(tip, &owner);
    if (owner == excludedProcessId || !isVisible(tip)) continue;
    if (!(GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON)) continue;
    texts.push_back(textOf(tip));
  }
  return texts;
}

// ----- input and screen -----------------------------------------------------

SIZE screenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

bool movePointer(int x, int y) {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = std::max(1, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  const int height = std::max(1, GetSystemMetrics(SM_CYVIRTUALSCREEN));
  INPUT input{};
  input.type = INPUT_MOUSE;
  // Normalised 0..65535 coordinates, rounded up so that the system's
  // rounding down lands on the pixel asked for.
  input.mi.dx = static_cast<LONG>((static_cast<long long>(x - left) * 65536 + width - 1) / width);
  input.mi.dy = static_cast<LONG>((static_cast<long long>(y - top) * 65536 + height - 1) / height);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
  SendInput(1, &input, sizeof input);
  POINT at{};
  GetCursorPos(&at);
  if (at.x != x || at.y != y) {
    SetCursorPos(x, y);
    GetCursorPos(&at);
  }
  return at.x == x && at.y == y;
}

bool clickAt(int x, int y) {
  if (!movePointer(x, y)) return false;
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &input[0], sizeof(INPUT));
  std::this_thread::sleep_for(30ms);
  return SendInput(1, &input[1], sizeof(INPUT)) == 1;
}

bool clickOn(HWND window) {
  const RECT r = windowRect(window);
  return clickAt(r.left + widthOf(r) / 2, r.top + heightOf(r) / 2);
}

void pressKey(WORD virtualKey, Milliseconds holdFor) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  SendInput(1, &input, sizeof input);
  std::this_thread::sleep_for(holdFor);
  input.ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

void pressKeyWith(WORD modifier, WORD virtualKey) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = modifier;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(modifier, MAPVK_VK_TO_VSC));
  SendInput(1, &input, sizeof input);
  pressKey(virtualKey);
  input.ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

void bringToFront(HWND window) {
  SetForegroundWindow(window);
  waitUntil([&] { return GetForegroundWindow() == window; }, 1000ms, 20ms);
}

std::wstring saveScreenshot(std::wstring_view fileName) {
  const std::wstring folder = resultsFolder();
  if (folder.empty()) return {};
  const std::wstring path = folder + L"\\" + std::wstring(fileName);

  // Every monitor: the virtual screen.
  const SIZE size{GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, size.cx, size.cy, screen, GetSystemMetrics(SM_XVIRTUALSCREEN),
         GetSystemMetrics(SM_YVIRTUALSCREEN), SRCCOPY);
  SelectObject(memory, previous);

  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = size.cx;
  header.biHeight = size.cy;  // bottom-up, as BMP files usually are
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(size.cx) * 3 + 3) & ~3u;
  std::vector<unsigned char> pixels(static_cast<size_t>(stride) * size.cy);
  const int lines =
      GetDIBits(memory, bitmap, 0, size.cy, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (lines != size.cy) return {};

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  header.biSizeImage = static_cast<DWORD>(pixels.size());
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (!out) return {};
  const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                       std::fwrite(&header, sizeof header, 1, out) == 1 &&
                       std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
  return std::fclose(out) == 0 && written ? path : std::wstring();
}

namespace {
constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
}

std::optional<DWORD> readLogPixels() {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &value, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

bool writeLogPixels(std::optional<DWORD> dpi) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  LONG status;
  if (dpi) {
    const DWORD value = *dpi;
    status = RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  } else {
    status = RegDeleteValueW(key, L"LogPixels");
    if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
  }
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

std::string describe(const RECT& r) {
  char text[80];
  std::snprintf(text, sizeof text, "(%ld,%ld) %dx%d", r.left, r.top, widthOf(r), heightOf(r));
  return text;
}

// ----- Vexlo ----------------------------------------------------------------

VexloInstance::VexloInstance() = default;

bool VexloInstance::start() {
  const std::wstring bin = binFolder();
  if (bin.empty() || folder_.path().empty()) return false;
  const std::wstring source = bin + L"\\Vexlo.exe";
  if (!CopyFileW(source.c_str(), exePath().c_str(), FALSE)) {
    ADD_FAILURE() << "could not copy " << toUtf8(source) << " (error " << GetLastError() << ")";
    return false;
  }
  process_ = Process::start(exePath(), L"", folder_.path());
  if (!process_.started()) {
    ADD_FAILURE() << "could not start " << toUtf8(exePath()) << " (error " << GetLastError() << ")";
    return false;
  }
  window_ = waitForTopLevelWindow(process_.id(), kMainWindowClass, 30s);
  if (!window_) {
    ADD_FAILURE() << "Vexlo.exe showed no visible top-level window of class " << toUtf8(kMainWindowClass)
                  << " within 30 s" << (process_.running() ? "" : " (the process has ended)");
    return false;
  }
  // Start-up ends by expanding the window, moving the pointer into it and
  // clicking there; let that finish before a test takes over the pointer.
  std::this_thread::sleep_for(1000ms);
  return true;
}

Process VexloInstance::startAnother() const { return Process::start(exePath(), L"", folder_.path()); }

}  // namespace vexlo::e2e

// The least Vexlo's start-up can cost while every control it shows is a
// standard window: a program that makes exactly the windows Vexlo shows at
// start (classes, styles, places, captions, list entries) and nothing else.
// scripts/measure-startup.sh times it against the minimal program, beside
// Vexlo itself. A measurement, not a test.
//
//   startup_floor.exe --record <file>   writes down the windows the running
//                                       Vexlo shows
//   startup_floor.exe                   makes the windows written down in
//                                       shown-windows.txt beside it, shows
//                                       them and waits to be ended
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kRecordFile[] = L"shown-windows.txt";

struct Shown {
  int parent = 0;  // 0: the top-level window; n: the n-th window written before
  std::wstring className, text;
  DWORD style = 0, exStyle = 0;
  RECT place{};  // in the parent's client area
  std::vector<std::wstring> items;
};

std::wstring textOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  std::wstring result = text;
  // One window per line, its fields split by tabs.
  for (wchar_t& c : result)
    if (c == L'\t' || c == L'\r' || c == L'\n') c = L' ';
  return result;
}

std::vector<std::wstring> itemsOf(HWND window, const std::wstring& className) {
  const bool combo = lstrcmpiW(className.c_str(), L"ComboBox") == 0;
  if (!combo && lstrcmpiW(className.c_str(), L"ListBox") != 0) return {};
  std::vector<std::wstring> items;
  const int count = static_cast<int>(SendMessageW(window, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t item[512] = {};
    const UINT length = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    if (SendMessageW(window, length, i, 0) >= 512) continue;
    SendMessageW(window, combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
    items.push_back(item);
  }
  return items;
}

// Depth first, each window after its parent, siblings from the top of the
// stacking order down: the order in which Vexlo makes them (a new child
// window goes beneath its siblings).
void recordChildren(HWND parent, int parentIndex, std::vector<Shown>& shown) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;
    Shown s;
    s.parent = parentIndex;
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    s.className = className;
    s.text = textOf(child);
    s.style = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
    s.exStyle = static_cast<DWORD>(GetWindowLongW(child, GWL_EXSTYLE));
    GetWindowRect(child, &s.place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&s.place), 2);
    s.items = itemsOf(child, s.className);
    shown.push_back(s);
    recordChildren(child, static_cast<int>(shown.size()), shown);
  }
}

// The record is UTF-16 as the windows hold their texts: one window a line,
// its fields split by tabs.
int record(const wchar_t* file) {
  HWND main = FindWindowW(L"VexloMainWindow", nullptr);
  if (!main) return 1;
  std::wostringstream out;
  RECT r;
  GetWindowRect(main, &r);
  out << static_cast<DWORD>(GetWindowLongW(main, GWL_STYLE)) << L'\t'
      << static_cast<DWORD>(GetWindowLongW(main, GWL_EXSTYLE)) << L'\t' << r.left << L'\t' << r.top << L'\t'
      << r.right - r.left << L'\t' << r.bottom - r.top << L'\n';
  std::vector<Shown> shown;
  recordChildren(main, 0, shown);
  for (const Shown& s : shown) {
    out << s.parent << L'\t' << s.className << L'\t' << s.style << L'\t' << s.exStyle << L'\t' << s.place.left << L'\t'
        << s.place.top << L'\t' << s.place.right - s.place.left << L'\t' << s.place.bottom - s.place.top << L'\t'
        << s.items.size() << L'\t' << s.text;
    for (const std::wstring& item : s.items) out << L'\t' << item;
    out << L'\n';
  }
  const std::wstring text = out.str();
  FILE* f = _wfopen(file, L"wb");
  if (!f) return 1;
  const bool written = std::fwrite(text.data(), sizeof(wchar_t), text.size(), f) == text.size();
  return std::fclose(f) == 0 && written ? 0 : 1;
}

std::vector<std::wstring> linesOf(const std::wstring& file) {
  std::vector<std::wstring> lines;
  FILE* f = _wfopen(file.c_str(), L"rb");
  if (!f) return lines;
  std::wstring text;
  wchar_t buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, sizeof(wchar_t), 4096, f)) > 0;) text.append(buffer, n);
  std::fclose(f);
  std::wstringstream stream(text);
  for (std::wstring line; std::getline(stream, line, L'\n');) lines.push_back(line);
  return lines;
}

std::vector<std::wstring> fields(const std::wstring& line) {
  std::vector<std::wstring> result;
  std::wstringstream stream(line);
  std::wstring field;
  while (std::getline(stream, field, L'\t')) result.push_back(field);
  return result;
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

int makeRecordedWindows(HINSTANCE instance) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring file = path;
  file = file.substr(0, file.find_last_of(L'\\') + 1) + kRecordFile;
  const std::vector<std::wstring> lines = linesOf(file);
  if (lines.empty()) return 1;
  const std::vector<std::wstring> top = fields(lines[0]);
  if (top.size() < 6) return 1;

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"VexloStartupFloor";
  if (!RegisterClassExW(&windowClass)) return 1;
  const DWORD topStyle = static_cast<DWORD>(std::stoul(top[0])) & ~WS_VISIBLE;
  const DWORD topExStyle = static_cast<DWORD>(std::stoul(top[1]));
  HWND main = CreateWindowExW(topExStyle, windowClass.lpszClassName, L"Vexlo", topStyle,
                              std::stoi(top[2]), std::stoi(top[3]), std::stoi(top[4]), std::stoi(top[5]), nullptr,
                              nullptr, instance, nullptr);
  if (!main) return 1;
  // The program's font, as Vexlo makes it: SimSun, 9 points.
  HFONT font = CreateFontW(-MulDiv(9, GetDeviceCaps(GetDC(main), LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                           FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                           DEFAULT_PITCH, L"SimSun");

  std::vector<HWND> made{main};
  for (std::size_t n = 1; n < lines.size(); ++n) {
    const std::vector<std::wstring> f = fields(lines[n]);
    if (f.size() < 9) continue;
    const std::size_t parent = std::stoul(f[0]);
    const std::size_t itemCount = std::stoul(f[8]);
    const std::wstring text = f.size() > 9 ? f[9] : L"";
    HWND window = parent < made.size()
                      ? CreateWindowExW(static_cast<DWORD>(std::stoul(f[3])), f[1].c_str(), text.c_str(),
                                        static_cast<DWORD>(std::stoul(f[2])), std::stoi(f[4]), std::stoi(f[5]),
                                        std::stoi(f[6]), std::stoi(f[7]), made[parent],
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + made.size())), instance,
                                        nullptr)
                      : nullptr;
    made.push_back(window);
    if (!window) continue;
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const bool combo = lstrcmpiW(f[1].c_str(), L"ComboBox") == 0;
    for (std::size_t i = 0; i < itemCount && 10 + i < f.size(); ++i)
      SendMessageW(window, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f[10 + i].c_str()));
  }
  SetWindowPos(main, (topExStyle & WS_EX_TOPMOST) ? HWND_TOPMOST : nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DeleteObject(font);
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  const wchar_t* flag = std::wcsstr(commandLine, L"--record ");
  if (flag) return record(flag + std::wcslen(L"--record "));
  return makeRecordedWindows(instance);
}

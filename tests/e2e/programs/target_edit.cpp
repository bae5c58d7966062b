// A stand-in for the reply box of a web page: one top-level window titled
// "VexloTarget" that is filled by a single multi-line edit box. The
// end-to-end tests of the reply formatter let Vexlo click into it and paste,
// or press F12 while it has the focus, and then read what it holds.
//
//   target_edit.exe x y w h    window position and size in screen pixels
//
// The window has no frame and no caption, so the edit box covers exactly the
// rectangle asked for; it takes the focus whenever the window is activated.
#include <windows.h>

#include <cwchar>
#include <cwctype>

namespace {

constexpr wchar_t kClassName[] = L"VexloE2ETargetEdit";
constexpr wchar_t kTitle[] = L"VexloTarget";
constexpr int kEditId = 100;

HWND edit = nullptr;
HFONT font = nullptr;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      RECT client;
      GetClientRect(window, &client);
      edit = CreateWindowExW(0, L"EDIT", L"",
                             WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE |
                                 ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL,
                             0, 0, client.right, client.bottom, window,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)),
                             reinterpret_cast<CREATESTRUCTW*>(lParam)->hInstance, nullptr);
      if (!edit) return -1;
      // Chinese must show in screenshots; the face resolves to a CJK font.
      font = CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH, L"SimSun");
      if (font) SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      return 0;
    }
    case WM_SIZE:
      if (edit) MoveWindow(edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      if (edit) SetFocus(edit);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// Reads "x y w h"; anything missing keeps its default.
void parseGeometry(const wchar_t* text, int values[4]) {
  for (int i = 0; i < 4 && text && *text; ++i) {
    while (*text && std::iswspace(*text)) ++text;
    if (!*text) break;
    wchar_t* end = nullptr;
    const long value = std::wcstol(text, &end, 10);
    if (end == text) break;
    values[i] = static_cast<int>(value);
    text = end;
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  int geometry[4] = {100, 400, 400, 160};
  parseGeometry(commandLine, geometry);

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_IBEAM));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExW(&windowClass)) return 1;

  HWND window = CreateWindowExW(0, kClassName, kTitle, WS_POPUP, geometry[0], geometry[1],
                                geometry[2], geometry[3], nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  SetForegroundWindow(window);
  SetFocus(edit);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (font) DeleteObject(font);
  return 0;
}

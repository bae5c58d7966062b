#include "app/win32/vexlo_app.h"

#include <commctrl.h>

#include <memory>

#include "capture/win32/capture_dialogs_win32.h"
#include "capture/win32/captured_picture_view_win32.h"
#include "capture/win32/desktop_info_win32.h"
#include "capture/win32/image_encoder_win32.h"
#include "capture/win32/overlay_window_win32.h"
#include "capture/win32/picture_clipboard_win32.h"
#include "capture/win32/screen_copier_win32.h"
#include "common/version.h"
#include "controls/win32/artwork.h"
#include "controls/win32/binder.h"
#include "filemanager/win32/picture_decoder_win32.h"
#include "formatter/win32/preview_window_win32.h"
#include "platform/win32/ansi_codec_win32.h"
#include "platform/win32/app_data_folder.h"
#include "platform/win32/callback_guard_win32.h"
#include "platform/win32/clipboard_win32.h"
#include "platform/win32/executable_name_win32.h"
#include "platform/win32/file_store_win32.h"
#include "platform/win32/file_system_win32.h"
#include "platform/win32/input_box_win32.h"
#include "platform/win32/input_win32.h"
#include "platform/win32/launcher_win32.h"
#include "platform/win32/media_player_win32.h"
#include "platform/win32/module_path.h"
#include "platform/win32/popup_menu_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/tray_icon_win32.h"
#include "shell/main_window.h"

namespace vexlo::app::win32 {

namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMilliseconds = 1000;
// The strip of fixed buttons ends just above the panels.
constexpr int kStripBottomTwips = 840;

struct EnvironmentWin32 : platform::Environment {
  std::u16string executableDirectory() const override { return platform::win32::executableDirectory(); }
  std::u16string executableName() const override { return platform::win32::executableBaseName(); }
  std::u16string appDataDirectory() const override { return platform::win32::appDataFolder(); }
};

struct Program {
  explicit Program(HWND hwnd, HICON icon) : mainWindow(hwnd), tray(hwnd, icon) {
    screen.setWindow(hwnd);
    messageBox.setOwner(hwnd);
    clipboard.setOwner(hwnd);
    captureDialogs.setOwner(hwnd);
    launcher.setOwner(hwnd);
    popupMenu.setWindow(hwnd);
    inputBox.setOwner(hwnd);
    platform::win32::setCallbackGuard(&window.guard);
  }
  ~Program() { platform::win32::setCallbackGuard(nullptr); }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  HWND mainWindow;
  platform::win32::TrayIconWin32 tray;
  platform::win32::PointerWin32 pointer;
  platform::win32::ScreenWin32 screen;
  platform::win32::KeyboardWin32 keyboard;
  platform::win32::ClockWin32 clock;
  platform::win32::MessageBoxWin32 messageBox;
  platform::win32::InstanceLockWin32 instanceLock;
  platform::win32::MemoryWin32 memory;
  platform::win32::ClipboardWin32 clipboard;
  platform::win32::AnsiCodecWin32 codec;
  platform::win32::ApplicationWin32 application;
  platform::win32::FileStoreWin32 files;
  EnvironmentWin32 environment;
  // The player's area is made when the player first needs it.
  platform::win32::MediaPlayerWin32 mediaPlayer{
      mainWindow, [this] { return binder ? binder->windowFor(window.media.playerArea) : nullptr; }};
  platform::win32::LauncherWin32 launcher;
  platform::win32::StartupRegistryWin32 startupRegistry;
  platform::win32::PopupMenuWin32 popupMenu;
  capture::win32::ScreenCopierWin32 screenCopier;
  capture::win32::ImageEncoderWin32 imageEncoder;
  capture::win32::CaptureDialogsWin32 captureDialogs;
  capture::win32::OverlayWindowWin32 overlayWindow;
  capture::win32::DesktopInfoWin32 desktop;
  // After the encoder: at the end it may still render a promised PNG.
  capture::win32::PictureClipboardWin32 pictureClipboard{imageEncoder};
  platform::win32::FileSystemWin32 fileSystem;
  platform::win32::InputBoxWin32 inputBox;
  filemanager::win32::PictureDecoderWin32 pictures;
  // Its window is made when the preview is first shown.
  formatter::win32::PreviewWindowWin32 previewWindow{mainWindow};
  formatter::SplitMixRandom random{GetTickCount64()};
  shell::Services services{
      {tray, pointer, screen, keyboard, clock, messageBox, instanceLock, memory, clipboard, codec, application, files,
       environment, mediaPlayer, launcher, startupRegistry, popupMenu},
      {screen, clock, files, screenCopier, imageEncoder, captureDialogs, overlayWindow, desktop, pictureClipboard},
      {fileSystem, inputBox, pictures},
      previewWindow};
  shell::MainWindow window{services, random};
  std::unique_ptr<controls::win32::Binder> binder;
};

Program* program = nullptr;
UINT taskbarCreatedMessage = 0;

void paintBackground(HWND hwnd, HDC dc) {
  RECT client;
  GetClientRect(hwnd, &client);
  int stripBottom = program && program->binder ? program->binder->toPixels(kStripBottomTwips) : 56;
  controls::win32::drawWindowBackground(dc, client, stripBottom);
}

// The main window's own events run in the guard that the controls' events
// (guarded by the model) and the tick (guarded by the main window) run in.
template <class Action>
void guarded(std::u16string_view what, Action&& action) {
  program->window.guard.run(std::forward<Action>(action), what);
}

LRESULT windowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (program && program->binder) {
    if (message == platform::win32::MediaPlayerWin32::stateMessage()) {
      guarded(u"媒体播放器的状态变化", [] { program->mediaPlayer.deliverStateChange(); });
      return 0;
    }
    if (message == taskbarCreatedMessage && message != 0) {
      guarded(u"任务栏重建后恢复图标", [] { program->window.taskbarRecreated(); });
      return 0;
    }
    LRESULT result = 0;
    if (program->binder->handle(message, wParam, lParam, result)) return result;
  }
  switch (message) {
    case WM_ERASEBKGND:
      paintBackground(hwnd, reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_TIMER:
      if (wParam == kTickTimer && program) program->window.tick();
      return 0;
    case WM_HOTKEY:
      if (program) guarded(u"热键", [wParam] { program->keyboard.hotKeyPressed(static_cast<int>(wParam)); });
      return 0;
    case WM_DPICHANGED:
      if (program && program->binder)
        guarded(u"适应新的 DPI", [] {
          program->binder->dpiChanged();
          program->previewWindow.dpiChanged();
        });
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam && program) guarded(u"结束会话时保存设置", [] { program->window.endSession(); });
      return 0;
    case WM_CLOSE:
      // Closed from outside (Alt+F4, a task manager's close): the same orderly
      // end as the exit control, so nothing the user set up is lost.
      if (program) guarded(u"关闭窗口", [] { program->window.exit(); });
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

// The events of the window and its controls run in the guard already; this
// one catches what the drawing of owner-drawn controls may throw.
LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return platform::win32::guardedCallback(
      u"处理主窗口的消息", [&] { return windowMessage(hwnd, message, wParam, lParam); },
      [&] { return DefWindowProcW(hwnd, message, wParam, lParam); });
}

// Ctrl+C pressed in the main window or one of its controls.
bool isCopyShortcut(HWND mainWindow, const MSG& msg) {
  return msg.message == WM_KEYDOWN && msg.wParam == 'C' && GetKeyState(VK_CONTROL) < 0 &&
         (msg.hwnd == mainWindow || IsChild(mainWindow, msg.hwnd));
}

HICON loadIcon(HINSTANCE instance, int size) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, size, size, 0));
}

}  // namespace

int run(HINSTANCE instance) {
  INITCOMMONCONTROLSEX common = {sizeof common, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&common);
  taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");

  HICON bigIcon = loadIcon(instance, 32);
  HICON smallIcon = loadIcon(instance, 16);
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.hIcon = bigIcon;
  wc.hIconSm = smallIcon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kMainWindowClass;
  RegisterClassExW(&wc);

  // No caption bar and no taskbar button: the window lives at the top edge
  // and reports through its notification-area icon. It is top-most from
  // birth: some window managers honour only the creation style.
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kMainWindowClass, L"Vexlo v" VEXLO_VERSION_TEXT,
                              WS_POPUP | WS_CLIPCHILDREN, 0, 0, 100, 100, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;

  auto owned = std::make_unique<Program>(hwnd, smallIcon);
  program = owned.get();
  program->binder = std::make_unique<controls::win32::Binder>(hwnd, program->window.window);
  program->binder->onWindowMade = [](controls::Control& control, HWND made) {
    if (&control == &program->window.capture.picture)
      capture::win32::showCapturedPicture(made, program->window.capture.picture);
    if (&control == &program->window.fileManager.previewPicture)
      capture::win32::showCapturedPicture(made, program->window.fileManager.previewPicture);
  };
  program->binder->create();

  int exitCode = 0;
  if (program->window.start()) {
    program->keyboard.capture(hwnd, shell::kVirtualKeyF12);
    SetTimer(hwnd, kTickTimer, kTickMilliseconds, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (isCopyShortcut(hwnd, msg) && program->window.copyShortcut()) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    exitCode = static_cast<int>(msg.wParam);
    KillTimer(hwnd, kTickTimer);
  }
  program->binder.reset();
  DestroyWindow(hwnd);
  program = nullptr;
  return exitCode;
}

}  // namespace vexlo::app::win32

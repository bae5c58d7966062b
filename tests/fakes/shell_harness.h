// A main window wired to fakes, as the unit tests drive it.
#pragma once

#include "fakes/capture_fakes.h"
#include "fakes/fake_services.h"
#include "fakes/iconv_codec.h"
#include "fakes/memory_file_store.h"
#include "fakes/memory_file_system.h"
#include "fakes/preview_fakes.h"
#include "fakes/scripted_random.h"
#include "fakes/utilities_fakes.h"
#include "shell/main_window.h"

namespace vexlo::fakes {

struct ShellHarness {
  ShellHarness() : ShellHarness("GBK") {}
  // The ANSI code page by its iconv name: "GBK" (936) or "GB18030" (54936).
  explicit ShellHarness(const std::string& charset) : codec(sharedIconvCodec(charset)) {}

  EventLog log;
  FakeTray tray;
  FakePointer pointer{log};
  FakeScreen screen;
  FakeKeyboard keyboard{log};
  FakeClock clock{log};
  FakeMessageBox messageBox;
  FakeInstanceLock instanceLock;
  FakeMemory memory;
  FakeClipboard clipboard{log};
  const IconvCodec& codec;
  FakeApplication application;
  MemoryFileStore files;
  FakeEnvironment environment;
  ScriptedRandom random;
  FakeMediaPlayer mediaPlayer;
  FakeLauncher launcher;
  FakeStartupRegistry startupRegistry;
  FakePopupMenu popupMenu{log};
  FakeScreenCopier screenCopier{log};
  FakeImageEncoder imageEncoder;
  FakeCaptureDialogs captureDialogs;
  FakeOverlayWindow overlayWindow{log};
  FakeDesktop desktop;
  FakePictureClipboard pictureClipboard;
  MemoryFileSystem fileSystem;
  FakeInputBox inputBox;
  FakePictureDecoder pictures;
  FakePreviewWindow preview;
  shell::Services services{
      {tray, pointer, screen, keyboard, clock, messageBox, instanceLock, memory, clipboard, codec, application, files,
       environment, mediaPlayer, launcher, startupRegistry, popupMenu},
      {screen, clock, files, screenCopier, imageEncoder, captureDialogs, overlayWindow, desktop, pictureClipboard},
      {fileSystem, inputBox, pictures},
      preview};

  const std::u16string settingsFile = u"C:\\Tools\\Vexlo\\Vexlo.ini";
};

}  // namespace vexlo::fakes

// A main window wired to fakes, as the unit tests drive it.
#pragma once

#include "fakes/fake_services.h"
#include "shell/main_window.h"

namespace vexlo::fakes {

struct ShellHarness {
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
  DoubleByteCodec codec;
  FakeApplication application;
  shell::Services services{tray, pointer, screen, keyboard, clock, messageBox, instanceLock,
                           memory, clipboard, codec, application};
};

}  // namespace vexlo::fakes

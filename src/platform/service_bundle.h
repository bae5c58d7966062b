// The operating-system services handed to the panels in one bundle, so that
// nothing reaches for a global.
#pragma once

#include "platform/file_store.h"
#include "platform/launcher.h"
#include "platform/media_player.h"
#include "platform/popup_menu.h"
#include "platform/registry.h"
#include "platform/services.h"

namespace vexlo::platform {

struct ServiceBundle {
  TrayIcon& tray;
  Pointer& pointer;
  Screen& screen;
  Keyboard& keyboard;
  Clock& clock;
  MessageBoxService& messageBox;
  InstanceLock& instanceLock;
  Memory& memory;
  Clipboard& clipboard;
  const AnsiCodec& codec;
  Application& application;
  FileStore& files;
  const Environment& environment;
  MediaPlayer& mediaPlayer;
  Launcher& launcher;
  StartupRegistry& startupRegistry;
  PopupMenu& popupMenu;
};

}  // namespace vexlo::platform

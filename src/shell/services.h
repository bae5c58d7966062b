// The platform services the program's core works with, handed in as one
// bundle so nothing reaches for a global.
#pragma once

#include "capture/capture_services.h"
#include "filemanager/file_manager_services.h"
#include "platform/file_store.h"
#include "platform/launcher.h"
#include "platform/media_player.h"
#include "platform/popup_menu.h"
#include "platform/registry.h"
#include "platform/services.h"

namespace vexlo::shell {

struct Services {
  platform::TrayIcon& tray;
  platform::Pointer& pointer;
  platform::Screen& screen;
  platform::Keyboard& keyboard;
  platform::Clock& clock;
  platform::MessageBoxService& messageBox;
  platform::InstanceLock& instanceLock;
  platform::Memory& memory;
  platform::Clipboard& clipboard;
  const platform::AnsiCodec& codec;
  platform::Application& application;
  platform::FileStore& files;
  const platform::Environment& environment;
  platform::MediaPlayer& mediaPlayer;
  platform::Launcher& launcher;
  platform::StartupRegistry& startupRegistry;
  platform::PopupMenu& popupMenu;
  capture::CaptureServices capture;
  filemanager::FileManagerServices fileManager;
};

}  // namespace vexlo::shell

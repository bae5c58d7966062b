// Scriptable stand-ins for the utilities' own services, and the system
// utilities on stand-ins for the strip controls and the toolbox panel, as
// the unit tests drive them.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_services.h"
#include "platform/popup_menu.h"
#include "platform/registry.h"
#include "utilities/system_tools.h"

namespace vexlo::fakes {

// The current user's Run key as a map of value names to data.
struct FakeStartupRegistry : platform::StartupRegistry {
  std::map<std::u16string, std::u16string> runValues;
  bool refuses = false;  // no write or delete is allowed
  bool registerProgram(std::u16string_view name, std::u16string_view commandLine) override {
    if (refuses) return false;
    runValues[std::u16string(name)] = commandLine;
    return true;
  }
  bool unregisterProgram(std::u16string_view name) override {
    if (refuses) return false;
    runValues.erase(std::u16string(name));
    return true;
  }
};

struct FakePopupMenu : platform::PopupMenu {
  struct Shown {
    std::vector<std::u16string> items;
    int x, y;
  };
  explicit FakePopupMenu(EventLog& log) : log(log) {}
  EventLog& log;
  std::vector<Shown> shown;
  int choice = -1;  // what the user chooses
  int choose(const std::vector<std::u16string>& items, int x, int y) override {
    shown.push_back({items, x, y});
    log.events.push_back("menu");
    return choice;
  }
};

struct UtilitiesHarness {
  UtilitiesHarness() {
    launcher.log = &log;
    status.createIcon();
  }

  EventLog log;
  FakeTray tray;
  DoubleByteCodec codec;
  FakeLauncher launcher;
  FakeStartupRegistry registry;
  FakePopupMenu menu{log};
  FakePointer pointer{log};
  FakeScreen screen;
  FakeEnvironment environment;
  common::StatusLine status{tray, codec};
  utilities::SystemStrip strip;
  controls::Frame toolbox{"W(4)", {120, 900, 4935, 3615}, u"我的工具箱"};
  utilities::SystemTools tools{
      strip,
      toolbox,
      {launcher, registry, menu, pointer, screen, environment, u"Vexlo", status,
       [this] { log.events.push_back("collapse"); }, [this] { log.events.push_back("focus input box"); }}};
};

}  // namespace vexlo::fakes

// One life of a main window on a given settings file: started (the file is
// restored), then left through the exit control (the file is saved). What
// it restored and the file it left are kept for the checks.
#pragma once

#include <memory>
#include <string>

#include "fakes/shell_harness.h"

namespace vexlo::fakes {

struct SettingsRoundTrip {
  SettingsRoundTrip(const std::string& charset, const std::string& fileBytes) : h(charset) {
    h.files.files[h.settingsFile] = fileBytes;
    window = std::make_unique<shell::MainWindow>(h.services, h.random);
    started = window->start();
    restored = window->collectSettings();
    window->exitControl.userClick();
    saved = h.files.files[h.settingsFile];
  }

  ShellHarness h;
  std::unique_ptr<shell::MainWindow> window;
  bool started = false;
  shell::SettingsToSave restored;
  std::string saved;
};

}  // namespace vexlo::fakes

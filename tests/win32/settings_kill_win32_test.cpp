// The settings save killed at random moments: a process that saves is ended
// with TerminateProcess at a random point of its save, a hundred times. The
// file must then hold the whole old or the whole new settings, byte for
// byte, and nothing left beside it may pass for the settings at the next
// start.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/win32/ansi_codec_win32.h"
#include "platform/win32/file_store_win32.h"
#include "platform/win32/module_path.h"
#include "scratch_folder.h"
#include "settings_variants.h"
#include "shell/settings_file.h"

namespace vexlo::platform::win32 {
namespace {

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

std::u16string number(unsigned long value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

double seconds() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One run of the saving process, ended by TerminateProcess `killAfter`
// seconds after it said it is about to save (never, when negative).
struct SaveRun {
  bool started = false;
  bool finishedBeforeKill = false;
  double saveSeconds = 0;  // ready to done, when it got there
  std::string trouble;     // what went wrong around the save, for the failure message
};

std::string lastError(const char* what) {
  return std::string(what) + " (error " + std::to_string(GetLastError()) + ")";
}

SaveRun runSave(const std::u16string& path, int variant, double killAfter) {
  static unsigned long serial = 0;
  const std::u16string suffix = number(GetCurrentProcessId()) + u"-" + number(++serial);
  const std::u16string readyName = u"Local\\vexlo-save-ready-" + suffix;
  const std::u16string doneName = u"Local\\vexlo-save-done-" + suffix;
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, wide(readyName));
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, wide(doneName));
  const std::u16string program = executableDirectory() + u"\\vexlo_save_settings.exe";
  std::u16string commandLine =
      u"\"" + program + u"\" \"" + path + u"\" " + number(variant) + u" " + readyName + u" " + doneName;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  SaveRun run;
  // Under Wine on a loaded machine the start of this process has failed
  // once at the first try; the save is what is tested here, not the start,
  // so a failed start is tried again (and its error kept for the message).
  if (!ready || !done) {
    run.trouble = lastError("CreateEvent failed");
  } else {
    for (int attempt = 0; attempt < 3 && !run.started; ++attempt) {
      if (attempt > 0) Sleep(250);
      run.started = CreateProcessW(wide(program), reinterpret_cast<wchar_t*>(commandLine.data()), nullptr, nullptr,
                                   FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process) != 0;
    }
    if (!run.started) run.trouble = lastError("CreateProcess failed 3 times");
  }
  if (run.started) {
    run.started = WaitForSingleObject(ready, 30000) == WAIT_OBJECT_0;
    if (!run.started) run.trouble = lastError("the saving process never said it is ready");
    const double readyAt = seconds();
    if (run.started && killAfter >= 0) {
      while (seconds() - readyAt < killAfter) {
      }
      TerminateProcess(process.hProcess, 9);
    }
    WaitForSingleObject(process.hProcess, 30000);
    run.finishedBeforeKill = WaitForSingleObject(done, 0) == WAIT_OBJECT_0;
    if (killAfter < 0 && run.finishedBeforeKill) run.saveSeconds = seconds() - readyAt;
    DWORD exitCode = 0;
    if (killAfter < 0 && GetExitCodeProcess(process.hProcess, &exitCode) && exitCode != 0)
      run.trouble +=
          (run.trouble.empty() ? "" : "; ") + std::string("the saving process ended with ") + std::to_string(exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(ready);
  CloseHandle(done);
  return run;
}

class SettingsKillTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.made()); }

  // Everything in the folder other than the settings file.
  std::vector<std::u16string> otherFiles() const {
    std::vector<std::u16string> names = folder_.names();
    std::erase(names, u"Vexlo.ini");
    return names;
  }

  win32_tests::ScratchFolder folder_{u"kill"};
  std::u16string path_ = shell::settingsPath(folder_.path());
  FileStoreWin32 store_;
  AnsiCodecWin32 codec_;
};

TEST_F(SettingsKillTest, AHundredKillsDuringTheSaveLeaveTheOldOrTheNewFileWhole) {
  constexpr int kRuns = 100;
  ASSERT_TRUE(store_.writeAtomically(path_, shell::writeSettings("", win32_tests::settingsVariant(1), codec_)));

  // How long a whole save takes here, so that the kills spread over it.
  std::vector<double> durations;
  for (int i = 0; i < 3; ++i) {
    SaveRun run = runSave(path_, i % 2, -1);
    ASSERT_TRUE(run.started && run.finishedBeforeKill) << "the saving process did not save: " << run.trouble;
    durations.push_back(run.saveSeconds);
  }
  std::sort(durations.begin(), durations.end());
  const double saveSeconds = durations[1];

  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> moment(0.0, 1.5 * saveSeconds);
  int old = 0, fresh = 0, leftovers = 0, finished = 0;
  for (int i = 0; i < kRuns; ++i) {
    const std::optional<std::string> before = store_.read(path_);
    ASSERT_TRUE(before) << "run " << i;
    // Whichever settings the file does not hold now.
    int variant = 0;
    std::string after = shell::writeSettings(*before, win32_tests::settingsVariant(variant), codec_);
    if (after == *before) after = shell::writeSettings(*before, win32_tests::settingsVariant(variant = 1), codec_);
    ASSERT_TRUE(after != *before);

    const SaveRun run = runSave(path_, variant, moment(random));
    ASSERT_TRUE(run.started) << "run " << i << ": " << run.trouble;
    finished += run.finishedBeforeKill;

    const std::optional<std::string> now = store_.read(path_);
    ASSERT_TRUE(now) << "run " << i << ": the settings file is missing (seed " << seed << ")";
    if (*now == *before) {
      ++old;
    } else if (*now == after) {
      ++fresh;
    } else {
      FAIL() << "run " << i << ": the settings file holds " << now->size() << " bytes, neither the old "
             << before->size() << " nor the new " << after.size() << " (seed " << seed << ")";
    }
    // A write cut short leaves its temporary, named so that no start reads
    // it; the next save replaces it.
    for (const std::u16string& name : otherFiles()) {
      EXPECT_EQ(name, u"Vexlo.ini.tmp") << "run " << i;
      ++leftovers;
    }
  }
  // The next start reads the whole file, and the next save clears the way.
  const shell::StoredSettings restored = shell::readSettings(*store_.read(path_), codec_);
  EXPECT_EQ(restored.emoticons.size(), 400u);
  ASSERT_TRUE(store_.writeAtomically(
      path_, shell::writeSettings(*store_.read(path_), win32_tests::settingsVariant(0), codec_)));
  EXPECT_TRUE(otherFiles().empty());

  EXPECT_EQ(old + fresh, kRuns);
  std::printf(
      "kill during save: %d runs (a save takes %.1f ms here; kills spread over 0..%.1f ms, seed %u): "
      "%d old file, %d new file, 0 damaged; %d temporaries left behind; %d saves ended before the kill\n",
      kRuns, saveSeconds * 1000, 1.5 * saveSeconds * 1000, seed, old, fresh, leftovers, finished);
  RecordProperty("old", old);
  RecordProperty("new", fresh);
  RecordProperty("leftoverTemporaries", leftovers);
}

}  // namespace
}  // namespace vexlo::platform::win32

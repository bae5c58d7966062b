// Measures how long a program takes from process creation to a visible
// top-level window against a yardstick program, alternating between them so
// that both see the same machine state. A measurement for scripts/measure-startup.sh, not a test.
//
//   measure_startup.exe <report file> <pairs> <measured.exe> <yardstick.exe> [--until-idle]
//
// With --until-idle, a start lasts until the program has shown a window and
// then waits for input with nothing left to do: its whole start, windows it
// shows after its first included.
//
// After one unmeasured warm-up pair, each pair times one start of each
// program and their ratio. A program that does not end by itself once its
// window shows is terminated: a single-instance program must be gone before
// its next start.
#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Owner {
  DWORD processId;
  bool found;
};

BOOL CALLBACK checkWindow(HWND window, LPARAM parameter) {
  auto* owner = reinterpret_cast<Owner*>(parameter);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == owner->processId && IsWindowVisible(window)) {
    owner->found = true;
    return FALSE;
  }
  return TRUE;
}

std::string toUtf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string result(size > 0 ? size - 1 : 0, '\0');
  if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
  return result;
}

// Milliseconds from CreateProcessW to the first visible window (and then to
// the first wait for input, when asked), or -1.
double timeOneStart(const std::wstring& program, const std::wstring& extraArguments, bool untilIdle) {
  std::wstring commandLine = L"\"" + program + L"\"" + extraArguments;
  std::wstring folder = program.substr(0, program.find_last_of(L"\\/"));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER frequency, begin, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&begin);
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process)) {
    return -1;
  }
  double elapsed = -1;
  Owner owner{process.dwProcessId, false};
  for (;;) {
    EnumWindows(checkWindow, reinterpret_cast<LPARAM>(&owner));
    QueryPerformanceCounter(&now);
    const double ms = 1000.0 * (now.QuadPart - begin.QuadPart) / frequency.QuadPart;
    if (owner.found) {
      if (untilIdle && WaitForInputIdle(process.hProcess, 30000) != 0) break;
      QueryPerformanceCounter(&now);
      elapsed = 1000.0 * (now.QuadPart - begin.QuadPart) / frequency.QuadPart;
      break;
    }
    if (ms > 30000 || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) break;
    Sleep(1);
  }
  if (WaitForSingleObject(process.hProcess, 3000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    // Under Wine a killed process's notification-area icon delays the next
    // program's first window by about 2 s while the tray gives up on it;
    // that is not the next program's start-up, so let it pass first.
    Sleep(3000);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

double median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 5) return 2;
  const int pairs = std::max(1, _wtoi(arguments[2]));
  const std::wstring measured = arguments[3];
  const std::wstring yardstick = arguments[4];
  const bool untilIdle = count > 5 && std::wstring(arguments[5]) == L"--until-idle";

  // minimal_window.exe ends by itself when asked; others are terminated.
  auto extraArgumentsFor = [](const std::wstring& program) {
    return program.find(L"minimal_window") != std::wstring::npos ? std::wstring(L" --exit-when-shown") : std::wstring();
  };
  auto startOf = [&](const std::wstring& program) {
    return timeOneStart(program, extraArgumentsFor(program), untilIdle);
  };

  // The first pair warms wineserver and the file cache and is dropped. Each
  // pair then runs both programs back to back, so that both meet the same
  // machine state, and its ratio is taken within the pair.
  startOf(measured);
  startOf(yardstick);
  std::vector<double> measuredTimes, yardstickTimes, ratios;
  bool allStarted = true;
  for (int pair = 0; pair < pairs; ++pair) {
    const double a = startOf(measured);
    const double b = startOf(yardstick);
    allStarted = allStarted && a >= 0 && b >= 0;
    measuredTimes.push_back(a);
    yardstickTimes.push_back(b);
    if (a >= 0 && b > 0) ratios.push_back(a / b);
  }

  FILE* report = _wfopen(arguments[1], L"w");
  if (!report) return 3;
  auto fileName = [](const std::wstring& program) { return program.substr(program.find_last_of(L"\\/") + 1); };
  // Two copies of one program are told apart by their folders.
  const bool sameName = fileName(measured) == fileName(yardstick);
  auto line = [&](const std::wstring& program, const std::vector<double>& times) {
    const std::wstring folder = program.substr(0, program.find_last_of(L"\\/"));
    const std::wstring name = sameName ? fileName(folder) + L"\\" + fileName(program) : fileName(program);
    std::fprintf(report, "%s: median %.0f ms, runs:", toUtf8(name).c_str(), median(times));
    for (double t : times) std::fprintf(report, " %.0f", t);
    std::fprintf(report, "\n");
  };
  line(measured, measuredTimes);
  line(yardstick, yardstickTimes);
  std::fprintf(report, "ratio: median %.2f over %zu pairs, pairs:", median(ratios), ratios.size());
  for (double r : ratios) std::fprintf(report, " %.2f", r);
  std::fprintf(report, "\n");
  std::fclose(report);
  return allStarted ? 0 : 1;
}

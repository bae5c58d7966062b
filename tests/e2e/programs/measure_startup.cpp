// Measures how long programs take from process creation to a visible
// top-level window, alternating between them so that both see the same
// machine state. A measurement for scripts/measure-startup.sh, not a test.
//
//   measure_startup.exe <report file> <runs> <program.exe> [<program.exe> ...]
//
// Every start after one unmeasured warm-up start per program is timed. A
// program that does not end by itself once its window shows is terminated:
// a single-instance program must be gone before its next start.
#include <windows.h>
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

// Milliseconds from CreateProcessW to the first visible window, or -1.
double timeOneStart(const std::wstring& program, const std::wstring& extraArguments) {
  std::wstring commandLine = L"\"" + program + L"\"" + extraArguments;
  std::wstring folder = program.substr(0, program.find_last_of(L"\\/"));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER frequency, begin, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&begin);
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process)) {
    return -1;
  }
  double elapsed = -1;
  Owner owner{process.dwProcessId, false};
  for (;;) {
    EnumWindows(checkWindow, reinterpret_cast<LPARAM>(&owner));
    QueryPerformanceCounter(&now);
    const double ms = 1000.0 * (now.QuadPart - begin.QuadPart) / frequency.QuadPart;
    if (owner.found) {
      elapsed = ms;
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
  if (!arguments || count < 4) return 2;
  const int runs = std::max(1, _wtoi(arguments[2]));
  std::vector<std::wstring> programs(arguments + 3, arguments + count);

  // minimal_window.exe ends by itself when asked; others are terminated.
  auto extraArgumentsFor = [](const std::wstring& program) {
    return program.find(L"minimal_window") != std::wstring::npos ? std::wstring(L" --exit-when-shown")
                                                                 : std::wstring();
  };

  for (const auto& program : programs) timeOneStart(program, extraArgumentsFor(program));
  std::vector<std::vector<double>> times(programs.size());
  for (int run = 0; run < runs; ++run) {
    for (size_t i = 0; i < programs.size(); ++i) {
      times[i].push_back(timeOneStart(programs[i], extraArgumentsFor(programs[i])));
    }
  }

  FILE* report = _wfopen(arguments[1], L"w");
  if (!report) return 3;
  std::vector<double> medians;
  for (size_t i = 0; i < programs.size(); ++i) {
    const std::wstring name = programs[i].substr(programs[i].find_last_of(L"\\/") + 1);
    std::fprintf(report, "%s: median %.0f ms, runs:", toUtf8(name).c_str(), median(times[i]));
    for (double t : times[i]) std::fprintf(report, " %.0f", t);
    std::fprintf(report, "\n");
    medians.push_back(median(times[i]));
  }
  if (medians.size() >= 2 && medians[1] > 0) {
    std::fprintf(report, "ratio %s / %s: %.2f\n",
                 toUtf8(programs[0].substr(programs[0].find_last_of(L"\\/") + 1)).c_str(),
                 toUtf8(programs[1].substr(programs[1].find_last_of(L"\\/") + 1)).c_str(),
                 medians[0] / medians[1]);
  }
  std::fclose(report);
  const bool allStarted = std::none_of(times.begin(), times.end(), [](const std::vector<double>& t) {
    return std::any_of(t.begin(), t.end(), [](double v) { return v < 0; });
  });
  return allStarted ? 0 : 1;
}

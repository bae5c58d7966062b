// Counts the handles of the program that owns a window: kernel handles, GDI
// objects, USER objects and windows. A measurement for scripts/soak.sh, not
// a test.
//
//   handle_counts.exe <window class> <report file>
//
// Appends one line to the report: "kernel=N gdi=N user=N windows=N".
// Windows answers GetProcessHandleCount and GetGuiResources. Wine 8 answers
// neither (both give 0), so there the kernel handles are counted in the
// system's handle list and the GDI objects in the process's own GDI handle
// table (PEB GdiSharedHandleTable), read from outside; Wine keeps USER
// objects in its server, where nothing can count them: "user" is then "-"
// and the windows stand in for them. Exit code 0 when the window was found.
#include <windows.h>
#include <shellapi.h>
#include <winternl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct ExtendedHandle {
  PVOID object;
  ULONG_PTR processId;
  ULONG_PTR handle;
  ULONG grantedAccess;
  USHORT creatorBackTraceIndex;
  USHORT objectTypeIndex;
  ULONG attributes;
  ULONG reserved;
};

struct ExtendedHandles {
  ULONG_PTR count;
  ULONG_PTR reserved;
  ExtendedHandle handles[1];
};

constexpr ULONG kSystemExtendedHandleInformation = 64;
constexpr SIZE_T kGdiTableOffsetInPeb = 0xF8;  // 64-bit PEB

// One entry of the GDI handle table as Wine lays it out (24 bytes).
struct GdiEntry {
  UINT64 object;
  ULONG owner;
  USHORT unique;
  UCHAR type;
  UCHAR flags;
  UINT64 userPointer;
};

template <class Function>
Function ntdll(const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

long kernelHandles(HANDLE process, DWORD processId) {
  DWORD count = 0;
  if (GetProcessHandleCount(process, &count) && count > 0) return static_cast<long>(count);
  using Query = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
  auto query = ntdll<Query>("NtQuerySystemInformation");
  if (!query) return -1;
  std::vector<char> buffer(1 << 20);
  ULONG needed = 0;
  NTSTATUS status;
  while ((status = query(kSystemExtendedHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                         &needed)) != 0 &&
         buffer.size() < (1u << 28)) {
    buffer.resize(buffer.size() * 4);
  }
  if (status != 0) return -1;
  const auto* list = reinterpret_cast<const ExtendedHandles*>(buffer.data());
  long mine = 0;
  for (ULONG_PTR i = 0; i < list->count; ++i)
    if (list->handles[i].processId == processId) ++mine;
  return mine;
}

long gdiObjects(HANDLE process) {
  if (DWORD count = GetGuiResources(process, GR_GDIOBJECTS)) return static_cast<long>(count);
  using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  auto query = ntdll<QueryProcess>("NtQueryInformationProcess");
  PROCESS_BASIC_INFORMATION basic{};
  if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return -1;
  UINT64 table = 0;
  if (!ReadProcessMemory(process, static_cast<char*>(static_cast<void*>(basic.PebBaseAddress)) + kGdiTableOffsetInPeb,
                         &table, sizeof table, nullptr) ||
      table == 0) {
    return -1;
  }
  MEMORY_BASIC_INFORMATION region{};
  if (!VirtualQueryEx(process, reinterpret_cast<void*>(table), &region, sizeof region)) return -1;
  std::vector<GdiEntry> entries(region.RegionSize / sizeof(GdiEntry));
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<void*>(table), entries.data(), entries.size() * sizeof(GdiEntry),
                         &read)) {
    return -1;
  }
  long used = 0;
  for (const GdiEntry& entry : entries)
    if (entry.type != 0) ++used;
  return used;
}

struct WindowCount {
  DWORD processId;
  long count;
};

BOOL CALLBACK countChild(HWND, LPARAM parameter) {
  ++reinterpret_cast<WindowCount*>(parameter)->count;
  return TRUE;
}

BOOL CALLBACK countTopLevel(HWND window, LPARAM parameter) {
  auto* windows = reinterpret_cast<WindowCount*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != windows->processId) return TRUE;
  ++windows->count;
  EnumChildWindows(window, countChild, parameter);
  return TRUE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 3) return 2;
  HWND window = FindWindowW(arguments[1], nullptr);
  if (!window) return 1;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
  if (!process) return 1;

  WindowCount windows{processId, 0};
  EnumWindows(countTopLevel, reinterpret_cast<LPARAM>(&windows));
  const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
  const std::string userText = user ? std::to_string(user) : "-";
  FILE* report = _wfopen(arguments[2], L"a");
  if (!report) return 3;
  std::fprintf(report, "kernel=%ld gdi=%ld user=%s windows=%ld\n", kernelHandles(process, processId),
               gdiObjects(process), userText.c_str(), windows.count);
  std::fclose(report);
  CloseHandle(process);
  return 0;
}

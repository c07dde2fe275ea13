// Measures netset against the baseline program inside the test bed, and prints one line per run
// for tests/bench/bench_report.py to summarise:
//   startup PROGRAM RUN MILLISECONDS final=0|1       (final: the report box held its last text)
//   memory PROGRAM RUN PEAK_WORKING_SET PRIVATE_BYTES
//   apply RUN SCRIPT_MILLISECONDS BOX_MILLISECONDS   (from the click of 设置)
//   apply-na REASON
//   note TEXT
// Each start-up is timed from just before CreateProcess to the first sight of the visible main
// window whose report box is not empty; both programs fill the box before showing the window.
//
//   measure --netset EXE --baseline EXE [--runs N] [--warmup N] [--apply N]
// The apply runs need the stand-in script host in place of the system's (see stand_in_wscript.cpp).
#include <windows.h>
// clang-format off
#include <psapi.h>
#include <iphlpapi.h>
// clang-format on

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "driver.h"

namespace {

constexpr int kReportId = 100;
constexpr int kAddressBoxIds[] = {130, 150, 170, 190, 210};
constexpr int kApplyButtonId = 220;
// Documentation addresses: the stand-in script host applies nothing.
constexpr const char* kAddressValues[] = {"192.0.2.50", "255.255.255.0", "192.0.2.1", "192.0.2.53",
                                          "198.51.100.53"};
constexpr char kSuccessText[] = "\xC9\xE8\xD6\xC3\xB3\xC9\xB9\xA6";  // 设置成功 in code page 936
constexpr char kScriptStartedEvent[] = "NetsetBenchScriptStarted";
constexpr DWORD kPatience = 30000;

struct Target {
  const char* name;
  std::string exe;
  const char* windowClass;
};

LARGE_INTEGER frequency;

long long Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}
double Milliseconds(long long from, long long to) {
  return static_cast<double>(to - from) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Every poll is a round trip to the Wine server, as short as it can be; one per millisecond.
HWND VisibleWindowOf(DWORD processId, const char* windowClass) {
  for (HWND window = FindWindowExA(nullptr, nullptr, windowClass, nullptr); window;
       window = FindWindowExA(nullptr, window, windowClass, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

long long TextLength(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return -1;
  return static_cast<long long>(length);
}

struct Shown {
  HWND window = nullptr;
  double milliseconds = 0;
  std::string report;
};

// Waits for the visible main window with a non-empty report; the time is that of the sighting.
Shown WaitUntilShown(const Program& program, const Target& target, long long started) {
  Shown shown;
  for (;;) {
    const long long seen = Now();
    if (HWND window = VisibleWindowOf(program.id, target.windowClass)) {
      if (TextLength(GetDlgItem(window, kReportId)) > 0) {
        shown.window = window;
        shown.milliseconds = Milliseconds(started, seen);
        shown.report = TextOf(GetDlgItem(window, kReportId));
        return shown;
      }
    }
    if (Milliseconds(started, seen) > kPatience || !program.Running()) return shown;
    Sleep(1);
  }
}

void Close(const Program& program, HWND window, const char* name) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  if (!program.WaitForExit(10000)) {
    std::printf("note %s did not end within 10 s of WM_CLOSE; terminated\n", name);
    TerminateProcess(program.process.get(), 1);
  }
}

bool MeasureStartup(const Target& target, int run, bool record) {
  const long long started = Now();
  Program program = Start(target.exe);
  if (!program.process) {
    std::printf("note %s could not be started (error %lu)\n", target.name, GetLastError());
    return false;
  }
  const Shown shown = WaitUntilShown(program, target, started);
  if (!shown.window) {
    std::printf("note %s showed no window with a report within %lu ms\n", target.name, kPatience);
    TerminateProcess(program.process.get(), 1);
    return false;
  }
  // Memory as the user would leave it: painted and idle.
  WaitForInputIdle(program.process.get(), 5000);
  Sleep(200);
  const bool final = TextOf(GetDlgItem(shown.window, kReportId)) == shown.report;
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  const bool haveMemory = GetProcessMemoryInfo(
      program.process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  Close(program, shown.window, target.name);
  if (!record) return true;
  std::printf("startup %s %d %.3f final=%d\n", target.name, run, shown.milliseconds, final ? 1 : 0);
  if (haveMemory) {
    // Wine leaves PrivateUsage empty for another process; its PagefileUsage is the same figure
    // on Windows (the private commit), and Wine fills that one from the process's anonymous
    // memory.
    const SIZE_T privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    std::printf("memory %s %d %llu %llu\n", target.name, run,
                static_cast<unsigned long long>(memory.PeakWorkingSetSize),
                static_cast<unsigned long long>(privateBytes));
  }
  std::fflush(stdout);
  return true;
}

// Gives every adapter a connection name, so that both programs really read one.
void SeedConnectionNames() {
  ULONG size = 0;
  if (GetAdaptersInfo(nullptr, &size) != ERROR_BUFFER_OVERFLOW) return;
  std::string buffer(size, '\0');
  auto* first = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
  if (GetAdaptersInfo(first, &size) != ERROR_SUCCESS) return;
  int count = 0;
  for (const IP_ADAPTER_INFO* info = first; info; info = info->Next) {
    const std::string key = std::string(
                                "SYSTEM\\CurrentControlSet\\Control\\Network\\"
                                "{4D36E972-E325-11CE-BFC1-08002BE10318}\\") +
                            info->AdapterName + "\\Connection";
    // 本地连接 N
    const std::string name = "\xB1\xBE\xB5\xD8\xC1\xAC\xBD\xD3 " + std::to_string(++count);
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS) {
      continue;
    }
    RegSetValueExA(handle, "Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                   static_cast<DWORD>(name.size() + 1));
    RegCloseKey(handle);
  }
  std::printf("adapters %d\n", count);
}

std::string ReadStamp(const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  char digits[32] = {};
  DWORD read = 0;
  ReadFile(file.get(), digits, sizeof digits - 1, &read, nullptr);
  return std::string(digits, read);
}

HWND MessageBoxOf(DWORD processId) {
  return VisibleWindowOf(processId, "#32770");
}

// One click of 设置 with five valid values: the times until the script host runs and until the
// success message shows. False, after saying why, when the command does not get that far.
bool MeasureApply(const Target& netset, int run, bool record, HANDLE scriptStarted,
                  const std::string& stampPath) {
  const long long started = Now();
  Program program = Start(netset.exe);
  const Shown shown = WaitUntilShown(program, netset, started);
  if (!shown.window) {
    std::printf("apply-na the program showed no window\n");
    if (program.process) TerminateProcess(program.process.get(), 1);
    return false;
  }
  for (int i = 0; i < 5; ++i) {
    DWORD_PTR ignored;
    SendMessageTimeoutA(ControlOf(shown.window, kAddressBoxIds[i]), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(kAddressValues[i]), SMTO_ABORTIFHUNG, 5000, &ignored);
  }
  HWND button = ControlOf(shown.window, kApplyButtonId);
  WaitForInputIdle(program.process.get(), 5000);
  ResetEvent(scriptStarted);
  DeleteFileA(stampPath.c_str());

  // Posted, not sent: the click runs the whole command, message box included, before it returns.
  const long long clicked = Now();
  PostMessageA(button, BM_CLICK, 0, 0);
  const bool scriptRan = WaitForSingleObject(scriptStarted, 10000) == WAIT_OBJECT_0;
  HWND box = nullptr;
  long long boxSeen = 0;
  while (!box && Milliseconds(clicked, boxSeen = Now()) < 10000) {
    if (!(box = MessageBoxOf(program.id))) Sleep(1);
  }
  bool measured = false;
  if (!scriptRan) {
    std::printf("apply-na the script host was not started within 10 s of the click\n");
  } else if (!box) {
    std::printf("apply-na no message box within 10 s of the click\n");
  } else {
    Sleep(50);  // the box finishes laying itself out
    const std::string text = TextOf(GetDlgItem(box, 0xFFFF));
    const long long stamp = std::atoll(ReadStamp(stampPath).c_str());
    if (text != kSuccessText) {
      std::printf("apply-na the message box did not report success\n");
    } else if (stamp < clicked) {
      std::printf("apply-na the script host left no time stamp after the click\n");
    } else {
      if (record)
        std::printf("apply %d %.3f %.3f\n", run, Milliseconds(clicked, stamp),
                    Milliseconds(clicked, boxSeen));
      measured = true;
    }
  }
  if (box) {
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 200 && IsWindow(box); ++i) Sleep(10);
  }
  Close(program, shown.window, netset.name);
  std::fflush(stdout);
  return measured;
}

const char* Argument(int argc, char** argv, const char* name, const char* fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], name) == 0) return argv[i + 1];
  }
  return fallback;
}

}  // namespace

int main(int argc, char** argv) {
  QueryPerformanceFrequency(&frequency);
  const Target netset{"netset", Argument(argc, argv, "--netset", ""), "NetsetMainWindow"};
  const Target baseline{"baseline", Argument(argc, argv, "--baseline", ""), "NetsetBaselineWindow"};
  const int runs = std::atoi(Argument(argc, argv, "--runs", "15"));
  const int warmup = std::atoi(Argument(argc, argv, "--warmup", "2"));
  const int applyRuns = std::atoi(Argument(argc, argv, "--apply", "0"));
  if (netset.exe.empty() || baseline.exe.empty()) {
    std::fprintf(stderr, "usage: measure --netset EXE --baseline EXE [--runs N] [--warmup N] [--apply N]\n");
    return 2;
  }
  SeedConnectionNames();

  // The first starts in a fresh prefix load what later ones find in the cache: not counted.
  for (int i = 0; i < warmup; ++i) {
    MeasureStartup(netset, i, false);
    MeasureStartup(baseline, i, false);
  }
  // Alternating, each program first in every other round, so that a drift of the machine's load
  // falls on both alike.
  int failures = 0;
  for (int run = 0; run < runs; ++run) {
    const Target& first = run % 2 ? baseline : netset;
    const Target& second = run % 2 ? netset : baseline;
    failures += !MeasureStartup(first, run, true);
    failures += !MeasureStartup(second, run, true);
  }

  if (applyRuns > 0) {
    char stamp[MAX_PATH];
    GetTempPathA(sizeof stamp, stamp);
    const std::string stampPath = std::string(stamp) + "netset-bench-stamp.txt";
    SetEnvironmentVariableA("NETSET_BENCH_STAMP", stampPath.c_str());
    KernelHandle scriptStarted(CreateEventA(nullptr, TRUE, FALSE, kScriptStartedEvent));
    // The first run, which loads the script host's image for the first time, is not counted.
    for (int run = -1; run < applyRuns; ++run) {
      if (!MeasureApply(netset, run, run >= 0, scriptStarted.get(), stampPath)) break;
    }
  }
  return failures == 0 ? 0 : 1;
}

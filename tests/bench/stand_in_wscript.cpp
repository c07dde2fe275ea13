// Takes the place of the system's script host while the apply path is measured. The first thing
// it does is read the performance counter, which every process of the machine shares, so the
// measuring driver can tell when the script was started; then it hands that reading over and
// exits at once, as a script that changed nothing would.
//   NETSET_BENCH_STAMP  file that receives the counter reading, in decimal
// It signals the event "NetsetBenchScriptStarted" when the driver has created it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  char path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableA("NETSET_BENCH_STAMP", path, sizeof path);
  if (length > 0 && length < sizeof path) {
    char digits[32];
    const int count = wsprintfA(digits, "%I64d", now.QuadPart);
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, digits, static_cast<DWORD>(count), &written, nullptr);
      CloseHandle(file);
    }
  }
  if (HANDLE started = OpenEventA(EVENT_MODIFY_STATE, FALSE, "NetsetBenchScriptStarted")) {
    SetEvent(started);
    CloseHandle(started);
  }
  return 0;
}

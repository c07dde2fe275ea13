// Stands in for the system's script host in the tests. It records how it was started and the
// exact bytes of the script it was given, can hold on until the test lets it go, and exits with
// the code the test asks for.
//   NETSET_CAPTURE_DIR   where it records: runs.txt (one line per start), script.bin, command.txt,
//                        directory.txt
//   NETSET_CAPTURE_EXIT  its exit code (default 0)
// If the event "NetsetCaptureRelease" exists it signals "NetsetCaptureStarted" and waits for it.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Env(const char* name) {
  char value[1024];
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length && length < sizeof value ? std::string(value, length) : std::string();
}

void Write(const std::string& path, const std::string& bytes, bool append) {
  HANDLE file = CreateFileA(path.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            append ? OPEN_ALWAYS : CREATE_ALWAYS, 0, nullptr);
  DWORD written;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// The script path: the command line's last quoted argument.
std::string ScriptPath(const std::string& commandLine) {
  const std::size_t end = commandLine.rfind('"');
  const std::size_t start = end == std::string::npos ? end : commandLine.rfind('"', end - 1);
  return start == std::string::npos ? std::string() : commandLine.substr(start + 1, end - start - 1);
}

std::string ReadAll(const std::string& path) {
  // As a script host does: reading, letting others read.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<cannot open>";
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

}  // namespace

int main() {
  const std::string dir = Env("NETSET_CAPTURE_DIR");
  const std::string commandLine = GetCommandLineA();
  char cwd[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, cwd);
  if (!dir.empty()) {
    Write(dir + "\\script.bin", ReadAll(ScriptPath(commandLine)), false);
    Write(dir + "\\command.txt", commandLine, false);
    Write(dir + "\\directory.txt", cwd, false);
    Write(dir + "\\runs.txt", "run\n", true);
  }
  if (HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, "NetsetCaptureRelease")) {
    if (HANDLE started = OpenEventA(EVENT_MODIFY_STATE, FALSE, "NetsetCaptureStarted")) {
      SetEvent(started);
      CloseHandle(started);
    }
    WaitForSingleObject(release, 60000);
    CloseHandle(release);
  }
  return std::atoi(Env("NETSET_CAPTURE_EXIT").c_str());
}

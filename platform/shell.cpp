#include "platform/shell.h"

#include <vector>

#include "platform/files.h"

KernelHandle StartScriptHost(const std::string& scriptPath) {
  const std::string systemDirectory = SystemDirectory();
  if (systemDirectory.empty()) return {};
  const std::string host = systemDirectory + "\\wscript.exe";
  const std::string commandLine = "\"" + host + "\" \"" + scriptPath + "\"";
  std::vector<char> mutableCommandLine(commandLine.begin(), commandLine.end());
  mutableCommandLine.push_back('\0');  // CreateProcessA may write into it

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(host.c_str(), mutableCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      systemDirectory.c_str(), &startup, &started)) {
    return {};
  }
  CloseHandle(started.hThread);
  return KernelHandle(started.hProcess);
}

std::uint32_t ExitCodeOf(const KernelHandle& process) {
  DWORD code = 0;
  if (!GetExitCodeProcess(process.get(), &code)) return static_cast<std::uint32_t>(-1);
  return code;
}

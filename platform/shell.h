#pragma once
// Starting the configuration script. It runs with this process's administrator rights, so it is
// never handed to whatever program the file type is associated with (any program of the user can
// change that association): the system's own script host runs it.
#include <cstdint>
#include <string>

#include "platform/handle.h"

// wscript.exe from the system directory on the script, shown normally, started in the system
// directory. The process handle, or none when it cannot be started.
KernelHandle StartScriptHost(const std::string& scriptPath);

// The exit code of a process that has ended.
std::uint32_t ExitCodeOf(const KernelHandle& process);

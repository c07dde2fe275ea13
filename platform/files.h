#pragma once
// Files and the process: paths of the program and the system, and the script file's life.
#include <string>
#include <string_view>

#include "platform/handle.h"

// Restricts where this process looks for DLLs to the system directory. Without the 2011 loader
// update Windows 7 lacks the function; the program then still binds its one run-time library by
// full path.
void LimitDllSearchToSystemDirectory();

// GetSystemDirectoryA, whatever its length.
std::string SystemDirectory();

// The full path of the program file, read whole whatever its length; empty if it cannot be read
// whole (a cut path would name a parent directory).
std::string ProgramFilePath();

// Removes a file or a link of that name; directories and files in use stay.
void RemoveFileOrLink(const std::string& path);

// Creates a new file (never opening an existing one, nor following a link of that name) and
// writes all bytes. False if any of that fails; a partly written file is removed again.
bool CreateNewFile(const std::string& path, std::string_view bytes);

// Opens the file read-only, sharing only reading: while the handle is open nobody can write,
// rename or delete the file. Valid only if the file holds exactly `bytes`.
FileHandle OpenLockedIfUnchanged(const std::string& path, std::string_view bytes);

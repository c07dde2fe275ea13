#pragma once
#include <string>

// The directory part of the program file's path: everything before its last backslash, found
// character by character in the ANSI code page, so that the trail byte of a double-byte
// character (0x5C in 乗) is never taken for a backslash. No backslash at all gives "".
std::string CutRunDirectory(const std::string& programPath);

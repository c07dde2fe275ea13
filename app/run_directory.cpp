#include "app/run_directory.h"

#include <windows.h>

std::string CutRunDirectory(const std::string& programPath) {
  std::size_t lastBackslash = std::string::npos;
  for (std::size_t at = 0; at < programPath.size();) {
    if (programPath[at] == '\\') lastBackslash = at;
    at += (IsDBCSLeadByte(static_cast<BYTE>(programPath[at])) && at + 1 < programPath.size()) ? 2 : 1;
  }
  return lastBackslash == std::string::npos ? std::string() : programPath.substr(0, lastBackslash);
}

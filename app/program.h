#pragma once
// Process-wide state and the ways the program speaks to the user outside its window.
#include <string>

// While the event hold is above 0, events of the window and its controls are dropped.
void RaiseEventHold();
void LowerEventHold();
bool EventsHeld();

// The directory of the program file, without a trailing backslash; the script goes there.
const std::string& RunDirectory();
void SetRunDirectory(std::string directory);

// A message under the caption "信息：", task-modal unless system-modal is asked for; returns when
// the user has dismissed it.
void ShowMessageBox(const char* text, unsigned flags);

// Shows the fatal error box ("错误") and ends the program with exit code -1.
[[noreturn]] void ReportFatalError(const char* message);

// Releases what the run acquired and ends the process at once.
[[noreturn]] void EndProgram(int exitCode);

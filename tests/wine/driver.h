#pragma once
// Drives the real netset.exe from another process, as a user and as Windows would: starts it,
// finds its windows, reads their properties, types and clicks with real input, reads and answers
// its message boxes.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/handle.h"

// The bed's environment.
std::string BedEnv(const char* name);
// A Unix path as Wine's Z: drive names it.
std::string WinePath(const std::string& unixPath);
// The adapter name Wine gives the interface with this index inside a namespace.
std::string WineAdapterName(int interfaceIndex);

struct Program {
  KernelHandle process;
  DWORD id = 0;
  // The exit code, once it has ended within the time; nothing otherwise.
  std::optional<std::uint32_t> WaitForExit(DWORD milliseconds = 15000) const;
  bool Running() const;
};

// Starts `exe` with the given command line tail in `directory` (empty: this process's).
Program Start(const std::string& exe, const std::string& arguments = "", const std::string& directory = "");

// Copies the built program into `directory` (created) under `fileName`; returns its full path.
std::string InstallProgram(const std::string& directory, const std::string& fileName = "netset.exe");

// A visible top-level window of the process with this class, waited for.
HWND WaitForWindow(DWORD processId, const char* className, DWORD milliseconds = 15000);
HWND MainWindowOf(const Program& program);

std::string TextOf(HWND window);  // WM_GETTEXT, works across processes
std::string ClassOf(HWND window);
RECT RectIn(HWND window, HWND parent);  // the window's rectangle in the parent's client area
LONG_PTR StyleOf(HWND window);
LONG_PTR ExStyleOf(HWND window);

struct MessageBoxSeen {
  HWND box = nullptr;
  std::string caption;
  std::string text;
};
// A message box of the process, waited for; box is null if none came.
MessageBoxSeen WaitForMessageBox(DWORD processId, DWORD milliseconds = 15000);
// Presses OK on it as the user would (a real click on its button) and waits until it is gone.
void PressOk(const MessageBoxSeen& box);
// No message box of the process shows within the time.
bool NoMessageBoxFor(DWORD processId, DWORD milliseconds);

// Real keyboard input goes to whatever window is in the foreground.
void BringToFront(HWND window);
// A left click on a control of another process, at client coordinates (default the centre).
void ClickAt(HWND window, int x = -1, int y = -1);
void PressKey(WORD key, std::vector<WORD> modifiers = {});
void TypeText(const std::string& ascii);
// Lets the target process handle what was sent (it answers a message only when idle).
void Settle(HWND window, DWORD milliseconds = 300);

// The control of the main window with this identifier, wherever it sits in the tree.
HWND ControlOf(HWND mainWindow, int id);

// Gives a control of another process the keyboard focus, as its own click would. (Clicks that
// follow each other quickly are not always delivered at once under Wine's virtual desktop.)
void FocusControl(HWND window, HWND control);

// The window that has the keyboard focus in the thread that owns `window`.
HWND FocusIn(HWND window);

// Saves the whole screen as a BMP named `name` in the run's screenshot folder (NETSET_SCREENSHOTS).
void SaveScreenshot(const std::string& name);

#pragma once
// The events the program binds, and their handlers.
#include <windows.h>

enum class FormEvent { Created, WillBeDestroyed, SettingClicked };

// Runs the bound handler at once, on this thread; dropped while the event hold is raised, and a
// click also while an earlier click is still waiting for its script.
void RaiseEvent(FormEvent event);

// The created event: the caption, then the adapter report, while the window is still hidden.
void BuildAdapterReport();
// The will-be-destroyed event: the program ends with exit code 0.
[[noreturn]] void QuitOnClose();
// The clicked event of 设置.
void ApplyStaticSettings();

// While a click waits for its script, a close request is kept until the click has finished;
// true when this one was kept.
bool DeferCloseWhileApplying();

// True while a click waits for its script: the window shows the wait cursor.
bool ApplyingSettings();

// Every message of the main window goes here first.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The window's own keys, looked at before the focused control sees them; true when consumed.
bool HandleFormKey(const MSG& message);

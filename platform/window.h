#pragma once
// Small operations on windows of this process.
#include <string>

#include <windows.h>

// Appends at the end of an edit box whatever is selected, leaves the caret after the new text,
// and cannot be undone.
void AppendText(HWND edit, const std::string& text);

// The whole current text of a window, in the ANSI code page.
std::string WindowText(HWND window);

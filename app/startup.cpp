// Start-up, the main window's loading, the message loop and the end of the program.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "app/events.h"
#include "app/form.h"
#include "app/program.h"
#include "app/run_directory.h"
#include "platform/files.h"
#include "texts.h"

namespace {

// Dispatches what is waiting without taking part in it; a quit request stays for the loop.
void DispatchWaitingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// Builds the window hidden, with every event held, and shows it only once the created event has
// put the caption and the whole report in place.
void LoadMainWindow(HINSTANCE instance) {
  DispatchWaitingMessages();
  RaiseEventHold();
  if (!CreateForm(instance)) ReportFatalError(text::kFatalWindow);
  ShowControls();
  DispatchWaitingMessages();
  LowerEventHold();
  RaiseEvent(FormEvent::Created);
  if (IsWindow(MainWindow())) ShowWindow(MainWindow(), SW_SHOW);
}

int RunMessageLoop() {
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (HandleFormKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  LimitDllSearchToSystemDirectory();
  OleInitialize(nullptr);

  const std::string programPath = ProgramFilePath();
  if (programPath.empty()) ReportFatalError(text::kFatalProgramPath);
  SetRunDirectory(CutRunDirectory(programPath));
  SetCurrentDirectoryA(RunDirectory().c_str());

  INITCOMMONCONTROLSEX common{sizeof common, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common);
  if (!PrepareForm(instance)) ReportFatalError(text::kFatalTemplate);
  LoadMainWindow(instance);
  EndProgram(RunMessageLoop());
}

#include "app/program.h"

#include <windows.h>
#include <ole2.h>

#include <cstring>

#include "app/form.h"
#include "platform/iphelper.h"
#include "texts.h"

namespace {
int eventHold = 0;
std::string runDirectory;
}  // namespace

void RaiseEventHold() {
  ++eventHold;
}
void LowerEventHold() {
  --eventHold;
}
bool EventsHeld() {
  return eventHold > 0;
}

const std::string& RunDirectory() {
  return runDirectory;
}
void SetRunDirectory(std::string directory) {
  runDirectory = std::move(directory);
}

void ShowMessageBox(const char* text, unsigned flags) {
  if (!(flags & MB_SYSTEMMODAL)) flags |= MB_TASKMODAL;
  // A box without an owner does not hand the activation back when it goes; the user returns to
  // the window, and the box, where they were.
  HWND active = GetActiveWindow();
  HWND focus = GetFocus();
  MessageBoxA(nullptr, text, text::kMessageCaption, flags);
  if (active && IsWindow(active)) SetForegroundWindow(active);
  if (focus && IsWindow(focus)) SetFocus(focus);
}

void ReportFatalError(const char* message) {
  RaiseEventHold();
  // Built without the heap: this also reports that memory ran out.
  static char box[4096];
  const char* parts[] = {text::kFatalLead, message, "\r\n"};
  std::size_t used = 0;
  for (const char* part : parts) {
    const std::size_t length = std::min(std::strlen(part), sizeof box - 1 - used);
    std::memcpy(box + used, part, length);
    used += length;
  }
  box[used] = '\0';
  MessageBoxA(nullptr, box, text::kFatalCaption, MB_ICONERROR);
  EndProgram(-1);
}

void EndProgram(int exitCode) {
  RaiseEventHold();
  IpHelper::Release();
  ReleaseFormIcons();
  OleUninitialize();
  ExitProcess(static_cast<UINT>(exitCode));
}

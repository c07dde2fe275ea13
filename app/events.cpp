#include "app/events.h"

#include <optional>

#include "app/form.h"
#include "app/program.h"
#include "apply/apply_command.h"
#include "platform/files.h"
#include "platform/iphelper.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/window.h"
#include "report/adapter_report.h"
#include "texts.h"

namespace {

bool applying = false;
bool closeDeferred = false;
std::optional<int> quitDeferred;

// A message that the user aimed at the window while it waits: keys and clicks in it.
bool IsUserInputToForm(const MSG& message) {
  HWND main = MainWindow();
  if (message.hwnd != main && !IsChild(main, message.hwnd)) return false;
  if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) return true;
  return message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST &&
         message.message != WM_MOUSEMOVE;
}

// Waits for the script's process to end. The window keeps painting and shows the wait cursor;
// what the user types or clicks into it meanwhile is dropped, a close request is kept for later.
std::uint32_t WaitForScript(const KernelHandle& process) {
  HANDLE handle = process.get();
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  while (MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        quitDeferred = static_cast<int>(message.wParam);
        continue;
      }
      if (IsUserInputToForm(message)) continue;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  return ExitCodeOf(process);
}

struct WindowApplyOps {
  std::string ReadBox(int index) { return WindowText(Control(kAddressBoxes[index])); }
  void ShowMessage(const char* text, unsigned flags) { ShowMessageBox(text, flags); }
  std::string RunDirectory() { return ::RunDirectory(); }
  void RemoveExisting(const std::string& path) { RemoveFileOrLink(path); }
  bool CreateNew(const std::string& path, std::string_view bytes) { return CreateNewFile(path, bytes); }
  std::optional<FileHandle> LockAndVerify(const std::string& path, std::string_view bytes) {
    FileHandle file = OpenLockedIfUnchanged(path, bytes);
    if (!file) return std::nullopt;
    return file;
  }
  std::optional<KernelHandle> StartScript(const std::string& path) {
    KernelHandle process = StartScriptHost(path);
    if (!process) return std::nullopt;
    return process;
  }
  std::uint32_t WaitForExit(KernelHandle& process) {
    applying = true;
    const std::uint32_t code = WaitForScript(process);
    applying = false;
    return code;
  }
  void Delete(const std::string& path) { DeleteFileA(path.c_str()); }
};

void AppendAdapterReport() {
  if (!IpHelper::Bind()) {
    const std::string message = std::string(text::kFatalBindHead) + kIpHelperLibrary +
                                text::kFatalBindMiddle + kAdapterListFunction + text::kFatalBindTail;
    ReportFatalError(message.c_str());
  }
  IpHelper adapters;
  RegistryReader registry;
  HWND report = Control(编辑框1);
  AppendAdapterReport(adapters, registry, [report](const std::string& piece) { AppendText(report, piece); });
}

}  // namespace

void RaiseEvent(FormEvent event) {
  if (EventsHeld()) return;
  switch (event) {
    case FormEvent::Created:
      BuildAdapterReport();
      break;
    case FormEvent::WillBeDestroyed:
      QuitOnClose();
    case FormEvent::SettingClicked:
      if (!applying) ApplyStaticSettings();
      break;
  }
}

void BuildAdapterReport() {
  SetWindowTextA(MainWindow(), text::kCaption);
  AppendAdapterReport();
}

void QuitOnClose() {
  EndProgram(0);
}

void ApplyStaticSettings() {
  WindowApplyOps ops;
  ApplyStaticSettings(ops);
  // What arrived while the script ran is carried out now that the user has seen the outcome.
  if (quitDeferred) PostQuitMessage(*std::exchange(quitDeferred, std::nullopt));
  if (std::exchange(closeDeferred, false)) SendMessageA(MainWindow(), WM_CLOSE, 0, 0);
}

bool ApplyingSettings() {
  return applying;
}

bool DeferCloseWhileApplying() {
  if (!applying) return false;
  closeDeferred = true;
  return true;
}

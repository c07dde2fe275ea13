#include "driver.h"

#include <cstdlib>
#include <vector>

std::string BedEnv(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string WinePath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::string WineAdapterName(int interfaceIndex) {
  char name[64];
  wsprintfA(name, "{%08X-0000-0000-0000-4E6574446576}", interfaceIndex);
  return name;
}

std::optional<std::uint32_t> Program::WaitForExit(DWORD milliseconds) const {
  if (WaitForSingleObject(process.get(), milliseconds) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  return code;
}

bool Program::Running() const {
  return WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

Program Start(const std::string& exe, const std::string& arguments, const std::string& directory) {
  std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
  std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
  mutableLine.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(exe.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &started)) {
    return {};
  }
  CloseHandle(started.hThread);
  Program program;
  program.process.reset(started.hProcess);
  program.id = started.dwProcessId;
  return program;
}

std::string InstallProgram(const std::string& directory, const std::string& fileName) {
  CreateDirectoryA(directory.c_str(), nullptr);
  const std::string target = directory + "\\" + fileName;
  CopyFileA(WinePath(BedEnv("NETSET_EXE")).c_str(), target.c_str(), FALSE);
  return target;
}

namespace {
struct WindowSearch {
  DWORD processId;
  const char* className;
  HWND found;
};
BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window) || ClassOf(window) != search->className)
    return TRUE;
  search->found = window;
  return FALSE;
}
}  // namespace

HWND WaitForWindow(DWORD processId, const char* className, DWORD milliseconds) {
  for (DWORD waited = 0;; waited += 50) {
    WindowSearch search{processId, className, nullptr};
    EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found || waited >= milliseconds) return search.found;
    Sleep(50);
  }
}

HWND MainWindowOf(const Program& program) {
  return WaitForWindow(program.id, "NetsetMainWindow");
}

std::string TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
    return "<no answer>";
  std::vector<char> buffer(length + 1);
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  return std::string(buffer.data(), copied);
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

RECT RectIn(HWND window, HWND parent) {
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

LONG_PTR StyleOf(HWND window) {
  return GetWindowLongPtrA(window, GWL_STYLE);
}
LONG_PTR ExStyleOf(HWND window) {
  return GetWindowLongPtrA(window, GWL_EXSTYLE);
}

MessageBoxSeen WaitForMessageBox(DWORD processId, DWORD milliseconds) {
  MessageBoxSeen seen;
  seen.box = WaitForWindow(processId, "#32770", milliseconds);
  if (!seen.box) return seen;
  Sleep(100);  // let it finish laying itself out
  seen.caption = TextOf(seen.box);
  seen.text = TextOf(GetDlgItem(seen.box, 0xFFFF));
  return seen;
}

void PressOk(const MessageBoxSeen& box) {
  // Enter on the box, whose only and default button is OK.
  BringToFront(box.box);
  PressKey(VK_RETURN);
  for (int i = 0; i < 100 && IsWindow(box.box); ++i) Sleep(50);
}

bool NoMessageBoxFor(DWORD processId, DWORD milliseconds) {
  return WaitForWindow(processId, "#32770", milliseconds) == nullptr;
}

void BringToFront(HWND window) {
  SetForegroundWindow(window);
  for (int i = 0; i < 40 && GetForegroundWindow() != window; ++i) Sleep(50);
}

void ClickAt(HWND window, int x, int y) {
  // The press and release go to the control as the system would route them. (Synthesized mouse
  // input under Wine's virtual desktop is at times held back until some later input arrives,
  // which would make every timing in the tests a guess.)
  RECT client;
  GetClientRect(window, &client);
  const LPARAM at = MAKELPARAM(x < 0 ? client.right / 2 : x, y < 0 ? client.bottom / 2 : y);
  PostMessageA(window, WM_MOUSEMOVE, 0, at);
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(window, WM_LBUTTONUP, 0, at);
  Settle(window);
}

void PressKey(WORD key, std::vector<WORD> modifiers) {
  std::vector<INPUT> inputs;
  auto add = [&](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  for (WORD modifier : modifiers) add(modifier, false);
  add(key, false);
  add(key, true);
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) add(*it, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Sleep(150);
}

void TypeText(const std::string& ascii) {
  for (char c : ascii) {
    const SHORT scan = VkKeyScanA(c);
    std::vector<WORD> modifiers;
    if (scan & 0x100) modifiers.push_back(VK_SHIFT);
    PressKey(LOBYTE(scan), modifiers);
  }
}

void Settle(HWND window, DWORD milliseconds) {
  Sleep(milliseconds / 2);
  DWORD_PTR ignored;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  Sleep(milliseconds / 2);
}

namespace {
struct ControlSearch {
  int id;
  HWND found;
};
BOOL CALLBACK MatchControl(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<ControlSearch*>(parameter);
  if (GetDlgCtrlID(window) != search->id) return TRUE;
  search->found = window;
  return FALSE;
}
}  // namespace

HWND ControlOf(HWND mainWindow, int id) {
  ControlSearch search{id, nullptr};
  EnumChildWindows(mainWindow, &MatchControl, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void FocusControl(HWND window, HWND control) {
  BringToFront(window);
  const DWORD self = GetCurrentThreadId(), target = GetWindowThreadProcessId(window, nullptr);
  // The window's own activation may still be on its way and would take the focus back.
  for (int attempt = 0; attempt < 10 && FocusIn(window) != control; ++attempt) {
    AttachThreadInput(self, target, TRUE);
    SetFocus(control);
    AttachThreadInput(self, target, FALSE);
    Settle(window, 100);
  }
}

HWND FocusIn(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}

void SaveScreenshot(const std::string& name) {
  const std::string folder = BedEnv("NETSET_SCREENSHOTS");
  if (folder.empty()) return;
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  BITMAPINFOHEADER header{sizeof header, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const DWORD stride = (width * 3 + 3) & ~3u;
  std::vector<char> pixels(stride * height);
  GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof header + pixels.size()),
                        0, 0, sizeof(BITMAPFILEHEADER) + sizeof header};
  CreateDirectoryA(WinePath(folder).c_str(), nullptr);
  FileHandle out(CreateFileA((WinePath(folder) + "\\" + name + ".bmp").c_str(), GENERIC_WRITE, 0, nullptr,
                             CREATE_ALWAYS, 0, nullptr));
  DWORD written;
  WriteFile(out.get(), &file, sizeof file, &written, nullptr);
  WriteFile(out.get(), &header, sizeof header, &written, nullptr);
  WriteFile(out.get(), pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

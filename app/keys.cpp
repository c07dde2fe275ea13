// The window's own keyboard handling, ahead of the focused control.
#include <cctype>
#include <string>

#include "app/events.h"
#include "app/form.h"
#include "platform/window.h"

namespace {

bool IsDown(int key) {
  return GetKeyState(key) < 0;
}

// Enter belongs to a multi-line box the user may edit: there it makes a line break.
bool TakesEnter(HWND focus) {
  char className[16] = {};
  GetClassNameA(focus, className, sizeof className);
  const LONG_PTR style = GetWindowLongPtrA(focus, GWL_STYLE);
  return lstrcmpiA(className, "EDIT") == 0 && (style & ES_MULTILINE) && !(style & ES_READONLY);
}

// Alt with a letter or digit looks for a visible, enabled label, group box or button whose text
// marks that character with "&". No text of this form has one, but the rule stays with the form.
HWND FindMnemonicTarget(char key) {
  for (ControlId id : {标签1, 标签2, 标签3, 标签4, 标签5, 分组框1, 设置}) {
    HWND control = Control(id);
    if (!IsWindowVisible(control) || !IsWindowEnabled(control)) continue;
    const std::string text = WindowText(control);
    for (std::size_t at = text.find('&'); at != std::string::npos && at + 1 < text.size();
         at = text.find('&', at + 2)) {
      if (std::toupper(static_cast<unsigned char>(text[at + 1])) == key) return control;
    }
  }
  return nullptr;
}

bool HandleEnter(HWND focus) {
  if (TakesEnter(focus)) return false;
  if (IsWindowEnabled(Control(设置))) RaiseEvent(FormEvent::SettingClicked);
  return true;
}

bool HandleMnemonic(char key) {
  HWND target = FindMnemonicTarget(key);
  if (!target) return false;  // Windows' own handling follows
  if (target == Control(设置)) {
    RaiseEvent(FormEvent::SettingClicked);
  } else {
    SetFocus(target);
  }
  return true;
}

}  // namespace

bool HandleFormKey(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  HWND main = MainWindow();
  if (!main || (message.hwnd != main && !IsChild(main, message.hwnd))) return false;
  const bool alt = message.message == WM_SYSKEYDOWN || IsDown(VK_MENU);
  const bool plain = !alt && !IsDown(VK_CONTROL) && !IsDown(VK_SHIFT);
  switch (message.wParam) {
    case VK_RETURN:
      return plain && HandleEnter(message.hwnd);
    case VK_ESCAPE:
      if (!plain) return false;
      SendMessageA(main, WM_CLOSE, 0, 0);
      return true;
    case VK_TAB:
      // No control is a tab stop, so the focus stays; and no tab ever reaches a box.
      return !alt;
  }
  const char key = static_cast<char>(message.wParam);
  if (alt && std::isalnum(static_cast<unsigned char>(key))) return HandleMnemonic(key);
  return false;
}

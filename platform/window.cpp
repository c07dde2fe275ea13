#include "platform/window.h"

#include <vector>

void AppendText(HWND edit, const std::string& text) {
  // Selection positions count characters. The length in characters is also the cheap one: the
  // ANSI length would convert the whole text on every call, and the report appends hundreds of
  // pieces to an ever longer text.
  const int length = GetWindowTextLengthW(edit);
  SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(length), static_cast<LPARAM>(length));
  SendMessageA(edit, EM_SCROLLCARET, 0, 0);
  SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  if (length <= 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
  const int copied = GetWindowTextA(window, buffer.data(), length + 1);
  return std::string(buffer.data(), copied > 0 ? copied : 0);
}

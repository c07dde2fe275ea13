// Looks at a running netset from outside, for `make run`:
//   peek report   waits for the main window and prints the report box's text (code page 936)
//   peek close    asks the main window to close, as its close box does
#include <cstdio>
#include <cstring>

#include "driver.h"

namespace {
HWND FindNetset() {
  for (int i = 0; i < 300; ++i) {
    if (HWND window = FindWindowA("NetsetMainWindow", nullptr); window && IsWindowVisible(window))
      return window;
    Sleep(100);
  }
  return nullptr;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  HWND window = FindNetset();
  if (!window) {
    std::fprintf(stderr, "peek: no netset window\n");
    return 1;
  }
  if (std::strcmp(argv[1], "report") == 0) {
    const std::string text = TextOf(ControlOf(window, 100));
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
  }
  if (std::strcmp(argv[1], "close") == 0) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return 0;
  }
  return 2;
}

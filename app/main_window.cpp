// The main window's procedure: it only dispatches, one handler per message.
#include "app/events.h"
#include "app/form.h"

namespace {

HWND lastFocus = nullptr;

LRESULT OnClose(HWND window) {
  if (DeferCloseWhileApplying()) return 0;
  DestroyWindow(window);
  return 0;
}

LRESULT OnDestroy() {
  RaiseEvent(FormEvent::WillBeDestroyed);
  return 0;
}

// The control that had the focus gets it back when the window is activated again; at the first
// activation there is none and the window itself keeps the focus.
LRESULT OnActivate(HWND window, WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(window, focus)) lastFocus = focus;
    return 0;
  }
  if (lastFocus && IsWindow(lastFocus) && !HIWORD(wParam)) {
    SetFocus(lastFocus);
    return 0;
  }
  return DefWindowProcA(window, WM_ACTIVATE, wParam, lParam);
}

LRESULT OnStaticColours(HDC dc) {
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT OnSetCursor(HWND window, WPARAM wParam, LPARAM lParam) {
  if (!ApplyingSettings()) return DefWindowProcA(window, WM_SETCURSOR, wParam, lParam);
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  return TRUE;
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      return OnClose(window);
    case WM_DESTROY:
      return OnDestroy();
    case WM_ACTIVATE:
      return OnActivate(window, wParam, lParam);
    case WM_CTLCOLOREDIT:
      return EditBoxColours(reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORSTATIC:
      return OnStaticColours(reinterpret_cast<HDC>(wParam));
    case WM_SETCURSOR:
      return OnSetCursor(window, wParam, lParam);
    case WM_QUERYENDSESSION:
      return TRUE;  // never hold up log-off; Windows ends the process itself
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

#include "app/form.h"

#include <array>
#include <cstring>
#include <iterator>

#include "app/events.h"
#include "platform/handle.h"
#include "texts.h"

namespace {

constexpr char kMainWindowClass[] = "NetsetMainWindow";
constexpr char kLabelClass[] = "NetsetLabel";

enum class Kind { MultiLineEdit, GroupBox, Label, SingleLineEdit, Button };

struct FormEntry {
  ControlId id;
  Kind kind;
  bool inGroup;  // a child of 分组框1, placed from its corner
  int left, top, width, height;
  const char* text;
};

constexpr FormEntry kControls[] = {
    {编辑框1, Kind::MultiLineEdit, false, 8, 8, 472, 160, ""},
    {分组框1, Kind::GroupBox, false, 8, 174, 472, 280, text::kGroupTitle},
    {标签1, Kind::Label, true, 40, 37, 72, 28, text::kLabelIp},
    {IP地址, Kind::SingleLineEdit, true, 160, 37, 272, 24, ""},
    {标签2, Kind::Label, true, 40, 77, 72, 28, text::kLabelMask},
    {子网掩码, Kind::SingleLineEdit, true, 160, 77, 272, 24, ""},
    {标签3, Kind::Label, true, 40, 117, 72, 28, text::kLabelGateway},
    {默认网关, Kind::SingleLineEdit, true, 160, 117, 272, 24, ""},
    {标签4, Kind::Label, true, 40, 157, 112, 28, text::kLabelPreferredDns},
    {首选DNS服务器, Kind::SingleLineEdit, true, 160, 157, 272, 24, ""},
    {标签5, Kind::Label, true, 40, 197, 112, 28, text::kLabelAlternateDns},
    {备用DNS服务器, Kind::SingleLineEdit, true, 160, 197, 272, 24, ""},
    {设置, Kind::Button, true, 40, 235, 393, 32, text::kButtonText},
};
constexpr std::size_t kControlCount = std::size(kControls);

// No control is a tab stop, and none hides its selection only on request (no ES_NOHIDESEL).
constexpr DWORD kCommon = WS_CHILD | WS_CLIPSIBLINGS;
constexpr DWORD kEditCommon = kCommon | ES_LEFT;

struct KindStyle {
  const char* windowClass;
  DWORD style;
  DWORD exStyle;
};

KindStyle StyleOf(Kind kind) {
  switch (kind) {
    case Kind::MultiLineEdit:
      return {"EDIT", kEditCommon | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL,
              WS_EX_CLIENTEDGE};
    case Kind::SingleLineEdit:
      return {"EDIT", kEditCommon | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::GroupBox:
      return {"BUTTON", kCommon | BS_GROUPBOX | BS_LEFT, 0};
    case Kind::Button:
      return {"BUTTON", kCommon | BS_DEFPUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE, 0};
    case Kind::Label:
      return {kLabelClass, kCommon, 0};
  }
  return {};
}

HWND mainWindow = nullptr;
std::array<HWND, kControlCount> controls{};
std::array<Font, kControlCount> fonts;
Icon bigIcon;
Icon smallIcon;
WNDPROC groupBoxProc = nullptr;

std::size_t IndexOf(ControlId id) {
  return static_cast<std::size_t>(id - 编辑框1) / 10;
}

// Labels draw themselves: the button face, then the text in black on one line, vertically
// centred and cut off at the edges, with a font made for this paint only.
LRESULT PaintLabel(HWND label) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(label, &paint);
  RECT area;
  GetClientRect(label, &area);
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  const LOGFONTA description = ControlFontDescription();
  Font font(CreateFontIndirectA(&description));
  HGDIOBJ previous =
      SelectObject(dc, font ? static_cast<HGDIOBJ>(font.get()) : GetStockObject(DEFAULT_GUI_FONT));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  char text[256];
  const int length = GetWindowTextA(label, text, sizeof text);
  DrawTextA(dc, text, length, &area, DT_LEFT | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
  SelectObject(dc, previous);
  EndPaint(label, &paint);
  return 0;
}

LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      return PaintLabel(label);
    case WM_ERASEBKGND:
      return 1;  // the paint fills the whole label
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcA(label, message, wParam, lParam);
      InvalidateRect(label, nullptr, FALSE);
      return result;
    }
  }
  return DefWindowProcA(label, message, wParam, lParam);
}

// A platform group box ignores its children's notifications; this one hands the click of 设置
// to the event, and colours its edit boxes like the others.
LRESULT CALLBACK GroupBoxProc(HWND group, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == 设置 && HIWORD(wParam) == BN_CLICKED) {
        RaiseEvent(FormEvent::SettingClicked);
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
      return EditBoxColours(reinterpret_cast<HDC>(wParam));
    case WM_ERASEBKGND: {
      // The main window clips its children, so nothing else paints behind the group's title and
      // between its controls.
      RECT area;
      GetClientRect(group, &area);
      FillRect(reinterpret_cast<HDC>(wParam), &area, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
  }
  return CallWindowProcA(groupBoxProc, group, message, wParam, lParam);
}

HWND CreateControl(HINSTANCE instance, const FormEntry& entry) {
  const KindStyle kind = StyleOf(entry.kind);
  HWND parent = entry.inGroup ? controls[IndexOf(分组框1)] : mainWindow;
  HWND control = CreateWindowExA(kind.exStyle, kind.windowClass, entry.text, kind.style, entry.left,
                                 entry.top, entry.width, entry.height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), instance, nullptr);
  if (!control) return nullptr;
  if (entry.kind == Kind::Label) return control;  // labels make their font when they paint
  const LOGFONTA description = ControlFontDescription();
  Font& font = fonts[IndexOf(entry.id)];
  font.reset(CreateFontIndirectA(&description));
  HGDIOBJ used = font ? static_cast<HGDIOBJ>(font.get()) : GetStockObject(DEFAULT_GUI_FONT);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(used), FALSE);
  if (entry.kind == Kind::MultiLineEdit || entry.kind == Kind::SingleLineEdit) {
    SendMessageA(control, EM_LIMITTEXT, 0, 0);  // the platform's maximum
  }
  if (entry.kind == Kind::GroupBox) {
    groupBoxProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&GroupBoxProc)));
  }
  return control;
}

void SetWindowIcons(HINSTANCE instance) {
  bigIcon.reset(static_cast<HICON>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, 32, 32, 0)));
  smallIcon.reset(static_cast<HICON>(LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, 16, 16, 0)));
  if (bigIcon) SendMessageA(mainWindow, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
  if (smallIcon) SendMessageA(mainWindow, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
}

}  // namespace

LOGFONTA ControlFontDescription() {
  LOGFONTA font{};
  font.lfHeight = -12;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = PROOF_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH;
  static_assert(sizeof text::kFontFace <= sizeof font.lfFaceName);
  std::memcpy(font.lfFaceName, text::kFontFace, sizeof text::kFontFace);
  return font;
}

bool PrepareForm(HINSTANCE instance) {
  WNDCLASSEXA main{};
  main.cbSize = sizeof main;
  main.lpfnWndProc = &MainWindowProc;
  main.hInstance = instance;
  main.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  main.lpszClassName = kMainWindowClass;
  WNDCLASSEXA label{};
  label.cbSize = sizeof label;
  label.lpfnWndProc = &LabelProc;
  label.hInstance = instance;
  label.hCursor = main.hCursor;
  label.lpszClassName = kLabelClass;
  return RegisterClassExA(&main) && RegisterClassExA(&label);
}

bool CreateForm(HINSTANCE instance) {
  // Centred on the primary display by integer division, not clamped: a narrow display gives a
  // negative left edge.
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
  mainWindow = CreateWindowExA(0, kMainWindowClass, "", WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, left, top,
                               kWindowWidth, kWindowHeight, nullptr, nullptr, instance, nullptr);
  if (!mainWindow) return false;
  // The outer size is exact whatever the frame metrics of this Windows.
  SetWindowPos(mainWindow, nullptr, 0, 0, kWindowWidth, kWindowHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowIcons(instance);
  for (std::size_t i = 0; i < kControlCount; ++i) {
    controls[i] = CreateControl(instance, kControls[i]);
    if (!controls[i]) return false;
  }
  return true;
}

void ShowControls() {
  for (HWND control : controls) ShowWindow(control, SW_SHOWNA);
}

HWND MainWindow() {
  return mainWindow;
}
HWND Control(ControlId id) {
  return controls[IndexOf(id)];
}

void ReleaseFormIcons() {
  bigIcon.reset();
  smallIcon.reset();
}

LRESULT EditBoxColours(HDC dc) {
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
}

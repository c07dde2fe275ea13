#pragma once
// The main window's form: the window and its thirteen controls, fixed for the life of the program.
#include <windows.h>

// Child-window identifiers: 100 + 10 × (creation order − 1).
enum ControlId : int {
  编辑框1 = 100,
  分组框1 = 110,
  标签1 = 120,
  IP地址 = 130,
  标签2 = 140,
  子网掩码 = 150,
  标签3 = 160,
  默认网关 = 170,
  标签4 = 180,
  首选DNS服务器 = 190,
  标签5 = 200,
  备用DNS服务器 = 210,
  设置 = 220,
};

// The five address boxes, in the order their values are read and checked.
inline constexpr ControlId kAddressBoxes[] = {IP地址, 子网掩码, 默认网关, 首选DNS服务器, 备用DNS服务器};

inline constexpr int kWindowWidth = 493;
inline constexpr int kWindowHeight = 491;

// The one font description every control makes its font from.
LOGFONTA ControlFontDescription();

// Registers the window classes of the form; false if the form cannot be made ready.
bool PrepareForm(HINSTANCE instance);

// Creates the main window, hidden and centred, with its icons, then its controls in creation
// order, each in its parent. False as soon as one of them cannot be created.
bool CreateForm(HINSTANCE instance);

// Shows every control without activating it; the window itself stays hidden.
void ShowControls();

HWND MainWindow();
HWND Control(ControlId id);

// Destroys the window icons; the program calls this only on its way out.
void ReleaseFormIcons();

// Edit boxes are black on white whatever the colour scheme.
LRESULT EditBoxColours(HDC dc);

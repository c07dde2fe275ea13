// The real program driven from outside: its window, its start-up, its keys and its end.
#include <gtest/gtest.h>

#include "bed_adapters.h"
#include "driver.h"

namespace {

const std::string kCaption = "\xCD\xF8\xC2\xE7\xC9\xE8\xD6\xC3";  // 网络设置

// One started program and its window, ended whatever the test did.
class RunningProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    SeedConnectionNames();
    exe = InstallProgram("C:\\netset");
    Launch();
  }
  void Launch(const std::string& arguments = "") {
    program = Start(exe, arguments);
    ASSERT_TRUE(program.process);
    window = MainWindowOf(program);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    if (program.process && program.Running()) TerminateProcess(program.process.get(), 99);
  }
  HWND Ctl(int id) { return ControlOf(window, id); }
  void FocusBox(int id) {
    FocusControl(window, Ctl(id));
    ASSERT_EQ(FocusIn(window), Ctl(id));
  }

  std::string exe;
  Program program;
  HWND window = nullptr;
};

struct ControlCase {
  int id;
  const char* windowClass;
  int parent;  // 0: the main window
  int left, top, width, height;
  std::string text;
  LONG_PTR style;  // without WS_VISIBLE
  LONG_PTR exStyle;
};

constexpr LONG_PTR kChild = WS_CHILD | WS_CLIPSIBLINGS;
constexpr LONG_PTR kSingle = kChild | ES_LEFT | ES_AUTOHSCROLL;

const ControlCase kControls[] = {
    {100, "Edit", 0, 8, 8, 472, 160, "", kChild | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL,
     WS_EX_CLIENTEDGE},
    {110, "Button", 0, 8, 174, 472, 280,
     "Internet \xD0\xAD\xD2\xE9\xB0\xE6\xB1\xBE 4\xA3\xA8TCP/IPv4\xA3\xA9", kChild | BS_GROUPBOX | BS_LEFT,
     0},
    {120, "NetsetLabel", 110, 40, 37, 72, 28, "IP\xB5\xD8\xD6\xB7(I)\xA3\xBA", kChild, 0},
    {130, "Edit", 110, 160, 37, 272, 24, "", kSingle, WS_EX_CLIENTEDGE},
    {140, "NetsetLabel", 110, 40, 77, 72, 28, "\xD7\xD3\xCD\xF8\xD1\xDA\xC2\xEB(U)\xA3\xBA", kChild, 0},
    {150, "Edit", 110, 160, 77, 272, 24, "", kSingle, WS_EX_CLIENTEDGE},
    {160, "NetsetLabel", 110, 40, 117, 72, 28, "\xC4\xAC\xC8\xCF\xCD\xF8\xB9\xD8(D)\xA3\xBA", kChild, 0},
    {170, "Edit", 110, 160, 117, 272, 24, "", kSingle, WS_EX_CLIENTEDGE},
    {180, "NetsetLabel", 110, 40, 157, 112, 28,
     "\xCA\xD7\xD1\xA1"
     "DNS\xB7\xFE\xCE\xF1\xC6\xF7(P)\xA3\xBA",
     kChild, 0},
    {190, "Edit", 110, 160, 157, 272, 24, "", kSingle, WS_EX_CLIENTEDGE},
    {200, "NetsetLabel", 110, 40, 197, 112, 28,
     "\xB1\xB8\xD3\xC3"
     "DNS\xB7\xFE\xCE\xF1\xC6\xF7(A)\xA3\xBA",
     kChild, 0},
    {210, "Edit", 110, 160, 197, 272, 24, "", kSingle, WS_EX_CLIENTEDGE},
    {220, "Button", 110, 40, 235, 393, 32, "\xC9\xE8\xD6\xC3",
     kChild | BS_DEFPUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE, 0},
};

TEST_F(RunningProgram, FirstSeenWithCaptionAndWholeReport) {
  // MainWindowOf returns as soon as the window is visible: this is its first look.
  EXPECT_EQ(TextOf(window), kCaption);
  EXPECT_EQ(TextOf(Ctl(100)), ExpectedReport());
  Settle(window, 1500);
  SaveScreenshot("main-window");
}

TEST_F(RunningProgram, WindowFrameSizeAndPlace) {
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 265);  // (1024 - 493) / 2
  EXPECT_EQ(rect.top, 138);   // (768 - 491) / 2
  EXPECT_EQ(rect.right - rect.left, 493);
  EXPECT_EQ(rect.bottom - rect.top, 491);
  const LONG_PTR style = StyleOf(window);
  EXPECT_EQ(style & ~(WS_VISIBLE | WS_CLIPSIBLINGS), WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  EXPECT_EQ(ExStyleOf(window) & ~WS_EX_WINDOWEDGE, 0);
  EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
  // No control has the focus when the window opens (once its activation has been handled).
  for (int i = 0; i < 40 && !FocusIn(window); ++i) Sleep(50);
  EXPECT_EQ(FocusIn(window), window);
  // The system menu: only Move and Close can be chosen (a picture, since another process's
  // menus cannot be read here).
  BringToFront(window);
  PressKey(VK_SPACE, {VK_MENU});
  SaveScreenshot("system-menu");
  PressKey(VK_ESCAPE);
  PressKey(VK_ESCAPE);
}

TEST_F(RunningProgram, ControlsAsTheFormDescribes) {
  for (const ControlCase& c : kControls) {
    SCOPED_TRACE(c.id);
    HWND control = Ctl(c.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(lstrcmpiA(ClassOf(control).c_str(), c.windowClass), 0) << ClassOf(control);
    HWND parent = c.parent ? Ctl(c.parent) : window;
    EXPECT_EQ(GetParent(control), parent);
    const RECT rect = RectIn(control, parent);
    EXPECT_EQ(rect.left, c.left);
    EXPECT_EQ(rect.top, c.top);
    EXPECT_EQ(rect.right - rect.left, c.width);
    EXPECT_EQ(rect.bottom - rect.top, c.height);
    if (c.id != 100) {
      EXPECT_EQ(TextOf(control), c.text);
    }
    EXPECT_EQ(StyleOf(control) & ~WS_VISIBLE, c.style);
    EXPECT_TRUE(StyleOf(control) & WS_VISIBLE);
    EXPECT_EQ(ExStyleOf(control) & ~WS_EX_NOPARENTNOTIFY, c.exStyle);
    EXPECT_TRUE(IsWindowEnabled(control));
    if (lstrcmpiA(c.windowClass, "Edit") == 0) {
      EXPECT_GE(static_cast<unsigned long>(SendMessageA(control, EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEul);
    }
  }
}

TEST_F(RunningProgram, EnterInReportBoxBreaksTheLineAndRunsNothing) {
  FocusBox(100);
  const std::string before = TextOf(Ctl(100));
  PressKey(VK_RETURN);
  Settle(window);
  EXPECT_EQ(TextOf(Ctl(100)).size(), before.size() + 2);
  EXPECT_TRUE(NoMessageBoxFor(program.id, 800));
}

TEST_F(RunningProgram, TabMovesNoFocusAndInsertsNothing) {
  for (int id : {100, 130, 210}) {
    FocusBox(id);
    const std::string before = TextOf(Ctl(id));
    PressKey(VK_TAB);
    PressKey(VK_TAB, {VK_SHIFT});
    Settle(window);
    EXPECT_EQ(FocusIn(window), Ctl(id)) << id;
    EXPECT_EQ(TextOf(Ctl(id)), before) << id;
  }
}

TEST_F(RunningProgram, FocusComesBackAfterDeactivation) {
  FocusBox(150);
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                               nullptr, nullptr, nullptr, nullptr);
  BringToFront(other);
  BringToFront(window);
  Settle(window);
  EXPECT_EQ(FocusIn(window), Ctl(150));
  DestroyWindow(other);
}

TEST_F(RunningProgram, EscClosesFromEveryControl) {
  for (int focus : {0, 100, 130, 190, 220}) {
    SCOPED_TRACE(focus);
    if (focus == 220) {
      // Focusing the button means clicking it: its message comes first.
      BringToFront(window);
      ClickAt(Ctl(220));
      PressOk(WaitForMessageBox(program.id));
      BringToFront(window);
    } else if (focus) {
      FocusBox(focus);
      TypeText("192.0.2.1");
    } else {
      BringToFront(window);
    }
    PressKey(VK_ESCAPE);
    EXPECT_EQ(program.WaitForExit(), 0u);
    Launch();
  }
}

TEST_F(RunningProgram, AltF4AndCloseCommandEndWithZero) {
  BringToFront(window);
  PressKey(VK_F4, {VK_MENU});
  EXPECT_EQ(program.WaitForExit(), 0u);
  Launch();
  PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST_F(RunningProgram, EndOfSessionIsNotHeldUp) {
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
  EXPECT_EQ(answer, TRUE);
  EXPECT_FALSE(program.WaitForExit(1000).has_value());  // it does not end by itself
}

TEST_F(RunningProgram, QuitMessageFromOutsideEndsWithItsCode) {
  PostThreadMessageA(GetWindowThreadProcessId(window, nullptr), WM_QUIT, 7, 0);
  EXPECT_EQ(program.WaitForExit(), 7u);
}

TEST_F(RunningProgram, TwoInstancesWorkIndependently) {
  Program second = Start(exe, "--whatever /x \"arg with blanks\"");
  HWND secondWindow = WaitForWindow(second.id, "NetsetMainWindow");
  ASSERT_NE(secondWindow, nullptr);
  ASSERT_NE(secondWindow, window);
  EXPECT_EQ(TextOf(secondWindow), kCaption);
  EXPECT_EQ(TextOf(ControlOf(secondWindow, 100)), ExpectedReport());  // arguments change nothing
  PostMessageA(secondWindow, WM_CLOSE, 0, 0);
  EXPECT_EQ(second.WaitForExit(), 0u);
  EXPECT_TRUE(program.Running());
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0u);
}

}  // namespace

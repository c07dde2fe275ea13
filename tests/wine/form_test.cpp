// The form built in this process, where fonts, icons and colours can be looked at.
#include <gtest/gtest.h>

#include <cstring>

#include "app/form.h"
#include "app/run_directory.h"

namespace {

class Form : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(PrepareForm(GetModuleHandleA(nullptr)));
    ASSERT_TRUE(CreateForm(GetModuleHandleA(nullptr)));
  }
};

TEST_F(Form, FontDescription) {
  const LOGFONTA font = ControlFontDescription();
  EXPECT_STREQ(font.lfFaceName, "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA");  // 微软雅黑
  EXPECT_EQ(font.lfHeight, -12);
  EXPECT_EQ(font.lfWidth, 0);
  EXPECT_EQ(font.lfEscapement, 0);
  EXPECT_EQ(font.lfOrientation, 0);
  EXPECT_EQ(font.lfWeight, 400);
  EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
  EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
  EXPECT_EQ(font.lfOutPrecision, OUT_DEFAULT_PRECIS);
  EXPECT_EQ(font.lfClipPrecision, CLIP_DEFAULT_PRECIS);
  EXPECT_EQ(font.lfQuality, PROOF_QUALITY);
  EXPECT_EQ(font.lfPitchAndFamily, DEFAULT_PITCH);
}

TEST_F(Form, EveryControlButTheLabelsHoldsItsOwnFontOfThatDescription) {
  const LOGFONTA expected = ControlFontDescription();
  HFONT previous = nullptr;
  for (ControlId id : {编辑框1, 分组框1, IP地址, 子网掩码, 默认网关, 首选DNS服务器, 备用DNS服务器, 设置}) {
    SCOPED_TRACE(id);
    auto font = reinterpret_cast<HFONT>(SendMessageA(Control(id), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    EXPECT_NE(font, previous);  // one font object per control
    previous = font;
    LOGFONTA actual{};
    ASSERT_EQ(GetObjectA(font, sizeof actual, &actual), static_cast<int>(sizeof actual));
    EXPECT_EQ(std::memcmp(&actual, &expected, sizeof actual), 0);
  }
  for (ControlId id : {标签1, 标签2, 标签3, 标签4, 标签5}) {
    EXPECT_EQ(SendMessageA(Control(id), WM_GETFONT, 0, 0), 0) << id;  // labels make theirs when painting
  }
}

TEST_F(Form, WindowIconsAndBackground) {
  for (auto [which, size] : {std::pair{ICON_BIG, 32}, std::pair{ICON_SMALL, 16}}) {
    auto icon = reinterpret_cast<HICON>(SendMessageA(MainWindow(), WM_GETICON, which, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectA(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, size);
    EXPECT_EQ(bitmap.bmHeight, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
  }
  EXPECT_EQ(GetClassLongPtrA(MainWindow(), GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
  EXPECT_FALSE(IsWindowVisible(MainWindow()));  // shown only by start-up, once filled
  EXPECT_EQ(GetWindowTextLengthA(MainWindow()), 0);
}

TEST_F(Form, EditBoxesAreBlackOnWhiteInAnyColourScheme) {
  HDC dc = GetDC(Control(IP地址));
  for (HWND parent : {MainWindow(), Control(分组框1)}) {
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(4, 5, 6));
    const auto brush = SendMessageA(parent, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                    reinterpret_cast<LPARAM>(Control(IP地址)));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
  }
  ReleaseDC(Control(IP地址), dc);
}

TEST(RunDirectory, CutAtTheLastRealBackslash) {
  ASSERT_EQ(GetACP(), 936u);
  struct Case {
    const char* path;
    const char* directory;
  } const cases[] = {
      {"C:\\tools\\netset.exe", "C:\\tools"},
      {"D:\\netset.exe", "D:"},
      {"netset.exe", ""},
      {"C:\\\x81\x5C\\netset.exe", "C:\\\x81\x5C"},  // 乗: its trail byte is 0x5C
      {"C:\\dir\\\x81\x5C"
       ".exe",
       "C:\\dir"},  // 乗.exe in C:\dir
      {"\\\\server\\share\\a\\n.exe", "\\\\server\\share\\a"},
  };
  for (const Case& c : cases) EXPECT_EQ(CutRunDirectory(c.path), c.directory) << c.path;
}

}  // namespace

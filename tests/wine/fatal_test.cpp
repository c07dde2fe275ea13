// Fatal errors as the user meets them: one box titled 错误, then exit code -1.
#include <gtest/gtest.h>

#include "driver.h"

namespace {

const std::string kLead =
    "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA";
const std::string kErrorCaption = "\xB4\xED\xCE\xF3";  // 错误

void ExpectFatal(const Program& program, const std::string& message) {
  ASSERT_TRUE(program.process);
  const MessageBoxSeen box = WaitForMessageBox(program.id);
  ASSERT_NE(box.box, nullptr);
  EXPECT_EQ(box.caption, kErrorCaption);
  EXPECT_EQ(box.text, kLead + message + "\r\n");
  SaveScreenshot("fatal");
  PressOk(box);
  EXPECT_EQ(program.WaitForExit(), 0xFFFFFFFFu);
}

// Runs in a bed whose IP Helper library cannot be loaded.
TEST(Fatal, MissingIpHelperLibrary) {
  const Program program = Start(InstallProgram("C:\\netset"));
  // 无法找到指定DLL库文件“IPHlpApi”中的输出命令“GetAdaptersInfo”
  ExpectFatal(program,
              "\xCE\xDE\xB7\xA8\xD5\xD2\xB5\xBD\xD6\xB8\xB6\xA8"
              "DLL\xBF\xE2\xCE\xC4\xBC\xFE\xA1\xB0IPHlpApi\xA1\xB1"
              "\xD6\xD0\xB5\xC4\xCA\xE4\xB3\xF6\xC3\xFC\xC1\xEE\xA1\xB0GetAdaptersInfo\xA1\xB1");
  EXPECT_EQ(WaitForWindow(program.id, "NetsetMainWindow", 0), nullptr);
}

// A program of the tests that runs the allocation path of netset and asks for too much.
TEST(Fatal, MemoryThatCannotBeHad) {
  const Program program = Start(WinePath(BedEnv("NETSET_ALLOC_PROBE")));
  // 分配 N 字节内存失败!
  ExpectFatal(program,
              "\xB7\xD6\xC5\xE4 1152921504606846976 \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!");
}

}  // namespace

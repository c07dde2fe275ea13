// The whole program with 64 adapters.
#include <gtest/gtest.h>

#include <cstdlib>

#include "bed_adapters.h"
#include "driver.h"
#include "tests/crlf_lines.h"

namespace {

TEST(ManyAdapters, ReportIsCompleteAndExact) {
  const auto index = [](int i) {
    return std::atoi(BedEnv(("NETSET_BED_LAN" + std::to_string(i) + "_INDEX").c_str()).c_str());
  };
  const Program program = Start(InstallProgram("C:\\netset"));
  HWND window = MainWindowOf(program);
  ASSERT_NE(window, nullptr);
  const auto lines = CrLfLines(TextOf(ControlOf(window, 100)));
  ASSERT_EQ(lines.size(), 64u * 10 + 1);
  EXPECT_EQ(lines.back(), "");
  for (int i = 0; i < 64; ++i) {
    SCOPED_TRACE(i);
    const std::string_view* block = &lines[i * 10];
    EXPECT_EQ(block[0], "");
    EXPECT_EQ(block[1], "\xC3\xFB\xB3\xC6\xA3\xBA" + WineAdapterName(index(i)));
    EXPECT_EQ(block[2], "\xC3\xE8\xCA\xF6\xA3\xBAlan" + std::to_string(i));
    char mac[32];
    wsprintfA(mac,
              "MAC\xA3\xBA"
              "02-00-5E-20-%02X-%02X",
              i / 256, i % 256);
    EXPECT_EQ(block[3], mac);
    EXPECT_EQ(block[4],
              "IP\xB5\xD8\xD6\xB7(I)\xA3\xBA"
              "203.0.113." +
                  std::to_string(i % 250 + 1));
    EXPECT_EQ(block[9], std::string(47, '='));
  }
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(program.WaitForExit(), 0u);
}

}  // namespace

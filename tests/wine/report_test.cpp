// The adapter report against the real IP Helper and registry of the bed, in this process.
#include <gtest/gtest.h>

#include <cstdlib>

#include "bed_adapters.h"
#include "driver.h"
#include "platform/iphelper.h"
#include "platform/registry.h"
#include "platform/window.h"
#include "report/adapter_report.h"

namespace {

TEST(AdapterReport, ThreeAdaptersGiveTheExactReport) {
  SeedConnectionNames();
  ASSERT_TRUE(IpHelper::Bind());
  IpHelper adapters;
  RegistryReader registry;
  std::string report;
  AppendAdapterReport(adapters, registry, [&](const std::string& piece) { report += piece; });
  EXPECT_EQ(report, ExpectedReport());
}

TEST(AdapterReport, ConnectionNameOf64KiBIsKeptWhole) {
  // Far beyond any name Windows gives a connection. (Shown in a real edit box, Wine takes
  // minutes to lay out such a line; the report's own text is what is checked here.)
  const std::string longName(64 * 1024, 'N');
  SeedConnectionNames();
  const int lan2 = std::atoi(BedEnv("NETSET_BED_LAN2_INDEX").c_str());
  SeedConnectionValue(WineAdapterName(lan2), REG_SZ, longName + '\0');
  IpHelper adapters;
  RegistryReader registry;
  std::string report;
  AppendAdapterReport(adapters, registry, [&](const std::string& piece) { report += piece; });
  std::string expected = ExpectedReport();
  const std::size_t lastBlock =
      expected.find("\r\n" + std::string(47, '=') + "\r\n", expected.size() / 2) + 2 + 49;
  expected.insert(lastBlock, longName);
  EXPECT_TRUE(report == expected) << report.size() << " bytes, expected " << expected.size();
  SeedConnectionValue(WineAdapterName(lan2), REG_DWORD, std::string("\x01\x00\x00\x00", 4));
}

TEST(AdapterReport, ConnectionNameValueKinds) {
  struct Case {
    const char* what;
    long type;
    std::string bytes;
    std::string expected;
  };
  const Case cases[] = {
      {"REG_SZ Chinese", REG_SZ, std::string("\xCD\xF8\xBF\xA8") + '\0', "\xCD\xF8\xBF\xA8"},
      {"REG_EXPAND_SZ", REG_EXPAND_SZ, std::string("%NETSET_SIDE%-x") + '\0', "\xCD\xE2\xCD\xF8-x"},
      {"REG_EXPAND_SZ all double-byte", REG_EXPAND_SZ, std::string("%NETSET_SIDE%\xC1\xAC\xBD\xD3") + '\0',
       "\xCD\xE2\xCD\xF8\xC1\xAC\xBD\xD3"},
      {"REG_DWORD", REG_DWORD, std::string("\x07\x00\x00\x00", 4), ""},
      {"empty string", REG_SZ, std::string(1, '\0'), ""},
      {"missing key", -1, "", ""},
  };
  SetEnvironmentVariableA("NETSET_SIDE", "\xCD\xE2\xCD\xF8");
  RegistryReader registry;
  for (const Case& c : cases) {
    SeedConnectionValue("{NETSET-TEST}", c.type, c.bytes);
    EXPECT_EQ(LookupConnectionName("{NETSET-TEST}", registry), c.expected) << c.what;
  }
}

TEST(AdapterReport, ExpansionBeyondWhatWindowsAcceptsGivesEmptyName) {
  // ExpandEnvironmentStringsA handles at most 32K characters, on every Windows.
  SetEnvironmentVariableA("NETSET_BIG", std::string(17000, 'x').c_str());
  SeedConnectionValue("{NETSET-BIG}", REG_EXPAND_SZ, std::string("%NETSET_BIG%%NETSET_BIG%") + '\0');
  RegistryReader registry;
  EXPECT_TRUE(LookupConnectionName("{NETSET-BIG}", registry).empty());
}

class AppendTextOnEditBox : public ::testing::Test {
 protected:
  void SetUp() override {
    box = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                          WS_OVERLAPPEDWINDOW | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 0, 0, 300, 200,
                          nullptr, nullptr, nullptr, nullptr);
    SendMessageA(box, EM_LIMITTEXT, 0, 0);
  }
  void TearDown() override { DestroyWindow(box); }
  HWND box = nullptr;
};

TEST_F(AppendTextOnEditBox, LandsAtTheEndWhateverIsSelected) {
  AppendText(box, "first \xB5\xDA\xD2\xBB\r\nsecond\r\n");
  SendMessageA(box, EM_SETSEL, 3, 9);  // a stretch in the middle
  AppendText(box, "third\r\n");
  EXPECT_EQ(WindowText(box), "first \xB5\xDA\xD2\xBB\r\nsecond\r\nthird\r\n");
  DWORD start = 0, end = 0;
  SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const auto length = static_cast<DWORD>(GetWindowTextLengthW(box));
  EXPECT_EQ(start, length);  // caret after the new text
  EXPECT_EQ(end, length);
  // Not undoable.
  SendMessageA(box, EM_UNDO, 0, 0);
  EXPECT_EQ(WindowText(box), "first \xB5\xDA\xD2\xBB\r\nsecond\r\nthird\r\n");
}

TEST_F(AppendTextOnEditBox, LongTextIsNotCut) {
  // Beyond the 30,000 characters an edit box takes by default.
  std::string big;
  while (big.size() < 40000) big += "0123456789abcdef\r\n";
  AppendText(box, big);
  AppendText(box, "end");
  EXPECT_EQ(WindowText(box), big + "end");
}

}  // namespace

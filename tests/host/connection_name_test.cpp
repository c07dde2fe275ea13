#include <gtest/gtest.h>

#include "tests/crlf_lines.h"

#include "fake_platform.h"
#include "report/adapter_report.h"
#include "report/connection_name.h"

namespace {

const std::string kKey =
    "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\{A}\\Connection";

struct NameCase {
  const char* what;
  std::uint32_t type;
  std::vector<char> data;
  std::string expected;
};

TEST(LookupConnectionName, ValueKinds) {
  const std::string local = "\xB1\xBE\xB5\xD8\xC1\xAC\xBD\xD3";  // 本地连接
  const NameCase cases[] = {
      {"REG_SZ", kRegSz, Bytes(local), local},
      {"REG_SZ stored without its zero", kRegSz, Bytes("eth0", false), "eth0"},
      {"REG_SZ with bytes after the zero", kRegSz, {'a', 0, 'b', 0}, "a"},
      {"REG_EXPAND_SZ", kRegExpandSz, Bytes("net-%WHO%-1"), "net-\xC4\xE3-1"},
      {"REG_EXPAND_SZ unknown variable kept", kRegExpandSz, Bytes("%NOPE%"), "%NOPE%"},
      {"REG_DWORD", 4, {1, 0, 0, 0}, ""},
      {"REG_BINARY", 3, Bytes("abc"), ""},
      {"REG_MULTI_SZ", 7, {'a', 0, 'b', 0, 0}, ""},
      {"empty string", kRegSz, Bytes(""), ""},
      {"size 0", kRegSz, {}, ""},
  };
  for (const auto& c : cases) {
    FakeRegistry registry;
    registry.environment["WHO"] = "\xC4\xE3";
    registry.values[kKey] = FakeValue{c.type, c.data, std::nullopt};
    EXPECT_EQ(LookupConnectionName("{A}", registry), c.expected) << c.what;
    EXPECT_EQ(registry.opened, std::vector<std::string>{kKey}) << c.what;
  }
}

TEST(LookupConnectionName, FailuresGiveEmptyName) {
  FakeRegistry missing;
  EXPECT_EQ(LookupConnectionName("{A}", missing), "");

  FakeRegistry expandFails;
  expandFails.expandFails = true;
  expandFails.values[kKey] = FakeValue{kRegExpandSz, Bytes("%A%"), std::nullopt};
  EXPECT_EQ(LookupConnectionName("{A}", expandFails), "");

  for (const auto& changed : {Bytes("longer name now"), Bytes("x")}) {
    FakeRegistry registry;
    registry.values[kKey] = FakeValue{kRegSz, Bytes("name"), changed};
    EXPECT_EQ(LookupConnectionName("{A}", registry), "") << changed.size();
  }
}

TEST(AppendAdapterReport, TwoAdaptersGiveTwentyLinesInOrder) {
  FakeAdapters adapters{{{MakeRaw("{B}", "192.0.2.2"), MakeRaw("{A}", "192.0.2.1")}}, std::nullopt};
  FakeRegistry registry;
  registry.values[kKey] = FakeValue{kRegSz, Bytes("first"), std::nullopt};
  std::vector<std::string> appended;
  AppendAdapterReport(adapters, registry, [&](const std::string& piece) { appended.push_back(piece); });
  ASSERT_EQ(appended.size(), 18u);  // nine pieces per adapter, each appended on its own
  std::string all;
  for (const auto& piece : appended) all += piece;
  const auto lines = CrLfLines(all);
  ASSERT_EQ(lines.size(), 21u);
  EXPECT_EQ(lines[20], "");  // the last line ends too
  EXPECT_EQ(lines[0], "");   // {B} has no connection name
  EXPECT_EQ(lines[1], "\xC3\xFB\xB3\xC6\xA3\xBA{B}");
  EXPECT_EQ(lines[9], std::string(47, '='));
  EXPECT_EQ(lines[10], "first");
  EXPECT_EQ(lines[11], "\xC3\xFB\xB3\xC6\xA3\xBA{A}");
  EXPECT_EQ(lines[19], std::string(47, '='));
}

TEST(AppendAdapterReport, NoAdaptersAppendsNothing) {
  FakeAdapters adapters{{{}}, std::nullopt};
  FakeRegistry registry;
  int appended = 0;
  AppendAdapterReport(adapters, registry, [&](const std::string&) { ++appended; });
  EXPECT_EQ(appended, 0);
  EXPECT_TRUE(registry.opened.empty());
}

}  // namespace

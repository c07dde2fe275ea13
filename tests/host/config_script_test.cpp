#include <gtest/gtest.h>

#include "tests/crlf_lines.h"

#include <string>
#include <vector>

#include "apply/config_script.h"

namespace {

TEST(ComposeConfigScript, EmptyValuesGiveTheFixedTemplate) {
  const std::string script = ComposeConfigScript({});
  ASSERT_EQ(script.size(), 837u);
  const auto lines = CrLfLines(script);
  ASSERT_EQ(lines.size(), 24u);
  EXPECT_EQ(lines[0], "strComputer = \".\"");
  EXPECT_EQ(lines[1], "Set objWMIService = GetObject(\"winmgmts:\\\\\" & strComputer & \"\\root\\cimv2\")");
  EXPECT_EQ(lines[4], "    (\"Select * from Win32_NetworkAdapterConfiguration Where IPEnabled=True\")");
  EXPECT_EQ(lines[6], "strIPAddress = Array(\"\")");
  EXPECT_EQ(lines[7], "strSubnetMask = Array(\"\")");
  EXPECT_EQ(lines[9], "For Each objNetAdapter in colNetAdapters");
  EXPECT_EQ(lines[12], "Const STR_GATEWAY = \"\"");
  EXPECT_EQ(lines[14], "Const STR_NEWDNS2 = \"\" ");
  EXPECT_EQ(lines[17],
            "Set objNICs = GetObject( strWinMgmt ).InstancesOf(\"Win32_NetworkAdapterConfiguration\")");
  EXPECT_EQ(lines[18], "For Each objNIC In objNICs");
  EXPECT_EQ(lines[20], "objNIC.SetDNSServerSearchOrder Array(STR_NEWDNS1,STR_NEWDNS2)");
  EXPECT_EQ(lines[23], "Next");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i == 14) continue;  // line 15 alone ends in a blank
    EXPECT_TRUE(lines[i].empty() || lines[i].back() != ' ') << "line " << i + 1;
  }
  for (char c : script) EXPECT_TRUE(c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7F));
  // No bare CR or LF: removing the CR LF pairs leaves neither.
  std::string joined;
  for (const auto& line : lines) joined += line;
  EXPECT_EQ(joined.find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(joined.size(), 837u - 23 * 2);
}

TEST(ComposeConfigScript, ValuesLandInTheirPlacesAtTheFixedOffsets) {
  const StaticSettings settings{"IP", "MASK", "GW", "DNS1", "DNS2"};
  const std::string script = ComposeConfigScript(settings);
  EXPECT_EQ(script.size(), 837u + 2 + 4 + 2 + 4 + 4);
  // The eleven pieces: fixed texts of 247, 27, 148, 24, 24 and 367 bytes around the values.
  std::size_t at = 247;
  for (const std::string* value : {&settings.IpText, &settings.MaskText, &settings.GatewayText,
                                   &settings.PreferredDnsText, &settings.AlternateDnsText}) {
    EXPECT_EQ(script.substr(at, value->size()), *value);
    at += value->size();
    at += (value == &settings.IpText) ? 27 : (value == &settings.MaskText) ? 148 : 24;
  }
  EXPECT_EQ(at - 24 + 367, script.size());
  const auto lines = CrLfLines(script);
  EXPECT_EQ(lines[6], "strIPAddress = Array(\"IP\")");
  EXPECT_EQ(lines[7], "strSubnetMask = Array(\"MASK\")");
  EXPECT_EQ(lines[12], "Const STR_GATEWAY = \"GW\"");
  EXPECT_EQ(lines[13], "Const STR_NEWDNS1 = \"DNS1\"");
  EXPECT_EQ(lines[14], "Const STR_NEWDNS2 = \"DNS2\" ");
  EXPECT_EQ(script.substr(script.size() - 4), "Next");
}

struct ValueCase {
  const char* what;
  std::string typed;
  std::string literal;
};

TEST(ComposeConfigScript, ValuesStayOneStringLiteral) {
  const ValueCase cases[] = {
      {"dotted", "192.0.2.10", "192.0.2.10"},
      {"blanks kept", "  192.0.2.10 ", "  192.0.2.10 "},
      {"letters", "abc", "abc"},
      {"code page 936", "\xB1\xBE\xB5\xD8", "\xB1\xBE\xB5\xD8"},
      {"one quote doubled", "a\"b", "a\"\"b"},
      {"breakout attempt", "\")\r\nCreateObject(\"WScript.Shell\").Run \"x",
       "\"\")\r\nCreateObject(\"\"WScript.Shell\"\").Run \"\"x"},
      {"only quotes", "\"\"", "\"\"\"\""},
  };
  for (const auto& c : cases) {
    StaticSettings settings{c.typed, c.typed, c.typed, c.typed, c.typed};
    const std::string script = ComposeConfigScript(settings);
    std::size_t quotes = 0;
    for (char ch : c.typed) quotes += ch == '"';
    EXPECT_EQ(script.size(), 837 + 5 * (c.typed.size() + quotes)) << c.what;
    EXPECT_NE(script.find("strIPAddress = Array(\"" + c.literal + "\")"), std::string::npos) << c.what;
    EXPECT_NE(script.find("Const STR_NEWDNS2 = \"" + c.literal + "\" \r\n"), std::string::npos) << c.what;
  }
}

}  // namespace

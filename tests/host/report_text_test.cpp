#include <gtest/gtest.h>

#include <string>

#include "report/adapter_report.h"
#include "report/fixed_field.h"
#include "report/report_text.h"

namespace {

std::string Join(const std::array<std::string, 9>& pieces) {
  std::string all;
  for (const auto& piece : pieces) all += piece;
  return all;
}

TEST(FormatAdapterBlock, WorkedExampleByteForByte) {
  AdapterRecord record;
  record.AdapterName = "{A}";
  record.Description = "Test NIC";
  record.AddressLength = 6;
  record.Address = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E, 0x00, 0x00};
  record.IpAddress = "192.168.1.10";
  record.IpMask = "255.255.255.0";
  record.GatewayAddress = "192.168.1.1";
  // 本地连接 and every label spelled out in code page 936 bytes: a wrong source or execution
  // charset changes these.
  const std::string connection = "\xB1\xBE\xB5\xD8\xC1\xAC\xBD\xD3";
  const std::string expected =
      "\xB1\xBE\xB5\xD8\xC1\xAC\xBD\xD3\r\n"
      "\xC3\xFB\xB3\xC6\xA3\xBA{A}\r\n"       // 名称：
      "\xC3\xE8\xCA\xF6\xA3\xBATest NIC\r\n"  // 描述：
      "MAC\xA3\xBA"
      "00-1A-2B-3C-4D-5E\r\n"  // MAC：
      "IP\xB5\xD8\xD6\xB7(I)\xA3\xBA"
      "192.168.1.10\r\n"  // IP地址(I)：
      "\xD7\xD3\xCD\xF8\xD1\xDA\xC2\xEB(U)\xA3\xBA"
      "255.255.255.0\r\n"  // 子网掩码(U)：
      "\xC4\xAC\xC8\xCF\xCD\xF8\xB9\xD8(D)\xA3\xBA"
      "192.168.1.1\r\n"  // 默认网关(D)：
      "\xCA\xD7\xD1\xA1"
      "DNS\xB7\xFE\xCE\xF1\xC6\xF7(P)\xA3\xBA"
      "114.114.114.114\r\n"  // 首选DNS服务器(P)：
      "\xB1\xB8\xD3\xC3"
      "DNS\xB7\xFE\xCE\xF1\xC6\xF7(A)\xA3\xBA"
      "8.8.8.8\r\n"  // 备用DNS服务器(A)：
      "===============================================\r\n";
  const auto pieces = FormatAdapterBlock(record, connection);
  EXPECT_EQ(Join(pieces), expected);
  // Nine pieces: the last carries the alternate DNS line and the separator.
  EXPECT_EQ(pieces[0], connection + "\r\n");
  EXPECT_EQ(pieces[8].substr(pieces[8].size() - 49), std::string(47, '=') + "\r\n");
}

TEST(FormatAdapterBlock, EmptyNameAndGatewayGiveBareLines) {
  AdapterRecord record;
  const auto pieces = FormatAdapterBlock(record, "");
  EXPECT_EQ(pieces[0], "\r\n");
  EXPECT_EQ(pieces[3], "MAC\xA3\xBA\r\n");
  EXPECT_EQ(pieces[6], "\xC4\xAC\xC8\xCF\xCD\xF8\xB9\xD8(D)\xA3\xBA\r\n");
}

struct MacCase {
  std::uint32_t length;
  std::array<std::uint8_t, 8> bytes;
  const char* text;
};

TEST(FormatMacText, Cases) {
  const MacCase cases[] = {
      {0, {1, 2, 3, 4, 5, 6, 7, 8}, ""},
      {1, {0xAB, 2, 3, 4, 5, 6, 7, 8}, "AB"},
      {6, {0x00, 0x05, 0x0A, 0x10, 0x7F, 0xFF, 0x99, 0x99}, "00-05-0A-10-7F-FF"},
      {8, {0, 1, 2, 3, 4, 5, 6, 0xFE}, "00-01-02-03-04-05-06-FE"},
      {10, {0xDE, 0xAD, 0xBE, 0xEF, 0, 1, 2, 3}, "DE-AD-BE-EF-00-01-02-03"},
      {0xFFFFFFFF, {0, 0, 0, 0, 0, 0, 0, 0}, "00-00-00-00-00-00-00-00"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatMacText(c.length, c.bytes), c.text) << "length " << c.length;
}

TEST(FixedFieldText, StopsAtFirstZeroOrTakesWholeWidth) {
  const char address[16] = {'1', '9', '2', '.', '1', '6', '8', '.', '1', '.', '1', '0', 0, '9', '9', '9'};
  EXPECT_EQ(FixedFieldText(address), "192.168.1.10");

  char description[132];
  std::fill(std::begin(description), std::end(description), 'd');
  EXPECT_EQ(FixedFieldText(description), std::string(132, 'd'));

  const char empty[16] = {0, 'x', 'y'};
  EXPECT_EQ(FixedFieldText(empty), "");

  const char high[4] = {'\xB1', '\xBE', 0, '\xFF'};  // code page bytes pass unchanged
  EXPECT_EQ(FixedFieldText(high), "\xB1\xBE");
}

}  // namespace

#include <gtest/gtest.h>

#include "fake_platform.h"
#include "report/adapter_list.h"

namespace {

TEST(ReadAdapterList, KeepsChainOrderAndFields) {
  FakeAdapters api{
      {{MakeRaw("{C}", "192.0.2.3", "192.0.2.1"), MakeRaw("{A}", "198.51.100.1"), MakeRaw("{B}", "")}},
      std::nullopt};
  const auto records = ReadAdapterList(api);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].AdapterName, "{C}");
  EXPECT_EQ(records[0].GatewayAddress, "192.0.2.1");
  EXPECT_EQ(records[1].AdapterName, "{A}");
  EXPECT_EQ(records[1].IpAddress, "198.51.100.1");
  EXPECT_EQ(records[1].IpMask, "255.255.255.0");
  EXPECT_EQ(records[2].AdapterName, "{B}");
  EXPECT_EQ(records[2].IpAddress, "");
  EXPECT_EQ(records[2].Description, "NIC ");
  EXPECT_EQ(api.calls, 2);  // one sizing call, one filling call
}

TEST(ReadAdapterList, FieldsFilledToTheirEndAndRawAddressBytes) {
  RawAdapterInfo raw = MakeRaw("", "");
  std::memset(raw.AdapterName, 'n', sizeof raw.AdapterName);
  std::memset(raw.Description, 'd', sizeof raw.Description);
  std::memset(raw.IpAddress, '1', sizeof raw.IpAddress);
  raw.AddressLength = 6;
  for (int i = 0; i < 8; ++i) raw.Address[i] = static_cast<std::uint8_t>(0xA0 + i);
  FakeAdapters api{{{raw}}, std::nullopt};
  const auto records = ReadAdapterList(api);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].AdapterName, std::string(260, 'n'));
  EXPECT_EQ(records[0].Description, std::string(132, 'd'));
  EXPECT_EQ(records[0].IpAddress, std::string(16, '1'));
  EXPECT_EQ(records[0].AddressLength, 6u);  // limiting to the shown bytes is the report's business
  EXPECT_EQ(records[0].Address[7], 0xA7);
}

TEST(ReadAdapterList, FailuresGiveEmptyList) {
  FakeAdapters none{{{}}, std::nullopt};
  EXPECT_TRUE(ReadAdapterList(none).empty());

  FakeAdapters failing{{{MakeRaw("{A}", "192.0.2.1")}}, 31u};  // ERROR_GEN_FAILURE on the fill
  EXPECT_TRUE(ReadAdapterList(failing).empty());
  EXPECT_EQ(failing.calls, 2);  // no retry for anything but a list that outgrew the buffer
}

TEST(ReadAdapterList, ListThatGrewIsFetchedAgain) {
  const auto one = std::vector<RawAdapterInfo>{MakeRaw("{A}", "192.0.2.1")};
  const auto two = std::vector<RawAdapterInfo>{MakeRaw("{A}", "192.0.2.1"), MakeRaw("{B}", "192.0.2.2")};
  FakeAdapters api{{one, two}, std::nullopt};
  const auto records = ReadAdapterList(api);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1].AdapterName, "{B}");
  EXPECT_EQ(api.calls, 3);
}

TEST(ReadAdapterList, ListThatKeepsGrowingGivesUp) {
  std::vector<std::vector<RawAdapterInfo>> lists;
  for (int n = 1; n <= 10; ++n) lists.emplace_back(n, MakeRaw("{X}", "192.0.2.9"));
  FakeAdapters api{lists, std::nullopt};
  EXPECT_TRUE(ReadAdapterList(api).empty());
  EXPECT_EQ(api.calls, 1 + kAdapterListTries);
}

}  // namespace

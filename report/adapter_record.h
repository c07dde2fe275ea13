#pragma once
// One network adapter as the report shows it. A value: it owns its texts and bytes and keeps
// nothing of the platform's buffer alive.
#include <array>
#include <cstdint>
#include <string>

struct AdapterRecord {
  std::string AdapterName;
  std::string Description;
  std::uint32_t AddressLength = 0;  // as the platform reported it, not limited to the 8 bytes
  std::array<std::uint8_t, 8> Address{};
  std::string IpAddress;  // first address entry only
  std::string IpMask;
  std::string GatewayAddress;  // first gateway entry only
};

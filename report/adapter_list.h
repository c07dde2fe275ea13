#pragma once
// Reading the adapter list. The platform supplies the IP Helper list call and the walk over the
// records it fills in; this side owns the sizing protocol and the making of AdapterRecord values,
// so both can be exercised without Windows.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "report/adapter_record.h"

// The fixed-width fields of one IP_ADAPTER_INFO record, at the SDK's widths, copied in chain order.
struct RawAdapterInfo {
  char AdapterName[260];
  char Description[132];
  std::uint32_t AddressLength;
  std::uint8_t Address[8];
  char IpAddress[16];  // IpAddressList.IpAddress, the entry embedded in the record
  char IpMask[16];
  char GatewayAddress[16];  // GatewayList.IpAddress
};

inline constexpr std::uint32_t kAdapterListTooSmall = 111;  // ERROR_BUFFER_OVERFLOW
// A list can grow between the sizing call and the filling call (an adapter plugged in meanwhile);
// it is sized again this many times in all before the report gives up on it.
inline constexpr int kAdapterListTries = 4;

AdapterRecord MakeAdapterRecord(const RawAdapterInfo& raw);

// Api provides
//   std::uint32_t Fill(std::vector<std::byte>* buffer, std::uint32_t& size);  // null buffer: sizing only
//   std::vector<RawAdapterInfo> Walk(const std::vector<std::byte>& filled);
template <class Api>
std::vector<AdapterRecord> ReadAdapterList(Api& api) {
  std::uint32_t size = 0;
  api.Fill(nullptr, size);  // only the size it asks for matters
  std::vector<std::byte> buffer;
  for (int attempt = 0; attempt < kAdapterListTries && size != 0; ++attempt) {
    buffer.assign(size, std::byte{0});
    const std::uint32_t result = api.Fill(&buffer, size);
    if (result == kAdapterListTooSmall) continue;  // size now holds what the grown list needs
    if (result != 0) break;
    std::vector<AdapterRecord> records;
    for (const RawAdapterInfo& raw : api.Walk(buffer)) records.push_back(MakeAdapterRecord(raw));
    return records;
  }
  return {};
}

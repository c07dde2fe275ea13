#include "report/adapter_list.h"

#include <algorithm>

#include "report/fixed_field.h"

AdapterRecord MakeAdapterRecord(const RawAdapterInfo& raw) {
  AdapterRecord record;
  record.AdapterName = FixedFieldText(raw.AdapterName);
  record.Description = FixedFieldText(raw.Description);
  record.AddressLength = raw.AddressLength;
  std::copy(std::begin(raw.Address), std::end(raw.Address), record.Address.begin());
  record.IpAddress = FixedFieldText(raw.IpAddress);
  record.IpMask = FixedFieldText(raw.IpMask);
  record.GatewayAddress = FixedFieldText(raw.GatewayAddress);
  return record;
}
